// Moving held blocks: the vertical step, the work area, climbing, sliding, lifting and sinking, the notes,
// and what a release does (brick levels, settling, snapping and links).
#include <cmath>

#include "scene/BlockTestKit.h"
#include "scene/Movement.h"

namespace {

class MovementTest : public BlockModelTest {
protected:
  void SetUp() override { nearSteepView(); }

  void nearSteepView() {  // fall step 2
    world.movement.cameraEye = {0, 100, 0};
    world.movement.cameraElevation = 90;
  }
  void farView() {  // fall step 6
    world.movement.cameraEye = {0, 400, 0};
    world.movement.cameraElevation = 90;
  }

  // A 20 x 20 plate at the origin: its outer box spans x and z -40..40, its top is at 1.
  Block* addPlate() { return put(describe(BasePlate, 20, 20, 1, {0, 0, 0})); }
  Block* addBrick(Vec3 position, int studsX = 2, int studsZ = 2, int height = 1) {
    return put(describe(Brick, studsX, studsZ, height, position));
  }
  void pick(Block* block) {
    collectStack(world, world.movingSet, block);
    world.selectedBlock = block;
  }
  void release(Block* block) {
    world.movement.leftDrag = false;
    endDrag(world, block);
  }
  Vec3 move(Vec3 offset) { return moveMovingSet(world, offset); }
  bool clamp(Vec3& offset) { return clampToWorkArea(world, offset); }
  static int hiddenStuds(const Block& b) {
    int n = 0;
    for (const StudCell& c : b.studCells) n += c.visible == 0;
    return n;
  }
  bool restsOn(const Block* upper, const Block* lower) {
    for (const auto& link : nodeOf(upper).supports)
      if (link->lower == lower) return true;
    return false;
  }
  std::vector<MoveNote>& notes = events.notes;
};

using Notes = std::vector<MoveNote>;

// [SECTION] Vertical step

TEST_F(MovementTest, FallStepFollowsTheView) {
  world.movement.cameraEye = {0, 100, 0};  // m = 0.67 + 0.57
  world.movement.cameraElevation = 90;
  EXPECT_EQ(fallStep(world.movement), 2);
  world.movement.cameraEye = {0, 300, 0};  // m = 2.0 + 0.57
  EXPECT_EQ(fallStep(world.movement), 3);
  world.movement.cameraEye = {120, 0, 160};  // distance 200: m = 1.33 + 0.6 / (sin 30 + 0.05) = 2.42
  world.movement.cameraElevation = 30;
  EXPECT_EQ(fallStep(world.movement), 3);
  world.movement.cameraElevation = 5;  // a flat view moves whole bricks even from close by
  world.movement.cameraEye = {0, 10, 0};
  EXPECT_EQ(fallStep(world.movement), 6);
  world.movement.cameraEye = {0, 400, 0};
  world.movement.cameraElevation = 90;
  EXPECT_EQ(fallStep(world.movement), 6);
  // From below the horizon the formula's divisor reaches zero: still a whole brick, never a fault.
  world.movement.cameraElevation = -2.8624f;
  EXPECT_EQ(fallStep(world.movement), 6);
  world.movement.cameraElevation = -60;
  EXPECT_EQ(fallStep(world.movement), 6);
}

// [SECTION] Work area

TEST_F(MovementTest, WorkAreaSurroundsThePlateWithItsMargin) {
  addPlate();
  EXPECT_EQ(world.workArea.box.min, (Vec3{-120, -1, -120}));
  EXPECT_EQ(world.workArea.box.max, (Vec3{120, kFloatMax, 120}));
  sceneClear(world);
  world.cheatMode = true;
  addPlate();
  EXPECT_EQ(world.workArea.box.min, (Vec3{-360, -1, -360}));
  EXPECT_EQ(world.workArea.box.max, (Vec3{360, kFloatMax, 360}));
}

TEST_F(MovementTest, ClampKeepsTheSetInsideTheWorkArea) {
  addPlate();
  Vec3 offset{1, 0, 0};
  EXPECT_FALSE(clamp(offset));  // nothing held

  Block* b = addBrick({114, 4, 0});  // spans x 110..118
  pick(b);
  offset = {1, 0, 0};
  EXPECT_TRUE(clamp(offset));
  EXPECT_EQ(offset, (Vec3{1, 0, 0}));
  offset = {10, 0, 0};
  EXPECT_TRUE(clamp(offset));
  EXPECT_FLOAT_EQ(offset.x, 2);
  translateBlock(*b, 2, 0, 0);  // at the edge now
  offset = {10, 0, 0};
  EXPECT_FALSE(clamp(offset));  // reduced to nothing: the move is not made
  offset = {10, 0, -5};
  EXPECT_TRUE(clamp(offset));
  EXPECT_EQ(offset, (Vec3{0, 0, -5}));
  offset = {-300, 0, 300};
  EXPECT_TRUE(clamp(offset));
  EXPECT_FLOAT_EQ(offset.x, -232);  // to the far side, x -120..-112
  EXPECT_FLOAT_EQ(offset.z, 116);
  offset = {NAN, 0, 0};
  EXPECT_FALSE(clamp(offset));
  offset = {0, 0, 0};  // inside, so it goes ahead: a move of nothing still lets the set settle
  EXPECT_TRUE(clamp(offset));
  offset = {10.0004f, 0, 0};  // what is left after the clamp is below a thousandth: nothing
  EXPECT_FALSE(clamp(offset));
}

// [SECTION] Whole-brick mode: the lift rule

TEST_F(MovementTest, DragLiftsOverABrickAndDropsBackOnTheFarSide) {
  Block* plate = addPlate();
  Block* moving = addBrick({0, 4, 0});
  Block* obstacle = addBrick({8, 4, 0});
  pick(moving);
  world.movement.leftDrag = true;

  Vec3 applied = move({1, 0, 0});
  EXPECT_EQ(applied, (Vec3{1, 6, 0}));  // lifted one brick onto the obstacle's height
  EXPECT_EQ(moving->position, (Vec3{1, 10, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Landing});

  notes.clear();
  for (int i = 0; i < 14; ++i) move({1, 0, 0});  // across the top of the obstacle
  EXPECT_EQ(moving->position, (Vec3{15, 10, 0}));
  EXPECT_TRUE(notes.empty());

  applied = move({1, 0, 0});  // past it: down to the plate again
  EXPECT_EQ(applied, (Vec3{1, -6, 0}));
  EXPECT_EQ(moving->position, (Vec3{16, 4, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Landing});

  release(moving);
  EXPECT_EQ(world.movingSet.count(), 0);
  EXPECT_TRUE(restsOn(moving, plate));
  EXPECT_FALSE(restsOn(moving, obstacle));
}

TEST_F(MovementTest, StackMovesAndLiftsAsOne) {
  addPlate();
  Block* bottom = addBrick({0, 4, 0});
  Block* top = addBrick({0, 10, 0});
  addBrick({8, 4, 0});
  pick(bottom);
  ASSERT_EQ(world.movingSet.count(), 2);
  world.movement.leftDrag = true;
  EXPECT_EQ(move({2, 0, 0}), (Vec3{2, 6, 0}));
  EXPECT_EQ(bottom->position, (Vec3{2, 10, 0}));
  EXPECT_EQ(top->position, (Vec3{2, 16, 0}));
}

TEST_F(MovementTest, WholeBrickDragsNeverEndInsideAnotherBlock) {
  // Towers of one to three bricks on a grid, and a stack of two dragged over them along a fixed
  // pseudo-random path: after every step the set stands free, on a brick level, inside the work area.
  addPlate();
  unsigned seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  for (int i = 0; i < 40; ++i) {
    const float x = -36.0f + 8.0f * static_cast<float>(next(10));
    const float z = -36.0f + 8.0f * static_cast<float>(next(10));
    const int height = 1 + next(3);
    for (int level = 0; level < height; ++level) {
      BlockDescription d = describe(Brick, 2, 2, 1, {x, 4.0f + 6.0f * static_cast<float>(level), z});
      put(d, NewBlockOptions{false, true});
    }
  }
  Block* moving = put(describe(Brick, 2, 2, 1, {100, 4, 100}));
  put(describe(Brick, 1, 1, 1, {102, 10, 102}));
  pick(moving);
  ASSERT_EQ(world.movingSet.count(), 2);
  world.movement.leftDrag = true;
  float highest = 0;
  for (int i = 0; i < 300; ++i) {
    Vec3 offset{static_cast<float>(next(13) - 6) - 0.5f, 0, static_cast<float>(next(13) - 6)};
    if (i < 40) offset = {-3.5f, 0, -3};  // first walk into the towers
    if (i >= 240)                          // and finally back over the plate
      offset = {std::clamp(-moving->position.x, -3.0f, 3.0f), 0, std::clamp(-moving->position.z, -3.0f, 3.0f)};
    if (!clamp(offset)) continue;
    move(offset);
    ASSERT_EQ(sweepQueryMovingSet(world, Vec3{}), 0) << "step " << i;
    const float bottom = moving->outerMin.y;
    highest = std::max(highest, bottom);
    ASSERT_NEAR(std::fmod(bottom - 1, 6.0f), 0, 1e-3) << "step " << i;
    const Box bounds = listBounds(world.movingSet);
    ASSERT_GE(bounds.min.x, world.workArea.box.min.x - 1e-3f);
    ASSERT_LE(bounds.max.z, world.workArea.box.max.z + 1e-3f);
  }
  EXPECT_GE(highest, 13);  // the path went over towers two bricks high
  release(moving);
  EXPECT_EQ(world.movingSet.count(), 0);
  sweepResetQuery(world.sweep);
  EXPECT_EQ(sweepQuery(world.sweep, *moving, {}), 0);
  EXPECT_FALSE(nodeOf(moving).supports.empty());  // it rests on a tower or on the plate
}

TEST_F(MovementTest, PaintToolRefusesToLift) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 4, 0});
  pick(moving);
  world.movement.leftDrag = true;
  world.movement.paintToolActive = true;
  EXPECT_EQ(move({1, 0, 0}), (Vec3{}));
  EXPECT_EQ(moving->position, (Vec3{0, 4, 0}));
  EXPECT_TRUE(notes.empty());
  // A free move still goes through.
  EXPECT_EQ(move({-1, 0, 0}), (Vec3{-1, 0, 0}));
}

