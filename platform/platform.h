// The one header the program includes for operating-system services: windows and messages, cursors,
// message boxes, the clock, files and paths, the settings store, strings, surfaces and text, processes.
// Two back ends stand behind it: SDL for real use and a headless one for tests.
#pragma once

#include "platform/types.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/window.h"
#include "platform/process.h"
