// Windows: classes, creation and destruction, z-order with owned windows above their owners, show states,
// update regions, focus and activation, and the composed screen.
//
// Index: [SECTION] Classes and creation  [SECTION] Z-order  [SECTION] Show, move, enable
//        [SECTION] Update regions  [SECTION] Focus  [SECTION] Composed screen

#include <algorithm>

#include "platform/core/WindowState.h"

WindowSystem& windowSystem() {
  static WindowSystem instance;
  return instance;
}

bool isLiveWindow(HWindow window) {
  if (!window) return false;
  for (const auto& owned : windowSystem().windows)
    if (owned.get() == window) return owned->alive;
  return false;
}

bool isWindow(HWindow window) { return isLiveWindow(window); }

void markScreenDirty() { windowSystem().screenDirty = true; }

// [SECTION] Classes and creation

bool registerClass(const WindowClass& windowClass) {
  auto& ws = windowSystem();
  if (windowClass.name.empty() || !windowClass.proc || ws.classes.count(windowClass.name)) return false;
  ws.classes[windowClass.name] = windowClass;
  return true;
}

bool isClassRegistered(const std::string& name) { return windowSystem().classes.count(name) > 0; }

void unregisterClass(const std::string& name) { windowSystem().classes.erase(name); }

static void restack();

HWindow createWindow(const std::string& className, const std::string& title, bool topmost, int x, int y, int width,
                     int height, HWindow owner) {
  auto& ws = windowSystem();
  auto found = ws.classes.find(className);
  if (found == ws.classes.end() || width < 0 || height < 0 || width > 8192 || height > 8192) return nullptr;
  auto window = std::make_unique<Window>();
  window->className = className;
  window->windowClass = &found->second;
  window->title = title;
  window->topmost = topmost;
  window->rect = Rect{x, y, x + width, y + height};
  window->owner = isLiveWindow(owner) ? owner : nullptr;
  window->surface = Surface(width, height, 0);
  window->update = Rect{0, 0, width, height};
  HWindow handle = window.get();
  ws.windows.push_back(std::move(window));
  ws.zOrder.push_back(handle);
  restack();
  Message create;
  create.window = handle;
  create.msg = Msg::Create;
  create.time = tickCount();
  dispatchMessage(create);
  return handle;
}

void destroyWindow(HWindow window) {
  auto& ws = windowSystem();
  if (!isLiveWindow(window)) return;
  // Owned windows go first, as on the desktop.
  std::vector<HWindow> ownedWindows;
  for (const auto& other : ws.windows)
    if (other->alive && other->owner == window) ownedWindows.push_back(other.get());
  for (HWindow owned : ownedWindows) destroyWindow(owned);
  if (!isLiveWindow(window)) return;
  window->alive = false;  // no input from now on; Destroy still reaches the procedure
  Message destroy;
  destroy.window = window;
  destroy.msg = Msg::Destroy;
  destroy.time = tickCount();
  if (window->windowClass && window->windowClass->proc) window->windowClass->proc(window, destroy);
  if (ws.capture == window) ws.capture = nullptr;
  if (ws.focus == window) ws.focus = nullptr;
  if (ws.foreground == window) ws.foreground = nullptr;
  if (ws.lastClickWindow == window) ws.lastClickWindow = nullptr;
  ws.zOrder.erase(std::remove(ws.zOrder.begin(), ws.zOrder.end(), window), ws.zOrder.end());
  std::erase_if(ws.posted, [window](const Message& m) { return m.window == window; });
  for (const auto& other : ws.windows)
    if (other->owner == window) other->owner = nullptr;
  std::erase_if(ws.windows, [window](const std::unique_ptr<Window>& w) { return w.get() == window; });
  markScreenDirty();
}

intptr_t defWindowProc(HWindow window, const Message& message) {
  switch (message.msg) {
    case Msg::Paint: validateRect(window, nullptr); return 0;
    case Msg::Close: destroyWindow(window); return 0;
    case Msg::MouseActivate: return 1;
    default: return 0;
  }
}

// [SECTION] Z-order

