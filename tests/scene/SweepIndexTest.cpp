// The collision index: overlaps and contacts between neighbours, truncation, scan order, groups, the probe.
#include "scene/BlockTestKit.h"

namespace {

class SweepIndexTest : public BlockModelTest {
protected:
  Block* addBrick(int studsX, int studsZ, Vec3 position, int height = 1) {
    return put(describe(Brick, studsX, studsZ, height, position));
  }
  int query(Block* b, Vec3 offset = {}) {
    sweepResetQuery(world.sweep);
    sweepClearContacts(world.sweep);
    return sweepQuery(world.sweep, *b, offset);
  }
  SweepIndex& index = world.sweep;
};

TEST(Truncation, ThousandthsTowardZero) {
  EXPECT_EQ(truncThousandths(2.9999f), truncThousandths(2.999f));
  EXPECT_EQ(truncThousandths(-2.9999f), truncThousandths(-2.999f));
  EXPECT_EQ(truncThousandths(-2.9999f), -truncThousandths(2.9999f));
  EXPECT_LT(truncThousandths(2.9999f), 3.0f);
  EXPECT_NEAR(truncThousandths(2.9999f), 2.999f, 1e-6);
}

TEST_F(SweepIndexTest, BricksSideBySideDoNotOverlap) {
  Block* left = addBrick(1, 2, {-2, 3, 0});
  Block* right = addBrick(1, 2, {2, 3, 0});
  EXPECT_EQ(left->outerMax.x, 0);
  EXPECT_EQ(query(left), 0);
  EXPECT_EQ(index.contactCount, 0);
  EXPECT_EQ(query(right), 0);
  EXPECT_EQ(query(left, {0.5f, 0, 0}), 1);  // pushed into its neighbour
  EXPECT_EQ(index.candidates, (std::vector<Block*>{right}));
}

TEST_F(SweepIndexTest, QueryNeverReportsTheBlockItself) {
  Block* only = addBrick(2, 2, {0, 3, 0});
  EXPECT_EQ(query(only), 0);
  EXPECT_EQ(query(only, {1, 1, 1}), 0);
}

TEST_F(SweepIndexTest, HeightsAboveTheLowerBodyTop) {
  Block* lower = addBrick(2, 2, {0, 3, 0});  // body top at 6
  Block* upper = create(describe(Brick, 2, 2, 1, {0, 9, 0})).release();
  std::unique_ptr<Block> owned(upper);

  EXPECT_EQ(query(upper), 0);  // exactly resting
  ASSERT_EQ(index.contactCount, 1);
  EXPECT_EQ(index.contacts[0].a, upper);
  EXPECT_EQ(index.contacts[0].b, lower);
  EXPECT_EQ(index.contacts[0].restsOnA, 0);

  EXPECT_EQ(query(upper, {0, 0.5f, 0}), 1);  // cuts into the stud layer
  EXPECT_EQ(query(upper, {0, 1.0f, 0}), 0);
  EXPECT_EQ(index.contactCount, 0);
  EXPECT_EQ(index.contactList.size(), 0u);
  EXPECT_EQ(query(upper, {0, -0.5f, 0}), 0);  // sunk a little: still a contact
  EXPECT_EQ(index.contactCount, 1);

  // Asked from below, the same pair is found the other way round.
  EXPECT_EQ(query(lower, {0, 0, 0}), 0);
  sweepAdd(index, *upper);
  EXPECT_EQ(query(lower), 0);
  ASSERT_EQ(index.contactCount, 1);
  EXPECT_EQ(index.contacts[0].restsOnA, 1);
  sweepRemove(index, *upper);
}

TEST_F(SweepIndexTest, ScanOrderFollowsTheLastCounts) {
  Block* a = addBrick(2, 2, {0, 3, 0});
  Block* b = addBrick(2, 2, {0, 3, 1});
  sweepResetQuery(index);
  EXPECT_EQ(sweepQuery(index, *a, {}), 1);
  EXPECT_EQ(index.lastScanOrder, (std::vector<int>{2, 1, 0}));
  // Make x the most selective axis: a block far along x lies inside a on y and z only.
  addBrick(2, 2, {100, 3, 0});
  sweepResetQuery(index);
  sweepQuery(index, *b, {});
  index.axes[0].scanCount = 0;
  index.axes[1].scanCount = 5;
  index.axes[2].scanCount = 5;
  EXPECT_EQ(sweepQuery(index, *b, {}), 1);
  ASSERT_FALSE(index.lastScanOrder.empty());
  EXPECT_EQ(index.lastScanOrder[0], 0);
  EXPECT_EQ(index.axes[1].scanCount, 2);  // a and the far block overlap b's y range
}

TEST_F(SweepIndexTest, TruncatedEdgesTouchWithoutOverlap) {
  Block* a = addBrick(1, 1, {-2, 3, 0});
  Block* b = create(describe(Brick, 1, 1, 1, {2, 3, 0})).release();
  std::unique_ptr<Block> owned(b);
  // 0.1999 short of the neighbour's edge after the 0.2 pull-in: truncated it lands on the edge itself.
  EXPECT_EQ(query(b, {-0.2f + 0.0001f, 0, 0}), 0);
  EXPECT_EQ(query(b, {-0.21f, 0, 0}), 1);
  (void)a;
}

TEST_F(SweepIndexTest, ContactsGrowPastAThousand) {
  Block* plate = put(describe(BasePlate, 36, 36, 1, {0, 0, 0}));
  for (int r = 0; r < 36; ++r)
    for (int c = 0; c < 36; ++c) addBrick(1, 1, {-70.0f + 4 * c, 4, -70.0f + 4 * r});
  EXPECT_EQ(query(plate), 0);
  EXPECT_EQ(index.contactCount, 36 * 36);
  for (const StudCell& cell : plate->studCells) EXPECT_EQ(cell.visible, 0);
}

TEST_F(SweepIndexTest, MovingSetAsksMemberByMember) {
  put(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
  Block* base = addBrick(2, 2, {0, 4, 0});
  Block* onTop = addBrick(2, 2, {0, 10, 0});
  Block* wall = addBrick(1, 2, {8, 10, 0}, 3);  // a tall brick standing beside the stack
  ASSERT_EQ(collectStack(world, world.movingSet, base), 2);
  EXPECT_EQ(sweepQueryMovingSet(world, {0, 0, 0}), 0);
  EXPECT_EQ(sweepQueryMovingSet(world, {-40, 0, 0}), 0);  // nothing near: the group pre-filter answers
  EXPECT_EQ(sweepQueryMovingSet(world, {4, 0, 0}), 1);
  EXPECT_EQ(index.candidates, (std::vector<Block*>{wall}));
  listClear(world.movingSet);
  listInsert(world.movingSet, onTop);
  EXPECT_EQ(sweepQueryMovingSet(world, {4, 0, 0}), 1);
  listClear(world.movingSet);
  EXPECT_EQ(sweepQueryMovingSet(world, {4, 0, 0}), 0);
}

TEST_F(SweepIndexTest, GroupQueryIgnoresItsMembers) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {4, 3, 0});
  Block* c = addBrick(1, 1, {12, 3, 0});
  EXPECT_EQ(sweepQueryGroup(index, {a, b}, {0, 0, 0}), 0);
  EXPECT_EQ(sweepQueryGroup(index, {b, a}, {5, 0, 0}), 1);
  EXPECT_EQ(index.candidates, (std::vector<Block*>{c}));
}

