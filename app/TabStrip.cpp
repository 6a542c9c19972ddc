// The tab strip: its base picture with the current screen's tab highlighted, and its minimise and exit
// buttons, which act when the button comes up inside the button that went down.
#include "app/Shell.h"
#include "files/InstallFolders.h"
#include "app/PanelArt.h"
#include "sound/Sounds.h"

namespace {

struct TabButton {
  int id;
  Rect rect;
};

const TabButton kMinimise{501, Rect{486, 0, 508, 23}};
const TabButton kExit{502, Rect{510, 0, 531, 23}};
const Rect kEditTab{292, 0, 354, 23};
const Rect kOptionsTab{422, 0, 485, 23};
const Rect kGameTab{356, 0, 420, 23};

const Surface& tabBase(Program& p) { return p.panelArt.mselect; }
const Surface& tabPressed(Program& p) { return p.panelArt.mselectx; }

const TabButton* buttonAt(int x, int y) {
  for (const TabButton* button : {&kMinimise, &kExit})
    if (button->rect.contains(x, y)) return button;
  return nullptr;
}

const TabButton* buttonWithId(int id) {
  for (const TabButton* button : {&kMinimise, &kExit})
    if (button->id == id) return button;
  return nullptr;
}

void paintHighlight(Program& p) {
  const Rect& tab = p.shell.screenState == EditScreen     ? kEditTab
                    : p.shell.screenState == OptionsScreen ? kOptionsTab
                                                         : kGameTab;
  drawPicture(p.shell.TabStrip, tabPressed(p), tab);
}

}  // namespace

void paintTabStrip(Program& p) {
  drawPicture(p.shell.TabStrip, tabBase(p), Rect{0, 0, 540, 24});
  paintHighlight(p);
}

void ReleaseButtons(Program& p) {
  if (p.shell.pendingButton == p.shell.pressedButton) return;
  if (const TabButton* button = buttonWithId(p.shell.pressedButton))
    drawPicture(p.shell.TabStrip, tabBase(p), button->rect);
  else {
    drawSidePanelButtonNormal(p, p.shell.pressedButton);
    drawBottomPanelButtonNormal(p, p.shell.pressedButton);
  }
  p.shell.pressedButton = p.shell.pendingButton;
}

intptr_t tabStripInput(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Paint:
      validateRect(window, nullptr);
      paintTabStrip(p);
      return 0;
    case Msg::MouseMove: {
      const TabButton* button = buttonAt(m.x, m.y);
      if (button) setCursor(p.shell.hand2Cursor);
      p.shell.pendingButton = button ? button->id : 0;
      return 0;
    }
    case Msg::LButtonDown:
      if (const TabButton* button = buttonAt(m.x, m.y)) {
        drawPicture(window, tabPressed(p), button->rect);
        playEffect(p.sound, EffectId::Menu);
        p.shell.pressedButton = button->id;
      }
      return 0;
    case Msg::LButtonUp: {
      endViewHoldOverPanel(p);
      const TabButton* button = buttonAt(m.x, m.y);
      if (button && button->id == p.shell.pressedButton && confirmInstall(p)) {
        drawPicture(window, tabBase(p), button->rect);
        if (button == &kMinimise)
          minimiseProgram(p);
        else
          exitProgram(p);
      }
      p.shell.pendingButton = 0;
      ReleaseButtons(p);
      return 0;
    }
    case Msg::RButtonUp:
      viewRightUpOverPanel(p);
      return defWindowProc(window, m);
    default: return defWindowProc(window, m);
  }
}
