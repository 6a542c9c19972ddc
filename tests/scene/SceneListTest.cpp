// The scene list's order, block sets, the support graph and gathering stacks.
#include "scene/BlockTestKit.h"

namespace {

class SceneListTest : public BlockModelTest {
protected:
  Block* addBrick(int studsX, int studsZ, Vec3 position) { return put(describe(Brick, studsX, studsZ, 1, position)); }
  std::vector<Block*> sceneBlocks() const {
    std::vector<Block*> blocks;
    for (const auto& node : world.scene.nodes) blocks.push_back(node->block.get());
    return blocks;
  }
};

int visibleStuds(const Block& b) {
  int n = 0;
  for (const StudCell& c : b.studCells) n += c.visible;
  return n;
}

TEST_F(SceneListTest, SceneHoldsEveryBlockOnceInIdentityOrder) {
  Block* c = addBrick(1, 1, {16, 3, 0});
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {8, 3, 0});
  EXPECT_EQ(sceneBlocks(), (std::vector<Block*>{c, a, b}));  // the order they were made in
  EXPECT_EQ(world.scene.count(), 3);
  EXPECT_EQ(sceneFind(world.scene, a)->block.get(), a);
  // Removing a block keeps the others in order and forgets it everywhere.
  sceneRemove(world, a);
  EXPECT_EQ(sceneBlocks(), (std::vector<Block*>{c, b}));
  EXPECT_EQ(sceneFind(world.scene, a), nullptr);
  EXPECT_EQ(world.scene.nodeOf.size(), 2u);
  sceneRemove(world, a);  // a block already gone is left alone
  EXPECT_EQ(world.scene.count(), 2);
  // A block made later still goes to the end, whatever was removed before it.
  Block* d = addBrick(1, 1, {0, 3, 0});
  EXPECT_EQ(sceneBlocks(), (std::vector<Block*>{c, b, d}));
}

TEST_F(SceneListTest, BlockListsAreSetsInIdentityOrder) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(2, 1, {8, 9, 0});
  BlockList list;
  EXPECT_EQ(listBounds(list), invertedBox());
  EXPECT_EQ(listLowestY(list), kFloatMax);
  listInsert(list, b);
  listInsert(list, a);
  listInsert(list, b);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.first(), a);
  EXPECT_EQ(listBounds(list), (Box{{-2, 0, -2}, {12, 13, 2}}));
  EXPECT_EQ(listLowestY(list), 3);
  EXPECT_EQ(list.entries, (std::vector<Block*>{a, b}));
  listRemove(list, a);
  listRemove(list, a);
  EXPECT_EQ(list.first(), b);
  listInsert(list, a);
  BlockList other;
  listTake(list, other);
  EXPECT_EQ(other.count(), 2);
  EXPECT_EQ(list.count(), 0);
}

