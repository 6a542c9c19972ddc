// The game's follow view: a fifth of the way toward the aeroplane each pass, the heading taking the short
// way round, and nothing outside a fast flight on the game screen.
#include <gtest/gtest.h>

#include "app/Shell.h"
#include "edit/EditState.h"
#include "render/SceneRenderer.h"
#include "scene/Block.h"
#include "scene/SceneFlags.h"
#include "scene/SceneView.h"

class FollowView : public testing::Test {
protected:
  void SetUp() override {
    shell = ShellState{};
    shell.screenState = GameScreen;
    gameFlags = GameFlags{};
    gameFlags.fastFlight = true;
    sceneView = SceneView{};
    editState.cameraChanged = false;
    sceneRenderer.drawStuds = 1;
    plane.position = Vec3{50, 4, -10};
  }
  void TearDown() override {
    gameFlags = GameFlags{};
    shell = ShellState{};
    sceneView = SceneView{};
    sceneRenderer.drawStuds = 1;
  }
  Block plane;
};

TEST_F(FollowView, TargetAndHeadingMoveAFifthOfTheWayEachPass) {
  sceneView.target = Vec3{0, 0, 0};
  sceneView.azimuth = 350;
  plane.orientation = 1;  // heading 0: the short way from 350 is +10 degrees
  followViewStep(&plane);
  EXPECT_FLOAT_EQ(sceneView.target.x, 10);
  EXPECT_FLOAT_EQ(sceneView.target.y, 2);
  EXPECT_FLOAT_EQ(sceneView.target.z, -2);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 352);
  EXPECT_TRUE(editState.cameraChanged);
  EXPECT_EQ(sceneRenderer.drawStuds, 0);
  for (int pass = 0; pass < 60; ++pass) followViewStep(&plane);
  EXPECT_NEAR(sceneView.target.x, 50, 1e-3);
  EXPECT_NEAR(sceneView.target.y, 10, 1e-3);
  // Converging on 0 from below 360 crosses over: the azimuth stays within 0..360.
  EXPECT_GE(sceneView.azimuth, 0);
  EXPECT_LE(sceneView.azimuth, 360);
  EXPECT_TRUE(sceneView.azimuth < 0.01f || sceneView.azimuth > 359.99f) << sceneView.azimuth;
}

TEST_F(FollowView, HeadingTurnsTheShortWayFromBelowToo) {
  sceneView.azimuth = 10;
  plane.orientation = 0;  // heading -90 becomes 270: the short way from 10 is -100 degrees
  followViewStep(&plane);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 350);
}

TEST_F(FollowView, OnlyDuringAFastFlightOnTheGameScreenWithABlock) {
  sceneView.azimuth = 100;
  followViewStep(nullptr);
  gameFlags.fastFlight = false;
  followViewStep(&plane);
  gameFlags.fastFlight = true;
  shell.screenState = EditScreen;
  followViewStep(&plane);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 100);
  EXPECT_FLOAT_EQ(sceneView.target.x, 0);
  EXPECT_FALSE(editState.cameraChanged);
}
