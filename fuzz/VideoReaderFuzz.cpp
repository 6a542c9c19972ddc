// Hands arbitrary bytes to the video decoder, and decodes every frame of what it accepts.
#include "platform/video/VideoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VideoDecoder* video = openVideoDecoder(reinterpret_cast<const char*>(data), size);
  Surface frame;
  uint32_t time = 0;
  for (int frames = 0; video && frames < 1000 && decodeVideoFrame(*video, 64, 48, frame, time) == VideoRead::Frame;)
    ++frames;
  closeVideoDecoder(video);
  return 0;
}
