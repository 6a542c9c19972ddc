// Small value types shared by every platform service: rectangles, points and 16-bit colours.
#pragma once

#include <algorithm>
#include <cstdint>

// Integer rectangle, left/top inclusive, right/bottom exclusive. An empty extent is an inverted one.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

inline Rect intersectRect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.empty()) return Rect{};
  return r;
}

inline Rect unionRect(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

inline Rect offsetRect(const Rect& r, int dx, int dy) { return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// RGB565, the pixel format of every colour surface.
constexpr uint16_t rgb565(int r, int g, int b) {
  return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}
inline int red565(uint16_t c) { return ((c >> 11) & 0x1F) * 255 / 31; }
inline int green565(uint16_t c) { return ((c >> 5) & 0x3F) * 255 / 63; }
inline int blue565(uint16_t c) { return (c & 0x1F) * 255 / 31; }
