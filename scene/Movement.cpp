// Moving the picked-up blocks: the vertical step the view asks for, the work area they cannot leave, and
// the move itself with its climb, slide, lift and sink.
//
// Index: [SECTION] Vertical step  [SECTION] Work area  [SECTION] Sinking  [SECTION] Moving the set

#include <cmath>

#include "scene/World.h"

namespace {

// Loops that climb or sink a brick at a time end by themselves on any real scene; this bound only stops
// one on a scene whose coordinates have run away.
constexpr int kMaxVerticalSteps = 100000;
constexpr float kBrickHeight = 6;
constexpr float kSlideLimit = 4;  // a blocked move slides at most one stud pitch per axis

bool blocked(World& world, Vec3 offset) { return sweepQueryMovingSet(world, offset) > 0; }

int signOf(float v) { return (v > 0) - (v < 0); }

float finiteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

// [SECTION] Vertical step

int fallStep(const MovementState& movement) {
  const Vec3 e = movement.cameraEye;
  const float eyeDistance = std::sqrt(e.x * e.x + e.y * e.y + e.z * e.z);
  const float radians = movement.cameraElevation / 360.0f * 2.0f * 3.14159265f;
  const float steepness = std::sin(radians) + 0.05f;
  // A view from below the horizon counts as the flattest view of all.
  if (!(steepness > 0)) return 6;
  const float m = eyeDistance * 0.006666667f + 0.6f / steepness;
  if (!std::isfinite(m)) return 6;
  if (m < 2) return 2;
  if (m <= 3) return 3;
  return 6;
}

// [SECTION] Work area

bool clampToWorkArea(World& world, Vec3& offset) {
  if (world.movingSet.entries.empty()) return false;
  if (!std::isfinite(offset.x) || !std::isfinite(offset.y) || !std::isfinite(offset.z)) return false;
  const Box area = world.workArea.box;
  const Box moved = shiftedBox(listBounds(world.movingSet), offset);
  auto r = truncThousandths;
  const bool inside = r(moved.min.x) >= r(area.min.x) && r(moved.max.x) <= r(area.max.x) &&
                      r(moved.min.y) >= r(area.min.y) && r(moved.max.y) <= r(area.max.y) &&
                      r(moved.min.z) >= r(area.min.z) && r(moved.max.z) <= r(area.max.z);
  // A move that stays inside goes ahead as asked, even one of nothing (it still lets the set settle).
  if (inside) return true;

  if (r(moved.min.x) < r(area.min.x)) offset.x += area.min.x - moved.min.x;
  if (r(moved.max.x) > r(area.max.x)) offset.x -= moved.max.x - area.max.x;
  if (r(moved.min.y) < r(area.min.y)) offset.y += area.min.y - moved.min.y;
  if (r(moved.max.y) > r(area.max.y)) offset.y -= moved.max.y - area.max.y;
  if (r(moved.min.z) < r(area.min.z)) offset.z += area.min.z - moved.min.z;
  if (r(moved.max.z) > r(area.max.z)) offset.z -= moved.max.z - area.max.z;
  return r(offset.x) != 0 || r(offset.y) != 0 || r(offset.z) != 0;
}

// [SECTION] Sinking

namespace {

// Lower offset by `drop` at a time while the set stays free and its lowest centre stays at or above
// ground - 2 and above the gravity floor; the step that ended the descent is taken back. Returns true
// when the set went down at least one step.
bool sink(World& world, Vec3& offset, float low, float ground, float drop) {
  bool dropped = false;
  offset.y -= drop;
  if (!blocked(world, offset)) {
    for (int i = 0; i < kMaxVerticalSteps; ++i) {
      const float y = low + offset.y;
      if (!(y >= ground - 2) || !(y > world.movement.gravityFloor)) break;
      const float before = offset.y;
      offset.y -= drop;
      dropped = true;
      if (offset.y == before || blocked(world, offset)) break;
    }
  }
  offset.y += drop;
  blocked(world, offset);  // leave the query at the place the set comes to rest
  return dropped;
}

// A set standing on the base plate has its lowest centre 4 above the plate's centre: it sinks no further.
bool maySink(const World& world, float low, float ground, Vec3 offset) {
  const float y = low + offset.y;
  return y >= ground + 4 && y > world.movement.gravityFloor;
}

// Slide rule: try the move along x alone and along z alone, each lifted by one step and limited to one
// stud pitch, so that a blocked drag slides along a wall or climbs onto a low obstacle.
void trySlides(World& world, Vec3& offset, Vec3& alongX, Vec3& alongZ) {
  int sx = signOf(offset.x), sz = signOf(offset.z);
  // Each axis settles within two passes; the bound is only a guard.
  for (int pass = 0; (sx != 0 || sz != 0) && pass < 8; ++pass) {
    if (sx != 0) {
      alongX.x = offset.x;
      alongX.z = 0;
      if (blocked(world, alongX)) {
        alongX.x = alongX.z = 0;
        sx = 0;
      } else if (std::fabs(offset.x) > kSlideLimit) {
        offset.x = std::copysign(kSlideLimit, offset.x);
        offset.z = std::clamp(offset.z, -kSlideLimit, kSlideLimit);
      } else {
        sx = 0;
      }
    }
    if (sz != 0) {
      alongZ.z = offset.z;
      alongZ.x = 0;
      if (blocked(world, alongZ)) {
        alongZ.x = alongZ.z = 0;
        sz = 0;
      } else if (std::fabs(offset.z) > kSlideLimit) {
        offset.z = std::copysign(kSlideLimit, offset.z);
        offset.x = std::clamp(offset.x, -kSlideLimit, kSlideLimit);
      } else {
        sz = 0;
      }
    }
  }
}

// Lift rule: raise the move a brick at a time until it is free. False when it cannot be lifted: the
// paint tool never lifts, and a scene that never frees the set refuses the move.
bool liftUntilFree(World& world, Vec3& offset) {
  if (world.movement.paintToolActive) return false;
  for (int i = 0; i < kMaxVerticalSteps; ++i) {
    const float before = offset.y;
    offset.y += kBrickHeight;
    if (offset.y == before) return false;
    if (!blocked(world, offset)) return true;
  }
  return false;
}

}  // namespace

// [SECTION] Moving the set

Vec3 moveMovingSet(World& world, Vec3 offset) {
  if (world.movingSet.entries.empty()) return {};
  MovementState& movement = world.movement;
  offset = {finiteOrZero(offset.x), 0, finiteOrZero(offset.z)};
  const float step = static_cast<float>(fallStep(movement));
  const float low = listLowestY(world.movingSet);
  const float ground = groundLevel(world.scene);
  Vec3 alongX{0, step, 0}, alongZ{0, step, 0};
  bool slid = false;

  // Horizontal response: a drag or an arrow key in whole-brick mode climbs over what is in the way; any
  // other move slides along it.
  const bool slideRule = (!movement.leftDrag && !movement.keyMove) || !movement.wholeBrickDrop;
  if (blocked(world, offset)) {
    if (slideRule) {
      playMoveNote(world, MoveNote::Bump);
      slid = true;
      trySlides(world, offset, alongX, alongZ);
    } else {
      if (!liftUntilFree(world, offset)) return {};
      playMoveNote(world, MoveNote::Landing);
      slid = true;
    }
  }

  // Vertical response.
  if (movement.wholeBrickDrop) {
    if (!slid && maySink(world, low, ground, offset)) {
      movement.landedFlag = sink(world, offset, low, ground, kBrickHeight);
      // Only a set that really came down lands; one held at its floor stays quiet.
      if (movement.landedFlag) {
        playMoveNote(world, MoveNote::Landing);
        movement.landedFlag = false;
      }
    } else if (slid && slideRule && blocked(world, offset) && !blocked(world, Vec3{})) {
      // The move limited to one stud pitch still runs into something: a set standing free stays where
      // it is rather than be pushed into another block (one already caught in an overlap may move on).
      offset = {};
    }
  } else {
    bool sinkNow = true;
    if (movement.leftDrag) {
      // While dragging, step-sized sinking runs on every sixth move only, so a block glides over gaps.
      sinkNow = ++movement.dropThrottle > 5;
      if (sinkNow) movement.dropThrottle = 0;
    }
    if (slid) {
      offset = (alongZ.x != 0 || alongZ.z != 0) ? alongZ : alongX;
    } else if (sinkNow && maySink(world, low, ground, offset)) {
      sink(world, offset, low, ground, step);
    }
  }

  for (Block* member : world.movingSet.entries) translateBlock(*member, offset.x, offset.y, offset.z);
  return offset;
}
