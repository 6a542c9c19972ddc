// What the window system needs from a back end (SDL or headless), and the raw input it delivers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

class Dialog;

struct InputEvent {
  enum class Type { MouseMove, Button, Key, Text, Composition, Close, Restore, Screenshot, Answer, Terminate };
  Type type = Type::MouseMove;
  uint32_t time = 0;
  int x = 0, y = 0;      // MouseMove and Button: screen coordinates
  int button = 0;        // Button: 1 left, 3 right
  bool down = false;     // Button and Key
  int key = 0;           // Key: virtual-key code; Answer: the button
  std::string text;      // Text: UTF-8; Composition: the text being composed, empty at its end; Screenshot: file name
};

class PlatformBackend {
public:
  virtual ~PlatformBackend() = default;
  virtual bool start() = 0;
  virtual void stop() = 0;
  // Raw input that arrived since the last call, in order.
  virtual void pollInput(std::vector<InputEvent>& events) = 0;
  virtual void present(const Surface& screen) = 0;
  virtual uint32_t ticks() = 0;
  virtual void sleep(uint32_t milliseconds) = 0;
  // Nothing to do: let time pass (real back end: sleep until input arrives or the time is up; headless: the
  // virtual clock steps on).
  virtual void idle(uint32_t milliseconds) = 0;
  // How often the screen shows a new picture, in frames per second.
  virtual int refreshRate() = 0;
  virtual DisplayMode desktopMode() = 0;
  virtual bool setMode(int width, int height) = 0;
  virtual void restoreMode() = 0;
  virtual void showCursor(const std::string& name, bool visible) = 0;
  virtual void warpPointer(int x, int y) = 0;
  // The answer for a message box that just opened, or 0 to wait for input.
  virtual int answerMessageBox(const std::string& text, const std::string& caption, uint32_t type,
                               const std::string& ownerClass) = 0;
  // A dialog made from this template opened.
  virtual void dialogOpened(const std::string& templateName) = 0;
  // The command for a dialog whose input has run out, or 0 to keep waiting. usual is the command a user
  // would most likely give.
  virtual int answerDialog(Dialog& dialog, const std::string& templateName, int usual) = 0;
};

std::unique_ptr<PlatformBackend> makeSdlBackend();
std::unique_ptr<PlatformBackend> makeHeadlessBackend();
PlatformBackend* currentBackend();

// The session journal (journal.cpp): one line per input event, read back by the headless back end.
// Times are milliseconds since the session began; a session of a day is the longest a journal holds.
constexpr uint32_t kJournalMaxTime = 86400000;
bool journalOpenRecord(const std::string& path);
void journalRecord(const InputEvent& event);
void journalCloseRecord();
// Parse a journal file; false when it cannot be read. Malformed lines are skipped, and so are screenshot
// commands that name a place outside the journal's folder; the others get the path they are saved to.
bool journalLoad(const std::string& path, std::vector<InputEvent>& events);
// One line; false when malformed or timed after kJournalMaxTime.
bool journalParseLine(const std::string& line, InputEvent& event);
// Where a journal's "screenshot NAME" is saved: NAME taken relative to the journal's folder. False for an
// absolute NAME or one with a ".." component, which could reach any file the user can write.
bool journalScreenshotPath(const std::string& journalPath, const std::string& name, std::string& path);
std::string journalFormatLine(const InputEvent& event);
