// The end of a move: the released block goes onto a brick level, the set settles, snaps onto the studs of
// what it rests on and is linked to it; then the moving set is emptied.

#include <cmath>

#include "scene/World.h"

namespace {

// The height a released block's bottom is moved by, so that it sits on one of the brick levels 1, 7, 13...
// (a brick standing on the base plate has its bottom at 1). Up to level 7 a bottom goes to the nearest
// level at or below it plus 0.2; above 7 a level takes the bottoms from 2.2 below it to 3.8 above it.
float levelShift(float bottom) {
  if (!(bottom > 0) || !std::isfinite(bottom) || bottom > 1.0e7f) return 0;
  const float sixth = 0.16666667f;
  if (bottom <= 7) {
    // Every bottom from just above 0 goes up to the first level at least.
    const int level = std::max(1, static_cast<int>((bottom + 0.2f + 5) * sixth));
    return 6.0f * static_cast<float>(level) - bottom - 5;
  }
  const int level = static_cast<int>((bottom + 0.2f + 7) * sixth);
  return 6.0f * static_cast<float>(level) - bottom - 5;
}

void translateSet(World& world, float dy) {
  for (Block* member : world.movingSet.entries) translateBlock(*member, 0, dy, 0);
}

// Move the whole set up or down with the released block, so that what stands on it stays on it. A shift
// that would push a set standing free into another block is taken back.
void shiftSetVertically(World& world, float dy) {
  if (dy == 0 || !std::isfinite(dy)) return;
  const bool wasFree = sweepQueryMovingSet(world, Vec3{}) == 0;
  if (wasFree && sweepQueryMovingSet(world, Vec3{0, dy, 0}) > 0) return;
  translateSet(world, dy);
}

}  // namespace

void sweepRelinkMovingSet(World& world) {
  if (!world.movingSet.entries.empty()) {
    // Ask again where the set now stands, so that links come from contacts at its final place whatever
    // the caller queried last.
    const int blocking = sweepQueryMovingSet(world, Vec3{});
    if (blocking > 0 || world.sweep.contactList.empty()) {
      for (Block* member : world.movingSet.entries) sweepMove(world.sweep, *member);
    } else {
      sweepBuildSupports(world);
    }
  }
  listClear(world.movingSet);
}

void endDrag(World& world, Block* picked) {
  const bool known = picked != nullptr && sceneFind(world.scene, picked) != nullptr;
  if (known && picked == world.selectedBlock && picked->kind != kAeroplaneKind) {
    const bool inSet = listContains(world.movingSet, picked);
    const float t = levelShift(picked->outerMin.y);
    if (inSet) {
      shiftSetVertically(world, t);
      if (picked->topSlabMax.y < 1) shiftSetVertically(world, 4 - picked->position.y);  // stand it on the plate
    } else {
      // A block released outside a moving set moves on its own and is indexed where it lands.
      if (t != 0) translateBlock(*picked, 0, t, 0);
      if (picked->topSlabMax.y < 1) translateBlock(*picked, 0, 4 - picked->position.y, 0);
      sweepMove(world.sweep, *picked);
    }
  }
  moveMovingSet(world, Vec3{});
  sweepRelinkMovingSet(world);
}
