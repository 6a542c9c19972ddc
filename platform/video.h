// Videos: frames read out of AVI files (MPEG-4 part 2 or Motion JPEG), scaled to the size a window
// wants, and small AVI files written frame by frame, the same bytes on every run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

// [SECTION] Reading

struct VideoReader;
struct VideoReaderClose {
  void operator()(VideoReader* reader) const;
};
using VideoHandle = std::unique_ptr<VideoReader, VideoReaderClose>;

// Larger files, or pictures larger than this on either side, are refused.
constexpr size_t kMaxVideoBytes = 64u << 20;
constexpr int kMaxVideoSide = 4096;

// Opens a video held in memory, or read whole from a file (through the path resolver). Null when it is
// not an AVI file with a video stream of a kind the program decodes, or when it is too large.
VideoHandle openVideoBytes(std::string bytes);
VideoHandle openVideoFile(const std::string& path);

enum class VideoRead { Frame, End };

// Decodes the next frame, scaled to width x height, into frame (resized to that) with its time in
// milliseconds from the first frame. Times never run backwards, and a gap of more than a second between
// two frames is shortened to a second so that damage cannot stall playback. End at the end of the
// stream, or where damage leaves nothing more to decode.
VideoRead readVideoFrame(VideoReader& reader, int width, int height, Surface& frame, uint32_t& timeMs);

// [SECTION] Writing

struct VideoFormat {
  int width = 320;
  int height = 240;
  int framesPerSecond = 25;
  int keyFrameInterval = 25;  // a key frame every this many frames
  int quantiser = 4;          // 2 (finest) to 31 (smallest file)
};

// An RGB picture, three bytes a pixel, rows top to bottom.
struct RgbFrame {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

struct VideoWriter;
struct VideoWriterClose {
  void operator()(VideoWriter* writer) const;
};
using VideoWriterHandle = std::unique_ptr<VideoWriter, VideoWriterClose>;

// An MPEG-4 part 2 video in an AVI file, built in memory with a fixed quantiser, a fixed key-frame
// interval, no B-frames and one thread, so that the same frames always give the same bytes. Null when
// the format is unusable.
VideoWriterHandle startVideo(const VideoFormat& format);
// Frames of another size are scaled to the video's. False once anything failed.
bool addVideoFrame(VideoWriter& writer, const RgbFrame& frame);
// The whole file; empty when anything failed on the way.
std::string finishVideo(VideoWriter& writer);
