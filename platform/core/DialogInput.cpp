// A dialog's window procedure: the pointer pressing buttons and ticking boxes, the keyboard moving the
// focus, pressing the default button and typing into fields, and the commands all that gives.
//
// Index: [SECTION] Focus  [SECTION] Pointer  [SECTION] Keyboard  [SECTION] Window procedure

#include "platform/core/DialogState.h"
#include "platform/core/WindowState.h"

namespace {

// Read from the record itself: Destroy arrives when the window already counts as dead to windowUserData.
DialogState* stateOf(HWindow window) { return reinterpret_cast<DialogState*>(window->userData); }

Control* focusedControl(DialogState& d) {
  return d.focused >= 0 ? &d.controls[static_cast<size_t>(d.focused)] : nullptr;
}

void give(DialogState& d, int command) {
  if (command) d.commands.push_back(command);
}

void flip(DialogState& d, Control& box) {
  box.checked = !box.checked;
  if (box.item.notify) give(d, box.item.id);
}

}  // namespace

void repaint(DialogState& d) {
  if (d.window) invalidateRect(d.window, nullptr, false);
}

// [SECTION] Focus

bool isUsable(const Control& c) { return !c.item.disabled && !c.item.hidden; }

bool isPushButton(const Control& c) {
  return c.item.kind == ControlKind::PushButton || c.item.kind == ControlKind::DefaultButton;
}

bool takesFocus(const Control& c) {
  return isUsable(c) && (isPushButton(c) || c.item.kind == ControlKind::CheckBox || c.item.kind == ControlKind::Edit ||
                         c.item.kind == ControlKind::PictureButton);
}

void focusControl(DialogState& d, int index) {
  if (index != d.focused) d.composition.clear();
  d.focused = index;
  repaint(d);
}

int nextFocus(const DialogState& d, int index, int step) {
  int n = static_cast<int>(d.controls.size());
  if (n == 0) return -1;
  int at = index < 0 ? (step > 0 ? n - 1 : 0) : index;
  for (int tried = 0; tried < n; ++tried) {
    at = (at + step + n) % n;
    if (takesFocus(d.controls[static_cast<size_t>(at)])) return at;
  }
  return -1;
}

int enterTarget(const DialogState& d) {
  if (d.focused >= 0 && isPushButton(d.controls[static_cast<size_t>(d.focused)])) return d.focused;
  for (size_t i = 0; i < d.controls.size(); ++i)
    if (d.controls[i].item.kind == ControlKind::DefaultButton && isUsable(d.controls[i])) return static_cast<int>(i);
  return -1;
}

// [SECTION] Pointer

namespace {

// The control a click at (x, y) in client pixels lands on; later controls lie above earlier ones.
int controlAt(const DialogState& d, int x, int y) {
  for (int i = static_cast<int>(d.controls.size()) - 1; i >= 0; --i) {
    const Control& c = d.controls[static_cast<size_t>(i)];
    if (takesFocus(c) && c.item.rect.contains(x, y)) return i;
  }
  return -1;
}

void pointerDown(DialogState& d, int x, int y) {
  int index = controlAt(d, x, y);
  if (index < 0) return;
  focusControl(d, index);
  Control& c = d.controls[static_cast<size_t>(index)];
  if (c.item.kind == ControlKind::Edit) {
    placeCaretAt(d, c, x);
    return;
  }
  d.pressed = index;
  d.pressedInside = true;
  setCapture(d.window);
}

void pointerMoved(DialogState& d, int x, int y) {
  if (d.pressed < 0) return;
  bool inside = d.controls[static_cast<size_t>(d.pressed)].item.rect.contains(x, y);
  if (inside == d.pressedInside) return;
  d.pressedInside = inside;
  repaint(d);
}

void pointerUp(DialogState& d, int x, int y) {
  if (d.pressed < 0) return;
  releaseCapture();
  Control& c = d.controls[static_cast<size_t>(d.pressed)];
  d.pressed = -1;
  d.pressedInside = false;
  repaint(d);
  if (!c.item.rect.contains(x, y)) return;
  if (c.item.kind == ControlKind::CheckBox)
    flip(d, c);
  else
    give(d, c.item.id);
}

// [SECTION] Keyboard

void keyDown(DialogState& d, int key) {
  Control* focused = focusedControl(d);
  switch (key) {
    case VK_TAB: {
      int step = getKeyState(VK_SHIFT) & 0x8000 ? -1 : 1;
      focusControl(d, nextFocus(d, d.focused, step));
      return;
    }
    case VK_RETURN: {
      int target = enterTarget(d);
      if (target >= 0) give(d, d.controls[static_cast<size_t>(target)].item.id);
      return;
    }
    case VK_ESCAPE: give(d, d.form.escapeCommand); return;
    case VK_SPACE:
      if (!focused || focused->item.kind == ControlKind::Edit) return;  // an edit field types its space
      if (focused->item.kind == ControlKind::CheckBox)
        flip(d, *focused);
      else
        give(d, focused->item.id);
      repaint(d);
      return;
    default:
      // While the input method composes, the editing keys are its own.
      if (focused && focused->item.kind == ControlKind::Edit && d.composition.empty() && editKey(d, *focused, key))
        repaint(d);
      return;
  }
}

}  // namespace

// [SECTION] Window procedure

intptr_t dialogProc(HWindow window, const Message& m) {
  DialogState* d = stateOf(window);
  if (!d) return defWindowProc(window, m);
  int x = m.x, y = m.y - d->captionHeight;
  Control* focused = focusedControl(*d);
  bool editing = focused && focused->item.kind == ControlKind::Edit;
  switch (m.msg) {
    case Msg::Paint:
      paintDialog(*d);
      validateRect(window, nullptr);
      return 0;
    case Msg::Destroy: dialogWindowGone(*d); return 0;
    case Msg::LButtonDown:
    case Msg::LButtonDblClk:
      if (d->form.anyInputEnds)
        give(*d, IDOK);
      else
        pointerDown(*d, x, y);
      return 0;
    case Msg::MouseMove: pointerMoved(*d, x, y); return 0;
    case Msg::LButtonUp: pointerUp(*d, x, y); return 0;
    case Msg::KeyDown:
    case Msg::SysKeyDown:
      if (d->form.anyInputEnds)
        give(*d, IDOK);
      else if (m.msg == Msg::KeyDown)
        keyDown(*d, m.key);
      return 0;
    case Msg::Char:
      if (editing) {
        d->composition.clear();  // what was composed arrives as this text
        typeIntoEdit(*d, *focused, m.text);
        repaint(*d);
      }
      return 0;
    case Msg::Composition:
      if (editing) {
        d->composition = m.text;
        keepCaretVisible(*d, *focused);
        repaint(*d);
      }
      return 0;
    case Msg::Close: give(*d, d->form.escapeCommand); return 0;
    default: return defWindowProc(window, m);
  }
}
