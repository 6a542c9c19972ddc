// Hands arbitrary bytes to the video opener, and decodes every frame of what it accepts.
#include "platform/video.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VideoHandle video = openVideoBytes(std::string(reinterpret_cast<const char*>(data), size));
  Surface frame;
  uint32_t time = 0;
  for (int frames = 0; video && frames < 1000 && readVideoFrame(*video, 64, 48, frame, time) == VideoRead::Frame;)
    ++frames;
  return 0;
}
