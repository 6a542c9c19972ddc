// The windows that the buttons open but that are still to be built: the scene slots and printing. Each
// says so, so that no button silently does nothing.
#include "app/Shell.h"

namespace {

void sayNotReady(Program& p, HWindow owner, const char* what) {
  messageBox(owner ? owner : p.shell.ViewWindow, std::string(what) + " 아직 준비되지 않았습니다.", p.shell.sharedCaption,
             MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void openSceneSlots(Program& p, HWindow owner) { sayNotReady(p, owner, "장면 저장 창은"); }

void printScene(Program& p) { sayNotReady(p, p.shell.BottomPanel, "인쇄는"); }

void saveSceneBeforeExit(Program& p) { sayNotReady(p, p.shell.ViewWindow, "장면 저장 창은"); }
