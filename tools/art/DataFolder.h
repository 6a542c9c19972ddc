// The whole generated data folder: every picture, mesh, list and page, built in memory.
#pragma once

#include "tools/art/Output.h"

// Builds every file; the fonts must be loaded first (loadFonts) for the Korean labels.
OutputList generateDataFolder();

// The whole generator run: arguments are the data folder and the regular and bold font files. Returns the
// exit status (0 done, 1 fonts unreadable or a file not written, 2 wrong arguments) and a message for the
// user when it fails. Fonts are released again at the end.
int runGenerator(const std::vector<std::string>& arguments, std::string& message);
