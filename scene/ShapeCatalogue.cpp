// The program-wide table of catalogue shapes and its lookup by block kind.
#include "scene/Shape.h"

ShapeCatalogue shapeCatalogue;

Shape* catalogueShape(int32_t kind) {
  if (kind < kFirstShapeKind || kind - kFirstShapeKind >= kCatalogueEntries) return nullptr;
  return shapeCatalogue.entries[kind - kFirstShapeKind].get();
}

void clearShapeCatalogue() {
  for (auto& entry : shapeCatalogue.entries) entry.reset();
}
