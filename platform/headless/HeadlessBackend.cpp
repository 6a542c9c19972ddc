// The headless back end: no device at all. Input comes from the test (or a replayed journal), time is a
// virtual clock, message boxes and dialogs are answered by policies, and the screen is only composed when
// asked for.
#include <algorithm>
#include <deque>

#include "platform/core/Backend.h"
#include "platform/core/WindowState.h"
#include "platform/headless.h"
#include "platform/process.h"

namespace {

// An idle pass of the polling loop costs this much virtual time, about what a frame takes for real.
constexpr uint32_t kIdleStepMs = 10;
// A loop that only reads the clock still sees it move: one millisecond every this many reads.
constexpr uint32_t kReadsPerMs = 1000;
// After the last replayed event the session is closed once this much virtual time has passed.
constexpr uint32_t kReplayGraceMs = 2000;

struct HeadlessState {
  uint32_t clock = 0;
  uint32_t readsSinceStep = 0;
  std::deque<InputEvent> pending;   // injected or replayed, by time
  bool replaying = false;
  bool replayClosed = false;
  MessageBoxPolicy policy;
  std::deque<int> forcedAnswers;
  std::vector<MessageBoxShown> shown;
  const Dialog* answeredByDefault = nullptr;  // the dialog the default answer was last given to
  DialogPolicy dialogPolicy;
  std::vector<std::string> dialogsOpened;
};

HeadlessState& headless() {
  static HeadlessState state;
  return state;
}

class HeadlessBackend : public PlatformBackend {
public:
  bool start() override {
    HeadlessState& h = headless();
    h = HeadlessState{};
    std::string replay = environmentValue("TOLVANE_REPLAY");
    if (!replay.empty()) {
      std::vector<InputEvent> events;
      if (!journalLoad(replay, events)) return false;
      h.pending.assign(events.begin(), events.end());
      h.replaying = true;
      // The latest time in the journal, wherever it stands: the replay ends a grace period after it.
      lastEventTime = 0;
      for (const InputEvent& event : events) lastEventTime = std::max(lastEventTime, event.time);
    }
    return true;
  }
  void stop() override {}

  void pollInput(std::vector<InputEvent>& events) override {
    HeadlessState& h = headless();
    while (!h.pending.empty() && (!h.replaying || h.pending.front().time <= h.clock)) {
      InputEvent event = h.pending.front();
      h.pending.pop_front();
      if (event.type == InputEvent::Type::Answer) {
        h.forcedAnswers.push_back(event.key);
        continue;
      }
      if (!h.replaying) event.time = h.clock;
      events.push_back(event);
    }
  }

  void present(const Surface&) override {}

  uint32_t ticks() override {
    HeadlessState& h = headless();
    if (++h.readsSinceStep >= kReadsPerMs) {
      h.readsSinceStep = 0;
      ++h.clock;
    }
    return h.clock;
  }

  void sleep(uint32_t milliseconds) override { advance(milliseconds); }

  void idle(uint32_t milliseconds) override {
    HeadlessState& h = headless();
    uint32_t step = milliseconds ? milliseconds : kIdleStepMs;
    if (h.replaying && !h.pending.empty()) {
      // A wait ends when input arrives: input already due ends it at once.
      uint32_t due = h.pending.front().time;
      if (due <= h.clock) return;
      if (due - h.clock < step) step = due - h.clock;
    }
    advance(step);
    if (h.replaying && !h.replayClosed && h.clock > lastEventTime + kReplayGraceMs) {
      // The journal ran out without ending the program: the session ends, as at a logout (the program
      // keeps its scene without asking). Whatever is still pending is long due and goes ahead of it.
      h.replayClosed = true;
      InputEvent close;
      close.type = InputEvent::Type::Terminate;
      close.time = h.clock;
      h.pending.push_back(close);
      h.replaying = false;
    }
  }

  int refreshRate() override { return 60; }
  DisplayMode desktopMode() override { return DisplayMode{1024, 768, 16}; }
  bool setMode(int, int) override { return true; }
  void restoreMode() override {}
  void showCursor(const std::string&, bool) override {}
  void warpPointer(int, int) override {}

