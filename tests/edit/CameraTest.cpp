// The orbit camera: its vectors, the clamps and wrap of orbiting, zooming near the ground, the probe
// refusing a turn into a tower and the undo of a turn, the preset views, re-targeting and the walk.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/Camera.h"
#include "render/RenderDevice.h"
#include "render/SceneTestView.h"

namespace {

float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

class Camera : public testing::Test {
protected:
  void SetUp() override {
    clearSceneState();
    editState = EditState{};
    setView(0, 45, 41, {0, 0, 0});
    cameraStartOfView();
  }
  void TearDown() override {
    clearSceneState();
    editState = EditState{};
  }
  static void setView(float azimuth, float polar, float distance, Vec3 target) {
    sceneView.azimuth = azimuth;
    sceneView.polar = polar;
    sceneView.distance = distance;
    sceneView.target = target;
  }
};

}  // namespace

TEST_F(Camera, VectorsFollowTheAnglesAndTheDistance) {
  setView(30, 60, 51, {5, 2, -3});
  resetCamera();
  const EditState& e = editState;
  EXPECT_NEAR(length(e.eye - sceneView.target), 50, 1e-3f);
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
  const D3DMatrix& m = sceneRenderer.cameraMatrix;
  const Vec3 t = sceneView.target;
  const float depth = t.x * m.m[0][2] + t.y * m.m[1][2] + t.z * m.m[2][2] + m.m[3][2];
  const float across = t.x * m.m[0][0] + t.y * m.m[1][0] + t.z * m.m[2][0] + m.m[3][0];
  EXPECT_NEAR(depth, 50, 1e-3f);
  EXPECT_NEAR(across, 0, 1e-3f);
}

TEST_F(Camera, OrbitClampsThePolarAngleAndWrapsTheAzimuth) {
  orbitStep(0, 200);  // dragging up looks down
  EXPECT_FLOAT_EQ(sceneView.polar, 1);
  orbitStep(0, -400);
  EXPECT_FLOAT_EQ(sceneView.polar, 80);
  sceneView.azimuth = 1;
  orbitStep(10, 0);  // -3 degrees
  EXPECT_FLOAT_EQ(sceneView.azimuth, 358);
  orbitStep(-20, 0);  // +6 degrees
  EXPECT_NEAR(sceneView.azimuth, 4, 1e-4f);
  EXPECT_TRUE(editState.cameraChanged);

  sceneView.azimuth = 359;
  turnAnimation(5, 5);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 4);
  EXPECT_EQ(editState.undoAction, UndoCameraTurn);
  EXPECT_EQ(editState.undoCamera, (std::array<int, 2>{5, 5}));
  // A turn of no steps or with no step does nothing at all.
  editState.undoAction = UndoNone;
  turnAnimation(5, 0);
  turnAnimation(-5, 5);
  EXPECT_EQ(editState.undoAction, UndoNone);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 4);
}

TEST_F(Camera, ZoomingInStopsNearTheGround) {
  setView(0, 80, 40, {0, 0, 0});
  resetCamera();
  // The point ten units behind the eye is cos 80 x 49, about 8.5 high: too low to come nearer.
  zoomStep(-20);
  EXPECT_FLOAT_EQ(sceneView.distance, 40);
  zoomStep(20);  // moving away always works: 0.4 per pixel at this distance
  EXPECT_NEAR(sceneView.distance, 48, 1e-3f);
  // Far away the step grows with the distance; near, it stays at 0.4.
  setView(0, 30, 150, {0, 0, 0});
  resetCamera();
  zoomStep(-10);
  EXPECT_NEAR(sceneView.distance, 145, 1e-3f);
  setView(0, 30, 100, {0, 0, 0});
  resetCamera();
  zoomStep(-10);
  EXPECT_NEAR(sceneView.distance, 96, 1e-3f);
}

TEST_F(Camera, ProbeRefusesATurnIntoATowerAndUndoTurnsBackTheRequestedSteps) {
  // Level view from +x; the probe circles at about 41 units from the target.
  setView(0, 80, 41, {0, 0, 0});
  resetCamera();
  Block* tower = putBlockInScene(brickAt(38, 30, 14, {1, 1, 1, 1}, 4, 4, 10));
  ASSERT_NE(tower, nullptr);
  turnAnimation(30, 5);
  // 5 degrees is clear of the tower, 10 is not.
  EXPECT_FLOAT_EQ(sceneView.azimuth, 5);
  EXPECT_EQ(editState.undoCamera, (std::array<int, 2>{30, 5}));
  const Vec3 probeAt = editState.cameraProbe->position;
  EXPECT_NEAR(probeAt.x, editState.probePoint.x, 1e-3f);
  EXPECT_NEAR(probeAt.z, editState.probePoint.z, 1e-3f);
  // The refused move left the camera exactly as it was after the last free step.
  const Vec3 eye = editState.eye;
  orbitStep(-20, 0);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 5);
  EXPECT_EQ(editState.eye, eye);

  ASSERT_TRUE(undoCameraMove());
  EXPECT_NEAR(sceneView.azimuth, 335, 1e-3f);  // six steps back, though only one was made
  EXPECT_EQ(editState.undoCamera, (std::array<int, 2>{-30, -5}));
}

