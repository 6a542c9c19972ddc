// Leaving the program: ask about unsaved changes, keep the scene for the next start in "port\temp.lml",
// move on to the next tune, play the quit jingle (Escape cuts it short) and shut down; and the end of the
// session, which keeps the scene without asking.
#include <cstdio>

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
      if (message.msg == Msg::KeyDown) dispatchMessage(message);
    } else {
      sleepMs(10);
      waited += 10;
    }
  }
  releaseJingle(sound);
}

std::string saveFailureText(WriteFailure why, const std::string& path) {
  switch (why) {
    case WriteFailure::DiskFull:
      return "디스크에 빈 공간이 없어서 장면을 저장하지 못했습니다. 공간을 비운 뒤 다시 끝내 주세요.\n" + path;
    case WriteFailure::NoPermission:
      return "이 폴더에 쓸 권한이 없어서 장면을 저장하지 못했습니다.\n" + path;
    case WriteFailure::FolderMissing:
      return "저장할 폴더가 없어서 장면을 저장하지 못했습니다.\n" + path;
    default:
      return "장면을 저장하지 못했습니다.\n" + path;
  }
}

void keepSessionAndQuit(Program& p) {
  if (p.shell.shutDownDone) return;
  std::optional<Folders> folders = confirmFolders();
  if (folders) {
    p.folders = *folders;
    WriteFailure why = WriteFailure::None;
    if (!WriteSceneFile(p.sceneFile, p.world, keptScenePath(p), &why))
      std::fprintf(stderr, "tolvane: %s\n", saveFailureText(why, keptScenePath(p)).c_str());
  }
  sceneClear(p.world);
  shutDownApp(p);
}

void exitProgram(Program& p) {
  // A second close while the question is open (or after the program ended) asks nothing more.
  if (p.shell.exitQuestionOpen || p.shell.shutDownDone) return;
  if (!confirmInstall(p)) return;
  enterDataRoot(p.folders);
  int answer = IDNO;
  if (!p.shell.sceneUnchanged) {
    enableWindow(p.shell.BottomPanel, false);
    enableWindow(p.shell.TabStrip, false);
    p.shell.exitQuestionOpen = true;
    answer = messageBox(p.shell.ViewWindow, loadString(22), loadString(23), MB_YESNOCANCEL | MB_ICONWARNING);
    p.shell.exitQuestionOpen = false;
    enableWindow(p.shell.BottomPanel, true);
    enableWindow(p.shell.TabStrip, true);
    // The session may have ended while the question was open; the scene was kept then.
    if (p.shell.shutDownDone) return;
  }
  if (answer == IDYES) {  // keep it in a slot; the program goes on
    if (openSceneSlots(p, p.shell.ViewWindow)) openNewSceneChooser(p, p.shell.ViewWindow);
    return;
  }
  if (answer != IDNO) return;  // Cancel: the program keeps running

  // A scene that could not be kept stays in memory and the program stays open: the user can make room
  // (or cancel) and try again.
  WriteFailure why = WriteFailure::None;
  if (!WriteSceneFile(p.sceneFile, p.world, keptScenePath(p), &why)) {
    messageBox(p.shell.ViewWindow, saveFailureText(why, keptScenePath(p)), "", MB_OK | MB_ICONWARNING);
    return;
  }
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
