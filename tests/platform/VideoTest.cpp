// Videos written with the program's writer and read back: frames in order with their times and colours,
// the same bytes on every run, and damaged or foreign files refused or cut short without harm.
#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/video.h"
#include "support/TestSupport.h"
#include "support/VideoMaker.h"

namespace {

const TestColour kRed{230, 20, 20}, kGreen{20, 200, 40}, kBlue{30, 40, 220};

struct ReadBack {
  std::vector<TestColour> centres;
  std::vector<uint32_t> times;
};

ReadBack readAll(VideoReader& reader, int width = 640, int height = 480) {
  ReadBack out;
  Surface frame;
  uint32_t time = 0;
  while (out.times.size() < 2000 && readVideoFrame(reader, width, height, frame, time) == VideoRead::Frame) {
    EXPECT_EQ(frame.width, width);
    EXPECT_EQ(frame.height, height);
    out.centres.push_back(colourOf565(frame.at(width / 2, height / 2)));
    out.times.push_back(time);
  }
  return out;
}

std::string threeColours() {
  std::vector<TestColour> frames = repeated(kRed, 10);
  for (TestColour c : {kGreen, kBlue})
    for (int i = 0; i < 10; ++i) frames.push_back(c);
  return makeTestVideo(frames);
}

}  // namespace

TEST(Video, WrittenFramesComeBackInOrderScaledWithTheirTimes) {
  const std::string bytes = threeColours();
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "AVI ");
  VideoHandle reader = openVideoBytes(bytes);
  ASSERT_TRUE(reader);
  const ReadBack back = readAll(*reader);
  ASSERT_EQ(back.times.size(), 30u);
  for (size_t i = 0; i < back.times.size(); ++i) {
    EXPECT_EQ(back.times[i], 40 * i) << i;
    const TestColour expected = i < 10 ? kRed : i < 20 ? kGreen : kBlue;
    EXPECT_TRUE(nearColour(back.centres[i], expected)) << "frame " << i;
  }
  // The end stays the end.
  Surface frame;
  uint32_t time = 0;
  EXPECT_EQ(readVideoFrame(*reader, 640, 480, frame, time), VideoRead::End);
}

TEST(Video, TheSameFramesGiveTheSameBytesAndAFileReadsLikeItsBytes) {
  const std::string first = threeColours(), second = threeColours();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first, second);

  // A file is found through the resolver, with either separator and careless case.
  TempFolder tmp;
  ASSERT_TRUE(tmp.write("scene/Title0.AVI", first));
  VideoHandle reader = openVideoFile(tmp.path() + "/scene\\title0.avi");
  ASSERT_TRUE(reader);
  EXPECT_EQ(readAll(*reader, 32, 24).times.size(), 30u);
  EXPECT_FALSE(openVideoFile(tmp.path() + "/scene/title1.avi"));
  EXPECT_FALSE(openVideoFile(tmp.path() + "/scene"));
}

TEST(Video, ForeignAndDamagedBytesAreRefusedOrEndEarly) {
  const std::string good = threeColours();
  ASSERT_FALSE(good.empty());
  EXPECT_FALSE(openVideoBytes(""));
  EXPECT_FALSE(openVideoBytes(std::string(5000, 'x')));
  EXPECT_FALSE(openVideoBytes(std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(200, '\0')));

  // A picture size past the limit in the stream's header is refused before anything is allocated.
  std::string huge = good;
  const size_t strf = huge.find("strf");
  ASSERT_NE(strf, std::string::npos);
  huge[strf + 12] = '\0';
  huge[strf + 13] = '\0';
  huge[strf + 14] = '\x01';  // 65536 wide
  EXPECT_FALSE(openVideoBytes(huge));

  // Cut anywhere, or with bytes trampled in the middle: fewer frames at most, times never running back.
  for (size_t cut = 0; cut < good.size(); cut += good.size() / 13 + 1) {
    std::string damaged = good.substr(0, cut);
    std::string trampled = good;
    for (size_t i = cut; i < std::min(trampled.size(), cut + 64); ++i) trampled[i] = char(i * 37);
    for (const std::string& bytes : {damaged, trampled}) {
      VideoHandle reader = openVideoBytes(bytes);
      if (!reader) continue;
      const ReadBack back = readAll(*reader, 64, 48);
      EXPECT_LE(back.times.size(), 40u) << cut;
      for (size_t i = 1; i < back.times.size(); ++i) {
        EXPECT_GE(back.times[i], back.times[i - 1]) << cut;
        EXPECT_LE(back.times[i] - back.times[i - 1], 1000u) << cut;
      }
    }
  }
}

TEST(Video, TheWriterRefusesWhatItCannotEncode) {
  EXPECT_FALSE(startVideo(VideoFormat{63, 48, 25, 25, 4}));  // odd sides do not split into 4:2:0
  EXPECT_FALSE(startVideo(VideoFormat{64, 48, 0, 25, 4}));
  EXPECT_FALSE(startVideo(VideoFormat{64, 48, 25, 25, 1}));
  VideoWriterHandle writer = startVideo(VideoFormat{64, 48, 25, 25, 4});
  ASSERT_TRUE(writer);
  EXPECT_FALSE(addVideoFrame(*writer, RgbFrame{64, 48, std::vector<uint8_t>(10)}));
  EXPECT_TRUE(finishVideo(*writer).empty());
}