static bool effectiveTopmost(HWindow window) {
  int depth = 0;
  for (HWindow w = window; w && depth < 64; w = w->owner, ++depth)
    if (w->topmost) return true;
  return false;
}

// Topmost windows (and the windows they own) above the others; within a band, owned windows above their
// owners; otherwise the order the windows were raised in.
static void restack() {
  auto& z = windowSystem().zOrder;
  std::vector<HWindow> order = z;
  auto owns = [](HWindow owner, HWindow window) {
    int depth = 0;
    for (HWindow w = window->owner; w && depth < 64; w = w->owner, ++depth)
      if (w == owner) return true;
    return false;
  };
  std::stable_sort(order.begin(), order.end(),
                   [](HWindow a, HWindow b) { return !effectiveTopmost(a) && effectiveTopmost(b); });
  for (size_t pass = 0; pass < order.size(); ++pass) {
    bool changed = false;
    for (size_t i = 0; i < order.size() && !changed; ++i)
      for (size_t j = i + 1; j < order.size(); ++j)
        if (owns(order[j], order[i])) {  // an owner above a window it owns: put the owner just below it
          HWindow owner = order[j];
          order.erase(order.begin() + static_cast<long>(j));
          order.insert(order.begin() + static_cast<long>(i), owner);
          changed = true;
          break;
        }
    if (!changed) break;
  }
  z = order;
  markScreenDirty();
}

void bringToTop(HWindow window) {
  auto& z = windowSystem().zOrder;
  if (!isLiveWindow(window)) return;
  z.erase(std::remove(z.begin(), z.end(), window), z.end());
  z.push_back(window);
  restack();  // the windows it owns move back above it
}

void setTopmost(HWindow window, bool topmost) {
  if (!isLiveWindow(window)) return;
  window->topmost = topmost;
  restack();
}

HWindow windowFromPoint(int x, int y) {
  auto& z = windowSystem().zOrder;
  for (auto it = z.rbegin(); it != z.rend(); ++it) {
    HWindow w = *it;
    if (w->alive && w->visible && !w->minimised && w->rect.contains(x, y)) return w;
  }
  return nullptr;
}

// [SECTION] Show, move, enable

void showWindow(HWindow window, ShowCmd cmd) {
  if (!isLiveWindow(window)) return;
  auto& ws = windowSystem();
  bool wasShown = window->visible && !window->minimised;
  switch (cmd) {
    case ShowCmd::Hide:
      window->visible = false;
      if (ws.focus == window) ws.focus = nullptr;
      if (ws.foreground == window) ws.foreground = nullptr;
      if (ws.capture == window) ws.capture = nullptr;
      break;
    case ShowCmd::Minimise:
      if (!window->minimised) window->restoreRect = window->rect;
      window->minimised = true;
      window->visible = true;
      if (ws.focus == window) ws.focus = nullptr;
      if (ws.foreground == window) ws.foreground = nullptr;
      break;
    case ShowCmd::ShowMaximised: {
      window->visible = true;
      window->minimised = false;
      DisplayMode mode = currentDisplayMode();
      moveWindow(window, 0, 0, mode.width, mode.height);
      setForegroundWindow(window);
      break;
    }
    case ShowCmd::Restore:
      window->visible = true;
      if (window->minimised) {
        window->minimised = false;
        Rect r = window->restoreRect;
        if (!r.empty()) moveWindow(window, r.left, r.top, r.width(), r.height());
      }
      setForegroundWindow(window);
      break;
    case ShowCmd::Show:
      window->visible = true;
      window->minimised = false;
      setForegroundWindow(window);
      break;
    case ShowCmd::ShowNoActivate:
      window->visible = true;
      window->minimised = false;
      break;
  }
  if (!wasShown && window->visible && !window->minimised) invalidateRect(window, nullptr, true);
  markScreenDirty();
}

bool isWindowVisible(HWindow window) { return isLiveWindow(window) && window->visible && !window->minimised; }
bool isMinimised(HWindow window) { return isLiveWindow(window) && window->minimised; }

