// The keyboard commands: a hidden code that switches cheat mode (typed from its last letter to its first,
// other keys in between do not matter), the light and walking keys of cheat mode, Space, M, Escape during
// the exit jingle, and the 3D view's note keys and settings reload.
#include <algorithm>

#include "app/PanelArt.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "edit/Camera.h"
#include "edit/Picking.h"
#include "render/SceneRenderer.h"
#include "sound/Sounds.h"

namespace {

constexpr char kCheatCode[] = "PLUMOX";
constexpr int kCheatLength = 6;

// The newest letter is compared with the code's first letter, the one before it with the second, and so on.
bool letterEntered(ShellState& shell, int key) {
  auto& history = shell.letterHistory;
  std::copy_backward(history.begin(), history.end() - 1, history.end());
  history[0] = key;
  for (int i = 0; i < kCheatLength; ++i)
    if (history[i] != kCheatCode[i]) return false;
  return true;
}

void toggleCheatMode(Program& p) {
  const bool switchOff = p.world.cheatMode && p.shell.onDemandRedraw;
  p.world.cheatMode = !switchOff;
  p.shell.onDemandRedraw = switchOff ? 0 : 1;
  messageBox(p.shell.ViewWindow, switchOff ? "Cheat key disable" : "Cheat key enable", "cheat", MB_OK);
}

// A cheat-mode walk: the view steps forward or back, or turns, and is drawn at once.
void walk(Program& p, int type) {
  if (p.editor.state.holding) {
    releaseHold(p.editor);
    runFrame(p);
  }
  setCursor(p.shell.cannotCursor);
  p.renderer.drawStuds = 1;
  p.renderer.fullRedrawPending = 1;
  walkCamera(p.editor, type);
}

void turnLight(Program& p, float degrees) {
  rotateLight(p.renderer, p.world, degrees);
  p.renderer.fullRedrawPending = 1;
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
}

void gameMusicKey(Program& p) {
  toggleGameMusic(p.sound);
  if (p.sound.musicOn) {
    stopMusic(p.sound);
  } else {
    loadGameTune(p.sound);
    playGameTune(p.sound);
  }
}

}  // namespace

void handleKey(Program& p, int key) {
  if (key >= 'A' && key <= 'Z' && letterEntered(p.shell, key)) toggleCheatMode(p);
  if (key == 'Z' || key == 'X') {
    if (p.world.cheatMode) turnLight(p, key == 'Z' ? 10 : -10);
  } else if (key == VK_ESCAPE) {
    if (p.shell.exitWaiting) p.shell.exitWaitCancelled = 1;
  }
  switch (key) {
    case VK_SPACE:
      if (p.shell.screenState == EditScreen) {
        drawEditToolPictures(p);
      } else if (p.shell.screenState == GameScreen) {
        // Space pauses a fast flight and speeds up a normal one; a level only set up is launched by its button.
        if (p.world.game.fastFlight)
          pauseFlight(p);
        else if (p.world.game.gameRunning)
          speedUpFlight(p);
      }
      break;
    case 'I':
      if (p.world.cheatMode) walk(p, 0);
      break;
    case 'K':
      if (p.world.cheatMode) walk(p, 1);
      break;
    case 'L':
      if (p.world.cheatMode) walk(p, 2);
      break;
    case 'J':
      if (p.world.cheatMode) walk(p, 3);
      break;
    case 'M': gameMusicKey(p); break;
    default: break;
  }
}

void viewOnlyKey(Program& p, int key) {
  if (key >= '1' && key <= '8') playNoteKey(p.sound, key - '0');
  if (key == 'S') readSettings(p);
}
