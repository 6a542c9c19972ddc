// Building a loaded scene in a large world: the blocks settle exactly as when every query walks the
// axis lists (the way small scenes are still asked), and later drags ask the same questions of both.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "files/SceneFile.h"
#include "scene/BlockTestKit.h"

namespace {

// A scene file of plates, bricks of many sizes and heights, slopes and shapes (one kind without a
// shape), in shuffled order: most stand exactly on a level where something may end, some lie on top
// of each other, some float at odd heights or half a stud off the grid.
std::string randomSceneText(int blocks, uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  std::vector<std::string> lines;
  char line[256];
  auto add = [&](int kind, int sx, int sz, int h, int orientation, float x, float y, float z) {
    std::snprintf(line, sizeof line, "%d %d %d %d %d %f %f %f 0.5 0.5 0.5 1 -1 -1 -1 -1 -1 -1\r\n", kind, sx, sz, h,
                  orientation, x, y, z);
    lines.push_back(line);
  };
  add(BasePlate, 100, 100, 1, 0, 0, 0, 0);
  add(BasePlate, 8, 8, 1, 0, 100, 12, 0);  // a second plate, raised, that some blocks hang over
  while (static_cast<int>(lines.size()) < blocks) {
    const int roll = pick(20);
    const int kind = roll < 14 ? Brick : roll < 16 ? SlopeBrick : roll < 19 ? 3 + pick(8) : 11;
    const int sx = 1 + pick(roll < 2 ? 12 : 3), sz = 1 + pick(3);
    float x = -192.0f + 4.0f * pick(96) + (sx % 2 ? 2.0f : 0.0f);
    const float z = -192.0f + 4.0f * pick(96) + (sz % 2 ? 2.0f : 0.0f);
    if (pick(4) == 0) {
      // A loose block: anywhere in height, sometimes half a stud off the grid, sometimes twice.
      const float bottom = pick(3) == 0 ? 0.25f * pick(200) : 1.0f + 6.0f * pick(6) + (pick(4) == 0 ? 0.5f : 0.0f);
      const int h = 1 + pick(3);
      add(kind, sx, sz, h, pick(4), x + (pick(4) == 0 ? 2.0f : 0.0f), bottom + 3.0f * h, z);
      if (pick(8) == 0) lines.push_back(lines.back());
      continue;
    }
    // A tower from the plate up, each brick on the one below, some shifted by a stud.
    float bottom = 1;
    for (int level = 0, levels = 1 + pick(6); level < levels; ++level) {
      const int h = pick(5) == 0 ? 2 : 1;
      if (pick(5) == 0) x += 4;
      add(level == 0 ? Brick : kind, sx, sz, h, pick(4), x, bottom + 3.0f * h, z);
      bottom += 6.0f * h;
    }
  }
  std::shuffle(lines.begin(), lines.end(), random);
  std::string text = "10.0 20.0 300.0 0 0 0\r\n0 100 0 0 -1 0\r\n" + std::to_string(lines.size()) + "\r\n";
  for (const std::string& l : lines) text += l;
  return text;
}

// The same scene read and built into two worlds: one as every scene is built, the other asking every
// query by walking the axis lists.
class LargeSceneBuild : public ::testing::Test {
protected:
  void SetUp() override {
    walked.sweep.cellsFrom = SIZE_MAX;
    for (World* w : {&built, &walked})
      for (int entry = 0; entry < 8; ++entry) w->shapes.entries[entry] = boxShape(-3, 3);
  }
  void load(const std::string& text) {
    for (World* w : {&built, &walked}) {
      SceneFileState file;
      ASSERT_TRUE(readSceneText(file, *w, text, "random.lml"));
      BuildLoadedScene(file, *w);
    }
  }
  static std::vector<uint64_t> serials(const std::vector<Block*>& blocks) {
    std::vector<uint64_t> out;
    for (const Block* b : blocks) out.push_back(b->serial);
    return out;
  }
  static std::vector<uint64_t> contacts(const SweepIndex& index) {
    std::vector<uint64_t> out;
    for (const ContactPair& p : index.contactList) out.insert(out.end(), {p.a->serial, uint64_t(p.restsOnA), p.b->serial});
    return out;
  }
  Block* blockAt(World& w, size_t i) { return w.scene.nodes[i]->block.get(); }
  // An axis as the blocks' identities and ends in list order.
  static std::vector<uint64_t> axisOrder(const AxisList& axis) {
    std::vector<uint64_t> out;
    for (const SweepNode* n = axis.first; n; n = n->nextNode) out.push_back(2 * n->entry->serial + n->isHigh);
    return out;
  }

