// The window system on the headless back end: hit-testing, capture, z-order, message order, paint
// messages, activation, double-clicks and keyboard focus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/window.h"
#include "support/WindowTestSupport.h"

TEST_F(WindowTest, PointerMessagesGoToTheTopmostVisibleEnabledWindow) {
  HWindow below = make("Recorder", 0, 0, 200, 200);
  HWindow above = make("Recorder", 100, 100, 200, 200);
  headlessClick(150, 150);
  pump();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(first(Msg::LButtonDown).window, above);
  EXPECT_EQ(first(Msg::LButtonDown).x, 50);
  EXPECT_EQ(first(Msg::LButtonDown).y, 50);

  log.clear();
  showWindow(above, ShowCmd::Hide);
  headlessClick(150, 150);
  pump();
  EXPECT_EQ(first(Msg::LButtonDown).window, below);

  log.clear();
  enableWindow(below, false);
  headlessClick(150, 150);
  pump();
  EXPECT_EQ(count(Msg::LButtonDown), 0);  // a disabled window hears nothing
}

TEST_F(WindowTest, CaptureKeepsThePointerOutsideTheWindow) {
  HWindow view = make("Recorder", 100, 100, 100, 100);
  HWindow other = make("Recorder", 300, 300, 100, 100);
  setCapture(view);
  headlessMouseMove(350, 320);
  pump();
  EXPECT_EQ(first(Msg::MouseMove).window, view);
  EXPECT_EQ(first(Msg::MouseMove).x, 250);
  releaseCapture();
  log.clear();
  headlessMouseMove(351, 320);
  pump();
  EXPECT_EQ(first(Msg::MouseMove).window, other);
}

TEST_F(WindowTest, OwnedWindowsStayAboveTheirOwner) {
  HWindow owner = make("Recorder", 0, 0, 300, 300, nullptr, true);
  HWindow owned = make("Recorder", 0, 0, 100, 100, owner);
  bringToTop(owner);
  EXPECT_EQ(windowFromPoint(50, 50), owned);
  EXPECT_EQ(windowFromPoint(200, 200), owner);
}

TEST_F(WindowTest, PostedMessagesComeBeforeInputAndQuitBeforePaint) {
  HWindow w = make("Recorder", 0, 0, 100, 100);
  pump();  // the first paint
  log.clear();
  invalidateRect(w, nullptr);
  headlessKeyPress('A');
  postMessage(w, Msg::App, 7);
  postQuitMessage(5);
  std::vector<Msg> order;
  Message m;
  while (peekMessage(m)) {
    order.push_back(m.msg);
    if (m.msg == Msg::Quit) {
      EXPECT_EQ(m.code, 5);
    }
    dispatchMessage(m);
  }
  EXPECT_EQ(order, (std::vector<Msg>{Msg::App, Msg::KeyDown, Msg::KeyUp, Msg::Quit, Msg::Paint}));
}

TEST_F(WindowTest, AnUpdateRegionGivesOnePaintMessage) {
  HWindow w = make("Recorder", 0, 0, 100, 100);
  pump();
  EXPECT_EQ(count(Msg::Paint), 1);  // shown windows paint once
  log.clear();
  pump();
  EXPECT_EQ(count(Msg::Paint), 0);
  Rect part{10, 10, 20, 20};
  invalidateRect(w, &part);
  invalidateRect(w, &part);
  pump();
  EXPECT_EQ(count(Msg::Paint), 1);
  log.clear();
  invalidateRect(w, nullptr);
  validateRect(w, nullptr);
  pump();
  EXPECT_EQ(count(Msg::Paint), 0);
}

TEST_F(WindowTest, DoubleClicksOnlyForClassesThatAskForThem) {
  HWindow plain = make("Recorder", 0, 0, 100, 100);
  HWindow view = make("DoubleClicker", 200, 0, 100, 100);
  headlessClick(10, 10);
  headlessClick(10, 10);
  headlessClick(210, 10);
  headlessClick(211, 11);
  pump();
  EXPECT_EQ(count(Msg::LButtonDown, plain), 2);
  EXPECT_EQ(count(Msg::LButtonDblClk, plain), 0);
  EXPECT_EQ(count(Msg::LButtonDown, view), 1);
  EXPECT_EQ(count(Msg::LButtonDblClk, view), 1);
  EXPECT_EQ(count(Msg::LButtonUp, view), 2);

  log.clear();
  headlessClick(210, 10, 3);
  pump();
  headlessAdvanceClock(600);  // too slow for a double-click
  headlessClick(210, 10, 3);
  pump();
  EXPECT_EQ(count(Msg::RButtonDown, view), 2);
  EXPECT_EQ(count(Msg::RButtonDblClk, view), 0);
}

