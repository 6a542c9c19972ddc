// The levels: loading one from the install folder's game files, finding its aeroplane, and checking that a
// scene has what a game needs (one aeroplane, one yellow target, white blocks to move).
#include <cstdio>

#include "edit/Camera.h"
#include "edit/Editor.h"
#include "edit/Picking.h"
#include "files/SceneFile.h"
#include "game/Game.h"
#include "platform/paths.h"
#include "render/SceneRenderer.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "scene/World.h"

namespace {

// Empty the scene and build the game file's blocks; false (with the scene empty) when it cannot be read.
bool readGameFile(Editor& ed, GameState& g, const std::string& path) {
  World& w = ed.world;
  if (ed.state.holding) releaseHold(ed);
  w.selectedBlock = nullptr;
  sceneClear(w);
  SceneFileState file;
  g.levelBackground.reset();
  if (!ReadSceneFile(file, w, path)) return false;
  g.levelBackground = file.namedBackground;
  resetMaterialTable(w.materials);
  BuildLoadedScene(file, w);
  resetEditState(ed);
  return true;
}

}  // namespace

std::string gameFilePath(const std::string& installDir, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "save/game%03d.gam", number);
  return joinPath(installDir, name);
}

void takeLevelAeroplane(Editor& ed, GameState& g) {
  g.aeroplane = nullptr;
  for (const auto& node : ed.world.scene.nodes)
    if (node->block->kind == kAeroplaneKind) g.aeroplane = node->block.get();
  g.planeCreated = g.aeroplane == nullptr;
  if (g.aeroplane) {
    g.startPosition = g.aeroplane->position;
    g.startOrientation = g.aeroplane->orientation;
  } else {
    enterGameSetup(ed, g);
  }
}

LevelLoad loadLevel(Editor& ed, GameState& g, const std::string& installDir, int index) {
  LevelLoad result = LevelLoad::Loaded;
  if (!readGameFile(ed, g, gameFilePath(installDir, index + 1))) {
    // Past the last level: level 1 again.
    result = LevelLoad::AllDone;
    index = 0;
    if (!readGameFile(ed, g, gameFilePath(installDir, 1))) return LevelLoad::Unreadable;
  }
  g.currentLevel = index;
  resetCamera(ed);
  ed.renderer.fullRedrawPending = 1;
  takeLevelAeroplane(ed, g);
  if (ed.state.holding) releaseHold(ed);
  return result;
}

bool loadGameSlot(Editor& ed, GameState& g, const std::string& installDir, int n) {
  if (!readGameFile(ed, g, gameFilePath(installDir, n))) return false;
  g.currentLevel = n - 1;
  ed.renderer.fullRedrawPending = 1;
  takeLevelAeroplane(ed, g);
  if (ed.state.holding) releaseHold(ed);
  ed.world.game.gameSetup = true;
  return true;
}

std::vector<int> checkGameScene(const World& world) {
  int planes = 0, targets = 0, whites = 0;
  for (const auto& node : world.scene.nodes) {
    const Block& b = *node->block;
    planes += b.kind == kAeroplaneKind;
    targets += isTargetColour(b.colour);
    whites += isMovableColour(b.colour);
  }
  std::vector<int> faults;
  if (planes == 0) faults.push_back(28);
  if (planes > 1) faults.push_back(29);
  if (targets == 0) faults.push_back(30);
  if (targets > 1) faults.push_back(31);
  if (whites == 0) faults.push_back(32);
  return faults;
}
