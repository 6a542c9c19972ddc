// What tests do to the headless back end: inject input, answer message boxes, move the virtual clock,
// refuse display modes. Only meaningful after platformStart(Backend::Headless).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

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

// The virtual clock.
void headlessAdvanceClock(uint32_t milliseconds);

// Refuse display modes of this width from now on (to test the fallback to the larger mode); 0 refuses
// nothing again.
void headlessRefuseDisplayWidth(int width);

// The documents (help pages) the program asked the desktop to show, in order.
const std::vector<std::string>& headlessOpenedDocuments();
