// Exchanging scenes through freely named files, by default in the install folder's "Port" folder:
// receiving one (after the unsaved-scene question) and sending the current one (after the overwrite
// question and the file-information form), and the slot dialog's Receive and Send around them.
#include "app/FileDialog.h"
#include "app/FileInfo.h"
#include "app/Shell.h"
#include "edit/Camera.h"
#include "edit/Picking.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"

namespace {

std::string text(int id) {
  const char* s = loadString(id);
  return s ? s : "";
}

FileDialogRequest exchangeRequest(const Program& p, FileDialogMode mode, const std::string& caption,
                                  const std::string& proposedPath = std::string()) {
  FileDialogRequest request;
  request.mode = mode;
  request.caption = caption;
  request.folder = joinPath(p.folders.installDir, "Port");
  request.proposedPath = proposedPath;
  return request;
}

std::string sendFailureText(WriteFailure why, const std::string& path) {
  switch (why) {
    case WriteFailure::DiskFull: return "디스크에 빈 공간이 없어서 장면을 보내지 못했습니다.\n" + path;
    case WriteFailure::NoPermission: return "이 폴더에 쓸 권한이 없어서 장면을 보내지 못했습니다.\n" + path;
    default: return "장면을 보내지 못했습니다.\n" + path;
  }
}

// The scene of the file read takes the place of the cleared one, seen as the file says.
void showReadScene(Program& p) {
  resetMaterialTable(p.world.materials);
  BuildLoadedScene(p.sceneFile, p.world);
  reportMissingShapes(p);
  resetEditState(p.editor);
  resetCamera(p.editor);
  p.renderer.fullRedrawPending = 1;
  EnterEditScreen(p);
  p.world.selectedBlock = nullptr;
}

}  // namespace

bool importScene(Program& p, HWindow owner) {
  const std::string caption = text(12);
  if (!p.shell.sceneUnchanged) {
    if (messageBox(owner, text(10), caption, MB_YESNO | MB_ICONWARNING) != IDYES) return false;
    p.shell.sceneUnchanged = 1;
  }
  const std::optional<std::string> path = runFileDialog(owner, exchangeRequest(p, FileDialogMode::Open, caption));
  // The save dialog proposes what was opened last, and nothing after a cancelled open.
  p.shell.exchangePath = path.value_or(std::string());
  if (!path) {
    p.shell.sceneUnchanged = 0;
    return false;
  }

  const HCursor previous = setCursor(p.shell.waitCursor);
  if (p.editor.state.holding) releaseHold(p.editor);
  sceneClear(p.world);
  const bool read = ReadSceneFile(p.sceneFile, p.world, *path);
  if (read) showReadScene(p);
  p.renderer.fullRedrawPending = 1;
  p.shell.frameRequested = 1;
  runFrame(p);
  setCursor(previous);
  // The scene stays cleared: the user agreed to give it up for the file.
  if (!read) messageBox(owner, "파일을 읽을 수 없습니다.\n" + *path, caption, MB_OK | MB_ICONWARNING);
  return read;
}

bool exportScene(Program& p, HWindow owner) {
  const std::string caption = text(14);
  // The file last received is proposed; after "No" to overwriting, the name just chosen, to change it.
  std::optional<std::string> path = p.shell.exchangePath;
  for (;;) {
    enableWindow(p.shell.BottomPanel, false);
    path = runFileDialog(owner, exchangeRequest(p, FileDialogMode::Save, caption, *path));
    enableWindow(p.shell.BottomPanel, true);
    if (!path) return false;
    if (!fileExists(*path)) break;
    const int answer = messageBox(owner, text(21), caption, MB_YESNOCANCEL | MB_ICONWARNING | MB_TASKMODAL);
    if (answer == IDYES) break;
    if (answer != IDNO) {
      p.shell.sceneUnchanged = 0;
      return false;
    }
    p.shell.sceneUnchanged = 1;
  }

  openFileInfoForm(p, owner);
  const HCursor previous = setCursor(p.shell.waitCursor);
  WriteFailure why = WriteFailure::None;
  const bool written = WriteSceneFile(p.sceneFile, p.world, *path, &why);
  setCursor(previous);
  if (!written) {
    messageBox(owner, sendFailureText(why, *path), caption, MB_OK | MB_ICONWARNING);
    return false;
  }
  p.shell.sceneUnchanged = 1;
  return true;
}

bool receiveScene(Program& p, HWindow owner) {
  p.sceneFile.readInfoFlag = true;
  const bool read = importScene(p, owner);
  p.sceneFile.readInfoFlag = false;
  if (read) showFileInfo(p, owner, p.shell.exchangePath);
  return read;
}

bool sendScene(Program& p, HWindow owner) {
  p.sceneFile.writeInfoFlag = true;
  const bool sent = exportScene(p, owner);
  p.sceneFile.writeInfoFlag = false;
  if (sent) messageBox(owner, text(15), text(14), MB_OK | MB_ICONWARNING);
  return sent;
}
