// Block operations: the edit keys (height limits, arrows relative to the view, white-only moves in a game),
// copying 30 blocks but not 31, undo of a deleted tower and the toggling undos, painting toward a colour,
// and the new scene's plate sizes.
#include <algorithm>

#include "EditTestKit.h"
#include "edit/BlockOperations.h"
#include "platform/strings.h"
#include "scene/BlockList.h"

namespace {

class BlockOperations : public testing::Test {
protected:
  void SetUp() override {
    clearSceneState();
    resetEditing();
    headlessClearMessageBoxes();
    headlessSetMessageBoxPolicy(nullptr);
    putBlockInScene(plateDescription(10, 10), NewBlockOptions{true, false});
    lookFrom(220, 40, 80);
  }
  void TearDown() override {
    clearSceneState();
    resetEditing();
  }
};

std::vector<BlockDescription> sortedDescriptions() {
  std::vector<BlockDescription> all;
  for (const auto& node : scene.nodes) all.push_back(describeBlock(*node->block));
  std::sort(all.begin(), all.end(), [](const BlockDescription& a, const BlockDescription& b) {
    return std::tie(a.position.y, a.position.x, a.position.z, a.kind) <
           std::tie(b.position.y, b.position.x, b.position.z, b.kind);
  });
  return all;
}

}  // namespace

TEST_F(BlockOperations, PageUpGrowsUpwardToTenAndNotIntoABlockAbove) {
  Block* brick = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  holdWithButtonDown(brick);
  handleEditKey(VK_PRIOR);
  EXPECT_EQ(brick->height, 2);
  EXPECT_FLOAT_EQ(brick->outerMin.y, 1);  // the bottom stays on the plate
  handleEditKey(VK_NEXT);
  EXPECT_EQ(brick->height, 1);
  EXPECT_FLOAT_EQ(brick->outerMin.y, 1);
  handleEditKey(VK_NEXT);  // one is the least
  EXPECT_EQ(brick->height, 1);
  releaseHold();

  Block* tall = putBlockInScene(brickAt(12, 31, 12, {1, 0, 0, 1}, 2, 2, 10));
  holdWithButtonDown(tall);
  const Vec3 at = tall->position;
  handleEditKey(VK_PRIOR);
  EXPECT_EQ(tall->height, 10);
  EXPECT_EQ(tall->position, at);
  releaseHold();

  Block* under = putBlockInScene(brickAt(-12, 4, -12, {1, 0, 0, 1}));
  putBlockInScene(brickAt(-12, 10, -12, {0, 0, 1, 1}));
  holdWithButtonDown(under);
  listClear(MovingSet);
  listInsert(MovingSet, under);  // the key works on the held block alone
  handleEditKey(VK_PRIOR);
  EXPECT_EQ(under->height, 1);
  EXPECT_FLOAT_EQ(under->position.y, 4);
}

TEST_F(BlockOperations, ArrowsResizeTheHeldBlockAcrossAndAlongTheView) {
  lookFrom(90, 45, 80);  // looking along -z
  Block* brick = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}, 2, 2));
  holdWithButtonDown(brick);
  handleEditKey(VK_RIGHT);  // across the view: x
  EXPECT_EQ(brick->studsX, 3);
  handleEditKey(VK_UP);  // along the view: z
  EXPECT_EQ(brick->studsZ, 3);
  handleEditKey(VK_LEFT);
  handleEditKey(VK_DOWN);
  EXPECT_EQ(brick->studsX, 2);
  EXPECT_EQ(brick->studsZ, 2);
  // Any key puts the paint tool away.
  setPaintTool(5);
  handleEditKey(VK_LEFT);
  EXPECT_EQ(editState.paintTool, 0);
  EXPECT_FALSE(movement.paintToolActive);
}

TEST_F(BlockOperations, LookingAlongMinusZTheUpKeyMovesTheStackFourTowardMinusZ) {
  lookFrom(90, 45, 80);
  ASSERT_LT(editState.forward.z, 0);
  Block* bottom = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* top = putBlockInScene(brickAt(0, 10, 0, {0, 0, 1, 1}));
  selectedBlock = bottom;
  handleEditKey(VK_UP);
  EXPECT_TRUE(movement.keyMove);
  EXPECT_EQ(editState.keyOffset, (Vec3{0, 0, -4}));
  editFrameStep();
  EXPECT_FALSE(movement.keyMove);
  EXPECT_EQ(bottom->position, (Vec3{0, 4, -4}));
  EXPECT_EQ(top->position, (Vec3{0, 10, -4}));
  // Left and Right go across: from this side Right is -x.
  handleEditKey(VK_RIGHT);
  editFrameStep();
  EXPECT_EQ(bottom->position, (Vec3{-4, 4, -4}));
  releaseHold();
  EXPECT_EQ(bottom->position, (Vec3{-4, 4, -4}));
  EXPECT_EQ(top->position, (Vec3{-4, 10, -4}));
}

