// The 3D view's pointer and key messages: picking, dragging, turning, copying and painting blocks, the
// camera drags, and the cursors and sounds that go with them.
//
// Index: [SECTION] Cursors  [SECTION] Pointer  [SECTION] Buttons  [SECTION] Keys
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "platform/strings.h"
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
bool interactive(Program& p) {
  return p.shell.screenState == EditScreen || p.world.game.gameSetup || p.world.game.gameRunning;
}

// The open hand while a block is held; on the options screen nothing can be held.
HCursor heldCursor(Program& p) { return p.shell.screenState == OptionsScreen ? p.shell.cannotCursor : p.shell.handCursor; }

void showViewCursor(Program& p) {
  const EditState& e = p.editor.state;
  HCursor wanted = p.shell.hand2Cursor;
  bool releases = true;
  if (e.paintTool != 0) {
    wanted = p.shell.paintCursor;
    releases = false;
  } else if (e.removeTool) {
    wanted = p.shell.hammerCursor;
    releases = false;
  } else if (p.world.game.gameRunning) {
    wanted = p.shell.cannotCursor;
  } else if (e.holding) {
    wanted = heldCursor(p);
  }
  if (currentCursor() == wanted) return;
  setCursor(wanted);
  if (releases && !e.holding && !e.buttonDown) releaseCapture();
}

void requestFrameOnDemand(Program& p) {
  if (p.shell.onDemandRedraw) p.shell.frameRequested = 1;
}

// In on-demand mode a finished action is drawn at once.
void drawNowOnDemand(Program& p, bool alsoDuringExplosion) {
  if (!p.shell.onDemandRedraw || p.world.game.gameSetup || p.world.game.gameRunning) return;
  if (p.explosion.active && !alsoDuringExplosion) return;
  runFrame(p);
  p.shell.frameRequested = 0;
}

void enterEditScreenFromView(Program& p) {
  playEffect(p.sound, EffectId::Icon);
  EnterEditScreen(p);
}

}  // namespace

// [SECTION] Pointer

void viewMouseMove(Program& p, const Message& m) {
  EditState& e = p.editor.state;
  if (p.shell.onDemandRedraw && (p.world.movement.leftDrag || (m.keys & (MK_LBUTTON | MK_RBUTTON)))) p.shell.frameRequested = 1;
  if (!interactive(p)) {
    setCursor(p.shell.hand2Cursor);
    return;
  }
  p.shell.viewActive = 1;
  showViewCursor(p);
  if (e.paintTool == 0) trackPointer(p.editor, m.x, m.y);
  if (e.holding && e.paintTool != 0) {
    if (Block* block = e.pickedBlock && sceneFind(p.world.scene, e.pickedBlock) ? e.pickedBlock : nullptr) paintStep(p.editor, *block, 0.015f);
  } else if (!e.holding && e.paintTool != 0 && p.world.movement.leftDrag && p.world.basePlate) {
    paintStep(p.editor, *p.world.basePlate, 0.025f);
    p.renderer.fullRedrawPending = 1;
  }
}

// [SECTION] Buttons

void viewLeftDown(Program& p, const Message& m) {
  EditState& e = p.editor.state;
  requestFrameOnDemand(p);
  if (p.editor.settings.basicBlocksOnly) p.renderer.drawAllShapes = false;
  if (!interactive(p)) {
    enterEditScreenFromView(p);
  } else if (!p.world.game.gameRunning) {
    p.world.movement.leftDrag = true;
    if (e.holding) {
      releaseHold(p.editor);
      p.renderer.fullRedrawPending = 1;
    }
    pickAndHold(p.editor, m.x, m.y);
    if (e.holding) {
      if (e.paintTool != 0) {
        playEffectLooping(p.sound, EffectId::Paint);
      } else if (e.removeTool) {
        deleteHeld(p.editor);
        p.world.selectedBlock = nullptr;
        startExplosion(p.explosion, m.x, m.y);
        p.shell.sceneUnchanged = 0;
      } else {
        playEffect(p.sound, EffectId::PickUp);
      }
      setCursor(heldCursor(p));
    } else if (e.paintTool != 0) {
      playEffectLooping(p.sound, EffectId::Paint);
    }
  }
  p.shell.pendingButton = 0;
  ReleaseButtons(p);
}

