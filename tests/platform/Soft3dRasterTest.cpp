// The triangle filler on its own: fill rule, shared edges, culling, depth test and interpolation.
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "platform/soft3d/Raster.h"

using namespace soft3d;

namespace {

struct Canvas {
  Surface colour;
  std::vector<float> depth;
  RasterContext context;
  Canvas(int w, int h) : colour(w, h, 0), depth(static_cast<size_t>(w) * h, 1.0f) {
    context.colour = colour.pixels.data();
    context.colourPitch = w;
    context.depth = depth.data();
    context.depthPitch = w;
    context.clip = Rect{0, 0, w, h};
    context.specular = false;
  }
  void reset() {
    std::fill(colour.pixels.begin(), colour.pixels.end(), 0);
    std::fill(depth.begin(), depth.end(), 1.0f);
  }
};

TLVertex at(float x, float y, float z = 0.5f, float grey = 255) {
  TLVertex v;
  v.sx = x;
  v.sy = y;
  v.sz = z;
  const int g = static_cast<int>(grey);
  v.colour = packColour(255, g, g, g);
  return v;
}

// Covers the triangle in both windings (culling off) and counts the pixels it sets.
int coverage(Canvas& canvas, const TLVertex& a, const TLVertex& b, const TLVertex& c, std::vector<int>& counts) {
  canvas.reset();
  canvas.context.zTest = false;
  canvas.context.cull = D3DCULL_NONE;
  fillTriangle(canvas.context, a, b, c);
  int n = 0;
  for (size_t i = 0; i < canvas.colour.pixels.size(); ++i) {
    if (canvas.colour.pixels[i]) {
      ++counts[i];
      ++n;
    }
  }
  return n;
}

}  // namespace

TEST(Soft3dRaster, PixelAlignedSquareCoversExactlyItsPixels) {
  Canvas canvas(8, 8);
  std::vector<int> counts(64, 0);
  coverage(canvas, at(2, 2), at(6, 2), at(6, 6), counts);
  coverage(canvas, at(6, 6), at(2, 6), at(2, 2), counts);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(counts[y * 8 + x], (x >= 2 && x < 6 && y >= 2 && y < 6) ? 1 : 0) << x << "," << y;
}

TEST(Soft3dRaster, RandomMeshCoversEveryPixelExactlyOnce) {
  // A jittered grid of sub-pixel vertices triangulated with random diagonals, covering the canvas.
  const int w = 64, h = 48, cells = 8;
  Canvas canvas(w, h);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> jitter(-2.9f, 2.9f);
  std::vector<TLVertex> grid;
  for (int j = 0; j <= cells; ++j) {
    for (int i = 0; i <= cells; ++i) {
      float x = i * float(w) / cells, y = j * float(h) / cells;
      if (i > 0 && i < cells) x += jitter(random);
      if (j > 0 && j < cells) y += jitter(random);
      grid.push_back(at(x, y));
    }
  }
  std::vector<int> counts(static_cast<size_t>(w) * h, 0);
  for (int j = 0; j < cells; ++j) {
    for (int i = 0; i < cells; ++i) {
      const TLVertex& a = grid[j * (cells + 1) + i];
      const TLVertex& b = grid[j * (cells + 1) + i + 1];
      const TLVertex& c = grid[(j + 1) * (cells + 1) + i + 1];
      const TLVertex& d = grid[(j + 1) * (cells + 1) + i];
      // A quad bent by the jitter must be split along the diagonal that keeps both halves unfolded.
      auto area = [](const TLVertex& p, const TLVertex& q, const TLVertex& r) {
        return (q.sx - p.sx) * (r.sy - p.sy) - (r.sx - p.sx) * (q.sy - p.sy);
      };
      const bool firstSplitWorks = area(a, b, c) > 0 && area(c, d, a) > 0;
      const bool secondSplitWorks = area(a, b, d) > 0 && area(b, c, d) > 0;
      if (firstSplitWorks && (!secondSplitWorks || random() % 2)) {
        coverage(canvas, a, b, c, counts);
        coverage(canvas, c, d, a, counts);
      } else {
        coverage(canvas, a, b, d, counts);
        coverage(canvas, b, c, d, counts);
      }
    }
  }
  int gaps = 0, overlaps = 0;
  for (int n : counts) {
    gaps += n == 0;
    overlaps += n > 1;
  }
  EXPECT_EQ(gaps, 0);
  EXPECT_EQ(overlaps, 0);
}

