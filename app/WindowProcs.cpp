// The six windows: their classes, their places on the screen and how each routes its messages; minimising
// and restoring the whole program.
//
// Index: [SECTION] Places  [SECTION] Shared handling  [SECTION] Procedures  [SECTION] Minimise and restore

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "edit/Picking.h"
#include "files/InstallFolders.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/Settings.h"
#include "scene/SceneList.h"
#include "sound/Sounds.h"

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

bool createWorkingWindows(Program& p) {
  Point c = centreOf(windowRect(p.shell.BackdropWindow));
  for (const Place& place : kPlaces)
    p.shell.*place.window = createWindow(place.className, "Tolvane", false, c.x + place.dx, c.y + place.dy, place.width,
                                       place.height, p.shell.BackdropWindow);
  if (!p.shell.ViewWindow) return false;
  p.shell.viewClientRect = clientRect(p.shell.ViewWindow);
  return true;
}

void placeWorkingWindows(Program& p, const Rect& rect) {
  Point c = centreOf(rect);
  for (const Place& place : kPlaces) {
    HWindow window = p.shell.*place.window;
    showWindow(window, ShowCmd::Restore);
    moveWindow(window, c.x + place.dx, c.y + place.dy, place.width, place.height);
    showWindow(window, ShowCmd::ShowNoActivate);
  }
}

// [SECTION] Shared handling

static bool allWorkingWindowsExist(Program& p) {
  return isWindow(p.shell.ViewWindow) && isWindow(p.shell.SidePanel) && isWindow(p.shell.BottomPanel) &&
         isWindow(p.shell.TabStrip);
}

// Destroying any of the main windows takes the program down: shut down once, and close the side panel,
// whose own destruction repeats these steps harmlessly.
static void onMainWindowDestroyed(Program& p) {
  sceneClear(p.world);
  shutDownApp(p);
  if (isWindow(p.shell.SidePanel)) postMessage(p.shell.SidePanel, Msg::Close);
}

static void forgetWindow(Program& p, HWindow window) {
  for (HWindow* slot : {&p.shell.BackdropWindow, &p.shell.VideoWindow, &p.shell.ViewWindow, &p.shell.SidePanel,
                        &p.shell.BottomPanel, &p.shell.TabStrip})
    if (*slot == window) *slot = nullptr;
}

// [SECTION] Procedures

