// Picking a block up with everything stacked on it, following the pointer while the left button is down
// (also outside the view), and letting the stack go again.
//
// Index: [SECTION] Colours  [SECTION] Picking  [SECTION] Pointer  [SECTION] Release
#include "edit/Picking.h"

#include <cmath>

#include "edit/BlockOperations.h"
#include "edit/Camera.h"
#include "edit/EditState.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/Settings.h"


// [SECTION] Colours

std::array<float, 4> paletteColour(int index) {
  static constexpr std::array<float, 4> kColours[] = {
      {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 0, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1},
      {0.125f, 0, 0.5f, 1},
  };
  if (index < 1 || index > 7) return kColours[0];
  return kColours[index];
}

void setPaintTool(Editor& ed, int colour) {
  ed.state.paintTool = colour >= 1 && colour <= 7 ? colour : 0;
  ed.world.movement.paintToolActive = ed.state.paintTool != 0;
}

// [SECTION] Picking

namespace {

// In a game only the white blocks are the player's to move.
bool isWhite(const Block& block) {
  return block.colour[0] > 0.8f && block.colour[1] > 0.8f && block.colour[2] > 0.8f;
}

void captureView(Editor& ed) {
  if (ed.device.window) setCapture(ed.device.window);
}

void takeDeltas(Editor& ed, int x, int y) {
  EditState& e = ed.state;
  // Every movement since the last frame counts, however many pointer messages it came in.
  e.deltaX += x - e.pointerX;
  e.deltaY += y - e.pointerY;
  e.pointerX = x;
  e.pointerY = y;
}

// A stack picked up but not to be moved goes back where it stood, linked to its support again.
void putBackMovingSet(Editor& ed) {
  sweepResetQuery(ed.world.sweep);
  sweepQueryMovingSet(ed.world, Vec3{});
  sweepRelinkMovingSet(ed.world);
  ed.state.holding = false;
  ed.renderer.fullRedrawPending = 1;
}

}  // namespace

Vec3 rayToDragPlane(Editor& ed, int x, int y) {
  const bool held = ed.state.holding && ed.world.movingSet.count() > 0;
  return rayToPlane(ed, x, y, held ? listLowestY(ed.world.movingSet) : 0.0f);
}

bool pickBlock(Editor& ed) {
  EditState& e = ed.state;
  // A camera below the horizon sees the blocks from beneath: nothing can be picked up from there.
  if (ed.world.view.polar > 90 && e.paintTool == 0) return false;
  float depth = kFloatMax;
  Block* block = nearestBlockUnder(ed, e.pointerX, e.pointerY, depth);
  if (!block || !(depth < 1)) return false;
  e.pickedBlock = block;
  e.holding = true;
  e.pickDepthFactor = depth / (1 - depth);
  e.cursorWarpPending = true;
  const Vec3 d = viewRayDirection(ed, e.pointerX, e.pointerY);
  e.grabPoint = (e.eye - e.forward) + Vec3{d.x * e.pickDepthFactor, d.y * e.pickDepthFactor, d.z * e.pickDepthFactor};
  collectStack(ed.world, ed.world.movingSet, block);
  liftMovingSet(ed.renderer, ed.world);
  captureView(ed);
  return true;
}

void pickAndHold(Editor& ed, int x, int y) {
  EditState& e = ed.state;
  if (e.holding) releaseHold(ed);
  ed.world.movement.paintToolActive = e.paintTool != 0;
  e.buttonDown = true;
  ed.world.movement.leftDrag = true;
  if (ed.world.game.gameRunning) return;
  e.pointerX = x;
  e.pointerY = y;
  e.deltaX = e.deltaY = 0;
  e.pointerOutside = false;

  if (ed.world.game.gameSetup) {
    if (!pickBlock(ed)) return;
    ed.world.selectedBlock = e.pickedBlock;
    if (isWhite(*e.pickedBlock)) {
      e.movePending = true;
      e.brickPaletteDrag = e.shapePalette1Drag = e.shapePalette2Drag = false;
    } else {
      setCursor(loadCursor("CANNOT"));
      putBackMovingSet(ed);
    }
    return;
  }

  captureView(ed);
  if (!pickBlock(ed)) {
    beginCameraDrag(ed, CameraDrag::Orbit, x, y);
    e.holding = false;
    ed.world.selectedBlock = nullptr;
    return;
  }
  Block* block = e.pickedBlock;
  e.movePending = true;
  e.holding = true;
  if (ed.settings.autoView && e.paintTool == 0) {
    ed.world.selectedBlock = block;
    autoViewAdjust(ed, 18, 0.7f);
    return;
  }
  if (e.paintTool != 0) {
    e.undoAction = UndoColour;
    e.undoColour = block->colour;
    paintStep(ed, *block, 0.015f);
  } else {
    e.undoAction = UndoMove;
    e.undoPosition = block->position;
  }
  ed.world.selectedBlock = block;
}

