// Picking and dragging in a drawn view: the nearer of two blocks under the pointer and never the plate, the
// drag plane through the held stack's lowest centre, the pointer brought back onto a block pushed aside,
// the pointer leaving the view, and new blocks from the palettes.
#include <algorithm>
#include <set>

#include "EditTestKit.h"
#include "edit/BlockOperations.h"
#include "scene/BlockList.h"

namespace {

class Picking : public testing::Test {
protected:
  // A 2 x 2 brick on the plate with a second one on top of it.
  bool openTower() {
    return view.open([this](World& w) {
      lower = putBlockInScene(w, brickAt(0, 4, 0, {1, 0, 0, 1}));
      upper = putBlockInScene(w, brickAt(0, 10, 0, {0, 0, 1, 1}));
    });
  }
  Point screenOf(Vec3 p) { return view.screenOf(p); }

  EditView view;
  Editor& ed = view.ed;
  EditState& e = view.ed.state;
  World& world = view.world;
  Block* lower = nullptr;
  Block* upper = nullptr;
};

}  // namespace

TEST_F(Picking, TheNearerOfTwoBlocksUnderThePointerIsPickedAndThePlateNever) {
  ASSERT_TRUE(openTower()) << lastRenderErrorText(view.screen.device);
  // Low on the upper brick's side the pointer is over the lower brick's top too, hidden behind it.
  const Point top = screenOf(Vec3{-4, 7.5f, 0});
  int face = 0;
  ASSERT_LT(pickFace(view.screen.renderer, *lower, Rect{top.x, top.y, top.x, top.y}, face), kFloatMax);
  ASSERT_LT(pickFace(view.screen.renderer, *upper, Rect{top.x, top.y, top.x, top.y}, face), kFloatMax);
  e.pointerX = top.x;
  e.pointerY = top.y;
  ASSERT_TRUE(pickBlock(ed));
  EXPECT_EQ(e.pickedBlock, upper);
  EXPECT_TRUE(e.holding);
  EXPECT_EQ(world.movingSet.entries, std::vector<Block*>{upper});
  EXPECT_GT(e.pickDepthFactor, 0);
  releaseHold(ed);

  // Picking the lower brick takes the one standing on it along.
  const Point side = screenOf(Vec3{-2.5f, 3, -4});
  e.pointerX = side.x;
  e.pointerY = side.y;
  ASSERT_TRUE(pickBlock(ed));
  EXPECT_EQ(e.pickedBlock, lower);
  EXPECT_EQ(world.movingSet.count(), 2);
  releaseHold(ed);

  // Bare plate: nothing is picked, and a press there starts a camera orbit instead.
  const Point plate = screenOf(Vec3{14, 1, 14});
  e.pointerX = plate.x;
  e.pointerY = plate.y;
  EXPECT_FALSE(pickBlock(ed));
  pickAndHold(ed, plate.x, plate.y);
  EXPECT_FALSE(e.holding);
  EXPECT_EQ(world.selectedBlock, nullptr);
  EXPECT_TRUE(e.orbitDrag);
  releaseHold(ed);

  // From below the horizon nothing is picked, except with the paint tool.
  world.view.polar = 100;
  e.pointerX = top.x;
  e.pointerY = top.y;
  EXPECT_FALSE(pickBlock(ed));
  setPaintTool(ed, 3);
  EXPECT_TRUE(pickBlock(ed));
  releaseHold(ed);
}

TEST_F(Picking, ADragMovesTheStackOnThePlaneThroughItsLowestCentre) {
  ASSERT_TRUE(openTower());
  const Point side = screenOf(Vec3{-2.5f, 5, -4});
  pickAndHold(ed, side.x, side.y);
  ASSERT_TRUE(e.holding);
  ASSERT_EQ(e.pickedBlock, lower);
  EXPECT_EQ(world.selectedBlock, lower);
  EXPECT_EQ(e.undoAction, UndoMove);
  EXPECT_EQ(e.undoPosition, (Vec3{0, 4, 0}));
  editFrameStep(ed);  // the pick's own frame moves nothing
  const Vec3 lowerAt = lower->position, upperAt = upper->position;
  const int x = e.pointerX, y = e.pointerY;

  trackPointer(ed, x + 10, y);
  EXPECT_TRUE(e.movePending);
  const Vec3 expected = rayToPlane(ed, x + 10, y, 4) - rayToPlane(ed, x, y, 4);
  const Vec3 throughGrab = rayToPlane(ed, x + 10, y, 12) - rayToPlane(ed, x, y, 12);
  ASSERT_GT(std::fabs(expected.x - throughGrab.x) + std::fabs(expected.z - throughGrab.z), 0.05f);
  editFrameStep(ed);
  EXPECT_NEAR(lower->position.x - lowerAt.x, expected.x, 1e-3f);
  EXPECT_NEAR(lower->position.z - lowerAt.z, expected.z, 1e-3f);
  EXPECT_FLOAT_EQ(lower->position.y, lowerAt.y);
  EXPECT_NEAR(upper->position.x - upperAt.x, expected.x, 1e-3f);
  EXPECT_FALSE(e.movePending);
  EXPECT_EQ(e.deltaX, 0);

  // Let go: the stack snaps onto the plate's studs and stands there linked as before.
  releaseHold(ed);
  EXPECT_FALSE(e.holding);
  EXPECT_TRUE(world.movingSet.entries.empty());
  EXPECT_NEAR(std::fmod(std::fabs(lower->outerMin.x), 4.0f), 0, 1e-3f);
  EXPECT_FLOAT_EQ(lower->position.y, 4);
  EXPECT_FLOAT_EQ(upper->position.y, 10);
  EXPECT_EQ(upper->position.x, lower->position.x);
}

