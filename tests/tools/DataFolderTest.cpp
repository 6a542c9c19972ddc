// The whole generated folder: complete, identical from run to run, readable by the readers, and
// written out with a clear failure when the folder cannot be written.
#include "GeneratedData.h"
#include "support/TestSupport.h"
#include "tools/art/DataFolder.h"
#include "tools/art/Paint.h"
#include "tools/art/Pictures.h"
#include "platform/paths.h"

#include <array>
#include <cstdio>
#include <set>
#include <gtest/gtest.h>

TEST(DataFolder, GeneratingTwiceGivesTheSameBytes) {
  const OutputList& first = generatedData();  // loads the fonts before the second run
  OutputList again = generateDataFolder();
  ASSERT_EQ(again.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(again[i].path, first[i].path);
    EXPECT_TRUE(again[i].bytes == first[i].bytes) << first[i].path;
  }
}

TEST(DataFolder, BackgroundsComeInPairsWithThumbnails) {
  const OutputList& files = generatedData();
  for (int n = 1; n <= backgroundCount; ++n) {
    char ppmName[32], bmpName[32];
    std::snprintf(ppmName, sizeof ppmName, "image/bimg%03d.ppm", n);
    std::snprintf(bmpName, sizeof bmpName, "image/bimg%03d.bmp", n);
    const OutputFile* ppm = findOutput(files, ppmName);
    ASSERT_NE(ppm, nullptr) << ppmName;
    Picture texture;
    EXPECT_TRUE(decodePpm(ppm->bytes, texture)) << ppmName;
    EXPECT_EQ(texture.width, 256);
    Picture thumb = generatedBmp(bmpName);
    EXPECT_EQ(thumb.width, thumbnailWidth);
    EXPECT_EQ(thumb.height, thumbnailHeight);
  }
  EXPECT_EQ(findOutput(files, "image/bimg021.bmp"), nullptr);  // the chooser counts to the first gap
  const OutputFile* sky = findOutput(files, "scene/sky.ppm");
  ASSERT_NE(sky, nullptr);
  EXPECT_EQ(sky->bytes, findOutput(files, "image/bimg001.ppm")->bytes);
}

TEST(DataFolder, PlatePicturesShowTheirPlatesShape) {
  for (int n = 1; n <= 20; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "image/new%03d.bmp", n);
    Picture p = generatedBmp(name);
    ASSERT_EQ(p.width, thumbnailWidth);
    // Measure the green plate on the row and column through its middle.
    auto green = [&](int x, int y) {
      Rgb c = p.at(x, y);
      return c.g > 140 && c.r < 120 && c.b < 140;
    };
    // The plate's extent from its first to its last green pixel (studs inside may be lighter or darker).
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int x = 0; x < p.width; ++x)
      if (green(x, 27)) {
        if (left < 0) left = x;
        right = x;
      }
    for (int y = 0; y < p.height; ++y)
      if (green(49, y)) {
        if (top < 0) top = y;
        bottom = y;
      }
    ASSERT_GE(left, 0) << name;
    ASSERT_GE(top, 0) << name;
    double wide = right - left + 1, tall = bottom - top + 1;
    double expected = double(plateSizes[n - 1][0]) / plateSizes[n - 1][1];
    EXPECT_NEAR(double(wide) / tall, expected, expected * 0.25) << name;
  }
}

TEST(DataFolder, HelpPagesShowOnlyPicturesThatExist) {
  const OutputList& files = generatedData();
  for (const char* pageName : {"help.html", "GameHelp.html"}) {
    const OutputFile* page = findOutput(files, pageName);
    ASSERT_NE(page, nullptr);
    EXPECT_NE(page->bytes.find("charset=\"utf-8\""), std::string::npos);
    size_t at = 0;
    int pictures = 0;
    while ((at = page->bytes.find("src=\"", at)) != std::string::npos) {
      at += 5;
      std::string src = page->bytes.substr(at, page->bytes.find('"', at) - at);
      EXPECT_NE(findOutput(files, src), nullptr) << pageName << " shows " << src;
      ++pictures;
    }
    EXPECT_GE(pictures, 2) << pageName;
  }
}

