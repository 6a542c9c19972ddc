// Presentation: merging dirty rectangles, the list limits, clears and shows before start-up and while
// paused, partial presentation and restoring lost surfaces.
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

TEST(MergeDirtyRects, EmptyPreviousRectangleIsIgnored) {
  EXPECT_EQ(asVector(MergeDirtyRects(list({{0, 0, 0, 0}}), list({{10, 10, 20, 20}}))), (std::vector<Rect>{{10, 10, 20, 20}}));
}

TEST(MergeDirtyRects, TouchingRectanglesMerge) {
  EXPECT_EQ(asVector(MergeDirtyRects(list({{0, 0, 10, 10}}), list({{10, 0, 20, 10}}))), (std::vector<Rect>{{0, 0, 20, 10}}));
}

TEST(MergeDirtyRects, ChainsMergeThroughRestartsAndSeparateOnesStay) {
  // (0,0,5,5) and (20,0,25,5) only meet through the later (4,0,21,2); (100,100,110,110) stays apart.
  const RectList merged = MergeDirtyRects(list({{0, 0, 5, 5}, {20, 0, 25, 5}}), list({{100, 100, 110, 110}, {4, 0, 21, 2}}));
  EXPECT_EQ(asVector(merged), (std::vector<Rect>{{0, 0, 25, 5}, {100, 100, 110, 110}}));
}

TEST(MergeDirtyRects, ThirtyStaySeparateAndThirtyOneCollapseToTheirBoundingBox) {
  RectList thirty, one;
  for (int i = 0; i < 30; ++i) thirty.rects[thirty.count++] = Rect{i * 10, 0, i * 10 + 5, 5};
  EXPECT_EQ(MergeDirtyRects(RectList{}, thirty).count, 30);
  one.rects[one.count++] = Rect{400, 50, 405, 60};
  const RectList merged = MergeDirtyRects(thirty, one);
  ASSERT_EQ(merged.count, 1);
  EXPECT_EQ(merged.rects[0], (Rect{0, 0, 405, 60}));
}

TEST(MergeDirtyRects, InvertedRectanglesOfEitherListAreDropped) {
  const RectList merged = MergeDirtyRects(list({{5, 5, 2, 9}}), list({{7, 7, 3, 3}, {1, 1, 4, 4}}));
  EXPECT_EQ(asVector(merged), (std::vector<Rect>{{1, 1, 4, 4}}));
}

TEST(Presentation, RefusesClearAndShowBeforeStartUp) {
  D3DAppShutDown();
  EXPECT_FALSE(D3DAppClearBackBuffer(0));
  EXPECT_EQ(D3DAppLastErrorText(), "Cannot call D3DAppClearBackBuffer while bRenderingIsOK is FALSE.\n\r\n");
  EXPECT_FALSE(D3DAppShowBackBuffer(0));
  EXPECT_EQ(D3DAppLastErrorText(), "Cannot call D3DAppShowBackBuffer while bRenderingIsOK is FALSE.\n\r\n");
}

TEST(Presentation, ThirtyOneDirtyRectanglesFailAndChangeNothing) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  const Rect one{1, 2, 3, 4};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &one, 0));
  Rect many[31];
  for (int i = 0; i < 31; ++i) many[i] = Rect{i, i, i + 1, i + 1};
  EXPECT_FALSE(D3DAppSetDirtyRects(31, many, 0));
  EXPECT_EQ(D3DAppLastErrorText(), "The number of clear rectangles exceeded D3DAPP_MAXCLEARRECTS.\r\n");
  EXPECT_EQ(renderDevice.frameRects.count, 1);
  EXPECT_EQ(renderDevice.frameRects.rects[0], one);
  EXPECT_EQ(renderDevice.zClearRects.count, 1);
  EXPECT_TRUE(D3DAppSetDirtyRects(30, many, 0));
}

TEST(Presentation, ShowPresentsOnlyTheMergedRectangles) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  ASSERT_TRUE(D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW));  // the start: everything black
  surfaceFill(*renderDevice.backBuffer, nullptr, 0xFFFF);
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &drawn, 0));
  // The previous show presented the whole window, so this one presents it again; the next only the rectangle.
  ASSERT_TRUE(D3DAppShowBackBuffer(0));
  EXPECT_EQ(windowSurface(view.window).at(150, 80), 0xFFFF);
  surfaceFill(*renderDevice.backBuffer, nullptr, 0x001F);
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &drawn, 0));
  ASSERT_TRUE(D3DAppShowBackBuffer(0));
  EXPECT_EQ(windowSurface(view.window).at(15, 15), 0x001F);
  EXPECT_EQ(windowSurface(view.window).at(150, 80), 0xFFFF);
  EXPECT_EQ(renderDevice.lastShownRects.count, 1);
  EXPECT_EQ(renderDevice.lastShownRects.rects[0], drawn);
}

