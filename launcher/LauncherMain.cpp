// launcher: starts tolvane (the program beside it) once the install folders are confirmed.
#include "launcher/Launcher.h"
#include "platform/process.h"
#include "platform/window.h"

int main() {
  int code = runLauncher(executableFolder() + "tolvane", 1500);
  platformStop();
  return code;
}
