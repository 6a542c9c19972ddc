// The tab strip: the four tabs that switch screens (edit, options, game) or open the scene slots (save),
// and the minimise and exit buttons, which act when the button comes up inside the button that went
// down. While a game level is loaded the strip refuses every press.
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/Picking.h"
#include "files/InstallFolders.h"
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
const Rect kSaveTab{226, 0, 290, 23};

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

bool gameInProgress(const Program& p) { return p.world.game.gameSetup || p.world.game.gameRunning; }

// The save tab: the scene slots open over the edit screen, which stays the screen afterwards.
void pressSaveTab(Program& p) {
  std::optional<Folders> folders = confirmFolders();
  if (!folders) return;
  p.folders = *folders;
  enterDataRoot(p.folders);
  p.editor.state.removeTool = false;
  p.world.movement.wholeBrickDrop = true;
  paintTabBase(p);
  paintTabHighlight(p, Tab::Save);
  playEffect(p.sound, EffectId::Menu);
  if (p.editor.state.holding) {
    p.world.movement.keyMove = false;
    p.world.selectedBlock = nullptr;
    releaseHold(p.editor);
  }
  if (openSceneSlots(p, p.shell.TabStrip)) openNewSceneChooser(p, p.shell.TabStrip);
  paintTabBase(p);
  paintTabHighlight(p, Tab::Edit);
  if (p.shell.screenState == EditScreen) drawEditToolPictures(p);
  playEffect(p.sound, EffectId::Menu);
}

void leftPressed(Program& p, HWindow window, const Message& m) {
  if (kOptionsTab.contains(m.x, m.y)) {
    enterOptionsScreen(p);
  } else if (kGameTab.contains(m.x, m.y)) {
    EnterGameSelectScreen(p);
  } else if (kEditTab.contains(m.x, m.y)) {
    EnterEditScreen(p);
    playEffect(p.sound, EffectId::Menu);
  } else if (kSaveTab.contains(m.x, m.y)) {
    pressSaveTab(p);
  } else if (const TabButton* button = buttonAt(m.x, m.y)) {
    drawPicture(window, p.panelArt.mselectx, button->rect);
    playEffect(p.sound, EffectId::Menu);
    p.shell.pressedButton = button->id;
  }
}

void pointerMoved(Program& p, const Message& m) {
  if (gameInProgress(p)) {
    setCursor(p.shell.cannotCursor);
    return;
  }
  if (!p.world.movement.leftDrag) p.shell.viewActive = 0;
  if (p.shell.onDemandRedraw) p.shell.frameRequested = 1;
  const TabButton* button = buttonAt(m.x, m.y);
  const bool onTab = kEditTab.contains(m.x, m.y) || kOptionsTab.contains(m.x, m.y) || kGameTab.contains(m.x, m.y) ||
                     kSaveTab.contains(m.x, m.y);
  setCursor(button || onTab ? p.shell.hand2Cursor : p.shell.arrowCursor);
  if (kGameTab.contains(m.x, m.y)) p.shell.viewActive = 1;
  if (button)
    p.shell.pendingButton = button->id;
  else if (!kGameTab.contains(m.x, m.y))
    p.shell.pendingButton = 0;
}

}  // namespace

void paintTabStrip(Program& p) {
  paintTabBase(p);
  switch (p.shell.screenState) {
    case EditScreen: paintTabHighlight(p, Tab::Edit); break;
    case OptionsScreen: paintTabHighlight(p, Tab::Options); break;
    case GameSelectScreen: paintTabHighlight(p, Tab::Game); break;
    default: paintGameStrip(p); break;
  }
}

void ReleaseButtons(Program& p) {
  if (p.shell.pendingButton == p.shell.pressedButton) return;
  if (const TabButton* button = buttonWithId(p.shell.pressedButton))
    drawPicture(p.shell.TabStrip, p.panelArt.mselect, button->rect);
  else {
    drawSidePanelButtonNormal(p, p.shell.pressedButton);
    drawBottomPanelButtonNormal(p, p.shell.pressedButton);
    drawOptionsButtonNormal(p, p.shell.pressedButton);
  }
  p.shell.pressedButton = p.shell.pendingButton;
}

intptr_t tabStripInput(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Paint:
      validateRect(window, nullptr);
      paintTabBase(p);
      if (p.shell.screenState == GameSelectScreen || p.shell.screenState == GameScreen)
        paintGameStrip(p);
      else
        paintTabStrip(p);
      return 0;
    case Msg::MouseMove: pointerMoved(p, m); return 0;
    case Msg::LButtonDown:
      if (gameInProgress(p)) {
        setCursor(p.shell.cannotCursor);
        playEffect(p.sound, EffectId::Undo);
      } else {
        leftPressed(p, window, m);
      }
      return 0;
    case Msg::LButtonUp: {
      endViewHoldOverPanel(p);
      if (gameInProgress(p)) {
        setCursor(p.shell.cannotCursor);
        return 0;
      }
      const TabButton* button = buttonAt(m.x, m.y);
      if (button && button->id == p.shell.pressedButton && confirmInstall(p)) {
        drawPicture(window, p.panelArt.mselect, button->rect);
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
