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
  void SetUp() override {
    resetEditing();
    headlessClearMessageBoxes();
  }
  void TearDown() override { resetEditing(); }
};

Block* lower = nullptr;
Block* upper = nullptr;
Block* obstacle = nullptr;

// A 2 x 2 brick on the plate with a second one on top of it.
void buildTower() {
  lower = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  upper = putBlockInScene(brickAt(0, 10, 0, {0, 0, 1, 1}));
}

}  // namespace

TEST_F(Picking, TheNearerOfTwoBlocksUnderThePointerIsPickedAndThePlateNever) {
  EditView view(buildTower);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  // Low on the upper brick's side the pointer is over the lower brick's top too, hidden behind it.
  const Point top = screenOf(Vec3{-4, 7.5f, 0});
  int face = 0;
  ASSERT_LT(pickFace(*lower, Rect{top.x, top.y, top.x, top.y}, face), kFloatMax);
  ASSERT_LT(pickFace(*upper, Rect{top.x, top.y, top.x, top.y}, face), kFloatMax);
  editState.pointerX = top.x;
  editState.pointerY = top.y;
  ASSERT_TRUE(pickBlock());
  EXPECT_EQ(editState.pickedBlock, upper);
  EXPECT_TRUE(editState.holding);
  EXPECT_EQ(MovingSet.entries, std::vector<Block*>{upper});
  EXPECT_GT(editState.pickDepthFactor, 0);
  releaseHold();

  // Picking the lower brick takes the one standing on it along.
  const Point side = screenOf(Vec3{-2.5f, 3, -4});
  editState.pointerX = side.x;
  editState.pointerY = side.y;
  ASSERT_TRUE(pickBlock());
  EXPECT_EQ(editState.pickedBlock, lower);
  EXPECT_EQ(MovingSet.count(), 2);
  releaseHold();

  // Bare plate: nothing is picked, and a press there starts a camera orbit instead.
  const Point plate = screenOf(Vec3{14, 1, 14});
  editState.pointerX = plate.x;
  editState.pointerY = plate.y;
  EXPECT_FALSE(pickBlock());
  pickAndHold(plate.x, plate.y);
  EXPECT_FALSE(editState.holding);
  EXPECT_EQ(selectedBlock, nullptr);
  EXPECT_TRUE(editState.orbitDrag);
  releaseHold();

  // From below the horizon nothing is picked, except with the paint tool.
  sceneView.polar = 100;
  editState.pointerX = top.x;
  editState.pointerY = top.y;
  EXPECT_FALSE(pickBlock());
  setPaintTool(3);
  EXPECT_TRUE(pickBlock());
  releaseHold();
}

TEST_F(Picking, ADragMovesTheStackOnThePlaneThroughItsLowestCentre) {
  EditView view(buildTower);
  ASSERT_TRUE(view.started);
  const Point side = screenOf(Vec3{-2.5f, 5, -4});
  pickAndHold(side.x, side.y);
  ASSERT_TRUE(editState.holding);
  ASSERT_EQ(editState.pickedBlock, lower);
  EXPECT_EQ(selectedBlock, lower);
  EXPECT_EQ(editState.undoAction, UndoMove);
  EXPECT_EQ(editState.undoPosition, (Vec3{0, 4, 0}));
  editFrameStep();  // the pick's own frame moves nothing
  const Vec3 lowerAt = lower->position, upperAt = upper->position;
  const int x = editState.pointerX, y = editState.pointerY;

  trackPointer(x + 10, y);
  EXPECT_TRUE(editState.movePending);
  const Vec3 expected = rayToPlane(x + 10, y, 4) - rayToPlane(x, y, 4);
  const Vec3 throughGrab = rayToPlane(x + 10, y, 12) - rayToPlane(x, y, 12);
  ASSERT_GT(std::fabs(expected.x - throughGrab.x) + std::fabs(expected.z - throughGrab.z), 0.05f);
  editFrameStep();
  EXPECT_NEAR(lower->position.x - lowerAt.x, expected.x, 1e-3f);
  EXPECT_NEAR(lower->position.z - lowerAt.z, expected.z, 1e-3f);
  EXPECT_FLOAT_EQ(lower->position.y, lowerAt.y);
  EXPECT_NEAR(upper->position.x - upperAt.x, expected.x, 1e-3f);
  EXPECT_FALSE(editState.movePending);
  EXPECT_EQ(editState.deltaX, 0);

  // Let go: the stack snaps onto the plate's studs and stands there linked as before.
  releaseHold();
  EXPECT_FALSE(editState.holding);
  EXPECT_TRUE(MovingSet.entries.empty());
  EXPECT_NEAR(std::fmod(std::fabs(lower->outerMin.x), 4.0f), 0, 1e-3f);
  EXPECT_FLOAT_EQ(lower->position.y, 4);
  EXPECT_FLOAT_EQ(upper->position.y, 10);
  EXPECT_EQ(upper->position.x, lower->position.x);
}