TEST_F(Camera, ZoomAnimationRecordsItsUndoAndStopsAtARefusal) {
  setView(0, 80, 41, {0, 0, 0});
  resetCamera();
  zoomAnimation(-1);
  EXPECT_EQ(editState.undoAction, UndoZoomIn);
  EXPECT_FLOAT_EQ(sceneView.distance, 41 - 32);
  ASSERT_TRUE(undoCameraMove());
  EXPECT_EQ(editState.undoAction, UndoZoomOut);
  EXPECT_FLOAT_EQ(sceneView.distance, 41);
  // A wall behind the eye stops the zoom out after the steps that fit.
  putBlockInScene(brickAt(56, 30, 0, {1, 1, 1, 1}, 4, 10, 10));
  zoomAnimation(+1);
  EXPECT_GT(sceneView.distance, 41);
  EXPECT_LT(sceneView.distance, 41 + 32);
  editState.undoAction = UndoMove;
  EXPECT_FALSE(undoCameraMove());
}

TEST_F(Camera, PresetViewsAndTheWalk) {
  const float expected[4][3] = {{220, 30, 140}, {180, 1, 170}, {180, 89, 170}, {270, 89, 170}};
  for (int n = 1; n <= 4; ++n) {
    presetView(n);
    EXPECT_FLOAT_EQ(sceneView.azimuth, expected[n - 1][0]);
    EXPECT_FLOAT_EQ(sceneView.polar, expected[n - 1][1]);
    EXPECT_FLOAT_EQ(sceneView.distance, expected[n - 1][2]);
    EXPECT_EQ(sceneView.target, (Vec3{0, 30, 0}));
    EXPECT_NEAR(length(editState.cameraProbe->position - editState.probePoint), 0, 1e-3f);
  }
  presetView(0);
  presetView(5);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 270);

  presetView(1);
  const Vec3 forward = editState.forward;
  walkCamera(0);
  EXPECT_NEAR(sceneView.target.x, forward.x * 10, 1e-4f);
  EXPECT_NEAR(sceneView.target.z, forward.z * 10, 1e-4f);
  EXPECT_FLOAT_EQ(sceneView.target.y, 30);
  walkCamera(1);
  EXPECT_NEAR(sceneView.target.x, 0, 1e-4f);
  walkCamera(2);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 230);
  walkCamera(3);
  walkCamera(3);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 210);
  editState.holding = true;
  walkCamera(9);  // no such walk: only the hold ends
  EXPECT_FALSE(editState.holding);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 210);
}

TEST_F(Camera, LookAtOnEmptyGroundClampsTheTarget) {
  renderDevice.clientWidth = 540;
  renderDevice.clientHeight = 380;
  presetView(2);  // straight down; the top of the view lies toward +x
  Block* someBlock = putBlockInScene(brickAt(0, 12, 0, {1, 1, 1, 1}));
  selectedBlock = someBlock;
  lookAt(270, 0);
  EXPECT_FLOAT_EQ(sceneView.target.x, 60);
  EXPECT_NEAR(sceneView.target.y, 0, 1e-3f);
  EXPECT_NEAR(sceneView.target.z, 0, 1.0f);
  EXPECT_EQ(selectedBlock, nullptr);
  const Vec3 ground = rayToPlane(270, 190, 0);  // the middle of the view sees the target
  EXPECT_NEAR(ground.x, sceneView.target.x, 0.5f);
  EXPECT_NEAR(ground.z, sceneView.target.z, 0.5f);
  renderDevice.clientWidth = renderDevice.clientHeight = 0;
}

TEST_F(Camera, AutomaticViewRisesAboveAHeldBlockAndSteepens) {
  setView(0, 80, 41, {0, 0, 0});
  resetCamera();
  // Nothing held and the eye above the ground: nothing happens.
  autoViewAdjust(18, 0.7f);
  EXPECT_FLOAT_EQ(sceneView.target.y, 0);
  Block* high = putBlockInScene(brickAt(0, 60, 0, {1, 1, 1, 1}));
  editState.holding = true;
  editState.pickedBlock = high;
  editState.deltaX = 5;
  autoViewAdjust(18, 0.7f);
  EXPECT_FALSE(editState.holding);
  EXPECT_EQ(editState.deltaX, 0);
  const Vec3 p = editState.eye - Vec3{editState.forward.x * 10, editState.forward.y * 10, editState.forward.z * 10};
  EXPECT_GE(p.y, high->position.y + 18);
  EXPECT_GE(sceneView.polar, 1);
  EXPECT_LT(sceneView.polar, 80);
}
