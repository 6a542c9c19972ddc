// One RIFF WAVE file read into memory to fill a sound buffer: the first 18 bytes of its format chunk and the
// bytes of its data chunk. The reader trusts nothing in the file: every size is checked against what the
// file holds before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

// The format chunk's fields, little-endian in the file (a WAVEFORMATEX).
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;
// Larger files are refused outright: the longest tune the program ships is a few megabytes.
constexpr size_t kMaxWaveFileBytes = 64u << 20;

class WaveFile {
public:
  explicit WaveFile(const std::string& path);        // opened through the path resolver
  WaveFile(const uint8_t* bytes, size_t size);        // a file already in memory
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  void discard();                                      // free the sample bytes
  PcmFormat pcmFormat() const;

  uint32_t dataSize = 0;
  bool loaded = false;
  std::vector<uint8_t> data;
  uint8_t formatBytes[18] = {};  // the format chunk's first 18 bytes as stored (zero past a 16-byte chunk)
  WaveFormat format;

private:
  void read(const uint8_t* bytes, size_t size);
};
