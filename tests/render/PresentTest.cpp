// Presentation: merging dirty rectangles, the list limits, clears and shows refused outside a started view,
// presentation and the whole-window show after a reported failure.
#include <gtest/gtest.h>

#include "RenderTestView.h"
#include "render/RenderDevice.h"

namespace {

RectList list(std::initializer_list<Rect> rects) {
  RectList l;
  for (const Rect& r : rects) l.rects[l.count++] = r;
  return l;
}

std::vector<Rect> asVector(const RectList& l) { return std::vector<Rect>(l.rects, l.rects + l.count); }

}  // namespace

TEST(mergeDirtyRects, EmptyPreviousRectangleIsIgnored) {
  EXPECT_EQ(asVector(mergeDirtyRects(list({{0, 0, 0, 0}}), list({{10, 10, 20, 20}}))), (std::vector<Rect>{{10, 10, 20, 20}}));
}

TEST(mergeDirtyRects, TouchingRectanglesMerge) {
  EXPECT_EQ(asVector(mergeDirtyRects(list({{0, 0, 10, 10}}), list({{10, 0, 20, 10}}))), (std::vector<Rect>{{0, 0, 20, 10}}));
}

TEST(mergeDirtyRects, ChainsMergeThroughRestartsAndSeparateOnesStay) {
  // (0,0,5,5) and (20,0,25,5) only meet through the later (4,0,21,2); (100,100,110,110) stays apart.
  const RectList merged = mergeDirtyRects(list({{0, 0, 5, 5}, {20, 0, 25, 5}}), list({{100, 100, 110, 110}, {4, 0, 21, 2}}));
  EXPECT_EQ(asVector(merged), (std::vector<Rect>{{0, 0, 25, 5}, {100, 100, 110, 110}}));
}

TEST(mergeDirtyRects, ThirtyStaySeparateAndThirtyOneCollapseToTheirBoundingBox) {
  RectList thirty, one;
  for (int i = 0; i < 30; ++i) thirty.rects[thirty.count++] = Rect{i * 10, 0, i * 10 + 5, 5};
  EXPECT_EQ(mergeDirtyRects(RectList{}, thirty).count, 30);
  one.rects[one.count++] = Rect{400, 50, 405, 60};
  const RectList merged = mergeDirtyRects(thirty, one);
  ASSERT_EQ(merged.count, 1);
  EXPECT_EQ(merged.rects[0], (Rect{0, 0, 405, 60}));
}

TEST(mergeDirtyRects, InvertedRectanglesOfEitherListAreDropped) {
  const RectList merged = mergeDirtyRects(list({{5, 5, 2, 9}}), list({{7, 7, 3, 3}, {1, 1, 4, 4}}));
  EXPECT_EQ(asVector(merged), (std::vector<Rect>{{1, 1, 4, 4}}));
}

TEST(Presentation, RefusesClearAndShowBeforeStartUpAndAfterShutDown) {
  RenderDevice d;
  EXPECT_FALSE(clearBackBuffer(d, FrameArea::DirtyRects));
  EXPECT_EQ(lastRenderErrorText(d), "Cannot call D3DAppClearBackBuffer while bRenderingIsOK is FALSE.\n\r\n");
  EXPECT_FALSE(showBackBuffer(d, FrameArea::DirtyRects));
  EXPECT_EQ(lastRenderErrorText(d), "Cannot call D3DAppShowBackBuffer while bRenderingIsOK is FALSE.\n\r\n");
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  shutDownRenderDevice(view.device);
  EXPECT_FALSE(clearBackBuffer(view.device, FrameArea::WholeWindow));
  EXPECT_FALSE(showBackBuffer(view.device, FrameArea::WholeWindow));
}

