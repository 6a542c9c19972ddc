// The 76 catalogue shapes in their smallest size. Units: 4 per stud across, 6 per brick height; every
// shape stands on y = -3, its top is 3 + 6(n - 1) for a shape n bricks high, its front faces -z.
#pragma once

#include "tools/art/Mesh.h"

struct ShapeDesign {
  const char* name;   // Korean name, for the help page
  Mesh mesh;
};

// In catalogue order: entry i serves block kind i + 3; entry 18 (kind 21) is the aeroplane, nose toward +z.
std::vector<ShapeDesign> designShapes();
constexpr int shapeCount = 76;
constexpr int aeroplaneEntry = 18;