TEST_F(BlockOperations, InAGameOnlyWhiteBlocksStepOrTurn) {
  Block* red = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* white = putBlockInScene(brickAt(12, 4, 12, {0.9f, 0.9f, 0.9f, 1}));
  gameFlags.gameSetup = true;
  selectedBlock = red;
  handleEditKey(VK_UP);
  EXPECT_FALSE(movement.keyMove);
  turnSelected(90);
  EXPECT_EQ(red->orientation, 0);
  cheatMode = true;  // the cheat code lets every block move
  handleEditKey(VK_UP);
  EXPECT_TRUE(movement.keyMove);
  editFrameStep();
  releaseHold();
  cheatMode = false;
  selectedBlock = white;
  handleEditKey(VK_DOWN);
  EXPECT_TRUE(movement.keyMove);
  editFrameStep();
  releaseHold();
  turnSelected(90);
  EXPECT_EQ(white->orientation, 1);
}

TEST_F(BlockOperations, DeleteKeyRemovesTheHeldStackAndUndoBringsEveryBlockBackOnce) {
  std::vector<Block*> tower;
  for (int i = 0; i < 4; ++i) tower.push_back(putBlockInScene(brickAt(0, 4 + 6.0f * i, 0, {1, 0, 0, 1})));
  putBlockInScene(brickAt(12, 4, 12, {0, 1, 0, 1}));
  const std::vector<BlockDescription> before = sortedDescriptions();
  holdWithButtonDown(tower[0]);
  handleEditKey(VK_DELETE);
  EXPECT_EQ(sceneBlockCount(), 2);
  EXPECT_EQ(selectedBlock, nullptr);
  EXPECT_EQ(editState.pickedBlock, nullptr);
  EXPECT_FALSE(editState.holding);
  EXPECT_FALSE(movement.leftDrag);
  EXPECT_EQ(editState.undoAction, UndoDelete);
  EXPECT_EQ(editState.deletedBlocks.size(), 4u);

  undo();
  EXPECT_EQ(sortedDescriptions(), before);
  EXPECT_EQ(editState.undoAction, UndoNone);
  undo();
  EXPECT_EQ(sceneBlockCount(), 6);
  // The tower stands linked again: picking its bottom takes all four.
  Block* bottom = nullptr;
  for (const auto& node : scene.nodes)
    if (node->block->kind == Brick && node->block->position == Vec3{0, 4, 0}) bottom = node->block.get();
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(collectStack(MovingSet, bottom), 4);
  listClear(MovingSet);
}

TEST_F(BlockOperations, MovesTurnsAndColoursUndoAsToggles) {
  Block* brick = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* onTop = putBlockInScene(brickAt(0, 10, 0, {0, 0, 1, 1}));
  selectedBlock = brick;
  editState.undoAction = UndoMove;
  editState.undoPosition = Vec3{-8, 4, 8};
  undo();
  EXPECT_EQ(brick->position, (Vec3{-8, 4, 8}));
  EXPECT_EQ(onTop->position, (Vec3{-8, 10, 8}));  // the stack moves together
  undo();
  EXPECT_EQ(brick->position, (Vec3{0, 4, 0}));
  EXPECT_EQ(editState.undoAction, UndoMove);

  selectedBlock = onTop;
  turnSelected(90);
  EXPECT_EQ(onTop->orientation, 1);
  EXPECT_EQ(editState.undoAction, UndoTurn);
  EXPECT_TRUE(editState.settlePending);
  undo();
  EXPECT_EQ(onTop->orientation, 0);
  undo();
  EXPECT_EQ(onTop->orientation, 1);

  setPaintTool(2);
  editState.undoAction = UndoColour;
  editState.undoColour = onTop->colour;
  paintStep(*onTop, 0.015f);
  const std::array<float, 4> painted = onTop->colour;
  undo();
  EXPECT_EQ(onTop->colour, (std::array<float, 4>{0, 0, 1, 1}));
  undo();
  EXPECT_EQ(onTop->colour, painted);
  // Without a selected block these undos do nothing.
  selectedBlock = nullptr;
  undo();
  EXPECT_EQ(onTop->colour, painted);
}

