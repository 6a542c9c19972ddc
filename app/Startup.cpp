// Start-up in its fixed order: folders, window classes, the backdrop, the display mode, the working windows.
// Any failure before the message loop ends the program with exit code 1.
#include <cstdio>

#include "app/Settings.h"
#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "edit/ViewInstall.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/Settings.h"
#include "files/InstallFolders.h"
#include "render/RenderDevice.h"
#include "sound/BlockSoundEffects.h"
#include "sound/Sounds.h"

bool ChangeDisplayMode(HWindow window, int width, int height, int bits) {
  bool ok = D3DAppCreateDisplay() && D3DAppSetCoopLevel(window, true);
  if (ok) {
    // Going back to the desktop's own mode means leaving full screen.
    bool desktop = DisplayMode{width, height, bits} == shell.savedDisplayMode && shell.minimised == 0 &&
                   !(shell.savedDisplayMode == shell.gameDisplayMode);
    ok = desktop ? D3DAppRestoreDisplayMode() : D3DAppSetDisplayMode(width, height, bits);
  }
  ok = ok && D3DAppSetCoopLevel(window, false);
  if (!ok) messageBox(nullptr, D3DAppLastErrorText(), shell.sharedCaption, MB_OK);
  return ok;
}

static void loadCursors() {
  shell.handCursor = loadCursor("HAND");
  shell.hand2Cursor = loadCursor("HAND2");
  shell.paintCursor = loadCursor("PAINT");
  shell.soundCursor = loadCursor("SOUND");
  shell.cannotCursor = loadCursor("CANNOT");
  shell.hammerCursor = loadCursor("HAMMER");
  shell.waitCursor = loadCursor("wait");
  shell.arrowCursor = loadCursor("arrow");
}

bool startUp(const std::string& commandLine) {
  readSettings();
  shell.backgroundPicturePath = "./scene\\sky.ppm";
  if (!confirmFolders()) return false;
  enterDataRoot();
  loadCursors();
  if (!isClassRegistered("ViewerClass2")) registerShellClasses();

  shell.BackdropWindow = createWindow("ViewerClass2", "Tolvane", true, 0, 0, 540, 380, nullptr);
  if (!shell.BackdropWindow) return false;

  shell.savedDisplayMode = desktopDisplayMode();
  if (ChangeDisplayMode(shell.BackdropWindow, 640, 480, 16))
    shell.gameDisplayMode = DisplayMode{640, 480, 16};
  else if (ChangeDisplayMode(shell.BackdropWindow, 800, 600, 16))
    shell.gameDisplayMode = DisplayMode{800, 600, 16};
  else
    return false;

  showWindow(shell.BackdropWindow, ShowCmd::ShowMaximised);
  // The start picture covers the screen while the rest loads; the first frame of the view replaces it.
  const Rect screen = windowRect(shell.BackdropWindow);
  shell.VideoWindow = createWindow("AVIViewerClass", "Tolvane", false, (screen.right - screen.left) / 2 - 320,
                                   (screen.bottom - screen.top) / 2 - 240, 640, 480, shell.BackdropWindow);
  showWindow(shell.VideoWindow, ShowCmd::Show);
  paintStartPicture(shell.VideoWindow);
  if (!createWorkingWindows()) return false;

  // The start jingle plays while the rest starts; the effects load alongside (a missing one only silences).
  setCursor(shell.waitCursor);
  loadJingle(shell.sound, JingleKind::Start, shell.ViewWindow);
  loadEffects(shell.sound, shell.ViewWindow);
  editState.sound = &shell.sound;
  moveNotePlayer = [](MoveNote note) {
    const bool held = editState.holding && selectedBlock != nullptr;
    const int h = noteHeight(held, held ? selectedBlock->position.y : 0.0f);
    if (note == MoveNote::Landing)
      landingNote(shell.sound, h);
    else
      bumpNote(shell.sound, h);
  };
  playJingle(shell.sound);
  loadPanelBitmapsFirst();

  editHooks.sceneChanged = [] { shell.sceneUnchanged = 0; };
  runFrame = installSceneRenderer([](FrameConditions& conditions) {
    conditions.explosionRunning = shell.explosionActive != 0;
    conditions.hideStuds = settings.hideStuds;
  });
  if (!startRenderView(shell.ViewWindow, commandLine, DataRoot)) return false;

  for (HWindow window : {shell.SidePanel, shell.BottomPanel, shell.TabStrip, shell.ViewWindow})
    showWindow(window, ShowCmd::Show);
  loadPanelBitmapsSecond();
  waitForStartJingle(shell.sound);
  if (runFrame) runFrame();
  destroyWindow(shell.VideoWindow);
  shell.VideoWindow = nullptr;
  shell.sound.dataRoot = confirmFolders() ? DataRoot : std::string();
  startBackgroundMusic(shell.sound);
  setCursor(shell.hand2Cursor);
  return true;
}

void waitForStartJingle(SoundState& sound) {
  uint32_t limit = jingleWaitLimit(sound);
  for (uint32_t waited = 0; jingleIsPlaying(sound) && waited < limit; waited += 10) sleepMs(10);
  releaseJingle(sound);
}

int runTolvane(const std::string& commandLine) {
  EffectsBlockSounds blockSounds(shell.sound);
  setBlockSoundPlayer(&blockSounds);
  int code = startUp(commandLine) ? runMessageLoop() : 1;
  setBlockSoundPlayer(nullptr);
  resetSound(shell.sound);
  return code;
}
