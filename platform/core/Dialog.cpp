// Opening a dialog from its template, the caller-driven modal loop, and what the caller reads and sets on
// its controls. The loop mirrors the message box's: every other window goes on receiving its messages,
// the owner stays disabled, a quit message ends the wait and is posted again, and a headless dialog that
// nobody answers gives up instead of hanging.
//
// Index: [SECTION] Opening and closing  [SECTION] Modal loop  [SECTION] Controls

#include "platform/core/DialogLook.h"
#include "platform/core/DialogState.h"
#include "platform/core/WindowState.h"

namespace {

const char* kClassName = "#Dialog";
constexpr uint32_t kHeadlessGiveUpMs = 10 * 60 * 1000;

Control* findControl(DialogState& d, int id) {
  for (Control& c : d.controls)
    if (c.item.id == id) return &c;
  return nullptr;
}

int indexOf(const DialogState& d, const Control& control) { return static_cast<int>(&control - d.controls.data()); }

int escapeOrCancel(const DialogState& d) { return d.form.escapeCommand ? d.form.escapeCommand : IDCANCEL; }

// What a user would most likely do: press the default button, else leave.
int usualCommand(const DialogState& d) {
  if (d.form.anyInputEnds) return IDOK;
  for (const Control& c : d.controls)
    if (c.item.kind == ControlKind::DefaultButton && isUsable(c)) return c.item.id;
  return d.form.escapeCommand ? d.form.escapeCommand : IDOK;
}

bool isInput(Msg msg) {
  switch (msg) {
    case Msg::KeyDown: case Msg::KeyUp: case Msg::SysKeyDown: case Msg::Char: case Msg::Composition:
    case Msg::MouseMove: case Msg::LButtonDown: case Msg::LButtonUp: case Msg::LButtonDblClk:
    case Msg::RButtonDown: case Msg::RButtonUp: case Msg::RButtonDblClk: case Msg::Close:
      return true;
    default: return false;
  }
}

}  // namespace

// [SECTION] Opening and closing

Dialog::Dialog(const DialogTemplate& dialogTemplate, HWindow owner) : state(std::make_unique<DialogState>()) {
  DialogState& d = *state;
  d.form = dialogTemplate;
  d.form.controls.clear();
  for (const ControlTemplate& item : dialogTemplate.controls) {
    Control control;
    control.item = item;
    if (item.kind == ControlKind::Edit)
      setEditText(d, control, item.text);
    else
      control.text = item.text;
    d.controls.push_back(std::move(control));
  }
  d.focused = nextFocus(d, -1, 1);

  auto& ws = windowSystem();
  if (!ws.started) return;
  if (!isClassRegistered(kClassName)) registerClass(WindowClass{kClassName, CS_REDRAW, "arrow", dialogProc});
  d.captionHeight = d.form.title.empty() ? 0 : kCaptionHeight;
  int width = std::max(0, d.form.width), height = std::max(0, d.form.height) + d.captionHeight;
  Rect centreOn = isLiveWindow(owner) ? windowRect(owner) : Rect{0, 0, ws.mode.width, ws.mode.height};
  int x = centreOn.left + (centreOn.width() - width) / 2, y = centreOn.top + (centreOn.height() - height) / 2;
  x = std::max(0, std::min(x, ws.mode.width - width));
  y = std::max(0, std::min(y, ws.mode.height - height));

  d.window = createWindow(kClassName, d.form.title, true, x, y, width, height, isLiveWindow(owner) ? owner : nullptr);
  if (!d.window) return;
  d.holdsOwner = true;
  d.owner = windowOwner(d.window);
  d.ownerWasEnabled = isWindowEnabled(d.owner);
  d.previousFocus = focusWindow();
  if (d.owner) enableWindow(d.owner, false);
  setWindowUserData(d.window, reinterpret_cast<intptr_t>(&d));
  showWindow(d.window, ShowCmd::Show);
  d.previousCursor = setCursor(loadCursor("arrow"));
  d.opened = tickCount();
  ws.backend->dialogOpened(d.form.name);
}

Dialog::~Dialog() {
  DialogState& d = *state;
  if (d.window) destroyWindow(d.window);  // its procedure hears Destroy and lets go of the owner
  dialogWindowGone(d);
}

void dialogWindowGone(DialogState& d) {
  d.window = nullptr;
  if (!d.holdsOwner) return;
  d.holdsOwner = false;
  if (isLiveWindow(d.owner)) enableWindow(d.owner, d.ownerWasEnabled);
  if (isLiveWindow(d.previousFocus)) setForegroundWindow(d.previousFocus);
  setCursor(d.previousCursor);
  d.owner = d.previousFocus = nullptr;
}

bool Dialog::isOpen() const { return state->window != nullptr; }
HWindow Dialog::window() const { return state->window; }

