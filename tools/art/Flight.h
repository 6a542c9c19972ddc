// The game's flight over the blocks of the generator's scene, for designing and checking levels: the
// aeroplane flies half a unit a step along x or z, turns a quarter clockwise (seen from above) at a wall,
// climbs a brick onto a slope, drops off edges, and the level is won when it meets the yellow block alone.
#pragma once

#include <string>
#include <vector>

#include "game/Game.h"
#include "scene/Block.h"

struct FlightResult {
  bool reachedTarget = false;
  bool leftTheCourse = false;  // flew or fell out past the base plate: the course is not closed
  int steps = 0;
  int turns = 0, climbs = 0, falls = 0;
  std::vector<Vec3> turnPoints;  // where the aeroplane stood at each turn, for designing courses
};

// Flies the scene's aeroplane (the last block of kind 21) from where it stands for at most maxSteps with
// the game's own flight step, moving and turning it in the scene. A scene without an aeroplane gives an
// empty result.
FlightResult simulateFlight(int maxSteps);
