// The game's follow view: a fifth of the way toward the aeroplane each pass, the heading taking the short
// way round, and nothing outside a fast flight on the game screen.
#include <gtest/gtest.h>

#include <memory>

#include "app/Shell.h"
#include "scene/Block.h"

class FollowView : public testing::Test {
protected:
  void SetUp() override {
    p = std::make_unique<Program>();
    p->shell.screenState = GameScreen;
    p->world.game.fastFlight = true;
    plane.position = Vec3{50, 4, -10};
  }
  std::unique_ptr<Program> p;
  Block plane;
};

TEST_F(FollowView, TargetAndHeadingMoveAFifthOfTheWayEachPass) {
  SceneView& view = p->world.view;
  view.target = Vec3{0, 0, 0};
  view.azimuth = 350;
  plane.orientation = 1;  // heading 0: the short way from 350 is +10 degrees
  followViewStep(*p, &plane);
  EXPECT_FLOAT_EQ(view.target.x, 10);
  EXPECT_FLOAT_EQ(view.target.y, 2);
  EXPECT_FLOAT_EQ(view.target.z, -2);
  EXPECT_FLOAT_EQ(view.azimuth, 352);
  EXPECT_TRUE(p->editor.state.cameraChanged);
  EXPECT_EQ(p->renderer.drawStuds, 0);
  for (int pass = 0; pass < 60; ++pass) followViewStep(*p, &plane);
  EXPECT_NEAR(view.target.x, 50, 1e-3);
  EXPECT_NEAR(view.target.y, 10, 1e-3);
  // Converging on 0 from below 360 crosses over: the azimuth stays within 0..360.
  EXPECT_GE(view.azimuth, 0);
  EXPECT_LE(view.azimuth, 360);
  EXPECT_TRUE(view.azimuth < 0.01f || view.azimuth > 359.99f) << view.azimuth;
}

TEST_F(FollowView, HeadingTurnsTheShortWayFromBelowToo) {
  p->world.view.azimuth = 10;
  plane.orientation = 0;  // heading -90 becomes 270: the short way from 10 is -100 degrees
  followViewStep(*p, &plane);
  EXPECT_FLOAT_EQ(p->world.view.azimuth, 350);
}

TEST_F(FollowView, OnlyDuringAFastFlightOnTheGameScreenWithABlock) {
  SceneView& view = p->world.view;
  view.azimuth = 100;
  followViewStep(*p, nullptr);
  p->world.game.fastFlight = false;
  followViewStep(*p, &plane);
  p->world.game.fastFlight = true;
  p->shell.screenState = EditScreen;
  followViewStep(*p, &plane);
  EXPECT_FLOAT_EQ(view.azimuth, 100);
  EXPECT_FLOAT_EQ(view.target.x, 0);
  EXPECT_FALSE(p->editor.state.cameraChanged);
  EXPECT_EQ(p->renderer.drawStuds, 1);
}
