// Writing a video: RGB frames converted to YUV 4:2:0, encoded as MPEG-4 part 2 at a fixed quantiser and
// muxed into AVI in memory. Every source of variation is switched off: bit-exact coding and muxing (no
// version strings), one thread, no B-frames, a fixed key-frame interval.
#include "platform/video.h"
#include "platform/video/MemoryIo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

struct VideoWriter {
  MemoryFile file;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
  AVStream* stream = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* picture = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* converter = nullptr;
  int64_t nextPts = 0;
  bool failed = false;

  ~VideoWriter() {
    sws_freeContext(converter);
    av_packet_free(&packet);
    av_frame_free(&picture);
    avcodec_free_context(&codec);
    avformat_free_context(format);
    closeMemoryIo(io);
  }
};

void VideoWriterClose::operator()(VideoWriter* writer) const { delete writer; }

static bool setUp(VideoWriter& w, const VideoFormat& f) {
  if (f.width <= 0 || f.height <= 0 || f.width > kMaxVideoSide || f.height > kMaxVideoSide || f.width % 2 ||
      f.height % 2 || f.framesPerSecond <= 0 || f.keyFrameInterval <= 0 || f.quantiser < 2 || f.quantiser > 31)
    return false;
  w.io = openMemoryIo(w.file, MemoryAccess::Write);
  if (!w.io || avformat_alloc_output_context2(&w.format, nullptr, "avi", nullptr) < 0) return false;
  w.format->pb = w.io;
  w.format->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  w.stream = avformat_new_stream(w.format, nullptr);
  if (!encoder || !w.stream) return false;
  w.codec = avcodec_alloc_context3(encoder);
  if (!w.codec) return false;
  AVCodecContext& c = *w.codec;
  c.width = f.width;
  c.height = f.height;
  c.pix_fmt = AV_PIX_FMT_YUV420P;
  c.time_base = AVRational{1, f.framesPerSecond};
  c.framerate = AVRational{f.framesPerSecond, 1};
  c.gop_size = f.keyFrameInterval;
  c.keyint_min = f.keyFrameInterval;
  c.max_b_frames = 0;
  c.thread_count = 1;
  c.flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
  c.global_quality = FF_QP2LAMBDA * f.quantiser;
  if (avcodec_open2(w.codec, encoder, nullptr) < 0) return false;
  if (avcodec_parameters_from_context(w.stream->codecpar, w.codec) < 0) return false;
  w.stream->time_base = c.time_base;
  w.picture = av_frame_alloc();
  w.packet = av_packet_alloc();
  if (!w.picture || !w.packet) return false;
  w.picture->format = c.pix_fmt;
  w.picture->width = c.width;
  w.picture->height = c.height;
  return av_frame_get_buffer(w.picture, 0) >= 0 && avformat_write_header(w.format, nullptr) >= 0;
}

VideoWriterHandle startVideo(const VideoFormat& format) {
  VideoWriterHandle writer(new VideoWriter);
  if (!setUp(*writer, format)) return nullptr;
  return writer;
}

// Everything the encoder has ready goes into the file.
static bool writePackets(VideoWriter& w) {
  for (;;) {
    const int received = avcodec_receive_packet(w.codec, w.packet);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
    if (received < 0) return false;
    av_packet_rescale_ts(w.packet, w.codec->time_base, w.stream->time_base);
    w.packet->stream_index = w.stream->index;
    const int written = av_interleaved_write_frame(w.format, w.packet);
    av_packet_unref(w.packet);
    if (written < 0) return false;
  }
}

bool addVideoFrame(VideoWriter& w, const RgbFrame& frame) {
  if (w.failed) return false;
  const bool usable = frame.width > 0 && frame.height > 0 && frame.width <= kMaxVideoSide &&
                      frame.height <= kMaxVideoSide && frame.rgb.size() == size_t(frame.width) * frame.height * 3;
  if (usable) {
    w.converter = sws_getCachedContext(w.converter, frame.width, frame.height, AV_PIX_FMT_RGB24, w.codec->width,
                                       w.codec->height, AV_PIX_FMT_YUV420P,
                                       SWS_BILINEAR | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  }
  if (!usable || !w.converter || av_frame_make_writable(w.picture) < 0) {
    w.failed = true;
    return false;
  }
  const uint8_t* source[4] = {frame.rgb.data(), nullptr, nullptr, nullptr};
  const int sourceStride[4] = {frame.width * 3, 0, 0, 0};
  sws_scale(w.converter, source, sourceStride, 0, frame.height, w.picture->data, w.picture->linesize);
  w.picture->pts = w.nextPts++;
  w.picture->quality = w.codec->global_quality;
  w.picture->pict_type = AV_PICTURE_TYPE_NONE;
  if (avcodec_send_frame(w.codec, w.picture) < 0 || !writePackets(w)) w.failed = true;
  return !w.failed;
}

std::string finishVideo(VideoWriter& w) {
  // Sending no frame drains the encoder; the trailer writes the index and flushes into the bytes.
  const bool finished =
      !w.failed && avcodec_send_frame(w.codec, nullptr) >= 0 && writePackets(w) && av_write_trailer(w.format) >= 0;
  w.failed = true;  // finished or not, nothing more can be added
  return finished ? std::move(w.file.bytes) : std::string();
}