void moveWindow(HWindow window, int x, int y, int width, int height) {
  if (!isLiveWindow(window) || width < 0 || height < 0 || width > 8192 || height > 8192) return;
  Message changing;
  changing.window = window;
  changing.msg = Msg::WindowPosChanging;
  changing.x = x;
  changing.y = y;
  changing.time = tickCount();
  dispatchMessage(changing);
  if (!isLiveWindow(window)) return;
  bool resized = width != window->rect.width() || height != window->rect.height();
  window->rect = Rect{x, y, x + width, y + height};
  if (resized) {
    window->surface = Surface(width, height, 0);
    invalidateRect(window, nullptr, true);
  }
  markScreenDirty();
}

Rect windowRect(HWindow window) { return isLiveWindow(window) ? window->rect : Rect{}; }
Rect clientRect(HWindow window) {
  return isLiveWindow(window) ? Rect{0, 0, window->rect.width(), window->rect.height()} : Rect{};
}
HWindow windowOwner(HWindow window) { return isLiveWindow(window) ? window->owner : nullptr; }
const std::string& windowClassName(HWindow window) {
  static const std::string none;
  return isLiveWindow(window) ? window->className : none;
}

void enableWindow(HWindow window, bool enable) {
  if (!isLiveWindow(window)) return;
  window->enabled = enable;
  auto& ws = windowSystem();
  if (!enable && ws.capture == window) ws.capture = nullptr;
}

bool isWindowEnabled(HWindow window) { return isLiveWindow(window) && window->enabled; }
void setWindowUserData(HWindow window, intptr_t data) {
  if (isLiveWindow(window)) window->userData = data;
}
intptr_t windowUserData(HWindow window) { return isLiveWindow(window) ? window->userData : 0; }

Surface& windowSurface(HWindow window) {
  static Surface none;
  if (!isLiveWindow(window)) {
    none = Surface();
    return none;
  }
  return window->surface;
}

void windowPixelsChanged(HWindow window) {
  if (!isLiveWindow(window)) return;
  markScreenDirty();
  presentIfDirty(false);
}

// [SECTION] Update regions

void invalidateRect(HWindow window, const Rect* rect, bool erase) {
  if (!isLiveWindow(window)) return;
  Rect client = clientRect(window);
  Rect area = rect ? intersectRect(*rect, client) : client;
  if (area.empty()) return;
  window->update = unionRect(window->update, area);
  if (erase) fillSurfaceRect(window->surface, area, 0);  // every class paints a black background
  markScreenDirty();
}

void validateRect(HWindow window, const Rect* rect) {
  if (!isLiveWindow(window)) return;
  if (!rect) {
    window->update = Rect{};
    return;
  }
  // A bounding-box region: validating a rectangle that covers it clears it, anything else keeps it.
  Rect r = *rect;
  Rect& u = window->update;
  if (r.left <= u.left && r.top <= u.top && r.right >= u.right && r.bottom >= u.bottom) u = Rect{};
}

bool getUpdateRect(HWindow window, Rect& rect) {
  if (!isLiveWindow(window)) return false;
  rect = window->update;
  return !rect.empty();
}

// [SECTION] Focus

HWindow foregroundWindow() { return windowSystem().foreground; }

void setForegroundWindow(HWindow window) {
  if (!isLiveWindow(window)) return;
  auto& ws = windowSystem();
  ws.foreground = window;
  ws.focus = window;
  bringToTop(window);
}

HWindow focusWindow() { return windowSystem().focus; }
void setFocus(HWindow window) {
  if (isLiveWindow(window)) windowSystem().focus = window;
}

// [SECTION] Composed screen

const Surface& composeScreen() {
  auto& ws = windowSystem();
  Surface& screen = ws.screen;
  if (screen.width != ws.mode.width || screen.height != ws.mode.height) screen = Surface(ws.mode.width, ws.mode.height);
  fillSurfaceRect(screen, screen.bounds(), 0);
  for (HWindow w : ws.zOrder) {
    if (!w->alive || !w->visible || w->minimised) continue;
    copySurfaceRect(screen, w->rect.left, w->rect.top, w->surface, w->surface.bounds());
  }
  return screen;
}

bool saveScreenBmp(const char* path) { return saveSurfaceBmp(composeScreen(), path); }
