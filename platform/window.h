// The window system: one real screen holding popup windows in a z-order, each with a window procedure,
// fed by a message queue that the program polls. Shaped after the desktop window system the program was
// designed on, so its window procedures read naturally: classes, owners, enable/disable, show states,
// update regions that produce paint messages, capture, key codes, double-clicks and message boxes.
//
// Index: [SECTION] Start-up  [SECTION] Messages  [SECTION] Windows  [SECTION] Input and cursors
//        [SECTION] Message boxes  [SECTION] Display mode  [SECTION] Clock
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/surface.h"
#include "platform/types.h"

// [SECTION] Start-up

enum class Backend { Sdl, Headless };

// Start the window system. Sdl opens the real window (full screen unless TOLVANE_WINDOWED=1); Headless
// opens nothing and runs on a virtual clock. A journal is recorded when TOLVANE_RECORD names a file and
// replayed (headless) when TOLVANE_REPLAY does. False when the back end cannot start.
bool platformStart(Backend backend);
// Whether a real window can be shown: a display is named (DISPLAY or WAYLAND_DISPLAY), or SDL_VIDEODRIVER
// chooses a video driver explicitly.
bool displayAvailable();
// Destroy every window and close the back end. Safe to call when not started.
void platformStop();
Backend platformBackend();
bool platformRunning();
// The back end the environment asks for: Headless when TOLVANE_HEADLESS=1 or a journal is replayed.
Backend backendFromEnvironment();

// [SECTION] Messages

enum class Msg : uint32_t {
  None,
  Create,
  Destroy,
  Close,
  Paint,
  KeyDown,        // key = virtual-key code
  KeyUp,
  SysKeyDown,     // a key pressed with Alt held
  SysCommand,
  Char,           // text = UTF-8 of one typed character or composed syllable
  Composition,    // text = UTF-8 the input method is still composing (shown, not yet typed); empty when it ends
  MouseMove,      // x, y in client pixels; keys = button state
  LButtonDown,
  LButtonUp,
  LButtonDblClk,
  RButtonDown,
  RButtonUp,
  RButtonDblClk,
  MouseActivate,  // answer kNoActivate to refuse activation by a click
  WindowPosChanging,
  SetCursor,
  App,            // an application notification: code and value are the sender's
  EndSession,     // the session is ending (a termination signal, or a replay that ran out): no question can be asked
  Quit,
};

// Virtual-key codes. Letters are their capital ASCII codes 65-90, digits 48-57.
enum : int {
  VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
  VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D,
};
// Button state bits carried by pointer messages.
enum : uint32_t { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08 };
constexpr intptr_t kNoActivate = 3;

struct Window;
using HWindow = Window*;

struct Message {
  HWindow window = nullptr;
  Msg msg = Msg::None;
  int key = 0;            // key messages: virtual-key code
  int x = 0, y = 0;       // pointer messages: client coordinates
  uint32_t keys = 0;      // pointer messages: MK_ bits
  int code = 0;           // App, Quit (exit code), SysCommand
  intptr_t value = 0;     // App
  std::string text;       // Char, Composition
  uint32_t time = 0;      // tick count when it was queued
};

// Remove the next message if there is one (input, posted, then paint, in that order). Never waits. False
// when the queue is empty. Typed text arrives as Char messages of its own.
bool peekMessage(Message& message);
intptr_t dispatchMessage(const Message& message);
// Call a window procedure now; queue a message for later.
intptr_t sendMessage(HWindow window, Msg msg, int code = 0, intptr_t value = 0);
void postMessage(HWindow window, Msg msg, int code = 0, intptr_t value = 0);
void postQuitMessage(int exitCode);
// Let the back end catch up when a loop has nothing to do: present the screen, then sleep until input
// arrives or the time is up (in the headless back end the virtual clock runs on, at most to the next
// replayed event).
void idleWait(uint32_t milliseconds);

// [SECTION] Windows

using WindowProc = std::function<intptr_t(HWindow, const Message&)>;

enum ClassStyle : uint32_t { CS_REDRAW = 0x03, CS_DBLCLKS = 0x08 };

struct WindowClass {
  std::string name;
  uint32_t style = CS_REDRAW;
  std::string cursor;       // a cursor name ("HAND2", "arrow"), or empty for none
  WindowProc proc;
};

enum class ShowCmd { Hide, Show, ShowMaximised, Minimise, Restore, ShowNoActivate };

