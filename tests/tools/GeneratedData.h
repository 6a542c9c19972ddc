// One generated data folder per test program, built on first use with the Korean fonts loaded.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Picture.h"

// Loads the Korean fonts once (from the build's data folder, else the system's).
void ensureFonts();
const OutputList& generatedData();
// The named generated picture, decoded; fails the calling test when it is missing or malformed.
Picture generatedBmp(const std::string& path);
