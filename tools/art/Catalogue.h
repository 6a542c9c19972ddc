// The shape catalogue of the scene folder: the list scene/all.box and one mesh file per entry, the 76
// shapes in three sizes (the second and third size scaled by 2 and 3 about the shape's bottom).
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Shapes.h"

constexpr int catalogueEntries = 3 * shapeCount;

// The mesh file of block kind k (3..230), as all.box names it.
std::string meshFileName(int kind);
// The catalogue entry's mesh in its size band (0, 1, 2).
Mesh catalogueMesh(const std::vector<ShapeDesign>& shapes, int entry);
void makeCatalogue(OutputList& out, const std::vector<ShapeDesign>& shapes);
