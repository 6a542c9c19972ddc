// The options screen's bottom panel: help, music on and off (each stop selects the next tune), the
// background picture, printing and the settings. The buttons with an identifier act when the button
// comes up inside the one that went down.
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/Picking.h"
#include "files/InstallFolders.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "sound/Sounds.h"

namespace {

struct OptionButton {
  int id;
  Rect rect;  // hit rectangle, also where its picture sits in both panel bitmaps
};

const OptionButton kHelp{101, Rect{17, 8, 66, 60}};
const OptionButton kPrint{104, Rect{195, 9, 259, 58}};
const OptionButton kSettings{105, Rect{264, 9, 330, 63}};
const OptionButton kBackground{103, Rect{127, 8, 181, 57}};
const Rect kMusic{72, 7, 118, 58};

// In the order they are tested.
const OptionButton* const kButtons[] = {&kHelp, &kPrint, &kSettings, &kBackground};

const OptionButton* buttonAt(int x, int y) {
  for (const OptionButton* button : kButtons)
    if (button->rect.contains(x, y)) return button;
  return nullptr;
}

void drawNormal(Program& p, const Rect& r) { drawPicture(p.shell.BottomPanel, p.panelArt.hoption, r); }

void pointerMoved(Program& p, const Message& m) {
  if (!p.world.movement.leftDrag) p.shell.viewActive = 0;
  const OptionButton* button = buttonAt(m.x, m.y);
  setCursor(button || kMusic.contains(m.x, m.y) ? p.shell.hand2Cursor : p.shell.arrowCursor);
  p.shell.pendingButton = button ? button->id : 0;
}

void leftPressed(Program& p, const Message& m) {
  if (const OptionButton* button = buttonAt(m.x, m.y)) {
    drawPicture(p.shell.BottomPanel, p.panelArt.hoptionx, button->rect);
    p.shell.pressedButton = button->id;
  } else if (kMusic.contains(m.x, m.y)) {
    setCursor(p.shell.waitCursor);
    musicButton(p.sound);
    drawMusicButton(p);
    setCursor(p.shell.hand2Cursor);
  }
}

// The working windows are disabled while a dialog of the options screen is open.
void enableWorkingWindows(Program& p, bool enable) {
  for (HWindow w : {p.shell.ViewWindow, p.shell.SidePanel, p.shell.BottomPanel, p.shell.TabStrip}) enableWindow(w, enable);
}

void release(Program& p, const OptionButton& button) {
  if (&button == &kHelp) {
    openHelpPage(p, "help.html");
    drawNormal(p, button.rect);
  } else if (&button == &kPrint) {
    for (HWindow w : {p.shell.ViewWindow, p.shell.SidePanel, p.shell.TabStrip}) enableWindow(w, false);
    // The caption sheet prints what the file-information form was just confirmed with.
    if (openFileInfoForm(p, p.shell.BottomPanel)) printScene(p);
    for (HWindow w : {p.shell.ViewWindow, p.shell.SidePanel, p.shell.TabStrip}) enableWindow(w, true);
    drawNormal(p, button.rect);
  } else if (&button == &kSettings) {
    enableWorkingWindows(p, false);
    openSettingsDialog(p);
    releaseHold(p.editor);
    runFrame(p);
    enableWorkingWindows(p, true);
    drawNormal(p, button.rect);
  } else {  // background picture
    if (confirmInstall(p)) openPictureChooser(p, p.shell.BottomPanel);
    enterDataRoot(p.folders);
    drawNormal(p, button.rect);
    p.shell.viewActive = 1;
  }
}

void leftReleased(Program& p, const Message& m) {
  const OptionButton* button = buttonAt(m.x, m.y);
  if (button && button->id == p.shell.pressedButton) release(p, *button);
  p.shell.pendingButton = 0;
  ReleaseButtons(p);
}

}  // namespace

void drawOptionsButtonNormal(Program& p, int id) {
  if (p.shell.screenState != OptionsScreen) return;
  for (const OptionButton* button : kButtons)
    if (button->id == id) drawNormal(p, button->rect);
}

void openHelpPage(Program& p, const std::string& name) {
  const std::string page = joinPath(p.folders.dataRoot, name);
  if (!openWithDesktop(page))
    messageBox(p.shell.ViewWindow, "도움말을 열 수 없습니다.\n" + page, p.shell.sharedCaption, MB_OK | MB_ICONWARNING);
}

bool optionsPanelInput(Program& p, const Message& m) {
  if (p.shell.screenState != OptionsScreen) return false;
  switch (m.msg) {
    case Msg::MouseMove: pointerMoved(p, m); return true;
    case Msg::LButtonDown: leftPressed(p, m); return true;
    case Msg::LButtonUp: leftReleased(p, m); return true;
    default: return false;
  }
}