TEST(Presentation, ShowWhilePausedDoesNothingAndUnpauseShowsTheWholeWindow) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &drawn, 0));
  ASSERT_TRUE(D3DAppShowBackBuffer(0));
  const RectList shown = renderDevice.lastShownRects;
  ASSERT_TRUE(D3DAppPauseDisplay(true));
  surfaceFill(*renderDevice.backBuffer, nullptr, 0x07E0);
  const Rect other{50, 50, 60, 60};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &other, 0));
  EXPECT_TRUE(D3DAppShowBackBuffer(0));
  EXPECT_EQ(windowSurface(view.window).at(55, 55), 0);
  EXPECT_EQ(asVector(renderDevice.lastShownRects), asVector(shown));
  ASSERT_TRUE(D3DAppPauseDisplay(false));
  EXPECT_EQ(asVector(renderDevice.frameRects), (std::vector<Rect>{{0, 0, 200, 100}}));
  ASSERT_TRUE(D3DAppShowBackBuffer(0));
  EXPECT_EQ(windowSurface(view.window).at(190, 90), 0x07E0);
}

TEST(Presentation, ClearsOnlyTheFramesRectanglesToTheSky) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  surfaceFill(*renderDevice.backBuffer, nullptr, 0x1111);
  surfaceFillDepth(*renderDevice.zBuffer, nullptr, 0.5f);
  const Rect part{20, 20, 40, 40};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &part, 0));
  ASSERT_TRUE(D3DAppClearBackBuffer(0));
  EXPECT_EQ(renderDevice.backBuffer->own.at(25, 25), view.skyColour);
  EXPECT_EQ(renderDevice.backBuffer->own.at(10, 10), 0x1111);
  EXPECT_FLOAT_EQ(renderDevice.zBuffer->depth[25 * 200 + 25], 1.0f);
  EXPECT_FLOAT_EQ(renderDevice.zBuffer->depth[10 * 200 + 10], 0.5f);
  ASSERT_TRUE(D3DAppClearBackBuffer(D3DAPP_WHOLEWINDOW));
  EXPECT_EQ(renderDevice.backBuffer->own.at(10, 10), view.skyColour);
}

TEST(Presentation, RestoreBringsBackLostSurfacesClearedAndReloadsLostTextures) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  surfaceFill(*renderDevice.backupBuffer, nullptr, 0x2222);
  surfaceForceLoss(*renderDevice.backBuffer);
  surfaceForceLoss(*renderDevice.textures.entries[0].surface);
  ASSERT_TRUE(D3DAppRestoreSurfaces());
  EXPECT_EQ(surfaceIsLost(*renderDevice.backBuffer), DD_OK);
  EXPECT_EQ(renderDevice.backBuffer->own.at(5, 5), 0);   // cleared, not the lost memory's pattern
  EXPECT_EQ(renderDevice.backupBuffer->own.at(5, 5), 0);  // every colour buffer is cleared
  EXPECT_EQ(surfaceIsLost(*renderDevice.textures.entries[0].surface), DD_OK);
  EXPECT_EQ(renderDevice.textures.entries[0].surface->own.at(0, 0), view.skyColour);
  ASSERT_TRUE(D3DAppClearBackBuffer(D3DAPP_WHOLEWINDOW));
  EXPECT_EQ(renderDevice.backBuffer->own.at(5, 5), view.skyColour);
}

TEST(Presentation, LostBackBufferMetWhileShowingIsRestoredOnTheSpot) {
  RenderTestView view(200, 100);
  ASSERT_TRUE(view.started);
  surfaceForceLoss(*renderDevice.backBuffer);
  EXPECT_TRUE(D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW));
  EXPECT_EQ(surfaceIsLost(*renderDevice.backBuffer), DD_OK);
  EXPECT_EQ(renderDevice.backBuffer->own.at(5, 5), 0);
}

TEST(Presentation, ShowAfterTheViewWindowWasDestroyedTouchesNothing) {
  RenderTestView view(120, 80);
  ASSERT_TRUE(view.started);
  destroyWindow(view.window);
  view.window = nullptr;
  const Rect drawn{10, 10, 30, 20};
  ASSERT_TRUE(D3DAppSetDirtyRects(1, &drawn, 0));
  EXPECT_TRUE(D3DAppShowBackBuffer(0));
  EXPECT_TRUE(D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW));
}

TEST(Presentation, RestoreAfterTheViewWindowWasDestroyedLeavesItsPixelsAlone) {
  RenderTestView view(120, 80);
  ASSERT_TRUE(view.started);
  destroyWindow(view.window);
  view.window = nullptr;
  surfaceForceLoss(*renderDevice.backBuffer);
  EXPECT_TRUE(D3DAppRestoreSurfaces());
  EXPECT_EQ(renderDevice.backBuffer->own.at(3, 3), 0);
}
