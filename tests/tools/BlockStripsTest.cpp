// The block-picture strips: band sizes, which block each band shows, and every band a centred drawing.
#include "GeneratedData.h"
#include "SceneCheck.h"
#include "scene/World.h"
#include "tools/art/BlockStrips.h"
#include "tools/art/BlockView.h"

#include <cstdlib>
#include <set>
#include <gtest/gtest.h>

namespace {
bool isBackground(Rgb c) { return c.r >= 225 && c.g >= 230 && c.b >= 215 && c.r - c.b < 45; }
bool sameColour(Rgb a, Rgb b) {
  return std::abs(a.r - b.r) <= 4 && std::abs(a.g - b.g) <= 4 && std::abs(a.b - b.b) <= 4;
}
}  // namespace

TEST(BlockStrips, PalettesCoverEveryFirstSizeShapeOnceWithThePlaneThird) {
  EXPECT_EQ(brickPalette().size(), 22u);
  const auto first = shapePalette(1), second = shapePalette(2);
  ASSERT_EQ(first.size(), 37u);
  ASSERT_EQ(second.size(), 39u);
  EXPECT_EQ(second[2].kind, 21);
  EXPECT_EQ(first[5].kind, 23);
  std::multiset<int> kinds;
  for (const auto* page : {&first, &second})
    for (const PaletteEntry& e : *page) kinds.insert(e.kind);
  for (int k = 3; k <= 78; ++k) EXPECT_EQ(kinds.count(k), 1u) << k;
  EXPECT_EQ(kinds.size(), 76u);
  // Bricks first (1 x 1 last of them), then slopes from 3 x 2 down to 2 x 1.
  const auto bricks = brickPalette();
  EXPECT_EQ(bricks[10].kind, 0);
  EXPECT_EQ(bricks[10].studsX * bricks[10].studsZ, 1);
  EXPECT_EQ(bricks[11].kind, 2);
  EXPECT_EQ(bricks[21].studsZ, 1);
}

TEST(BlockStrips, EveryBandIsADistinctCentredDrawing) {
  const char* names[3] = {"bmp/blocks01.bmp", "bmp/blocks02.bmp", "bmp/blocks03.bmp"};
  const int bands[3] = {22, 37, 39};
  for (int p = 0; p < 3; ++p) {
    const Picture strip = generatedBmp(names[p]);
    ASSERT_EQ(strip.width, stripBandWidth);
    ASSERT_EQ(strip.height, stripBandHeight * bands[p]);
    std::set<std::vector<uint8_t>> seen;
    for (int b = 0; b < bands[p]; ++b) {
      SCOPED_TRACE(std::string(names[p]) + " band " + std::to_string(b + 1));
      const Picture band = cropPicture(strip, 0, b * stripBandHeight, stripBandWidth, stripBandHeight);
      int x0 = stripBandWidth, x1 = -1, y0 = stripBandHeight, y1 = -1, drawn = 0;
      for (int y = 0; y < stripBandHeight; ++y)
        for (int x = 0; x < stripBandWidth; ++x)
          if (!sameColour(band.at(x, y), band.at(0, y))) {  // the left edge is always the bare gradient
            ++drawn;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
          }
      ASSERT_GT(drawn, 150);
      // Inside the margin, and centred within a pixel or two.
      EXPECT_GE(x0, 3);
      EXPECT_GE(y0, 3);
      EXPECT_LE(x1, stripBandWidth - 4);
      EXPECT_LE(y1, stripBandHeight - 4);
      EXPECT_NEAR((x0 + x1) / 2.0, (stripBandWidth - 1) / 2.0, 2.0);
      EXPECT_NEAR((y0 + y1) / 2.0, (stripBandHeight - 1) / 2.0, 2.0);
      EXPECT_TRUE(seen.insert(band.rgb).second);
    }
  }
}

TEST(BlockStrips, BricksAreDrawnRedAndSlopesBlue) {
  ASSERT_TRUE(loadGeneratedScene("//./scene\\sky.ppm\n0 30 140 0 30 0\n0 0 0 0 -1 0 \n0 \n"));
  const Picture brick = paintPaletteBand({0, 2, 2}, 0), slope = paintPaletteBand({2, 3, 2}, 0);
  auto centre = [](const Picture& p) { return p.at(stripBandWidth / 2, stripBandHeight / 2); };
  EXPECT_GT(centre(brick).r, centre(brick).b + 60);
  EXPECT_GT(centre(slope).b, centre(slope).r + 60);
  // A kind without a shape leaves the plain band rather than failing.
  const Picture empty = paintPaletteBand({231, 0, 0}, 0);
  for (int y = 0; y < stripBandHeight; y += 7)
    for (int x = 0; x < stripBandWidth; x += 5) EXPECT_TRUE(isBackground(empty.at(x, y)));
}

TEST(BlockView, DrawsBlocksOverTheBackgroundAndRefusesImpossibleSizes) {
  ASSERT_TRUE(loadGeneratedScene("//./scene\\sky.ppm\n0 30 140 0 30 0\n0 0 0 0 -1 0 \n0 \n"));
  BlockDescription d;
  d.kind = 0, d.studsX = 2, d.studsZ = 2, d.height = 1, d.colour = {0, 1, 0, 1};
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  World world;
  std::unique_ptr<Block> block = createBlock(world, d);
  OrbitCamera camera;
  camera.target = {0, 0, 0};
  camera.distance = 40;
  const Picture sky(8, 8, {10, 20, 200});
  const BlockRendering view = renderBlocks({block.get()}, camera, {0, -0.1f, 0.99f}, 120, 90, sky);
  ASSERT_EQ(view.picture.width, 120);
  EXPECT_TRUE(view.covered[45 * 120 + 60]);
  EXPECT_GT(view.picture.at(60, 45).g, 100);
  EXPECT_FALSE(view.covered[0]);
  EXPECT_GT(view.picture.at(0, 0).b, 180);  // the stretched background around the block
  const BlockRendering none = renderBlocks({}, camera, {0, -1, 0}, 0, 90, sky);
  EXPECT_EQ(none.picture.width, 0);
  const BlockRendering huge = renderBlocks({block.get()}, camera, {0, -1, 0}, 5000, 10, sky);
  for (uint8_t c : huge.covered) ASSERT_EQ(c, 0);
  destroyBlock(world, *block);
}
