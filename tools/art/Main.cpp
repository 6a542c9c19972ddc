// make_art: fills the data folder with the generated pictures, meshes and help pages.
// Usage: make_art <data folder> <regular font file> <bold font file>
#include "tools/art/DataFolder.h"

#include <cstdio>

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string message;
  int status = runGenerator(arguments, message);
  if (status != 0) std::fprintf(stderr, "%s\n", message.c_str());
  return status;
}
