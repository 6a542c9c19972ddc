// The side panel's live areas: the cast button (every screen), and on the edit screen the six page arrows
// that leaf through the three block pictures and the block pictures a new block is taken from.
#include <array>

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "sound/Sounds.h"

namespace {

constexpr int kCastId = 601;
const Rect kCast{18, 20, 76, 72};

struct PageArrow {
  int id;
  Rect rect;  // hit rectangle, also where its picture sits in both panel bitmaps
  int picture;  // the block picture it leafs through, 1-3
  int step;     // -1 back, +1 forward
};

const PageArrow kArrows[6] = {
    {305, Rect{59, 95, 91, 108}, 1, -1},  {306, Rect{2, 187, 34, 200}, 1, +1},
    {307, Rect{59, 203, 91, 216}, 2, -1}, {308, Rect{2, 295, 34, 308}, 2, +1},
    {309, Rect{59, 311, 91, 324}, 3, -1}, {310, Rect{2, 403, 34, 416}, 3, +1},
};

const Rect kBlockPictures[3] = {Rect{2, 113, 88, 184}, Rect{2, 221, 88, 292}, Rect{2, 329, 88, 400}};

// The colour dots right of each page-forward arrow: the colours 1-6 new blocks can take.
constexpr int kDotRowTop[3] = {188, 296, 404};
constexpr int kDotLeft = 41, kDotWidth = 9, kDotHeight = 12;

Rect dotRect(int row, int colour) {
  const int left = kDotLeft + kDotWidth * (colour - 1);
  return Rect{left, kDotRowTop[row], left + kDotWidth, kDotRowTop[row] + kDotHeight};
}

// The colour of the dot under the point, or 0.
int dotAt(int x, int y) {
  for (int row = 0; row < 3; ++row)
    for (int colour = 1; colour <= 6; ++colour)
      if (dotRect(row, colour).contains(x, y)) return colour;
  return 0;
}

const PageArrow* arrowAt(int x, int y) {
  for (const PageArrow& arrow : kArrows)
    if (arrow.rect.contains(x, y)) return &arrow;
  return nullptr;
}

int blockPictureAt(int x, int y) {
  for (int n = 1; n <= 3; ++n)
    if (kBlockPictures[n - 1].contains(x, y)) return n;
  return 0;
}

// The entry each palette makes follows the page its picture shows.
void syncPaletteEntries(Program& p) {
  EditState& e = p.editor.state;
  e.brickPaletteEntry = p.panelArt.blockPage[0];
  e.shapePalette1Entry = p.panelArt.blockPage[1];
  e.shapePalette2Entry = p.panelArt.blockPage[2];
}

// A page arrow wraps from the first page to the last and from the last back to the first.
void turnPage(Program& p, const PageArrow& arrow) {
  int& page = p.panelArt.blockPage[arrow.picture - 1];
  const int count = kBlockPageCount[arrow.picture - 1];
  page += arrow.step;
  if (page < 1) page = count;
  if (page > count) page = 1;
  syncPaletteEntries(p);
  paintBlockPicture(p, arrow.picture);
}

// Picture n is pressed: the next pointer movement over the view brings its block in.
void armNewBlock(Program& p, int n) {
  EditState& e = p.editor.state;
  syncPaletteEntries(p);
  e.brickPaletteDrag = n == 1;
  e.shapePalette1Drag = n == 2;
  e.shapePalette2Drag = n == 3;
  e.removeTool = false;
  if (e.paintTool != 0) setPaintTool(p.editor, 0);
  setCursor(p.shell.hand2Cursor);
}

void pointerMoved(Program& p, const Message& m) {
  if (!p.world.movement.leftDrag && !p.world.game.gameRunning) p.shell.viewActive = 0;
  int pending = 0;
  if (p.shell.screenState == EditScreen) {
    if (const PageArrow* arrow = arrowAt(m.x, m.y)) {
      setCursor(p.shell.hand2Cursor);
      pending = arrow->id;
    } else if (blockPictureAt(m.x, m.y) || dotAt(m.x, m.y)) {
      setCursor(p.shell.hand2Cursor);
      pending = p.shell.pendingButton;
    } else {
      setCursor(p.shell.arrowCursor);
    }
  }
  if (kCast.contains(m.x, m.y)) {
    setCursor(p.shell.hand2Cursor);
    pending = kCastId;
  }
  p.shell.pendingButton = pending;
}

void leftPressed(Program& p, HWindow window, const Message& m) {
  if (kCast.contains(m.x, m.y)) {
    drawPicture(window, p.panelArt.veditx, kCast);
    p.shell.pressedButton = kCastId;
    playEffect(p.sound, EffectId::Menu);
    return;
  }
  if (p.shell.screenState != EditScreen) return;
  if (const PageArrow* arrow = arrowAt(m.x, m.y)) {
    drawPicture(window, p.panelArt.veditx, arrow->rect);
    turnPage(p, *arrow);
    p.shell.pressedButton = arrow->id;
    playEffect(p.sound, EffectId::Icon);
  } else if (int n = blockPictureAt(m.x, m.y)) {
    armNewBlock(p, n);
  } else if (int colour = dotAt(m.x, m.y)) {
    p.editor.state.newBlockColour = colour;
    playEffect(p.sound, EffectId::Colours);
    drawColourDots(p);
  }
}

void leftReleased(Program& p, HWindow window, const Message& m) {
  // Also clears the pick flags: a block picture clicked and let go over the panel brings nothing in.
  endViewHoldOverPanel(p);
  if (p.shell.screenState == EditScreen) {
    for (const PageArrow& arrow : kArrows)
      if (arrow.rect.contains(m.x, m.y)) drawPicture(window, p.panelArt.vedit, arrow.rect);
  } else if (p.shell.screenState == GameScreen) {
    releaseHold(p.editor);
  }
  if (kCast.contains(m.x, m.y) && p.shell.pressedButton == kCastId) {
    drawPicture(window, p.panelArt.vedit, kCast);
    openCastDialog(p);
  }
  p.shell.pendingButton = 0;
  ReleaseButtons(p);
}

}  // namespace

void drawSidePanelButtonNormal(Program& p, int id) {
  if (id == kCastId) {
    drawPicture(p.shell.SidePanel, p.panelArt.vedit, kCast);
    return;
  }
  if (p.shell.screenState != EditScreen) return;
  for (const PageArrow& arrow : kArrows)
    if (arrow.id == id) drawPicture(p.shell.SidePanel, p.panelArt.vedit, arrow.rect);
}

void drawColourDots(Program& p) {
  if (p.shell.screenState != EditScreen) return;
  const int chosen = p.editor.state.newBlockColour == 0 ? 1 : p.editor.state.newBlockColour;
  for (int row = 0; row < 3; ++row)
    for (int colour = 1; colour <= 6; ++colour)
      drawPicture(p.shell.SidePanel, colour == chosen ? p.panelArt.veditx : p.panelArt.vedit, dotRect(row, colour));
}

bool sidePanelInput(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::MouseMove: pointerMoved(p, m); return true;
    case Msg::LButtonDown: leftPressed(p, window, m); return true;
    case Msg::LButtonUp: leftReleased(p, window, m); return true;
    default: return false;
  }
}