TEST_F(SweepIndexTest, OneBlockingBlockTellsTheGame) {
  Block* hit = addBrick(1, 1, {4, 3, 0});
  Block* mover = addBrick(1, 1, {0, 3, 0});
  EXPECT_EQ(query(mover, {2, 0, 0}), 1);
  EXPECT_EQ(index.candidates, (std::vector<Block*>{hit}));  // the one block the game reads
  Block* second = addBrick(1, 1, {0, 3, 4});
  EXPECT_EQ(query(mover, {2, 0, 2}), 2);
  EXPECT_EQ(index.candidates, (std::vector<Block*>{hit, second}));  // two: no single block met
  EXPECT_EQ(query(mover, {-8, 0, 0}), 0);
  EXPECT_TRUE(index.candidates.empty());  // a free move leaves no block from an earlier query
}

TEST_F(SweepIndexTest, RemovedAndMovedBlocksLeaveNoEndPoints) {
  Block* a = addBrick(1, 1, {0, 3, 0});
  Block* b = addBrick(1, 1, {20, 3, 0});
  EXPECT_EQ(query(a, {20, 0, 0}), 1);
  translateBlock(*b, 40, 0, 0);
  sweepMove(index, *b);
  EXPECT_EQ(query(a, {20, 0, 0}), 0);
  EXPECT_EQ(query(a, {60, 0, 0}), 1);
  sceneRemove(world, b);
  EXPECT_EQ(query(a, {60, 0, 0}), 0);
  EXPECT_EQ(index.records.count(b), 0u);  // the removed block's record goes with its end points
  EXPECT_EQ(index.records.size(), 1u);
  for (const AxisList& axis : index.axes) {
    int nodes = 0;
    for (SweepNode* n = axis.first; n; n = n->nextNode) {
      ++nodes;
      if (n->nextNode) {
        EXPECT_LE(n->value, n->nextNode->value);
      }
    }
    EXPECT_EQ(nodes, 2);
  }
}

