// The byte-string I/O context behind video reading and writing.
#include "platform/video/MemoryIo.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kBufferSize = 4096;

int readBytes(void* opaque, uint8_t* buffer, int size) {
  MemoryFile& file = *static_cast<MemoryFile*>(opaque);
  if (size <= 0 || file.position >= file.bytes.size()) return AVERROR_EOF;
  const size_t count = std::min(static_cast<size_t>(size), file.bytes.size() - file.position);
  std::memcpy(buffer, file.bytes.data() + file.position, count);
  file.position += count;
  return static_cast<int>(count);
}

int writeBytes(void* opaque, uint8_t* buffer, int size) {
  MemoryFile& file = *static_cast<MemoryFile*>(opaque);
  if (size < 0) return AVERROR(EINVAL);
  const size_t count = static_cast<size_t>(size);
  if (file.position + count > file.bytes.size()) file.bytes.resize(file.position + count);
  std::memcpy(file.bytes.data() + file.position, buffer, count);
  file.position += count;
  return size;
}

int64_t seekBytes(void* opaque, int64_t offset, int whence) {
  MemoryFile& file = *static_cast<MemoryFile*>(opaque);
  const int64_t size = static_cast<int64_t>(file.bytes.size());
  if (whence & AVSEEK_SIZE) return size;
  int64_t base = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(file.position); break;
    case SEEK_END: base = size; break;
    default: return AVERROR(EINVAL);
  }
  // Offsets from damaged headers can be anything: only positions inside the file (or just past it) exist.
  if (offset < -base || offset > size - base) return AVERROR(EINVAL);
  file.position = static_cast<size_t>(base + offset);
  return base + offset;
}

}  // namespace

AVIOContext* openMemoryIo(MemoryFile& file, MemoryAccess access) {
  // What FFmpeg would say about damaged files goes nowhere: a refused video is skipped without a word.
  av_log_set_level(AV_LOG_QUIET);
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
  if (!buffer) return nullptr;
  const bool writing = access == MemoryAccess::Write;
  AVIOContext* io = avio_alloc_context(buffer, kBufferSize, writing ? 1 : 0, &file, writing ? nullptr : readBytes,
                                       writing ? writeBytes : nullptr, seekBytes);
  if (!io) av_free(buffer);
  return io;
}

void closeMemoryIo(AVIOContext*& io) {
  if (!io) return;
  av_freep(&io->buffer);
  avio_context_free(&io);
}