class Tower : public SceneListTest {
protected:
  void SetUp() override {
    SceneListTest::SetUp();
    plate = put(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
    bottom = addBrick(2, 2, {0, 4, 0});
    middle = addBrick(2, 2, {0, 10, 0});
    top = addBrick(2, 2, {0, 16, 0});
  }
  Block* plate = nullptr;
  Block* bottom = nullptr;
  Block* middle = nullptr;
  Block* top = nullptr;
};

TEST_F(Tower, NewBlocksRestOnWhatIsBelowThem) {
  EXPECT_EQ(groundLevel(world.scene), 0);
  ASSERT_EQ(nodeOf(middle).supports.size(), 1u);
  EXPECT_EQ(nodeOf(middle).supports[0]->lower, bottom);
  EXPECT_EQ(nodeOf(bottom).supported.size(), 1u);
  EXPECT_EQ(visibleStuds(*bottom), 0);
  EXPECT_EQ(visibleStuds(*plate), 100 - 4);
}

TEST_F(Tower, PickingTheBottomTakesTheWholeTower) {
  EXPECT_EQ(collectStack(world, world.movingSet, bottom), 3);
  EXPECT_EQ(world.movingSet.entries, (std::vector<Block*>{bottom, middle, top}));
  EXPECT_TRUE(nodeOf(bottom).supports.empty());
  EXPECT_EQ(visibleStuds(*plate), 100);
}

TEST_F(Tower, PickingTheMiddleUncoversTheBottom) {
  EXPECT_EQ(collectStack(world, world.movingSet, middle), 2);
  EXPECT_EQ(world.movingSet.entries, (std::vector<Block*>{middle, top}));
  EXPECT_EQ(visibleStuds(*bottom), 4);
  EXPECT_TRUE(nodeOf(bottom).supported.empty());
  EXPECT_EQ(nodeOf(top).supports.size(), 1u);  // the stack keeps its own links
}

TEST_F(Tower, RemovingABlockLeavesNoLinkToIt) {
  world.selectedBlock = middle;
  listInsert(world.movingSet, middle);
  sceneRemove(world, middle);
  EXPECT_EQ(world.selectedBlock, nullptr);
  EXPECT_EQ(world.movingSet.count(), 0);
  EXPECT_TRUE(nodeOf(bottom).supported.empty());
  EXPECT_TRUE(nodeOf(top).supports.empty());
  EXPECT_EQ(collectStack(world, world.movingSet, bottom), 1);
  sceneClear(world);
  EXPECT_EQ(groundLevel(world.scene), -2.5f);
  EXPECT_EQ(world.scene.count(), 0);
}

TEST_F(SceneListTest, ABrickOnTwoSupportsFollowsThePickedOne) {
  put(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
  Block* a = addBrick(1, 1, {-2, 4, 0});
  Block* b = addBrick(1, 1, {2, 4, 0});
  Block* bridge = addBrick(2, 1, {0, 10, 0});
  ASSERT_EQ(nodeOf(bridge).supports.size(), 2u);
  EXPECT_EQ(visibleStuds(*a), 0);
  EXPECT_EQ(visibleStuds(*b), 0);
  EXPECT_EQ(collectStack(world, world.movingSet, a), 2);
  EXPECT_EQ(world.movingSet.entries, (std::vector<Block*>{a, bridge}));
  ASSERT_EQ(nodeOf(bridge).supports.size(), 1u);
  EXPECT_EQ(nodeOf(bridge).supports[0]->lower, a);
  EXPECT_TRUE(nodeOf(b).supported.empty());
  EXPECT_EQ(visibleStuds(*b), 0);  // the stack leaves b's studs as they were
}

TEST_F(SceneListTest, GatheringEndsEvenOnADamagedGraph) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {8, 3, 0});
  addSupportLink(world.scene, ContactPair{a, 1, b});
  addSupportLink(world.scene, ContactPair{a, 0, b});
  addSupportLink(world.scene, ContactPair{a, 0, b});  // the same link twice is made once
  EXPECT_EQ(nodeOf(a).supports.size(), 1u);
  EXPECT_EQ(collectStack(world, world.movingSet, a), 2);
}

TEST_F(SceneListTest, RiseUntilFreeStacksOnTop) {
  addBrick(2, 2, {0, 3, 0});
  NewBlockOptions options;
  options.riseUntilFree = true;
  Block* raised = put(describe(Brick, 2, 2, 1, {0, 3, 0}), options);
  EXPECT_EQ(raised->position.y, 9);
  NewBlockOptions edit;
  edit.fromEditing = true;
  Block* plate = put(describe(BasePlate, 4, 4, 1, {50, 50, 50}), edit);
  EXPECT_EQ(plate->position.y, 0);
  EXPECT_EQ(plate->position.x, 0);
}

TEST_F(SceneListTest, WorldsShareNeitherBlocksNorIdentities) {
  Block* mine = addBrick(2, 2, {0, 3, 0});
  World other;
  NewBlockOptions rise;
  rise.riseUntilFree = true;
  Block* theirs = putBlockInScene(other, describe(Brick, 2, 2, 1, {0, 3, 0}), rise);
  EXPECT_EQ(theirs->position, mine->position);  // our brick is not in the other world's way
  EXPECT_EQ(theirs->serial, mine->serial);      // each world numbers its blocks from the start
  EXPECT_EQ(world.scene.count(), 1);
  EXPECT_EQ(other.scene.count(), 1);
  EXPECT_EQ(sceneFind(world.scene, theirs), nullptr);
  sceneClear(other);
  EXPECT_EQ(sceneFind(world.scene, mine)->block.get(), mine);
}

}  // namespace