TEST_F(MovementTest, ArrowKeyMovesUseTheLiftRuleToo) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 4, 0});
  pick(moving);
  world.movement.keyMove = true;
  EXPECT_EQ(move({4, 0, 0}), (Vec3{4, 6, 0}));
}

TEST_F(MovementTest, TallObstacleIsClimbedInOneMove) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 10, 0}, 2, 2, 3);  // three bricks high: top at 19
  pick(moving);
  world.movement.leftDrag = true;
  EXPECT_EQ(move({1, 0, 0}), (Vec3{1, 18, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Landing});
}

// [SECTION] Whole-brick mode: sinking

TEST_F(MovementTest, HeldSetSinksWholeBricksOntoWhatIsBelow) {
  addPlate();
  addBrick({0, 4, 0});
  Block* moving = addBrick({0, 28, 0});  // four bricks above the brick below
  pick(moving);
  world.movement.leftDrag = true;
  EXPECT_EQ(move({0.5f, 0, 0}), (Vec3{0.5f, -18, 0}));
  EXPECT_EQ(moving->outerMin.y, 7);
  EXPECT_EQ(notes, Notes{MoveNote::Landing});
  notes.clear();
  EXPECT_EQ(move({0.5f, 0, 0}), (Vec3{0.5f, 0, 0}));  // resting: no further sinking, no note
  EXPECT_TRUE(notes.empty());
}

