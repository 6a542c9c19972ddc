// The game as the frame loop runs it: one flight step every 40 ms with its sounds, the next level when the
// target is reached (the fanfare plays out with the music paused, frame by frame), and the game's message
// boxes.
#include <cstdio>

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/Picking.h"
#include "game/Game.h"
#include "files/InstallFolders.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "sound/Sounds.h"

namespace {

constexpr uint32_t kStepMs = 40;

const char* text(int id, const char* otherwise) {
  const char* s = loadString(id);
  return s ? s : otherwise;
}

// Past the last level: congratulations, and level 1 again.
void sayAllLevelsDone(Program& p, int levels) {
  char line[512];
  std::snprintf(line, sizeof line, "%s %d %s", text(24, "축하합니다.  모든 레벨을 끝냈습니다.("), levels,
                text(25, "레벨)"));
  messageBox(p.shell.ViewWindow, line, "", MB_OK | MB_SYSTEMMODAL);
}

}  // namespace

void finishLevel(Program& p) {
  GameState& g = p.gameState;
  const int finished = g.currentLevel;
  stopGame(p.editor, g);
  const LevelLoad load = loadLevel(p.editor, g, p.folders.installDir, finished + 1);
  showNamedBackground(p, g.levelBackground);
  if (load == LevelLoad::AllDone) sayAllLevelsDone(p, finished + 1);
  resetGame(p.editor, g);
  if (p.shell.screenState == GameScreen) {
    paintGameLeft(p);
    drawGameMusicButton(p);
  }
  pauseMusic(p.sound);
  g.fanfare = true;
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
}

void gameStep(Program& p) {
  GameState& g = p.gameState;
  // Paced: at least 40 ms between steps on the platform's clock.
  const uint32_t now = tickCount();
  if (g.stepTimed && now - g.lastStepTime < kStepMs) sleepMs(kStepMs - (now - g.lastStepTime));
  g.lastStepTime = tickCount();
  g.stepTimed = true;

  const FlightStep step = flightStep(p.world, g);
  for (int i = 0; i < step.climbs; ++i) playEffect(p.sound, EffectId::Climb);
  for (int i = 0; i < step.walls; ++i) playEffect(p.sound, EffectId::Collision);
  if (step.reachedTarget) {
    playEffect(p.sound, EffectId::Fanfare);
    finishLevel(p);
  }
}

void fanfareStep(Program& p) {
  GameState& g = p.gameState;
  if (!g.fanfare || isEffectPlaying(p.sound, EffectId::Fanfare)) return;
  g.fanfare = false;
  resumeMusic(p.sound);
  g.outcome = Meeting::Wall;
}

bool checkGameSceneWithMessages(Program& p, HWindow owner) {
  const std::vector<int> faults = checkGameScene(p.world);
  for (int id : faults) messageBox(owner, text(id, ""), text(27, "게임 메시지"), MB_OK);
  return faults.empty();
}

bool takeSnapshot(Program& p) {
  return WriteSceneFile(p.sceneFile, p.world, joinPath(systemScratchFolder(), "~temp.lml"));
}

bool restoreSnapshot(Program& p) {
  if (p.editor.state.holding) releaseHold(p.editor);
  sceneClear(p.world);
  p.world.selectedBlock = nullptr;
  const bool read = ReadSceneFile(p.sceneFile, p.world, joinPath(systemScratchFolder(), "~temp.lml"));
  resetMaterialTable(p.world.materials);
  if (read) {
    BuildLoadedScene(p.sceneFile, p.world);
    showNamedBackground(p, p.sceneFile.namedBackground);
  }
  resetEditState(p.editor);
  reportMissingShapes(p);
  p.renderer.fullRedrawPending = 1;
  return read;
}
