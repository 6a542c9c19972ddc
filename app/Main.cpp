// The entry point of tolvane: choose the platform back end, run the program, return its exit code.
#include <cstdio>
#include <memory>
#include <string>

#include "app/Shell.h"

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
  const Backend backend = backendFromEnvironment();
  if (backend == Backend::Sdl && !displayAvailable()) {
    std::fprintf(stderr,
                 "tolvane: there is no display to show the program on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "start it from a desktop session, or set TOLVANE_HEADLESS=1 to run without a window\n");
    return 1;
  }
  if (!platformStart(backend)) {
    std::fprintf(stderr, "tolvane: the screen could not be opened\n");
    return 1;
  }
  int code = 1;
  {
    auto program = std::make_unique<Program>();
    code = runTolvane(*program, commandLine);
  }
  platformStop();
  return code;
}
