// The block model's switches: the work area around the base plate, and the game's flags as the editor,
// the renderer and the shell see them.
#pragma once

#include "scene/Geometry.h"

struct Block;
struct World;

// The box around the base plate that blocks cannot leave; set whenever a base plate is created.
struct WorkArea {
  Box box{{-kFloatMax, -kFloatMax, -kFloatMax}, {kFloatMax, kFloatMax, kFloatMax}};
};
void setWorkAreaFromPlate(World& world, const Block& plate);

// A flight under way, the set-up before take-off (only white blocks move), and fast flight (the view
// follows the aeroplane).
struct GameFlags {
  bool gameRunning = false;
  bool gameSetup = false;
  bool fastFlight = false;
};
