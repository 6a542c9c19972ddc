// Hands arbitrary bytes to the catalogue list reader.
#include <string_view>

#include "files/MeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  readCatalogueList(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
