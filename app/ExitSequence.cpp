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
  SoundState& sound = soundState();
  if (sound.musicOn) {
    sound.backMusicNo = sound.backMusicNo + 1 > 4 ? 1 : sound.backMusicNo + 1;
    writeSettings();
  }
  shell.exitWaiting = 1;
  playQuitJingleAndWait([] { return shell.exitWaitCancelled != 0; });
  sceneClear();
  ShutDownApp();
}
