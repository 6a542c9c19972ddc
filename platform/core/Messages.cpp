// The message queue and input: start-up of a back end, polling, posting and dispatching, turning raw input
// into pointer and key messages (capture, hit-testing, activation, double-clicks), cursors, the display mode
// and the clock.
//
// Index: [SECTION] Start-up  [SECTION] Queue  [SECTION] Input  [SECTION] Cursors and pointer
//        [SECTION] Display mode  [SECTION] Clock

#include <algorithm>
#include <cstdlib>

#include "platform/core/WindowState.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {
constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;
constexpr uint32_t kPresentIntervalMs = 8;
}  // namespace

// [SECTION] Start-up

PlatformBackend* currentBackend() { return windowSystem().backend.get(); }

Backend backendFromEnvironment() {
  if (environmentValue("TOLVANE_HEADLESS") == "1" || !environmentValue("TOLVANE_REPLAY").empty())
    return Backend::Headless;
  return Backend::Sdl;
}

bool displayAvailable() {
  return !environmentValue("DISPLAY").empty() || !environmentValue("WAYLAND_DISPLAY").empty() ||
         !environmentValue("SDL_VIDEODRIVER").empty();
}

bool platformStart(Backend backend) {
  auto& ws = windowSystem();
  if (ws.started) platformStop();
  ws.backend = backend == Backend::Sdl ? makeSdlBackend() : makeHeadlessBackend();
  ws.kind = backend;
  if (!ws.backend->start()) {
    ws.backend.reset();
    return false;
  }
  ws.started = true;
  ws.desktop = ws.backend->desktopMode();
  ws.mode = DisplayMode{640, 480, 16};
  ws.screen = Surface(640, 480);
  std::string record = environmentValue("TOLVANE_RECORD");
  if (!record.empty()) journalOpenRecord(record);
  return true;
}

void platformStop() {
  auto& ws = windowSystem();
  while (!ws.windows.empty()) {
    HWindow window = nullptr;
    for (auto& w : ws.windows)
      if (w->alive && !w->owner) window = w.get();
    if (!window) window = ws.windows.front().get();
    if (window->alive)
      destroyWindow(window);
    else
      std::erase_if(ws.windows, [window](const std::unique_ptr<Window>& w) { return w.get() == window; });
  }
  journalCloseRecord();
  closeFonts();
  if (ws.backend) ws.backend->stop();
  ws.backend.reset();
  ws.classes.clear();
  ws.zOrder.clear();
  ws.posted.clear();
  ws.input.clear();
  ws.quitPosted = false;
  ws.capture = ws.focus = ws.foreground = ws.lastClickWindow = nullptr;
  ws.buttons = 0;
  std::fill(std::begin(ws.keyDown), std::end(ws.keyDown), false);
  ws.cursorCount = 0;
  ws.currentCursor = 0;
  ws.started = false;
}

Backend platformBackend() { return windowSystem().kind; }
bool platformRunning() { return windowSystem().started; }

// [SECTION] Queue

static void pullInput() {
  auto& ws = windowSystem();
  if (!ws.backend) return;
  std::vector<InputEvent> events;
  ws.backend->pollInput(events);
  for (InputEvent& event : events) {
    journalRecord(event);
    if (event.type == InputEvent::Type::Screenshot) {
      saveScreenBmp(event.text.c_str());
      continue;
    }
    // Pointer movements coalesce, as they do on the desktop.
    if (event.type == InputEvent::Type::MouseMove && !ws.input.empty() &&
        ws.input.back().type == InputEvent::Type::MouseMove)
      ws.input.back() = event;
    else
      ws.input.push_back(event);
  }
}

void presentIfDirty(bool force) {
  auto& ws = windowSystem();
  if (!ws.backend || !ws.screenDirty || ws.kind == Backend::Headless) return;
  uint32_t now = ws.backend->ticks();
  if (!force && now - ws.lastPresent < kPresentIntervalMs) return;
  ws.backend->present(composeScreen());
  ws.screenDirty = false;
  ws.lastPresent = now;
}

static bool nextPaint(Message& message) {
  auto& ws = windowSystem();
  for (auto it = ws.zOrder.rbegin(); it != ws.zOrder.rend(); ++it) {
    HWindow w = *it;
    if (w->alive && w->visible && !w->minimised && !w->update.empty()) {
      message = Message{};
      message.window = w;
      message.msg = Msg::Paint;
      message.time = tickCount();
      return true;
    }
  }
  return false;
}

