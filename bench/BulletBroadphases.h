// The same bricks in Bullet's two broad phases, for the collision benchmark to answer its drag query with
// them too: the dynamic AABB tree (btDbvtBroadphase) and the incremental sweep and prune (btAxisSweep3).
// Only built when Bullet is installed (TOLVANE_HAVE_BULLET).
#pragma once

#include <btBulletCollisionCommon.h>

#include <memory>
#include <vector>

#include "scene/World.h"

namespace bullet {

inline btVector3 vec(Vec3 v) { return {v.x, v.y, v.z}; }

// The box a moving block asks about: its outer box at the offset, pulled in by 0.2 on x and z, as the
// index's own query box.
inline Box dragBox(const Block& b, Vec3 offset) {
  Box q = shiftedBox(outerBox(b), offset);
  q.min.x += 0.2f, q.max.x -= 0.2f, q.min.z += 0.2f, q.max.z -= 0.2f;
  return q;
}

// Blocking, as the index tells it: an overlapping block that neither rests on the moving one nor
// carries it.
inline bool blocks(const Block& moving, Vec3 offset, const Block& other) {
  const Box top = shiftedBox(topSlab(moving), offset), bottom = shiftedBox(bottomSlab(moving), offset);
  return !slabsTouch(top, bottomSlab(other)) && !slabsTouch(topSlab(other), bottom);
}

// Bricks are one filter group and the dragged boxes another; only pairs of one of each are kept.
constexpr int kStill = 1, kDragged = 2;

// Every block of the scene except the dragged ones as a proxy in the tree; the query asks the tree once
// per dragged box for the proxies overlapping it, member by member, stopping at the first one blocked.
class DbvtScene {
public:
  DbvtScene(const SceneList& scene, const std::vector<Block*>& dragged) : dragged(dragged) {
    for (const auto& node : scene.nodes) {
      Block* b = node->block.get();
      if (std::find(dragged.begin(), dragged.end(), b) != dragged.end()) continue;
      broadphase.createProxy(vec(b->outerMin), vec(b->outerMax), BOX_SHAPE_PROXYTYPE, b, kStill, kDragged, nullptr);
    }
    broadphase.m_sets[0].optimizeTopDown();
    broadphase.m_sets[1].optimizeTopDown();
  }

  int blocking(Vec3 offset) {
    struct Hits : btBroadphaseAabbCallback {
      const Block* moving = nullptr;
      Vec3 offset;
      int found = 0;
      bool process(const btBroadphaseProxy* proxy) override {
        if (blocks(*moving, offset, *static_cast<const Block*>(proxy->m_clientObject))) ++found;
        return true;
      }
    } hits;
    hits.offset = offset;
    for (const Block* m : dragged) {
      const Box q = dragBox(*m, offset);
      hits.moving = m;
      broadphase.aabbTest(vec(q.min), vec(q.max), hits);
      if (hits.found > 0) break;
    }
    return hits.found;
  }

private:
  btDbvtBroadphase broadphase;
  std::vector<Block*> dragged;
};

// Every block as a proxy in the sorted axes, the dragged ones in a group of their own: the query moves
// the dragged proxies to the offset (the axes re-sort incrementally and the pair cache follows) and then
// reads the pairs of dragged and still blocks.
class AxisSweepScene {
public:
  AxisSweepScene(const SceneList& scene, const std::vector<Block*>& dragged)
      : broadphase(btVector3(-1000, -1000, -1000), btVector3(1000, 1000, 1000), 16384, nullptr, true) {
    for (const auto& node : scene.nodes) {
      Block* b = node->block.get();
      const bool isDragged = std::find(dragged.begin(), dragged.end(), b) != dragged.end();
      if (isDragged) continue;
      broadphase.createProxy(vec(b->outerMin), vec(b->outerMax), BOX_SHAPE_PROXYTYPE, b, kStill, kDragged, nullptr);
    }
    for (Block* b : dragged) {
      const Box q = dragBox(*b, {});
      moving.push_back({b, broadphase.createProxy(vec(q.min), vec(q.max), BOX_SHAPE_PROXYTYPE, b, kDragged, kStill,
                                                  nullptr)});
    }
  }

  int blocking(Vec3 offset) {
    for (const Moving& m : moving) {
      const Box q = dragBox(*m.block, offset);
      broadphase.setAabb(m.proxy, vec(q.min), vec(q.max), nullptr);
    }
    btOverlappingPairCache* pairs = broadphase.getOverlappingPairCache();
    int found = 0;
    for (int i = 0; i < pairs->getNumOverlappingPairs(); ++i) {
      const btBroadphasePair& pair = pairs->getOverlappingPairArray()[i];
      const bool firstMoves = pair.m_pProxy0->m_collisionFilterGroup == kDragged;
      const btBroadphaseProxy* m = firstMoves ? pair.m_pProxy0 : pair.m_pProxy1;
      const btBroadphaseProxy* o = firstMoves ? pair.m_pProxy1 : pair.m_pProxy0;
      if (blocks(*static_cast<const Block*>(m->m_clientObject), offset, *static_cast<const Block*>(o->m_clientObject)))
        ++found;
    }
    return found;
  }

private:
  struct Moving {
    Block* block;
    btBroadphaseProxy* proxy;
  };
  btAxisSweep3 broadphase;
  std::vector<Moving> moving;
};

}  // namespace bullet
