// Raw PPM pictures: the header subset the program reads, and `loadPictureSurface`, which turns a
// picture into an RGB565 texture surface.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "render/Textures.h"

namespace {

// One line as fgets with a 100-byte buffer reads it: up to 99 bytes, through the line feed if it comes
// first. False at the end of the bytes.
bool readLine(const std::string& bytes, size_t& at, std::string& line) {
  if (at >= bytes.size()) return false;
  line.clear();
  while (at < bytes.size() && line.size() < 99) {
    const char c = bytes[at++];
    line.push_back(c);
    if (c == '\n') break;
  }
  return true;
}

// A decimal integer as "%d" reads one: white space, a sign, digits. Values beyond the int range are
// clamped rather than left undefined.
bool readInt(const char*& p, int& value) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  long long v = 0;
  while (*p >= '0' && *p <= '9') {
    v = std::min<long long>(v * 10 + (*p++ - '0'), 1LL << 40);
  }
  v = negative ? -v : v;
  value = static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
  return true;
}

int trailingZeros(uint32_t mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

PpmResult readPpm(const std::string& bytes, PpmPicture& picture) {
  picture = PpmPicture{};
  size_t at = 0;
  std::string line;
  if (!readLine(bytes, at, line) || line != "P6\n") return PpmResult::NotPpm;
  do {
    if (!readLine(bytes, at, line)) return PpmResult::NotPpm;
  } while (!line.empty() && line[0] == '#');
  int width = 0, height = 0;
  const char* p = line.c_str();
  if (!readInt(p, width) || !readInt(p, height)) return PpmResult::NotPpm;
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return PpmResult::BadSize;
  if (!readLine(bytes, at, line)) return PpmResult::ShortData;  // the maximum value, taken as 255
  const size_t needed = static_cast<size_t>(width) * height * 3;
  if (bytes.size() - at < needed) return PpmResult::ShortData;
  picture.width = width;
  picture.height = height;
  picture.rgb.assign(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + needed));
  return PpmResult::Ok;
}

std::unique_ptr<DisplaySurface> loadPictureSurface(RenderDevice& d, const std::string& name) {
  FILE* file = openOnSearchPath(d, name, "rb");
  if (!file) {
    setRenderError(d, kErrorNotFound, "Cannot find %s.\n", name.c_str());
    return nullptr;
  }
  // Large enough for the largest picture accepted, with room for a long header.
  constexpr size_t kMaxBytes = static_cast<size_t>(kMaxPictureSide) * kMaxPictureSide * 3 + 4096;
  std::string bytes;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= kMaxBytes) bytes.append(chunk, got);
  std::fclose(file);

  PpmPicture picture;
  switch (readPpm(bytes, picture)) {
    case PpmResult::Ok: break;
    case PpmResult::NotPpm:
      setRenderError(d, kErrorInvalidPixelFormat, "%s is not a PPM file.\n", name.c_str());
      return nullptr;
    case PpmResult::BadSize:
      setRenderError(d, kErrorInvalidParams, "CreateSurface for texture failed (loadtex).\n%s", resultText(kErrorInvalidParams));
      return nullptr;
    case PpmResult::ShortData:
      setRenderError(d, kErrorInvalidParams, "%s holds less picture data than its size says (loadtex).\n", name.c_str());
      return nullptr;
  }
  std::unique_ptr<DisplaySurface> surface;
  HResult result = createSurface(kSurfaceTexture, picture.width, picture.height, surface);
  if (failed(result)) {
    setRenderError(d, result, "CreateSurface for texture failed (loadtex).\n%s", resultText(result));
    return nullptr;
  }
  LockedSurface locked;
  result = surfaceLock(*surface, nullptr, locked);
  if (failed(result)) {
    setRenderError(d, result, "Lock failed while loading surface (loadtex).\n%s", resultText(result));
    return nullptr;
  }
  const PixelFormat f;  // RGB565
  const int redShift = trailingZeros(f.redMask), greenShift = trailingZeros(f.greenMask), blueShift = trailingZeros(f.blueMask);
  const uint32_t redMax = f.redMask >> redShift, greenMax = f.greenMask >> greenShift, blueMax = f.blueMask >> blueShift;
  const uint32_t redDivisor = 255 / redMax, greenDivisor = 255 / greenMax, blueDivisor = 255 / blueMax;
  const uint8_t* rgb = picture.rgb.data();
  for (int y = 0; y < picture.height; ++y) {
    uint16_t* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(locked.bits) + static_cast<size_t>(y) * locked.pitchBytes);
    for (int x = 0; x < picture.width; ++x, rgb += 3) {
      const uint32_t pixel = (std::min<uint32_t>(rgb[0] / redDivisor, redMax) << redShift) |
                             (std::min<uint32_t>(rgb[1] / greenDivisor, greenMax) << greenShift) |
                             (std::min<uint32_t>(rgb[2] / blueDivisor, blueMax) << blueShift);
      row[x] = static_cast<uint16_t>(pixel);
    }
  }
  surfaceUnlock(*surface);
  return surface;
}
