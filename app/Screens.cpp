// The four screens: entering each of them, and painting the side panel, the bottom panel and the tab
// strip for the screen that shows.
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "edit/Picking.h"
#include "files/InstallFolders.h"
#include "files/SceneFile.h"
#include "platform/paths.h"
#include "sound/Sounds.h"

namespace {

// The music button of the options screen shows whether music plays.
const Rect kMusicButton{72, 7, 118, 58};
// The game screen's music button.
const Rect kGameMusicButton{422, 19, 471, 66};

void setScreen(Program& p, ScreenState screen) {
  // Leaving the game selection for editing or the options brings back the tune it stopped.
  if (p.shell.screenState == GameSelectScreen && (screen == EditScreen || screen == OptionsScreen))
    restoreMusicAfterDialog(p.sound);
  p.shell.screenState = screen;
  // Clicks and keys made while the view turns are dropped only on the edit screen.
  p.editor.state.editScreen = screen == EditScreen;
}

// A block held when the screen changes is let go where it is.
void dropHeldBlock(Program& p) {
  if (!p.editor.state.holding) return;
  p.world.movement.keyMove = false;
  p.world.selectedBlock = nullptr;
  releaseHold(p.editor);
}

}  // namespace

void drawMusicButton(Program& p) {
  const Surface& picture = p.sound.musicOn ? p.panelArt.hoption : p.panelArt.hoptionx;
  drawPicture(p.shell.BottomPanel, picture, kMusicButton);
}

void drawGameMusicButton(Program& p) {
  const Surface& picture = p.sound.musicOn ? p.panelArt.hgame : p.panelArt.hgamex;
  drawPicture(p.shell.BottomPanel, picture, kGameMusicButton);
}

void EnterEditScreen(Program& p) {
  setScreen(p, EditScreen);
  paintTabStrip(p);
  PaintEditPanels(p);
  drawEditToolPictures(p);
}

void enterOptionsScreen(Program& p) {
  setScreen(p, OptionsScreen);
  paintTabStrip(p);
  PaintOptionPanels(p);
  drawMusicButton(p);
  playEffect(p.sound, EffectId::Menu);
}

void EnterGameSelectScreen(Program& p) {
  std::optional<Folders> folders = confirmFolders();
  if (!folders) return;
  p.folders = *folders;
  enterDataRoot(p.folders);
  EditState& e = p.editor.state;
  e.removeTool = false;
  p.world.movement.wholeBrickDrop = true;
  setScreen(p, GameSelectScreen);
  paintTabStrip(p);
  playEffect(p.sound, EffectId::Menu);
  setPaintTool(p.editor, 0);
  setCursor(p.shell.hand2Cursor);
  stopMusicForDialog(p.sound);
  dropHeldBlock(p);
  PaintGameSelectPanels(p);
  // The scene as it is now is what leaving the game brings back.
  WriteSceneFile(p.sceneFile, p.world, joinPath(systemScratchFolder(), "~temp.lml"));

  drawSnapshotButton(p);
  if (openGameSlots(p, p.shell.TabStrip) == thumbnail::kClose) {
    EnterEditScreen(p);
  } else {
    enterLoadedGame(p);
  }
  if (p.shell.onDemandRedraw) runFrame(p);
}

void enterLoadedGame(Program& p) {
  setScreen(p, GameScreen);
  paintTabBase(p);
  paintGameStrip(p);
  PaintGamePanels(p);
  startTune(p.sound, 5, true);
  resetGameTunes(p.sound);
  drawGameMusicButton(p);  // after the tune started: it shows whether music plays
  if (p.gameState.currentLevel == 0) drawPicture(p.shell.BottomPanel, p.panelArt.hgamex, Rect{62, 10, 131, 69});
}

void paintScreenPanels(Program& p) {
  switch (p.shell.screenState) {
    case EditScreen:
      PaintEditPanels(p);
      drawEditToolPictures(p);
      break;
    case OptionsScreen:
      PaintOptionPanels(p);
      drawMusicButton(p);
      break;
    case GameSelectScreen:
      PaintGameSelectPanels(p);
      drawSnapshotButton(p);
      break;
    case GameScreen:
      PaintGamePanels(p);
      drawGameMusicButton(p);
      break;
  }
}