// [SECTION] Pointer

void trackPointer(Editor& ed, int x, int y) {
  EditState& e = ed.state;
  const bool left = getKeyState(VK_LBUTTON) & 0x8000, right = getKeyState(VK_RBUTTON) & 0x8000;
  if (ed.world.game.gameRunning && !ed.world.game.gameSetup) {
    if (!ed.world.game.fastFlight) {
      setCursor(loadCursor("CANNOT"));
      return;
    }
    takeDeltas(ed, x, y);
    if (left && !right) {
      e.orbitDrag = true;
    } else if (right && !left) {
      e.deltaX = 0;
      e.zoomDrag = true;
    } else {
      e.deltaX = e.deltaY = 0;
      e.zoomDrag = false;
    }
    return;
  }
  if (ed.world.game.gameSetup) {
    takeDeltas(ed, x, y);
    if (e.buttonDown) (e.holding ? e.movePending : e.orbitDrag) = true;
    return;
  }

  if (e.pointerOutside) {
    e.deltaX = e.deltaY = 0;
  } else {
    takeDeltas(ed, x, y);
  }
  if (e.buttonDown) (e.holding ? e.movePending : e.orbitDrag) = true;
  if (left || right) {
    if (e.brickPaletteDrag || e.shapePalette1Drag || e.shapePalette2Drag) dropFromPalette(ed, x, y);
    const Rect view{0, 0, ed.device.clientWidth, ed.device.clientHeight};
    if (view.contains(x, y)) {
      e.pointerOutside = false;
      e.pointerX = x;
      e.pointerY = y;
    } else {
      // Over the bottom panel just below the view the held stack is let go to the panel's buttons.
      const bool overBottomPanel = x >= 0 && x < view.right && y >= view.bottom && y < view.bottom + 100;
      if (overBottomPanel && e.holding)
        releaseCapture();
      else
        captureView(ed);
      e.pointerOutside = true;
      e.deltaX = e.deltaY = 0;
    }
  }
  if (!e.holding && e.paintTool == 0 && !e.removeTool) setCursor(loadCursor("HAND2"));
}

// [SECTION] Release

void resetEditState(Editor& ed) {
  EditState& e = ed.state;
  e.pickedBlock = nullptr;
  e.holding = e.movePending = e.buttonDown = e.rotatePending = e.settlePending = false;
  e.undoAction = UndoNone;
  e.deletedBlocks.clear();
  ed.world.movement.leftDrag = false;
  listClear(ed.world.movingSet);
}

void releaseHold(Editor& ed) {
  EditState& e = ed.state;
  ed.world.movement.leftDrag = false;
  e.buttonDown = false;
  if (ed.world.game.gameRunning && !ed.world.game.gameSetup) return;
  e.deltaX = e.deltaY = 0;
  e.movePending = false;
  e.orbitDrag = false;
  e.pointerOutside = false;
  if (e.holding) {
    // A picked block that has left the scene since (removed, or the scene replaced) is not dropped.
    if (e.pickedBlock && sceneFind(ed.world.scene, e.pickedBlock)) {
      endDrag(ed.world, e.pickedBlock);
    } else {
      e.pickedBlock = nullptr;
      moveMovingSet(ed.world, Vec3{});
      sweepRelinkMovingSet(ed.world);
    }
    e.holding = false;
  }
  releaseCapture();
}
