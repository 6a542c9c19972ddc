// Hands arbitrary bytes to the PPM reader.
#include "render/Textures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PpmPicture picture;
  readPpm(std::string(reinterpret_cast<const char*>(data), size), picture);
  return 0;
}