TEST_F(BlockOperations, PaintingMovesAColourOneStepTowardThePaint) {
  Block* brick = putBlockInScene(brickAt(0, 4, 0, {1, 1, 1, 1}));
  setPaintTool(2);  // yellow: only blue has to fall
  paintStep(*brick, 0.015f);
  EXPECT_FLOAT_EQ(brick->colour[0], 1);
  EXPECT_FLOAT_EQ(brick->colour[1], 1);
  EXPECT_FLOAT_EQ(brick->colour[2], 0.985f);
  setBlockColour(*brick, 0, 0.5f, 0, 1);
  setPaintTool(4);  // red: red rises first, green waits until nothing rises
  paintStep(*brick, 0.025f);
  EXPECT_FLOAT_EQ(brick->colour[0], 0.025f);
  EXPECT_FLOAT_EQ(brick->colour[1], 0.5f);
  setBlockColour(*brick, 1, 0.005f, 0.995f, 1);
  setPaintTool(6);  // blue, within 0.01 on every channel except red
  paintStep(*brick, 0.015f);
  EXPECT_FLOAT_EQ(brick->colour[0], 0.985f);
  EXPECT_FLOAT_EQ(brick->colour[1], 0.005f);
  setBlockColour(*brick, 0.005f, 0.005f, 0.995f, 1);
  paintStep(*brick, 0.015f);  // close enough: nothing changes
  EXPECT_FLOAT_EQ(brick->colour[2], 0.995f);
  setBlockColour(*brick, 0.988f, 0, 0, 1);
  setPaintTool(1);  // white: channels stop at 1
  paintStep(*brick, 0.015f);
  EXPECT_FLOAT_EQ(brick->colour[0], 1);
  EXPECT_FLOAT_EQ(brick->colour[1], 0.015f);
}

TEST_F(BlockOperations, NewScenePlatesHaveTheTwentySizes) {
  EXPECT_EQ(newScenePlateSize(1).studsX, 10);
  EXPECT_EQ(newScenePlateSize(9).studsZ, 90);
  EXPECT_EQ(newScenePlateSize(12).studsX, 40);
  EXPECT_EQ(newScenePlateSize(12).studsZ, 20);
  EXPECT_EQ(newScenePlateSize(0).studsX, 0);
  EXPECT_EQ(newScenePlateSize(21).studsX, 0);
  int area = 0;
  for (int choice = 1; choice <= 20; ++choice) area += newScenePlateSize(choice).studsX * newScenePlateSize(choice).studsZ;
  EXPECT_EQ(area, 54375);  // the whole table at once

  putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}));
  selectedBlock = scene.nodes.back()->block.get();
  editState.undoAction = UndoDelete;
  editState.deletedBlocks.push_back(describeBlock(*selectedBlock));
  EXPECT_FALSE(newScenePlate(21));
  EXPECT_EQ(sceneBlockCount(), 2);
  ASSERT_TRUE(newScenePlate(16));
  ASSERT_EQ(sceneBlockCount(), 1);
  ASSERT_NE(basePlate, nullptr);
  EXPECT_EQ(basePlate->kind, BasePlate);
  EXPECT_EQ(basePlate->studsX, 80);
  EXPECT_EQ(basePlate->studsZ, 50);
  EXPECT_EQ(basePlate->position, (Vec3{0, 0, 0}));
  EXPECT_EQ(basePlate->colour, (std::array<float, 4>{0, 1, 0, 1}));
  EXPECT_EQ(selectedBlock, nullptr);
  // The old scene's delete cannot be undone into the new one.
  undo();
  EXPECT_EQ(sceneBlockCount(), 1);
}

// Copying needs the drawn view: the stack is picked under the pointer.
TEST_F(BlockOperations, ThirtyBlocksAreCopiedOntoTheStackButThirtyOneAreRefused) {
  for (int count : {30, 31}) {
    Block* base = nullptr;
    EditView view([&] {
      base = putBlockInScene(brickAt(0, 4, 0, {1, 0, 0, 1}, 8, 8));
      int placed = 1;
      for (int row = 0; row < 8 && placed < count; ++row)
        for (int column = 0; column < 8 && placed < count; ++column, ++placed)
          putBlockInScene(brickAt(-14 + 4.0f * column, 10, -14 + 4.0f * row, {0, 0, 1, 1}, 1, 1));
    });
    ASSERT_TRUE(view.started);
    ASSERT_EQ(sceneBlockCount(), count + 1);
    headlessClearMessageBoxes();
    const Point side = screenOf(Vec3{-10, 3, -16});
    editState.pointerX = side.x;
    editState.pointerY = side.y;
    copyStack();
    releaseHold();
    if (count == 30) {
      EXPECT_TRUE(headlessMessageBoxes().empty());
      ASSERT_EQ(sceneBlockCount(), 61);
      // The copy stands on the stack: the copied base rests on the small bricks' tops.
      int onTop = 0;
      for (const auto& node : scene.nodes) {
        const Block& b = *node->block;
        if (b.studsX == 8 && b.position == Vec3{0, 16, 0}) ++onTop;
        if (b.studsX == 1 && b.position.y == 22) ++onTop;
      }
      EXPECT_EQ(onTop, 30);
      EXPECT_EQ(base->position, (Vec3{0, 4, 0}));
      EXPECT_EQ(collectStack(MovingSet, base), 60);  // the copies are linked onto the stack
      listClear(MovingSet);
    } else {
      ASSERT_EQ(headlessMessageBoxes().size(), 1u);
      const char* text = loadString(33);
      EXPECT_EQ(headlessMessageBoxes()[0].text, text ? text : "Sorry you cannot copy more than 30 blocks at one time");
      EXPECT_EQ(sceneBlockCount(), 32);
    }
  }
}
