// The flight model: one step of the game at a time, on the outer boxes of the scene's blocks.
#include "tools/art/Flight.h"

#include <cmath>

#include "scene/SceneList.h"
#include "scene/SweepIndex.h"

bool isTargetColour(const std::array<float, 4>& c) { return c[0] > 0.9f && c[1] > 0.9f && c[2] < 0.1f; }
bool isMovableColour(const std::array<float, 4>& c) { return c[0] > 0.85f && c[1] > 0.85f && c[2] > 0.85f; }

namespace {

struct Flyer {
  Box box;
  Vec3 centre;
};

// Strict overlap on one axis of the boxes, compared in thousandths as the collision index does.
float overlap(float aMin, float aMax, float bMin, float bMax) {
  return std::min(truncThousandths(aMax), truncThousandths(bMax)) -
         std::max(truncThousandths(aMin), truncThousandths(bMin));
}

std::vector<const Block*> blockers(const std::vector<const Block*>& others, const Box& plane, Vec3 offset) {
  std::vector<const Block*> out;
  const Box moved{plane.min + offset, plane.max + offset};
  for (const Block* b : others) {
    if (overlap(moved.min.x, moved.max.x, b->outerMin.x, b->outerMax.x) <= 0) continue;
    if (overlap(moved.min.z, moved.max.z, b->outerMin.z, b->outerMax.z) <= 0) continue;
    // A stud layer under or over the other block is resting, not meeting.
    if (overlap(moved.min.y, moved.max.y, b->outerMin.y, b->outerMax.y) <= 1.0f) continue;
    out.push_back(b);
  }
  return out;
}

}  // namespace

FlightResult simulateFlight(int maxSteps) {
  FlightResult result;
  const Block* plane = nullptr;
  for (const auto& node : scene.nodes)
    if (node->block->kind == kAeroplaneKind) plane = node->block.get();
  if (!plane) return result;
  std::vector<const Block*> others;
  for (const auto& node : scene.nodes)
    if (node->block.get() != plane) others.push_back(node->block.get());
  Box box = outerBox(*plane);
  float y = plane->position.y;
  const float ground = groundLevel();
  const float speed = 0.5f;
  // Orientation 0 flies +z, 1 -x, 2 -z, 3 +x; a wall turns +z to +x, +x to -z, -z to -x, -x to +z.
  const int orientation = ((plane->orientation % 4) + 4) % 4;
  Vec3 direction = orientation == 0   ? Vec3{0, 0, 1}
                   : orientation == 1 ? Vec3{-1, 0, 0}
                   : orientation == 2 ? Vec3{0, 0, -1}
                                      : Vec3{1, 0, 0};
  int outcome = 1;
  auto move = [&](Vec3 by) {
    box.min = box.min + by;
    box.max = box.max + by;
    y += by.y;
  };
  for (result.steps = 0; result.steps < maxSteps; ++result.steps) {
    Vec3 v{direction.x * speed, 0, direction.z * speed};
    std::vector<const Block*> hit = blockers(others, box, v);
    if (!hit.empty()) {
      for (int guard = 0; guard < 16 && !hit.empty(); ++guard) {
        if (hit.size() == 1) {
          const Block* other = hit[0];
          if (other->position.y > y - 3 && other->kind == SlopeBrick) {
            outcome = 0;
          } else if (other->position.y > y - 0.1f) {
            outcome = isTargetColour(other->colour) ? 2 : 1;
          }
        }
        if (outcome == 0) {
          v.y += 6;
          ++result.climbs;
        } else if (outcome == 1) {
          v.y = 0;
          move(Vec3{-direction.x * 0.1f, 0, -direction.z * 0.1f});
          direction = Vec3{direction.z, 0, -direction.x};
          v = Vec3{direction.x * speed, 0, direction.z * speed};
          ++result.turns;
          result.turnPoints.push_back(Vec3{(box.min.x + box.max.x) / 2, y, (box.min.z + box.max.z) / 2});
          if (!blockers(others, box, Vec3{}).empty()) v.y += 6;
        } else {
          v.x = v.z = 0;
        }
        hit = blockers(others, box, v);
      }
    } else if (y + v.y >= ground + 4) {
      v.y = -6;
      if (blockers(others, box, v).empty()) {
        do v.y -= 6;
        while (y + v.y >= ground - 2 && blockers(others, box, v).empty());
        ++result.falls;
      }
      v.y += 6;
    }
    move(v);
    if (outcome == 2) {
      result.reachedTarget = true;
      ++result.steps;
      return result;
    }
    if (std::fabs(box.min.x) > 400 || std::fabs(box.min.z) > 400 || y < ground - 10) {
      result.leftTheCourse = true;
      return result;
    }
  }
  return result;
}
