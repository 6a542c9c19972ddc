// make_art: fills the data folder with the generated pictures, meshes and help pages.
// Usage: make_art <data folder> <regular font file> <bold font file>
#include "tools/art/DataFolder.h"
#include "tools/art/Paint.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_art <data folder> <regular font> <bold font>\n");
    return 2;
  }
  if (!loadFonts(argv[2], argv[3])) {
    std::fprintf(stderr, "make_art: cannot read the fonts %s and %s\n", argv[2], argv[3]);
    return 1;
  }
  OutputList files = generateDataFolder();
  releaseFonts();
  std::string failed;
  if (!writeOutputs(argv[1], files, failed)) {
    std::fprintf(stderr, "make_art: cannot write %s\n", failed.c_str());
    return 1;
  }
  return 0;
}