TEST_F(SweepIndexTest, ProbeIsNeverAnObstacle) {
  Block* wall = addBrick(2, 2, {0, 3, 0});
  auto probe = create(describe(Brick, 1, 1, 1, {20, 3, 0}));
  sweepInitProbe(index, *probe);
  EXPECT_EQ(sweepQueryProbe(index, {0, 0, 0}), 0);
  EXPECT_EQ(sweepQueryProbe(index, {-20, 0, 0}), 1);
  EXPECT_EQ(query(wall, {20, 0, 0}), 0);
  destroyBlock(world, *probe);
  EXPECT_EQ(index.probe, nullptr);
  EXPECT_EQ(index.records.count(probe.get()), 0u);
  EXPECT_EQ(sweepQueryProbe(index, {-20, 0, 0}), 0);
}

TEST_F(SweepIndexTest, SnapPutsABlockOnItsSupportsGrid) {
  Block* lower = addBrick(2, 2, {0, 3, 0});
  auto upper = create(describe(Brick, 2, 2, 1, {1.3f, 9.4f, -0.7f}));
  Vec3 out;
  EXPECT_TRUE(snapOffset(ContactPair{upper.get(), 0, lower}, out));
  EXPECT_NEAR(out.x, -1.3, 1e-5);
  EXPECT_NEAR(out.z, 0.7, 1e-5);
  EXPECT_NEAR(out.y, -0.4, 1e-5);
  translateBlock(*upper, 3.5f, 0, 0);  // x 0.8 .. 8.8 over a lower block reaching 4: moves to 0 .. 8
  EXPECT_TRUE(snapOffset(ContactPair{upper.get(), 0, lower}, out));
  EXPECT_NEAR(out.x, -0.8, 1e-5);
}

}  // namespace

