// A 16-bit RGB565 picture in memory: window contents, the composed screen, off-screen images.
// The display-surface operations (blits, colour keys, locks) build on this record.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint16_t> pixels;  // width * height, rows top to bottom, no padding

  Surface() = default;
  Surface(int w, int h, uint16_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

  uint16_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint16_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
  uint16_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  Rect bounds() const { return Rect{0, 0, width, height}; }
};

// Fill a rectangle (clipped to the surface) with one colour.
void fillSurfaceRect(Surface& surface, const Rect& rect, uint16_t colour);

// Copy a source rectangle to (x, y) of the target, clipped on both sides.
void copySurfaceRect(Surface& target, int x, int y, const Surface& source, const Rect& sourceRect);

// Write a surface as a 24-bit BMP file (written atomically); false when it could not be written.
bool saveSurfaceBmp(const Surface& surface, const char* path);
