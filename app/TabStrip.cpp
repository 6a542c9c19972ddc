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

const Surface& tabBase() { return panelArt.mselect; }
const Surface& tabPressed() { return panelArt.mselectx; }

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

void paintHighlight() {
  const Rect& tab = shell.screenState == EditScreen     ? kEditTab
                    : shell.screenState == OptionsScreen ? kOptionsTab
                                                         : kGameTab;
  drawPicture(shell.TabStrip, tabPressed(), tab);
}

}  // namespace

void paintTabStrip() {
  drawPicture(shell.TabStrip, tabBase(), Rect{0, 0, 540, 24});
  paintHighlight();
}

void ReleaseButtons() {
  if (shell.pendingButton == shell.pressedButton) return;
  if (const TabButton* button = buttonWithId(shell.pressedButton)) drawPicture(shell.TabStrip, tabBase(), button->rect);
  shell.pressedButton = shell.pendingButton;
}

intptr_t tabStripInput(HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Paint:
      validateRect(window, nullptr);
      paintTabStrip();
      return 0;
    case Msg::MouseMove: {
      const TabButton* button = buttonAt(m.x, m.y);
      if (button) setCursor(shell.hand2Cursor);
      shell.pendingButton = button ? button->id : 0;
      return 0;
    }
    case Msg::LButtonDown:
      if (const TabButton* button = buttonAt(m.x, m.y)) {
        drawPicture(window, tabPressed(), button->rect);
        playEffect(shell.sound, EffectId::Menu);
        shell.pressedButton = button->id;
      }
      return 0;
    case Msg::LButtonUp: {
      endViewHoldOverPanel();
      const TabButton* button = buttonAt(m.x, m.y);
      if (button && button->id == shell.pressedButton && confirmFolders()) {
        drawPicture(window, tabBase(), button->rect);
        if (button == &kMinimise)
          minimiseProgram();
        else
          exitProgram();
      }
      shell.pendingButton = 0;
      ReleaseButtons();
      return 0;
    }
    case Msg::RButtonUp:
      viewRightUpOverPanel();
      return defWindowProc(window, m);
    default: return defWindowProc(window, m);
  }
}