  int answerMessageBox(const std::string& text, const std::string& caption, uint32_t type,
                       const std::string& ownerClass) override {
    HeadlessState& h = headless();
    MessageBoxShown box{text, caption, type, 0, ownerClass};
    int answer = 0;
    if (!h.forcedAnswers.empty()) {
      answer = h.forcedAnswers.front();
      h.forcedAnswers.pop_front();
    } else if (h.replaying) {
      answer = 0;  // the recorded clicks and keys answer it
    } else if (h.policy) {
      answer = h.policy(box);
    } else {
      uint32_t buttons = type & 0xF;
      answer = buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
    }
    box.answer = answer;
    h.shown.push_back(box);
    return answer;
  }

  void dialogOpened(const std::string& templateName) override {
    headless().dialogsOpened.push_back(templateName);
    headless().answeredByDefault = nullptr;  // a new dialog, even at an old one's address
  }

  int answerDialog(Dialog& dialog, const std::string& templateName, int usual) override {
    HeadlessState& h = headless();
    if (h.replaying) return 0;  // the recorded clicks and keys answer it
    if (h.dialogPolicy) return h.dialogPolicy(dialog, templateName);
    // Without a policy a dialog gets its usual answer once; asked again it waits, and gives up in the end,
    // rather than pressing a button that keeps it open for ever.
    if (h.answeredByDefault == &dialog) return 0;
    h.answeredByDefault = &dialog;
    return usual;
  }

private:
  void advance(uint32_t milliseconds) {
    HeadlessState& h = headless();
    h.clock += milliseconds;
    h.readsSinceStep = 0;
  }
  uint32_t lastEventTime = 0;
};

void inject(InputEvent event) { headless().pending.push_back(std::move(event)); }

}  // namespace

std::unique_ptr<PlatformBackend> makeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

void headlessMouseMove(int x, int y) {
  InputEvent e;
  e.type = InputEvent::Type::MouseMove;
  e.x = x;
  e.y = y;
  inject(e);
}

void headlessMouseButton(int button, bool down) {
  InputEvent e;
  e.type = InputEvent::Type::Button;
  e.button = button;
  e.down = down;
  Point p = cursorPos();
  if (!headless().pending.empty()) {
    const InputEvent& last = headless().pending.back();
    if (last.type == InputEvent::Type::MouseMove || last.type == InputEvent::Type::Button) p = Point{last.x, last.y};
  }
  e.x = p.x;
  e.y = p.y;
  inject(e);
}

void headlessClick(int x, int y, int button) {
  headlessMouseMove(x, y);
  headlessMouseButton(button, true);
  headlessMouseButton(button, false);
}

void headlessKey(int virtualKey, bool down) {
  InputEvent e;
  e.type = InputEvent::Type::Key;
  e.key = virtualKey;
  e.down = down;
  inject(e);
}

void headlessKeyPress(int virtualKey) {
  headlessKey(virtualKey, true);
  headlessKey(virtualKey, false);
}

void headlessText(const std::string& utf8) {
  InputEvent e;
  e.type = InputEvent::Type::Text;
  e.text = utf8;
  inject(e);
}

void headlessComposition(const std::string& utf8) {
  InputEvent e;
  e.type = InputEvent::Type::Composition;
  e.text = utf8;
  inject(e);
}

void headlessCloseRequest() {
  InputEvent e;
  e.type = InputEvent::Type::Close;
  inject(e);
}

void headlessTerminateRequest() {
  InputEvent e;
  e.type = InputEvent::Type::Terminate;
  inject(e);
}

void headlessRestoreRequest() {
  InputEvent e;
  e.type = InputEvent::Type::Restore;
  inject(e);
}

void headlessSetMessageBoxPolicy(MessageBoxPolicy policy) { headless().policy = std::move(policy); }
void headlessAnswerNext(int button) { headless().forcedAnswers.push_back(button); }
const std::vector<MessageBoxShown>& headlessMessageBoxes() { return headless().shown; }
void headlessClearMessageBoxes() { headless().shown.clear(); }
void headlessSetDialogPolicy(DialogPolicy policy) { headless().dialogPolicy = std::move(policy); }
const std::vector<std::string>& headlessDialogsOpened() { return headless().dialogsOpened; }
void headlessClearDialogsOpened() { headless().dialogsOpened.clear(); }
void headlessAdvanceClock(uint32_t milliseconds) { headless().clock += milliseconds; }
void headlessRefuseDisplayWidth(int width) {
  auto& refused = windowSystem().refusedWidths;
  if (width == 0)
    refused.clear();
  else
    refused.push_back(width);
}