bool peekMessage(Message& message) {
  auto& ws = windowSystem();
  if (!ws.started) return false;
  pullInput();
  presentIfDirty(false);
  while (!ws.posted.empty()) {
    message = ws.posted.front();
    ws.posted.pop_front();
    if (message.msg == Msg::Quit || message.window == nullptr || isLiveWindow(message.window)) return true;
  }
  while (!ws.input.empty()) {
    InputEvent event = ws.input.front();
    ws.input.pop_front();
    if (inputToMessage(event, message)) return true;
  }
  if (ws.quitPosted) {
    ws.quitPosted = false;
    message = Message{};
    message.msg = Msg::Quit;
    message.code = ws.quitCode;
    message.time = tickCount();
    return true;
  }
  if (nextPaint(message)) return true;
  // Nothing at all: let the back end's time move on (the headless clock steps; replayed input comes due).
  ws.backend->idle(0);
  return false;
}

intptr_t dispatchMessage(const Message& message) {
  HWindow window = message.window;
  if (!isLiveWindow(window)) return 0;
  markScreenDirty();
  const WindowProc& proc = window->windowClass->proc;
  intptr_t result = proc(window, message);
  // A procedure that leaves its update region would be sent paint messages for ever.
  if (message.msg == Msg::Paint && isLiveWindow(window)) validateRect(window, nullptr);
  return result;
}

static Message makeMessage(HWindow window, Msg msg, int code, intptr_t value) {
  Message message;
  message.window = window;
  message.msg = msg;
  message.code = code;
  message.value = value;
  message.time = tickCount();
  return message;
}

intptr_t sendMessage(HWindow window, Msg msg, int code, intptr_t value) {
  return dispatchMessage(makeMessage(window, msg, code, value));
}

void postMessage(HWindow window, Msg msg, int code, intptr_t value) {
  windowSystem().posted.push_back(makeMessage(window, msg, code, value));
}

void postQuitMessage(int exitCode) {
  auto& ws = windowSystem();
  ws.quitPosted = true;
  ws.quitCode = exitCode;
}

void idleWait(uint32_t milliseconds) {
  auto& ws = windowSystem();
  if (!ws.backend) return;
  presentIfDirty(true);
  ws.backend->idle(milliseconds);
}

// [SECTION] Input

static bool windowTakesInput(HWindow window) {
  return isLiveWindow(window) && window->enabled && window->visible && !window->minimised;
}

static Message pointerMessage(HWindow window, Msg msg, const InputEvent& event) {
  auto& ws = windowSystem();
  Message message;
  message.window = window;
  message.msg = msg;
  message.x = event.x - window->rect.left;
  message.y = event.y - window->rect.top;
  message.keys = ws.buttons | (ws.keyDown[VK_SHIFT] ? uint32_t{MK_SHIFT} : 0u) | (ws.keyDown[VK_CONTROL] ? uint32_t{MK_CONTROL} : 0u);
  message.time = event.time;
  return message;
}

static HWindow pointerTarget(int x, int y) {
  auto& ws = windowSystem();
  if (isLiveWindow(ws.capture)) return ws.capture;
  return windowFromPoint(x, y);
}

static void applyClassCursor(HWindow window) {
  if (!window->windowClass || window->windowClass->cursor.empty()) return;
  setCursor(loadCursor(window->windowClass->cursor));
}

