// Confirming the install folders and establishing the DataRoot.
#include "files/InstallFolders.h"

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"

std::string InstallDir;
std::string DataRoot;

static bool readInstallDir(std::string& folder) {
  RegKey key = regOpenKey(RegRoot::CurrentUser, kInstallKey);
  if (key == kNoKey) return false;
  char buffer[kInstallDirCapacity] = {};
  bool ok = regQueryValue(key, "Dir", buffer, sizeof buffer);
  regCloseKey(key);
  if (ok) folder = buffer;
  return ok;
}

static bool refuse() {
  const char* text = loadString(26);
  messageBox(nullptr, text ? text : "", "", MB_OK);
  return false;
}

bool confirmFolders() {
  std::string folder;
  if (!readInstallDir(folder)) return refuse();
  InstallDir = folder;
  std::string remembered = currentDirectory();
  // Each folder is entered from where the check started (a relative "Dir" means the same place for both),
  // and a failed check does not leave the program inside the install folder.
  bool ok = setCurrentDirectory(joinPath(InstallDir, "Save"));
  setCurrentDirectory(remembered);
  ok = ok && setCurrentDirectory(joinPath(InstallDir, "Port"));
  setCurrentDirectory(remembered);
  if (!ok) return refuse();
  DataRoot = findDataRoot();
  if (DataRoot.empty()) DataRoot = remembered;
  return true;
}

bool enterDataRoot() { return !DataRoot.empty() && setCurrentDirectory(DataRoot); }

std::string systemScratchFolder() {
  std::string folder = userStateFolder();
  createFolder(folder);
  return folder;
}
