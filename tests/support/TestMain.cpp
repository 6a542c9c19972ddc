// Every test program starts here: the user folders point into a private temporary folder (tests never
// touch the real settings store), and the headless back end runs for the whole program.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/TestSupport.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  namespace fs = std::filesystem;
  fs::path home = fs::temp_directory_path() / ("tolvane-home-" + std::to_string(::getpid()));
  fs::create_directories(home);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
  setenv("XDG_DATA_HOME", (home / "share").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  unsetenv("TOLVANE_RECORD");
  unsetenv("TOLVANE_REPLAY");
  setFontFolder(buildDataPath("font"));
  platformStart(Backend::Headless);
  int result = RUN_ALL_TESTS();
  platformStop();
  std::error_code error;
  fs::remove_all(home, error);
  return result;
}
