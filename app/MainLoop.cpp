// The polling message loop: messages first; on an idle pass a frame of the 3D view when one was requested.
#include "app/Shell.h"
#include "scene/SceneList.h"

namespace {
// The third rendering failure in a run ends the program, whether or not the failures were consecutive.
constexpr int kFailuresBeforeExit = 3;
}

int runMessageLoop() {
  Message message;
  int lastCode = 0;
  while (true) {
    while (peekMessage(message)) {
      if (message.msg == Msg::Quit) return message.code;
      lastCode = message.code;
      translateMessage(message);
      dispatchMessage(message);
    }
    if (!shell.onDemandRedraw) shell.frameRequested = 1;
    if (shell.explosionActive) shell.frameRequested = 1;
    followViewStep(selectedBlock);
    bool drew = false;
    if (shell.viewActive && shell.frameRequested && runFrame) {
      drew = true;
      if (!runFrame()) {
        if (++shell.renderFailures >= kFailuresBeforeExit) {
          ShutDownApp();
          return lastCode;
        }
      }
    }
    // Nothing to draw: give the processor back for a moment instead of spinning.
    if (!drew) idleWait(1);
  }
}
