// The BMP and PPM writers produce exactly the subsets the program reads, and the checking readers
// refuse damaged files instead of misreading them.
#include "tools/art/Picture.h"

#include <gtest/gtest.h>

namespace {
uint32_t le32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
         uint32_t(uint8_t(s[at + 3])) << 24;
}

Picture pattern(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, {uint8_t(x * 7), uint8_t(y * 5), uint8_t(x + y)});
  return p;
}
}  // namespace

TEST(BmpFile, HeaderMatchesTheThumbnailLayout) {
  std::string bmp = encodeBmp(pattern(98, 69));
  ASSERT_EQ(bmp.size(), 20478u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(le32(bmp, 2), 20478u);  // the true file size: the reader allocates by it
  EXPECT_EQ(le32(bmp, 10), 54u);
  EXPECT_EQ(le32(bmp, 14), 40u);
  EXPECT_EQ(le32(bmp, 18), 98u);
  EXPECT_EQ(le32(bmp, 22), 69u);  // positive height: stored bottom-up
  EXPECT_EQ(le32(bmp, 28) & 0xffff, 24u);
  EXPECT_EQ(le32(bmp, 30), 0u);
  EXPECT_EQ(le32(bmp, 34), 20424u);
}

TEST(BmpFile, BottomRowIsStoredFirstAndRowsArePadded) {
  Picture p(3, 2, {0, 0, 0});
  p.set(0, 0, {10, 20, 30});  // top left
  p.set(0, 1, {40, 50, 60});  // bottom left
  std::string bmp = encodeBmp(p);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(uint8_t(bmp[54]), 60);  // first stored row is the bottom one, blue first
  EXPECT_EQ(uint8_t(bmp[56]), 40);
  EXPECT_EQ(uint8_t(bmp[66]), 30);
  EXPECT_EQ(bmp[63], 0);  // three padding bytes end each 9-byte row
}

TEST(BmpFile, RoundTripsOddWidths) {
  for (int w : {1, 2, 3, 5, 86, 101}) {
    Picture in = pattern(w, 7), out;
    ASSERT_TRUE(decodeBmp(encodeBmp(in), out)) << w;
    EXPECT_EQ(out.width, w);
    EXPECT_EQ(out.rgb, in.rgb) << w;
  }
}

TEST(BmpFile, DamagedFilesAreRefused) {
  std::string good = encodeBmp(pattern(10, 10));
  Picture out;
  EXPECT_FALSE(decodeBmp(good.substr(0, good.size() - 1), out));   // truncated
  EXPECT_FALSE(decodeBmp(good.substr(0, 20), out));                // header cut
  std::string huge = good;
  huge[18] = char(0xff), huge[19] = char(0xff), huge[20] = char(0xff), huge[21] = 0x7f;
  EXPECT_FALSE(decodeBmp(huge, out));                              // absurd width
  std::string flipped = good;
  flipped[25] = char(0xff);                                        // negative height
  EXPECT_FALSE(decodeBmp(flipped, out));
  EXPECT_FALSE(decodeBmp("", out));
}

TEST(BmpFile, UnusablePicturesEncodeToNothing) {
  EXPECT_TRUE(encodeBmp(Picture()).empty());
  EXPECT_EQ(Picture(maxPictureSide + 1, 4).width, 0);
  EXPECT_TRUE(encodePpm(Picture(0, 5)).empty());
}

TEST(PpmFile, HeaderIsExactlyTheReadersSubset) {
  std::string ppm = encodePpm(pattern(256, 256));
  EXPECT_EQ(ppm.substr(0, 15), "P6\n256 256\n255\n");
  EXPECT_EQ(ppm.size(), 15u + 256 * 256 * 3);
  Picture out;
  ASSERT_TRUE(decodePpm(ppm, out));
  EXPECT_EQ(out.rgb, pattern(256, 256).rgb);
}

TEST(PpmFile, MalformedHeadersAreRefused) {
  Picture out;
  EXPECT_FALSE(decodePpm("P6\r\n2 2\n255\n" + std::string(12, 'x'), out));
  EXPECT_FALSE(decodePpm("P3\n2 2\n255\n" + std::string(12, 'x'), out));
  EXPECT_FALSE(decodePpm("P6\n2 2\n255\n" + std::string(11, 'x'), out));   // short of pixels
  EXPECT_FALSE(decodePpm("P6\n99999 99999\n255\n", out));
  EXPECT_FALSE(decodePpm("P6\n-2 2\n255\n" + std::string(12, 'x'), out));
  EXPECT_TRUE(decodePpm("P6\n# made here\n2 2\n255\n" + std::string(12, 'x'), out));
}

TEST(PictureResize, AveragesBlocksAndKeepsSize) {
  Picture p(4, 2, {0, 0, 0});
  p.set(0, 0, {200, 100, 40});
  p.set(1, 0, {0, 0, 0});
  Picture half = resizePicture(p, 2, 1);
  ASSERT_EQ(half.width, 2);
  EXPECT_EQ(half.at(0, 0).r, 50);
  EXPECT_EQ(half.at(1, 0).r, 0);
  Picture crop = cropPicture(p, 3, 1, 3, 3);  // mostly outside: black, no fault
  EXPECT_EQ(crop.at(2, 2), (Rgb{0, 0, 0}));
}

TEST(PictureDither, GradientsBreakUpInsteadOfBanding) {
  // A gentle ramp that a 5-6-5 display would show as two flat bands.
  Picture ramp(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ramp.set(x, y, {uint8_t(100 + x / 2), uint8_t(100 + x / 4), 250});
  Picture dithered = ramp;
  ditherFor565(dithered);
  int changes = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 1; x < 16; ++x) changes += (dithered.at(x, y).r >> 3) != (dithered.at(x - 1, y).r >> 3);
  EXPECT_GT(changes, 40);  // neighbouring pixels alternate between the two display levels
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      EXPECT_LT(dithered.at(x, y).r - ramp.at(x, y).r, 8);  // never a whole step brighter
      EXPECT_GE(dithered.at(x, y).b, 250);  // bright channels stop at 255 instead of wrapping round
    }
}
