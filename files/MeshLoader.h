// Reading catalogue shapes: the 3D Studio ASCII mesh subset ("Tri-mesh" objects with their vertex and
// face lists) and the catalogue list "./scene\all.box" that names one mesh file per block kind.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/Shape.h"

// The longest token kept; longer ones keep their first 31 characters.
constexpr size_t kMaxMeshToken = 31;
// A shape holds at most this many triangles; faces past it are left out.
constexpr int32_t kMaxShapeFaces = 1000000;

// One shape from the text of a mesh file. Never fails: what does not match is skipped.
void loadShapeFromText(std::string_view text, Shape& shape);
// One shape from a mesh file; nullptr when the file cannot be read.
std::unique_ptr<Shape> LoadShape(const std::string& meshPath);

// The mesh paths a catalogue list names, in order: comment lines ("/" first) and blank lines name
// none; an entry is the first word of its line. At most one per catalogue entry.
std::vector<std::string> readCatalogueList(std::string_view text);
// Fill the ShapeCatalogue from a list file. Entries whose mesh cannot be read stay empty. False when the
// list itself cannot be read (the catalogue is then empty).
bool LoadShapeCatalogue(ShapeCatalogue& catalogue, const std::string& listPath);
