// The dialogs of the panels: the settings (three switches stored in the settings store) and the cast
// picture with its tune.
#include "app/PanelArt.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "platform/dialog.h"
#include "sound/Sounds.h"

namespace {

constexpr int kAutoView = 1042, kBasicBlocksOnly = 1043, kHideStuds = 1063;

DialogTemplate settingsTemplate() {
  DialogTemplate t;
  t.name = "SETTINGDLG";
  t.title = "세팅";
  t.width = 268;
  t.height = 132;
  t.escapeCommand = 0;  // only the OK button closes it
  t.controls = {
      {kAutoView, ControlKind::CheckBox, "시점 자동 변경", Rect{18, 14, 250, 34}},
      {kBasicBlocksOnly, ControlKind::CheckBox, "시점 변경시 기본블럭만 보여주기", Rect{18, 40, 250, 60}},
      {kHideStuds, ControlKind::CheckBox, "블럭 꼭지 감추기", Rect{18, 66, 250, 86}},
      {IDOK, ControlKind::DefaultButton, "확인", Rect{92, 98, 176, 124}},
  };
  return t;
}

DialogTemplate castTemplate() {
  DialogTemplate t;
  t.name = "CASTDLG";
  t.width = 640;
  t.height = 480;
  t.anyInputEnds = true;
  t.controls = {{100, ControlKind::Picture, "", Rect{0, 0, 640, 480}}};
  return t;
}

}  // namespace

void openSettingsDialog(Program& p) {
  // The dialog shows what the store holds, not what this run has in memory.
  readSettings(p);
  DisplaySettings& settings = p.editor.settings;
  Dialog dialog(settingsTemplate(), p.shell.ViewWindow);
  dialog.setChecked(kAutoView, settings.autoView);
  dialog.setChecked(kBasicBlocksOnly, settings.basicBlocksOnly);
  dialog.setChecked(kHideStuds, settings.hideStuds);
  int command = 0;
  do command = dialog.nextCommand();
  while (command != IDOK && command != IDCANCEL);
  if (command != IDOK) return;  // the program is closing
  settings.autoView = dialog.checked(kAutoView);
  settings.basicBlocksOnly = dialog.checked(kBasicBlocksOnly);
  settings.hideStuds = dialog.checked(kHideStuds);
  if (!settings.hideStuds) p.renderer.drawStuds = 1;
  p.renderer.fullRedrawPending = 1;
  writeSettings(p);
}

void openCastDialog(Program& p) {
  Surface picture;
  loadPicture("./scene/cast2.tbm", p.shell.SidePanel, picture);
  Dialog dialog(castTemplate(), nullptr);
  dialog.setPicture(100, picture);
  startCastMusic(p.sound);
  dialog.nextCommand();
  stopCastMusic(p.sound);
}