TEST_F(Picking, PointerMovementOutsideTheViewIsNotUsedAndAReturnDoesNotJump) {
  EditView view(buildTower);
  ASSERT_TRUE(view.started);
  const Point side = screenOf(Vec3{-2.5f, 5, -4});
  pickAndHold(side.x, side.y);
  ASSERT_TRUE(editState.holding);
  editFrameStep();
  headlessMouseButton(1, true);  // the button as the system sees it
  Message m;
  while (peekMessage(m)) dispatchMessage(m);
  const Vec3 before = lower->position;
  const int insideX = editState.pointerX, insideY = editState.pointerY;
  trackPointer(-40, side.y);
  EXPECT_TRUE(editState.pointerOutside);
  EXPECT_EQ(editState.deltaX, 0);
  trackPointer(-80, side.y);
  trackPointer(insideX + 30, insideY);  // back in, elsewhere: no jump
  EXPECT_FALSE(editState.pointerOutside);
  EXPECT_EQ(editState.deltaX, 0);
  EXPECT_EQ(editState.pointerX, insideX + 30);
  editFrameStep();
  EXPECT_EQ(lower->position, before);
  headlessMouseButton(1, false);
  releaseHold();
}

TEST_F(Picking, APushedAsideBlockBringsThePointerOntoItsGrabPoint) {
  EditView view([] {
    lower = putBlockInScene(brickAt(-8, 4, 0, {1, 0, 0, 1}));
    obstacle = putBlockInScene(brickAt(0, 4, 0, {0, 0, 1, 1}));
  });
  ASSERT_TRUE(view.started);
  const Point grab = screenOf(Vec3{-8, 7, 0});
  pickAndHold(grab.x, grab.y);
  ASSERT_EQ(editState.pickedBlock, lower);
  editFrameStep();
  // Drag 8 units toward +x, right into the obstacle: the brick climbs onto it.
  const Point to = screenOf(Vec3{0, 7, 0});
  editState.pointerX = grab.x;
  editState.pointerY = grab.y;
  trackPointer(to.x, to.y);
  const Vec3 grabBefore = editState.grabPoint;
  editFrameStep();
  ASSERT_GT(lower->position.y, 4.5f) << "the brick was lifted over the obstacle";
  const Vec3 moved = editState.grabPoint - grabBefore;
  EXPECT_NEAR(moved.y, lower->position.y - 4, 1e-3f);
  const Point onGrab = screenOf(editState.grabPoint);
  EXPECT_EQ(editState.pointerX, onGrab.x);
  EXPECT_EQ(editState.pointerY, onGrab.y);
  EXPECT_EQ(cursorPos(), clientToScreen(view.window, onGrab));
  releaseHold();
}

