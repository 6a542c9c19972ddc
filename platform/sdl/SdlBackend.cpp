// The real back end on SDL2: one window (full screen on the desktop unless TOLVANE_WINDOWED=1) showing the
// program's 16-bit screen scaled with letterboxing, real input turned into virtual-key codes, the program's
// own cursors, and the real clock.
//
// Index: [SECTION] Keys  [SECTION] Cursors  [SECTION] Back end

#include <SDL.h>

#include <csignal>
#include <map>

#include <signal.h>

#include "platform/core/Backend.h"
#include "platform/core/CursorArt.h"
#include "platform/process.h"

namespace {

// [SECTION] Keys

int virtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return '1' + (key - SDLK_KP_1);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_KP_0: return '0';
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_KP_PLUS: case SDLK_PLUS: case SDLK_EQUALS: return VK_ADD;
    case SDLK_KP_MINUS: case SDLK_MINUS: return VK_SUBTRACT;
    case SDLK_COMMA: return 0xBC;
    case SDLK_PERIOD: return 0xBE;
    default: return 0;
  }
}

// [SECTION] Back end

// A termination signal (logout, shut-down, kill, Ctrl+C) only raises this flag; the event pump turns it
// into the end of the session, where the program can still keep its scene.
volatile std::sig_atomic_t terminationRequested = 0;

void onTerminationSignal(int) { terminationRequested = 1; }

void catchTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

class SdlBackend : public PlatformBackend {
public:
  bool start() override {
    // Without a display SDL would quietly fall back to drawing nowhere: refuse instead.
    if (!displayAvailable()) return false;
    // The program handles termination itself rather than have it arrive as a window close.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return false;
    catchTerminationSignals();
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) desktopSize = DisplayMode{desktop.w, desktop.h, 16};
    windowed = environmentValue("TOLVANE_WINDOWED") == "1";
    int scale = 1;
    if (windowed && desktopSize.width >= 1400 && desktopSize.height >= 1060) scale = 2;
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | (windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP);
    window = SDL_CreateWindow("Tolvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640 * scale, 480 * scale, flags);
    if (!window) return false;
    // The picture is drawn in software already; the screen only needs it copied and scaled. SDL's own
    // software renderer does that without loading a 3D driver (on a machine without a graphics card, Mesa
    // and its compiler would hold some 60 MB for nothing). TOLVANE_ACCELERATED=1 asks for the graphics card.
    const bool accelerated = environmentValue("TOLVANE_ACCELERATED") == "1";
    // The software renderer draws into the window's own pixels, which SDL would otherwise keep in a
    // texture of a 3D renderer of its own.
    if (!accelerated) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer = SDL_CreateRenderer(window, -1, accelerated ? SDL_RENDERER_ACCELERATED : SDL_RENDERER_SOFTWARE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    if (!setMode(640, 480)) return false;
    SDL_StartTextInput();
    startTicks = SDL_GetTicks();
    return true;
  }

  void stop() override {
    for (auto& [name, cursor] : cursors) SDL_FreeCursor(cursor);
    cursors.clear();
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
  }

  void pollInput(std::vector<InputEvent>& events) override {
    if (terminationRequested) {
      terminationRequested = 0;
      InputEvent end;
      end.type = InputEvent::Type::Terminate;
      end.time = ticks();
      events.push_back(end);
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      InputEvent event;
      event.time = ticks();
      switch (e.type) {
        case SDL_QUIT:
          event.type = InputEvent::Type::Close;
          events.push_back(event);
          break;
        case SDL_MOUSEMOTION:
          if (!insideScreen(e.motion.x, e.motion.y)) break;
          event.type = InputEvent::Type::MouseMove;
          event.x = e.motion.x;
          event.y = e.motion.y;
          events.push_back(event);
          break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
          if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
          event.type = InputEvent::Type::Button;
          event.button = e.button.button == SDL_BUTTON_LEFT ? 1 : 3;
          event.down = e.type == SDL_MOUSEBUTTONDOWN;
          event.x = clampX(e.button.x);
          event.y = clampY(e.button.y);
          events.push_back(event);
          break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
          event.type = InputEvent::Type::Key;
          event.key = virtualKey(e.key.keysym.sym);
          event.down = e.type == SDL_KEYDOWN;
          if (event.key) events.push_back(event);
          break;
        case SDL_TEXTINPUT:
          event.type = InputEvent::Type::Text;
          event.text = e.text.text;
          if (!event.text.empty()) events.push_back(event);
          break;
        case SDL_TEXTEDITING:
          event.type = InputEvent::Type::Composition;
          event.text = e.edit.text;
          events.push_back(event);
          break;
        case SDL_WINDOWEVENT:
          if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED) repaint = true;
          if (e.window.event == SDL_WINDOWEVENT_RESTORED && iconified) {
            // Coming back from the taskbar: the program sees its backdrop asked to move, as on the desktop.
            iconified = false;
            restoreRequested = true;
          }
          break;
        default: break;
      }
    }
    if (repaint && texture) {  // uncovered or restored: show the last picture again
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderClear(renderer);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
      repaint = false;
    }
    if (restoreRequested) {
      restoreRequested = false;
      InputEvent restore;
      restore.type = InputEvent::Type::Restore;
      restore.time = ticks();
      events.push_back(restore);
    }
  }

