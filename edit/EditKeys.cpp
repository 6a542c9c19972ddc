// The edit keys of the 3D view and the side panel: Space, Delete, resizing the held block with Page Up,
// Page Down and the arrows, stepping a stack one stud with the arrows relative to the view; and turning.
#include <cmath>

#include "edit/BlockOperations.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "platform/window.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/SweepIndex.h"
#include "sound/Sounds.h"

namespace {

bool allChannelsAtLeast(const Block& block, float limit) {
  return block.colour[0] >= limit && block.colour[1] >= limit && block.colour[2] >= limit;
}

bool allChannelsAbove(const Block& block, float limit) {
  return block.colour[0] > limit && block.colour[1] > limit && block.colour[2] > limit;
}

bool isArrow(int key) { return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN; }

bool blocked(Block& block, Vec3 offset) {
  sweepResetQuery();
  return sweepQuery(block, offset) > 0;
}

void sceneChanged() {
  if (editHooks.sceneChanged) editHooks.sceneChanged();
}

// Page Up and Page Down change the height with the bottom kept in place; the arrows change the size
// across and along the view by one stud.
void resizeHeld(Block& block, int key) {
  const Vec3 f = editState.forward;
  const bool alongZ = std::fabs(f.z) >= std::fabs(f.x);
  if (isShapeKind(block.kind)) {
    const bool grow = key == VK_PRIOR || key == VK_UP || key == VK_RIGHT;
    const bool shrink = key == VK_NEXT || key == VK_LEFT || key == VK_DOWN;
    if (grow || shrink) stepShapeSize(block, grow ? +1 : -1);
    return;
  }
  switch (key) {
    case VK_PRIOR:
      if (block.height <= 9 && !blocked(block, Vec3{0, 3, 0})) {
        translateBlock(block, 0, 3, 0);
        resizeBlock(block, 0, 0, +1);
      }
      break;
    case VK_NEXT:
      if (block.height >= 2) {
        resizeBlock(block, 0, 0, -1);
        translateBlock(block, 0, -3, 0);
      }
      break;
    case VK_LEFT:
      alongZ ? resizeBlock(block, 0, -1, 0) : resizeBlock(block, -1, 0, 0);
      break;
    case VK_UP:
      if (!blocked(block, Vec3{-2, 0, 0}) && !blocked(block, Vec3{2, 0, 0}))
        alongZ ? resizeBlock(block, +1, 0, 0) : resizeBlock(block, 0, +1, 0);
      break;
    case VK_RIGHT:
      if (!blocked(block, Vec3{0, 0, -2}) && !blocked(block, Vec3{0, 0, 2}))
        alongZ ? resizeBlock(block, 0, +1, 0) : resizeBlock(block, +1, 0, 0);
      break;
    case VK_DOWN:
      alongZ ? resizeBlock(block, -1, 0, 0) : resizeBlock(block, 0, -1, 0);
      break;
    default:
      return;
  }
  sceneChanged();
}

// The world direction of an arrow key as the viewer sees it: Up goes away from the viewer.
Vec3 arrowDirection(int key) {
  const Vec3 f = editState.forward;
  Vec3 left, up;
  float sign = 1;
  if (std::fabs(f.z) >= std::fabs(f.x)) {
    left = Vec3{-1, 0, 0};
    up = Vec3{0, 0, 1};
    if (f.z < 0) sign = -1;
  } else {
    left = Vec3{0, 0, 1};
    up = Vec3{1, 0, 0};
    if (f.x < 0) sign = -1;
  }
  Vec3 d;
  switch (key) {
    case VK_LEFT: d = left; break;
    case VK_UP: d = up; break;
    case VK_RIGHT: d = Vec3{-left.x, 0, -left.z}; break;
    default: d = Vec3{-up.x, 0, -up.z}; break;
  }
  return Vec3{d.x * sign, 0, d.z * sign};
}

void keyboardMove(int key) {
  EditState& e = editState;
  Block* block = selectedBlock;
  if (!block) return;
  // In a game only the white blocks may move, unless the cheat code was typed.
  if ((gameFlags.gameSetup || gameFlags.gameRunning) && !cheatMode && !allChannelsAtLeast(*block, 0.85f)) return;
  if (!e.holding || !listContains(MovingSet, block)) {
    if (e.holding) releaseHold();
    collectStack(MovingSet, block);
    liftMovingSet();
    e.pickedBlock = block;
    e.grabPoint = block->position;
  }
  e.holding = true;
  const Vec3 d = arrowDirection(key);
  e.keyOffset = Vec3{d.x * 4, 0, d.z * 4};
  movement.keyMove = true;
  e.movePending = true;
  sceneChanged();
}

}  // namespace

void handleEditKey(int key) {
  EditState& e = editState;
  if (e.paintTool != 0) {
    // The paint sound loops only while the tool is in use.
    if (editState.sound) stopEffect(*editState.sound, EffectId::Paint);
    setPaintTool(0);
  }
  if (key == VK_SPACE) {
    if (selectedBlock && e.holding && MovingSet.count() > 0) moveMovingSet(Vec3{});
    movement.wholeBrickDrop = !movement.wholeBrickDrop;
    return;
  }
  if (key == VK_DELETE) {
    if (selectedBlock && e.holding && e.buttonDown) {
      collectStack(MovingSet, selectedBlock);
      deleteHeld();
      selectedBlock = nullptr;
      movement.leftDrag = false;
      if (editState.sound) playEffect(*editState.sound, EffectId::BlockOut);
    }
    return;
  }
  const bool resizeKey = key == VK_PRIOR || key == VK_NEXT || isArrow(key);
  if (!resizeKey) return;
  if (e.holding && e.buttonDown && MovingSet.count() <= 1 && !movement.keyMove && !gameFlags.gameSetup) {
    Block* block = MovingSet.count() == 1 ? listFirst(MovingSet) : selectedBlock;
    if (block) resizeHeld(*block, key);
    return;
  }
  if (isArrow(key) && !movement.keyMove) keyboardMove(key);
}

void turnSelected(int degrees) {
  EditState& e = editState;
  Block* block = selectedBlock;
  if (!block) return;
  if (gameFlags.gameRunning && !gameFlags.gameSetup) return;
  if (gameFlags.gameSetup && !allChannelsAbove(*block, 0.85f)) return;
  rotateBlock(*block, degrees);
  e.settlePending = true;
  e.rotatePending = true;
  e.undoAction = UndoTurn;
  e.undoTurnDegrees = -degrees;
  if (editState.sound) playEffect(*editState.sound, EffectId::Rotate);
  sceneChanged();
}