TEST_F(Picking, PaletteEntriesMakeTheirBlocksAndNothingElse) {
  const auto brick = paletteBlock(Palette::Bricks, 10);
  ASSERT_TRUE(brick);
  EXPECT_EQ(brick->kind, Brick);
  EXPECT_EQ(brick->studsX, 2);
  EXPECT_EQ(brick->studsZ, 1);
  EXPECT_EQ(brick->height, 1);
  EXPECT_EQ(brick->position.z, 1000);
  EXPECT_EQ(brick->colour, (std::array<float, 4>{1, 1, 1, 1}));  // no colour chosen: white
  EXPECT_EQ(brick->faceTextures, (std::array<int32_t, 6>{-1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(paletteBlock(Palette::Bricks, 12)->kind, SlopeBrick);
  EXPECT_EQ(paletteBlock(Palette::Bricks, 11)->kind, Brick);
  EXPECT_FALSE(paletteBlock(Palette::Bricks, 23));
  EXPECT_FALSE(paletteBlock(Palette::Bricks, 0));
  EXPECT_EQ(paletteBlock(Palette::Shapes2, 3)->kind, kAeroplaneKind);
  EXPECT_FALSE(paletteBlock(Palette::Shapes1, 38));
  EXPECT_FALSE(paletteBlock(Palette::Shapes2, 40));

  // Between them the shape palettes offer every shape of the first size band exactly once.
  std::multiset<int> kinds;
  for (int i = 1; i <= 37; ++i) kinds.insert(paletteBlock(Palette::Shapes1, i)->kind);
  for (int i = 1; i <= 39; ++i) kinds.insert(paletteBlock(Palette::Shapes2, i)->kind);
  for (int kind = 3; kind <= 78; ++kind) EXPECT_EQ(kinds.count(kind), 1u) << kind;

  // Shapes face the viewer: the camera's quarter, plus one.
  sceneView.azimuth = 200;
  EXPECT_EQ(paletteBlock(Palette::Shapes1, 1)->orientation, 3);
  sceneView.azimuth = 300;
  EXPECT_EQ(paletteBlock(Palette::Shapes1, 1)->orientation, 0);
  editState.newBlockColour = 4;
  EXPECT_EQ(paletteBlock(Palette::Bricks, 1)->colour, (std::array<float, 4>{1, 0, 0, 1}));
}

TEST_F(Picking, ADragOutOfThePaletteHoldsTheNewBlock) {
  EditView view([] {});
  ASSERT_TRUE(view.started);
  const int before = sceneBlockCount();
  editState.brickPaletteDrag = true;
  editState.brickPaletteEntry = 23;
  EXPECT_FALSE(dropFromPalette(100, 100));
  EXPECT_EQ(sceneBlockCount(), before);
  EXPECT_TRUE(editState.brickPaletteDrag);  // still waiting for an entry that makes something

  editState.brickPaletteEntry = 10;
  ASSERT_TRUE(dropFromPalette(100, 100));
  EXPECT_EQ(sceneBlockCount(), before + 1);
  Block* block = selectedBlock;
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->studsX, 2);
  EXPECT_EQ(block->studsZ, 1);
  // At the left edge of the view, on the plate.
  const Vec3 edge = rayToPlane(0, 130, 0);
  EXPECT_NEAR(block->position.x, edge.x, 1e-3f);
  EXPECT_NEAR(block->position.z, edge.z, 1e-3f);
  EXPECT_FLOAT_EQ(block->position.y, 4);
  EXPECT_TRUE(editState.holding && editState.buttonDown && editState.movePending && movement.leftDrag);
  EXPECT_EQ(MovingSet.entries, std::vector<Block*>{block});
  EXPECT_EQ(editState.undoAction, UndoAdd);
  EXPECT_FALSE(editState.brickPaletteDrag);
  releaseHold();
  // Undo takes it out again, once.
  selectedBlock = block;
  undo();
  EXPECT_EQ(sceneBlockCount(), before);
  EXPECT_EQ(editState.undoAction, UndoNone);
  EXPECT_EQ(selectedBlock, nullptr);
}

TEST_F(Picking, InAGameOnlyWhiteBlocksArePickedUpToMove) {
  Block* white = nullptr;
  Block* red = nullptr;
  EditView view([&] {
    white = putBlockInScene(brickAt(-8, 4, 0, {1, 1, 1, 1}));
    red = putBlockInScene(brickAt(8, 4, 0, {1, 0, 0, 1}));
  });
  ASSERT_TRUE(view.started);
  gameFlags.gameSetup = true;
  const Point r = screenOf(Vec3{8, 7, 0});
  pickAndHold(r.x, r.y);
  EXPECT_EQ(selectedBlock, red);
  EXPECT_FALSE(editState.holding);
  EXPECT_TRUE(MovingSet.entries.empty());
  EXPECT_EQ(cursorName(currentCursor()), "CANNOT");
  releaseHold();
  const Point w = screenOf(Vec3{-8, 7, 0});
  pickAndHold(w.x, w.y);
  EXPECT_EQ(selectedBlock, white);
  EXPECT_TRUE(editState.holding);
  EXPECT_TRUE(editState.movePending);
  releaseHold();
}
