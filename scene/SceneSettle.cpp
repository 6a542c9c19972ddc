// Settling blocks onto what lies below them: the snap onto a support's stud grid, the support links made
// from a query's contact pairs, and the sequence that puts a new block into the scene.
#include <cmath>

#include "scene/World.h"

static float component(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// Whole units toward zero, kept within int range so that a runaway coordinate cannot overflow.
static int truncToInt(float v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::trunc(std::clamp(v, -1.0e9f, 1.0e9f)));
}

// Move an edge of a onto the nearest grid line of b (a remainder of exactly 2 goes to the higher line).
static float gridShift(float aMin, float aMax, float bMin) {
  const float d = bMin >= aMin ? aMax : aMin;
  const int e = truncToInt(d - bMin + 2) / 4;
  return bMin + 4.0f * static_cast<float>(e) - d;
}

bool snapOffset(const ContactPair& pair, Vec3& out) {
  if (!pair.a || !pair.b) return false;
  const Box a = pair.restsOnA ? topSlab(*pair.a) : bottomSlab(*pair.a);
  const Box o = pair.restsOnA ? bottomSlab(*pair.b) : topSlab(*pair.b);
  out.x = gridShift(a.min.x, a.max.x, o.min.x);
  out.z = gridShift(a.min.z, a.max.z, o.min.z);
  out.y = o.min.y - a.min.y;

  // Keep the footprints overlapping after the snap.
  auto r = truncThousandths;
  bool exact = true;
  if (r(a.max.x + out.x) <= r(o.min.x)) out.x += 4, exact = false;
  if (r(a.max.z + out.z) <= r(o.min.z)) out.z += 4, exact = false;
  if (r(a.min.x + out.x) >= r(o.max.x)) out.x -= 4, exact = false;
  if (r(a.min.z + out.z) >= r(o.max.z)) {
    out.z -= 4;
    return false;
  }
  return exact;
}

static bool overlapStrictly(const Box& p, const Box& q) {
  for (int axis = 0; axis < 3; ++axis) {
    const float lo = std::max(component(p.min, axis), component(q.min, axis));
    const float hi = std::min(component(p.max, axis), component(q.max, axis));
    if (!(lo < hi)) return false;
  }
  return true;
}

int sweepBuildSupports(World& world) {
  const std::vector<ContactPair> pairs = world.sweep.contactList;
  Vec3 offset;
  for (const ContactPair& pair : pairs)
    if (snapOffset(pair, offset)) break;

  for (Block* member : world.movingSet.entries) {
    translateBlock(*member, offset.x, offset.y, offset.z);
    sweepMove(world.sweep, *member);
  }
  for (const ContactPair& pair : pairs) {
    const Box a = pair.restsOnA ? topSlab(*pair.a) : bottomSlab(*pair.a);
    const Box b = pair.restsOnA ? bottomSlab(*pair.b) : topSlab(*pair.b);
    if (!overlapStrictly(a, b)) continue;
    Block* upper = pair.restsOnA ? pair.b : pair.a;
    Block* lower = pair.restsOnA ? pair.a : pair.b;
    hideCoveredStuds(*upper, *lower);
    addSupportLink(world.scene, pair);
  }
  return static_cast<int>(pairs.size());
}

Block* placeBuiltBlock(World& world, std::unique_ptr<Block> owned) {
  if (!owned) return nullptr;
  Block* block = owned.get();
  sweepAdd(world.sweep, *block);
  sceneAdd(world.scene, std::move(owned));
  sweepResetQuery(world.sweep);
  const int blocking = sweepQuery(world.sweep, *block, Vec3{});
  if (blocking == 0 && !world.sweep.contactList.empty()) sweepBuildSupports(world);
  return block;
}

Block* putBlockInScene(World& world, const BlockDescription& description, NewBlockOptions options) {
  BlockDescription d = description;
  if (options.fromEditing && d.kind == BasePlate) d.position = Vec3{};
  std::unique_ptr<Block> block = createBlock(world, d);
  if (options.riseUntilFree) {
    // A brick height at a time; the bound only matters for a scene with a block reaching to the sky.
    for (int step = 0; step < 100000; ++step) {
      sweepResetQuery(world.sweep);
      if (sweepQuery(world.sweep, *block, Vec3{}) == 0) break;
      translateBlock(*block, 0, 6, 0);
    }
  }
  Block* placed = placeBuiltBlock(world, std::move(block));
  // Every block added counts, and the counter never goes back: not for deletions, not for a new scene.
  if (placed && world.blockCounter < INT32_MAX) ++world.blockCounter;
  return placed;
}
