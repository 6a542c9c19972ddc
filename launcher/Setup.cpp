// The installer stand-in: the install folder with its "Save" and "Port" folders, the shipped game levels,
// and "Dir" in the settings store. Safe to run again: nothing the user already has is overwritten.
#include <cctype>

#include "launcher/Launcher.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

constexpr size_t kMaxInstallDir = 127;  // "Dir" is read into 128 bytes

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Game levels and their list pictures: game001.gam, gimg001.bmp, ...
bool isShippedLevelFile(const std::string& name) {
  std::string lower = lowered(name);
  return (lower.rfind("game", 0) == 0 && lower.ends_with(".gam")) ||
         (lower.rfind("gimg", 0) == 0 && lower.ends_with(".bmp"));
}

bool copyFile(const std::string& from, const std::string& to) {
  std::string bytes;
  return readWholeFile(from, bytes) && writeFileAtomically(to, bytes);
}

}  // namespace

SetupReport runSetup(const std::string& requestedDir, const std::string& dataRoot) {
  SetupReport report;
  std::string installDir = requestedDir.empty() ? userDataFolder() : requestedDir;
  if (installDir[0] != '/') installDir = currentDirectory() + installDir;
  while (installDir.size() > 1 && installDir.back() == '/') installDir.pop_back();
  if (installDir.size() > kMaxInstallDir) {
    report.lines.push_back("The folder name is too long (at most 127 characters): " + installDir);
    return report;
  }
  for (const char* sub : {"Save", "Port"}) {
    std::string folder = joinPath(installDir, sub);
    bool existed = folderExists(folder);
    if (!createFolder(folder)) {
      report.lines.push_back("Cannot create " + folder);
      return report;
    }
    report.lines.push_back((existed ? "Folder already there: " : "Created folder ") + folder);
  }
  int copied = 0, kept = 0;
  std::string shipped = joinPath(dataRoot, "save");
  for (const std::string& name : listFolder(shipped)) {
    if (!isShippedLevelFile(name)) continue;
    std::string target = joinPath(joinPath(installDir, "Save"), name);
    if (fileExists(target)) {
      ++kept;
      continue;
    }
    if (!copyFile(joinPath(shipped, name), target)) {
      report.lines.push_back("Cannot copy " + name);
      return report;
    }
    ++copied;
  }
  report.lines.push_back("Game levels copied: " + std::to_string(copied) + ", already there: " + std::to_string(kept));
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  bool written = key != kNoKey && regSetValue(key, "Dir", installDir.c_str(), static_cast<uint32_t>(installDir.size() + 1));
  regCloseKey(key);
  if (!written) {
    report.lines.push_back("Cannot record the folder in " + regStorePath());
    return report;
  }
  report.lines.push_back("Recorded the install folder in " + regStorePath());
  report.ok = true;
  return report;
}

bool installFoldersReady() {
  RegKey key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  if (key == kNoKey) return false;
  char installDir[128] = {};
  bool read = regQueryValue(key, "Dir", installDir, sizeof installDir);
  regCloseKey(key);
  return read && folderExists(joinPath(installDir, "Save")) && folderExists(joinPath(installDir, "Port"));
}
