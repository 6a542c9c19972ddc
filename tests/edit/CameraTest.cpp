// The orbit camera: its vectors, the clamps and wrap of orbiting, zooming near the ground, the probe
// refusing a turn into a tower and the undo of a turn, the preset views, re-targeting and the walk.
#include <cmath>

#include "EditTestKit.h"

namespace {

float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

class Camera : public testing::Test {
protected:
  void SetUp() override {
    setView(0, 45, 41, {0, 0, 0});
    cameraStartOfView(ed);
  }
  void setView(float azimuth, float polar, float distance, Vec3 target) {
    view.azimuth = azimuth;
    view.polar = polar;
    view.distance = distance;
    view.target = target;
  }
  // Run the turn or zoom under way to its end, one frame's step at a time.
  void finishAnimation() {
    for (int frame = 0; frame < 1000 && advanceCameraAnimation(ed); ++frame) {}
  }

  EditorKit kit;
  Editor& ed = kit.ed;
  EditState& e = kit.ed.state;
  SceneView& view = kit.world.view;
};

}  // namespace

TEST_F(Camera, VectorsFollowTheAnglesAndTheDistance) {
  setView(30, 60, 51, {5, 2, -3});
  resetCamera(ed);
  EXPECT_NEAR(length(e.eye - view.target), 50, 1e-3f);
  EXPECT_NEAR(length(e.forward), 1, 1e-5f);
  EXPECT_NEAR(length(e.up), 1, 1e-5f);
  EXPECT_NEAR(dot(e.up, e.forward), 0, 1e-5f);
  EXPECT_NEAR(dot(e.right, e.forward), 0, 1e-5f);
  EXPECT_NEAR(e.toEye.y, 0.5f, 1e-5f);  // cos 60
  EXPECT_GT(e.up.y, 0);
  EXPECT_EQ(e.probePoint, e.eye - e.forward);
  EXPECT_EQ(e.lightPos, (Vec3{0, 30, 0}));
  EXPECT_EQ(e.lightDir, (Vec3{0, -1, 0}));
  // The renderer got the same camera: the target lies straight ahead at depth distance - 1.
  const D3DMatrix& m = kit.renderer.cameraMatrix;
  const Vec3 t = view.target;
  const float depth = t.x * m.m[0][2] + t.y * m.m[1][2] + t.z * m.m[2][2] + m.m[3][2];
  const float across = t.x * m.m[0][0] + t.y * m.m[1][0] + t.z * m.m[2][0] + m.m[3][0];
  EXPECT_NEAR(depth, 50, 1e-3f);
  EXPECT_NEAR(across, 0, 1e-3f);
}

TEST_F(Camera, OrbitClampsThePolarAngleAndWrapsTheAzimuth) {
  orbitStep(ed, 0, 200);  // dragging up looks down
  EXPECT_FLOAT_EQ(view.polar, 1);
  orbitStep(ed, 0, -400);
  EXPECT_FLOAT_EQ(view.polar, 80);
  view.azimuth = 1;
  orbitStep(ed, 10, 0);  // -3 degrees
  EXPECT_FLOAT_EQ(view.azimuth, 358);
  orbitStep(ed, -20, 0);  // +6 degrees
  EXPECT_NEAR(view.azimuth, 4, 1e-4f);
  EXPECT_TRUE(e.cameraChanged);

  view.azimuth = 359;
  turnAnimation(ed, 5, 5);
  finishAnimation();
  EXPECT_FLOAT_EQ(view.azimuth, 4);
  EXPECT_EQ(e.undoAction, UndoCameraTurn);
  EXPECT_EQ(e.undoCamera, (std::array<int, 2>{5, 5}));
  // A turn of no steps or with no step does nothing at all.
  e.undoAction = UndoNone;
  turnAnimation(ed, 5, 0);
  turnAnimation(ed, -5, 5);
  EXPECT_EQ(e.undoAction, UndoNone);
  EXPECT_EQ(e.animation.kind, CameraAnimation::Kind::None);
  EXPECT_FLOAT_EQ(view.azimuth, 4);
}

TEST_F(Camera, ZoomingInStopsNearTheGround) {
  setView(0, 80, 40, {0, 0, 0});
  resetCamera(ed);
  // The point ten units behind the eye is cos 80 x 49, about 8.5 high: too low to come nearer.
  zoomStep(ed, -20);
  EXPECT_FLOAT_EQ(view.distance, 40);
  zoomStep(ed, 20);  // moving away always works: 0.4 per pixel at this distance
  EXPECT_NEAR(view.distance, 48, 1e-3f);
  // Far away the step grows with the distance; near, it stays at 0.4.
  setView(0, 30, 150, {0, 0, 0});
  resetCamera(ed);
  zoomStep(ed, -10);
  EXPECT_NEAR(view.distance, 145, 1e-3f);
  setView(0, 30, 100, {0, 0, 0});
  resetCamera(ed);
  zoomStep(ed, -10);
  EXPECT_NEAR(view.distance, 96, 1e-3f);
}