bool registerClass(const WindowClass& windowClass);
bool isClassRegistered(const std::string& name);
// Forget a class, so that a program run again in the same process can register its own procedures.
void unregisterClass(const std::string& name);
// Create a popup window at (x, y) in screen coordinates. Sends Create. nullptr when the class is unknown.
HWindow createWindow(const std::string& className, const std::string& title, bool topmost, int x, int y, int width,
                     int height, HWindow owner);
// Sends Destroy to the window (and first to the windows it owns), then frees it. The handle is dead after.
void destroyWindow(HWindow window);
bool isWindow(HWindow window);
intptr_t defWindowProc(HWindow window, const Message& message);

void showWindow(HWindow window, ShowCmd cmd);
bool isWindowVisible(HWindow window);
bool isMinimised(HWindow window);
void moveWindow(HWindow window, int x, int y, int width, int height);
// Put the window at the top of its band (topmost or not), optionally changing that band.
void bringToTop(HWindow window);
void setTopmost(HWindow window, bool topmost);
Rect windowRect(HWindow window);  // screen coordinates
Rect clientRect(HWindow window);  // (0, 0, width, height)
HWindow windowOwner(HWindow window);
const std::string& windowClassName(HWindow window);
void enableWindow(HWindow window, bool enable);
bool isWindowEnabled(HWindow window);
void setWindowUserData(HWindow window, intptr_t data);  // the window's extra bytes
intptr_t windowUserData(HWindow window);

// The window's pixels (client area), which its procedure paints; the screen shows them in z-order.
Surface& windowSurface(HWindow window);
// Tell the screen that a window's pixels changed outside a paint message.
void windowPixelsChanged(HWindow window);

// Update regions: invalidate (whole client when rect is null) and validate. With erase, the invalid part
// is painted with the class's black background before the paint message arrives.
void invalidateRect(HWindow window, const Rect* rect, bool erase = true);
void validateRect(HWindow window, const Rect* rect);
bool getUpdateRect(HWindow window, Rect& rect);

// Keyboard focus and the active (foreground) window.
HWindow foregroundWindow();
void setForegroundWindow(HWindow window);
HWindow focusWindow();
void setFocus(HWindow window);

// The whole screen as the user sees it: the windows composed in z-order over black.
const Surface& composeScreen();
bool saveScreenBmp(const char* path);

// [SECTION] Input and cursors

void setCapture(HWindow window);
void releaseCapture();
HWindow captureWindow();
// The topmost visible window under a screen point, or nullptr.
HWindow windowFromPoint(int x, int y);
Point clientToScreen(HWindow window, Point point);
Point screenToClient(HWindow window, Point point);
// State of a key or mouse button: bit 0x8000 set while it is held down.
uint16_t getKeyState(int virtualKey);
Point cursorPos();                 // screen coordinates
void setCursorPos(int x, int y);   // warps the pointer

using HCursor = int;               // 0 is no cursor
// "arrow", "wait", or one of the program's own: "HAND", "HAND2", "PAINT", "SOUND", "CANNOT", "HAMMER".
HCursor loadCursor(const std::string& name);
HCursor setCursor(HCursor cursor);  // returns the previous one
HCursor currentCursor();
const std::string& cursorName(HCursor cursor);
// Show or hide the pointer, counted as the desktop does: shown while the count is 0 or more.
int showCursor(bool show);

// [SECTION] Message boxes

enum : uint32_t {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
  MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Show a modal message box over its owner (which is disabled meanwhile) and run its own message loop,
// during which the other windows go on receiving their messages. Returns the button chosen.
int messageBox(HWindow owner, const std::string& text, const std::string& caption, uint32_t type);

// [SECTION] Display mode

struct DisplayMode {
  int width = 0, height = 0, bits = 0;
  bool operator==(const DisplayMode&) const = default;
};
// The mode the desktop was in when the program started.
DisplayMode desktopDisplayMode();
DisplayMode currentDisplayMode();
// Change the screen to a mode. The real screen keeps its size: the program's screen is scaled into it.
// False when the back end refuses the mode.
bool setDisplayMode(int width, int height, int bits);
// Back to the desktop's mode: the real window leaves full screen and is iconified.
void restoreDisplayMode();
// Whether the program's own mode holds the screen (set by setDisplayMode, cleared by restoreDisplayMode).
bool programModeActive();

// [SECTION] Clock

// Milliseconds since the platform started (virtual in the headless back end).
uint32_t tickCount();
// Milliseconds between two pictures of the screen (its refresh period), at least 1.
uint32_t frameInterval();
void sleepMs(uint32_t milliseconds);
