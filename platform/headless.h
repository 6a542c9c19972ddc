// What tests do to the headless back end: inject input, answer message boxes and dialogs, move the virtual
// clock, refuse display modes. Only meaningful after platformStart(Backend::Headless).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

class Dialog;

struct MessageBoxShown {
  std::string text;
  std::string caption;
  uint32_t type = 0;
  int answer = 0;
  std::string ownerClass;
};

// Input, in screen coordinates. Injected events are queued like real input and turned into messages by
// the next peekMessage.
void headlessMouseMove(int x, int y);
void headlessMouseButton(int button, bool down);  // 1 left, 3 right
void headlessClick(int x, int y, int button = 1);
void headlessKey(int virtualKey, bool down);
void headlessKeyPress(int virtualKey);  // down and up
void headlessText(const std::string& utf8);
// The input method shows this text as still being composed; an empty text ends the composition (the
// composed syllable then arrives through headlessText).
void headlessComposition(const std::string& utf8);
void headlessCloseRequest();            // the user closed the program's window
void headlessTerminateRequest();        // the session ends (a termination signal)
void headlessRestoreRequest();          // the user brought the iconified program back

// How message boxes are answered. The policy sees each box as it opens and returns the button to press,
// or 0 to leave the box open for injected input. The default answers with the box's first button.
using MessageBoxPolicy = std::function<int(const MessageBoxShown&)>;
void headlessSetMessageBoxPolicy(MessageBoxPolicy policy);
void headlessAnswerNext(int button);  // the next box gets this answer, whatever the policy says
const std::vector<MessageBoxShown>& headlessMessageBoxes();
void headlessClearMessageBoxes();

// How dialogs are answered. While a dialog waits for a command and the injected input has run out, the
// policy is asked with the dialog (it may read and change its controls, or inject more input) and its
// template's name; it returns the command to give, or 0 to keep waiting. It is asked again whenever
// input it injected has run out. The default gives the first default button's id, else the escape
// command, else IDOK (IDOK at once for a dialog that any input ends). Replayed sessions answer with their
// recorded input instead.
using DialogPolicy = std::function<int(Dialog& dialog, const std::string& templateName)>;
void headlessSetDialogPolicy(DialogPolicy policy);
// The template names of the dialogs opened, in order.
const std::vector<std::string>& headlessDialogsOpened();
void headlessClearDialogsOpened();

// The virtual clock.
void headlessAdvanceClock(uint32_t milliseconds);

// Refuse display modes of this width from now on (to test the fallback to the larger mode); 0 refuses
// nothing again.
void headlessRefuseDisplayWidth(int width);

// The documents (help pages) the program asked the desktop to show, in order.
const std::vector<std::string>& headlessOpenedDocuments();

// Printing: the printers listPrinters offers (none unless set), and the jobs sent to them, each with the
// PDF the print system would have been given.
struct HeadlessPrintJob {
  std::string printer;
  std::string pdf;
};
void headlessSetPrinters(std::vector<std::string> printers);
const std::vector<HeadlessPrintJob>& headlessPrintJobs();
void headlessClearPrintJobs();
