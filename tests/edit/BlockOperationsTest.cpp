// Block operations: the edit keys (height limits, arrows relative to the view, white-only moves in a game),
// copying 30 blocks but not 31, undo of a deleted tower and the toggling undos, painting toward a colour,
// and the new scene's plate sizes.
#include <algorithm>

#include "EditTestKit.h"
#include "edit/BlockOperations.h"
#include "scene/BlockList.h"

namespace {

class BlockOperations : public testing::Test {
protected:
  void SetUp() override {
    kit.put(plateDescription(10, 10), NewBlockOptions{true, false});
    lookFrom(ed, 220, 40, 80);
  }
  std::vector<BlockDescription> sortedDescriptions() {
    std::vector<BlockDescription> all;
    for (const auto& node : world.scene.nodes) all.push_back(describeBlock(*node->block));
    std::sort(all.begin(), all.end(), [](const BlockDescription& a, const BlockDescription& b) {
      return std::tie(a.position.y, a.position.x, a.position.z, a.kind) <
             std::tie(b.position.y, b.position.x, b.position.z, b.kind);
    });
    return all;
  }

  EditorKit kit;
  Editor& ed = kit.ed;
  World& world = kit.world;
  EditState& e = kit.ed.state;
};

}  // namespace

TEST_F(BlockOperations, PageUpGrowsUpwardToTenAndNotIntoABlockAbove) {
  Block* brick = kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}));
  holdWithButtonDown(ed, brick);
  handleEditKey(ed, VK_PRIOR);
  EXPECT_EQ(brick->height, 2);
  EXPECT_FLOAT_EQ(brick->outerMin.y, 1);  // the bottom stays on the plate
  handleEditKey(ed, VK_NEXT);
  EXPECT_EQ(brick->height, 1);
  EXPECT_FLOAT_EQ(brick->outerMin.y, 1);
  handleEditKey(ed, VK_NEXT);  // one is the least
  EXPECT_EQ(brick->height, 1);
  releaseHold(ed);

  Block* tall = kit.put(brickAt(12, 31, 12, {1, 0, 0, 1}, 2, 2, 10));
  holdWithButtonDown(ed, tall);
  const Vec3 at = tall->position;
  handleEditKey(ed, VK_PRIOR);
  EXPECT_EQ(tall->height, 10);
  EXPECT_EQ(tall->position, at);
  releaseHold(ed);

  Block* under = kit.put(brickAt(-12, 4, -12, {1, 0, 0, 1}));
  kit.put(brickAt(-12, 10, -12, {0, 0, 1, 1}));
  holdWithButtonDown(ed, under);
  listClear(world.movingSet);
  listInsert(world.movingSet, under);  // the key works on the held block alone
  handleEditKey(ed, VK_PRIOR);
  EXPECT_EQ(under->height, 1);
  EXPECT_FLOAT_EQ(under->position.y, 4);
}

TEST_F(BlockOperations, ArrowsResizeTheHeldBlockAcrossAndAlongTheView) {
  lookFrom(ed, 90, 45, 80);  // looking along -z
  Block* brick = kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}, 2, 2));
  holdWithButtonDown(ed, brick);
  handleEditKey(ed, VK_RIGHT);  // across the view: x
  EXPECT_EQ(brick->studsX, 3);
  handleEditKey(ed, VK_UP);  // along the view: z
  EXPECT_EQ(brick->studsZ, 3);
  handleEditKey(ed, VK_LEFT);
  handleEditKey(ed, VK_DOWN);
  EXPECT_EQ(brick->studsX, 2);
  EXPECT_EQ(brick->studsZ, 2);
  // Any key puts the paint tool away.
  setPaintTool(ed, 5);
  handleEditKey(ed, VK_LEFT);
  EXPECT_EQ(e.paintTool, 0);
  EXPECT_FALSE(world.movement.paintToolActive);
}

