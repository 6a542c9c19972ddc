// The game in the real program on the shipped data folder, driven by injected clicks: the game tab keeps
// the scene and closing the game slots comes back with the music; a level loaded from the slots flies;
// pause, fast flight and the tabs' refusal while a level is loaded; leaving the game brings back exactly
// the scene that was being edited, and its background; after the last level, congratulations and level 1
// again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/PanelArt.h"
#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "platform/dialog.h"
#include "files/InstallFolders.h"
#include "game/Game.h"
#include "platform/paths.h"
#include "scene/SceneList.h"

namespace {

const Rect kGameTab{356, 0, 420, 23}, kOptionsTab{422, 0, 485, 23};
const Rect kTakeOff{62, 10, 131, 69};
const Rect kPause{136, 9, 177, 70}, kFastFlight{477, 19, 523, 66}, kGameExit{190, 7, 240, 70};

class Game : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    startOnShippedData();
  }
  // The shipped first level as game slot 1 of the install.
  void installFirstLevel() {
    for (const char* name : {"game001.gam", "gimg001.bmp"}) {
      std::string bytes;
      ASSERT_TRUE(readWholeFile(buildDataPath(std::string("save/") + name), bytes));
      tmp.write(std::string("install/Save/") + name, bytes);
    }
  }
  void click(HWindow w, const Rect& r) {
    press(clientToScreen(w, Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    release();
  }
  // Frames of the loop with the clock running, as the loop gives them while the aeroplane flies.
  void fly(int frames) {
    for (int i = 0; i < frames; ++i) {
      headlessAdvanceClock(40);
      pump();
    }
  }
  // Every block's kind and place, in scene order.
  std::vector<std::pair<int, Vec3>> sceneNow() {
    std::vector<std::pair<int, Vec3>> out;
    for (const auto& node : p->world.scene.nodes) out.emplace_back(node->block->kind, node->block->position);
    return out;
  }
};

}  // namespace

TEST_F(Game, TheGameTabKeepsTheSceneAndClosingTheGameSlotsComesBackWithTheMusic) {
  const std::string snapshot = joinPath(systemScratchFolder(), "~temp.lml");
  removeFile(snapshot);
  ASSERT_TRUE(p->sound.musicOn);
  const auto before = sceneNow();
  bool musicOffWhileOpen = false;
  headlessSetDialogPolicy([&](Dialog&, const std::string& name) {
    musicOffWhileOpen = name == "THUMBNAIL" && !p->sound.musicOn && p->shell.screenState == GameSelectScreen;
    return thumbnail::kClose;
  });
  click(p->shell.TabStrip, kGameTab);
  EXPECT_TRUE(musicOffWhileOpen);
  EXPECT_TRUE(fileExists(snapshot));
  EXPECT_EQ(p->shell.screenState, EditScreen);
  EXPECT_TRUE(p->sound.musicOn);
  EXPECT_EQ(sceneNow(), before);
}

TEST_F(Game, ALevelFromTheGameSlotsFliesAndLeavingBringsTheSceneBack) {
  installFirstLevel();
  const auto edited = sceneNow();
  ASSERT_TRUE(setBackground(*p, "./image/bimg005.ppm"));
  // The first slot chosen and loaded; on leaving, the slots are closed.
  int asked = 0;
  headlessSetDialogPolicy([&](Dialog&, const std::string&) {
    ++asked;
    return asked == 1 ? thumbnail::kSlotIds[0] : asked == 2 ? thumbnail::kLoad : thumbnail::kClose;
  });
  click(p->shell.TabStrip, kGameTab);
  ASSERT_EQ(p->shell.screenState, GameScreen);
  ASSERT_TRUE(p->world.game.gameSetup);
  EXPECT_EQ(p->sceneFile.backgroundPath, "./scene\\sky.ppm");  // the level's own background
  click(p->shell.BottomPanel, kTakeOff);
  ASSERT_TRUE(p->world.game.gameRunning);
  Block* plane = p->gameState.aeroplane;
  ASSERT_TRUE(plane);
  EXPECT_EQ(plane->kind, kAeroplaneKind);
  int planes = 0;
  for (const auto& node : p->world.scene.nodes) planes += node->block->kind == kAeroplaneKind;
  EXPECT_EQ(planes, 1);  // the level's own aeroplane flies; no second one is made
  const Vec3 start = plane->position;
  fly(20);
  EXPECT_GT(std::fabs(plane->position.x - start.x) + std::fabs(plane->position.z - start.z), 5.0f);

  // While a level is loaded the tabs refuse every press.
  click(p->shell.TabStrip, kOptionsTab);
  EXPECT_EQ(p->shell.screenState, GameScreen);
  EXPECT_EQ(currentCursor(), p->shell.cannotCursor);

  // Pause lands it in set-up; fast flight from set-up launches it at speed 2.
  click(p->shell.BottomPanel, kPause);
  EXPECT_FALSE(p->world.game.gameRunning);
  EXPECT_TRUE(p->world.game.gameSetup);
  const Vec3 paused = plane->position;
  fly(5);
  EXPECT_EQ(plane->position, paused);
  click(p->shell.BottomPanel, kFastFlight);
  EXPECT_TRUE(p->world.game.gameRunning);
  EXPECT_TRUE(p->world.game.fastFlight);
  EXPECT_EQ(std::fabs(p->gameState.velocity.x) + std::fabs(p->gameState.velocity.z), 2.0f);
  fly(3);

  // Leaving the game: the edit screen with exactly the scene that was there before.
  click(p->shell.BottomPanel, kGameExit);
  EXPECT_EQ(p->shell.screenState, EditScreen);
  EXPECT_FALSE(p->world.game.gameRunning || p->world.game.gameSetup);
  EXPECT_EQ(sceneNow(), edited);
  EXPECT_EQ(p->sceneFile.backgroundPath, "./image/bimg005.ppm");
}

TEST_F(Game, AfterTheLastLevelCongratulationsAndLevelOneAgain) {
  // An install with three levels, the third just finished.
  for (int n = 1; n <= 3; ++n) {
    std::string bytes;
    ASSERT_TRUE(readWholeFile(buildDataPath("save/game00" + std::to_string(n) + ".gam"), bytes));
    tmp.write("install/Save/game00" + std::to_string(n) + ".gam", bytes);
  }
  ASSERT_EQ(loadLevel(p->editor, p->gameState, p->folders.installDir, 2), LevelLoad::Loaded);
  p->world.game.gameSetup = true;
  ASSERT_TRUE(setBackground(*p, "./image/bimg005.ppm"));
  headlessClearMessageBoxes();
  finishLevel(*p);
  EXPECT_EQ(p->sceneFile.backgroundPath, "./scene\\sky.ppm");  // level 1's
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "축하합니다.  모든 레벨을 끝냈습니다.( 3 레벨)");
  EXPECT_EQ(p->gameState.currentLevel, 0);
  EXPECT_TRUE(p->world.game.gameSetup);
  ASSERT_TRUE(p->gameState.aeroplane);
}