TEST_F(MovementTest, GravityFloorHoldsBlocksBesideThePlate) {
  addPlate();
  Block* moving = addBrick({60, 4, 0});  // in the margin, at the plate's brick level
  pick(moving);
  world.movement.leftDrag = true;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(move({1, 0, 0}), (Vec3{1, 0, 0}));
  EXPECT_TRUE(notes.empty());  // held at the floor, nothing landed: no note on every step

  // With the floor lowered, the block beside the plate goes down one brick, to ground - 2, and stays.
  world.movement.gravityFloor = -kFloatMax;
  EXPECT_EQ(move({1, 0, 0}), (Vec3{1, -6, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Landing});
  EXPECT_EQ(move({1, 0, 0}), (Vec3{1, 0, 0}));
  EXPECT_EQ(moving->position.y, -2);
}

TEST_F(MovementTest, BlockedMoveUnderTheSlideRuleIsLimitedAndNeverPushedIntoABlock) {
  // Whole-brick mode with neither a drag nor an arrow key (a settle, an undo) uses the slide rule: when
  // the move lifted by a fall step is free, it is limited to one stud pitch per axis.
  farView();
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({14, 4, 0});  // spans x 10..18
  pick(moving);
  EXPECT_EQ(move({10, 0, 0}), (Vec3{4, 0, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Bump});

  // Limited to 4 the move still runs into the brick: the set stays where it is.
  notes.clear();
  EXPECT_EQ(move({10, 0, 0}), (Vec3{}));
  EXPECT_EQ(moving->position, (Vec3{4, 4, 0}));
  EXPECT_EQ(notes, Notes{MoveNote::Bump});

  // A set already caught in an overlap may still move on, even while the move stays blocked.
  translateBlock(*moving, 4, 0, 0);
  EXPECT_EQ(move({-1, 0, 0}), (Vec3{-1, 0, 0}));
}

// [SECTION] Step mode: the slide rule

TEST_F(MovementTest, SlideAlongTheFreeAxisRaisedByOneFallStep) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 4, 0});
  pick(moving);
  world.movement.wholeBrickDrop = false;
  world.movement.leftDrag = true;

  EXPECT_EQ(move({1, 0, 1}), (Vec3{0, 2, 1}));
  EXPECT_EQ(moving->position, (Vec3{0, 6, 1}));
  EXPECT_EQ(notes, Notes{MoveNote::Bump});

  // While dragging, step-sized sinking waits for every sixth move.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(move({0, 0, 1}), (Vec3{0, 0, 1}));
  EXPECT_EQ(move({0, 0, 1}), (Vec3{0, -2, 1}));
  EXPECT_EQ(moving->position, (Vec3{0, 4, 6}));
}