TEST_F(BlockOperations, LookingAlongMinusZTheUpKeyMovesTheStackFourTowardMinusZ) {
  lookFrom(ed, 90, 45, 80);
  ASSERT_LT(e.forward.z, 0);
  Block* bottom = kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* top = kit.put(brickAt(0, 10, 0, {0, 0, 1, 1}));
  world.selectedBlock = bottom;
  handleEditKey(ed, VK_UP);
  EXPECT_TRUE(world.movement.keyMove);
  EXPECT_EQ(e.keyOffset, (Vec3{0, 0, -4}));
  editFrameStep(ed);
  EXPECT_FALSE(world.movement.keyMove);
  EXPECT_EQ(bottom->position, (Vec3{0, 4, -4}));
  EXPECT_EQ(top->position, (Vec3{0, 10, -4}));
  // Left and Right go across: from this side Right is -x.
  handleEditKey(ed, VK_RIGHT);
  editFrameStep(ed);
  EXPECT_EQ(bottom->position, (Vec3{-4, 4, -4}));
  releaseHold(ed);
  EXPECT_EQ(bottom->position, (Vec3{-4, 4, -4}));
  EXPECT_EQ(top->position, (Vec3{-4, 10, -4}));
}

TEST_F(BlockOperations, InAGameOnlyWhiteBlocksStepOrTurn) {
  Block* red = kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* white = kit.put(brickAt(12, 4, 12, {0.9f, 0.9f, 0.9f, 1}));
  world.game.gameSetup = true;
  world.selectedBlock = red;
  handleEditKey(ed, VK_UP);
  EXPECT_FALSE(world.movement.keyMove);
  turnSelected(ed, 90);
  EXPECT_EQ(red->orientation, 0);
  world.cheatMode = true;  // the cheat code lets every block move
  handleEditKey(ed, VK_UP);
  EXPECT_TRUE(world.movement.keyMove);
  editFrameStep(ed);
  releaseHold(ed);
  world.cheatMode = false;
  world.selectedBlock = white;
  handleEditKey(ed, VK_DOWN);
  EXPECT_TRUE(world.movement.keyMove);
  editFrameStep(ed);
  releaseHold(ed);
  turnSelected(ed, 90);
  EXPECT_EQ(white->orientation, 1);
}

TEST_F(BlockOperations, DeleteKeyRemovesTheHeldStackAndUndoBringsEveryBlockBackOnce) {
  std::vector<Block*> tower;
  for (int i = 0; i < 4; ++i) tower.push_back(kit.put(brickAt(0, 4 + 6.0f * i, 0, {1, 0, 0, 1})));
  kit.put(brickAt(12, 4, 12, {0, 1, 0, 1}));
  const std::vector<BlockDescription> before = sortedDescriptions();
  holdWithButtonDown(ed, tower[0]);
  handleEditKey(ed, VK_DELETE);
  EXPECT_TRUE(ed.sceneEdited);  // the shell learns that the scene needs keeping
  EXPECT_EQ(world.scene.count(), 2);
  EXPECT_EQ(world.selectedBlock, nullptr);
  EXPECT_EQ(e.pickedBlock, nullptr);
  EXPECT_FALSE(e.holding);
  EXPECT_FALSE(world.movement.leftDrag);
  EXPECT_EQ(e.undoAction, UndoDelete);
  EXPECT_EQ(e.deletedBlocks.size(), 4u);

  ed.sceneEdited = false;
  undo(ed);
  EXPECT_TRUE(ed.sceneEdited);
  EXPECT_EQ(sortedDescriptions(), before);
  EXPECT_EQ(e.undoAction, UndoNone);
  undo(ed);
  EXPECT_EQ(world.scene.count(), 6);
  // The tower stands linked again: picking its bottom takes all four.
  Block* bottom = nullptr;
  for (const auto& node : world.scene.nodes)
    if (node->block->kind == Brick && node->block->position == Vec3{0, 4, 0}) bottom = node->block.get();
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(collectStack(world, world.movingSet, bottom), 4);
  listClear(world.movingSet);
}

