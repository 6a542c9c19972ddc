// The catalogue of shapes: lookup by block kind.
#include "scene/Shape.h"

Shape* catalogueShape(ShapeCatalogue& catalogue, int32_t kind) {
  if (kind < kFirstShapeKind || kind - kFirstShapeKind >= kCatalogueEntries) return nullptr;
  return catalogue.entries[kind - kFirstShapeKind].get();
}

void clearShapeCatalogue(ShapeCatalogue& catalogue) {
  for (auto& entry : catalogue.entries) entry.reset();
}
