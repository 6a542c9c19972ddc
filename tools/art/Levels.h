// The game levels: courses on a walled green plate with one aeroplane, one yellow target and white blocks
// the player moves and turns, in rising difficulty. (The winning arrangements are kept with the tests.)
#pragma once

#include <string>
#include <vector>

#include "tools/art/BlockScene.h"
#include "tools/art/Output.h"
#include "tools/art/Picture.h"

// One block of a course, by its footprint's corner on the plate's stud grid (columns and rows 0..19).
struct CoursePiece {
  int kind = Brick;
  int studsX = 1, studsZ = 1;
  int orientation = 0;
  int column = 0, row = 0, level = 0;
  BlockColour colour = blockColours::red;
};

struct LevelDesign {
  std::string title;                // Korean name of the level, as the game help page lists it
  std::vector<CoursePiece> pieces;  // the walls come first, then the course, the target and the white blocks
};

constexpr int levelPlateStuds = 20;
std::vector<LevelDesign> designLevels();

// Builds the level as it starts into the current scene.
void buildLevel(const LevelDesign& level);

// Writes save/gameNNN.gam and save/gimgNNN.bmp for every level; sky is the default background picture.
void makeLevels(OutputList& out, const Picture& sky);
