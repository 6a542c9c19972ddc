// The scene slots and the game slots: twenty pictures a page of what was kept, with the current view's
// picture to keep next. Scenes are kept, loaded, removed (the later ones move up) and a new scene begun;
// games are kept (when they have what a game needs), loaded into the game screen and removed.
#include <algorithm>

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "edit/Camera.h"
#include "edit/Picking.h"
#include "files/SaveSlots.h"
#include "files/SceneFile.h"
#include "game/Game.h"
#include "platform/strings.h"
#include "render/Bitmaps.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "sound/Sounds.h"

using namespace thumbnail;

namespace {

// What a slot dialog shows and what was chosen in it.
struct SlotPages {
  SlotList list;
  int count = 1;  // the first free slot number
  int page = 0, lastPage = 0;
  int selectedPosition = 0, selectedPage = 0;
};

int slotNumber(int position, int page) { return position + kSlotsPerPage * page; }

// The pictures of the page's slots; buttons past the last slot are hidden.
void showPage(Program& p, Dialog& d, const SlotPages& s) {
  const int shown = std::min(kSlotsPerPage, s.count - 1 - kSlotsPerPage * s.page);
  for (int i = 0; i < kSlotsPerPage; ++i) {
    const bool there = i < shown;
    if (there)
      d.setPicture(kSlotIds[i], loadThumbnail(slotFiles(p.folders.installDir, s.list, slotNumber(i + 1, s.page)).picture));
    d.show(kSlotIds[i], there);
  }
}

void setPaging(Dialog& d, const SlotPages& s) {
  d.enable(kPrevious, s.page > 0);
  d.enable(kNext, s.page < s.lastPage);
}

// The current view as it is on the screen, at 2/11 of its size.
Surface viewPicture(Program& p) {
  Surface screen;
  if (!captureScreenRect(windowRect(p.shell.ViewWindow), screen)) return Surface();
  Surface small(screen.width * 2 / 11, screen.height * 2 / 11);
  for (int y = 0; y < small.height; ++y)
    for (int x = 0; x < small.width; ++x) small.row(y)[x] = screen.at(x * 11 / 2, y * 11 / 2);
  return small;
}

std::string pictureFileBytes(const Surface& picture) {
  DibBlock dib;
  std::string bytes;
  if (!bitmapToDib(picture, dib) || dibFileBytes(dib, bytes) != 0) return std::string();
  return bytes;
}

// A scene slot loaded: the scene is replaced only once its file has been read.
bool loadSceneSlot(Program& p, int number) {
  const std::string path = slotFiles(p.folders.installDir, SlotList::Scenes, number).scene;
  const HCursor previous = setCursor(p.shell.waitCursor);
  if (p.editor.state.holding) releaseHold(p.editor);
  if (!ReadSceneFile(p.sceneFile, p.world, path)) {
    setCursor(previous);
    messageBox(p.shell.ViewWindow, "저장된 화면을 읽을 수 없습니다.\n" + path, p.shell.sharedCaption, MB_OK | MB_ICONWARNING);
    return false;
  }
  sceneClear(p.world);
  p.world.selectedBlock = nullptr;
  resetMaterialTable(p.world.materials);
  BuildLoadedScene(p.sceneFile, p.world);
  showNamedBackground(p, p.sceneFile.namedBackground);
  reportMissingShapes(p);
  resetCamera(p.editor);
  resetEditState(p.editor);
  p.renderer.fullRedrawPending = 1;
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  runFrame(p);
  EnterEditScreen(p);
  setCursor(p.shell.arrowCursor);
  return true;
}

// The slot clicked: its picture in the preview.
void select(Program& p, Dialog& d, SlotPages& s, int position) {
  s.selectedPosition = position;
  s.selectedPage = s.page;
  d.setPicture(kPreview, loadThumbnail(slotFiles(p.folders.installDir, s.list, slotNumber(position, s.page)).picture));
  d.enable(kLoad, true);
  d.enable(kDelete, true);
}

void turnPage(Dialog& d, SlotPages& s, Program& p, int step) {
  const int page = s.page + step;
  if (page < 0 || page > s.lastPage) return;
  s.page = page;
  setPaging(d, s);
  showPage(p, d, s);
}

// After a slot was kept: the page with the new slot, nothing more to keep in this opening.
void showKept(Program& p, Dialog& d, SlotPages& s) {
  s.page = s.count > 2 ? (s.count - 2) / kSlotsPerPage : 0;
  s.lastPage = s.page;
  showPage(p, d, s);
  d.setPicture(kPreview, loadThumbnail("./save/save000.bmp"));
  for (int id : {kSave, kLoad, kDelete, kNext}) d.enable(id, false);
  d.enable(kPrevious, s.page > 0);
}

bool removeSlot(Program& p, SlotPages& s) {
  const HCursor previous = setCursor(p.shell.waitCursor);
  const std::string& dir = p.folders.installDir;
  const bool removed = deleteSlotFiles(diskFiles(), dir, s.list, slotNumber(s.selectedPosition, s.selectedPage));
  compactSlots(diskFiles(), dir, s.list);
  s.count = countSlots(diskFiles(), dir, s.list);
  setCursor(previous);
  return removed;
}

bool unsavedSceneMayGo(Program& p, HWindow owner, const char* caption) {
  if (p.shell.sceneUnchanged) return true;
  return messageBox(owner, loadString(10), caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace

bool openSceneSlots(Program& p, HWindow owner) {
  const std::string& dir = p.folders.installDir;
  SlotPages s{SlotList::Scenes};
  s.count = countSlots(diskFiles(), dir, s.list);
  s.lastPage = (s.count - 1) / kSlotsPerPage;
  const Surface current = viewPicture(p);  // before the dialog covers the view
  Dialog d(layout("THUMBNAIL"), owner);
  showTitle(d);
  d.setPicture(kCurrentView, current);
  d.enable(kLoad, false);
  d.enable(kDelete, false);
  const bool full = s.lastPage >= kMaxPages;
  if (full) {
    s.lastPage = kMaxPages - 1;
    d.enable(kSave, false);
  }
  showPage(p, d, s);
  showMessage(d, full ? 6 : 2);
  setPaging(d, s);

  while (true) {
    const int command = d.nextCommand();
    playEffect(p.sound, EffectId::Menu);
    if (int position = positionOf(command)) {
      select(p, d, s, position);
      d.enable(kNew, true);
      showMessage(d, 1);
    } else if (command == kLoad) {
      if (!unsavedSceneMayGo(p, d.window(), "Save scene")) continue;
      if (!loadSceneSlot(p, slotNumber(s.selectedPosition, s.selectedPage))) continue;
      d.setText(kMessage, "File loaded,\nPress CLOSE button");
      p.shell.sceneUnchanged = 1;
      return false;
    } else if (command == kSave) {
      const std::string picture = pictureFileBytes(current);
      if (picture.empty() || !saveSlot(diskFiles(), dir, s.list, s.count, sceneText(p.sceneFile, p.world), picture)) {
        messageBox(d.window(), "화면을 저장할 수 없습니다.\n" + slotFiles(dir, s.list, s.count).scene,
                   p.shell.sharedCaption, MB_OK | MB_ICONWARNING);
        continue;
      }
      p.shell.sceneUnchanged = 1;
      s.count = countSlots(diskFiles(), dir, s.list);
      showKept(p, d, s);
      showMessage(d, 3);
    } else if (command == kDelete) {
      removeSlot(p, s);
      s.lastPage = std::min(kMaxPages - 1, std::max(0, (s.count - 2) / kSlotsPerPage));
      s.page = std::min(s.page, s.lastPage);
      showPage(p, d, s);
      setPaging(d, s);
      showMessage(d, 5);
      d.enable(kDelete, false);
      d.enable(kLoad, false);
      if (!p.shell.sceneUnchanged && s.count <= kMaxPages * kSlotsPerPage) d.enable(kSave, true);
    } else if (command == kNew) {
      d.setPicture(kPreview, loadThumbnail("./save/save000.bmp"));
      showMessage(d, 7);
      if (unsavedSceneMayGo(p, d.window(), loadString(23))) return true;
    } else if (command == kPrevious || command == kNext) {
      turnPage(d, s, p, command == kNext ? 1 : -1);
    } else if (command == kReceive) {
      if (receiveScene(p, d.window())) return false;  // a scene came in: it is shown, the slots close
    } else if (command == kSend) {
      sendScene(p, d.window());
    } else {  // Close, Escape, or the program closing
      return false;
    }
  }
}

int openGameSlots(Program& p, HWindow owner) {
  const std::string& dir = p.folders.installDir;
  SlotPages s{SlotList::Games};
  s.count = countSlots(diskFiles(), dir, s.list);
  s.lastPage = std::max(0, (s.count - 2) / kSlotsPerPage);
  const Surface current = viewPicture(p);  // before the dialog covers the view
  Dialog d(layout("THUMBNAIL"), owner);
  showTitle(d);
  for (int id : {kNew, kReceive, kSend}) d.show(id, false);
  d.enable(kLoad, false);
  d.enable(kDelete, false);
  d.setPicture(kCurrentView, current);
  showPage(p, d, s);
  showMessage(d, 16);
  setPaging(d, s);

  while (true) {
    const int command = d.nextCommand();
    playEffect(p.sound, EffectId::Menu);
    if (int position = positionOf(command)) {
      select(p, d, s, position);
      showMessage(d, 16);
      continue;
    }
    d.setPicture(kPreview, Surface());
    if (command == kLoad) {
      const HCursor previous = setCursor(p.shell.waitCursor);
      p.shell.screenState = GameScreen;
      p.editor.state.editScreen = false;
      const int number = slotNumber(s.selectedPosition, s.selectedPage);
      loadGameSlot(p.editor, p.gameState, dir, number);
      showNamedBackground(p, p.gameState.levelBackground);
      p.shell.viewActive = 1;
      p.shell.frameRequested = 1;
      runFrame(p);
      setCursor(previous);
      if (number == 1) playEffect(p.sound, EffectId::TakeOff);
      return kLoad;
    } else if (command == kSave) {
      if (checkGameSceneWithMessages(p, d.window())) {
        const std::string picture = pictureFileBytes(current);
        if (!picture.empty() && saveSlot(diskFiles(), dir, s.list, s.count, sceneText(p.sceneFile, p.world), picture)) {
          s.count = countSlots(diskFiles(), dir, s.list);
          showKept(p, d, s);
        } else {
          messageBox(d.window(), "게임을 저장할 수 없습니다.\n" + slotFiles(dir, s.list, s.count).scene,
                     p.shell.sharedCaption, MB_OK | MB_ICONWARNING);
        }
      }
    } else if (command == kDelete) {
      removeSlot(p, s);
      s.lastPage = std::min(kMaxPages - 1, std::max(0, (s.count - 2) / kSlotsPerPage));
      s.page = std::min(s.page, s.lastPage);
      showPage(p, d, s);
      setPaging(d, s);
      d.enable(kDelete, false);
      d.enable(kLoad, false);
    } else if (command == kPrevious || command == kNext) {
      turnPage(d, s, p, command == kNext ? 1 : -1);
    } else {
      return kClose;
    }
    showMessage(d, 16);
  }
}
