// The picture chooser: the data folder's numbered thumbnails, twenty a page in the slot dialog's layout,
// choose the picture behind the 3D view or the base plate a new scene starts with.
#include <algorithm>
#include <array>
#include <cstdio>

#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "edit/BlockOperations.h"
#include "files/InstallFolders.h"
#include "platform/dialog.h"
#include "platform/paths.h"
#include "sound/Sounds.h"

namespace {

enum class ChooserMode { Background, NewScene };

constexpr int kMostItems = 999;
constexpr int kBackgroundMessage = 9, kNewSceneMessage = 18, kPressLoadMessage = 8;

struct Chooser {
  ChooserMode mode = ChooserMode::Background;
  int count = 1;  // the first number without a thumbnail
  int page = 0;
  int lastPage = 0;
  bool selected = false;
  int selectedPage = 0, selectedPosition = 0;  // position 1-20 on that page
};

std::string numbered(const char* format, int n) {
  char name[64];
  std::snprintf(name, sizeof name, format, n);
  return name;
}

const char* thumbnailFormat(ChooserMode mode) {
  return mode == ChooserMode::Background ? "./image/bimg%03d.bmp" : "./image/new%03d.bmp";
}

int modeMessage(ChooserMode mode) { return mode == ChooserMode::Background ? kBackgroundMessage : kNewSceneMessage; }

// Items are numbered from 1 without gaps: the first missing thumbnail ends the list.
int firstMissing(ChooserMode mode) {
  int n = 1;
  while (n <= kMostItems && fileExists(numbered(thumbnailFormat(mode), n))) ++n;
  return n;
}

int lastPageFor(int count) { return std::max(0, (count - 2) / thumbnail::kSlotsPerPage); }

void showPage(Dialog& dialog, const Chooser& c) {
  for (int i = 0; i < thumbnail::kSlotsPerPage; ++i) {
    const int id = thumbnail::kSlotIds[i];
    const int n = i + 1 + thumbnail::kSlotsPerPage * c.page;
    const bool shown = n < c.count;
    dialog.setPicture(id, shown ? thumbnail::loadThumbnail(numbered(thumbnailFormat(c.mode), n)) : Surface());
    dialog.show(id, shown);
  }
}

// No preview and no Load until an item of the page shown is clicked.
void clearSelection(Dialog& dialog, Chooser& c) {
  dialog.setPicture(thumbnail::kPreview, Surface());
  dialog.show(thumbnail::kPreview, false);
  dialog.enable(thumbnail::kLoad, false);
  c.selected = false;
}

void showOpening(Dialog& dialog, Chooser& c) {
  using namespace thumbnail;
  for (int id : {kSave, kDelete, kNew, kCurrentView, kReceive, kSend}) dialog.show(id, false);
  c.count = firstMissing(c.mode);
  c.page = 0;
  c.lastPage = lastPageFor(c.count);
  showPage(dialog, c);
  clearSelection(dialog, c);
  showTitle(dialog);
  showMessage(dialog, modeMessage(c.mode));
  dialog.enable(kPrevious, false);
  dialog.enable(kNext, c.page < c.lastPage);
}

void clickItem(Dialog& dialog, Chooser& c, int position) {
  const int n = position + thumbnail::kSlotsPerPage * c.page;
  if (n >= c.count) return;  // a hidden button: nothing to choose there
  dialog.setPicture(thumbnail::kPreview, thumbnail::loadThumbnail(numbered(thumbnailFormat(c.mode), n)));
  dialog.show(thumbnail::kPreview, true);
  dialog.enable(thumbnail::kLoad, true);
  c.selected = true;
  c.selectedPage = c.page;
  c.selectedPosition = position;
  thumbnail::showMessage(dialog, kPressLoadMessage);
}

void turnPage(Dialog& dialog, Chooser& c, int step) {
  clearSelection(dialog, c);
  const int page = std::clamp(c.page + step, 0, c.lastPage);
  if (page != c.page) {
    c.page = page;
    showPage(dialog, c);
  }
  dialog.enable(thumbnail::kPrevious, c.page > 0);
  dialog.enable(thumbnail::kNext, c.page < c.lastPage);
  thumbnail::showMessage(dialog, modeMessage(c.mode));
}

void load(Program& p, Dialog& dialog, const Chooser& c) {
  setCursor(p.shell.waitCursor);
  const int n = c.selectedPosition + thumbnail::kSlotsPerPage * c.selectedPage;
  if (c.mode == ChooserMode::Background) {
    // A picture that is not there leaves the background as it was, without a word.
    if (confirmInstall(p) && enterDataRoot(p.folders)) setBackground(p, numbered("./image/bimg%03d.ppm", n));
  } else {
    // Only the twenty plate sizes make a scene; a further picture changes nothing.
    newScenePlate(p.editor, n);
  }
  // The view shows the change as soon as the chooser is gone, wherever the pointer is.
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  p.renderer.fullRedrawPending = 1;
  dialog.setText(thumbnail::kMessage, "File loaded,\nPress CLOSE button");
  setCursor(p.shell.arrowCursor);
}

// The working windows take no input while the chooser is open; each gets back the state it had.
class WorkingWindowsOff {
public:
  explicit WorkingWindowsOff(const ShellState& shell)
      : windows{shell.ViewWindow, shell.SidePanel, shell.BottomPanel, shell.TabStrip} {
    for (size_t i = 0; i < windows.size(); ++i) {
      wasEnabled[i] = windows[i] && isWindowEnabled(windows[i]);
      if (windows[i]) enableWindow(windows[i], false);
    }
  }
  ~WorkingWindowsOff() {
    for (size_t i = 0; i < windows.size(); ++i)
      if (windows[i]) enableWindow(windows[i], wasEnabled[i]);
  }
  WorkingWindowsOff(const WorkingWindowsOff&) = delete;
  WorkingWindowsOff& operator=(const WorkingWindowsOff&) = delete;

private:
  std::array<HWindow, 4> windows;
  std::array<bool, 4> wasEnabled{};
};

void centreOnMainWindow(Program& p, Dialog& dialog) {
  if (!dialog.isOpen() || !p.shell.BackdropWindow) return;
  const Rect main = windowRect(p.shell.BackdropWindow), box = windowRect(dialog.window());
  moveWindow(dialog.window(), main.left + (main.width() - box.width()) / 2,
             main.top + (main.height() - box.height()) / 2, box.width(), box.height());
}

void runChooser(Program& p, HWindow owner, ChooserMode mode) {
  if (!confirmInstall(p)) return;
  enterDataRoot(p.folders);
  WorkingWindowsOff windowsOff(p.shell);
  DialogTemplate layout = thumbnail::layout("THUMBNAIL");
  // Escape and the program closing end the chooser like Close, without the button's sound.
  layout.escapeCommand = IDCANCEL;
  Dialog dialog(layout, owner);
  centreOnMainWindow(p, dialog);
  Chooser c;
  c.mode = mode;
  showOpening(dialog, c);
  for (;;) {
    const int command = dialog.nextCommand();
    if (command == IDCANCEL) return;
    playEffect(p.sound, EffectId::Menu);
    if (const int position = thumbnail::positionOf(command)) {
      clickItem(dialog, c, position);
    } else if (command == thumbnail::kLoad && c.selected) {
      load(p, dialog, c);
      return;
    } else if (command == thumbnail::kPrevious) {
      turnPage(dialog, c, -1);
    } else if (command == thumbnail::kNext) {
      turnPage(dialog, c, +1);
    } else if (command == thumbnail::kClose) {
      return;
    }
  }
}

}  // namespace

void openPictureChooser(Program& p, HWindow owner) { runChooser(p, owner, ChooserMode::Background); }

void openNewSceneChooser(Program& p, HWindow owner) { runChooser(p, owner, ChooserMode::NewScene); }