  void present(const Surface& screen) override {
    if (!renderer || screen.width <= 0) return;
    if (!texture || textureWidth != screen.width || textureHeight != screen.height) {
      if (texture) SDL_DestroyTexture(texture);
      texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, screen.width,
                                  screen.height);
      textureWidth = screen.width;
      textureHeight = screen.height;
    }
    if (!texture) return;
    SDL_UpdateTexture(texture, nullptr, screen.pixels.data(), screen.width * 2);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    repaint = false;
  }

  uint32_t ticks() override { return SDL_GetTicks() - startTicks; }
  void sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
  // Sleeps in the event queue's own wait: input wakes the program at once, and an idle program costs nothing.
  void idle(uint32_t milliseconds) override {
    if (milliseconds) SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds));
  }

  int refreshRate() override {
    if (knownRefreshRate > 0) return knownRefreshRate;
    knownRefreshRate = 60;  // a screen that does not say
    SDL_DisplayMode mode;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
      knownRefreshRate = mode.refresh_rate;
    return knownRefreshRate;
  }

  DisplayMode desktopMode() override { return desktopSize; }

  bool setMode(int width, int height) override {
    if (!window || !renderer) return false;
    if (iconified) {
      SDL_RestoreWindow(window);
      iconified = false;
    }
    if (!windowed) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RenderSetLogicalSize(renderer, width, height);
    screenWidth = width;
    screenHeight = height;
    return true;
  }

  void restoreMode() override {
    if (!window) return;
    if (!windowed) SDL_SetWindowFullscreen(window, 0);
    SDL_MinimizeWindow(window);
    iconified = true;
  }

  void showCursor(const std::string& name, bool visible) override {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    if (!visible) return;
    SDL_Cursor* cursor = cursorFor(name);
    if (cursor) SDL_SetCursor(cursor);
  }

  void warpPointer(int x, int y) override {
    if (!window || !renderer) return;
    int wx = x, wy = y;
    SDL_RenderLogicalToWindow(renderer, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
    SDL_WarpMouseInWindow(window, wx, wy);
  }

  int answerMessageBox(const std::string&, const std::string&, uint32_t, const std::string&) override { return 0; }
  void dialogOpened(const std::string&) override {}
  int answerDialog(Dialog&, const std::string&, int) override { return 0; }

private:
  bool insideScreen(int x, int y) const { return x >= 0 && y >= 0 && x < screenWidth && y < screenHeight; }
  int clampX(int x) const { return std::max(0, std::min(screenWidth - 1, x)); }
  int clampY(int y) const { return std::max(0, std::min(screenHeight - 1, y)); }

  SDL_Cursor* cursorFor(const std::string& name) {
    auto found = cursors.find(name);
    if (found != cursors.end()) return found->second;
    SDL_Cursor* cursor = nullptr;
    if (name == "wait") {
      cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    } else if (const CursorArt* art = findCursorArt(name)) {
      std::vector<uint32_t> argb = cursorPixels(*art);
      SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(argb.data(), art->size, art->size, 32, art->size * 4,
                                                                SDL_PIXELFORMAT_ARGB8888);
      if (surface) {
        cursor = SDL_CreateColorCursor(surface, art->hotX, art->hotY);
        SDL_FreeSurface(surface);
      }
    }
    if (!cursor) cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors[name] = cursor;
    return cursor;
  }

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  int screenWidth = 640, screenHeight = 480;
  bool windowed = false;
  bool iconified = false;
  bool restoreRequested = false;
  bool repaint = false;
  uint32_t startTicks = 0;
  DisplayMode desktopSize{1024, 768, 16};
  int knownRefreshRate = 0;
  std::map<std::string, SDL_Cursor*> cursors;
};

}  // namespace

std::unique_ptr<PlatformBackend> makeSdlBackend() { return std::make_unique<SdlBackend>(); }
