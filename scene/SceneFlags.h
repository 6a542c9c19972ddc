// Program-wide switches and hooks the block model reads: cheat mode (set by the keyboard code), the
// work area around the base plate, and the game's collision outcome hook.
#pragma once

#include <functional>

#include "scene/Geometry.h"

struct Block;

// Cheat mode widens the resize limits and the work area's margin.
extern bool cheatMode;

// The box around the base plate that blocks cannot leave; set whenever a base plate is created.
struct WorkArea {
  Box box{{-kFloatMax, -kFloatMax, -kFloatMax}, {kFloatMax, kFloatMax, kFloatMax}};
};
extern WorkArea workArea;
void setWorkAreaFromPlate(const Block& plate);

// Called by a query that leaves exactly one blocking block: the queried block and the one it hit.
// The game fills it in; empty means nobody is listening.
extern std::function<void(Block& moving, Block& other)> setGameOutcome;

// The game's state as the editor, the renderer and the shell see it: a flight under way, the set-up
// before take-off (only white blocks move), and fast flight (the view follows the aeroplane).
struct GameFlags {
  bool gameRunning = false;
  bool gameSetup = false;
  bool fastFlight = false;
};
extern GameFlags gameFlags;
