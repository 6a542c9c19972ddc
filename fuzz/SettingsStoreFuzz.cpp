// Fuzz target: the settings store's file parser.
#include <cstdint>
#include <string>

#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  regParseStoreText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
