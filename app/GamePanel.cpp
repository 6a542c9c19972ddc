// The bottom panel of the game screens. On the game-selection screen: the quick start, which flies the
// first level at once, and the snapshot button, which keeps the scene and brings it back. On the game
// screen: take off, restart, game help, game exit, pause, the game music and fast flight. The left-hand
// buttons show the flight's state: the last one released stays drawn pressed.
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "edit/Camera.h"
#include "edit/Picking.h"
#include "files/InstallFolders.h"
#include "files/SceneFile.h"
#include "game/Game.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "sound/Sounds.h"

namespace {

const Rect kQuickStart{56, 7, 105, 58};
const Rect kSnapshot{3, 7, 50, 60};

const Rect kGameMusic{422, 19, 471, 66};
const Rect kFastFlight{477, 19, 523, 66};
const Rect kTakeOff{62, 10, 131, 69};
const Rect kRestart{8, 9, 58, 71};
const Rect kGameHelp{291, 5, 351, 65};
const Rect kGameExit{190, 7, 240, 70};
const Rect kPause{136, 9, 177, 70};

void drawGame(Program& p, const Rect& r, bool pressed) {
  drawPicture(p.shell.BottomPanel, pressed ? p.panelArt.hgamex : p.panelArt.hgame, r);
}

// [SECTION] Game selection

void quickStart(Program& p) {
  p.shell.screenState = GameScreen;
  p.editor.state.editScreen = false;
  PaintGamePanels(p);
  paintTabBase(p);
  paintGameStrip(p);
  const HCursor previous = setCursor(p.shell.waitCursor);
  takeSnapshot(p);
  if (p.editor.state.holding) releaseHold(p.editor);
  sceneClear(p.world);
  SceneFileState level;
  if (!ReadSceneFile(level, p.world, "./save\\game001.gam")) {
    setCursor(previous);
    return;
  }
  p.gameState.currentLevel = 0;
  resetMaterialTable(p.world.materials);
  BuildLoadedScene(level, p.world);
  showNamedBackground(p, level.namedBackground);
  resetEditState(p.editor);
  p.renderer.fullRedrawPending = 1;
  p.world.game.gameSetup = true;
  // The level brings its own aeroplane; set-up makes one only when it has none.
  takeLevelAeroplane(p.editor, p.gameState);
  releaseHold(p.editor);
  startTune(p.sound, 5, true);
  resetGameTunes(p.sound);
  drawGameMusicButton(p);
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  runFrame(p);
  setCursor(previous);
  drawGame(p, kTakeOff, true);
  playEffect(p.sound, EffectId::TakeOff);
  sleepMs(500);
  startGame(p.editor, p.gameState);
}

void snapshotButton(Program& p) {
  const HCursor previous = setCursor(p.shell.waitCursor);
  if (p.shell.snapshotReady) {
    takeSnapshot(p);
    p.shell.snapshotReady = 0;
    drawPicture(p.shell.BottomPanel, p.panelArt.hoptionx, kSnapshot);
  } else {
    p.shell.snapshotReady = 1;
    drawPicture(p.shell.BottomPanel, p.panelArt.hoption, kSnapshot);
    restoreSnapshot(p);
    p.shell.frameRequested = 1;
  }
  setCursor(previous);
}

bool gameSelectInput(Program& p, const Message& m) {
  switch (m.msg) {
    case Msg::MouseMove: {
      if (!p.world.movement.leftDrag) p.shell.viewActive = 0;
      p.shell.pendingButton = 0;
      return true;
    }
    case Msg::LButtonUp:
      if (kQuickStart.contains(m.x, m.y))
        quickStart(p);
      else if (kSnapshot.contains(m.x, m.y))
        snapshotButton(p);
      p.shell.pendingButton = 0;
      ReleaseButtons(p);
      return true;
    case Msg::LButtonDown: return true;
    default: return false;
  }
}

// [SECTION] Game screen

void gameMusicButton(Program& p) {
  toggleGameMusic(p.sound);
  if (p.sound.musicOn) {
    drawGame(p, kGameMusic, true);
    stopMusic(p.sound);
  } else {
    drawGame(p, kGameMusic, false);
    loadGameTune(p.sound);
    playGameTune(p.sound);
  }
}

// Leave the game: the game slots again, and unless another level is chosen there, back to the edit screen
// with the scene that was there when the game began.
void leaveGame(Program& p) {
  std::optional<Folders> folders = confirmFolders();
  if (!folders) return;
  p.folders = *folders;
  if (p.sound.musicOn) stopMusic(p.sound);
  stopGame(p.editor, p.gameState);
  resetGame(p.editor, p.gameState);
  if (openGameSlots(p, p.shell.BottomPanel) == thumbnail::kLoad) {  // another level
    enterLoadedGame(p);
    return;
  }
  restoreMusicAfterDialog(p.sound);
  playEffect(p.sound, EffectId::Menu);
  EnterEditScreen(p);
  if (p.world.game.gameRunning || p.world.game.gameSetup) {
    const HCursor previous = setCursor(p.shell.waitCursor);
    p.world.game.gameSetup = false;
    p.world.game.gameRunning = false;
    p.gameState.aeroplane = nullptr;
    restoreSnapshot(p);
    setCursor(previous);
  }
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  runFrame(p);
  releaseHold(p.editor);
}

void gamePressed(Program& p, const Message& m) {
  GameState& g = p.gameState;
  World& w = p.world;
  if (kGameMusic.contains(m.x, m.y)) {
    gameMusicButton(p);
  } else if (kFastFlight.contains(m.x, m.y)) {
    if (w.game.fastFlight) {
      pauseFlight(p);
    } else if (w.game.gameRunning || w.game.gameSetup) {
      const bool launch = !w.game.gameRunning;
      speedUpFlight(p);
      if (launch) {
        playEffect(p.sound, EffectId::TakeOff);
        startGame(p.editor, g);
      }
    }
  }
}

void gameReleased(Program& p, const Message& m) {
  p.shell.viewActive = 1;
  GameState& g = p.gameState;
  auto pressedAlone = [&](const Rect& r) {
    paintGameLeft(p);
    drawGame(p, r, true);
  };
  if (kTakeOff.contains(m.x, m.y)) {
    pressedAlone(kTakeOff);
    playEffect(p.sound, EffectId::TakeOff);
    startGame(p.editor, g);
    releaseHold(p.editor);
  } else if (kRestart.contains(m.x, m.y)) {
    pressedAlone(kRestart);
    drawGame(p, kFastFlight, false);
    resetGame(p.editor, g);
    presetView(p.editor, 1);
    runFrame(p);
    releaseHold(p.editor);
  } else if (kGameHelp.contains(m.x, m.y)) {
    pressedAlone(kGameHelp);
    openHelpPage(p, "GameHelp.html");
    releaseHold(p.editor);
  } else if (kGameExit.contains(m.x, m.y)) {
    leaveGame(p);
  } else if (kPause.contains(m.x, m.y)) {
    pressedAlone(kPause);
    drawGame(p, kFastFlight, false);
    playEffect(p.sound, EffectId::Pause);
    stopGame(p.editor, g);
    releaseHold(p.editor);
  }
}

bool gameScreenInput(Program& p, const Message& m) {
  switch (m.msg) {
    case Msg::MouseMove: {
      p.shell.viewActive = 1;
      const bool live = kGameMusic.contains(m.x, m.y) || kFastFlight.contains(m.x, m.y) ||
                        kTakeOff.contains(m.x, m.y) || kRestart.contains(m.x, m.y) || kGameHelp.contains(m.x, m.y) ||
                        kGameExit.contains(m.x, m.y) || kPause.contains(m.x, m.y);
      setCursor(live ? p.shell.hand2Cursor : p.shell.arrowCursor);
      p.shell.pendingButton = 0;
      return true;
    }
    case Msg::LButtonDown: gamePressed(p, m); return true;
    case Msg::LButtonUp:
      gameReleased(p, m);
      p.shell.pendingButton = 0;
      ReleaseButtons(p);
      return true;
    default: return false;
  }
}

}  // namespace

void pauseFlight(Program& p) {
  PaintGamePanels(p);
  drawGameMusicButton(p);
  drawGame(p, kPause, true);
  drawGame(p, kFastFlight, false);
  playEffect(p.sound, EffectId::Pause);
  stopGame(p.editor, p.gameState);
  releaseHold(p.editor);
}

void speedUpFlight(Program& p) {
  drawGame(p, kFastFlight, true);
  p.world.game.fastFlight = true;
  setFlightSpeed(p.gameState, 2);
}

void drawSnapshotButton(Program& p) {
  drawPicture(p.shell.BottomPanel, p.shell.snapshotReady ? p.panelArt.hoption : p.panelArt.hoptionx, kSnapshot);
}

bool gamePanelInput(Program& p, const Message& m) {
  if (p.shell.screenState == GameSelectScreen) return gameSelectInput(p, m);
  if (p.shell.screenState == GameScreen) return gameScreenInput(p, m);
  return false;
}
