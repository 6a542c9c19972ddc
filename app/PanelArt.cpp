// The panel pictures: every bitmap loaded once and kept for the run, the one copy rule, the whole-panel
// painters of the edit screen and the block pictures of the side panel.
#include "app/PanelArt.h"

#include "app/Shell.h"
#include "render/Bitmaps.h"

PanelArt panelArt;

namespace {

// Block pictures: where each of the three sits on the side panel, and how many bands its strip holds.
constexpr Point kBlockPictureAt[3] = {{2, 113}, {2, 221}, {2, 329}};
constexpr int kBandCount[3] = {22, 37, 39};
constexpr int kBandWidth = 86, kBandHeight = 71;

// A file that cannot be read shows the bitmap message and leaves an empty picture.
void load(const char* path, Surface& picture) {
  BmpFile bmp;
  if (loadBmpFile(bmp, path, shell.ViewWindow) != BmpResult::Ok || !bmpToSurface(bmp, picture)) picture = Surface();
}

}  // namespace

void drawPicture(HWindow window, const Surface& picture, const Rect& rect) {
  if (!isWindow(window) || picture.width == 0) return;
  copySurfaceRect(windowSurface(window), rect.left, rect.top, picture, rect);
  windowPixelsChanged(window);
}

void loadPanelBitmapsFirst() {
  PanelArt& a = panelArt;
  load("./bmp\\heditx.bmp", a.heditx);
  load("./bmp\\veditx.bmp", a.veditx);
  load("./bmp\\hoption.bmp", a.hoption);
  load("./bmp\\vfile.bmp", a.vfile);
  load("./bmp\\hoptionx.bmp", a.hoptionx);
  load("./bmp\\mselectx.bmp", a.mselectx);
  load("./bmp\\hgame.bmp", a.hgame);
  load("./bmp\\hgamex.bmp", a.hgamex);
}

void loadPanelBitmapsSecond() {
  PanelArt& a = panelArt;
  load("./bmp\\hedit.bmp", a.hedit);
  load("./bmp\\vedit.bmp", a.vedit);
  load("./bmp\\mselect.bmp", a.mselect);
  load("./bmp\\mselect2.bmp", a.mselect2);
  load("./bmp\\blocks01.bmp", a.blocks[0]);
  load("./bmp\\blocks02.bmp", a.blocks[1]);
  load("./bmp\\blocks03.bmp", a.blocks[2]);
  drawPicture(shell.BottomPanel, a.hedit, Rect{0, 0, a.hedit.width, a.hedit.height});
  drawPicture(shell.SidePanel, a.vedit, Rect{0, 0, 100, 480});
  paintTabStrip();
}

void paintBlockPicture(int n) {
  if (n < 1 || n > 3) return;
  const Surface& strip = panelArt.blocks[n - 1];
  int page = std::clamp(panelArt.blockPage[n - 1], 1, kBandCount[n - 1]);
  if (strip.width == 0 || !isWindow(shell.SidePanel)) return;
  Point at = kBlockPictureAt[n - 1];
  copySurfaceRect(windowSurface(shell.SidePanel), at.x, at.y, strip,
                  Rect{0, kBandHeight * (page - 1), kBandWidth, kBandHeight * page});
  windowPixelsChanged(shell.SidePanel);
}

void PaintEditPanels() {
  const PanelArt& a = panelArt;
  drawPicture(shell.SidePanel, a.vedit, Rect{0, 0, 100, 480});
  for (int n = 1; n <= 3; ++n) paintBlockPicture(n);
  drawPicture(shell.BottomPanel, a.hedit, Rect{0, 0, a.hedit.width, a.hedit.height});
}

void paintStartPicture(HWindow window) {
  BmpFile bmp;
  Surface picture;
  if (loadBmpFile(bmp, "./bmp\\start.bmp", window) != BmpResult::Ok || !bmpToSurface(bmp, picture)) return;
  drawPicture(window, picture, Rect{0, 0, 640, 480});
}
