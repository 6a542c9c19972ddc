// The 3D view's pointer and key messages: picking, dragging, turning, copying and painting blocks, the
// camera drags, and the cursors and sounds that go with them.
//
// Index: [SECTION] Cursors  [SECTION] Pointer  [SECTION] Buttons  [SECTION] Keys
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/BlockOperations.h"
#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/Settings.h"
#include "sound/Sounds.h"

// [SECTION] Cursors

namespace {

// Blocks can be edited from the view on the edit screen, and during a game.
bool interactive() {
  return shell.screenState == EditScreen || gameFlags.gameSetup || gameFlags.gameRunning;
}

// The open hand while a block is held; on the options screen nothing can be held.
HCursor heldCursor() { return shell.screenState == OptionsScreen ? shell.cannotCursor : shell.handCursor; }

void showViewCursor() {
  const EditState& e = editState;
  HCursor wanted = shell.hand2Cursor;
  bool releases = true;
  if (e.paintTool != 0) {
    wanted = shell.paintCursor;
    releases = false;
  } else if (e.removeTool) {
    wanted = shell.hammerCursor;
    releases = false;
  } else if (gameFlags.gameRunning) {
    wanted = shell.cannotCursor;
  } else if (e.holding) {
    wanted = heldCursor();
  }
  if (currentCursor() == wanted) return;
  setCursor(wanted);
  if (releases && !e.holding && !e.buttonDown) releaseCapture();
}

void requestFrameOnDemand() {
  if (shell.onDemandRedraw) shell.frameRequested = 1;
}

// In on-demand mode a finished action is drawn at once.
void drawNowOnDemand(bool alsoDuringExplosion) {
  if (!shell.onDemandRedraw || gameFlags.gameSetup || gameFlags.gameRunning) return;
  if (shell.explosionActive && !alsoDuringExplosion) return;
  if (runFrame) runFrame();
  shell.frameRequested = 0;
}

void enterEditScreenFromView() {
  playEffect(shell.sound, EffectId::Icon);
  shell.screenState = EditScreen;
  paintTabStrip();
  PaintEditPanels();
}

}  // namespace

// [SECTION] Pointer

void viewMouseMove(const Message& m) {
  EditState& e = editState;
  if (shell.onDemandRedraw && (movement.leftDrag || (m.keys & (MK_LBUTTON | MK_RBUTTON)))) shell.frameRequested = 1;
  if (!interactive()) {
    setCursor(shell.hand2Cursor);
    return;
  }
  shell.viewActive = 1;
  showViewCursor();
  if (e.paintTool == 0) trackPointer(m.x, m.y);
  if (e.holding && e.paintTool != 0) {
    if (Block* block = e.pickedBlock && sceneFind(e.pickedBlock) ? e.pickedBlock : nullptr) paintStep(*block, 0.015f);
  } else if (!e.holding && e.paintTool != 0 && movement.leftDrag && basePlate) {
    paintStep(*basePlate, 0.025f);
    sceneRenderer.fullRedrawPending = 1;
  }
}

// [SECTION] Buttons

void viewLeftDown(const Message& m) {
  EditState& e = editState;
  requestFrameOnDemand();
  if (settings.basicBlocksOnly) sceneRenderer.drawAllShapes = false;
  if (!interactive()) {
    enterEditScreenFromView();
  } else if (!gameFlags.gameRunning) {
    movement.leftDrag = true;
    if (e.holding) {
      releaseHold();
      sceneRenderer.fullRedrawPending = 1;
    }
    pickAndHold(m.x, m.y);
    if (e.holding) {
      if (e.paintTool != 0) {
        playEffectLooping(shell.sound, EffectId::Paint);
      } else if (e.removeTool) {
        deleteHeld();
        selectedBlock = nullptr;
        if (startExplosion) startExplosion(m.x, m.y);
        shell.sceneUnchanged = 0;
      } else {
        playEffect(shell.sound, EffectId::PickUp);
      }
      setCursor(heldCursor());
    } else if (e.paintTool != 0) {
      playEffectLooping(shell.sound, EffectId::Paint);
    }
  }
  shell.pendingButton = 0;
  ReleaseButtons();
}

