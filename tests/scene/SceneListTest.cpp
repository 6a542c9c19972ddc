// The scene list's walk, block sets, the support graph and gathering stacks.
#include "scene/BlockTestKit.h"

namespace {

using SceneListTest = BlockModelTest;

Block* addBrick(int studsX, int studsZ, Vec3 position) {
  return putBlockInScene(describe(Brick, studsX, studsZ, 1, position));
}

const SceneNode& nodeOf(const Block* b) { return *sceneFind(b); }

int visibleStuds(const Block& b) {
  int n = 0;
  for (const StudCell& c : b.studCells) n += c.visible;
  return n;
}

TEST_F(SceneListTest, WalkReturnsEveryBlockOnceThenRestarts) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {8, 3, 0});
  Block* c = addBrick(1, 1, {16, 3, 0});
  EXPECT_EQ(sceneNext(), a);
  EXPECT_EQ(sceneNext(), b);
  EXPECT_EQ(sceneNext(), c);
  EXPECT_EQ(sceneNext(), nullptr);
  EXPECT_EQ(sceneNext(), a);
  sceneRewind();
  EXPECT_EQ(sceneNext(), a);
  // Removing the block just returned keeps the walk on the next one.
  EXPECT_EQ(sceneNext(), b);
  sceneRemove(b);
  EXPECT_EQ(sceneNext(), c);
  EXPECT_EQ(sceneNext(), nullptr);
  EXPECT_EQ(sceneFind(b), nullptr);
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
  EXPECT_EQ(listFirst(list), a);
  EXPECT_EQ(listBounds(list), (Box{{-2, 0, -2}, {12, 13, 2}}));
  EXPECT_EQ(listLowestY(list), 3);
  listRewind(list);
  EXPECT_EQ(listNext(list), a);
  EXPECT_EQ(listNext(list), b);
  EXPECT_EQ(listNext(list), nullptr);
  EXPECT_EQ(listNext(list), a);  // after the end, the next call starts over
  BlockList other;
  listTake(list, other);
  EXPECT_EQ(other.count(), 2);
  EXPECT_EQ(list.count(), 0);
}

class Tower : public SceneListTest {
protected:
  void SetUp() override {
    SceneListTest::SetUp();
    plate = putBlockInScene(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
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
  EXPECT_EQ(groundLevel(), 0);
  ASSERT_EQ(nodeOf(middle).supports.size(), 1u);
  EXPECT_EQ(nodeOf(middle).supports[0]->lower, bottom);
  EXPECT_EQ(nodeOf(bottom).supported.size(), 1u);
  EXPECT_EQ(visibleStuds(*bottom), 0);
  EXPECT_EQ(visibleStuds(*plate), 100 - 4);
}

TEST_F(Tower, PickingTheBottomTakesTheWholeTower) {
  EXPECT_EQ(collectStack(MovingSet, bottom), 3);
  EXPECT_EQ(MovingSet.entries, (std::vector<Block*>{bottom, middle, top}));
  EXPECT_TRUE(nodeOf(bottom).supports.empty());
  EXPECT_EQ(visibleStuds(*plate), 100);
}

TEST_F(Tower, PickingTheMiddleUncoversTheBottom) {
  EXPECT_EQ(collectStack(MovingSet, middle), 2);
  EXPECT_EQ(MovingSet.entries, (std::vector<Block*>{middle, top}));
  EXPECT_EQ(visibleStuds(*bottom), 4);
  EXPECT_TRUE(nodeOf(bottom).supported.empty());
  EXPECT_EQ(nodeOf(top).supports.size(), 1u);  // the stack keeps its own links
}

TEST_F(Tower, RemovingABlockLeavesNoLinkToIt) {
  selectedBlock = middle;
  listInsert(MovingSet, middle);
  sceneRemove(middle);
  EXPECT_EQ(selectedBlock, nullptr);
  EXPECT_EQ(MovingSet.count(), 0);
  EXPECT_TRUE(nodeOf(bottom).supported.empty());
  EXPECT_TRUE(nodeOf(top).supports.empty());
  EXPECT_EQ(collectStack(MovingSet, bottom), 1);
  sceneClear();
  EXPECT_EQ(groundLevel(), -2.5f);
  EXPECT_EQ(sceneBlockCount(), 0);
}

TEST_F(SceneListTest, ABrickOnTwoSupportsFollowsThePickedOne) {
  putBlockInScene(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
  Block* a = addBrick(1, 1, {-2, 4, 0});
  Block* b = addBrick(1, 1, {2, 4, 0});
  Block* bridge = addBrick(2, 1, {0, 10, 0});
  ASSERT_EQ(nodeOf(bridge).supports.size(), 2u);
  EXPECT_EQ(visibleStuds(*a), 0);
  EXPECT_EQ(visibleStuds(*b), 0);
  EXPECT_EQ(collectStack(MovingSet, a), 2);
  EXPECT_EQ(MovingSet.entries, (std::vector<Block*>{a, bridge}));
  ASSERT_EQ(nodeOf(bridge).supports.size(), 1u);
  EXPECT_EQ(nodeOf(bridge).supports[0]->lower, a);
  EXPECT_TRUE(nodeOf(b).supported.empty());
  EXPECT_EQ(visibleStuds(*b), 0);  // the stack leaves b's studs as they were
}

TEST_F(SceneListTest, GatheringEndsEvenOnADamagedGraph) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {8, 3, 0});
  addSupportLink(ContactPair{a, 1, b});
  addSupportLink(ContactPair{a, 0, b});
  addSupportLink(ContactPair{a, 0, b});  // the same link twice is made once
  EXPECT_EQ(nodeOf(a).supports.size(), 1u);
  EXPECT_EQ(collectStack(MovingSet, a), 2);
}

TEST_F(SceneListTest, RiseUntilFreeStacksOnTop) {
  addBrick(2, 2, {0, 3, 0});
  NewBlockOptions options;
  options.riseUntilFree = true;
  Block* raised = putBlockInScene(describe(Brick, 2, 2, 1, {0, 3, 0}), options);
  EXPECT_EQ(raised->position.y, 9);
  NewBlockOptions edit;
  edit.fromEditing = true;
  Block* plate = putBlockInScene(describe(BasePlate, 4, 4, 1, {50, 50, 50}), edit);
  EXPECT_EQ(plate->position.y, 0);
  EXPECT_EQ(plate->position.x, 0);
}

}  // namespace