TEST(Presentation, ThirtyOneDirtyRectanglesFailAndChangeNothing) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  const Rect one{1, 2, 3, 4};
  ASSERT_TRUE(setDirtyRects(view.device, 1, &one, FrameArea::DirtyRects));
  Rect many[31];
  for (int i = 0; i < 31; ++i) many[i] = Rect{i, i, i + 1, i + 1};
  EXPECT_FALSE(setDirtyRects(view.device, 31, many, FrameArea::DirtyRects));
  EXPECT_EQ(lastRenderErrorText(view.device), "The number of clear rectangles exceeded D3DAPP_MAXCLEARRECTS.\r\n");
  EXPECT_EQ(view.device.frameRects.count, 1);
  EXPECT_EQ(view.device.frameRects.rects[0], one);
  EXPECT_EQ(view.device.zClearRects.count, 1);
  EXPECT_TRUE(setDirtyRects(view.device, 30, many, FrameArea::DirtyRects));
}

TEST(Presentation, ShowPresentsOnlyTheMergedRectangles) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::WholeWindow));  // the start: everything black
  surfaceFill(*view.device.backBuffer, nullptr, 0xFFFF);
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(setDirtyRects(view.device, 1, &drawn, FrameArea::DirtyRects));
  // The previous show presented the whole window, so this one presents it again; the next only the rectangle.
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  EXPECT_EQ(windowSurface(view.window).at(150, 80), 0xFFFF);
  surfaceFill(*view.device.backBuffer, nullptr, 0x001F);
  ASSERT_TRUE(setDirtyRects(view.device, 1, &drawn, FrameArea::DirtyRects));
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  EXPECT_EQ(windowSurface(view.window).at(15, 15), 0x001F);
  EXPECT_EQ(windowSurface(view.window).at(150, 80), 0xFFFF);
  EXPECT_EQ(view.device.lastShownRects.count, 1);
  EXPECT_EQ(view.device.lastShownRects.rects[0], drawn);
}

TEST(Presentation, AfterAReportedFailureTheNextShowPresentsTheWholeWindow) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(setDirtyRects(view.device, 1, &drawn, FrameArea::DirtyRects));
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  surfaceFill(*view.device.backBuffer, nullptr, 0x07E0);
  reportRenderFailure(view.device, "%s", "Something failed.\n");
  EXPECT_EQ(lastRenderErrorText(view.device), "Something failed.\n\r\n");
  EXPECT_EQ(asVector(view.device.frameRects), (std::vector<Rect>{{0, 0, 200, 100}}));
  EXPECT_EQ(asVector(view.device.zClearRects), (std::vector<Rect>{{0, 0, 200, 100}}));
  ASSERT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  EXPECT_EQ(windowSurface(view.window).at(190, 90), 0x07E0);
}

TEST(Presentation, ClearsOnlyTheFramesRectanglesToTheSky) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  surfaceFill(*view.device.backBuffer, nullptr, 0x1111);
  surfaceFillDepth(*view.device.zBuffer, nullptr, 0.5f);
  const Rect part{20, 20, 40, 40};
  ASSERT_TRUE(setDirtyRects(view.device, 1, &part, FrameArea::DirtyRects));
  ASSERT_TRUE(clearBackBuffer(view.device, FrameArea::DirtyRects));
  EXPECT_EQ(view.device.backBuffer->own.at(25, 25), view.skyColour);
  EXPECT_EQ(view.device.backBuffer->own.at(10, 10), 0x1111);
  EXPECT_FLOAT_EQ(view.device.zBuffer->depth[25 * 200 + 25], 1.0f);
  EXPECT_FLOAT_EQ(view.device.zBuffer->depth[10 * 200 + 10], 0.5f);
  ASSERT_TRUE(clearBackBuffer(view.device, FrameArea::WholeWindow));
  EXPECT_EQ(view.device.backBuffer->own.at(10, 10), view.skyColour);
}

TEST(Presentation, ShowAfterTheViewWindowWasDestroyedTouchesNothing) {
  RenderTestView view(120, 80);
  ASSERT_TRUE(view.started);
  destroyWindow(view.window);
  view.window = nullptr;
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(setDirtyRects(view.device, 1, &drawn, FrameArea::DirtyRects));
  EXPECT_TRUE(showBackBuffer(view.device, FrameArea::DirtyRects));
  EXPECT_TRUE(showBackBuffer(view.device, FrameArea::WholeWindow));
}