TEST_F(WindowTest, ActivationByClickCanBeRefused) {
  HWindow keeps = make("Recorder", 0, 0, 100, 100);
  HWindow refuses = make("NoActivate", 200, 0, 100, 100);
  setForegroundWindow(keeps);
  headlessClick(250, 50);
  pump();
  EXPECT_EQ(foregroundWindow(), keeps);
  EXPECT_EQ(count(Msg::LButtonDown, refuses), 1);  // the click itself still arrives
  headlessClick(50, 50);
  headlessKeyPress(VK_ESCAPE);
  pump();
  EXPECT_EQ(first(Msg::KeyDown).window, keeps);
  EXPECT_EQ(first(Msg::KeyDown).key, VK_ESCAPE);
}

TEST_F(WindowTest, KeysGoToTheFocusWindowAndAltMakesSystemKeys) {
  make("Recorder", 0, 0, 100, 100);
  HWindow focus = make("Recorder", 200, 0, 100, 100);
  setFocus(focus);
  headlessKey(VK_MENU, true);
  headlessKeyPress('F');
  headlessKey(VK_MENU, false);
  headlessText("한");
  pump();
  EXPECT_EQ(first(Msg::SysKeyDown).window, focus);
  EXPECT_EQ(first(Msg::SysKeyDown).key, 'F');
  EXPECT_EQ(first(Msg::Char).text, "한");
}

TEST_F(WindowTest, ButtonStateIsQueryableWhileHeld) {
  make("Recorder", 0, 0, 100, 100);
  headlessMouseMove(10, 10);
  headlessMouseButton(1, true);
  pump();
  EXPECT_TRUE(getKeyState(VK_LBUTTON) & 0x8000);
  EXPECT_TRUE(first(Msg::LButtonDown).keys & MK_LBUTTON);
  headlessMouseButton(1, false);
  pump();
  EXPECT_FALSE(getKeyState(VK_LBUTTON) & 0x8000);
}

TEST_F(WindowTest, TheScreenShowsWindowsInZOrder) {
  HWindow back = make("Recorder", 0, 0, 100, 100);
  HWindow front = make("Recorder", 50, 50, 100, 100);
  fillSurfaceRect(windowSurface(back), Rect{0, 0, 100, 100}, rgb565(255, 0, 0));
  fillSurfaceRect(windowSurface(front), Rect{0, 0, 100, 100}, rgb565(0, 0, 255));
  const Surface& screen = composeScreen();
  EXPECT_EQ(screen.at(10, 10), rgb565(255, 0, 0));
  EXPECT_EQ(screen.at(60, 60), rgb565(0, 0, 255));
  EXPECT_EQ(screen.at(200, 200), 0);
  showWindow(front, ShowCmd::Minimise);
  EXPECT_EQ(composeScreen().at(60, 60), rgb565(255, 0, 0));
}

TEST_F(WindowTest, DestroyingAnOwnerDestroysWhatItOwnsFirst) {
  HWindow owner = make("Recorder", 0, 0, 100, 100);
  HWindow owned = make("Recorder", 0, 0, 50, 50, owner);
  postMessage(owned, Msg::App);
  destroyWindow(owner);
  EXPECT_FALSE(isWindow(owner));
  EXPECT_FALSE(isWindow(owned));
  std::vector<HWindow> destroyed;
  for (const Message& m : log)
    if (m.msg == Msg::Destroy) destroyed.push_back(m.window);
  EXPECT_EQ(destroyed, (std::vector<HWindow>{owned, owner}));
  log.clear();
  pump();
  EXPECT_EQ(count(Msg::App), 0);  // messages for dead windows are dropped
  windows.clear();
}

TEST(Display, WithoutADisplayTheRealBackEndRefusesToStart) {
  // Remember the environment the other tests run in, and put it back whatever happens here.
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = std::getenv(name);
    saved.push_back({name, value ? value : "", value != nullptr});
    unsetenv(name);
  }
  EXPECT_FALSE(displayAvailable());
  EXPECT_FALSE(platformStart(Backend::Sdl));
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(displayAvailable());
  unsetenv("WAYLAND_DISPLAY");
  for (const Saved& s : saved)
    if (s.set) setenv(s.name, s.value.c_str(), 1);
  EXPECT_TRUE(platformStart(Backend::Headless));
}
