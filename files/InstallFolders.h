// The two folders the program works with: the InstallDir (named by the settings store, holding the "Save"
// and "Port" folders that receive everything the program writes) and the DataRoot (read-only assets).
#pragma once

#include <string>

// The install folder as read from "Dir" at the last check; at most 127 characters.
extern std::string InstallDir;
// The asset folder, ending in "/"; established by a successful confirmFolders().
extern std::string DataRoot;

// Read "Dir", confirm that its "Save" and "Port" folders exist and establish the DataRoot. On failure the
// user sees message 26 and the result is false. The current directory is the same afterwards.
bool confirmFolders();
// Make the DataRoot the current directory (after a successful check). False when that fails.
bool enterDataRoot();
// The per-user folder standing in for the system folder that holds scratch files ("~temp.lml"); created
// when missing.
std::string systemScratchFolder();
// Where the install folder's location is kept, and the capacity of the value read from there.
constexpr const char* kInstallKey = "Software\\Tolvane 2.5";
constexpr unsigned kInstallDirCapacity = 128;
