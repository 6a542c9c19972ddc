// The generated title videos: small, readable by the program's own player frame by frame for their
// three and a half seconds, and actually showing blocks arriving (the last frame is not the first).
#include <gtest/gtest.h>

#include "GeneratedData.h"
#include "platform/video.h"

TEST(TitleVideos, BothAreSmallAndPlayForTheirWholeLengthWithBlocksArriving) {
  for (const char* name : {"scene/title0.avi", "scene/title1.avi"}) {
    const OutputFile* file = findOutput(generatedData(), name);
    ASSERT_TRUE(file) << name;
    EXPECT_LT(file->bytes.size(), 400u * 1024) << name;
    VideoHandle reader = openVideoBytes(file->bytes);
    ASSERT_TRUE(reader) << name;
    Surface frame, first;
    uint32_t time = 0, last = 0;
    int frames = 0;
    while (readVideoFrame(*reader, 640, 480, frame, time) == VideoRead::Frame) {
      if (frames == 0) first = frame;
      EXPECT_EQ(time, 40u * frames) << name;
      last = time;
      ++frames;
    }
    EXPECT_EQ(frames, 90) << name;
    EXPECT_EQ(last, 3560u) << name;
    // Blocks have landed: a good part of the picture changed between the first frame and the last.
    size_t changed = 0;
    for (size_t i = 0; i < frame.pixels.size(); ++i) changed += frame.pixels[i] != first.pixels[i];
    EXPECT_GT(changed, frame.pixels.size() / 20) << name;
  }
}
