// Catalogue shapes: triangle lists read once from mesh files, one per catalogue entry; block kind k uses
// entry k - 3. The loader that fills the catalogue lives with the other file readers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "scene/Block.h"

struct Shape {
  int32_t meshCapacity = 20;  // room in the loader's table of mesh objects while the file is read
  float minX = kFloatMax, maxX = -kFloatMax;
  float minY = kFloatMax, maxY = -kFloatMax;
  float minZ = kFloatMax, maxZ = -kFloatMax;
  int32_t faceCount = 0;
  int32_t vertexCount = 0;        // always 3 x faceCount
  std::vector<Vertex> vertices;   // unindexed: three per triangle, flat normals
  std::vector<int32_t> indices;   // entry i holds i
};

// Three size bands of 76 shapes: kinds 3 to 230.
constexpr int kCatalogueEntries = 228;

struct ShapeCatalogue {
  std::array<std::unique_ptr<Shape>, kCatalogueEntries> entries;
};

// The shape a block of this kind is made from; nullptr when the kind has none.
Shape* catalogueShape(ShapeCatalogue& catalogue, int32_t kind);
void clearShapeCatalogue(ShapeCatalogue& catalogue);
