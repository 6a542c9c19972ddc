// The renderer while blocks move: the static scene is lifted into the backup image, and each frame
// restores and presents only where the moving blocks and the selection box were and are. Also the turn
// path and the selection box during a game.
#include <gtest/gtest.h>

#include "SceneTestView.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;
constexpr uint16_t kMarker = 0xF81F;  // magenta: a presentation never paints it

bool redAt(const DisplaySurface& s, int x, int y) {
  const uint16_t p = s.pixels().at(x, y);
  return (p >> 11) > (p & 31) + 5;
}

// A plate with a red brick to move and a blue tower standing; frames drawn under the test's conditions.
struct DragView {
  SceneTestView view{kWidth, kHeight};
  SceneRenderer& r = view.renderer;
  RenderDevice& d = view.device;
  World& world = view.world;
  FrameConditions conditions;
  Block* movingBrick = nullptr;
  Block* standingBrick = nullptr;
  bool started = view.start([this](SceneTestView& v) {
    v.put(plateDescription(10, 10), NewBlockOptions{true, false});
    movingBrick = v.put(brickAt(-8, 12, -8, {1, 0, 0, 1}));
    standingBrick = v.put(brickAt(10, 12, 10, {0, 0, 1, 1}, 2, 2, 3));
    setTestCamera(v);
    return true;
  });
  bool frame() { return view.frame(conditions); }
  Vec3 topOf(const Block* b) { return view.project(Vec3{b->position.x, b->outerMax.y - 1, b->position.z}); }
};

}  // namespace

TEST(SceneRendererDrag, OnlyTheMovingBlocksRectanglesArePresented) {
  DragView v;
  ASSERT_TRUE(v.started) << lastRenderErrorText(v.d);
  ASSERT_TRUE(v.frame());
  const Vec3 oldTop = v.topOf(v.movingBrick);
  ASSERT_TRUE(redAt(*v.d.backBuffer, int(oldTop.x), int(oldTop.y)));

  // Pick the brick up: the backup image is the scene without it.
  v.conditions.holding = true;
  v.world.selectedBlock = v.movingBrick;
  listInsert(v.world.movingSet, v.movingBrick);
  liftMovingSet(v.r, v.world);
  EXPECT_FALSE(redAt(*v.d.backupBuffer, int(oldTop.x), int(oldTop.y)));
  EXPECT_EQ(v.r.frameExtent, (Rect{0, 0, kWidth, kHeight}));
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.view.lastPath, FramePath::MovingSet);
  const Rect before = v.r.lastExtent;  // brick and box

  translateBlock(*v.movingBrick, 4, 0, 0);
  v.r.screenRects[v.standingBrick->serial] = Rect{0, 0, 1, 1};  // drawing the block would overwrite this
  surfaceFill(*v.d.frontBuffer, nullptr, kMarker);
  ASSERT_TRUE(v.frame());
  const Rect after = v.r.lastExtent;
  const Rect allowed = uniteExtent(before, after);
  EXPECT_LT(allowed.width() * allowed.height(), kWidth * kHeight / 3);
  int presented = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool shown = v.d.frontBuffer->pixels().at(x, y) != kMarker;
      presented += shown;
      if (shown) {
        ASSERT_TRUE(allowed.contains(x, y)) << x << "," << y;
      }
    }
  EXPECT_GT(presented, 0);
  // The brick is drawn at its new place and the static scene came back where it was.
  const Vec3 newTop = v.topOf(v.movingBrick);
  EXPECT_TRUE(redAt(*v.d.backBuffer, int(newTop.x), int(newTop.y)));
  const Vec3 vacated =
      projectPoint(v.r, v.movingBrick->position.x - 7, v.movingBrick->outerMin.y + 0.5f, v.movingBrick->position.z);
  EXPECT_FALSE(redAt(*v.d.backBuffer, int(vacated.x), int(vacated.y)));
  // The standing brick was not drawn again.
  EXPECT_EQ(screenRectOf(v.r, *v.standingBrick), (Rect{0, 0, 1, 1}));
}

// The frame says when it took the turn path; the frame loop then clears the request.
TEST(SceneRendererDrag, TurnPathRedrawsTheSelectedBlockAndSaysSo) {
  DragView v;
  ASSERT_TRUE(v.started) << lastRenderErrorText(v.d);
  ASSERT_TRUE(v.frame());
  liftMovingSet(v.r, v.world);  // keep a backup of the finished scene
  v.world.selectedBlock = v.movingBrick;
  v.conditions.rotatePending = true;
  rotateBlock(*v.movingBrick, 90);
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.view.lastPath, FramePath::TurnOrKeyMove);
  EXPECT_EQ(v.r.frameExtent, v.r.lastExtent);
  EXPECT_TRUE(extentsOverlap(v.r.frameExtent, screenRectOf(v.r, *v.movingBrick)));
  // In a game the selection box is hidden, and so the turned block is not drawn on its own.
  v.conditions.gameRunning = true;
  v.r.frameExtent = kEmptyExtent;
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.view.lastPath, FramePath::TurnOrKeyMove);
  EXPECT_TRUE(v.r.frameExtent.empty());
  // Without the request the scene is drawn again.
  v.conditions = FrameConditions{};
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.view.lastPath, FramePath::Scene);
}

TEST(SceneRendererDrag, SelectionBoxIsDrawnLastExceptDuringAGame) {
  DragView v;
  ASSERT_TRUE(v.started) << lastRenderErrorText(v.d);
  v.world.selectedBlock = v.standingBrick;
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.r.lastExtent, v.r.frameExtent);  // the box was drawn last
  v.conditions.gameRunning = true;
  v.r.lastExtent = kEmptyExtent;
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(v.r.lastExtent, kEmptyExtent);  // no selection box during a game
}

TEST(SceneRendererDrag, BasicBlocksOnlyWhileTheViewTurns) {
  DragView v;
  ASSERT_TRUE(v.started) << lastRenderErrorText(v.d);
  BlockDescription shape = brickAt(0, 12, 0, {1, 1, 0, 1});
  shape.kind = 5;  // a catalogue kind with no shape loaded: it draws nothing, but it is asked to
  Block* catalogueBlock = v.view.put(shape);
  ASSERT_NE(catalogueBlock, nullptr);
  ASSERT_TRUE(v.frame());
  v.r.screenRects[catalogueBlock->serial] = Rect{1, 1, 2, 2};
  v.r.drawAllShapes = false;
  ASSERT_TRUE(v.frame());
  EXPECT_EQ(screenRectOf(v.r, *catalogueBlock), (Rect{1, 1, 2, 2}));  // left out
  v.conditions.gameSetup = true;                                       // games always show everything
  ASSERT_TRUE(v.frame());
  EXPECT_NE(screenRectOf(v.r, *catalogueBlock), (Rect{1, 1, 2, 2}));
}

TEST(SceneRendererDrag, StoppedRenderingSkipsTheFrame) {
  DragView v;
  ASSERT_TRUE(v.started) << lastRenderErrorText(v.d);
  v.d.renderingOk = false;
  v.r.frameExtent = Rect{3, 3, 4, 4};
  EXPECT_TRUE(v.frame());
  EXPECT_EQ(v.view.lastPath, FramePath::Nothing);
  EXPECT_EQ(v.r.frameExtent, (Rect{3, 3, 4, 4}));
}