  World built, walked;
};

TEST_F(LargeSceneBuild, SettlesEveryBlockAsTheWalkingIndexDoes) {
  load(randomSceneText(3000, 20261209));
  ASSERT_EQ(built.scene.count(), walked.scene.count());
  ASSERT_GE(built.scene.count(), 3000);
  ASSERT_GE(built.sweep.cells.blocks, built.sweep.cellsFrom);  // the large world did look in its cells
  // The end points entered the axes in one pass, in the order one by one would have left them.
  for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(axisOrder(built.sweep.axes[axis]), axisOrder(walked.sweep.axes[axis]));
  int links = 0, hidden = 0;
  for (size_t i = 0; i < built.scene.nodes.size(); ++i) {
    const SceneNode& a = *built.scene.nodes[i];
    const SceneNode& b = *walked.scene.nodes[i];
    SCOPED_TRACE("block " + std::to_string(i));
    ASSERT_EQ(a.block->serial, b.block->serial);
    EXPECT_EQ(static_cast<const BlockDescription&>(*a.block), static_cast<const BlockDescription&>(*b.block));
    EXPECT_EQ(outerBox(*a.block), outerBox(*b.block));
    std::vector<uint64_t> lowerA, lowerB, upperA, upperB;
    for (const auto& link : a.supports) lowerA.push_back(link->lower->serial);
    for (const auto& link : b.supports) lowerB.push_back(link->lower->serial);
    for (const SupportLink* link : a.supported) upperA.push_back(link->upper->serial);
    for (const SupportLink* link : b.supported) upperB.push_back(link->upper->serial);
    EXPECT_EQ(lowerA, lowerB);
    EXPECT_EQ(upperA, upperB);  // the same resting blocks in the same order
    links += static_cast<int>(lowerA.size());
    // A brick's or plate's stud is hidden exactly when a block resting on it covers its first corner.
    ASSERT_EQ(a.block->studCells.size(), b.block->studCells.size());
    for (size_t c = 0; c < a.block->studCells.size(); ++c) {
      const int visible = a.block->studCells[c].visible;
      EXPECT_EQ(visible, b.block->studCells[c].visible);
      if (a.block->kind != Brick && a.block->kind != BasePlate) continue;
      const Vertex& v = a.block->studVertices[c][0];
      bool covered = false;
      for (const SupportLink* link : a.supported) {
        const Block& u = *link->upper;
        covered = covered || (u.bottomSlabMin.x < v.x && v.x < u.bottomSlabMax.x && u.bottomSlabMin.z < v.z &&
                              v.z < u.bottomSlabMax.z);
      }
      EXPECT_EQ(visible, covered ? 0 : 1);
      hidden += 1 - visible;
    }
  }
  // The random scene is a real test only if much of it stacks.
  EXPECT_GT(links, 1000) << links;
  EXPECT_GT(hidden, 1000) << hidden;
}

TEST_F(LargeSceneBuild, DragsMeetTheSameBlocksAsTheWalkingIndex) {
  load(randomSceneText(2000, 7));
  std::mt19937 random(99);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  int blocked = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const size_t i = static_cast<size_t>(pick(built.scene.count()));
    const int gathered = collectStack(built, built.movingSet, blockAt(built, i));
    ASSERT_EQ(gathered, collectStack(walked, walked.movingSet, blockAt(walked, i)));
    ASSERT_EQ(serials(built.movingSet.entries), serials(walked.movingSet.entries));
    for (int step = 0; step < 8; ++step) {
      // Whole studs and brick levels mostly, with odd steps like a pointer's.
      const Vec3 offset{4.0f * (pick(9) - 4) + (pick(3) == 0 ? 0.37f : 0.0f), 3.0f * (pick(5) - 2),
                        4.0f * (pick(9) - 4) - (pick(4) == 0 ? 0.2f : 0.0f)};
      const int count = sweepQueryMovingSet(built, offset);
      ASSERT_EQ(count, sweepQueryMovingSet(walked, offset)) << trial << " " << step;
      EXPECT_EQ(serials(built.sweep.candidates), serials(walked.sweep.candidates));
      EXPECT_EQ(contacts(built.sweep), contacts(walked.sweep));
      blocked += count > 0;
      // The picked block alone, as a resize or a single drop asks.
      sweepResetQuery(built.sweep);
      sweepResetQuery(walked.sweep);
      ASSERT_EQ(sweepQuery(built.sweep, *blockAt(built, i), offset), sweepQuery(walked.sweep, *blockAt(walked, i), offset));
      EXPECT_EQ(serials(built.sweep.candidates), serials(walked.sweep.candidates));
      EXPECT_EQ(contacts(built.sweep), contacts(walked.sweep));
    }
    // Dropped where it was: both worlds link the stack again the same way.
    sweepQueryMovingSet(built, {});
    sweepQueryMovingSet(walked, {});
    if (built.sweep.candidateCount == 0 && !built.sweep.contactList.empty()) {
      sweepBuildSupports(built);
      sweepBuildSupports(walked);
    }
    listClear(built.movingSet);
    listClear(walked.movingSet);
  }
  EXPECT_GT(blocked, 300) << blocked;
}

}  // namespace
