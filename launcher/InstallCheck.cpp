// The launcher's copy of the install-folder check: "Dir" from the settings store, then its "Save" and
// "Port" folders. The launcher links nothing of the main program, so it keeps its own.
#include "launcher/Launcher.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"

#include <cstdio>

// The launcher opens the screen only when it has something to say.
static bool showMissingFolders() {
  const char* text = loadString(26);
  if (!platformRunning() && !platformStart(backendFromEnvironment())) {
    std::fprintf(stderr, "%s\n", text ? text : "");
    return false;
  }
  messageBox(nullptr, text ? text : "", "", MB_OK);
  return false;
}

bool launcherConfirmFolders(std::string& dataRoot) {
  RegKey key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  if (key == kNoKey) return showMissingFolders();
  char installDir[128] = {};
  bool read = regQueryValue(key, "Dir", installDir, sizeof installDir);
  regCloseKey(key);
  if (!read) return showMissingFolders();
  std::string remembered = currentDirectory();
  bool ok = setCurrentDirectory(joinPath(installDir, "Save"));
  setCurrentDirectory(remembered);
  ok = ok && setCurrentDirectory(joinPath(installDir, "Port"));
  setCurrentDirectory(remembered);
  if (!ok) return showMissingFolders();
  dataRoot = findDataRoot();
  if (dataRoot.empty()) dataRoot = remembered;
  return true;
}
