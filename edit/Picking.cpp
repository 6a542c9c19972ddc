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

EditHooks editHooks;

// [SECTION] Colours

std::array<float, 4> paletteColour(int index) {
  static constexpr std::array<float, 4> kColours[] = {
      {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 0, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1},
      {0.125f, 0, 0.5f, 1},
  };
  if (index < 1 || index > 7) return kColours[0];
  return kColours[index];
}

void setPaintTool(int colour) {
  editState.paintTool = colour >= 1 && colour <= 7 ? colour : 0;
  movement.paintToolActive = editState.paintTool != 0;
}

// [SECTION] Picking

namespace {

// In a game only the white blocks are the player's to move.
bool isWhite(const Block& block) {
  return block.colour[0] > 0.8f && block.colour[1] > 0.8f && block.colour[2] > 0.8f;
}

void captureView() {
  if (renderDevice.window) setCapture(renderDevice.window);
}

void takeDeltas(int x, int y) {
  EditState& e = editState;
  // Every movement since the last frame counts, however many pointer messages it came in.
  e.deltaX += x - e.pointerX;
  e.deltaY += y - e.pointerY;
  e.pointerX = x;
  e.pointerY = y;
}

// A stack picked up but not to be moved goes back where it stood, linked to its support again.
void putBackMovingSet() {
  sweepResetQuery();
  sweepQueryMovingSet(Vec3{});
  sweepRelinkMovingSet();
  editState.holding = false;
  sceneRenderer.fullRedrawPending = 1;
}

}  // namespace

Vec3 rayToDragPlane(int x, int y) {
  const bool held = editState.holding && MovingSet.count() > 0;
  return rayToPlane(x, y, held ? listLowestY(MovingSet) : 0.0f);
}

bool pickBlock() {
  EditState& e = editState;
  // A camera below the horizon sees the blocks from beneath: nothing can be picked up from there.
  if (sceneView.polar > 90 && e.paintTool == 0) return false;
  float depth = kFloatMax;
  Block* block = nearestBlockUnder(e.pointerX, e.pointerY, depth);
  if (!block || !(depth < 1)) return false;
  e.pickedBlock = block;
  e.holding = true;
  e.pickDepthFactor = depth / (1 - depth);
  e.cursorWarpPending = true;
  const Vec3 d = viewRayDirection(e.pointerX, e.pointerY);
  e.grabPoint = (e.eye - e.forward) + Vec3{d.x * e.pickDepthFactor, d.y * e.pickDepthFactor, d.z * e.pickDepthFactor};
  collectStack(MovingSet, block);
  liftMovingSet();
  captureView();
  return true;
}

void pickAndHold(int x, int y) {
  EditState& e = editState;
  if (e.holding) releaseHold();
  movement.paintToolActive = e.paintTool != 0;
  e.buttonDown = true;
  movement.leftDrag = true;
  if (gameFlags.gameRunning) return;
  e.pointerX = x;
  e.pointerY = y;
  e.deltaX = e.deltaY = 0;
  e.pointerOutside = false;

  if (gameFlags.gameSetup) {
    if (!pickBlock()) return;
    selectedBlock = e.pickedBlock;
    if (isWhite(*e.pickedBlock)) {
      e.movePending = true;
      e.brickPaletteDrag = e.shapePalette1Drag = e.shapePalette2Drag = false;
    } else {
      setCursor(loadCursor("CANNOT"));
      putBackMovingSet();
    }
    return;
  }

  captureView();
  if (!pickBlock()) {
    beginCameraDrag(CameraDrag::Orbit, x, y);
    e.holding = false;
    selectedBlock = nullptr;
    return;
  }
  Block* block = e.pickedBlock;
  e.movePending = true;
  e.holding = true;
  if (settings.autoView && e.paintTool == 0) {
    selectedBlock = block;
    autoViewAdjust(18, 0.7f);
    return;
  }
  if (e.paintTool != 0) {
    e.undoAction = UndoColour;
    e.undoColour = block->colour;
    paintStep(*block, 0.015f);
  } else {
    e.undoAction = UndoMove;
    e.undoPosition = block->position;
  }
  selectedBlock = block;
}

// [SECTION] Pointer

void trackPointer(int x, int y) {
  EditState& e = editState;
  const bool left = getKeyState(VK_LBUTTON) & 0x8000, right = getKeyState(VK_RBUTTON) & 0x8000;
  if (gameFlags.gameRunning && !gameFlags.gameSetup) {
    if (!gameFlags.fastFlight) {
      setCursor(loadCursor("CANNOT"));
      return;
    }
    takeDeltas(x, y);
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
  if (gameFlags.gameSetup) {
    takeDeltas(x, y);
    if (e.buttonDown) (e.holding ? e.movePending : e.orbitDrag) = true;
    return;
  }

  if (e.pointerOutside) {
    e.deltaX = e.deltaY = 0;
  } else {
    takeDeltas(x, y);
  }
  if (e.buttonDown) (e.holding ? e.movePending : e.orbitDrag) = true;
  if (left || right) {
    if (e.brickPaletteDrag || e.shapePalette1Drag || e.shapePalette2Drag) dropFromPalette(x, y);
    const Rect view{0, 0, renderDevice.clientWidth, renderDevice.clientHeight};
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
        captureView();
      e.pointerOutside = true;
      e.deltaX = e.deltaY = 0;
    }
  }
  if (!e.holding && e.paintTool == 0 && !e.removeTool) setCursor(loadCursor("HAND2"));
}

// [SECTION] Release

void releaseHold() {
  EditState& e = editState;
  movement.leftDrag = false;
  e.buttonDown = false;
  if (gameFlags.gameRunning && !gameFlags.gameSetup) return;
  e.deltaX = e.deltaY = 0;
  e.movePending = false;
  e.orbitDrag = false;
  e.pointerOutside = false;
  if (e.holding) {
    // A picked block that has left the scene since (removed, or the scene replaced) is not dropped.
    if (e.pickedBlock && sceneFind(e.pickedBlock)) {
      endDrag(e.pickedBlock);
    } else {
      e.pickedBlock = nullptr;
      moveMovingSet(Vec3{});
      sweepRelinkMovingSet();
    }
    e.holding = false;
  }
  releaseCapture();
}
