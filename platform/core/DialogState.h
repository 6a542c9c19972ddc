// A dialog's records, shared by the files that open and run it (Dialog.cpp), take its input
// (DialogInput.cpp), edit its text fields (DialogEdit.cpp) and paint it (DialogPaint.cpp).
#pragma once

#include <deque>

#include "platform/dialog.h"
#include "platform/text.h"

struct Control {
  ControlTemplate item;  // disabled and hidden follow enable() and show()
  std::string text;
  bool checked = false;
  Surface picture;
  size_t caret = 0;      // Edit: a byte offset, always at the start of a character or at the end
  int scroll = 0;        // Edit: pixels of text hidden left of the field
};

struct DialogState {
  DialogTemplate form;   // the template without its controls, which live below
  std::vector<Control> controls;
  HWindow window = nullptr;  // null once the window is gone (or was never made)
  bool holdsOwner = false;   // the owner is disabled, and the focus and cursor are to be given back
  HWindow owner = nullptr;
  HWindow previousFocus = nullptr;
  bool ownerWasEnabled = true;
  HCursor previousCursor = 0;
  int captionHeight = 0;     // 0 when the dialog has no title
  int focused = -1;          // index of the control with the focus
  int pressed = -1;          // index of the control held down with the pointer
  bool pressedInside = false;
  std::string composition;   // what the input method is composing in the focused field
  std::deque<int> commands;  // given by the user, not yet returned by nextCommand
  uint32_t opened = 0;
};

// The window was destroyed (by the dialog or under it): the owner takes input again and gets the focus back.
void dialogWindowGone(DialogState& d);

// Controls (DialogInput.cpp)

intptr_t dialogProc(HWindow window, const Message& message);
bool isUsable(const Control& control);    // enabled and shown
bool takesFocus(const Control& control);  // usable, and of a kind that the focus can rest on
bool isPushButton(const Control& control);
// The focus to this control (an index, or -1 for none); a composition in progress is dropped.
void focusControl(DialogState& d, int index);
// The next control that takes the focus after index in template order (step 1) or before it (step -1),
// going round; -1 when none does.
int nextFocus(const DialogState& d, int index, int step);
// The push button that Enter presses: the focused one, else the first usable default button; -1 if none.
int enterTarget(const DialogState& d);
void repaint(DialogState& d);

// Edit fields (DialogEdit.cpp)

// Character steps in UTF-8: a lead byte and the continuation bytes it announces make one character; any
// other byte of malformed text is a character of its own.
size_t nextCharacter(const std::string& text, size_t at);
size_t previousCharacter(const std::string& text, size_t at);
// The longest prefix of at most limit bytes that ends between characters (no limit when limit is 0).
size_t fittingBytes(const std::string& text, size_t limit);
void setEditText(DialogState& d, Control& edit, const std::string& utf8);
void typeIntoEdit(DialogState& d, Control& edit, const std::string& utf8);
// Backspace, Delete, Left, Right, Home and End; false for any other key.
bool editKey(DialogState& d, Control& edit, int key);
void placeCaretAt(DialogState& d, Control& edit, int x);
// Scroll the field so that its caret (after any composition) stays visible.
void keepCaretVisible(const DialogState& d, Control& edit);

// Painting (DialogPaint.cpp)

TextStyle controlStyle(const DialogState& d);
// Where an edit field's text shows: inside its sunken frame, with a pixel to spare on either side.
Rect editTextArea(const Rect& rect);
// The control's rect in window pixels (below the caption bar).
Rect windowRectOf(const DialogState& d, const Control& control);
void paintDialog(DialogState& d);
