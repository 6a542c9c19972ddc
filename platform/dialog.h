// Modal dialogs built from a template: a caption bar, push buttons, check boxes, single-line edit fields
// with UTF-8 and Korean input, static texts, group boxes, pictures and picture buttons, drawn in the style
// of the message boxes. The caller drives the dialog: it opens the dialog, asks for the next command (the
// dialog runs its own message loop meanwhile, the other windows go on receiving their messages) and
// decides whether that command ends the dialog. No callbacks.
//
//   Dialog dialog(settingsTemplate(), viewWindow);
//   dialog.setChecked(1042, autoView);
//   while (dialog.nextCommand() != IDOK) {}
//   autoView = dialog.checked(1042);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

enum class ControlKind {
  PushButton,     // a bevelled button with a text; pressing it is a command
  DefaultButton,  // a push button that Enter presses wherever the focus is (except on another button)
  CheckBox,       // a box with a tick and a text; a click or Space flips it (a command when notify is set)
  Edit,           // a single-line text field
  Static,         // a line or block of text (wrapped to the control's width)
  GroupBox,       // a titled frame around other controls
  Picture,        // a picture set with setPicture, drawn one to one and clipped; clicks on it are nothing
  PictureButton,  // a picture that is a command when clicked; drawn with a frame while it has the focus
};

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::Static;
  std::string text;       // label, initial text, or caption of a group box
  Rect rect;              // dialog client pixels, below the caption bar: (0, 0) is the client's top-left
  int maxBytes = 0;       // Edit: the most UTF-8 bytes the field keeps (0: no limit); characters are never split
  bool notify = false;    // CheckBox: a flip is also a command
  bool disabled = false;
  bool hidden = false;
};

struct DialogTemplate {
  std::string name;         // the template's name ("SETTINGDLG"), as the headless back end reports it
  std::string title;        // caption bar text; no caption bar when empty
  int width = 0, height = 0;  // client size, the caption bar comes on top of it
  int fontSize = 12;
  std::vector<ControlTemplate> controls;  // also the Tab order
  // The command that Escape and a close request give; 0 when they give nothing.
  int escapeCommand = IDCANCEL;
  // Any left click or key press anywhere in the dialog is the command IDOK (a dialog that only shows).
  bool anyInputEnds = false;
};

struct DialogState;

class Dialog {
public:
  // Opens the dialog centred over its owner (the screen when the owner is null); the owner is disabled
  // until the dialog is destroyed. The focus goes to the first enabled, visible control that takes it.
  Dialog(const DialogTemplate& dialogTemplate, HWindow owner);
  ~Dialog();  // closes the window, enables the owner again and gives the focus back
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // False when the window could not be made (the platform is not started); then nextCommand gives the
  // escape command at once, or IDCANCEL.
  bool isOpen() const;

  // Run the dialog's message loop until the user gives a command and return it: a push or picture
  // button's id, the default button's id for Enter, a notifying check box's id, the escape command for
  // Escape or a close request, IDOK for anything when anyInputEnds. A quit message in the queue ends the
  // loop with the escape command (or IDCANCEL) and is posted again for the program's own loop.
  int nextCommand();
  // For a dialog shown while the caller works: handle the messages waiting, without waiting for more,
  // and return the command they gave, or 0 when none. A quit message gives the escape command (or
  // IDCANCEL) and is posted again.
  int pollCommand();

  void setText(int id, const std::string& utf8);  // an Edit keeps at most maxBytes of it
  std::string text(int id) const;
  void setChecked(int id, bool checked);
  bool checked(int id) const;
  void enable(int id, bool enabled);  // a disabled control is drawn grey and takes no input or focus
  bool isEnabled(int id) const;
  void show(int id, bool shown);
  bool isShown(int id) const;
  void setFocus(int id);
  int focusedControl() const;  // 0 when none
  // The picture of a Picture or PictureButton control (copied); an empty surface shows the dialog face.
  void setPicture(int id, const Surface& picture);
  HWindow window() const;

private:
  std::unique_ptr<DialogState> state;
};
