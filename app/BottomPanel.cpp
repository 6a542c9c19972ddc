// The edit screen's bottom panel: undo, the four view presets, the view turn and zoom buttons, rotate block,
// the movement toggle, the hammer and the paint-colour cells of the tool strip.
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/BlockOperations.h"
#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "sound/Sounds.h"

namespace {

constexpr int kUndoId = 301;
constexpr int kRotateId = 311;
constexpr int kOrbitRightId = 302;  // given by pointer movement only; its release redraws the turn and zoom buttons

const Rect kUndo{0, 11, 49, 68};
const Rect kRotate{113, 5, 154, 34};
const Rect kOrbitRight{134, 35, 162, 71};
const Rect kOrbitLeft{108, 35, 134, 71};
const Rect kZoomIn{55, 20, 68, 38};
const Rect kZoomOut{77, 45, 89, 55};
const Rect kMovement{169, 18, 223, 63};
const Rect kHammer{422, 9, 471, 68};
const Rect kToolStrip{227, 8, 412, 65};

struct ViewButton {
  int id;
  Rect rect;
  int preset;
};

// In the order they are tested on release.
const ViewButton kViews[4] = {
    {321, Rect{491, 53, 520, 70}, 1},
    {322, Rect{497, 6, 513, 20}, 2},
    {323, Rect{474, 36, 494, 53}, 3},
    {324, Rect{516, 41, 537, 53}, 4},
};

struct ToolCell {
  Rect rect;
  int colour;
  bool setsNewBlockColour;
};

// In the order they are tested. The last is a single pixel in the panel's top-right corner.
const ToolCell kCells[7] = {
    {Rect{227, 8, 257, 65}, 1, true},  {Rect{289, 8, 319, 65}, 4, true},  {Rect{382, 8, 412, 65}, 3, true},
    {Rect{258, 8, 288, 65}, 2, true},  {Rect{320, 8, 350, 65}, 5, true},  {Rect{351, 8, 381, 65}, 6, true},
    {Rect{538, 0, 539, 1}, 6, false},
};

const ViewButton* viewAt(int x, int y) {
  for (const ViewButton& view : kViews)
    if (view.rect.contains(x, y)) return &view;
  return nullptr;
}

const ToolCell* cellAt(int x, int y) {
  for (const ToolCell& cell : kCells)
    if (cell.rect.contains(x, y)) return &cell;
  return nullptr;
}

void drawNormal(Program& p, const Rect& r) { drawPicture(p.shell.BottomPanel, p.panelArt.hedit, r); }
void drawPressed(Program& p, const Rect& r) { drawPicture(p.shell.BottomPanel, p.panelArt.heditx, r); }

void frameNowOnDemand(Program& p) {
  if (p.shell.onDemandRedraw) runFrame(p);
}

// A tool cell pressed: the chosen cell again puts the paint tool away, another one takes its colour.
void pressCell(Program& p, const ToolCell& cell) {
  EditState& e = p.editor.state;
  drawNormal(p, kToolStrip);
  if (e.paintTool == cell.colour) {
    setPaintTool(p.editor, 0);
    return;
  }
  setPaintTool(p.editor, cell.colour);
  if (cell.setsNewBlockColour) {
    e.newBlockColour = cell.colour;
    drawColourDots(p);
  }
  playEffect(p.sound, EffectId::Colours);
  drawPressed(p, cell.rect);
}

void pointerMoved(Program& p, const Message& m) {
  if (!p.world.movement.leftDrag) p.shell.viewActive = 0;
  int pending = 0;
  bool live = false;
  if (kUndo.contains(m.x, m.y)) {
    pending = kUndoId;
    p.shell.viewActive = 1;
  } else if (const ViewButton* view = viewAt(m.x, m.y)) {
    pending = view->id;
    p.shell.viewActive = 1;
  } else if (kRotate.contains(m.x, m.y)) {
    pending = kRotateId;
  } else if (kOrbitRight.contains(m.x, m.y)) {
    pending = kOrbitRightId;
  } else {
    live = kOrbitRight.contains(m.x, m.y) || kOrbitLeft.contains(m.x, m.y) || kZoomIn.contains(m.x, m.y) ||
           kZoomOut.contains(m.x, m.y) || kMovement.contains(m.x, m.y) || kHammer.contains(m.x, m.y) ||
           kToolStrip.contains(m.x, m.y);
  }
  setCursor(pending != 0 || live ? p.shell.hand2Cursor : p.shell.arrowCursor);
  p.shell.pendingButton = pending;
}

void leftPressed(Program& p, const Message& m) {
  EditState& e = p.editor.state;
  const int x = m.x, y = m.y;
  if (kUndo.contains(x, y)) {
    drawPressed(p, kUndo);
    p.shell.pressedButton = kUndoId;
  } else if (const ViewButton* view = viewAt(x, y)) {
    drawPressed(p, view->rect);
    p.shell.pressedButton = view->id;
  } else if (kOrbitRight.contains(x, y) || kOrbitLeft.contains(x, y)) {
    const bool right = kOrbitRight.contains(x, y);
    const Rect& r = right ? kOrbitRight : kOrbitLeft;
    drawPressed(p, r);
    turnAnimation(p.editor, right ? 30 : -30, right ? 5 : -5);
    drawNormal(p, r);
  } else if (kRotate.contains(x, y)) {
    drawPressed(p, kRotate);
    p.shell.pressedButton = kRotateId;
  } else if (kZoomIn.contains(x, y) || kZoomOut.contains(x, y)) {
    const bool in = kZoomIn.contains(x, y);
    const Rect& r = in ? kZoomIn : kZoomOut;
    drawPressed(p, r);
    zoomAnimation(p.editor, in ? -1 : +1);
    drawNormal(p, r);
  } else if (kMovement.contains(x, y)) {
    bool& whole = p.world.movement.wholeBrickDrop;
    whole = !whole;
    whole ? drawNormal(p, kMovement) : drawPressed(p, kMovement);
    playEffect(p.sound, EffectId::Icon);
  } else if (kHammer.contains(x, y)) {
    e.removeTool = !e.removeTool;
    if (e.removeTool) {
      if (e.paintTool != 0) drawNormal(p, kToolStrip);
      setPaintTool(p.editor, 0);
      drawPressed(p, kHammer);
    } else {
      drawNormal(p, kHammer);
    }
    playEffect(p.sound, EffectId::Icon);
  } else if (kToolStrip.contains(x, y) || cellAt(x, y)) {
    if (e.removeTool) {
      e.removeTool = false;
      drawNormal(p, kHammer);
      return;
    }
    if (const ToolCell* cell = cellAt(x, y)) pressCell(p, *cell);
  }
}

// Rotate block: the selected block turns a quarter when it stands alone in the set that moves.
void rotateSelected(Program& p) {
  World& w = p.world;
  if (w.selectedBlock) listInsert(w.movingSet, w.selectedBlock);
  if (w.selectedBlock && w.movingSet.count() == 1) {
    turnSelected(p.editor, +90);
    listClear(w.movingSet);
    liftMovingSet(p.renderer, w);
    releaseHold(p.editor);
    runFrame(p);
  } else {
    listClear(w.movingSet);
  }
}

void leftReleased(Program& p, const Message& m) {
  EditState& e = p.editor.state;
  const int x = m.x, y = m.y;
  p.shell.viewActive = 1;
  const bool onUndo = kUndo.contains(x, y) && p.shell.pressedButton == kUndoId;
  if (onUndo && !e.holding) {
    playEffect(p.sound, EffectId::Undo);
    undo(p.editor);
    drawNormal(p, kUndo);
    frameNowOnDemand(p);
  } else if (!onUndo && e.holding) {
    releaseHold(p.editor);
    p.world.movement.leftDrag = false;
  }
  if (const ViewButton* view = viewAt(x, y)) {
    if (p.shell.pressedButton == view->id) {
      presetView(p.editor, view->preset);
      drawNormal(p, view->rect);
      frameNowOnDemand(p);
    }
  }
  for (const Rect* r : {&kOrbitRight, &kOrbitLeft, &kZoomIn, &kZoomOut})
    if (r->contains(x, y)) drawNormal(p, *r);
  if (kRotate.contains(x, y) && p.shell.pressedButton == kRotateId) {
    rotateSelected(p);
    drawNormal(p, kRotate);
  }
  if (kMovement.contains(x, y)) {
    p.shell.viewActive = 0;
    setCursor(p.shell.hand2Cursor);
  }
  if (kToolStrip.contains(x, y)) p.shell.viewActive = 0;
  p.shell.pendingButton = 0;
  ReleaseButtons(p);
}

}  // namespace

