// The window system's own records, shared by its source files (windows, message queue, message boxes).
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/core/Backend.h"
#include "platform/headless.h"
#include "platform/window.h"

struct Window {
  std::string className;
  const WindowClass* windowClass = nullptr;
  std::string title;
  bool topmost = false;
  Rect rect;                 // screen coordinates
  HWindow owner = nullptr;
  bool visible = false;
  bool minimised = false;
  bool enabled = true;
  bool alive = true;
  Surface surface;
  Rect update;               // empty when nothing is invalid
  intptr_t userData = 0;
  Rect restoreRect;          // where a minimised window comes back to
};

struct WindowSystem {
  std::unique_ptr<PlatformBackend> backend;
  Backend kind = Backend::Headless;
  bool started = false;
  std::map<std::string, WindowClass> classes;
  std::vector<std::unique_ptr<Window>> windows;   // owns every live window
  std::vector<HWindow> zOrder;                      // bottom to top
  std::deque<Message> posted;
  std::deque<InputEvent> input;
  bool quitPosted = false;
  int quitCode = 0;

  HWindow capture = nullptr;
  HWindow focus = nullptr;
  HWindow foreground = nullptr;
  Point pointer;
  uint32_t buttons = 0;       // MK_LBUTTON / MK_RBUTTON
  bool keyDown[256] = {};
  // Double-click detection: the last button press.
  HWindow lastClickWindow = nullptr;
  int lastClickButton = 0;
  uint32_t lastClickTime = 0;
  Point lastClickPoint;
  bool lastWasDoubleClick = false;

  DisplayMode mode{640, 480, 16};
  DisplayMode desktop{640, 480, 16};
  bool programMode = false;  // the program's display mode holds the screen
  Surface screen{640, 480};
  bool screenDirty = true;
  uint32_t lastPresent = 0;

  int cursorCount = 0;        // shown while >= 0
  int currentCursor = 0;
  std::vector<std::string> cursorNames{""};

  std::vector<int> refusedWidths;  // headless: display widths to refuse
  std::vector<std::string> openedDocuments;  // headless: documents shown with the desktop's program
  std::vector<std::string> printers;         // headless: the printers offered
  std::vector<HeadlessPrintJob> printJobs;   // headless: what was sent to them
};

WindowSystem& windowSystem();
bool isLiveWindow(HWindow window);
// Present the screen if it changed (throttled to keep up with fast loops unless forced).
void presentIfDirty(bool force);
// Turn one raw input event into messages; false when it produced none.
bool inputToMessage(const InputEvent& event, Message& message);
void markScreenDirty();
// Close the fonts opened for text drawing (at platform stop).
void closeFonts();