TEST(Soft3dRaster, StripsNarrowerThanAPixelTileWithoutGapsAndSliversStillCountInTheExtent) {
  // Upright strips a sixteenth to a pixel wide, many lying wholly between two columns' centres and some
  // with an edge exactly on a centre; every pixel must still be drawn exactly once.
  const int w = 24, h = 10;
  Canvas canvas(w, h);
  std::mt19937 random(11);
  std::vector<int> counts(static_cast<size_t>(w) * h, 0);
  // Each boundary may lean a sixteenth (its top shifted right), the outermost ones stand upright.
  std::vector<float> top{0}, bottom{0};
  while (bottom.back() < w) {
    const float x = bottom.back() + (1 + random() % 16) / 16.0f, lean = (random() % 2) / 16.0f;
    top.push_back(x >= w ? w : x + lean);
    bottom.push_back(std::min<float>(x, w));
  }
  for (size_t k = 0; k + 1 < top.size(); ++k) {
    const TLVertex a = at(top[k], 0), b = at(top[k + 1], 0), c = at(bottom[k + 1], h), d = at(bottom[k], h);
    coverage(canvas, a, b, c, counts);
    coverage(canvas, c, d, a, counts);
  }
  for (size_t i = 0; i < counts.size(); ++i) ASSERT_EQ(counts[i], 1) << "pixel " << i % w << ", " << i / w;

  // Between the centres of columns 2 and 3: nothing drawn, yet the rows it spans count as touched.
  canvas.context.extent = Rect{2048, 2048, 0, 0};
  canvas.context.drewAny = false;
  EXPECT_EQ(coverage(canvas, at(2.55f, 1), at(3.45f, 1), at(3.0f, 6), counts), 0);
  EXPECT_TRUE(canvas.context.drewAny);
  EXPECT_EQ(canvas.context.extent.left, 2);
  EXPECT_EQ(canvas.context.extent.right, 4);
  EXPECT_EQ(canvas.context.extent.top, 1);
  EXPECT_EQ(canvas.context.extent.bottom, 6);
}