TEST_F(MovementTest, StepModeClimbsALowBrickOneStepAtATime) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 4, 0});
  pick(moving);
  world.movement.wholeBrickDrop = false;
  world.movement.leftDrag = true;
  EXPECT_EQ(move({1, 0, 0}), (Vec3{0, 2, 0}));
  EXPECT_EQ(move({1, 0, 0}), (Vec3{0, 2, 0}));
  EXPECT_EQ(move({1, 0, 0}), (Vec3{1, 2, 0}));  // bottom at 7: on top of the obstacle
  EXPECT_EQ(moving->outerMin.y, 7);
  EXPECT_EQ(notes, (Notes{MoveNote::Bump, MoveNote::Bump, MoveNote::Bump}));
}

TEST_F(MovementTest, BlockedDiagonalSlidesAtMostAStudPitch) {
  // (10, 0, 3) runs into the brick at (12, 4, 8). With a brick in the way of the z slide the set slides
  // 4 in x; without it the z slide is free too, and z wins.
  for (bool zBlocked : {true, false}) {
    sceneClear(world);
    addPlate();
    Block* moving = addBrick({0, 4, 0});
    if (zBlocked) addBrick({0, 4, 8});
    addBrick({12, 4, 8});
    pick(moving);
    world.movement.wholeBrickDrop = false;
    world.movement.leftDrag = true;
    EXPECT_EQ(move({10, 0, 3}), zBlocked ? (Vec3{4, 2, 0}) : (Vec3{0, 2, 3}));
  }
}

