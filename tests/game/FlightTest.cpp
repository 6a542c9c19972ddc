// The flight rules on small courses built in a world of their own: a wall turns the aeroplane clockwise
// after backing off a tenth, a slope lifts it a brick, an edge drops it in whole bricks but never below the
// plate, the yellow block wins only when met alone, and a climb found earlier never lifts it over a wall.
#include <gtest/gtest.h>

#include <memory>

#include "game/Game.h"
#include "scene/BlockList.h"
#include "scene/SceneList.h"
#include "scene/Shape.h"
#include "scene/World.h"

namespace {

BlockDescription block(int32_t kind, int studsX, int studsZ, Vec3 at, std::array<float, 4> colour, int orientation = 0) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = 1;
  d.position = at;
  d.orientation = orientation;
  d.colour = colour;
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  return d;
}

constexpr std::array<float, 4> kWhite{1, 1, 1, 1}, kYellow{1, 1, 0, 1}, kRed{1, 0, 0, 1}, kGreen{0, 0.6f, 0, 1};

class Flight : public ::testing::Test {
protected:
  // A block set on the course: lifted a brick at a time until it is free, as new blocks are.
  Block* put(const BlockDescription& d) { return putBlockInScene(world, d, NewBlockOptions{false, true}); }
  void SetUp() override {
    // The aeroplane's shape: a 4 x 4 x 4 box.
    auto shape = std::make_unique<Shape>();
    shape->minX = shape->minZ = shape->minY = -2;
    shape->maxX = shape->maxZ = shape->maxY = 2;
    for (const auto& c : {Vec3{-2, -2, -2}, Vec3{2, -2, -2}, Vec3{2, 2, 2}})
      shape->vertices.push_back(Vertex{c.x, c.y, c.z, 0, 1, 0, 0, 0});
    shape->indices = {0, 1, 2};
    shape->faceCount = 1;
    shape->vertexCount = 3;
    world.shapes.entries[kAeroplaneKind - kFirstShapeKind] = std::move(shape);
    world.movement.gravityFloor = -kFloatMax;
    world.basePlate = putBlockInScene(world, block(BasePlate, 20, 20, {0, 0, 0}, kGreen));
  }
  // The aeroplane taking off facing the way orientation says, as the game starts it.
  Block* takeOff(Vec3 at, int orientation = 0) {
    plane = put(block(kAeroplaneKind, 0, 0, at, kRed, orientation));
    world.selectedBlock = plane;
    collectStack(world, world.movingSet, plane);
    g.aeroplane = plane;
    g.velocity = orientation == 3 ? Vec3{0.5f, 0, 0} : Vec3{0, 0, 0.5f};
    return plane;
  }
  // Fly until something happens or the steps run out; returns the step that did something.
  FlightStep flyUntilMeeting(int steps) {
    for (int i = 0; i < steps; ++i) {
      FlightStep s = flightStep(world, g);
      if (s.climbs || s.walls || s.fell || s.reachedTarget) return s;
    }
    return FlightStep{};
  }

  World world;
  GameState g;
  Block* plane = nullptr;
};

}  // namespace

TEST_F(Flight, AWhiteWallTurnsItClockwiseAfterBackingOffATenth) {
  Block* wall = put(block(Brick, 4, 1, {0, 0, 20}, kWhite));
  takeOff(Vec3{0, 0, 0});
  const float y = plane->position.y;
  const float wallFace = wall->outerMin.z;
  const FlightStep s = flyUntilMeeting(100);
  EXPECT_EQ(s.walls, 1);
  EXPECT_EQ(plane->orientation, 3);
  EXPECT_EQ(g.velocity.x, 0.5f);
  EXPECT_EQ(g.velocity.z, 0.0f);
  EXPECT_EQ(plane->position.y, y);
  // It stopped short of the wall by the tenth it backed off.
  EXPECT_NEAR(plane->outerMax.z, wallFace - 0.1f, 0.3f);
  EXPECT_LT(plane->outerMax.z, wallFace);
}

TEST_F(Flight, ASlopeLessThanThreeBelowLiftsItABrickAndAnEdgeDropsItToThePlate) {
  takeOff(Vec3{0, 0, 0});
  const float start = plane->position.y;
  Block* slope = put(block(SlopeBrick, 2, 2, {0, 0, 16}, kWhite));
  ASSERT_GT(slope->position.y, start - 3);
  FlightStep s = flyUntilMeeting(100);
  EXPECT_EQ(s.climbs, 1);
  EXPECT_EQ(plane->position.y, start + 6);
  // Past the slope it falls back to where it started, never lower.
  s = flyUntilMeeting(100);
  EXPECT_TRUE(s.fell);
  EXPECT_EQ(plane->position.y, start);
  for (int i = 0; i < 20; ++i) flightStep(world, g);
  EXPECT_EQ(plane->position.y, start);
}

TEST_F(Flight, TheYellowBlockWinsOnlyWhenMetAlone) {
  put(block(Brick, 4, 1, {0, 0, 20}, kYellow));
  takeOff(Vec3{0, 0, 0});
  FlightStep s = flyUntilMeeting(100);
  EXPECT_TRUE(s.reachedTarget);
  EXPECT_EQ(g.outcome, Meeting::Target);

  // Yellow and red side by side across the path are met at once: a wall, not a win.
  sceneClear(world);
  listClear(world.movingSet);
  world.basePlate = putBlockInScene(world, block(BasePlate, 20, 20, {0, 0, 0}, kGreen));
  put(block(Brick, 1, 1, {-2, 0, 20}, kYellow));
  put(block(Brick, 1, 1, {2, 0, 20}, kRed));
  takeOff(Vec3{0, 0, 0});
  g.outcome = Meeting::Wall;
  s = flyUntilMeeting(100);
  EXPECT_FALSE(s.reachedTarget);
  EXPECT_EQ(s.walls, 1);
}

TEST_F(Flight, AnEarlierClimbNeverLiftsItOverTwoBlocksAtOnce) {
  Block a = *world.basePlate, b = *world.basePlate;
  a.kind = b.kind = Brick;
  a.position.y = b.position.y = 10;
  takeOff(Vec3{0, 0, 0});
  std::vector<Block*> two{&a, &b};
  EXPECT_EQ(classifyMeeting(*plane, two, Meeting::Climb), Meeting::Wall);
  a.colour = kYellow;
  EXPECT_EQ(classifyMeeting(*plane, two, Meeting::Climb), Meeting::Wall);
  // One block well below the aeroplane leaves the meaning as it was.
  a.position.y = plane->position.y - 5;
  EXPECT_EQ(classifyMeeting(*plane, std::vector<Block*>{&a}, Meeting::Climb), Meeting::Climb);
}

TEST_F(Flight, AGameSceneNeedsOneAeroplaneOneTargetAndWhiteBlocks) {
  put(block(kAeroplaneKind, 0, 0, {-20, 0, -20}, kRed));
  put(block(kAeroplaneKind, 0, 0, {20, 0, -20}, kRed));
  for (int i = 0; i < 3; ++i) put(block(Brick, 1, 1, {-20.0f + 12 * i, 0, 20}, kWhite));
  EXPECT_EQ(checkGameScene(world), (std::vector<int>{29, 30}));
  sceneClear(world);
  EXPECT_EQ(checkGameScene(world), (std::vector<int>{28, 30, 32}));
}
