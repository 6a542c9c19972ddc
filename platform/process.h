// Starting other programs and waiting.
#pragma once

#include <string>

// Start a program with the given working directory and do not wait for it. False when it could not start.
bool spawnProgram(const std::string& path, const std::string& workingDirectory);
// Show a document (a help page) with the desktop's program for it, without waiting. False when the file
// cannot be read or the opener cannot start. The headless back end only records the path.
bool openWithDesktop(const std::string& path);
// Folder of the running executable, ending in "/".
std::string executableFolder();
// Environment variable, or empty text when unset.
std::string environmentValue(const char* name);