TEST_F(MovementTest, StepModeSinksInFallStepsAndReleaseClosesTheGap) {
  Block* plate = addPlate();
  Block* moving = addBrick({0, 23, 0});  // bottom at 20
  pick(moving);
  world.movement.wholeBrickDrop = false;
  EXPECT_EQ(move({}), (Vec3{0, -18, 0}));  // not dragging: sinks at once, in steps of 2
  EXPECT_EQ(moving->outerMin.y, 2);                  // the next step would cut into the plate
  EXPECT_TRUE(notes.empty());                        // only whole-brick landings play
  release(moving);
  EXPECT_EQ(moving->outerMin.y, 1);
  EXPECT_TRUE(restsOn(moving, plate));
}

// [SECTION] Release

TEST_F(MovementTest, ReleasedBlockGoesOntoABrickLevel) {
  const std::pair<float, float> cases[] = {{3.0f, 1}, {6.9f, 7}, {9.0f, 7}, {11.0f, 13}, {7.5f, 7},
                                           {10.8f, 13}, {14.0f, 13}, {0.5f, 1}, {-3.0f, -3}};
  for (auto [bottom, expected] : cases) {
    sceneClear(world);
    Block* b = addBrick({60, bottom + 3, 60});
    pick(b);
    world.movement.gravityFloor = 1000;  // keep the settle from sinking, to see the level alone
    release(b);
    EXPECT_NEAR(b->outerMin.y, expected, 1e-4) << "bottom " << bottom;
    EXPECT_EQ(world.movingSet.count(), 0);
  }
}

TEST_F(MovementTest, ReleaseLevelsOnlyTheSelectedBlockAndNeverTheAeroplane) {
  world.shapes.entries[kAeroplaneKind - kFirstShapeKind] = boxShape(-3, 3);
  world.movement.gravityFloor = 1000;
  Block* plane = put(describe(kAeroplaneKind, 0, 0, 0, {60, 6, 60}));
  const float planeBottom = plane->outerMin.y;
  pick(plane);
  release(plane);
  EXPECT_EQ(plane->outerMin.y, planeBottom);

  Block* b = addBrick({0, 6, 0});
  collectStack(world, world.movingSet, b);
  world.selectedBlock = nullptr;
  release(b);
  EXPECT_EQ(b->outerMin.y, 3);
}

TEST_F(MovementTest, ReleasedBlockBelowThePlateStandsOnIt) {
  addPlate();
  Block* b = addBrick({60, -8, 60});
  pick(b);
  world.movement.gravityFloor = 1000;
  release(b);
  EXPECT_EQ(b->position.y, 4);
}

TEST_F(MovementTest, ReleasedStackKeepsItsUpperBricksOnTheLowest) {
  Block* bottom = addBrick({60, 6, 60});  // bottom at 3
  Block* top = addBrick({60, 12, 60});
  ASSERT_TRUE(restsOn(top, bottom));
  pick(bottom);
  world.movement.gravityFloor = 1000;
  release(bottom);
  EXPECT_EQ(bottom->outerMin.y, 1);
  EXPECT_EQ(top->outerMin.y, bottom->topSlabMin.y);
  EXPECT_TRUE(restsOn(top, bottom));
}