TEST_F(BlockOperations, MovesTurnsAndColoursUndoAsToggles) {
  Block* brick = kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}));
  Block* onTop = kit.put(brickAt(0, 10, 0, {0, 0, 1, 1}));
  world.selectedBlock = brick;
  e.undoAction = UndoMove;
  e.undoPosition = Vec3{-8, 4, 8};
  undo(ed);
  EXPECT_EQ(brick->position, (Vec3{-8, 4, 8}));
  EXPECT_EQ(onTop->position, (Vec3{-8, 10, 8}));  // the stack moves together
  undo(ed);
  EXPECT_EQ(brick->position, (Vec3{0, 4, 0}));
  EXPECT_EQ(e.undoAction, UndoMove);

  world.selectedBlock = onTop;
  turnSelected(ed, 90);
  EXPECT_EQ(onTop->orientation, 1);
  EXPECT_EQ(e.undoAction, UndoTurn);
  EXPECT_TRUE(e.settlePending);
  undo(ed);
  EXPECT_EQ(onTop->orientation, 0);
  undo(ed);
  EXPECT_EQ(onTop->orientation, 1);

  setPaintTool(ed, 2);
  e.undoAction = UndoColour;
  e.undoColour = onTop->colour;
  paintStep(ed, *onTop, 0.015f);
  const std::array<float, 4> painted = onTop->colour;
  undo(ed);
  EXPECT_EQ(onTop->colour, (std::array<float, 4>{0, 0, 1, 1}));
  undo(ed);
  EXPECT_EQ(onTop->colour, painted);
  // Without a selected block these undos do nothing.
  world.selectedBlock = nullptr;
  ed.sceneEdited = false;
  undo(ed);
  EXPECT_EQ(onTop->colour, painted);
  EXPECT_FALSE(ed.sceneEdited);
}

TEST_F(BlockOperations, PaintingMovesAColourOneStepTowardThePaint) {
  Block* brick = kit.put(brickAt(0, 4, 0, {1, 1, 1, 1}));
  setPaintTool(ed, 2);  // yellow: only blue has to fall
  paintStep(ed, *brick, 0.015f);
  EXPECT_FLOAT_EQ(brick->colour[0], 1);
  EXPECT_FLOAT_EQ(brick->colour[1], 1);
  EXPECT_FLOAT_EQ(brick->colour[2], 0.985f);
  setBlockColour(world.materials, *brick, 0, 0.5f, 0, 1);
  setPaintTool(ed, 4);  // red: red rises first, green waits until nothing rises
  paintStep(ed, *brick, 0.025f);
  EXPECT_FLOAT_EQ(brick->colour[0], 0.025f);
  EXPECT_FLOAT_EQ(brick->colour[1], 0.5f);
  setBlockColour(world.materials, *brick, 1, 0.005f, 0.995f, 1);
  setPaintTool(ed, 6);  // blue, within 0.01 on every channel except red
  paintStep(ed, *brick, 0.015f);
  EXPECT_FLOAT_EQ(brick->colour[0], 0.985f);
  EXPECT_FLOAT_EQ(brick->colour[1], 0.005f);
  setBlockColour(world.materials, *brick, 0.005f, 0.005f, 0.995f, 1);
  paintStep(ed, *brick, 0.015f);  // close enough: nothing changes
  EXPECT_FLOAT_EQ(brick->colour[2], 0.995f);
  setBlockColour(world.materials, *brick, 0.988f, 0, 0, 1);
  setPaintTool(ed, 1);  // white: channels stop at 1
  paintStep(ed, *brick, 0.015f);
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

  kit.put(brickAt(0, 4, 0, {1, 0, 0, 1}));
  world.selectedBlock = world.scene.nodes.back()->block.get();
  e.undoAction = UndoDelete;
  e.deletedBlocks.push_back(describeBlock(*world.selectedBlock));
  ed.sceneEdited = false;
  EXPECT_FALSE(newScenePlate(ed, 21));
  EXPECT_EQ(world.scene.count(), 2);
  EXPECT_FALSE(ed.sceneEdited);
  ASSERT_TRUE(newScenePlate(ed, 16));
  EXPECT_TRUE(ed.sceneEdited);
  ASSERT_EQ(world.scene.count(), 1);
  ASSERT_NE(world.basePlate, nullptr);
  EXPECT_EQ(world.basePlate->kind, BasePlate);
  EXPECT_EQ(world.basePlate->studsX, 80);
  EXPECT_EQ(world.basePlate->studsZ, 50);
  EXPECT_EQ(world.basePlate->position, (Vec3{0, 0, 0}));
  EXPECT_EQ(world.basePlate->colour, (std::array<float, 4>{0, 1, 0, 1}));
  EXPECT_EQ(world.selectedBlock, nullptr);
  // The old scene's delete cannot be undone into the new one.
  undo(ed);
  EXPECT_EQ(world.scene.count(), 1);
}

