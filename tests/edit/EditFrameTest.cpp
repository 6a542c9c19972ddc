// The editing part of every frame: camera drags turned into orbit and zoom steps by the pointer's
// movement in the frame, turn and zoom animations taking one step per frame, and the game's step falling
// due when the pointer moves during a flight.
#include "EditTestKit.h"

namespace {

class EditFrame : public testing::Test {
protected:
  // One brick on the plate, seen from azimuth 220, polar 40, distance 60.
  bool openScene() {
    if (!view.open([](World& w) { putBlockInScene(w, brickAt(-8, 12, 0, {1, 1, 0, 1})); })) return false;
    lookFrom(ed, 220, 40, 60);
    return view.frame();
  }

  EditView view;
  Editor& ed = view.ed;
  EditState& e = view.ed.state;
  World& world = view.world;
  SceneRenderer& r = view.screen.renderer;
};

}  // namespace

TEST_F(EditFrame, CameraDragsUseThePointersMovementOfTheFrame) {
  ASSERT_TRUE(openScene()) << lastRenderErrorText(view.screen.device);
  // An orbit drag turns the camera by the pointer's movement in the frame, then uses the movement up.
  trackCameraPointer(ed, 50, 50);  // no drag yet: nothing collects
  EXPECT_EQ(e.deltaX, 0);
  beginCameraDrag(ed, CameraDrag::Orbit, 100, 100);
  trackCameraPointer(ed, 104, 100);
  trackCameraPointer(ed, 110, 100);
  EXPECT_EQ(e.deltaX, 10);
  ASSERT_TRUE(view.frame());
  EXPECT_FLOAT_EQ(world.view.azimuth, 217);
  EXPECT_EQ(e.deltaX, 0);
  // Ending the drag rebuilds the whole picture from the new view on the next frame.
  endCameraDrag(ed);
  EXPECT_FALSE(e.orbitDrag);
  EXPECT_EQ(r.fullRedrawPending, 1);
  ASSERT_TRUE(view.frame());
  EXPECT_EQ(r.frameExtent, (Rect{0, 0, EditView::kWidth, EditView::kHeight}));
  EXPECT_EQ(r.fullRedrawPending, 0);

  beginCameraDrag(ed, CameraDrag::Zoom, 100, 100);
  trackCameraPointer(ed, 100, 110);
  ASSERT_TRUE(view.frame());
  EXPECT_FLOAT_EQ(world.view.distance, 64);
  endCameraDrag(ed);
}

TEST_F(EditFrame, TurnAndZoomAnimationsTakeOneStepPerFrame) {
  ASSERT_TRUE(openScene()) << lastRenderErrorText(view.screen.device);
  turnAnimation(ed, 15, 5);
  EXPECT_FLOAT_EQ(world.view.azimuth, 220);  // nothing moves before a frame
  for (float expected : {225.0f, 230.0f, 235.0f}) {
    ASSERT_EQ(e.animation.kind, CameraAnimation::Kind::Turn);
    ASSERT_TRUE(view.frame());
    EXPECT_FLOAT_EQ(world.view.azimuth, expected);
    // Each step redraws the whole view from the new camera.
    EXPECT_EQ(r.frameExtent, (Rect{0, 0, EditView::kWidth, EditView::kHeight}));
  }
  EXPECT_EQ(e.animation.kind, CameraAnimation::Kind::None);
  ASSERT_TRUE(view.frame());
  EXPECT_FLOAT_EQ(world.view.azimuth, 235);

  zoomAnimation(ed, +1);
  for (int frame = 1; frame <= 8; ++frame) {
    ASSERT_TRUE(view.frame());
    EXPECT_FLOAT_EQ(world.view.distance, 60 + 4.0f * frame);
  }
  EXPECT_EQ(e.animation.kind, CameraAnimation::Kind::None);
}

TEST_F(EditFrame, GameStepFallsDueOnlyForAPointerMoveDuringAFlight) {
  ASSERT_TRUE(openScene()) << lastRenderErrorText(view.screen.device);
  e.movePending = true;
  world.game.gameRunning = true;
  EXPECT_TRUE(editFrameStep(ed));
  EXPECT_TRUE(e.movePending);  // the game takes the move
  world.game.gameRunning = false;
  EXPECT_FALSE(editFrameStep(ed));
  EXPECT_FALSE(e.movePending);
  EXPECT_FALSE(editFrameStep(ed));
}
