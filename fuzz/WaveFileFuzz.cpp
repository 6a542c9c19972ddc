// Hands arbitrary bytes to the WAV reader.
#include "sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WaveFile wave(data, size);
  return 0;
}
