// The renderer while blocks move: the static scene is lifted into the backup image, and each frame
// restores and presents only where the moving blocks and the selection box were and are. Also the turn
// path.
#include <gtest/gtest.h>

#include "SceneTestView.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;
constexpr uint16_t kMarker = 0xF81F;  // magenta: a presentation never paints it

Block* movingBrick = nullptr;
Block* standingBrick = nullptr;
FrameConditions conditions;

bool buildTwoBricks() {
  putBlockInScene(plateDescription(10, 10), NewBlockOptions{true, false});
  movingBrick = putBlockInScene(brickAt(-8, 12, -8, {1, 0, 0, 1}));
  standingBrick = putBlockInScene(brickAt(10, 12, 10, {0, 0, 1, 1}, 2, 2, 3));
  setTestCamera();
  return true;
}

bool redAt(const DisplaySurface& s, int x, int y) {
  const uint16_t p = s.pixels().at(x, y);
  return (p >> 11) > (p & 31) + 5;
}

struct DragView : SceneTestView {
  DragView() : SceneTestView(kWidth, kHeight, buildTwoBricks) {
    conditions = FrameConditions{};
    sceneRenderer.hooks.conditions = [] { return conditions; };
  }
};

}  // namespace

TEST(SceneRendererDrag, OnlyTheMovingBlocksRectanglesArePresented) {
  DragView view;
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  const Vec3 oldTop = projectPoint(movingBrick->position.x, movingBrick->outerMax.y - 1, movingBrick->position.z);
  ASSERT_TRUE(redAt(*renderDevice.backBuffer, int(oldTop.x), int(oldTop.y)));

  // Pick the brick up: the backup image is the scene without it.
  conditions.holding = true;
  selectedBlock = movingBrick;
  listInsert(MovingSet, movingBrick);
  liftMovingSet();
  EXPECT_FALSE(redAt(*renderDevice.backupBuffer, int(oldTop.x), int(oldTop.y)));
  EXPECT_EQ(sceneRenderer.frameExtent, (Rect{0, 0, kWidth, kHeight}));
  ASSERT_TRUE(frameStep());
  const Rect before = sceneRenderer.lastExtent;  // brick and box

  translateBlock(*movingBrick, 4, 0, 0);
  const Rect standing = standingBrick->screenRect;
  standingBrick->screenRect = Rect{0, 0, 1, 1};  // drawing the block would overwrite this
  surfaceFill(*renderDevice.frontBuffer, nullptr, kMarker);
  ASSERT_TRUE(frameStep());
  const Rect after = sceneRenderer.lastExtent;
  const Rect allowed = uniteExtent(before, after);
  EXPECT_LT(allowed.width() * allowed.height(), kWidth * kHeight / 3);
  int presented = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool shown = renderDevice.frontBuffer->pixels().at(x, y) != kMarker;
      presented += shown;
      if (shown) {
        ASSERT_TRUE(allowed.contains(x, y)) << x << "," << y;
      }
    }
  EXPECT_GT(presented, 0);
  // The brick is drawn at its new place and the static scene came back where it was.
  const Vec3 newTop = projectPoint(movingBrick->position.x, movingBrick->outerMax.y - 1, movingBrick->position.z);
  EXPECT_TRUE(redAt(*renderDevice.backBuffer, int(newTop.x), int(newTop.y)));
  const Vec3 vacated =
      projectPoint(movingBrick->position.x - 7, movingBrick->outerMin.y + 0.5f, movingBrick->position.z);
  EXPECT_FALSE(redAt(*renderDevice.backBuffer, int(vacated.x), int(vacated.y)));
  // The standing brick was not drawn again.
  EXPECT_EQ(standingBrick->screenRect, (Rect{0, 0, 1, 1}));
  standingBrick->screenRect = standing;
}

TEST(SceneRendererDrag, TurnPathRedrawsTheSelectedBlockAndClearsItsRequest) {
  DragView view;
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  liftMovingSet();  // keep a backup of the finished scene
  selectedBlock = movingBrick;
  conditions.rotatePending = true;
  int cleared = 0;
  sceneRenderer.hooks.rotateOrKeyMoveDrawn = [&cleared] {
    ++cleared;
    conditions.rotatePending = false;
  };
  rotateBlock(*movingBrick, 90);
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(sceneRenderer.frameExtent, sceneRenderer.lastExtent);
  EXPECT_TRUE(extentsOverlap(sceneRenderer.frameExtent, movingBrick->screenRect));
  // In a game the selection box is hidden, and so the turned block is not drawn on its own.
  conditions.rotatePending = true;
  conditions.gameRunning = true;
  sceneRenderer.frameExtent = kEmptyExtent;
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(cleared, 2);
  EXPECT_TRUE(sceneRenderer.frameExtent.empty());
}

TEST(SceneRendererDrag, BasicBlocksOnlyWhileTheViewTurns) {
  DragView view;
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  BlockDescription shape = brickAt(0, 12, 0, {1, 1, 0, 1});
  shape.kind = 5;  // a catalogue kind with no shape loaded: it draws nothing, but it is asked to
  Block* catalogueBlock = putBlockInScene(shape);
  ASSERT_NE(catalogueBlock, nullptr);
  ASSERT_TRUE(frameStep());
  catalogueBlock->screenRect = Rect{1, 1, 2, 2};
  sceneRenderer.drawAllShapes = false;
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(catalogueBlock->screenRect, (Rect{1, 1, 2, 2}));  // left out
  conditions.gameSetup = true;                                // games always show everything
  ASSERT_TRUE(frameStep());
  EXPECT_NE(catalogueBlock->screenRect, (Rect{1, 1, 2, 2}));
  sceneRenderer.drawAllShapes = true;
}

TEST(SceneRendererDrag, StoppedRenderingSkipsTheFrame) {
  DragView view;
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  renderDevice.renderingOk = false;
  sceneRenderer.frameExtent = Rect{3, 3, 4, 4};
  EXPECT_TRUE(frameStep());
  EXPECT_EQ(sceneRenderer.frameExtent, (Rect{3, 3, 4, 4}));
  renderDevice.renderingOk = true;
}
