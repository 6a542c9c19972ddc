// launcher: starts tolvane (the program beside it) once the install folders are confirmed.
#include <cstdio>

#include "launcher/Launcher.h"
#include "platform/process.h"
#include "platform/window.h"

int main() {
  if (backendFromEnvironment() == Backend::Sdl && !displayAvailable()) {
    std::fprintf(stderr, "launcher: there is no display to show Tolvane on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
    return 1;
  }
  int code = runLauncher(executableFolder() + "tolvane", 1500);
  platformStop();
  return code;
}