bool inputToMessage(const InputEvent& event, Message& message) {
  auto& ws = windowSystem();
  switch (event.type) {
    case InputEvent::Type::MouseMove: {
      ws.pointer = Point{event.x, event.y};
      HWindow target = pointerTarget(event.x, event.y);
      if (!windowTakesInput(target)) return false;
      if (ws.capture != target) applyClassCursor(target);
      message = pointerMessage(target, Msg::MouseMove, event);
      return true;
    }
    case InputEvent::Type::Button: {
      ws.pointer = Point{event.x, event.y};
      uint32_t bit = event.button == 1 ? uint32_t{MK_LBUTTON} : event.button == 3 ? uint32_t{MK_RBUTTON} : 0u;
      if (!bit) return false;
      if (event.down)
        ws.buttons |= bit;
      else
        ws.buttons &= ~bit;
      HWindow target = pointerTarget(event.x, event.y);
      if (!windowTakesInput(target)) return false;
      bool left = event.button == 1;
      if (!event.down) {
        message = pointerMessage(target, left ? Msg::LButtonUp : Msg::RButtonUp, event);
        return true;
      }
      if (!ws.capture && ws.foreground != target) {
        Message activate = pointerMessage(target, Msg::MouseActivate, event);
        if (dispatchMessage(activate) != kNoActivate && isLiveWindow(target)) setForegroundWindow(target);
        if (!windowTakesInput(target)) return false;
      }
      bool doubleClick = (target->windowClass->style & CS_DBLCLKS) && !ws.lastWasDoubleClick &&
                         ws.lastClickWindow == target && ws.lastClickButton == event.button &&
                         event.time - ws.lastClickTime <= kDoubleClickMs &&
                         std::abs(event.x - ws.lastClickPoint.x) <= kDoubleClickSlop &&
                         std::abs(event.y - ws.lastClickPoint.y) <= kDoubleClickSlop;
      ws.lastWasDoubleClick = doubleClick;
      ws.lastClickWindow = target;
      ws.lastClickButton = event.button;
      ws.lastClickTime = event.time;
      ws.lastClickPoint = Point{event.x, event.y};
      Msg msg = left ? (doubleClick ? Msg::LButtonDblClk : Msg::LButtonDown)
                     : (doubleClick ? Msg::RButtonDblClk : Msg::RButtonDown);
      message = pointerMessage(target, msg, event);
      return true;
    }
    case InputEvent::Type::Key: {
      if (event.key > 0 && event.key < 256) ws.keyDown[event.key] = event.down;
      HWindow target = isLiveWindow(ws.focus) ? ws.focus : ws.foreground;
      if (!windowTakesInput(target)) return false;
      message = Message{};
      message.window = target;
      message.key = event.key;
      message.time = event.time;
      bool alt = ws.keyDown[VK_MENU] && event.key != VK_MENU;
      message.msg = event.down ? (alt ? Msg::SysKeyDown : Msg::KeyDown) : Msg::KeyUp;
      return true;
    }
    case InputEvent::Type::Text: {
      HWindow target = isLiveWindow(ws.focus) ? ws.focus : ws.foreground;
      if (!windowTakesInput(target) || event.text.empty()) return false;
      message = Message{};
      message.window = target;
      message.msg = Msg::Char;
      message.text = event.text;
      message.time = event.time;
      return true;
    }
    case InputEvent::Type::Composition: {
      HWindow target = isLiveWindow(ws.focus) ? ws.focus : ws.foreground;
      if (!windowTakesInput(target)) return false;
      message = Message{};
      message.window = target;
      message.msg = Msg::Composition;
      message.text = event.text;
      message.time = event.time;
      return true;
    }
    case InputEvent::Type::Close:
    case InputEvent::Type::Terminate: {
      // The user closed the program's window, or the session ends (logout, shut-down, a termination
      // signal): the first window that has no owner hears it.
      for (HWindow w : ws.zOrder)
        if (w->alive && !w->owner) {
          message = Message{};
          message.window = w;
          message.msg = event.type == InputEvent::Type::Close ? Msg::Close : Msg::EndSession;
          message.time = event.time;
          return true;
        }
      postQuitMessage(0);
      return false;
    }
    case InputEvent::Type::Restore: {
      // Brought back from the taskbar: the minimised main window hears that it is about to move.
      for (HWindow w : ws.zOrder)
        if (w->alive && !w->owner && w->minimised) {
          message = Message{};
          message.window = w;
          message.msg = Msg::WindowPosChanging;
          message.x = w->rect.left;
          message.y = w->rect.top;
          message.time = event.time;
          return true;
        }
      return false;
    }
    case InputEvent::Type::Answer:      // the headless back end takes these itself
    case InputEvent::Type::Screenshot:  // taken as the event arrives
      return false;
  }
  return false;
}

void setCapture(HWindow window) {
  if (isLiveWindow(window)) windowSystem().capture = window;
}
void releaseCapture() { windowSystem().capture = nullptr; }
HWindow captureWindow() { return windowSystem().capture; }