TEST(Soft3dRaster, NarrowTrianglesCoverTheSamePixelsFromEdgeFunctionsAsByWalkingTheirEdges) {
  // Random small triangles in both windings, on a sixteenth grid so that many vertices, edges and corners
  // fall exactly on pixel centres, some cut by the clip or a band of rows: colour and
  // depth must be the same bits whichever way they are filled.
  const int w = 40, h = 30;
  Canvas fromEdges(w, h), walked(w, h);
  walked.context.narrowColumns = 0;
  std::mt19937 random(5);
  auto coordinate = [&](int limit) {
    // Whole and half pixels (corners and centres) half the time, any sixteenth otherwise.
    const int sixteenths = static_cast<int>(random() % (16 * limit));
    return (random() % 2 ? sixteenths & ~7 : sixteenths) / 16.0f - 2;
  };
  int changed = 0;
  for (int k = 0; k < 4000; ++k) {
    if (k % 100 == 0) {
      fromEdges.reset();
      walked.reset();
    }
    const std::vector<uint16_t> before = fromEdges.colour.pixels;
    const float x = coordinate(w), y = coordinate(h), spread = 1.0f + random() % 9, tall = 1.0f + random() % 20;
    TLVertex v[3];
    for (TLVertex& p : v) {
      p = at(x + std::fmod(coordinate(w), spread), y + std::fmod(coordinate(h), tall), (random() % 1000) / 1000.0f,
             static_cast<float>(random() % 256));
      p.colour = packColour(255, random() % 256, random() % 256, random() % 256);
    }
    for (Canvas* canvas : {&fromEdges, &walked}) {
      RasterContext& c = canvas->context;
      c.cull = D3DCULL_NONE;
      // A band of rows, as a thread of a shared frame fills, starts triangles part-way down.
      c.clip = k % 5 == 0 ? Rect{3, 2, w - 5, h - 4} : k % 7 == 0 ? Rect{0, k % (h - 5), w, k % (h - 5) + 5} : Rect{0, 0, w, h};
      fillTriangle(c, v[0], v[1], v[2]);
    }
    changed += fromEdges.colour.pixels != before;
    ASSERT_EQ(fromEdges.colour.pixels, walked.colour.pixels) << "triangle " << k;
    ASSERT_EQ(fromEdges.depth, walked.depth) << "triangle " << k;
    ASSERT_EQ(fromEdges.context.extent, walked.context.extent) << "triangle " << k;
  }
  EXPECT_GT(changed, 2000);

  // Huge triangles seen through a clip a few columns wide: their edge functions there would not fit in
  // 32 bits, so they must be walked.
  for (int k = 0; k < 200; ++k) {
    const float left = -6000.0f - random() % 1000, right = 6000.0f + random() % 1000;
    const TLVertex a = at(left, -4000.0f + random() % 100), b = at(right, 10.0f + random() % 10),
                   c = at(left + random() % 3000, 4000.0f + random() % 100);
    for (Canvas* canvas : {&fromEdges, &walked}) {
      canvas->reset();
      canvas->context.clip = Rect{16, 0, 16 + 1 + k % 8, h};
      fillTriangle(canvas->context, a, b, c);
    }
    ASSERT_EQ(fromEdges.colour.pixels, walked.colour.pixels) << "wide triangle " << k;
  }
  EXPECT_NE(fromEdges.colour.at(16, h / 2), 0);
}

TEST(Soft3dRaster, FanAroundAPointSharesEdgesWithoutGapsOrOverlaps) {
  Canvas canvas(40, 40);
  std::vector<int> counts(1600, 0);
  const TLVertex centre = at(20.3f, 19.7f);
  const int spokes = 13;
  std::vector<TLVertex> rim;
  for (int i = 0; i < spokes; ++i) {
    const float angle = 6.2831853f * i / spokes;
    rim.push_back(at(20.3f + 15.5f * std::cos(angle), 19.7f + 15.5f * std::sin(angle)));
  }
  int total = 0;
  for (int i = 0; i < spokes; ++i) total += coverage(canvas, centre, rim[i], rim[(i + 1) % spokes], counts);
  int distinct = 0;
  for (int n : counts) {
    EXPECT_LE(n, 1);
    distinct += n > 0;
  }
  EXPECT_EQ(total, distinct);
  EXPECT_EQ(counts[20 * 40 + 20], 1);  // the centre itself
}

TEST(Soft3dRaster, CounterClockwiseTrianglesAreCulledByDefault) {
  Canvas canvas(16, 16);
  canvas.context.cull = D3DCULL_CCW;
  // Clockwise on the screen (y runs down): drawn.
  fillTriangle(canvas.context, at(2, 2), at(12, 2), at(2, 12));
  EXPECT_NE(canvas.colour.at(4, 4), 0);
  canvas.reset();
  fillTriangle(canvas.context, at(2, 2), at(2, 12), at(12, 2));
  EXPECT_EQ(canvas.colour.at(4, 4), 0);
  canvas.context.cull = D3DCULL_CW;
  fillTriangle(canvas.context, at(2, 2), at(2, 12), at(12, 2));
  EXPECT_NE(canvas.colour.at(4, 4), 0);
}