TEST(DataFolder, WritesEveryFileAndReportsAFolderItCannotWrite) {
  TempFolder folder;
  OutputList few = {{"scene/a.txt", "one"}, {"image/deeper/b.txt", "two"}};
  std::string failed;
  ASSERT_TRUE(writeOutputs(folder.path(), few, failed));
  EXPECT_EQ(folder.read("scene/a.txt"), "one");
  EXPECT_EQ(folder.read("image/deeper/b.txt"), "two");
  ASSERT_TRUE(folder.write("blocked", "a file where a folder should be"));
  EXPECT_FALSE(writeOutputs(folder.file("blocked"), few, failed));
  EXPECT_NE(failed.find("blocked"), std::string::npos);
  EXPECT_FALSE(writeOutputs(folder.path(), {{"empty.bmp", ""}}, failed));  // a painter that failed
  EXPECT_EQ(failed, folder.file("empty.bmp"));
}

TEST(DataFolder, ThumbnailsAreSmallCopiesOfTheirBackgrounds) {
  std::set<std::string> distinct;
  for (int n = 1; n <= backgroundCount; ++n) {
    char ppmName[32], bmpName[32];
    std::snprintf(ppmName, sizeof ppmName, "image/bimg%03d.ppm", n);
    std::snprintf(bmpName, sizeof bmpName, "image/bimg%03d.bmp", n);
    Picture texture;
    ASSERT_TRUE(decodePpm(findOutput(generatedData(), ppmName)->bytes, texture));
    Picture thumb = generatedBmp(bmpName);
    auto mean = [](const Picture& p) {
      double sum[3] = {0, 0, 0};
      for (size_t i = 0; i < p.rgb.size(); ++i) sum[i % 3] += p.rgb[i];
      double n = double(p.rgb.size() / 3);
      return std::array<double, 3>{sum[0] / n, sum[1] / n, sum[2] / n};
    };
    auto a = mean(texture), b = mean(thumb);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], 10) << ppmName;
    // A background is a picture, not a flat colour.
    std::set<uint32_t> colours;
    for (int y = 0; y < texture.height; y += 8)
      for (int x = 0; x < texture.width; x += 8) {
        Rgb c = texture.at(x, y);
        colours.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
      }
    EXPECT_GT(colours.size(), 10u) << ppmName;
    distinct.insert(findOutput(generatedData(), bmpName)->bytes);
  }
  EXPECT_EQ(distinct.size(), size_t(backgroundCount));
}

TEST(DataFolder, EmptySlotCardIsAThumbnailOfItsOwn) {
  Picture card = generatedBmp("save/save000.bmp");
  EXPECT_EQ(card.width, thumbnailWidth);
  EXPECT_EQ(card.height, thumbnailHeight);
  for (int n = 1; n <= 20; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "image/new%03d.bmp", n);
    EXPECT_NE(findOutput(generatedData(), name)->bytes, findOutput(generatedData(), "save/save000.bmp")->bytes);
  }
}

TEST(GeneratorRun, RefusesWrongArgumentsAndUnreadableFonts) {
  TempFolder folder;
  std::string message;
  EXPECT_EQ(runGenerator({folder.path()}, message), 2);
  EXPECT_NE(message.find("usage"), std::string::npos);
  EXPECT_EQ(runGenerator({folder.path(), folder.file("missing.ttf"), folder.file("missing-bold.ttf")}, message), 1);
  EXPECT_NE(message.find("missing.ttf"), std::string::npos);
  ASSERT_TRUE(folder.write("broken.ttf", "not a font at all"));
  EXPECT_EQ(runGenerator({folder.path(), folder.file("broken.ttf"), folder.file("broken.ttf")}, message), 1);
  EXPECT_TRUE(listFolder(folder.path()).size() == 1);  // nothing was written
  ensureFonts();  // the failed runs left no fonts loaded for the tests that follow
}

TEST(GeneratorRun, FillsAFolderAndReportsOneItCannotWrite) {
  TempFolder folder;
  std::string message;
  const std::string regular = "/usr/share/fonts/truetype/nanum/NanumGothic.ttf";
  const std::string bold = "/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf";
  ASSERT_EQ(runGenerator({folder.path(), regular, bold}, message), 0) << message;
  EXPECT_EQ(folder.read("scene/all.box"), findOutput(generatedData(), "scene/all.box")->bytes);
  EXPECT_EQ(folder.read("bmp/vedit.bmp"), findOutput(generatedData(), "bmp/vedit.bmp")->bytes);
  EXPECT_EQ(listFolder(folder.file("scene")).size(), 234u);  // list, sky, credits, start scene, 228 meshes, 2 videos
  ASSERT_TRUE(folder.write("plain-file", "x"));
  EXPECT_EQ(runGenerator({folder.file("plain-file"), regular, bold}, message), 1);
  EXPECT_NE(message.find("cannot write"), std::string::npos);
  ensureFonts();
}
