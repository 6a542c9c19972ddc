// The RIFF WAVE reader: find the RIFF chunk of form "WAVE", its "fmt " chunk and its "data" chunk, with
// every chunk size checked against the bytes that are really there.
#include "sound/WaveFile.h"

#include <cstring>

#include "platform/paths.h"

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

struct Chunk {
  size_t body = 0;     // offset of the chunk's bytes
  uint32_t size = 0;   // as the header states it
};

// Walk the chunks in [begin, end) looking for `id`. Chunks are padded to an even size. A chunk whose stated
// size runs past `end` ends the walk; it is still returned when it is the one sought, and the caller decides
// whether the bytes it needs are there.
bool findChunk(const uint8_t* bytes, size_t begin, size_t end, const char* id, Chunk& found) {
  size_t at = begin;
  while (at <= end && end - at >= 8) {
    uint32_t size = le32(bytes + at + 4);
    if (std::memcmp(bytes + at, id, 4) == 0) {
      found.body = at + 8;
      found.size = size;
      return true;
    }
    size_t next = at + 8 + static_cast<size_t>(size) + (size & 1u);
    if (next > end || next <= at) return false;
    at = next;
  }
  return false;
}

// PCM subformat of an extensible format chunk: the GUID's first two bytes are the plain format tag.
bool extensiblePcm(const uint8_t* fmt, uint32_t fmtSize) {
  return fmtSize >= 40 && le16(fmt + 24) == kWaveFormatPcm;
}

}  // namespace

WaveFile::WaveFile(const std::string& path) {
  std::string bytes;
  if (!readWholeFile(resolvePath(path), bytes, kMaxWaveFileBytes)) return;
  read(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

WaveFile::WaveFile(const uint8_t* bytes, size_t size) {
  if (bytes && size <= kMaxWaveFileBytes) read(bytes, size);
}

void WaveFile::discard() {
  std::vector<uint8_t>().swap(data);
}

PcmFormat WaveFile::pcmFormat() const {
  return PcmFormat{format.samplesPerSec, format.channels, format.bitsPerSample};
}

void WaveFile::read(const uint8_t* bytes, size_t size) {
  // The RIFF chunk may follow other top-level chunks; its stated size is trusted only as far as the file goes.
  Chunk riff;
  size_t searchFrom = 0;
  for (;;) {
    if (!findChunk(bytes, searchFrom, size, "RIFF", riff)) return;
    if (size - riff.body >= 4 && std::memcmp(bytes + riff.body, "WAVE", 4) == 0) break;
    size_t next = riff.body + static_cast<size_t>(riff.size) + (riff.size & 1u);
    if (next > size || next <= searchFrom) return;
    searchFrom = next;
  }
  size_t riffEnd = riff.body + std::min<size_t>(riff.size, size - riff.body);
  size_t inside = riff.body + 4;

  Chunk fmt;
  if (!findChunk(bytes, inside, riffEnd, "fmt ", fmt)) return;
  if (fmt.size < 16 || fmt.size > riffEnd - fmt.body) return;
  std::memcpy(formatBytes, bytes + fmt.body, 16);
  if (fmt.size >= 18) std::memcpy(formatBytes + 16, bytes + fmt.body + 16, 2);
  format.formatTag = le16(formatBytes);
  format.channels = le16(formatBytes + 2);
  format.samplesPerSec = le32(formatBytes + 4);
  format.avgBytesPerSec = le32(formatBytes + 8);
  format.blockAlign = le16(formatBytes + 12);
  format.bitsPerSample = le16(formatBytes + 14);
  format.extraSize = le16(formatBytes + 16);

  bool pcm = format.formatTag == kWaveFormatPcm ||
             (format.formatTag == kWaveFormatExtensible && extensiblePcm(bytes + fmt.body, fmt.size));
  if (!pcm) return;
  // Only what the output can play is a sound: a block alignment that disagrees with the channels and sample
  // width would make the frames overlap.
  PcmFormat pcmFmt = pcmFormat();
  if (!pcmFormatSupported(pcmFmt) || format.blockAlign != pcmBlockAlign(pcmFmt)) return;

  Chunk dataChunk;
  if (!findChunk(bytes, inside, riffEnd, "data", dataChunk)) return;
  if (dataChunk.size > riffEnd - dataChunk.body) return;  // a data chunk cut short is not a whole file
  if (dataChunk.size == 0) return;
  dataSize = dataChunk.size;
  data.assign(bytes + dataChunk.body, bytes + dataChunk.body + dataChunk.size);
  loaded = true;
}