TEST_F(Camera, ProbeRefusesATurnIntoATowerAndUndoTurnsBackTheRequestedSteps) {
  // Level view from +x; the probe circles at about 41 units from the target.
  setView(0, 80, 41, {0, 0, 0});
  resetCamera(ed);
  Block* tower = kit.put(brickAt(38, 30, 14, {1, 1, 1, 1}, 4, 4, 10));
  ASSERT_NE(tower, nullptr);
  turnAnimation(ed, 30, 5);
  finishAnimation();
  // 5 degrees is clear of the tower, 10 is not.
  EXPECT_FLOAT_EQ(view.azimuth, 5);
  EXPECT_EQ(e.undoCamera, (std::array<int, 2>{30, 5}));
  const Vec3 probeAt = e.cameraProbe->position;
  EXPECT_NEAR(probeAt.x, e.probePoint.x, 1e-3f);
  EXPECT_NEAR(probeAt.z, e.probePoint.z, 1e-3f);
  // The refused move left the camera exactly as it was after the last free step.
  const Vec3 eye = e.eye;
  orbitStep(ed, -20, 0);
  EXPECT_FLOAT_EQ(view.azimuth, 5);
  EXPECT_EQ(e.eye, eye);

  ASSERT_TRUE(undoCameraMove(ed));
  finishAnimation();
  EXPECT_NEAR(view.azimuth, 335, 1e-3f);  // six steps back, though only one was made
  EXPECT_EQ(e.undoCamera, (std::array<int, 2>{-30, -5}));
}

TEST_F(Camera, ZoomAnimationRecordsItsUndoAndStopsAtARefusal) {
  setView(0, 80, 41, {0, 0, 0});
  resetCamera(ed);
  zoomAnimation(ed, -1);
  finishAnimation();
  EXPECT_EQ(e.undoAction, UndoZoomIn);
  EXPECT_FLOAT_EQ(view.distance, 41 - 32);
  ASSERT_TRUE(undoCameraMove(ed));
  finishAnimation();
  EXPECT_EQ(e.undoAction, UndoZoomOut);
  EXPECT_FLOAT_EQ(view.distance, 41);
  // A wall behind the eye stops the zoom out after the steps that fit.
  kit.put(brickAt(56, 30, 0, {1, 1, 1, 1}, 4, 10, 10));
  zoomAnimation(ed, +1);
  finishAnimation();
  EXPECT_GT(view.distance, 41);
  EXPECT_LT(view.distance, 41 + 32);
  e.undoAction = UndoMove;
  EXPECT_FALSE(undoCameraMove(ed));
}

TEST_F(Camera, PresetViewsAndTheWalk) {
  const float expected[4][3] = {{220, 30, 140}, {180, 1, 170}, {180, 89, 170}, {270, 89, 170}};
  for (int n = 1; n <= 4; ++n) {
    presetView(ed, n);
    EXPECT_FLOAT_EQ(view.azimuth, expected[n - 1][0]);
    EXPECT_FLOAT_EQ(view.polar, expected[n - 1][1]);
    EXPECT_FLOAT_EQ(view.distance, expected[n - 1][2]);
    EXPECT_EQ(view.target, (Vec3{0, 30, 0}));
    EXPECT_NEAR(length(e.cameraProbe->position - e.probePoint), 0, 1e-3f);
  }
  presetView(ed, 0);
  presetView(ed, 5);
  EXPECT_FLOAT_EQ(view.azimuth, 270);

  presetView(ed, 1);
  const Vec3 forward = e.forward;
  walkCamera(ed, 0);
  EXPECT_NEAR(view.target.x, forward.x * 10, 1e-4f);
  EXPECT_NEAR(view.target.z, forward.z * 10, 1e-4f);
  EXPECT_FLOAT_EQ(view.target.y, 30);
  walkCamera(ed, 1);
  EXPECT_NEAR(view.target.x, 0, 1e-4f);
  walkCamera(ed, 2);
  EXPECT_FLOAT_EQ(view.azimuth, 230);
  walkCamera(ed, 3);
  walkCamera(ed, 3);
  EXPECT_FLOAT_EQ(view.azimuth, 210);
  e.holding = true;
  walkCamera(ed, 9);  // no such walk: only the hold ends
  EXPECT_FALSE(e.holding);
  EXPECT_FLOAT_EQ(view.azimuth, 210);
}

TEST_F(Camera, LookAtOnEmptyGroundClampsTheTarget) {
  kit.device.clientWidth = 540;
  kit.device.clientHeight = 380;
  presetView(ed, 2);  // straight down; the top of the view lies toward +x
  Block* someBlock = kit.put(brickAt(0, 12, 0, {1, 1, 1, 1}));
  kit.world.selectedBlock = someBlock;
  lookAt(ed, 270, 0);
  EXPECT_FLOAT_EQ(view.target.x, 60);
  EXPECT_NEAR(view.target.y, 0, 1e-3f);
  EXPECT_NEAR(view.target.z, 0, 1.0f);
  EXPECT_EQ(kit.world.selectedBlock, nullptr);
  const Vec3 ground = rayToPlane(ed, 270, 190, 0);  // the middle of the view sees the target
  EXPECT_NEAR(ground.x, view.target.x, 0.5f);
  EXPECT_NEAR(ground.z, view.target.z, 0.5f);
}

TEST_F(Camera, AutomaticViewRisesAboveAHeldBlockAndSteepens) {
  setView(0, 80, 41, {0, 0, 0});
  resetCamera(ed);
  // Nothing held and the eye above the ground: nothing happens.
  autoViewAdjust(ed, 18, 0.7f);
  EXPECT_FLOAT_EQ(view.target.y, 0);
  Block* high = kit.put(brickAt(0, 60, 0, {1, 1, 1, 1}));
  e.holding = true;
  e.pickedBlock = high;
  e.deltaX = 5;
  autoViewAdjust(ed, 18, 0.7f);
  EXPECT_FALSE(e.holding);
  EXPECT_EQ(e.deltaX, 0);
  const Vec3 p = e.eye - Vec3{e.forward.x * 10, e.forward.y * 10, e.forward.z * 10};
  EXPECT_GE(p.y, high->position.y + 18);
  EXPECT_GE(view.polar, 1);
  EXPECT_LT(view.polar, 80);
}
