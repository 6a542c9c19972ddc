// The panel pictures: every bitmap loaded once and kept for the run, the one copy rule, the whole-panel
// painters of the edit screen and the block pictures of the side panel.
#include "app/PanelArt.h"

#include "app/Shell.h"
#include "render/Bitmaps.h"


namespace {

// Block pictures: where each of the three sits on the side panel, and how many bands its strip holds.
constexpr Point kBlockPictureAt[3] = {{2, 113}, {2, 221}, {2, 329}};
constexpr int kBandWidth = 86, kBandHeight = 71;

}  // namespace

bool loadPicture(const std::string& path, HWindow owner, Surface& picture) {
  BmpFile bmp;
  const BmpResult result = loadBmpFile(bmp, path);
  if (result == BmpResult::Missing) messageBox(owner, path, "BMP file Does not exist", MB_OK);
  if (result != BmpResult::Ok || !bmpToSurface(bmp, picture)) {
    picture = Surface();
    return false;
  }
  return true;
}

namespace {

// A file that cannot be read leaves an empty picture.
void load(Program& p, const char* path, Surface& picture) { loadPicture(path, p.shell.ViewWindow, picture); }

}  // namespace

void drawPicture(HWindow window, const Surface& picture, const Rect& rect) {
  if (!isWindow(window) || picture.width == 0) return;
  copySurfaceRect(windowSurface(window), rect.left, rect.top, picture, rect);
  windowPixelsChanged(window);
}

void loadPanelBitmapsFirst(Program& p) {
  PanelArt& a = p.panelArt;
  load(p, "./bmp\\heditx.bmp", a.heditx);
  load(p, "./bmp\\veditx.bmp", a.veditx);
  load(p, "./bmp\\hoption.bmp", a.hoption);
  load(p, "./bmp\\vfile.bmp", a.vfile);
  load(p, "./bmp\\hoptionx.bmp", a.hoptionx);
  load(p, "./bmp\\mselectx.bmp", a.mselectx);
  load(p, "./bmp\\hgame.bmp", a.hgame);
  load(p, "./bmp\\hgamex.bmp", a.hgamex);
}

void loadPanelBitmapsSecond(Program& p) {
  PanelArt& a = p.panelArt;
  load(p, "./bmp\\hedit.bmp", a.hedit);
  load(p, "./bmp\\vedit.bmp", a.vedit);
  load(p, "./bmp\\mselect.bmp", a.mselect);
  load(p, "./bmp\\mselect2.bmp", a.mselect2);
  load(p, "./bmp\\blocks01.bmp", a.blocks[0]);
  load(p, "./bmp\\blocks02.bmp", a.blocks[1]);
  load(p, "./bmp\\blocks03.bmp", a.blocks[2]);
  PaintEditPanels(p);
  paintTabStrip(p);
}

void paintBlockPicture(Program& p, int n) {
  if (n < 1 || n > 3) return;
  const Surface& strip = p.panelArt.blocks[n - 1];
  int page = std::clamp(p.panelArt.blockPage[n - 1], 1, kBlockPageCount[n - 1]);
  if (strip.width == 0 || !isWindow(p.shell.SidePanel)) return;
  Point at = kBlockPictureAt[n - 1];
  copySurfaceRect(windowSurface(p.shell.SidePanel), at.x, at.y, strip,
                  Rect{0, kBandHeight * (page - 1), kBandWidth, kBandHeight * page});
  windowPixelsChanged(p.shell.SidePanel);
}

void PaintEditPanels(Program& p) {
  const PanelArt& a = p.panelArt;
  drawPicture(p.shell.SidePanel, a.vedit, Rect{0, 0, 100, 480});
  for (int n = 1; n <= 3; ++n) paintBlockPicture(p, n);
  drawColourDots(p);
  drawPicture(p.shell.BottomPanel, a.hedit, Rect{0, 0, a.hedit.width, a.hedit.height});
}

void PaintOptionPanels(Program& p) {
  const PanelArt& a = p.panelArt;
  drawPicture(p.shell.SidePanel, a.vfile, Rect{0, 0, 100, 480});
  drawPicture(p.shell.BottomPanel, a.hoption, Rect{0, 0, 540, 76});
}

void PaintGameSelectPanels(Program& p) { PaintOptionPanels(p); }

void PaintGamePanels(Program& p) {
  const PanelArt& a = p.panelArt;
  drawPicture(p.shell.SidePanel, a.vfile, Rect{0, 0, 100, 480});
  drawPicture(p.shell.BottomPanel, a.hgame, Rect{0, 0, 540, 76});
}

void paintGameLeft(Program& p) { drawPicture(p.shell.BottomPanel, p.panelArt.hgame, Rect{0, 0, 370, 76}); }

void paintTabBase(Program& p) { drawPicture(p.shell.TabStrip, p.panelArt.mselect, Rect{0, 0, 540, 24}); }

void paintGameStrip(Program& p) {
  const Surface& strip = p.panelArt.mselect2;
  if (strip.width == 0 || !isWindow(p.shell.TabStrip)) return;
  copySurfaceRect(windowSurface(p.shell.TabStrip), 220, 0, strip, Rect{0, 0, 320, 24});
  windowPixelsChanged(p.shell.TabStrip);
}

void paintTabHighlight(Program& p, Tab tab) {
  static constexpr Rect kTabs[] = {Rect{292, 0, 354, 23}, Rect{422, 0, 485, 23}, Rect{356, 0, 420, 23},
                                   Rect{226, 0, 290, 23}};
  drawPicture(p.shell.TabStrip, p.panelArt.mselectx, kTabs[static_cast<int>(tab)]);
}

void paintStartPicture(HWindow window) {
  Surface picture;
  if (!loadPicture("./bmp\\start.bmp", window, picture)) return;
  drawPicture(window, picture, Rect{0, 0, 640, 480});
}