Point clientToScreen(HWindow window, Point point) {
  if (!isLiveWindow(window)) return point;
  return Point{point.x + window->rect.left, point.y + window->rect.top};
}

Point screenToClient(HWindow window, Point point) {
  if (!isLiveWindow(window)) return point;
  return Point{point.x - window->rect.left, point.y - window->rect.top};
}

uint16_t getKeyState(int virtualKey) {
  auto& ws = windowSystem();
  bool down = false;
  if (virtualKey == VK_LBUTTON)
    down = ws.buttons & MK_LBUTTON;
  else if (virtualKey == VK_RBUTTON)
    down = ws.buttons & MK_RBUTTON;
  else if (virtualKey > 0 && virtualKey < 256)
    down = ws.keyDown[virtualKey];
  return down ? 0x8000 : 0;
}

// [SECTION] Cursors and pointer

Point cursorPos() { return windowSystem().pointer; }

void setCursorPos(int x, int y) {
  auto& ws = windowSystem();
  ws.pointer = Point{x, y};
  if (ws.backend) ws.backend->warpPointer(x, y);
}

HCursor loadCursor(const std::string& name) {
  static const char* known[] = {"arrow", "wait", "HAND", "HAND2", "PAINT", "SOUND", "CANNOT", "HAMMER"};
  if (std::find(std::begin(known), std::end(known), name) == std::end(known)) return 0;
  auto& names = windowSystem().cursorNames;
  for (size_t i = 1; i < names.size(); ++i)
    if (names[i] == name) return static_cast<HCursor>(i);
  names.push_back(name);
  return static_cast<HCursor>(names.size() - 1);
}

HCursor setCursor(HCursor cursor) {
  auto& ws = windowSystem();
  HCursor previous = ws.currentCursor;
  if (cursor < 0 || static_cast<size_t>(cursor) >= ws.cursorNames.size()) cursor = 0;
  ws.currentCursor = cursor;
  if (ws.backend && previous != cursor) ws.backend->showCursor(ws.cursorNames[cursor], ws.cursorCount >= 0);
  return previous;
}

HCursor currentCursor() { return windowSystem().currentCursor; }

const std::string& cursorName(HCursor cursor) {
  auto& names = windowSystem().cursorNames;
  if (cursor < 0 || static_cast<size_t>(cursor) >= names.size()) return names[0];
  return names[cursor];
}

int showCursor(bool show) {
  auto& ws = windowSystem();
  ws.cursorCount += show ? 1 : -1;
  if (ws.backend) ws.backend->showCursor(ws.cursorNames[ws.currentCursor], ws.cursorCount >= 0);
  return ws.cursorCount;
}

// [SECTION] Display mode

DisplayMode desktopDisplayMode() { return windowSystem().desktop; }
DisplayMode currentDisplayMode() { return windowSystem().mode; }

bool setDisplayMode(int width, int height, int bits) {
  auto& ws = windowSystem();
  if (!ws.backend || bits != 16 || width <= 0 || height <= 0) return false;
  if (ws.kind == Backend::Headless &&
      std::find(ws.refusedWidths.begin(), ws.refusedWidths.end(), width) != ws.refusedWidths.end())
    return false;
  if (!ws.backend->setMode(width, height)) return false;
  ws.mode = DisplayMode{width, height, 16};
  ws.programMode = true;
  markScreenDirty();
  return true;
}

void restoreDisplayMode() {
  auto& ws = windowSystem();
  if (ws.backend) ws.backend->restoreMode();
  ws.programMode = false;
}

bool programModeActive() { return windowSystem().programMode; }

// [SECTION] Clock

uint32_t tickCount() {
  auto& ws = windowSystem();
  return ws.backend ? ws.backend->ticks() : 0;
}

uint32_t frameInterval() {
  auto& ws = windowSystem();
  const int rate = ws.backend ? ws.backend->refreshRate() : 60;
  if (rate <= 0) return 1000 / 60;
  return rate >= 1000 ? 1 : static_cast<uint32_t>(1000 / rate);
}

void sleepMs(uint32_t milliseconds) {
  auto& ws = windowSystem();
  if (!ws.backend) return;
  presentIfDirty(true);
  ws.backend->sleep(milliseconds);
}
