// The launcher: confirm the install folders, start the main program from the DataRoot, wait, end.
// The installer stand-in: create the install folder with its "Save" and "Port" folders and record it.
#pragma once

#include <string>
#include <vector>

// The launcher's own copy of the install-folder check (message 26 on failure). On success dataRoot is
// the asset folder, ending in "/".
bool launcherConfirmFolders(std::string& dataRoot);

// Check the folders, start `program` with the DataRoot as its working directory, wait `waitMs` and return
// the exit code: 0 after starting it (whether or not it started), 1 when the folders are missing.
int runLauncher(const std::string& program, unsigned waitMs);

struct SetupReport {
  bool ok = false;
  std::vector<std::string> lines;  // what was done, one line each
};

// Create installDir (default: the per-user data folder) with "Save" and "Port", copy the shipped game
// levels and their pictures from dataRoot's save folder without overwriting the user's files, and record
// the folder as "Dir".
SetupReport runSetup(const std::string& installDir, const std::string& dataRoot);
// True when "Dir" is recorded and names a folder with "Save" and "Port" (nothing is shown either way).
bool installFoldersReady();
