// Leaving the program: ask about unsaved changes, keep the scene for the next start in "port\temp.lml",
// move on to the next tune, play the quit jingle (Escape cuts it short) and shut down.
#include "app/Settings.h"
#include "app/Shell.h"
#include "files/InstallFolders.h"
#include "files/SceneFile.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "scene/SceneList.h"
#include "sound/Sounds.h"

std::function<bool(HWindow)> openSceneSlots;

std::string keptScenePath() {
  std::string path = InstallDir;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += "\\";
  return path + "port\\temp.lml";
}

void playQuitJingleAndWait(SoundState& sound) {
  loadJingle(sound, JingleKind::Quit);
  playJingle(sound);
  // Counted in the waits' own steps as well as on the clock, so that a clock that stands still cannot hold
  // the program here.
  uint32_t limit = jingleWaitLimit(sound);
  uint32_t start = tickCount();
  sleepMs(100);
  uint32_t waited = 100;
  // Only key presses are handled while the jingle plays: Escape ends the wait, everything else is dropped.
  while (jingleIsPlaying(sound) && shell.exitWaitCancelled == 0 && waited < limit && tickCount() - start < limit) {
    Message message;
    if (peekMessage(message)) {
      if (message.msg == Msg::KeyDown) {
        translateMessage(message);
        dispatchMessage(message);
      }
    } else {
      sleepMs(10);
      waited += 10;
    }
  }
  releaseJingle(sound);
}

void exitProgram() {
  if (!confirmFolders()) return;
  enterDataRoot();
  int answer = IDNO;
  if (!shell.sceneUnchanged) {
    enableWindow(shell.BottomPanel, false);
    enableWindow(shell.TabStrip, false);
    answer = messageBox(shell.ViewWindow, loadString(22), loadString(23), MB_YESNOCANCEL | MB_ICONWARNING);
    enableWindow(shell.BottomPanel, true);
    enableWindow(shell.TabStrip, true);
  }
  if (answer == IDYES) {
    if (openSceneSlots) openSceneSlots(shell.ViewWindow);
    return;
  }
  if (answer != IDNO) return;  // Cancel: the program keeps running

  WriteSceneFile(keptScenePath());
  SoundState& sound = shell.sound;
  if (sound.musicOn) {
    sound.backMusicNo = sound.backMusicNo + 1 > 4 ? 1 : sound.backMusicNo + 1;
    writeSettings();
  }
  shell.exitWaiting = 1;
  playQuitJingleAndWait(sound);
  sceneClear();
  ShutDownApp();
}
