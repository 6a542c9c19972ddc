// The six windows: their classes, their places on the screen and how each routes its messages; minimising
// and restoring the whole program.
//
// Index: [SECTION] Places  [SECTION] Shared handling  [SECTION] Procedures  [SECTION] Minimise and restore

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "files/InstallFolders.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/Settings.h"
#include "scene/SceneList.h"

// [SECTION] Places

struct Place {
  HWindow ShellState::*window;
  const char* className;
  int dx, dy, width, height;  // offset of the top-left corner from the backdrop's centre
};

static const Place kPlaces[] = {
    {&ShellState::ViewWindow, "ViewerClass", -220, -216, 540, 380},
    {&ShellState::SidePanel, "ViewerClass3", -320, -240, 100, 480},
    {&ShellState::BottomPanel, "ViewerClass4", -220, 164, 540, 76},
    {&ShellState::TabStrip, "ViewerClass5", -220, -240, 540, 24},
};

static Point centreOf(const Rect& r) { return Point{r.left + r.width() / 2, r.top + r.height() / 2}; }

bool createWorkingWindows() {
  Point c = centreOf(windowRect(shell.BackdropWindow));
  for (const Place& place : kPlaces)
    shell.*place.window = createWindow(place.className, "Tolvane", false, c.x + place.dx, c.y + place.dy, place.width,
                                       place.height, shell.BackdropWindow);
  if (!shell.ViewWindow) return false;
  shell.viewClientRect = clientRect(shell.ViewWindow);
  return true;
}

void placeWorkingWindows(const Rect& rect) {
  Point c = centreOf(rect);
  for (const Place& place : kPlaces) {
    HWindow window = shell.*place.window;
    showWindow(window, ShowCmd::Restore);
    moveWindow(window, c.x + place.dx, c.y + place.dy, place.width, place.height);
    showWindow(window, ShowCmd::ShowNoActivate);
  }
}

// [SECTION] Shared handling

static bool allWorkingWindowsExist() {
  return isWindow(shell.ViewWindow) && isWindow(shell.SidePanel) && isWindow(shell.BottomPanel) &&
         isWindow(shell.TabStrip);
}

// Destroying any of the main windows takes the program down: shut down once, and close the side panel,
// whose own destruction repeats these steps harmlessly.
static void onMainWindowDestroyed() {
  sceneClear();
  ShutDownApp();
  if (isWindow(shell.SidePanel)) postMessage(shell.SidePanel, Msg::Close);
}

// Keys every window hands on: Escape cuts the quit jingle short.
static void keyboardCommand(int key) {
  if (key == VK_ESCAPE && shell.exitWaiting) shell.exitWaitCancelled = 1;
}

static void forgetWindow(HWindow window) {
  for (HWindow* slot : {&shell.BackdropWindow, &shell.VideoWindow, &shell.ViewWindow, &shell.SidePanel,
                        &shell.BottomPanel, &shell.TabStrip})
    if (*slot == window) *slot = nullptr;
}

// [SECTION] Procedures

