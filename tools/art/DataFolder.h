// The whole generated data folder: every picture, mesh, list and page, built in memory.
#pragma once

#include "tools/art/Output.h"

// Builds every file; the fonts must be loaded first (loadFonts) for the Korean labels.
OutputList generateDataFolder();
