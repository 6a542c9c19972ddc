// The two folders the program works with: the install folder (named by the settings store, holding the
// "Save" and "Port" folders that receive everything the program writes) and the data root (read-only
// assets).
#pragma once

#include <optional>
#include <string>

struct Folders {
  std::string installDir;  // as read from "Dir", at most 127 characters
  std::string dataRoot;    // ends in "/"
};

// Read "Dir", confirm that its "Save" and "Port" folders exist and find the data root. None when the
// install is not usable (the shell then shows message 26). The current directory is the same afterwards.
std::optional<Folders> confirmFolders();
// Make the data root the current directory. False when that fails.
bool enterDataRoot(const Folders& folders);
// The per-user folder standing in for the system folder that holds scratch files ("~temp.lml"); created
// when missing.
std::string systemScratchFolder();
// Where the install folder's location is kept, and the capacity of the value read from there.
constexpr const char* kInstallKey = "Software\\Tolvane 2.5";
constexpr unsigned kInstallDirCapacity = 128;
