// Printing is still to be built: its button says so rather than silently doing nothing.
#include "app/Shell.h"

namespace {

void sayNotReady(Program& p, HWindow owner, const char* what) {
  messageBox(owner ? owner : p.shell.ViewWindow, std::string(what) + " 아직 준비되지 않았습니다.", p.shell.sharedCaption,
             MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void printScene(Program& p) { sayNotReady(p, p.shell.BottomPanel, "인쇄는"); }
