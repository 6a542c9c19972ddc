// Hands arbitrary bytes to the BMP reader, and what it accepts to the pixel decoder.
#include "render/Bitmaps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpFile bmp;
  Surface picture;
  if (parseBmp(std::string(reinterpret_cast<const char*>(data), size), bmp) == BmpResult::Ok) bmpToSurface(bmp, picture);
  return 0;
}