TEST_F(Picking, PointerMovementOutsideTheViewIsNotUsedAndAReturnDoesNotJump) {
  ASSERT_TRUE(openTower());
  const Point side = screenOf(Vec3{-2.5f, 5, -4});
  pickAndHold(ed, side.x, side.y);
  ASSERT_TRUE(e.holding);
  editFrameStep(ed);
  headlessMouseButton(1, true);  // the button as the system sees it
  Message m;
  while (peekMessage(m)) dispatchMessage(m);
  const Vec3 before = lower->position;
  const int insideX = e.pointerX, insideY = e.pointerY;
  trackPointer(ed, -40, side.y);
  EXPECT_TRUE(e.pointerOutside);
  EXPECT_EQ(e.deltaX, 0);
  trackPointer(ed, -80, side.y);
  trackPointer(ed, insideX + 30, insideY);  // back in, elsewhere: no jump
  EXPECT_FALSE(e.pointerOutside);
  EXPECT_EQ(e.deltaX, 0);
  EXPECT_EQ(e.pointerX, insideX + 30);
  editFrameStep(ed);
  EXPECT_EQ(lower->position, before);
  headlessMouseButton(1, false);
  releaseHold(ed);
}

TEST_F(Picking, APushedAsideBlockBringsThePointerOntoItsGrabPoint) {
  ASSERT_TRUE(view.open([this](World& w) {
    lower = putBlockInScene(w, brickAt(-8, 4, 0, {1, 0, 0, 1}));
    putBlockInScene(w, brickAt(0, 4, 0, {0, 0, 1, 1}));  // the obstacle
  }));
  const Point grab = screenOf(Vec3{-8, 7, 0});
  pickAndHold(ed, grab.x, grab.y);
  ASSERT_EQ(e.pickedBlock, lower);
  editFrameStep(ed);
  // Drag 8 units toward +x, right into the obstacle: the brick climbs onto it.
  const Point to = screenOf(Vec3{0, 7, 0});
  e.pointerX = grab.x;
  e.pointerY = grab.y;
  trackPointer(ed, to.x, to.y);
  const Vec3 grabBefore = e.grabPoint;
  editFrameStep(ed);
  ASSERT_GT(lower->position.y, 4.5f) << "the brick was lifted over the obstacle";
  const Vec3 moved = e.grabPoint - grabBefore;
  EXPECT_NEAR(moved.y, lower->position.y - 4, 1e-3f);
  const Point onGrab = screenOf(e.grabPoint);
  EXPECT_EQ(e.pointerX, onGrab.x);
  EXPECT_EQ(e.pointerY, onGrab.y);
  EXPECT_EQ(cursorPos(), clientToScreen(view.screen.window, onGrab));
  releaseHold(ed);
}