TEST(Soft3dRaster, WindingOfNearlyFlatTrianglesFarAcrossTheScreenIsExact) {
  // In sixteenths of a pixel the far corners are (65537, 65536) and (65536, 65535): twice the area is
  // 65537 * 65535 - 65536 * 65536 = -1, which a float product would round to nothing. Such a sliver
  // draws no pixel, but one that is not culled still counts as touching the rows it crosses.
  auto touches = [](uint32_t cull, const TLVertex& a, const TLVertex& b, const TLVertex& c) {
    Canvas canvas(8, 8);
    canvas.context.cull = cull;
    fillTriangle(canvas.context, a, b, c);
    return canvas.context.drewAny;
  };
  const TLVertex origin = at(0, 0), steep = at(4096.0625f, 4096), flat = at(4096, 4095.9375f);
  EXPECT_FALSE(touches(D3DCULL_CCW, origin, steep, flat));
  EXPECT_TRUE(touches(D3DCULL_CCW, origin, flat, steep));
  EXPECT_TRUE(touches(D3DCULL_CW, origin, steep, flat));
  EXPECT_FALSE(touches(D3DCULL_CW, origin, flat, steep));
  // Exactly in line: nothing either way round.
  EXPECT_FALSE(touches(D3DCULL_NONE, origin, at(4096, 4096), at(2048, 2048)));
  EXPECT_FALSE(touches(D3DCULL_NONE, origin, at(2048, 2048), at(4096, 4096)));
}

TEST(Soft3dRaster, DepthTestKeepsTheNearerSurfaceInEitherOrder) {
  Canvas canvas(16, 16);
  for (int order = 0; order < 2; ++order) {
    canvas.reset();
    const TLVertex nearA = at(0, 0, 0.3f, 255), nearB = at(16, 0, 0.3f, 255), nearC = at(0, 16, 0.3f, 255);
    TLVertex farA = at(0, 0, 0.6f, 0), farB = at(16, 0, 0.6f, 0), farC = at(0, 16, 0.6f, 0);
    farA.colour = farB.colour = farC.colour = packColour(255, 0, 0, 255);
    if (order == 0) {
      fillTriangle(canvas.context, nearA, nearB, nearC);
      fillTriangle(canvas.context, farA, farB, farC);
    } else {
      fillTriangle(canvas.context, farA, farB, farC);
      fillTriangle(canvas.context, nearA, nearB, nearC);
    }
    EXPECT_EQ(canvas.colour.at(3, 3), rgb565(255, 255, 255)) << "order " << order;
    EXPECT_FLOAT_EQ(canvas.depth[3 * 16 + 3], 0.3f);
  }
  // Equal depth passes (less-or-equal): a second surface at the same depth draws over the first.
  TLVertex a = at(0, 0, 0.3f, 0), b = at(16, 0, 0.3f, 0), c = at(0, 16, 0.3f, 0);
  a.colour = b.colour = c.colour = packColour(255, 0, 255, 0);
  fillTriangle(canvas.context, a, b, c);
  EXPECT_EQ(canvas.colour.at(3, 3), rgb565(0, 255, 0));
}

TEST(Soft3dRaster, GouraudColoursInterpolateAcrossTheTriangle) {
  Canvas canvas(101, 4);
  TLVertex a = at(0, 0, 0.5f, 0), b = at(101, 0, 0.5f, 255), c = at(101, 4, 0.5f, 255), d = at(0, 4, 0.5f, 0);
  fillTriangle(canvas.context, a, b, c);
  fillTriangle(canvas.context, c, d, a);
  // Pixel x is sampled at its centre: grey = 255 * (x + 0.5) / 101.
  for (int x : {0, 25, 50, 75, 100}) {
    const int expected = static_cast<int>(255 * (x + 0.5f) / 101);
    EXPECT_NEAR(red565(canvas.colour.at(x, 1)), expected, 9) << x;
  }
}

TEST(Soft3dRaster, ScissorKeepsEveryPixelInsideTheClip) {
  Canvas canvas(32, 32);
  canvas.context.clip = Rect{8, 8, 24, 24};
  fillTriangle(canvas.context, at(-100, -100), at(200, -90), at(-90, 200));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) EXPECT_EQ(canvas.colour.at(x, y) != 0, canvas.context.clip.contains(x, y)) << x << "," << y;
  EXPECT_EQ(canvas.context.extent, (Rect{8, 8, 24, 24}));
}

