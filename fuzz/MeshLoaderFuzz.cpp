// Hands arbitrary bytes to the mesh reader.
#include <string_view>

#include "files/MeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Shape shape;
  loadShapeFromText(std::string_view(reinterpret_cast<const char*>(data), size), shape);
  return 0;
}
