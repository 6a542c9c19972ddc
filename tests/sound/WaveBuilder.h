// Builds WAV files byte by byte for the tests, including the malformed ones real files never are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WaveBuilder {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  int blockAlign = -1;  // -1: computed
  uint32_t fmtSize = 16;
  std::string data = std::string(400, '\0');

  static void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
  }
  static void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
  }
  static std::string chunk(const std::string& id, const std::string& body, uint32_t statedSize) {
    std::string out = id;
    put32(out, statedSize);
    out += body;
    if (body.size() % 2) out.push_back('\0');
    return out;
  }
  static std::string chunk(const std::string& id, const std::string& body) {
    return chunk(id, body, static_cast<uint32_t>(body.size()));
  }

  std::string fmtBody() const {
    std::string body;
    put16(body, formatTag);
    put16(body, channels);
    put32(body, rate);
    uint16_t align = blockAlign >= 0 ? static_cast<uint16_t>(blockAlign) : static_cast<uint16_t>(channels * bits / 8);
    put32(body, rate * align);
    put16(body, align);
    put16(body, bits);
    while (body.size() < fmtSize) body.push_back('\0');
    body.resize(fmtSize);
    return body;
  }
  std::string fmtChunk() const { return chunk("fmt ", fmtBody()); }
  std::string dataChunk() const { return chunk("data", data); }
  // A RIFF WAVE file of the given chunks.
  static std::string riff(const std::string& chunks) {
    std::string out = "RIFF";
    put32(out, static_cast<uint32_t>(chunks.size() + 4));
    return out + "WAVE" + chunks;
  }
  std::string file() const { return riff(fmtChunk() + dataChunk()); }
};

// 16-bit mono samples as data bytes.
inline std::string samples16(const std::vector<int16_t>& values) {
  std::string out;
  for (int16_t v : values) WaveBuilder::put16(out, static_cast<uint16_t>(v));
  return out;
}
