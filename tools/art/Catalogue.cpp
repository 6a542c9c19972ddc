// Writing the catalogue list and its mesh files.
#include "tools/art/Catalogue.h"

#include <cstdio>

std::string meshFileName(int kind) {
  char name[32];
  std::snprintf(name, sizeof name, "scene/k%03d.asc", kind);
  return name;
}

Mesh catalogueMesh(const std::vector<ShapeDesign>& shapes, int entry) {
  if (entry < 0 || entry >= catalogueEntries || shapes.size() != size_t(shapeCount)) return {};
  const Mesh& base = shapes[size_t(entry % shapeCount)].mesh;
  const int band = entry / shapeCount;
  return band == 0 ? base : scaleAboutBottom(base, band + 1.0);
}

void makeCatalogue(OutputList& out, const std::vector<ShapeDesign>& shapes) {
  std::string list = "// Tolvane shape catalogue: entry line i serves block kind i + 2; three sizes of 76 shapes\r\n";
  for (int entry = 0; entry < catalogueEntries; ++entry) {
    const int kind = entry + 3;
    if (entry % shapeCount == aeroplaneEntry)
      list += "// the next entry is the aeroplane in one of its three sizes\r\n";
    list += meshFileName(kind) + "\r\n";
    char object[16];
    std::snprintf(object, sizeof object, "k%03d", kind);
    out.push_back({meshFileName(kind), encodeAsc(catalogueMesh(shapes, entry), object)});
  }
  out.push_back({"scene/all.box", list});
}