void viewLeftUp() {
  EditState& e = editState;
  if (currentCursor() == heldCursor()) setCursor(shell.hand2Cursor);
  if (settings.basicBlocksOnly) sceneRenderer.drawAllShapes = true;
  shell.pendingButton = 0;
  ReleaseButtons();
  if (interactive() && !gameFlags.gameRunning) {
    movement.leftDrag = false;
    if (e.holding) {
      shell.sceneUnchanged = 0;
      if (e.paintTool != 0)
        stopEffect(shell.sound, EffectId::Paint);
      else
        playEffect(shell.sound, EffectId::PutDown);
    } else if (e.paintTool != 0) {
      stopEffect(shell.sound, EffectId::Paint);
    }
    releaseHold();
  }
  drawNowOnDemand(false);
}

void viewLeftDoubleClick(const Message& m) {
  if (editState.paintTool != 0 || shell.screenState != EditScreen) return;
  editState.pointerX = m.x;
  editState.pointerY = m.y;
  copyStack();
  releaseHold();
  requestFrameOnDemand();
}

void viewRightDown(HWindow window, const Message& m) {
  EditState& e = editState;
  requestFrameOnDemand();
  if (settings.basicBlocksOnly) sceneRenderer.drawAllShapes = false;
  if (!interactive() || gameFlags.gameRunning) return;
  if (e.paintTool != 0) {
    setPaintTool(0);
    setCursor(shell.hand2Cursor);
    stopEffect(shell.sound, EffectId::Paint);
  }
  if (e.removeTool) {
    e.removeTool = false;
    setCursor(shell.hand2Cursor);
  }
  if (e.holding && MovingSet.count() == 1) {
    turnSelected(+90);
  } else {
    setCapture(window);
    beginCameraDrag(CameraDrag::Zoom, m.x, m.y);
  }
}

void viewRightUp() {
  if (settings.basicBlocksOnly) sceneRenderer.drawAllShapes = true;
  // Sinking blocks may go below the ground from the first right-button release on.
  movement.gravityFloor = -kFloatMax;
  if (interactive() && !gameFlags.gameRunning) {
    const bool wasZooming = editState.zoomDrag;
    editState.zoomDrag = false;
    if (wasZooming) endCameraDrag();
    if (!editState.holding) releaseCapture();
    shell.viewActive = 1;
    shell.frameRequested = 1;
  }
  drawNowOnDemand(true);
}

void viewRightDoubleClick(const Message& m) {
  if (interactive() && !movement.leftDrag && !gameFlags.gameRunning) {
    lookAt(m.x, m.y);
    requestFrameOnDemand();
  }
}

// A block dragged off the view is let go over a panel.
void endViewHoldOverPanel() {
  if (gameFlags.gameRunning) return;
  editState.brickPaletteDrag = editState.shapePalette1Drag = editState.shapePalette2Drag = false;
  if (!movement.leftDrag && !editState.holding) return;
  if (editState.holding) shell.sceneUnchanged = 0;
  releaseHold();
  shell.viewActive = 1;
  shell.frameRequested = 1;
  sceneRenderer.fullRedrawPending = 1;
  if (settings.basicBlocksOnly) sceneRenderer.drawAllShapes = true;
}

void viewRightUpOverPanel() {
  movement.gravityFloor = -kFloatMax;
  if (gameFlags.gameRunning) return;
  shell.viewActive = 1;
  shell.frameRequested = 1;
  if (editState.zoomDrag) endCameraDrag();
}

// [SECTION] Keys

void viewKeyDown(int key) {
  handleEditKey(key);
  // A key move or resize shows in the next frame.
  shell.viewActive = 1;
  requestFrameOnDemand();
}