void viewLeftUp(Program& p) {
  EditState& e = p.editor.state;
  if (currentCursor() == heldCursor(p)) setCursor(p.shell.hand2Cursor);
  if (p.editor.settings.basicBlocksOnly) p.renderer.drawAllShapes = true;
  p.shell.pendingButton = 0;
  ReleaseButtons(p);
  if (interactive(p) && !p.world.game.gameRunning) {
    p.world.movement.leftDrag = false;
    if (e.holding) {
      p.shell.sceneUnchanged = 0;
      if (e.paintTool != 0)
        stopEffect(p.sound, EffectId::Paint);
      else
        playEffect(p.sound, EffectId::PutDown);
    } else if (e.paintTool != 0) {
      stopEffect(p.sound, EffectId::Paint);
    }
    releaseHold(p.editor);
  }
  drawNowOnDemand(p, false);
}

void viewLeftDoubleClick(Program& p, const Message& m) {
  if (p.editor.state.paintTool != 0 || p.shell.screenState != EditScreen) return;
  p.editor.state.pointerX = m.x;
  p.editor.state.pointerY = m.y;
  if (copyStack(p.editor) == CopyResult::TooMany) {
    const char* text = loadString(33);
    const char* caption = loadString(34);
    messageBox(p.device.window, text ? text : "Sorry you cannot copy more than 30 blocks at one time",
               caption ? caption : "copy blocks", MB_OK);
  }
  releaseHold(p.editor);
  requestFrameOnDemand(p);
}

void viewRightDown(Program& p, HWindow window, const Message& m) {
  EditState& e = p.editor.state;
  requestFrameOnDemand(p);
  if (p.editor.settings.basicBlocksOnly) p.renderer.drawAllShapes = false;
  if (!interactive(p) || p.world.game.gameRunning) return;
  if (e.paintTool != 0) {
    setPaintTool(p.editor, 0);
    setCursor(p.shell.hand2Cursor);
    stopEffect(p.sound, EffectId::Paint);
  }
  if (e.removeTool) {
    e.removeTool = false;
    setCursor(p.shell.hand2Cursor);
  }
  if (e.holding && p.world.movingSet.count() == 1) {
    turnSelected(p.editor, +90);
  } else {
    setCapture(window);
    beginCameraDrag(p.editor, CameraDrag::Zoom, m.x, m.y);
  }
}

void viewRightUp(Program& p) {
  if (p.editor.settings.basicBlocksOnly) p.renderer.drawAllShapes = true;
  // Sinking blocks may go below the ground from the first right-button release on.
  p.world.movement.gravityFloor = -kFloatMax;
  if (interactive(p) && !p.world.game.gameRunning) {
    const bool wasZooming = p.editor.state.zoomDrag;
    p.editor.state.zoomDrag = false;
    if (wasZooming) endCameraDrag(p.editor);
    if (!p.editor.state.holding) releaseCapture();
    p.shell.viewActive = 1;
    p.shell.frameRequested = 1;
  }
  drawNowOnDemand(p, true);
}

void viewRightDoubleClick(Program& p, const Message& m) {
  if (interactive(p) && !p.world.movement.leftDrag && !p.world.game.gameRunning) {
    lookAt(p.editor, m.x, m.y);
    requestFrameOnDemand(p);
  }
}

// A block dragged off the view is let go over a panel.
void endViewHoldOverPanel(Program& p) {
  if (p.world.game.gameRunning) return;
  p.editor.state.brickPaletteDrag = p.editor.state.shapePalette1Drag = p.editor.state.shapePalette2Drag = false;
  if (!p.world.movement.leftDrag && !p.editor.state.holding) return;
  if (p.editor.state.holding) p.shell.sceneUnchanged = 0;
  releaseHold(p.editor);
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  p.renderer.fullRedrawPending = 1;
  if (p.editor.settings.basicBlocksOnly) p.renderer.drawAllShapes = true;
}

void viewRightUpOverPanel(Program& p) {
  p.world.movement.gravityFloor = -kFloatMax;
  if (p.world.game.gameRunning) return;
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  if (p.editor.state.zoomDrag) endCameraDrag(p.editor);
}

// [SECTION] Keys

void viewKeyDown(Program& p, int key) {
  handleEditKey(p.editor, key);
  // A key move or resize shows in the next frame.
  p.shell.viewActive = 1;
  requestFrameOnDemand(p);
}
