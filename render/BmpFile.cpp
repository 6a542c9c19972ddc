// Reading .bmp files into memory with every size in the headers checked against the bytes that are
// really there, and turning them into RGB565 pictures.
#include <cstring>

#include "platform/paths.h"
#include "render/Bitmaps.h"

namespace {

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

constexpr size_t kMaxFileBytes = 256u << 20;

}  // namespace

BitmapInfoHeader readInfoHeader(const uint8_t* b) {
  BitmapInfoHeader h;
  h.biSize = u32(b);
  h.biWidth = static_cast<int32_t>(u32(b + 4));
  h.biHeight = static_cast<int32_t>(u32(b + 8));
  h.biPlanes = u16(b + 12);
  h.biBitCount = u16(b + 14);
  h.biCompression = u32(b + 16);
  h.biSizeImage = u32(b + 20);
  h.biXPelsPerMeter = static_cast<int32_t>(u32(b + 24));
  h.biYPelsPerMeter = static_cast<int32_t>(u32(b + 28));
  h.biClrUsed = u32(b + 32);
  h.biClrImportant = u32(b + 36);
  return h;
}

void writeInfoHeader(const BitmapInfoHeader& h, uint8_t* b) {
  put32(b, h.biSize);
  put32(b + 4, static_cast<uint32_t>(h.biWidth));
  put32(b + 8, static_cast<uint32_t>(h.biHeight));
  put16(b + 12, h.biPlanes);
  put16(b + 14, h.biBitCount);
  put32(b + 16, h.biCompression);
  put32(b + 20, h.biSizeImage);
  put32(b + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
  put32(b + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
  put32(b + 32, h.biClrUsed);
  put32(b + 36, h.biClrImportant);
}

BmpResult parseBmp(const std::string& bytes, BmpFile& bmp) {
  bmp = BmpFile{};
  if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') return BmpResult::Malformed;
  const uint8_t* file = reinterpret_cast<const uint8_t*>(bytes.data());
  // A file shorter than its header says was cut short. The bytes that are there are what gets read; the
  // sizes below are checked against them, not against the header's claim.
  const uint32_t fileSize = u32(file + 2);
  if (fileSize > bytes.size()) return BmpResult::Malformed;
  BitmapInfoHeader h = readInfoHeader(file + 14);
  const size_t dataBytes = bytes.size() - 14;
  // The 40-byte header and its longer successors, which begin the same way.
  if (h.biSize < 40 || h.biSize > 124 || h.biSize > dataBytes) return BmpResult::Malformed;
  if (h.biWidth < 1 || h.biHeight < 1 || h.biWidth > kMaxBitmapSide || h.biHeight > kMaxBitmapSide ||
      static_cast<int64_t>(h.biWidth) * h.biHeight > kMaxBitmapPixels)
    return BmpResult::Malformed;
  if (h.biPlanes != 1 || h.biCompression != BI_RGB) return BmpResult::Malformed;
  const uint16_t bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return BmpResult::Malformed;
  uint32_t colours = h.biClrUsed != 0 ? h.biClrUsed : (bits <= 8 ? 1u << bits : 0u);
  if (bits <= 8 && colours > (1u << bits)) return BmpResult::Malformed;
  if (colours > 256) return BmpResult::Malformed;
  const uint64_t imageBytes = static_cast<uint64_t>(dibRowBytes(bits, h.biWidth)) * h.biHeight;
  if (h.biSize + 4ull * colours + imageBytes > dataBytes) return BmpResult::Malformed;
  bmp.data.assign(file + 14, file + bytes.size());
  bmp.colourCount = colours;
  h.biSizeImage = static_cast<uint32_t>(imageBytes);
  if (h.biClrUsed == 0) h.biClrUsed = colours;
  writeInfoHeader(h, bmp.data.data());
  return BmpResult::Ok;
}

BmpResult loadBmpFile(BmpFile& bmp, const std::string& path) {
  bmp = BmpFile{};
  FILE* file = openFile(path, "rb");
  if (!file) return BmpResult::Missing;
  std::string bytes;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.append(chunk, got);
    if (bytes.size() > kMaxFileBytes) break;
  }
  std::fclose(file);
  if (bytes.size() > kMaxFileBytes) return BmpResult::Malformed;
  return parseBmp(bytes, bmp);
}

void freeBmpFile(BmpFile& bmp) { bmp = BmpFile{}; }

bool bmpToSurface(const BmpFile& bmp, Surface& surface) {
  if (!bmp.loaded()) return false;
  const BitmapInfoHeader h = bmp.header();
  const int width = h.biWidth, height = h.biHeight, bits = h.biBitCount;
  const uint32_t rowBytes = dibRowBytes(bits, width);
  const uint8_t* table = bmp.colourTable();
  const uint8_t* pixels = bmp.bits();
  surface = Surface(width, height);
  auto paletteColour = [&](uint32_t index) -> uint16_t {
    if (index >= bmp.colourCount) return 0;
    const uint8_t* q = table + 4 * index;
    return rgb565(q[2], q[1], q[0]);
  };
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(height - 1 - y) * rowBytes;  // rows are stored bottom-up
    uint16_t* out = surface.row(y);
    for (int x = 0; x < width; ++x) {
      switch (bits) {
        case 24: out[x] = rgb565(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        case 8: out[x] = paletteColour(row[x]); break;
        case 4: out[x] = paletteColour((row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F); break;
        default: out[x] = paletteColour((row[x / 8] >> (7 - x % 8)) & 1); break;
      }
    }
  }
  return true;
}