static intptr_t backdropProc(HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Destroy:
      onMainWindowDestroyed();
      forgetWindow(window);
      return 0;
    case Msg::Paint: validateRect(window, nullptr); return 0;
    case Msg::MouseActivate: return kNoActivate;
    case Msg::WindowPosChanging:
      if (shell.minimised) restoreProgram();
      return 0;
    case Msg::KeyDown:
    case Msg::LButtonDown:
      // Keep the working windows in front of the backdrop.
      if (foregroundWindow() == window && allWorkingWindowsExist())
        for (HWindow w : {shell.SidePanel, shell.BottomPanel, shell.TabStrip, shell.ViewWindow}) bringToTop(w);
      if (m.msg == Msg::KeyDown) keyboardCommand(m.key);
      return 0;
    case Msg::MouseMove: return 0;
    case Msg::LButtonUp:
      shell.pendingButton = 0;
      ReleaseButtons();
      endViewHoldOverPanel();
      return 0;
    case Msg::RButtonUp:
      viewRightUpOverPanel();
      return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t videoProc(HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Paint: validateRect(window, nullptr); return 0;
    case Msg::MouseActivate: return kNoActivate;
    case Msg::KeyDown:
      if (m.key == VK_ESCAPE && !shell.videoFinished) shell.videoFinished = 1;
      return 0;
    case Msg::Destroy: forgetWindow(window); return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t viewProc(HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Destroy:
      onMainWindowDestroyed();
      forgetWindow(window);
      return 0;
    case Msg::Paint: {
      Rect update;
      if (getUpdateRect(window, update)) {
        validateRect(window, nullptr);
        shell.viewActive = 1;
      }
      D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW);
      return 0;
    }
    case Msg::KeyDown:
      viewKeyDown(m.key);
      keyboardCommand(m.key);
      return 0;
    case Msg::SysKeyDown:
    case Msg::SysCommand: return 0;
    case Msg::MouseMove: viewMouseMove(m); return 0;
    case Msg::LButtonDown: viewLeftDown(m); return 0;
    case Msg::LButtonUp: viewLeftUp(); return 0;
    case Msg::LButtonDblClk: viewLeftDoubleClick(m); return 0;
    case Msg::RButtonDown: viewRightDown(window, m); return 0;
    case Msg::RButtonUp: viewRightUp(); return 0;
    case Msg::RButtonDblClk: viewRightDoubleClick(m); return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t panelProc(HWindow window, const Message& m) {
  if (window == shell.TabStrip && m.msg != Msg::Destroy && m.msg != Msg::KeyDown) return tabStripInput(window, m);
  switch (m.msg) {
    case Msg::Destroy:
      if (window != shell.TabStrip) onMainWindowDestroyed();
      forgetWindow(window);
      return 0;
    case Msg::Paint: {
      Rect update;
      bool invalid = getUpdateRect(window, update);
      validateRect(window, nullptr);
      if (invalid && shell.screenState == EditScreen) PaintEditPanels();
      return 0;
    }
    case Msg::KeyDown:
      if (window == shell.SidePanel) viewKeyDown(m.key);
      keyboardCommand(m.key);
      return 0;
    case Msg::MouseMove: return 0;
    case Msg::LButtonDown:
      if (window == shell.BottomPanel) endViewHoldOverPanel();
      return 0;
    case Msg::LButtonUp:
      endViewHoldOverPanel();
      shell.pendingButton = 0;
      ReleaseButtons();
      return 0;
    case Msg::RButtonUp:
      viewRightUpOverPanel();
      return defWindowProc(window, m);
    default: return defWindowProc(window, m);
  }
}

void registerShellClasses() {
  registerClass(WindowClass{"ViewerClass2", CS_REDRAW, "arrow", backdropProc});
  registerClass(WindowClass{"AVIViewerClass", CS_REDRAW, "", videoProc});
  registerClass(WindowClass{"ViewerClass", CS_REDRAW | CS_DBLCLKS, "", viewProc});
  registerClass(WindowClass{"ViewerClass3", CS_REDRAW, "arrow", panelProc});
  registerClass(WindowClass{"ViewerClass4", CS_REDRAW, "arrow", panelProc});
  registerClass(WindowClass{"ViewerClass5", CS_REDRAW, "arrow", panelProc});
}

// [SECTION] Minimise and restore

void minimiseProgram() {
  if (!confirmFolders() || shell.minimised) return;
  ChangeDisplayMode(shell.BackdropWindow, shell.savedDisplayMode.width, shell.savedDisplayMode.height,
                    shell.savedDisplayMode.bits);
  showWindow(shell.BackdropWindow, ShowCmd::Minimise);
  for (HWindow w : {shell.VideoWindow, shell.ViewWindow, shell.SidePanel, shell.BottomPanel, shell.TabStrip})
    showWindow(w, ShowCmd::Hide);
  shell.minimised = 1;
}

void restoreProgram() {
  // Moving the backdrop below announces another position change; that one must not restore again.
  static bool restoring = false;
  if (restoring || !shell.minimised) return;
  restoring = true;
  setCursor(shell.waitCursor);
  showWindow(shell.BackdropWindow, ShowCmd::Restore);
  moveWindow(shell.BackdropWindow, 0, 0, shell.gameDisplayMode.width, shell.gameDisplayMode.height);
  setTopmost(shell.BackdropWindow, false);
  showWindow(shell.BackdropWindow, ShowCmd::Show);
  placeWorkingWindows(windowRect(shell.BackdropWindow));
  shell.minimised = 0;
  ChangeDisplayMode(shell.BackdropWindow, shell.gameDisplayMode.width, shell.gameDisplayMode.height,
                    shell.gameDisplayMode.bits);
  setCursor(shell.hand2Cursor);
  restoring = false;
}
