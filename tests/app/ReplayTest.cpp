// A recorded session replayed headless on the shipped data folder: the journal's drag moves the same block
// to the same place as it did on the screen, and the exit keeps the scene for the next start.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/Shell.h"
#include "edit/EditState.h"
#include "files/SceneFile.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "support/InstallFixture.h"

namespace {

class Replay : public InstallFixture {
protected:
  void SetUp() override {
    InstallFixture::SetUp();
    recordDir(tmp.file("install"));
    setenv("TOLVANE_DATA", buildDataPath("").c_str(), 1);
    shell = ShellState{};
    runFrame = nullptr;
    editState = EditState{};
    movement = MovementState{};
  }
  void TearDown() override {
    unsetenv("TOLVANE_REPLAY");
    platformStart(Backend::Headless);  // the plain back end again for the tests that follow
    sceneClear();
    runFrame = nullptr;
    editState = EditState{};
    movement = MovementState{};
    InstallFixture::TearDown();
  }
  static std::vector<BlockDescription> readScene(const std::string& path) {
    sceneFile.loadedDescriptions.clear();
    EXPECT_TRUE(ReadSceneFile(path)) << path;
    return sceneFile.loadedDescriptions;
  }
};

bool samePlace(const Vec3& a, const Vec3& b) {
  return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f && std::fabs(a.z - b.z) < 1e-3f;
}

TEST_F(Replay, ARecordedDragMovesTheSameBlockToTheSamePlace) {
  setenv("TOLVANE_REPLAY", testDataPath("app/car-onto-dog.journal").c_str(), 1);
  ASSERT_TRUE(platformStart(Backend::Headless));
  EXPECT_EQ(runTolvane(""), 0);
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

}  // namespace
