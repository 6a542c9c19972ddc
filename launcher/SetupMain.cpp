// tolvane-setup [FOLDER]: prepares the install folder (default ~/.local/share/tolvane) and records it.
#include <cstdio>
#include <string>

#include "launcher/Launcher.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help"))) {
    std::printf("usage: tolvane-setup [FOLDER] | --check\n"
                "Creates FOLDER (default %s) with its Save and Port folders, copies the shipped game levels\n"
                "into it and records it for tolvane and its launcher. --check: exit 0 when that was done.\n",
                userDataFolder().c_str());
    return argc == 2 ? 0 : 2;
  }
  if (argc == 2 && std::string(argv[1]) == "--check") return installFoldersReady() ? 0 : 1;
  std::string dataRoot = findDataRoot();
  if (dataRoot.empty()) {
    std::fprintf(stderr, "tolvane-setup: the data folder was not found (set TOLVANE_DATA)\n");
    return 1;
  }
  SetupReport report = runSetup(argc == 2 ? argv[1] : "", dataRoot);
  for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
  return report.ok ? 0 : 1;
}
