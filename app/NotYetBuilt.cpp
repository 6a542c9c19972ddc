// The windows that the buttons open but that are still to be built: receiving and sending scenes, and
// printing. Each says so, so that no button silently does nothing.
#include "app/Shell.h"

namespace {

void sayNotReady(Program& p, HWindow owner, const char* what) {
  messageBox(owner ? owner : p.shell.ViewWindow, std::string(what) + " 아직 준비되지 않았습니다.", p.shell.sharedCaption,
             MB_OK | MB_ICONINFORMATION);
}

}  // namespace

bool receiveScene(Program& p, HWindow owner) {
  sayNotReady(p, owner, "받기는");
  return false;
}

void sendScene(Program& p, HWindow owner) { sayNotReady(p, owner, "보내기는"); }

void printScene(Program& p) { sayNotReady(p, p.shell.BottomPanel, "인쇄는"); }
