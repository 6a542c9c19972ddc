// The display settings record.
#include "scene/Settings.h"

DisplaySettings settings;