// Copying needs the drawn view: the stack is picked under the pointer. Too big a stack is refused with
// nothing copied; the shell tells the user.
TEST_F(BlockOperations, ThirtyBlocksAreCopiedOntoTheStackButThirtyOneAreRefused) {
  for (int count : {30, 31}) {
    Block* base = nullptr;
    EditView view([&](World& world) {
      base = putBlockInScene(world, brickAt(0, 4, 0, {1, 0, 0, 1}, 8, 8));
      int placed = 1;
      for (int row = 0; row < 8 && placed < count; ++row)
        for (int column = 0; column < 8 && placed < count; ++column, ++placed)
          putBlockInScene(world, brickAt(-14 + 4.0f * column, 10, -14 + 4.0f * row, {0, 0, 1, 1}, 1, 1));
    });
    ASSERT_TRUE(view.started);
    World& world = view.world;
    ASSERT_EQ(world.scene.count(), count + 1);
    headlessClearMessageBoxes();
    const Point side = view.screenOf(Vec3{-10, 3, -16});
    view.ed.state.pointerX = side.x;
    view.ed.state.pointerY = side.y;
    const CopyResult result = copyStack(view.ed);
    releaseHold(view.ed);
    EXPECT_TRUE(headlessMessageBoxes().empty());
    if (count == 30) {
      EXPECT_EQ(result, CopyResult::Copied);
      EXPECT_TRUE(view.ed.sceneEdited);
      ASSERT_EQ(world.scene.count(), 61);
      // The copy stands on the stack: the copied base rests on the small bricks' tops.
      int onTop = 0;
      for (const auto& node : world.scene.nodes) {
        const Block& b = *node->block;
        if (b.studsX == 8 && b.position == Vec3{0, 16, 0}) ++onTop;
        if (b.studsX == 1 && b.position.y == 22) ++onTop;
      }
      EXPECT_EQ(onTop, 30);
      EXPECT_EQ(base->position, (Vec3{0, 4, 0}));
      EXPECT_EQ(collectStack(world, world.movingSet, base), 60);  // the copies are linked onto the stack
      listClear(world.movingSet);
    } else {
      EXPECT_EQ(result, CopyResult::TooMany);
      EXPECT_FALSE(view.ed.sceneEdited);
      EXPECT_EQ(world.scene.count(), 32);
      EXPECT_EQ(base->position, (Vec3{0, 4, 0}));
    }
  }
  // Nothing under the pointer: nothing to copy.
  EditView empty([](World&) {});
  ASSERT_TRUE(empty.started);
  empty.ed.state.pointerX = empty.ed.state.pointerY = 1;
  EXPECT_EQ(copyStack(empty.ed), CopyResult::NothingPicked);
  EXPECT_EQ(empty.world.scene.count(), 1);
}
