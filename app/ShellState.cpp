// The shell record and shut-down.
#include "app/Shell.h"

ShellState shell;
std::function<bool()> frameStep;

void ShutDownApp() {
  if (shell.shutDownDone) return;
  // The rendering objects are released by the renderer when it runs; the shell's part is to end the loop.
  shell.shutDownDone = 1;
  postQuitMessage(0);
}
