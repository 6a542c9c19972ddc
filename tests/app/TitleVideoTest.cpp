// The title videos at start-up, headless: missing or damaged ones are passed over without a word, each
// plays to its end on the clock with its frames in the video window, Escape skips the one playing (and
// only that one), and the pointer is visible again afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/ProgramFixture.h"
#include "render/Bitmaps.h"
#include "support/VideoMaker.h"

namespace {

const TestColour kRed{230, 20, 20}, kBlue{30, 40, 220};

class TitleVideos : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    installBrickOnPlate();
  }
  // The pointer's show count, left as it was found.
  static int pointerCount() {
    const int count = showCursor(true) - 1;
    showCursor(false);
    return count;
  }
  // The colour at the middle of a screen the replay saved.
  TestColour middleOf(const std::string& name) {
    BmpFile bmp;
    Surface screen;
    const std::string bytes = tmp.read(name);
    if (parseBmp(bytes, bmp) != BmpResult::Ok || !bmpToSurface(bmp, screen)) return TestColour{1, 2, 3};
    return colourOf565(screen.at(320, 240));
  }
};

}  // namespace

TEST_F(TitleVideos, WithoutTheFilesStartUpGoesStraightOnWithoutAWord) {
  const int pointer = pointerCount();
  const uint32_t before = tickCount();
  ASSERT_TRUE(startUp(*p, ""));
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(p->shell.videoFinished, 0) << "no video played";
  EXPECT_EQ(pointerCount(), pointer);
  EXPECT_FALSE(titleVideoOpen(p->titleVideo));
  // Nothing waited for a video: start-up took the same time as ever.
  EXPECT_LT(tickCount() - before, 1000u);
}

TEST_F(TitleVideos, EachPlaysToItsEndByItselfAndADamagedOneIsPassedOver) {
  ASSERT_TRUE(tmp.write("data/scene/title0.avi", makeTestVideo(repeated(kRed, 25))));
  ASSERT_TRUE(tmp.write("data/scene/title1.avi", makeTestVideo(repeated(kBlue, 50))));
  const int pointer = pointerCount();
  uint32_t before = tickCount();
  ASSERT_TRUE(startUp(*p, ""));
  // Both ran their course on the clock: one second and two.
  EXPECT_GE(tickCount() - before, 3000u);
  EXPECT_EQ(p->shell.videoFinished, 1);
  EXPECT_EQ(pointerCount(), pointer);
  EXPECT_TRUE(headlessMessageBoxes().empty());

  // The first damaged in its middle, the second not a video at all: the first shows what it can, the
  // second is skipped, and nobody is told.
  freshProgram();
  std::string damaged = makeTestVideo(repeated(kRed, 25));
  for (size_t i = damaged.size() / 3; i < damaged.size() / 2; ++i) damaged[i] = char(i * 91);
  ASSERT_TRUE(tmp.write("data/scene/title0.avi", damaged));
  ASSERT_TRUE(tmp.write("data/scene/title1.avi", std::string(3000, '\x7f')));
  ASSERT_TRUE(startUp(*p, ""));
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(p->shell.videoFinished, 0) << "the second was never played";
  EXPECT_EQ(pointerCount(), pointer);
}

TEST_F(TitleVideos, EscapeSkipsTheVideoPlayingAndThenNothing) {
  // Two long videos, red then blue; the replayed session looks in, presses Escape, looks again, and so on.
  ASSERT_TRUE(tmp.write("data/scene/title0.avi", makeTestVideo(repeated(kRed, 250))));
  ASSERT_TRUE(tmp.write("data/scene/title1.avi", makeTestVideo(repeated(kBlue, 250))));
  ASSERT_TRUE(tmp.write("videos.journal",
                        "1000 screenshot first.bmp\n"
                        "1100 key 27 down\n1110 key 27 up\n"
                        "2000 screenshot second.bmp\n"
                        "2100 key 27 down\n2110 key 27 up\n"
                        "2200 screenshot after.bmp\n"
                        "2300 key 27 down\n2310 key 27 up\n"));
  setenv("TOLVANE_REPLAY", tmp.file("videos.journal").c_str(), 1);
  ASSERT_TRUE(platformStart(Backend::Headless));
  EXPECT_EQ(runTolvane(*p, ""), 0);

  EXPECT_TRUE(nearColour(middleOf("first.bmp"), kRed));
  EXPECT_TRUE(nearColour(middleOf("second.bmp"), kBlue)) << "the second started when the first was skipped";
  const TestColour after = middleOf("after.bmp");
  EXPECT_FALSE(nearColour(after, kBlue)) << "the second was skipped too";
  EXPECT_FALSE(nearColour(after, TestColour{1, 2, 3})) << "a screen was saved";
  // The last Escape found no video: the flag it would set is still the one the second video left.
  EXPECT_EQ(p->shell.videoFinished, 1);
  EXPECT_TRUE(headlessMessageBoxes().empty());
}
