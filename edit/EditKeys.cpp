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

bool blocked(Editor& ed, Block& block, Vec3 offset) {
  sweepResetQuery(ed.world.sweep);
  return sweepQuery(ed.world.sweep, block, offset) > 0;
}

void sceneChanged(Editor& ed) { ed.sceneEdited = true; }

// Page Up and Page Down change the height with the bottom kept in place; the arrows change the size
// across and along the view by one stud.
void resizeHeld(Editor& ed, Block& block, int key) {
  const Vec3 f = ed.state.forward;
  const bool alongZ = std::fabs(f.z) >= std::fabs(f.x);
  if (isShapeKind(block.kind)) {
    const bool grow = key == VK_PRIOR || key == VK_UP || key == VK_RIGHT;
    const bool shrink = key == VK_NEXT || key == VK_LEFT || key == VK_DOWN;
    if (grow || shrink) stepShapeSize(ed.world, block, grow ? +1 : -1);
    return;
  }
  switch (key) {
    case VK_PRIOR:
      if (block.height <= 9 && !blocked(ed, block, Vec3{0, 3, 0})) {
        translateBlock(block, 0, 3, 0);
        resizeBlock(ed.world, block, 0, 0, +1);
      }
      break;
    case VK_NEXT:
      if (block.height >= 2) {
        resizeBlock(ed.world, block, 0, 0, -1);
        translateBlock(block, 0, -3, 0);
      }
      break;
    case VK_LEFT:
      alongZ ? resizeBlock(ed.world, block, 0, -1, 0) : resizeBlock(ed.world, block, -1, 0, 0);
      break;
    case VK_UP:
      if (!blocked(ed, block, Vec3{-2, 0, 0}) && !blocked(ed, block, Vec3{2, 0, 0}))
        alongZ ? resizeBlock(ed.world, block, +1, 0, 0) : resizeBlock(ed.world, block, 0, +1, 0);
      break;
    case VK_RIGHT:
      if (!blocked(ed, block, Vec3{0, 0, -2}) && !blocked(ed, block, Vec3{0, 0, 2}))
        alongZ ? resizeBlock(ed.world, block, 0, +1, 0) : resizeBlock(ed.world, block, +1, 0, 0);
      break;
    case VK_DOWN:
      alongZ ? resizeBlock(ed.world, block, -1, 0, 0) : resizeBlock(ed.world, block, 0, -1, 0);
      break;
    default:
      return;
  }
  sceneChanged(ed);
}

// The world direction of an arrow key as the viewer sees it: Up goes away from the viewer.
Vec3 arrowDirection(Editor& ed, int key) {
  const Vec3 f = ed.state.forward;
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

void keyboardMove(Editor& ed, int key) {
  EditState& e = ed.state;
  Block* block = ed.world.selectedBlock;
  if (!block) return;
  // In a game only the white blocks may move, unless the cheat code was typed.
  if ((ed.world.game.gameSetup || ed.world.game.gameRunning) && !ed.world.cheatMode && !allChannelsAtLeast(*block, 0.85f)) return;
  if (!e.holding || !listContains(ed.world.movingSet, block)) {
    if (e.holding) releaseHold(ed);
    collectStack(ed.world, ed.world.movingSet, block);
    liftMovingSet(ed.renderer, ed.world);
    e.pickedBlock = block;
    e.grabPoint = block->position;
  }
  e.holding = true;
  const Vec3 d = arrowDirection(ed, key);
  e.keyOffset = Vec3{d.x * 4, 0, d.z * 4};
  ed.world.movement.keyMove = true;
  e.movePending = true;
  sceneChanged(ed);
}

}  // namespace

void handleEditKey(Editor& ed, int key) {
  EditState& e = ed.state;
  if (e.paintTool != 0) {
    // The paint sound loops only while the tool is in use.
    stopEffect(ed.sound, EffectId::Paint);
    setPaintTool(ed, 0);
  }
  if (key == VK_SPACE) {
    if (ed.world.selectedBlock && e.holding && ed.world.movingSet.count() > 0) moveMovingSet(ed.world, Vec3{});
    ed.world.movement.wholeBrickDrop = !ed.world.movement.wholeBrickDrop;
    return;
  }
  if (key == VK_DELETE) {
    if (ed.world.selectedBlock && e.holding && e.buttonDown) {
      collectStack(ed.world, ed.world.movingSet, ed.world.selectedBlock);
      deleteHeld(ed);
      ed.world.selectedBlock = nullptr;
      ed.world.movement.leftDrag = false;
      playEffect(ed.sound, EffectId::BlockOut);
    }
    return;
  }
  const bool resizeKey = key == VK_PRIOR || key == VK_NEXT || isArrow(key);
  if (!resizeKey) return;
  if (e.holding && e.buttonDown && ed.world.movingSet.count() <= 1 && !ed.world.movement.keyMove && !ed.world.game.gameSetup) {
    Block* block = ed.world.movingSet.count() == 1 ? ed.world.movingSet.first() : ed.world.selectedBlock;
    if (block) resizeHeld(ed, *block, key);
    return;
  }
  if (isArrow(key) && !ed.world.movement.keyMove) keyboardMove(ed, key);
}

void turnSelected(Editor& ed, int degrees) {
  EditState& e = ed.state;
  Block* block = ed.world.selectedBlock;
  if (!block) return;
  if (ed.world.game.gameRunning && !ed.world.game.gameSetup) return;
  if (ed.world.game.gameSetup && !allChannelsAbove(*block, 0.85f)) return;
  rotateBlock(*block, degrees);
  e.settlePending = true;
  e.rotatePending = true;
  e.undoAction = UndoTurn;
  e.undoTurnDegrees = -degrees;
  playEffect(ed.sound, EffectId::Rotate);
  sceneChanged(ed);
}
