// The launcher's run: check, start the main program from the DataRoot, wait a moment so the user sees
// something happening, end.
#include <chrono>
#include <thread>

#include "launcher/Launcher.h"
#include "platform/paths.h"
#include "platform/process.h"

int runLauncher(const std::string& program, unsigned waitMs) {
  std::string dataRoot;
  if (!launcherConfirmFolders(dataRoot)) return 1;
  setCurrentDirectory(dataRoot);
  spawnProgram(program, dataRoot);  // a program that fails to start is not noticed, as before
  std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
  return 0;
}
