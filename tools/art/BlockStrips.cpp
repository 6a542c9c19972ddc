// Block-picture strips: each block is drawn large by the software 3D device, trimmed to what it covers,
// reduced into its band with its covered area as the edge's softness, and laid over the band's gradient.
#include "tools/art/BlockStrips.h"

#include <algorithm>
#include <cmath>

#include "scene/Block.h"
#include "tools/art/BlockScene.h"
#include "tools/art/BlockView.h"

std::vector<PaletteEntry> brickPalette() {
  return {{0, 2, 2}, {0, 3, 2}, {0, 4, 2}, {0, 6, 2}, {0, 8, 2}, {0, 10, 1}, {0, 6, 1}, {0, 4, 1},
          {0, 3, 1}, {0, 2, 1}, {0, 1, 1}, {2, 3, 2}, {2, 3, 3}, {2, 3, 4},  {2, 3, 6}, {2, 3, 8},
          {2, 2, 8}, {2, 2, 6}, {2, 2, 4}, {2, 2, 3}, {2, 2, 2}, {2, 2, 1}};
}

std::vector<PaletteEntry> shapePalette(int page) {
  std::vector<int> kinds;
  if (page == 1) {
    kinds = {3, 4, 5, 6, 7, 23, 8, 9, 10, 11, 12, 13, 24, 14, 25, 15, 16, 17, 18, 19, 20};
    for (int k = 29; k <= 44; ++k) kinds.push_back(k);
  } else {
    kinds = {26, 27, 21, 22, 28};
    for (int k = 45; k <= 78; ++k) kinds.push_back(k);
  }
  std::vector<PaletteEntry> out;
  for (int k : kinds) out.push_back({k, 0, 0});
  return out;
}

namespace {

// Bright toy colours for the shapes, in turn; bricks are red, slopes blue, the aeroplane red.
BlockColour entryColour(const PaletteEntry& entry, int index) {
  using namespace blockColours;
  if (entry.kind == Brick || entry.kind == kAeroplaneKind) return red;
  if (entry.kind == SlopeBrick) return blue;
  const BlockColour cycle[] = {yellow, green, orange, blue, red, purple, sky, pink};
  return cycle[index % 8];
}

constexpr int renderSide = 360;
constexpr int bandMargin = 5;

Picture bandBackground() {
  // The same cream-to-blue-white gradient the side panel has behind the strips.
  Picture band(stripBandWidth, stripBandHeight);
  const Rgb top{255, 246, 220}, bottom{230, 236, 250};
  for (int y = 0; y < stripBandHeight; ++y) {
    const double t = double(y) / double(stripBandHeight - 1);
    const Rgb c{uint8_t(std::lround(top.r + (bottom.r - top.r) * t)),
                uint8_t(std::lround(top.g + (bottom.g - top.g) * t)),
                uint8_t(std::lround(top.b + (bottom.b - top.b) * t))};
    for (int x = 0; x < stripBandWidth; ++x) band.set(x, y, c);
  }
  return band;
}

}  // namespace

Picture paintPaletteBand(const PaletteEntry& entry, int index) {
  Picture band = bandBackground();
  BlockDescription d;
  d.kind = entry.kind;
  d.studsX = entry.studsX;
  d.studsZ = entry.studsZ;
  d.height = isShapeKind(entry.kind) ? 0 : 1;
  d.colour = entryColour(entry, index);
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  std::unique_ptr<Block> block = createBlock(blockWorld(), d);
  if (!block || block->vertices.empty()) {
    if (block) destroyBlock(blockWorld(), *block);
    return band;
  }
  // Seen from the front left and above, far enough away for the whole block to fit the view.
  OrbitCamera camera;
  camera.azimuth = 225;
  camera.polar = 55;
  const Vec3 low = block->outerMin, high = block->outerMax;
  camera.target = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
  const float radius = 0.5f * std::sqrt((high.x - low.x) * (high.x - low.x) + (high.y - low.y) * (high.y - low.y) +
                                        (high.z - low.z) * (high.z - low.z));
  camera.distance = radius / 0.3f + 1;
  const BlockRendering view =
      renderBlocks({block.get()}, camera, Vec3{0.0f, -0.099504f, 0.995037f}, renderSide, renderSide, Picture());
  destroyBlock(blockWorld(), *block);
  int x0 = renderSide, y0 = renderSide, x1 = -1, y1 = -1;
  for (int y = 0; y < renderSide; ++y)
    for (int x = 0; x < renderSide; ++x)
      if (view.covered[size_t(y) * renderSide + size_t(x)]) {
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  if (x1 < x0) return band;
  const int w = x1 - x0 + 1, h = y1 - y0 + 1;
  const double scale =
      std::min(double(stripBandWidth - 2 * bandMargin) / w, double(stripBandHeight - 2 * bandMargin) / h);
  const int outW = std::max(1, int(std::lround(w * scale))), outH = std::max(1, int(std::lround(h * scale)));
  Picture mask(renderSide, renderSide);
  for (int y = 0; y < renderSide; ++y)
    for (int x = 0; x < renderSide; ++x)
      if (view.covered[size_t(y) * renderSide + size_t(x)]) mask.set(x, y, {255, 255, 255});
  const Picture colour = resizePicture(cropPicture(view.picture, x0, y0, w, h), outW, outH);
  const Picture alpha = resizePicture(cropPicture(mask, x0, y0, w, h), outW, outH);
  const int left = (stripBandWidth - outW) / 2, top = (stripBandHeight - outH) / 2;
  for (int y = 0; y < outH; ++y)
    for (int x = 0; x < outW; ++x) {
      const double a = alpha.at(x, y).r / 255.0;
      if (a <= 0) continue;
      // The colour was averaged together with the black behind the block: undo that before blending.
      const Rgb c = colour.at(x, y), under = band.at(left + x, top + y);
      auto mixChannel = [a](uint8_t pre, uint8_t back) {
        return uint8_t(std::clamp(std::lround(pre + back * (1 - a)), 0L, 255L));
      };
      band.set(left + x, top + y, {mixChannel(c.r, under.r), mixChannel(c.g, under.g), mixChannel(c.b, under.b)});
    }
  return band;
}

void makeBlockStrips(OutputList& out) {
  const std::vector<PaletteEntry> pages[3] = {brickPalette(), shapePalette(1), shapePalette(2)};
  const char* names[3] = {"bmp/blocks01.bmp", "bmp/blocks02.bmp", "bmp/blocks03.bmp"};
  for (int p = 0; p < 3; ++p) {
    Picture strip(stripBandWidth, stripBandHeight * int(pages[p].size()));
    for (size_t i = 0; i < pages[p].size(); ++i) {
      const Picture band = paintPaletteBand(pages[p][i], int(i));
      for (int y = 0; y < stripBandHeight; ++y)
        for (int x = 0; x < stripBandWidth; ++x) strip.set(x, int(i) * stripBandHeight + y, band.at(x, y));
    }
    out.push_back({names[p], encodeBmp(strip)});
  }
}