void drawEditToolPictures(Program& p) {
  const EditState& e = p.editor.state;
  p.world.movement.wholeBrickDrop ? drawNormal(p, kMovement) : drawPressed(p, kMovement);
  e.removeTool ? drawPressed(p, kHammer) : drawNormal(p, kHammer);
  drawNormal(p, kToolStrip);
  for (const ToolCell& cell : kCells)
    if (cell.colour == e.paintTool && cell.setsNewBlockColour) {
      drawPressed(p, cell.rect);
      break;
    }
}

void drawBottomPanelButtonNormal(Program& p, int id) {
  if (p.shell.screenState != EditScreen) return;
  if (id == kUndoId) drawNormal(p, kUndo);
  if (id == kRotateId) drawNormal(p, kRotate);
  if (id == kOrbitRightId)
    for (const Rect* r : {&kOrbitRight, &kOrbitLeft, &kZoomIn, &kZoomOut}) drawNormal(p, *r);
  for (const ViewButton& view : kViews)
    if (view.id == id) drawNormal(p, view.rect);
}

bool bottomPanelInput(Program& p, const Message& m) {
  if (p.shell.screenState != EditScreen) return false;
  switch (m.msg) {
    case Msg::MouseMove: pointerMoved(p, m); return true;
    case Msg::LButtonDown: leftPressed(p, m); return true;
    case Msg::LButtonUp: leftReleased(p, m); return true;
    default: return false;
  }
}