// [SECTION] Modal loop

int Dialog::nextCommand() {
  DialogState& d = *state;
  auto& ws = windowSystem();
  bool inputSinceAsked = true;
  Message message;
  while (d.commands.empty() && d.window) {
    if (peekMessage(message)) {
      if (message.msg == Msg::Quit) {
        postQuitMessage(message.code);  // for the program's own loop, once the caller has closed the dialog
        return escapeOrCancel(d);
      }
      if (isInput(message.msg)) inputSinceAsked = true;
      dispatchMessage(message);
      continue;
    }
    // The queue is empty: everything the input caused has been painted.
    if (inputSinceAsked) {
      inputSinceAsked = false;
      if (int answer = ws.backend->answerDialog(*this, d.form.name, usualCommand(d))) return answer;
      continue;
    }
    // Nobody will ever answer a headless dialog whose input has run out: give up rather than hang.
    if (ws.kind == Backend::Headless && tickCount() - d.opened > kHeadlessGiveUpMs)
      return d.form.anyInputEnds ? IDOK : d.form.escapeCommand ? d.form.escapeCommand : usualCommand(d);
    idleWait(ws.kind == Backend::Sdl ? 5 : 0);
  }
  // The window gone (the platform stopped, or its owner was destroyed) is the same as never opened.
  if (d.commands.empty()) return escapeOrCancel(d);
  // The caller may leave the dialog open for a while: it shows what the command left.
  Rect invalid;
  if (getUpdateRect(d.window, invalid)) sendMessage(d.window, Msg::Paint);
  int command = d.commands.front();
  d.commands.pop_front();
  return command;
}

int Dialog::pollCommand() {
  DialogState& d = *state;
  auto& ws = windowSystem();
  Message message;
  while (d.commands.empty() && d.window && peekMessage(message)) {
    if (message.msg == Msg::Quit) {
      postQuitMessage(message.code);
      return escapeOrCancel(d);
    }
    dispatchMessage(message);
  }
  if (!d.window && d.commands.empty()) return escapeOrCancel(d);
  if (d.commands.empty()) {
    // Nobody presses anything by default: the work goes on unless a test's policy says otherwise.
    if (d.window && ws.backend) return ws.backend->answerDialog(*this, d.form.name, 0);
    return 0;
  }
  int command = d.commands.front();
  d.commands.pop_front();
  return command;
}

// [SECTION] Controls

void Dialog::setText(int id, const std::string& utf8) {
  Control* c = findControl(*state, id);
  if (!c) return;
  if (c->item.kind == ControlKind::Edit)
    setEditText(*state, *c, utf8);
  else
    c->text = utf8;
  repaint(*state);
}

std::string Dialog::text(int id) const {
  const Control* c = findControl(*state, id);
  return c ? c->text : std::string();
}

void Dialog::setChecked(int id, bool checked) {
  Control* c = findControl(*state, id);
  if (!c) return;
  c->checked = checked;
  repaint(*state);
}

bool Dialog::checked(int id) const {
  const Control* c = findControl(*state, id);
  return c && c->checked;
}

// A control that can no longer take input lets go of the pointer and hands the focus on.
static void controlWithdrawn(DialogState& d, Control& c) {
  int index = indexOf(d, c);
  if (d.pressed == index) {
    d.pressed = -1;
    if (captureWindow() == d.window) releaseCapture();
  }
  if (d.focused == index) focusControl(d, nextFocus(d, index, 1));
}

void Dialog::enable(int id, bool enabled) {
  Control* c = findControl(*state, id);
  if (!c) return;
  c->item.disabled = !enabled;
  if (!enabled) controlWithdrawn(*state, *c);
  repaint(*state);
}

bool Dialog::isEnabled(int id) const {
  const Control* c = findControl(*state, id);
  return c && !c->item.disabled;
}

void Dialog::show(int id, bool shown) {
  Control* c = findControl(*state, id);
  if (!c) return;
  c->item.hidden = !shown;
  if (!shown) controlWithdrawn(*state, *c);
  repaint(*state);
}

bool Dialog::isShown(int id) const {
  const Control* c = findControl(*state, id);
  return c && !c->item.hidden;
}

void Dialog::setFocus(int id) {
  Control* c = findControl(*state, id);
  if (c && takesFocus(*c)) focusControl(*state, indexOf(*state, *c));
}

int Dialog::focusedControl() const {
  const DialogState& d = *state;
  return d.focused >= 0 ? d.controls[static_cast<size_t>(d.focused)].item.id : 0;
}

void Dialog::setPicture(int id, const Surface& picture) {
  Control* c = findControl(*state, id);
  if (!c) return;
  c->picture = picture;
  repaint(*state);
}