static intptr_t backdropProc(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Close:
      // The desktop's close asks as the exit button does; while the program starts it waits for the end of
      // start-up instead of tearing the view down under it.
      if (p.shell.starting)
        p.shell.closeRequested = true;
      else
        exitProgram(p);
      return 0;
    case Msg::EndSession:
      if (p.shell.starting)
        p.shell.closeRequested = true;
      else
        keepSessionAndQuit(p);
      return 0;
    case Msg::Destroy:
      onMainWindowDestroyed(p);
      forgetWindow(p, window);
      return 0;
    case Msg::Paint: validateRect(window, nullptr); return 0;
    case Msg::MouseActivate: return kNoActivate;
    case Msg::WindowPosChanging:
      if (p.shell.minimised) restoreProgram(p);
      return 0;
    case Msg::KeyDown:
    case Msg::LButtonDown:
      // Keep the working windows in front of the backdrop.
      if (foregroundWindow() == window && allWorkingWindowsExist(p))
        for (HWindow w : {p.shell.SidePanel, p.shell.BottomPanel, p.shell.TabStrip, p.shell.ViewWindow}) bringToTop(w);
      if (m.msg == Msg::KeyDown) handleKey(p, m.key);
      return 0;
    case Msg::MouseMove: return 0;
    case Msg::LButtonUp:
      p.shell.pendingButton = 0;
      ReleaseButtons(p);
      endViewHoldOverPanel(p);
      return 0;
    case Msg::RButtonUp:
      viewRightUpOverPanel(p);
      return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t videoProc(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Paint: validateRect(window, nullptr); return 0;
    case Msg::MouseActivate: return kNoActivate;
    case Msg::KeyDown:
      if (m.key == VK_ESCAPE && !p.shell.videoFinished) {
        closeTitleVideo(p.titleVideo);
        p.shell.videoFinished = 1;
      }
      return 0;
    case Msg::Destroy: forgetWindow(p, window); return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t viewProc(Program& p, HWindow window, const Message& m) {
  switch (m.msg) {
    case Msg::Destroy:
      onMainWindowDestroyed(p);
      forgetWindow(p, window);
      return 0;
    case Msg::Paint: {
      Rect update;
      if (getUpdateRect(window, update)) {
        validateRect(window, nullptr);
        p.shell.viewActive = 1;
      }
      showBackBuffer(p.device, FrameArea::WholeWindow);
      return 0;
    }
    case Msg::KeyDown:
      viewKeyDown(p, m.key);
      handleKey(p, m.key);
      viewOnlyKey(p, m.key);
      return 0;
    case Msg::SysKeyDown:
    case Msg::SysCommand: return 0;
    case Msg::MouseMove: viewMouseMove(p, m); return 0;
    case Msg::LButtonDown: viewLeftDown(p, m); return 0;
    case Msg::LButtonUp: viewLeftUp(p); return 0;
    case Msg::LButtonDblClk: viewLeftDoubleClick(p, m); return 0;
    case Msg::RButtonDown: viewRightDown(p, window, m); return 0;
    case Msg::RButtonUp: viewRightUp(p); return 0;
    case Msg::RButtonDblClk: viewRightDoubleClick(p, m); return 0;
    default: return defWindowProc(window, m);
  }
}

static intptr_t panelProc(Program& p, HWindow window, const Message& m) {
  if (window == p.shell.TabStrip && m.msg != Msg::Destroy && m.msg != Msg::KeyDown) return tabStripInput(p, window, m);
  if (window == p.shell.SidePanel && sidePanelInput(p, window, m)) return 0;
  if (window == p.shell.BottomPanel && m.msg == Msg::LButtonDown && p.shell.screenState != EditScreen &&
      p.editor.state.holding) {
    releaseHold(p.editor);
    p.renderer.fullRedrawPending = 1;
  }
  if (window == p.shell.BottomPanel && m.msg == Msg::LButtonUp && p.shell.screenState != EditScreen)
    endViewHoldOverPanel(p);
  if (window == p.shell.BottomPanel && (bottomPanelInput(p, m) || optionsPanelInput(p, m) || gamePanelInput(p, m)))
    return 0;
  switch (m.msg) {
    case Msg::Destroy:
      if (window != p.shell.TabStrip) onMainWindowDestroyed(p);
      forgetWindow(p, window);
      return 0;
    case Msg::Paint: {
      Rect update;
      bool invalid = getUpdateRect(window, update);
      validateRect(window, nullptr);
      if (invalid || window == p.shell.SidePanel) paintScreenPanels(p);
      return 0;
    }
    case Msg::KeyDown:
      if (window == p.shell.SidePanel) viewKeyDown(p, m.key);
      handleKey(p, m.key);
      return 0;
    case Msg::MouseMove:
      if (!p.world.movement.leftDrag && !(window == p.shell.SidePanel && p.world.game.gameRunning))
        p.shell.viewActive = 0;
      if (window == p.shell.BottomPanel && p.shell.screenState == GameScreen) p.shell.viewActive = 1;
      setCursor(p.shell.arrowCursor);
      p.shell.pendingButton = 0;
      return 0;
    case Msg::LButtonUp:
      endViewHoldOverPanel(p);
      p.shell.pendingButton = 0;
      ReleaseButtons(p);
      return 0;
    case Msg::RButtonUp:
      viewRightUpOverPanel(p);
      return defWindowProc(window, m);
    default: return defWindowProc(window, m);
  }
}

void registerShellClasses(Program& p) {
  // Each run registers procedures that reach its own program object.
  auto bind = [&p](intptr_t (*proc)(Program&, HWindow, const Message&)) {
    return [&p, proc](HWindow window, const Message& m) { return proc(p, window, m); };
  };
  const WindowClass classes[] = {
      {"ViewerClass2", CS_REDRAW, "arrow", bind(backdropProc)},
      {"AVIViewerClass", CS_REDRAW, "", bind(videoProc)},
      {"ViewerClass", CS_REDRAW | CS_DBLCLKS, "", bind(viewProc)},
      {"ViewerClass3", CS_REDRAW, "arrow", bind(panelProc)},
      {"ViewerClass4", CS_REDRAW, "arrow", bind(panelProc)},
      {"ViewerClass5", CS_REDRAW, "arrow", bind(panelProc)},
  };
  for (const WindowClass& windowClass : classes) {
    unregisterClass(windowClass.name);
    registerClass(windowClass);
  }
}

// [SECTION] Minimise and restore

void minimiseProgram(Program& p) {
  if (!confirmInstall(p) || p.shell.minimised) return;
  stopMusic(p.sound);
  leaveProgramMode(p);
  showWindow(p.shell.BackdropWindow, ShowCmd::Minimise);
  for (HWindow w : {p.shell.VideoWindow, p.shell.ViewWindow, p.shell.SidePanel, p.shell.BottomPanel, p.shell.TabStrip})
    showWindow(w, ShowCmd::Hide);
  p.shell.minimised = 1;
}

void restoreProgram(Program& p) {
  // Moving the backdrop below announces another position change; that one must not restore again.
  bool& restoring = p.shell.restoring;
  if (restoring || !p.shell.minimised) return;
  restoring = true;
  setCursor(p.shell.waitCursor);
  showWindow(p.shell.BackdropWindow, ShowCmd::Restore);
  moveWindow(p.shell.BackdropWindow, 0, 0, p.shell.gameDisplayMode.width, p.shell.gameDisplayMode.height);
  setTopmost(p.shell.BackdropWindow, false);
  showWindow(p.shell.BackdropWindow, ShowCmd::Show);
  placeWorkingWindows(p, windowRect(p.shell.BackdropWindow));
  p.shell.minimised = 0;
  ChangeDisplayMode(p, p.shell.BackdropWindow, p.shell.gameDisplayMode.width, p.shell.gameDisplayMode.height,
                    p.shell.gameDisplayMode.bits);
  releaseHold(p.editor);
  setCursor(p.shell.hand2Cursor);
  restoring = false;
}
