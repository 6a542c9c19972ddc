// The drawing helpers put their ink where the panels expect it: buttons fill their rectangle and no
// more, pressed buttons are darker, labels are centred, icons stay inside their boxes.
#include "GeneratedData.h"
#include "tools/art/Icons.h"
#include "tools/art/Paint.h"
#include "tools/art/Preview.h"

#include <gtest/gtest.h>

namespace {
const Rgb magenta{255, 0, 255};

Picture blankCanvas(Canvas& c) {
  setColour(c.cr(), rgbColour(255, 0, 255));
  cairo_paint(c.cr());
  return c.picture();
}

struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, pixels = 0;
};

InkBox inkOf(const Picture& p, Rgb background) {
  InkBox box;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (!(p.at(x, y) == background)) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        ++box.pixels;
      }
  return box;
}

double brightness(const Picture& p, int x0, int y0, int w, int h) {
  double sum = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      Rgb c = p.at(x, y);
      sum += c.r + c.g + c.b;
    }
  return sum / (w * h * 3);
}
}  // namespace

TEST(ButtonFace, FillsItsRectangleAndNothingOutside) {
  for (Look look : {Look::Normal, Look::Pressed}) {
    Canvas c(80, 60);
    blankCanvas(c);
    drawButtonFace(c.cr(), 10, 12, 41, 29, palette::blue, look);
    InkBox ink = inkOf(c.picture(), magenta);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 12);
    EXPECT_EQ(ink.right, 50);
    EXPECT_EQ(ink.bottom, 40);
    Picture p = c.picture();
    // The middle row and column reach the very edges, so neighbouring buttons meet without a seam.
    EXPECT_FALSE(p.at(10, 26) == magenta);
    EXPECT_FALSE(p.at(50, 26) == magenta);
    EXPECT_FALSE(p.at(30, 12) == magenta);
    EXPECT_FALSE(p.at(30, 40) == magenta);
  }
}

TEST(ButtonFace, PressedLooksDarker) {
  Canvas up(40, 40), down(40, 40);
  drawButtonFace(up.cr(), 0, 0, 40, 40, palette::orange, Look::Normal);
  drawButtonFace(down.cr(), 0, 0, 40, 40, palette::orange, Look::Pressed);
  EXPECT_LT(brightness(down.picture(), 4, 4, 32, 32), brightness(up.picture(), 4, 4, 32, 32) * 0.85);
}

TEST(Labels, KoreanTextIsDrawnCentred) {
  ensureFonts();
  ASSERT_TRUE(fontsLoaded());
  Canvas c(120, 40);
  blankCanvas(c);
  drawText(c.cr(), "도움말", 60, 20, 16, Weight::Bold, palette::ink);
  InkBox ink = inkOf(c.picture(), magenta);
  ASSERT_GT(ink.pixels, 60);  // real glyphs, not empty boxes
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 1.5);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 1.5);
  EXPECT_GT(textWidth(c.cr(), "도움말", 16, Weight::Bold), textWidth(c.cr(), "도움말", 8, Weight::Bold));
}

TEST(Labels, OutlineWrapsTheLetters) {
  ensureFonts();
  Canvas plain(120, 40), rimmed(120, 40);
  blankCanvas(plain);
  blankCanvas(rimmed);
  drawText(plain.cr(), "편집", 60, 20, 14, Weight::Bold, palette::white);
  drawOutlinedText(rimmed.cr(), "편집", 60, 20, 14, Weight::Bold, palette::white, palette::ink, 2);
  InkBox a = inkOf(plain.picture(), magenta), b = inkOf(rimmed.picture(), magenta);
  EXPECT_LE(b.left, a.left - 1);
  EXPECT_GE(b.right, a.right + 1);
  EXPECT_GT(b.pixels, a.pixels);
}

TEST(Icons, EveryIconInksInsideItsBox) {
  for (int i = 0; i <= int(Icon::Play); ++i) {
    Canvas c(100, 100);
    blankCanvas(c);
    drawIcon(c.cr(), Icon(i), 50, 50, 40, palette::white, palette::ink);
    InkBox ink = inkOf(c.picture(), magenta);
    EXPECT_GT(ink.pixels, 100) << "icon " << i;
    // Rims may stand out by half their width (4.5 units of 100) beyond the 40-pixel box.
    EXPECT_GE(ink.left, 28) << "icon " << i;
    EXPECT_GE(ink.top, 28) << "icon " << i;
    EXPECT_LE(ink.right, 72) << "icon " << i;
    EXPECT_LE(ink.bottom, 72) << "icon " << i;
  }
}

TEST(MeshPreview, FitsItsBoxAndIgnoresEmptyMeshes) {
  Canvas c(120, 100);
  blankCanvas(c);
  drawMeshPreview(c.cr(), Mesh{}, 10, 10, 80, 60, palette::red);
  EXPECT_EQ(inkOf(c.picture(), magenta).pixels, 0);
  Mesh box;
  addBox(box, -8, 8, -3, 9, -4, 4);
  drawMeshPreview(c.cr(), box, 10, 10, 80, 60, palette::red);
  InkBox ink = inkOf(c.picture(), magenta);
  EXPECT_GT(ink.pixels, 1500);
  EXPECT_GE(ink.left, 9);
  EXPECT_GE(ink.top, 9);
  EXPECT_LE(ink.right, 91);
  EXPECT_LE(ink.bottom, 71);
  // Lit from above: the upper part of the drawing (the top face) is brighter than the lower part.
  Picture p = c.picture();
  auto meanRed = [&](int y0, int y1) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = ink.left; x <= ink.right; ++x)
        if (!(p.at(x, y) == magenta)) {
          sum += p.at(x, y).r;
          ++n;
        }
    return n ? sum / n : 0.0;
  };
  int quarter = (ink.bottom - ink.top) / 4;
  EXPECT_GT(meanRed(ink.top, ink.top + quarter), meanRed(ink.bottom - quarter, ink.bottom + 1));
}
