// Pictures: the PPM subset and its refusals, conversion to 5-6-5, the table limit and the search path.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/registry.h"
#include "render/Textures.h"
#include "support/TestSupport.h"

namespace {

std::string ppm(const std::string& header, int pixels, char value = 7) { return header + std::string(3 * pixels, value); }

}  // namespace

TEST(PpmReader, ReadsTheSubsetWithCommentsBeforeTheSize) {
  PpmPicture picture;
  ASSERT_EQ(readPpm(ppm("P6\n# made by hand\n#another\n3 2\n255\n", 6), picture), PpmResult::Ok);
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.height, 2);
  EXPECT_EQ(picture.rgb.size(), 18u);
}

TEST(PpmReader, CommentAfterTheSizeLineIsTakenAsTheMaximumValueLine) {
  PpmPicture picture;
  ASSERT_EQ(readPpm("P6\n1 1\n# not skipped\nabc", picture), PpmResult::Ok);
  EXPECT_EQ(picture.rgb, (std::vector<uint8_t>{'a', 'b', 'c'}));
}

TEST(PpmReader, RefusesWhatIsNotTheSubset) {
  PpmPicture picture;
  EXPECT_EQ(readPpm(ppm("P6\r\n1 1\n255\n", 1), picture), PpmResult::NotPpm);
  EXPECT_EQ(readPpm(ppm("P3\n1 1\n255\n", 1), picture), PpmResult::NotPpm);
  EXPECT_EQ(readPpm(ppm("P6\nwide 1\n255\n", 1), picture), PpmResult::NotPpm);
  EXPECT_EQ(readPpm("P6\n# only comments\n", picture), PpmResult::NotPpm);
  EXPECT_EQ(readPpm("", picture), PpmResult::NotPpm);
  EXPECT_EQ(readPpm(std::string(200, 'P'), picture), PpmResult::NotPpm);
}

TEST(PpmReader, RefusesHostileSizesAndShortPixelData) {
  PpmPicture picture;
  EXPECT_EQ(readPpm(ppm("P6\n0 5\n255\n", 0), picture), PpmResult::BadSize);
  EXPECT_EQ(readPpm(ppm("P6\n-3 5\n255\n", 0), picture), PpmResult::BadSize);
  EXPECT_EQ(readPpm("P6\n99999999999 99999999999\n255\n", picture), PpmResult::BadSize);
  EXPECT_EQ(readPpm("P6\n4097 1\n255\n", picture), PpmResult::BadSize);
  EXPECT_EQ(readPpm(ppm("P6\n4 4\n255\n", 15), picture), PpmResult::ShortData);
  EXPECT_EQ(readPpm("P6\n4 4\n", picture), PpmResult::ShortData);
  EXPECT_EQ(picture.width, 0);
}

TEST(LoadPictureSurface, ConvertsToFiveSixFiveWithDivisorsEightFourEight) {
  TempFolder folder;
  std::string bytes = "P6\n300 200\n255\n";
  for (int i = 0; i < 300 * 200; ++i) bytes += std::string{char(200), char(100), char(255)};
  ASSERT_TRUE(folder.write("picture.ppm", bytes));
  RenderDevice d;
  std::unique_ptr<DisplaySurface> surface = loadPictureSurface(d, folder.file("picture.ppm"));
  ASSERT_NE(surface, nullptr) << lastRenderErrorText(d);
  EXPECT_EQ(surface->width(), 300);
  EXPECT_EQ(surface->height(), 200);
  EXPECT_EQ(surface->own.at(299, 199), ((200 / 8) << 11) | ((100 / 4) << 5) | (255 / 8));
}

TEST(LoadPictureSurface, ReportsMissingAndMalformedFilesByName) {
  TempFolder folder;
  RenderDevice d;
  EXPECT_EQ(loadPictureSurface(d, folder.file("none.ppm")), nullptr);
  EXPECT_EQ(lastRenderErrorText(d), "Cannot find " + folder.file("none.ppm") + ".\n\r\n");
  folder.write("crlf.ppm", ppm("P6\r\n1 1\n255\n", 1));
  EXPECT_EQ(loadPictureSurface(d, folder.file("crlf.ppm")), nullptr);
  EXPECT_EQ(lastRenderErrorText(d), folder.file("crlf.ppm") + " is not a PPM file.\n\r\n");
  folder.write("short.ppm", ppm("P6\n10 10\n255\n", 3));
  EXPECT_EQ(loadPictureSurface(d, folder.file("short.ppm")), nullptr);
  folder.write("huge.ppm", "P6\n100000 100000\n255\n");
  EXPECT_EQ(loadPictureSurface(d, folder.file("huge.ppm")), nullptr);
  EXPECT_EQ(lastRenderErrorText(d).rfind("CreateSurface for texture failed (loadtex).\n", 0), 0u);
}

TEST(TextureTable, SixteenthRegistrationFails) {
  RenderDevice d;
  for (int i = 0; i < 15; ++i) EXPECT_TRUE(registerTexture(d, "picture" + std::to_string(i) + ".ppm"));
  EXPECT_FALSE(registerTexture(d, "one-too-many.ppm"));
  EXPECT_EQ(lastRenderErrorText(d), "Can only load 15 textures.\r\n");
  EXPECT_EQ(d.textures.count, 15);
}

TEST(TextureSearchPath, FindsANameUnderTheFoldersOfD3DPATHThenTheStore) {
  TempFolder a, b, c;
  a.write("far.ppm", "x");
  c.write("stored.ppm", "y");
  RenderDevice d;
  setenv("D3DPATH", (b.path() + ";" + a.path()).c_str(), 1);
  FILE* file = openOnSearchPath(d, "far.ppm", "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(d.textures.searchPath, (std::vector<std::string>{".", b.path(), a.path()}));
  // Without the environment variable, the store's "D3D Path" gives the folders.
  unsetenv("D3DPATH");
  RenderDevice fresh;
  RegKey key = regCreateKey(RegRoot::LocalMachine, "Software\\Microsoft\\Direct3D");
  ASSERT_NE(key, kNoKey);
  const std::string value = c.path();
  ASSERT_TRUE(regSetValue(key, "D3D Path", value.c_str(), static_cast<uint32_t>(value.size() + 1)));
  regCloseKey(key);
  file = openOnSearchPath(fresh, "stored.ppm", "rb");
  EXPECT_EQ(openOnSearchPath(fresh, "nowhere.ppm", "rb"), nullptr);
  // The store's value goes again, so that no other test searches these folders.
  key = regOpenKey(RegRoot::LocalMachine, "Software\\Microsoft\\Direct3D");
  ASSERT_NE(key, kNoKey);
  EXPECT_TRUE(regDeleteValue(key, "D3D Path"));
  regCloseKey(key);
  ASSERT_NE(file, nullptr);
  std::fclose(file);
}
