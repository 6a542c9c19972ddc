// Display surfaces: fills, copies clipped at every edge, colour keys, stretching, locks and the lost state.
#include <gtest/gtest.h>

#include "platform/display.h"

namespace {

std::unique_ptr<DisplaySurface> colourSurface(int w, int h, uint16_t fill = 0) {
  std::unique_ptr<DisplaySurface> s;
  EXPECT_EQ(createSurface(kSurfaceOffscreen, w, h, s), kResultOk);
  surfaceFill(*s, nullptr, fill);
  return s;
}

}  // namespace

TEST(DisplaySurface, CreationRefusesImpossibleSizes) {
  std::unique_ptr<DisplaySurface> s;
  EXPECT_EQ(createSurface(kSurfaceOffscreen, 0, 10, s), kErrorInvalidParams);
  EXPECT_EQ(createSurface(kSurfaceOffscreen, 10, -1, s), kErrorInvalidParams);
  EXPECT_EQ(createSurface(kSurfaceOffscreen, 100000, 100000, s), kErrorInvalidParams);
  EXPECT_EQ(s, nullptr);
  ASSERT_EQ(createSurface(kSurfaceDepth, 7, 5, s), kResultOk);
  SurfaceDesc desc;
  surfaceDescription(*s, desc);
  EXPECT_EQ(desc.width, 7);
  EXPECT_EQ(desc.zBufferBits, 32);
}

TEST(DisplaySurface, CopiesAreClippedToBothSurfaces) {
  auto source = colourSurface(10, 10, 0x1234);
  auto target = colourSurface(8, 8, 0);
  // The rectangle starts two pixels before the source: source (0, 0) lands at (2, 2).
  Rect all{-2, -2, 20, 20};
  EXPECT_EQ(surfaceBltFast(*target, 0, 0, *source, &all, kCopyPlain), kResultOk);
  EXPECT_EQ(target->own.at(1, 1), 0);
  EXPECT_EQ(target->own.at(2, 2), 0x1234);
  EXPECT_EQ(target->own.at(7, 7), 0x1234);
  // Placed wholly past the target's end: nothing lands.
  auto fresh = colourSurface(8, 8, 0);
  Rect before{-5, -5, 20, 20};
  EXPECT_EQ(surfaceBltFast(*fresh, 4, 4, *source, &before, 0), kResultOk);
  EXPECT_EQ(fresh->own.at(7, 7), 0);
  Rect inverted{5, 5, 2, 2};
  EXPECT_EQ(surfaceBltFast(*target, 0, 0, *source, &inverted, 0), kResultOk);
  EXPECT_EQ(target->own.at(0, 0), 0);
  EXPECT_EQ(surfaceBltFast(*target, 100, 100, *source, nullptr, 0), kResultOk);
}

TEST(DisplaySurface, OverlappingCopyWithinOneSurfaceKeepsTheSourceRows) {
  auto s = colourSurface(4, 6, 0);
  for (int y = 0; y < 6; ++y) {
    const Rect row{0, y, 4, y + 1};
    surfaceFill(*s, &row, static_cast<uint16_t>(y + 1));
  }
  Rect rows{0, 0, 4, 4};
  ASSERT_EQ(surfaceBltFast(*s, 0, 2, *s, &rows, 0), kResultOk);
  for (int y = 2; y < 6; ++y) EXPECT_EQ(s->own.at(1, y), y - 1);
}

TEST(DisplaySurface, ColourKeyedCopySkipsKeyPixels) {
  auto source = colourSurface(4, 1, 0);
  source->own.pixels = {0xF81F, 0x0001, 0xF81F, 0x0002};
  auto target = colourSurface(4, 1, 0x7777);
  EXPECT_EQ(surfaceBltFast(*target, 0, 0, *source, nullptr, kCopySourceColourKey), kErrorNoColourKey);
  surfaceSetColourKey(*source, kColourKeySource, 0xF81F, 0xF81F);
  ASSERT_EQ(surfaceBltFast(*target, 0, 0, *source, nullptr, kCopySourceColourKey), kResultOk);
  EXPECT_EQ(target->own.pixels, (std::vector<uint16_t>{0x7777, 0x0001, 0x7777, 0x0002}));
}

TEST(DisplaySurface, StretchingCopyTakesTheNearestPixel) {
  auto source = colourSurface(2, 2, 0);
  source->own.pixels = {1, 2, 3, 4};
  auto target = colourSurface(4, 4, 0);
  ASSERT_EQ(surfaceBlt(*target, nullptr, *source, nullptr), kResultOk);
  EXPECT_EQ(target->own.at(0, 0), 1);
  EXPECT_EQ(target->own.at(1, 1), 1);
  EXPECT_EQ(target->own.at(2, 1), 2);
  EXPECT_EQ(target->own.at(3, 3), 4);
  Rect outside{1, 1, 5, 5};
  EXPECT_EQ(surfaceBlt(*target, nullptr, *source, &outside), kErrorInvalidRect);
}

TEST(DisplaySurface, LocksAreExclusive) {
  auto s = colourSurface(4, 4, 5);
  LockedSurface locked;
  ASSERT_EQ(surfaceLock(*s, nullptr, locked), kResultOk);
  EXPECT_EQ(locked.pitchBytes, 8);
  EXPECT_EQ(*static_cast<uint16_t*>(locked.bits), 5);
  EXPECT_EQ(surfaceLock(*s, nullptr, locked), kErrorSurfaceBusy);
  EXPECT_EQ(surfaceUnlock(*s), kResultOk);
  EXPECT_EQ(surfaceUnlock(*s), kErrorNotLocked);
  Rect outside{2, 2, 9, 9};
  EXPECT_EQ(surfaceLock(*s, &outside, locked), kErrorInvalidRect);
}

TEST(DisplaySurface, DepthSurfacesCopyDepthAndRefuseColourCopies) {
  std::unique_ptr<DisplaySurface> a, b;
  createSurface(kSurfaceDepth, 4, 4, a);
  createSurface(kSurfaceDepth, 4, 4, b);
  Rect part{1, 1, 3, 3};
  surfaceFillDepth(*a, &part, 0.25f);
  ASSERT_EQ(surfaceBltFast(*b, 1, 1, *a, &part, 0), kResultOk);
  EXPECT_FLOAT_EQ(b->depth[1 * 4 + 1], 0.25f);
  EXPECT_FLOAT_EQ(b->depth[0], 1.0f);
  auto colour = colourSurface(4, 4);
  EXPECT_EQ(surfaceBltFast(*colour, 0, 0, *a, nullptr, 0), kErrorInvalidParams);
}