namespace {

// Every axis is sorted, the run index names the first node of each run of equal values, and the
// last node is where the list ends.
void expectAxesConsistent(const SweepIndex& index) {
  for (const AxisList& axis : index.axes) {
    size_t runs = 0;
    const SweepNode* previous = nullptr;
    for (const SweepNode* n = axis.first; n; previous = n, n = n->nextNode) {
      EXPECT_EQ(n->prevNode, previous);
      if (previous) {
        EXPECT_LE(previous->value, n->value);
      }
      if (!previous || previous->value != n->value) {
        ++runs;
        auto run = axis.runStart.find(n->value);
        ASSERT_NE(run, axis.runStart.end());
        EXPECT_EQ(run->second, n);
      }
    }
    EXPECT_EQ(axis.last, previous);
    EXPECT_EQ(axis.runStart.size(), runs);
  }
}

TEST_F(SweepIndexTest, EndPointListsStaySortedWithTiesInFront) {
  std::vector<Block*> blocks;
  for (int i = 0; i < 40; ++i) {
    // Many equal end points: bricks on a coarse grid, some exactly on top of each other.
    Block* b = addBrick(1 + i % 2, 1, {4.0f * (i % 5), 3.0f + 6 * (i % 3), 4.0f * (i % 4)});
    blocks.push_back(b);
    for (int axis = 0; axis < 3; ++axis) {
      const SweepNode* low = index.records.at(b).nodes[2 * axis];
      EXPECT_TRUE(!low->prevNode || low->prevNode->value < low->value);  // in front of its equals
    }
    expectAxesConsistent(index);
  }
  for (int i = 0; i < 40; i += 3) {
    translateBlock(*blocks[i], 4, 0, -4);
    sweepMove(index, *blocks[i]);
    expectAxesConsistent(index);
  }
  for (int i = 1; i < 40; i += 2) {
    sceneRemove(world, blocks[i]);
    expectAxesConsistent(index);
  }
  sceneClear(world);
  for (const AxisList& axis : index.axes) {
    EXPECT_EQ(axis.first, nullptr);
    EXPECT_EQ(axis.last, nullptr);
    EXPECT_TRUE(axis.runStart.empty());
  }
}

}  // namespace

namespace {

// The axis walk as first described: insert on a low end or a high end past lo, remove on a high end
// at or below lo, stop at hi. The index's scan must find exactly this set.
std::vector<Block*> walkedSet(const SweepIndex& index, int axis, const Block* moving, float lo, float hi) {
  std::vector<Block*> set;
  for (const SweepNode* n = index.axes[axis].first; n; n = n->nextNode) {
    const float rv = truncThousandths(n->value);
    if (rv >= truncThousandths(hi)) break;
    Block* block = n->entry->block;
    if (block == moving) continue;
    auto at = std::find(set.begin(), set.end(), block);
    if (rv > truncThousandths(lo) || !n->isHigh) {
      if (at == set.end()) set.push_back(block);
    } else if (at != set.end()) {
      set.erase(at);
    }
  }
  std::sort(set.begin(), set.end(), blockBefore);
  return set;
}

TEST_F(SweepIndexTest, AxisScanFindsWhatTheWalkFinds) {
  uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(range));
  };
  std::vector<Block*> blocks;
  for (int i = 0; i < 120; ++i) {
    // Ordinary bricks on a grid, long ones that scans settle one by one, plus boxes of no width and
    // inverted boxes from damaged sizes.
    const int studsX = i % 17 == 0 ? 0 : i % 19 == 0 ? -1 : i % 13 == 0 ? 14 + next(4) : 1 + next(3);
    auto owned = create(describe(Brick, studsX, 1 + next(2), 1 + next(2), {8.0f * next(40), 0.5f * next(40), 8.0f * next(40)}));
    blocks.push_back(placeBuiltBlock(world, std::move(owned)));
  }
  for (int trial = 0; trial < 2000; ++trial) {
    const int axis = next(3);
    const Block* moving = blocks[next(120)];
    const float lo = 0.25f * next(1400) - 5, hi = lo + 0.25f * next(60) - 2;  // sometimes below lo
    const std::vector<Block*> expected = walkedSet(index, axis, moving, lo, hi);
    // Early scans walk the list; once the index has held still, scans read its flat copy.
    sweepResetQuery(index);
    scanAxis(index, axis, moving, lo, hi);
    ASSERT_EQ(index.candidates, expected) << "axis " << axis << " lo " << lo << " hi " << hi;
    ASSERT_EQ(index.axes[axis].scanCount, static_cast<int>(expected.size()));
    if (trial == 1000) {
      // A change to the index drops the flat copy until it has held still again.
      translateBlock(*blocks[7], 2, 0, 0);
      sweepMove(index, *blocks[7]);
      EXPECT_FALSE(index.axes[0].flatValid);
    }
  }
  EXPECT_TRUE(index.axes[0].flatValid);
}

}  // namespace
