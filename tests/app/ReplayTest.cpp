// Recorded sessions replayed headless on the shipped data folder: the journal's drag moves the same block
// to the same place as it did on the screen, and a whole editing session leaves the same scene file and
// the same screen as it always has.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "files/SceneFile.h"
#include "platform/paths.h"
#include "scene/World.h"

namespace {

class Replay : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    setenv("TOLVANE_DATA", buildDataPath("").c_str(), 1);
  }
  // Run the whole program on the journal, as `TOLVANE_REPLAY=journal tolvane` does.
  int replay(const std::string& journal) {
    setenv("TOLVANE_REPLAY", journal.c_str(), 1);
    EXPECT_TRUE(platformStart(Backend::Headless));
    return runTolvane(*p, "");
  }
  static std::vector<BlockDescription> readScene(const std::string& path) {
    World world;
    SceneFileState file;
    EXPECT_TRUE(ReadSceneFile(file, world, path)) << path;
    return file.loadedDescriptions;
  }
};

bool samePlace(const Vec3& a, const Vec3& b) {
  return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f && std::fabs(a.z - b.z) < 1e-3f;
}

// FNV-1a, 64 bits, over every byte.
uint64_t fnv1a64(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

TEST_F(Replay, ARecordedDragMovesTheSameBlockToTheSamePlace) {
  EXPECT_EQ(replay(testDataPath("app/car-onto-dog.journal")), 0);
  // "No" to the save question keeps the scene for the next start.
  const std::vector<BlockDescription> before = readScene(buildDataPath("scene/scene.lml"));
  const std::vector<BlockDescription> after = readScene(tmp.file("install/Port/temp.lml"));
  ASSERT_EQ(after.size(), before.size());
  int moved = -1;
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].kind, before[i].kind);
    if (samePlace(after[i].position, before[i].position)) continue;
    EXPECT_EQ(moved, -1) << "only the car moves, with nothing stacked on it";
    moved = static_cast<int>(i);
  }
  ASSERT_NE(moved, -1);
  // The yellow car, dragged from the garden toward the front left, climbed onto the blocks in its way and
  // stands two bricks higher where it was let go, on the stud grid: where the screen showed it.
  EXPECT_EQ(after[moved].kind, 28);
  EXPECT_TRUE(samePlace(before[moved].position, Vec3{4, 4, -20}));
  EXPECT_TRUE(samePlace(after[moved].position, Vec3{-20, 16, -8}))
      << after[moved].position.x << " " << after[moved].position.y << " " << after[moved].position.z;
}

// The screen the edit session saves before its exit: a 640 x 480 bitmap of 24 bits, and its checksum.
constexpr size_t kSessionScreenBytes = 921654;
constexpr uint64_t kSessionScreenFnv = 0x21e667e44202d866ull;

TEST_F(Replay, AWholeEditSessionLeavesTheSameSceneFileAndTheSameScreen) {
  // The car dragged onto the dog and turned, the table copied, the tree deleted, the view orbited, and the
  // exit answered "No". The journal's screenshot is saved beside the journal: here, in the test's folder.
  std::string journal;
  ASSERT_TRUE(readWholeFile(testDataPath("app/edit-session.journal"), journal));
  ASSERT_NE(journal.find(" screenshot edit-session.bmp\n"), std::string::npos);
  ASSERT_TRUE(tmp.write("edit-session.journal", journal));

  EXPECT_EQ(replay(tmp.file("edit-session.journal")), 0);

  // The kept scene, byte for byte.
  std::string expected;
  ASSERT_TRUE(readWholeFile(testDataPath("app/edit-session.lml"), expected));
  EXPECT_EQ(tmp.read("install/Port/temp.lml"), expected);

  const std::string screen = tmp.read("edit-session.bmp");
  ASSERT_EQ(screen.size(), kSessionScreenBytes) << "the session saved no screen";
  if (fnv1a64(screen) != kSessionScreenFnv) {
    const std::string kept = testing::TempDir() + "tolvane-edit-session.bmp";
    std::ofstream(kept, std::ios::binary) << screen;
    ADD_FAILURE() << "The screen after the session is not the one it showed before. This run's screen is kept in "
                  << kept << " (a BMP any picture viewer opens). The expected one is what "
                  << "TOLVANE_REPLAY=<a copy of tests/data/app/edit-session.journal> tolvane saves beside that copy, "
                  << "on a build that passed this test.";
  }
}

TEST_F(Replay, TheBlockBoxThePaintPotTheHammerAndTheTabsInOneSession) {
  const std::vector<BlockDescription> start = readScene(buildDataPath("scene/scene.lml"));
  EXPECT_EQ(replay(testDataPath("app/panels-session.journal")), 0);
  const std::vector<BlockDescription> kept = readScene(tmp.file("install/Port/temp.lml"));

  // Blocks of the start scene that are gone (the tree and what stands on it), and blocks that are new.
  auto contains = [](const std::vector<BlockDescription>& list, const BlockDescription& d) {
    for (const BlockDescription& e : list)
      if (e.kind == d.kind && samePlace(e.position, d.position)) return true;
    return false;
  };
  std::vector<BlockDescription> gone, added;
  for (const BlockDescription& d : start)
    if (!contains(kept, d)) gone.push_back(d);
  for (const BlockDescription& d : kept)
    if (!contains(start, d)) added.push_back(d);
  EXPECT_FALSE(gone.empty());
  for (const BlockDescription& d : gone) EXPECT_GE(d.kind, kFirstShapeKind) << "only the tree's shapes go";
  // The brick from the first block picture, standing on the plate and reddened by the paint pot.
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].kind, Brick);
  EXPECT_GT(added[0].colour[0], added[0].colour[1] + 0.2f);
  EXPECT_GT(added[0].colour[0], added[0].colour[2] + 0.2f);
}