TEST_F(Picking, PaletteEntriesMakeTheirBlocksAndNothingElse) {
  const auto brick = paletteBlock(ed, Palette::Bricks, 10);
  ASSERT_TRUE(brick);
  EXPECT_EQ(brick->kind, Brick);
  EXPECT_EQ(brick->studsX, 2);
  EXPECT_EQ(brick->studsZ, 1);
  EXPECT_EQ(brick->height, 1);
  EXPECT_EQ(brick->position.z, 1000);
  EXPECT_EQ(brick->colour, (std::array<float, 4>{1, 1, 1, 1}));  // no colour chosen: white
  EXPECT_EQ(brick->faceTextures, (std::array<int32_t, 6>{-1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(paletteBlock(ed, Palette::Bricks, 12)->kind, SlopeBrick);
  EXPECT_EQ(paletteBlock(ed, Palette::Bricks, 11)->kind, Brick);
  EXPECT_FALSE(paletteBlock(ed, Palette::Bricks, 23));
  EXPECT_FALSE(paletteBlock(ed, Palette::Bricks, 0));
  EXPECT_EQ(paletteBlock(ed, Palette::Shapes2, 3)->kind, kAeroplaneKind);
  EXPECT_FALSE(paletteBlock(ed, Palette::Shapes1, 38));
  EXPECT_FALSE(paletteBlock(ed, Palette::Shapes2, 40));

  // Between them the shape palettes offer every shape of the first size band exactly once.
  std::multiset<int> kinds;
  for (int i = 1; i <= 37; ++i) kinds.insert(paletteBlock(ed, Palette::Shapes1, i)->kind);
  for (int i = 1; i <= 39; ++i) kinds.insert(paletteBlock(ed, Palette::Shapes2, i)->kind);
  for (int kind = 3; kind <= 78; ++kind) EXPECT_EQ(kinds.count(kind), 1u) << kind;

  // Shapes face the viewer: the camera's quarter, plus one.
  world.view.azimuth = 200;
  EXPECT_EQ(paletteBlock(ed, Palette::Shapes1, 1)->orientation, 3);
  world.view.azimuth = 300;
  EXPECT_EQ(paletteBlock(ed, Palette::Shapes1, 1)->orientation, 0);
  e.newBlockColour = 4;
  EXPECT_EQ(paletteBlock(ed, Palette::Bricks, 1)->colour, (std::array<float, 4>{1, 0, 0, 1}));
}

TEST_F(Picking, ADragOutOfThePaletteHoldsTheNewBlock) {
  ASSERT_TRUE(view.open([](World&) {}));
  const int before = world.scene.count();
  e.brickPaletteDrag = true;
  e.brickPaletteEntry = 23;
  EXPECT_FALSE(dropFromPalette(ed, 100, 100));
  EXPECT_EQ(world.scene.count(), before);
  EXPECT_TRUE(e.brickPaletteDrag);  // still waiting for an entry that makes something

  e.brickPaletteEntry = 10;
  ASSERT_TRUE(dropFromPalette(ed, 100, 100));
  EXPECT_EQ(world.scene.count(), before + 1);
  Block* block = world.selectedBlock;
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->studsX, 2);
  EXPECT_EQ(block->studsZ, 1);
  // At the left edge of the view, on the plate.
  const Vec3 edge = rayToPlane(ed, 0, 130, 0);
  EXPECT_NEAR(block->position.x, edge.x, 1e-3f);
  EXPECT_NEAR(block->position.z, edge.z, 1e-3f);
  EXPECT_FLOAT_EQ(block->position.y, 4);
  EXPECT_TRUE(e.holding && e.buttonDown && e.movePending && world.movement.leftDrag);
  EXPECT_EQ(world.movingSet.entries, std::vector<Block*>{block});
  EXPECT_EQ(e.undoAction, UndoAdd);
  EXPECT_FALSE(e.brickPaletteDrag);
  releaseHold(ed);
  // Undo takes it out again, once.
  world.selectedBlock = block;
  undo(ed);
  EXPECT_EQ(world.scene.count(), before);
  EXPECT_EQ(e.undoAction, UndoNone);
  EXPECT_EQ(world.selectedBlock, nullptr);
}

TEST_F(Picking, InAGameOnlyWhiteBlocksArePickedUpToMove) {
  Block* white = nullptr;
  Block* red = nullptr;
  ASSERT_TRUE(view.open([&](World& w) {
    white = putBlockInScene(w, brickAt(-8, 4, 0, {1, 1, 1, 1}));
    red = putBlockInScene(w, brickAt(8, 4, 0, {1, 0, 0, 1}));
  }));
  world.game.gameSetup = true;
  const Point r = screenOf(Vec3{8, 7, 0});
  pickAndHold(ed, r.x, r.y);
  EXPECT_EQ(world.selectedBlock, red);
  EXPECT_FALSE(e.holding);
  EXPECT_TRUE(world.movingSet.entries.empty());
  EXPECT_EQ(cursorName(currentCursor()), "CANNOT");
  releaseHold(ed);
  const Point w = screenOf(Vec3{-8, 7, 0});
  pickAndHold(ed, w.x, w.y);
  EXPECT_EQ(world.selectedBlock, white);
  EXPECT_TRUE(e.holding);
  EXPECT_TRUE(e.movePending);
  releaseHold(ed);
}
