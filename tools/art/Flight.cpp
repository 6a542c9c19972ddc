// The flight model: one step of the game at a time, asking the collision index what is in the way.
#include "tools/art/Flight.h"

#include <cmath>

#include "scene/World.h"
#include "tools/art/BlockScene.h"

bool isTargetColour(const std::array<float, 4>& c) { return c[0] > 0.9f && c[1] > 0.9f && c[2] < 0.1f; }
bool isMovableColour(const std::array<float, 4>& c) { return c[0] > 0.85f && c[1] > 0.85f && c[2] > 0.85f; }

namespace {

// The blocks the aeroplane would run into when moved by offset, as the collision index classifies them
// (a block it rests on, or one resting on it, is a contact, not in the way).
std::vector<const Block*> blockers(Block& plane, Vec3 offset) {
  SweepIndex& index = blockWorld().sweep;
  sweepResetQuery(index);
  sweepClearContacts(index);
  const int count = sweepQuery(index, plane, offset);
  std::vector<const Block*> out;
  for (int i = 0; i < count && size_t(i) < index.candidates.size(); ++i) out.push_back(index.candidates[size_t(i)]);
  return out;
}

}  // namespace

FlightResult simulateFlight(int maxSteps) {
  FlightResult result;
  Block* plane = nullptr;
  for (const auto& node : blockWorld().scene.nodes)
    if (node->block->kind == kAeroplaneKind) plane = node->block.get();
  if (!plane) return result;
  float y = plane->position.y;
  const float ground = groundLevel(blockWorld().scene);
  const float speed = 0.5f;
  // Orientation 0 flies +z, 1 -x, 2 -z, 3 +x; a wall turns +z to +x, +x to -z, -z to -x, -x to +z.
  const int orientation = ((plane->orientation % 4) + 4) % 4;
  Vec3 direction = orientation == 0   ? Vec3{0, 0, 1}
                   : orientation == 1 ? Vec3{-1, 0, 0}
                   : orientation == 2 ? Vec3{0, 0, -1}
                                      : Vec3{1, 0, 0};
  int outcome = 1;
  auto move = [&](Vec3 by) {
    translateBlock(*plane, by.x, by.y, by.z);
    sweepMove(blockWorld().sweep, *plane);
    y += by.y;
  };
  auto centre = [&] { return Vec3{plane->position.x, y, plane->position.z}; };
  for (result.steps = 0; result.steps < maxSteps; ++result.steps) {
    Vec3 v{direction.x * speed, 0, direction.z * speed};
    std::vector<const Block*> hit = blockers(*plane, v);
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
          rotateBlock(*plane, -90);
          sweepMove(blockWorld().sweep, *plane);
          result.turnPoints.push_back(centre());
          if (!blockers(*plane, Vec3{}).empty()) v.y += 6;
        } else {
          v.x = v.z = 0;
        }
        hit = blockers(*plane, v);
      }
    } else if (y + v.y >= ground + 4) {
      v.y = -6;
      if (blockers(*plane, v).empty()) {
        do v.y -= 6;
        while (y + v.y >= ground - 2 && blockers(*plane, v).empty());
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
    if (std::fabs(plane->position.x) > 400 || std::fabs(plane->position.z) > 400 || y < ground - 10) {
      result.leftTheCourse = true;
      return result;
    }
  }
  return result;
}