TEST_F(MovementTest, DropOntoABrickSnapsLinksAndHidesStuds) {
  Block* plate = addPlate();
  Block* moving = addBrick({0, 4, 0});
  Block* target = addBrick({8, 4, 0});
  EXPECT_EQ(hiddenStuds(*plate), 8);
  pick(moving);
  EXPECT_EQ(hiddenStuds(*plate), 4);  // picked up: its studs on the plate show again
  world.movement.leftDrag = true;
  move({9, 0, 0});
  EXPECT_EQ(moving->position, (Vec3{9, 10, 0}));
  release(moving);

  EXPECT_EQ(moving->position, (Vec3{8, 10, 0}));  // onto the stud grid of the brick below
  EXPECT_TRUE(restsOn(moving, target));
  EXPECT_FALSE(restsOn(moving, plate));
  EXPECT_EQ(hiddenStuds(*target), 4);
  EXPECT_EQ(hiddenStuds(*plate), 4);
  EXPECT_EQ(world.movingSet.count(), 0);

  // The index knows the new place: picking the lower brick gathers the one on it.
  pick(target);
  EXPECT_EQ(world.movingSet.count(), 2);
  EXPECT_EQ(hiddenStuds(*target), 4);  // the upper brick stays on it
}

TEST_F(MovementTest, RelinkAfterAnOverlapOnlyReindexes) {
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  Block* other = addBrick({20, 4, 0});
  pick(moving);
  translateBlock(*moving, 18, 0, 0);  // forced into the other brick
  sweepRelinkMovingSet(world);
  EXPECT_EQ(world.movingSet.count(), 0);
  EXPECT_TRUE(nodeOf(moving).supports.empty());
  sweepResetQuery(world.sweep);
  EXPECT_EQ(sweepQuery(world.sweep, *other, {}), 1);  // the index sees the brick where it now is
}

TEST_F(MovementTest, RelinkWithNothingHeldMakesNoLinks) {
  addPlate();
  Block* b = addBrick({0, 4, 0});
  detachSupports(world.scene, b);
  sweepResetQuery(world.sweep);
  sweepQuery(world.sweep, *b, {});  // leaves a contact pair behind
  ASSERT_FALSE(world.sweep.contactList.empty());
  sweepRelinkMovingSet(world);
  EXPECT_TRUE(nodeOf(b).supports.empty());
}

TEST_F(MovementTest, EmptySetDoesNotMove) {
  addPlate();
  EXPECT_EQ(move({5, 0, 5}), (Vec3{}));
  endDrag(world, nullptr);
  EXPECT_TRUE(notes.empty());
}

TEST_F(MovementTest, NotesNeedAListener) {
  playMoveNote(world, MoveNote::Bump);
  playMoveNote(world, MoveNote::Landing);
  EXPECT_EQ(notes, (Notes{MoveNote::Bump, MoveNote::Landing}));

  // A world nobody listens to moves the same and asks for no notes.
  World quiet;
  put(describe(BasePlate, 20, 20, 1, {0, 0, 0}));
  putBlockInScene(quiet, describe(BasePlate, 20, 20, 1, {0, 0, 0}));
  addBrick({8, 4, 0});
  putBlockInScene(quiet, describe(Brick, 2, 2, 1, {8, 4, 0}));
  Block* moving = addBrick({0, 4, 0});
  Block* quietMoving = putBlockInScene(quiet, describe(Brick, 2, 2, 1, {0, 4, 0}));
  pick(moving);
  collectStack(quiet, quiet.movingSet, quietMoving);
  quiet.movement = world.movement;
  world.movement.leftDrag = quiet.movement.leftDrag = true;
  notes.clear();
  EXPECT_EQ(moveMovingSet(quiet, {1, 0, 0}), move({1, 0, 0}));
  EXPECT_EQ(quietMoving->position, moving->position);
  EXPECT_EQ(notes, Notes{MoveNote::Landing});  // only the world with a listener was heard
}

TEST_F(MovementTest, FarViewClimbsAndSinksWholeBricksInStepMode) {
  farView();
  addPlate();
  Block* moving = addBrick({0, 4, 0});
  addBrick({8, 4, 0});
  pick(moving);
  world.movement.wholeBrickDrop = false;
  world.movement.leftDrag = true;
  EXPECT_EQ(move({1, 0, 0}), (Vec3{1, 6, 0}));  // one fall step of 6 clears the brick
}

}  // namespace
