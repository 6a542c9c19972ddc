// Starting other programs and waiting.
#pragma once

#include <string>

// Start a program with the given working directory and do not wait for it. False when it could not start.
bool spawnProgram(const std::string& path, const std::string& workingDirectory);
// Run a command line through the shell without waiting (the help viewer). False when it could not start.
bool runCommand(const std::string& commandLine);
// Folder of the running executable, ending in "/".
std::string executableFolder();
// Environment variable, or empty text when unset.
std::string environmentValue(const char* name);
