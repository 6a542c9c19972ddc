// Bitmap services shared by the panels, the save slots and the printout: .bmp files read into memory,
// screen captures as packed device-independent bitmaps (DIBs), writing a DIB as a .bmp file, and putting
// a bitmap onto a display surface with a colour key.
//
// Index: [SECTION] Headers  [SECTION] BMP files  [SECTION] DIBs  [SECTION] Surfaces
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/surface.h"
#include "platform/window.h"

// [SECTION] Headers

// The 40-byte info header, read from and written to its little-endian bytes.
struct BitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0, biHeight = 0;
  uint16_t biPlanes = 1, biBitCount = 0;
  uint32_t biCompression = 0, biSizeImage = 0;
  int32_t biXPelsPerMeter = 0, biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0, biClrImportant = 0;
};
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2;
BitmapInfoHeader readInfoHeader(const uint8_t* bytes);
void writeInfoHeader(const BitmapInfoHeader& header, uint8_t* bytes);

// Bytes of one row of pixels, padded to 4 bytes.
inline uint32_t dibRowBytes(int bitCount, int width) {
  return static_cast<uint32_t>((static_cast<uint64_t>(bitCount) * static_cast<uint32_t>(width) + 31) / 32 * 4);
}

// [SECTION] BMP files

// Everything after the 14-byte file header: info header, colour table, pixel bits. Empty when the file
// could not be read or was refused.
struct BmpFile {
  std::vector<uint8_t> data;
  uint32_t colourCount = 0;

  bool loaded() const { return !data.empty(); }
  BitmapInfoHeader header() const { return data.size() >= 40 ? readInfoHeader(data.data()) : BitmapInfoHeader{}; }
  int width() const { return header().biWidth; }
  int height() const { return header().biHeight; }
  const uint8_t* colourTable() const { return data.data() + header().biSize; }
  const uint8_t* bits() const { return data.data() + header().biSize + 4 * colourCount; }
};

enum class BmpResult { Ok, Missing, Malformed };
// The limits on pictures we accept: each side, and the pixel count.
constexpr int kMaxBitmapSide = 8192;
constexpr int64_t kMaxBitmapPixels = 32LL << 20;

// Read a .bmp file: Missing when it does not open (the shell tells the user). Malformed files (sizes that
// disagree, a lying file size, huge dimensions, truncated bits, bit depths other than 1, 4, 8 and 24,
// compression) are refused: the BmpFile stays empty.
BmpResult loadBmpFile(BmpFile& bmp, const std::string& path);
// The same checks on bytes already in memory (the whole file, its 14-byte header included).
BmpResult parseBmp(const std::string& bytes, BmpFile& bmp);
void freeBmpFile(BmpFile& bmp);
// The picture as RGB565 pixels, rows top to bottom.
bool bmpToSurface(const BmpFile& bmp, Surface& surface);

// [SECTION] DIBs

// A packed DIB: info header, colour table, pixel bits, in one block.
struct DibBlock {
  std::vector<uint8_t> bytes;
  bool empty() const { return bytes.size() < 40; }
};

uint32_t dibColourCount(const DibBlock& dib);
uint32_t dibPaletteBytes(const DibBlock& dib);
const uint8_t* dibBits(const DibBlock& dib);

// The screen area of a rectangle (clamped to the screen) as a picture; false for an empty area.
bool captureScreenRect(const Rect& rect, Surface& picture);
// A picture as a 24-bit DIB with no colour table (the program's screen has no palette).
bool bitmapToDib(const Surface& picture, DibBlock& dib);
enum class CaptureMode { WholeWindow = 1, ClientArea = 2 };
// The window's area of the composed screen as a 24-bit DIB; false when there is none.
bool captureWindow(HWindow window, int mode, DibBlock& dib);
// Write a DIB as a .bmp file. 0 on success; 20 without a DIB, 4 when the file cannot be written,
// 3 when the DIB is not a 40-byte-header DIB whose bits are all there.
int saveDib(const DibBlock& dib, const std::string& path);
// The .bmp file's bytes of a DIB, with the same results as saveDib (never 4).
int dibFileBytes(const DibBlock& dib, std::string& out);
void freeDib(DibBlock& dib);

// [SECTION] Surfaces

constexpr HResult E_FAIL = -0x4005;
// A new surface holding the named .bmp file (scaled to width x height when both are given, else its
// own size); nullptr when the file cannot be read.
std::unique_ptr<DisplaySurface> loadBitmapSurface(const std::string& name, int width, int height);
HResult reloadBitmapSurface(DisplaySurface& surface, const std::string& name);
// Stretch the bitmap area (x, y, w, h; 0 for the bitmap's own width or height) over the whole surface.
HResult ddcopybitmap(DisplaySurface* surface, const Surface* bitmap, int x, int y, int w, int h);
// The surface's pixel value for a colour given as 0x00BBGGRR; -1 when the surface cannot be locked.
constexpr uint32_t CLR_INVALID = 0xFFFFFFFF;
int32_t matchSurfaceColour(DisplaySurface& surface, uint32_t colour);
void setSurfaceColourKey(DisplaySurface& surface, uint32_t colour);
