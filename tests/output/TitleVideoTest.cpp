// A title video played against the clock: each frame when its time comes, late frames skipped, the last
// one held for its time, then the end; a file that is no video never opens.
#include <gtest/gtest.h>

#include "output/TitleVideo.h"
#include "support/TestSupport.h"
#include "support/VideoMaker.h"

namespace {

// Ten frames growing brighter: frame n has grey level 20 + 20 n.
std::string greySteps() {
  std::vector<TestColour> frames;
  for (int n = 0; n < 10; ++n) frames.push_back(TestColour{uint8_t(20 + 20 * n), uint8_t(20 + 20 * n), uint8_t(20 + 20 * n)});
  return makeTestVideo(frames);
}

int frameShown(const Surface& screen) {
  return (colourOf565(screen.at(320, 240)).g - 20 + 10) / 20;
}

}  // namespace

TEST(TitleVideo, FramesComeWhenTheirTimeHasComeAndTheLastIsHeldForItsTime) {
  TempFolder tmp;
  ASSERT_TRUE(tmp.write("scene/title0.avi", greySteps()));
  TitleVideo video;
  ASSERT_TRUE(openTitleVideo(video, tmp.path() + "/scene\\title0.avi"));
  ASSERT_TRUE(playTitleVideo(video, 1000));
  Surface screen(640, 480);

  TitleVideoTick tick = stepTitleVideo(video, 1000, screen);
  EXPECT_EQ(tick.step, TitleVideoStep::Frame);
  EXPECT_EQ(tick.waitMs, 40u);
  EXPECT_EQ(frameShown(screen), 0);
  EXPECT_EQ(screen.width, 640);
  EXPECT_EQ(screen.height, 480);

  tick = stepTitleVideo(video, 1010, screen);
  EXPECT_EQ(tick.step, TitleVideoStep::Wait);
  EXPECT_EQ(tick.waitMs, 30u);

  // A slow pass: frames 1 and 2 are past, frame 3 is due; frame 4 is 30 ms away.
  tick = stepTitleVideo(video, 1130, screen);
  EXPECT_EQ(tick.step, TitleVideoStep::Frame);
  EXPECT_EQ(frameShown(screen), 3);
  EXPECT_EQ(tick.waitMs, 30u);

  // The last frame is due at 360 ms and shows until 400 ms.
  tick = stepTitleVideo(video, 1370, screen);
  EXPECT_EQ(tick.step, TitleVideoStep::Frame);
  EXPECT_EQ(frameShown(screen), 9);
  EXPECT_EQ(stepTitleVideo(video, 1390, screen).step, TitleVideoStep::Wait);
  EXPECT_EQ(stepTitleVideo(video, 1400, screen).step, TitleVideoStep::Ended);
  EXPECT_EQ(frameShown(screen), 9);

  closeTitleVideo(video);
  EXPECT_FALSE(titleVideoOpen(video));
  EXPECT_EQ(stepTitleVideo(video, 2000, screen).step, TitleVideoStep::Ended);
}

TEST(TitleVideo, WhatIsNoVideoNeverOpensOrPlays) {
  TempFolder tmp;
  TitleVideo video;
  EXPECT_FALSE(openTitleVideo(video, tmp.path() + "/scene/title0.avi"));
  ASSERT_TRUE(tmp.write("scene/title0.avi", "RIFF...."));
  EXPECT_FALSE(openTitleVideo(video, tmp.path() + "/scene/title0.avi"));
  EXPECT_FALSE(playTitleVideo(video, 0));

  // An AVI whose frames were cut away opens, but nothing plays: it is closed again.
  const std::string whole = greySteps();
  ASSERT_TRUE(tmp.write("scene/title1.avi", whole.substr(0, whole.find("movi") + 4)));
  if (openTitleVideo(video, tmp.path() + "/scene/title1.avi")) {
    EXPECT_FALSE(playTitleVideo(video, 0));
    EXPECT_FALSE(titleVideoOpen(video));
  }
}
