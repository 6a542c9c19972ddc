// Reading a video: the AVI demuxer over the bytes in memory, the stream's decoder on one thread, and the
// scaler that turns each picture into the window's 16-bit pixels. Built into the decoder library that the
// program loads only while a video plays.
#include <algorithm>
#include <memory>

#include "platform/video/MemoryIo.h"
#include "platform/video/VideoDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/common.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace {
// Packets read in a row without a picture coming out: past this the rest is taken as damage.
constexpr int kMaxPacketsWithoutPicture = 500;
constexpr int64_t kLongestGapMs = 1000;
constexpr int64_t kUsualGapMs = 40;
}  // namespace

struct VideoDecoder {
  MemoryFile file;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* picture = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scaler = nullptr;
  int stream = -1;
  bool draining = false;
  bool ended = false;
  bool started = false;
  int64_t firstPts = 0;
  int64_t lastMs = 0;

  ~VideoDecoder() {
    sws_freeContext(scaler);
    av_packet_free(&packet);
    av_frame_free(&picture);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    closeMemoryIo(io);
  }
};

static bool openStream(VideoDecoder& r) {
  r.io = openMemoryIo(r.file, MemoryAccess::Read);
  r.format = avformat_alloc_context();
  if (!r.io || !r.format) return false;
  r.format->pb = r.io;
  r.format->flags |= AVFMT_FLAG_CUSTOM_IO;
  // Only the AVI demuxer and the two decoders the program's videos use ever see the bytes.
  r.format->format_whitelist = av_strdup("avi");
  r.format->codec_whitelist = av_strdup("mpeg4,mjpeg");
  r.format->probesize = 1 << 20;
  const AVInputFormat* avi = av_find_input_format("avi");
  if (!avi || avformat_open_input(&r.format, nullptr, avi, nullptr) < 0) {
    r.format = nullptr;  // freed by the failed open
    return false;
  }
  r.stream = av_find_best_stream(r.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (r.stream < 0) return false;
  const AVCodecParameters* parameters = r.format->streams[r.stream]->codecpar;
  if (parameters->codec_id != AV_CODEC_ID_MPEG4 && parameters->codec_id != AV_CODEC_ID_MJPEG) return false;
  if (parameters->width <= 0 || parameters->height <= 0 || parameters->width > kMaxVideoSide ||
      parameters->height > kMaxVideoSide)
    return false;
  const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
  if (!decoder) return false;
  r.codec = avcodec_alloc_context3(decoder);
  if (!r.codec || avcodec_parameters_to_context(r.codec, parameters) < 0) return false;
  r.codec->thread_count = 1;
  r.codec->max_pixels = static_cast<int64_t>(kMaxVideoSide) * kMaxVideoSide;
  r.codec->codec_whitelist = av_strdup("mpeg4,mjpeg");
  if (avcodec_open2(r.codec, decoder, nullptr) < 0) return false;
  r.picture = av_frame_alloc();
  r.packet = av_packet_alloc();
  return r.picture && r.packet;
}

VideoDecoder* openVideoDecoder(const char* bytes, size_t size) {
  if (!bytes || size == 0 || size > kMaxVideoBytes) return nullptr;
  auto decoder = std::make_unique<VideoDecoder>();
  decoder->file.bytes.assign(bytes, size);
  if (!openStream(*decoder)) return nullptr;
  return decoder.release();
}

void closeVideoDecoder(VideoDecoder* decoder) { delete decoder; }

// Feeds the decoder until a picture comes out. False at the end of the stream or past hopeless damage.
static bool nextPicture(VideoDecoder& r) {
  int packetsWithoutPicture = 0;
  while (!r.ended) {
    const int received = avcodec_receive_frame(r.codec, r.picture);
    if (received == 0) return true;
    if (received != AVERROR(EAGAIN) || r.draining || ++packetsWithoutPicture > kMaxPacketsWithoutPicture) break;
    if (av_read_frame(r.format, r.packet) < 0) {
      r.draining = true;
      avcodec_send_packet(r.codec, nullptr);
      continue;
    }
    // A packet the decoder refuses is skipped: the next key frame may decode again.
    if (r.packet->stream_index == r.stream) avcodec_send_packet(r.codec, r.packet);
    av_packet_unref(r.packet);
  }
  r.ended = true;
  return false;
}

// The picture's time from the first one, kept moving forward by at most a second.
static uint32_t pictureTime(VideoDecoder& r) {
  const int64_t pts = r.picture->best_effort_timestamp;
  int64_t ms = r.lastMs + (r.started ? kUsualGapMs : 0);
  if (pts != AV_NOPTS_VALUE) {
    if (!r.started) r.firstPts = pts;
    // Damaged stamps can be anything: the difference saturates, and whatever an unusable time base gives
    // is kept in range by the clamp below.
    ms = av_rescale_q(av_sat_sub64(pts, r.firstPts), r.format->streams[r.stream]->time_base, AVRational{1, 1000});
  }
  if (r.started) ms = std::clamp(ms, r.lastMs, r.lastMs + kLongestGapMs);
  else ms = 0;
  r.started = true;
  r.lastMs = ms;
  return static_cast<uint32_t>(std::min<int64_t>(ms, UINT32_MAX));
}

VideoRead decodeVideoFrame(VideoDecoder& r, int width, int height, Surface& frame, uint32_t& timeMs) {
  if (width <= 0 || height <= 0 || width > kMaxVideoSide || height > kMaxVideoSide) return VideoRead::End;
  while (nextPicture(r)) {
    const AVFrame& p = *r.picture;
    const auto source = static_cast<AVPixelFormat>(p.format);
    if (p.width <= 0 || p.height <= 0 || p.width > kMaxVideoSide || p.height > kMaxVideoSide ||
        !sws_isSupportedInput(source))
      continue;
    r.scaler = sws_getCachedContext(r.scaler, p.width, p.height, source, width, height, AV_PIX_FMT_RGB565,
                                    SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!r.scaler) continue;
    if (frame.width != width || frame.height != height) frame = Surface(width, height);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(frame.pixels.data()), nullptr, nullptr, nullptr};
    int strides[4] = {width * 2, 0, 0, 0};
    if (sws_scale(r.scaler, p.data, p.linesize, 0, p.height, planes, strides) != height) continue;
    timeMs = pictureTime(r);
    return VideoRead::Frame;
  }
  return VideoRead::End;
}

extern "C" __attribute__((visibility("default"))) const VideoDecoderEntry* tolvaneVideoDecoder() {
  static constexpr VideoDecoderEntry entry{kVideoDecoderVersion, openVideoDecoder, decodeVideoFrame,
                                           closeVideoDecoder};
  return &entry;
}
