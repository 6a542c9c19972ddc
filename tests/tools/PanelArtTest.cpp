// The panel bitmaps have exactly the sizes the panel code copies from, every button looks different
// pressed, and the pressed bitmaps agree with the normal ones wherever no button is.
#include "GeneratedData.h"
#include "tools/art/PanelLayout.h"

#include <gtest/gtest.h>

namespace {
bool inside(const PanelRect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

int differingPixels(const Picture& a, const Picture& b, const PanelRect& r) {
  int count = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      if (!(a.at(x, y) == b.at(x, y))) ++count;
  return count;
}
}  // namespace

TEST(PanelArt, EveryBitmapHasItsPanelsSize) {
  const struct {
    const char* path;
    int w, h;
  } sizes[] = {{"bmp/vedit.bmp", 100, 480},    {"bmp/veditx.bmp", 100, 480},   {"bmp/vfile.bmp", 100, 480},
               {"bmp/hedit.bmp", 540, 76},     {"bmp/heditx.bmp", 540, 76},    {"bmp/hoption.bmp", 540, 76},
               {"bmp/hoptionx.bmp", 540, 76},  {"bmp/hgame.bmp", 540, 76},     {"bmp/hgamex.bmp", 540, 76},
               {"bmp/mselect.bmp", 540, 24},   {"bmp/mselectx.bmp", 540, 24},  {"bmp/mselect2.bmp", 320, 24},
               {"bmp/start.bmp", 640, 480},    {"scene/cast2.tbm", 640, 480},  {"bmp/filemenu.bmp", 640, 72},
               {"menu/explode.bmp", 100, 1000}, {"save/save000.bmp", 98, 69}};
  for (const auto& s : sizes) {
    Picture p = generatedBmp(s.path);
    EXPECT_EQ(p.width, s.w) << s.path;
    EXPECT_EQ(p.height, s.h) << s.path;
  }
}

TEST(PanelArt, PressedButtonsDifferAndNothingElseDoes) {
  for (const PanelPicture& layout : panelPictures()) {
    if (!layout.pressedFile) continue;
    Picture normal = generatedBmp(std::string("bmp/") + layout.normalFile);
    Picture pressed = generatedBmp(std::string("bmp/") + layout.pressedFile);
    ASSERT_EQ(normal.width, layout.width);
    for (const PanelButton& b : layout.buttons) {
      const std::string name = b.name;
      // Buttons without a pressed look, and the one-pixel blue cell, must match exactly.
      const bool samePicture = (std::string(layout.normalFile) == "hgame.bmp" && name == "exit") || name == "hiddenBlue";
      const bool sharedArea = std::string(layout.normalFile) == "hoption.bmp" && name == "snapshot";
      if (sharedArea) continue;
      if (samePicture)
        EXPECT_EQ(differingPixels(normal, pressed, b.rect), 0) << layout.normalFile << " " << name;
      else
        EXPECT_GT(differingPixels(normal, pressed, b.rect), b.rect.w * b.rect.h / 4) << layout.normalFile << " " << name;
    }
    int outside = 0;
    for (int y = 0; y < layout.height; ++y)
      for (int x = 0; x < layout.width; ++x) {
        bool covered = false;
        for (const PanelButton& b : layout.buttons) covered = covered || inside(b.rect, x, y);
        if (!covered && !(normal.at(x, y) == pressed.at(x, y))) ++outside;
      }
    EXPECT_EQ(outside, 0) << layout.normalFile << ": a button's drawing spills out of its rectangle";
  }
}

TEST(PanelArt, CastButtonLooksTheSameOnEverySidePanel) {
  PanelRect cast{18, 20, 58, 52};
  EXPECT_EQ(differingPixels(generatedBmp("bmp/vedit.bmp"), generatedBmp("bmp/vfile.bmp"), cast), 0);
}

TEST(PanelArt, ColourCellsShowTheirColours) {
  Picture hedit = generatedBmp("bmp/hedit.bmp");
  // The middle of each cell holds its brick: white, yellow, red, green, blue, black.
  const int expect[6][3] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}};
  for (int i = 0; i < 6; ++i) {
    Rgb c = hedit.at(colourCellX[i] + colourCellW / 2, colourCellY + 40);
    EXPECT_EQ(c.r > 150, expect[i][0] == 1) << i;
    EXPECT_EQ(c.g > 130, expect[i][1] == 1) << i;
    EXPECT_EQ(c.b > 150, expect[i][2] == 1) << i;
  }
}

TEST(ExplosionSprite, KeyColourIsTopLeftAndNoDrawnPixelCollapsesOntoIt) {
  Picture sprite = generatedBmp("menu/explode.bmp");
  ASSERT_EQ(sprite.height, 1000);
  const Rgb key = sprite.at(0, 0);
  auto to565 = [](Rgb c) { return (c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3); };
  int drawnPerFrame[10] = {};
  for (int y = 0; y < 1000; ++y)
    for (int x = 0; x < 100; ++x) {
      Rgb c = sprite.at(x, y);
      if (c == key) continue;
      EXPECT_NE(to565(c), to565(key)) << x << "," << y;
      ++drawnPerFrame[y / 100];
    }
  for (int frame = 0; frame < 10; ++frame) EXPECT_GT(drawnPerFrame[frame], 50) << "frame " << frame + 1;
}
