// Confirming the install folders and establishing the DataRoot.
#include "files/InstallFolders.h"

#include "platform/paths.h"
#include "platform/registry.h"

static bool readInstallDir(std::string& folder) {
  RegKey key = regOpenKey(RegRoot::CurrentUser, kInstallKey);
  if (key == kNoKey) return false;
  char buffer[kInstallDirCapacity] = {};
  bool ok = regQueryValue(key, "Dir", buffer, sizeof buffer);
  regCloseKey(key);
  if (ok) folder = buffer;
  return ok;
}

std::optional<Folders> confirmFolders() {
  Folders folders;
  if (!readInstallDir(folders.installDir)) return std::nullopt;
  const std::string& installDir = folders.installDir;
  std::string remembered = currentDirectory();
  // Each folder is entered from where the check started (a relative "Dir" means the same place for both),
  // and a failed check does not leave the program inside the install folder.
  bool ok = setCurrentDirectory(joinPath(installDir, "Save"));
  setCurrentDirectory(remembered);
  ok = ok && setCurrentDirectory(joinPath(installDir, "Port"));
  setCurrentDirectory(remembered);
  if (!ok) return std::nullopt;
  folders.dataRoot = findDataRoot();
  if (folders.dataRoot.empty()) folders.dataRoot = remembered;
  return folders;
}

bool enterDataRoot(const Folders& folders) {
  return !folders.dataRoot.empty() && setCurrentDirectory(folders.dataRoot);
}

std::string systemScratchFolder() {
  std::string folder = userStateFolder();
  createFolder(folder);
  return folder;
}