TEST(Soft3dRaster, TexturesModulateWithNearestTexels) {
  Canvas canvas(8, 8);
  TextureImage texture;
  texture.width = 2;
  texture.height = 2;
  texture.texels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  canvas.context.texture = &texture;
  TLVertex a = at(0, 0), b = at(8, 0), c = at(8, 8), d = at(0, 8);
  b.u = c.u = 1;
  c.v = d.v = 1;
  fillTriangle(canvas.context, a, b, c);
  fillTriangle(canvas.context, c, d, a);
  EXPECT_EQ(canvas.colour.at(1, 1), rgb565(255, 0, 0));
  EXPECT_EQ(canvas.colour.at(6, 1), rgb565(0, 255, 0));
  EXPECT_EQ(canvas.colour.at(1, 6), rgb565(0, 0, 255));
  EXPECT_EQ(canvas.colour.at(6, 6), rgb565(255, 255, 255));
}

TEST(Soft3dRaster, ColoursFollowTheirPlanesIntoEveryCornerAndHighlightsClampAtFull) {
  // Random triangles on the 1/16 grid whose corners are fully on or off in red and blue independently:
  // every covered pixel must show the exact interpolation at its centre, give or take the 5-bit steps,
  // however near a corner it lies (a colour a hair below zero must stay black, not wrap round).
  Canvas canvas(64, 64);
  canvas.context.zTest = false;
  canvas.context.cull = D3DCULL_NONE;
  std::mt19937 random(11);
  int checked = 0;
  for (int n = 0; n < 300; ++n) {
    double x[3], y[3], red[3], blue[3];
    TLVertex v[3];
    for (int i = 0; i < 3; ++i) {
      x[i] = static_cast<int>(random() % 1024) / 16.0;
      y[i] = static_cast<int>(random() % 1024) / 16.0;
      red[i] = random() % 2 ? 255 : 0;
      blue[i] = random() % 2 ? 255 : 0;
      v[i] = at(static_cast<float>(x[i]), static_cast<float>(y[i]));
      v[i].colour = packColour(255, static_cast<int>(red[i]), 128, static_cast<int>(blue[i]));
    }
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (std::abs(area) < 40) continue;  // slivers: their steep planes are not what is checked here
    canvas.reset();
    fillTriangle(canvas.context, v[0], v[1], v[2]);
    for (int py = 0; py < 64; ++py)
      for (int px = 0; px < 64; ++px) {
        const uint16_t pixel = canvas.colour.at(px, py);
        if (!pixel) continue;
        const double cx = px + 0.5, cy = py + 0.5;
        const double w1 = ((cx - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (cy - y[0])) / area;
        const double w2 = ((x[1] - x[0]) * (cy - y[0]) - (cx - x[0]) * (y[1] - y[0])) / area;
        const double w0 = 1 - w1 - w2;
        EXPECT_NEAR(red565(pixel), w0 * red[0] + w1 * red[1] + w2 * red[2], 10) << n << " at " << px << "," << py;
        EXPECT_NEAR(blue565(pixel), w0 * blue[0] + w1 * blue[1] + w2 * blue[2], 10) << n << " at " << px << "," << py;
        ++checked;
      }
  }
  EXPECT_GT(checked, 10000);

  // With the highlight added, channels that overflow stop at full and the others add up.
  canvas.reset();
  canvas.context.specular = true;
  TLVertex a = at(0, 0), b = at(64, 0), c = at(0, 64);
  a.colour = b.colour = c.colour = packColour(255, 200, 100, 0);
  a.specular = b.specular = c.specular = packColour(0, 100, 100, 100);
  fillTriangle(canvas.context, a, b, c);
  EXPECT_EQ(canvas.colour.at(10, 10), rgb565(255, 200, 100));
  EXPECT_EQ(canvas.colour.at(60, 2), rgb565(255, 200, 100));
}
