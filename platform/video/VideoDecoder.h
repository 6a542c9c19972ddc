// The video decoder proper. It lives in a library of its own, loaded while a title video plays and let go
// after: FFmpeg and everything it brings along would otherwise hold some 20 MB for the whole session.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/video.h"

struct VideoDecoder;

// Null when the bytes are not an AVI file with a video stream of a kind the program decodes, or too large.
VideoDecoder* openVideoDecoder(const char* bytes, size_t size);
VideoRead decodeVideoFrame(VideoDecoder& decoder, int width, int height, Surface& frame, uint32_t& timeMs);
void closeVideoDecoder(VideoDecoder* decoder);

// What the loaded library hands the program. The version changes with the layout of this record.
constexpr int kVideoDecoderVersion = 1;
struct VideoDecoderEntry {
  int version;
  VideoDecoder* (*open)(const char* bytes, size_t size);
  VideoRead (*decode)(VideoDecoder& decoder, int width, int height, Surface& frame, uint32_t& timeMs);
  void (*close)(VideoDecoder* decoder);
};
extern "C" const VideoDecoderEntry* tolvaneVideoDecoder();
constexpr const char* kVideoDecoderLibrary = "libtolvane-video.so";
