// Small test videos written with the program's own video writer: frames of one colour each, so that a
// reader's output says which frame it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/video.h"

struct TestColour {
  uint8_t r = 0, g = 0, b = 0;
};

// An AVI of width x height at 25 frames a second, one frame per colour given.
inline std::string makeTestVideo(const std::vector<TestColour>& frames, int width = 64, int height = 48) {
  VideoWriterHandle writer = startVideo(VideoFormat{width, height, 25, 25, 4});
  if (!writer) return {};
  for (const TestColour& c : frames) {
    RgbFrame frame{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    for (size_t i = 0; i < frame.rgb.size(); i += 3) {
      frame.rgb[i] = c.r;
      frame.rgb[i + 1] = c.g;
      frame.rgb[i + 2] = c.b;
    }
    if (!addVideoFrame(*writer, frame)) return {};
  }
  return finishVideo(*writer);
}

inline std::vector<TestColour> repeated(TestColour colour, int count) { return std::vector<TestColour>(count, colour); }

// The 5-6-5 pixel widened back to eight bits a channel.
inline TestColour colourOf565(uint16_t pixel) {
  return TestColour{uint8_t((pixel >> 11) << 3), uint8_t(((pixel >> 5) & 63) << 2), uint8_t((pixel & 31) << 3)};
}
// Within a coding error of the expected colour.
inline bool nearColour(TestColour a, TestColour b, int tolerance = 40) {
  auto near = [&](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
  return near(a.r, b.r) && near(a.g, b.g) && near(a.b, b.b);
}
