// Builds the generated data folder once for all tests of the generator.
#include "GeneratedData.h"

#include "support/TestSupport.h"
#include "tools/art/DataFolder.h"
#include "tools/art/Paint.h"

#include <gtest/gtest.h>

void ensureFonts() {
  if (fontsLoaded()) return;
  if (!loadFonts(buildDataPath("font/NanumGothic.ttf"), buildDataPath("font/NanumGothicBold.ttf")))
    loadFonts("/usr/share/fonts/truetype/nanum/NanumGothic.ttf", "/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf");
}

const OutputList& generatedData() {
  static const OutputList files = [] {
    ensureFonts();
    return generateDataFolder();
  }();
  return files;
}

Picture generatedBmp(const std::string& path) {
  Picture picture;
  const OutputFile* file = findOutput(generatedData(), path);
  EXPECT_NE(file, nullptr) << path;
  if (file) {
    EXPECT_TRUE(decodeBmp(file->bytes, picture)) << path;
  }
  return picture;
}
