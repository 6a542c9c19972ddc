// Recording window classes for the window-system tests.
#include "support/WindowTestSupport.h"

std::vector<Message> WindowTest::log;

static intptr_t recorder(HWindow window, const Message& m) {
  WindowTest::log.push_back(m);
  if (m.msg == Msg::MouseActivate && windowClassName(window) == "NoActivate") return kNoActivate;
  return defWindowProc(window, m);
}

void WindowTest::SetUp() {
  if (!isClassRegistered("Recorder")) {
    registerClass(WindowClass{"Recorder", CS_REDRAW, "arrow", recorder});
    registerClass(WindowClass{"DoubleClicker", CS_REDRAW | CS_DBLCLKS, "", recorder});
    registerClass(WindowClass{"NoActivate", CS_REDRAW, "", recorder});
  }
  headlessSetMessageBoxPolicy(nullptr);
  headlessClearMessageBoxes();
  headlessSetDialogPolicy(nullptr);
  headlessClearDialogsOpened();
  pump();
  log.clear();
}

void WindowTest::TearDown() {
  for (HWindow w : windows) destroyWindow(w);
  releaseCapture();
  pump();
  log.clear();
}

HWindow WindowTest::make(const char* className, int x, int y, int width, int height, HWindow owner, bool topmost) {
  HWindow w = createWindow(className, "test", topmost, x, y, width, height, owner);
  showWindow(w, ShowCmd::Show);
  windows.push_back(w);
  return w;
}

void WindowTest::pump() {
  Message m;
  for (int guard = 0; guard < 10000 && peekMessage(m); ++guard)
    if (m.msg != Msg::Quit) dispatchMessage(m);
}

int WindowTest::count(Msg msg, HWindow window) const {
  int n = 0;
  for (const Message& m : log)
    if (m.msg == msg && (!window || m.window == window)) ++n;
  return n;
}

Message WindowTest::first(Msg msg) const {
  for (const Message& m : log)
    if (m.msg == msg) return m;
  return Message{};
}
