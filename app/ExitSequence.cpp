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

std::string keptScenePath(const Program& p) {
  std::string path = p.folders.installDir;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += "\\";
  return path + "port\\temp.lml";
}

void playQuitJingleAndWait(Program& p) {
  SoundState& sound = p.sound;
  loadJingle(sound, JingleKind::Quit);
  playJingle(sound);
  // Counted in the waits' own steps as well as on the clock, so that a clock that stands still cannot hold
  // the program here.
  uint32_t limit = jingleWaitLimit(sound);
  uint32_t start = tickCount();
  sleepMs(100);
  uint32_t waited = 100;
  // Only key presses are handled while the jingle plays: Escape ends the wait, everything else is dropped.
  while (jingleIsPlaying(sound) && p.shell.exitWaitCancelled == 0 && waited < limit &&
         tickCount() - start < limit) {
    Message message;
    if (peekMessage(message)) {
      if (message.msg == Msg::KeyDown) {
        dispatchMessage(message);
      }
    } else {
      sleepMs(10);
      waited += 10;
    }
  }
  releaseJingle(sound);
}

void exitProgram(Program& p) {
  if (!confirmInstall(p)) return;
  enterDataRoot(p.folders);
  int answer = IDNO;
  if (!p.shell.sceneUnchanged) {
    enableWindow(p.shell.BottomPanel, false);
    enableWindow(p.shell.TabStrip, false);
    answer = messageBox(p.shell.ViewWindow, loadString(22), loadString(23), MB_YESNOCANCEL | MB_ICONWARNING);
    enableWindow(p.shell.BottomPanel, true);
    enableWindow(p.shell.TabStrip, true);
  }
  if (answer == IDYES) return;  // the scene-slot dialog takes over here once it exists
  if (answer != IDNO) return;  // Cancel: the program keeps running

  WriteSceneFile(p.sceneFile, p.world, keptScenePath(p));
  SoundState& sound = p.sound;
  if (sound.musicOn) {
    sound.backMusicNo = sound.backMusicNo + 1 > 4 ? 1 : sound.backMusicNo + 1;
    writeSettings(p);
  }
  p.shell.exitWaiting = 1;
  playQuitJingleAndWait(p);
  sceneClear(p.world);
  shutDownApp(p);
}
