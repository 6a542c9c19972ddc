// Plain operations on RGB565 surfaces: fills, clipped copies and writing a picture out as a BMP file.
#include "platform/surface.h"

#include <cstring>
#include <string>

#include "platform/paths.h"

void fillSurfaceRect(Surface& surface, const Rect& rect, uint16_t colour) {
  Rect r = intersectRect(rect, surface.bounds());
  for (int y = r.top; y < r.bottom; ++y) {
    uint16_t* row = surface.row(y);
    std::fill(row + r.left, row + r.right, colour);
  }
}

void copySurfaceRect(Surface& target, int x, int y, const Surface& source, const Rect& sourceRect) {
  Rect from = intersectRect(sourceRect, source.bounds());
  if (from.empty()) return;
  int dx = x + (from.left - sourceRect.left), dy = y + (from.top - sourceRect.top);
  Rect to = intersectRect(Rect{dx, dy, dx + from.width(), dy + from.height()}, target.bounds());
  if (to.empty()) return;
  int sx = from.left + (to.left - dx), sy = from.top + (to.top - dy);
  for (int row = 0; row < to.height(); ++row)
    std::memcpy(target.row(to.top + row) + to.left, source.row(sy + row) + sx, sizeof(uint16_t) * to.width());
}

static void put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
static void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

bool saveSurfaceBmp(const Surface& surface, const char* path) {
  if (surface.width <= 0 || surface.height <= 0 || !path) return false;
  uint32_t rowBytes = (static_cast<uint32_t>(surface.width) * 3 + 3) & ~3u;
  uint32_t imageBytes = rowBytes * static_cast<uint32_t>(surface.height);
  std::string out;
  out.reserve(54 + imageBytes);
  out += "BM";
  put32(out, 54 + imageBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(surface.width));
  put32(out, static_cast<uint32_t>(surface.height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, imageBytes);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = surface.height - 1; y >= 0; --y) {
    const uint16_t* row = surface.row(y);
    for (int x = 0; x < surface.width; ++x) {
      out += static_cast<char>(blue565(row[x]));
      out += static_cast<char>(green565(row[x]));
      out += static_cast<char>(red565(row[x]));
    }
    for (uint32_t pad = static_cast<uint32_t>(surface.width) * 3; pad < rowBytes; ++pad) out += '\0';
  }
  return writeFileAtomically(path, out);
}
