// Packed DIBs: screen captures, writing them as .bmp files, and bitmaps put onto display surfaces with
// colour keys.
//
// Index: [SECTION] DIB helpers  [SECTION] Capture  [SECTION] Saving  [SECTION] Surfaces
#include <algorithm>
#include <cstring>

#include "platform/paths.h"
#include "render/Bitmaps.h"

// [SECTION] DIB helpers

uint32_t dibColourCount(const DibBlock& dib) {
  if (dib.empty()) return 0;
  const BitmapInfoHeader h = readInfoHeader(dib.bytes.data());
  if (h.biSize == 40 && h.biClrUsed != 0) return h.biClrUsed;
  switch (h.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint32_t dibPaletteBytes(const DibBlock& dib) { return dibColourCount(dib) * 4; }

const uint8_t* dibBits(const DibBlock& dib) {
  if (dib.empty()) return nullptr;
  const size_t offset = readInfoHeader(dib.bytes.data()).biSize + static_cast<size_t>(dibPaletteBytes(dib));
  return offset <= dib.bytes.size() ? dib.bytes.data() + offset : nullptr;
}

void freeDib(DibBlock& dib) { dib.bytes.clear(); }

// [SECTION] Capture

bool captureScreenRect(const Rect& rect, Surface& picture) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return false;
  const Surface& screen = composeScreen();
  const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int width = std::min(screen.width, rect.right) - left;
  const int height = std::min(screen.height, rect.bottom) - top;
  if (width <= 0 || height <= 0) return false;
  picture = Surface(width, height);
  copySurfaceRect(picture, 0, 0, screen, Rect{left, top, left + width, top + height});
  return true;
}

bool bitmapToDib(const Surface& picture, DibBlock& dib) {
  dib.bytes.clear();
  if (picture.width < 1 || picture.height < 1) return false;
  // A 16-bit picture becomes a 24-bit DIB; rows bottom-up, padded to 4 bytes.
  BitmapInfoHeader h;
  h.biWidth = picture.width;
  h.biHeight = picture.height;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  const uint32_t rowBytes = dibRowBytes(24, picture.width);
  h.biSizeImage = rowBytes * static_cast<uint32_t>(picture.height);
  dib.bytes.assign(40 + static_cast<size_t>(h.biSizeImage), 0);
  writeInfoHeader(h, dib.bytes.data());
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* row = dib.bytes.data() + 40 + static_cast<size_t>(picture.height - 1 - y) * rowBytes;
    const uint16_t* in = picture.row(y);
    for (int x = 0; x < picture.width; ++x) {
      row[3 * x] = static_cast<uint8_t>(blue565(in[x]));
      row[3 * x + 1] = static_cast<uint8_t>(green565(in[x]));
      row[3 * x + 2] = static_cast<uint8_t>(red565(in[x]));
    }
  }
  return true;
}

bool captureWindow(HWindow window, int mode, DibBlock& dib) {
  dib.bytes.clear();
  if (!window || !isWindow(window)) return false;
  Rect area;
  if (mode == static_cast<int>(CaptureMode::WholeWindow)) {
    area = windowRect(window);
  } else if (mode == static_cast<int>(CaptureMode::ClientArea)) {
    const Rect client = clientRect(window);
    const Point topLeft = clientToScreen(window, Point{client.left, client.top});
    const Point bottomRight = clientToScreen(window, Point{client.right, client.bottom});
    area = Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  } else {
    return false;
  }
  Surface picture;
  if (!captureScreenRect(area, picture)) return false;
  return bitmapToDib(picture, dib);
}

// [SECTION] Saving

int saveDib(const DibBlock& dib, const std::string& path) {
  std::string bytes;
  const int made = dibFileBytes(dib, bytes);
  if (made != 0) return made;
  return writeFileAtomically(path, bytes) ? 0 : 4;
}

int dibFileBytes(const DibBlock& dib, std::string& out) {
  if (dib.empty()) return 20;
  BitmapInfoHeader h = readInfoHeader(dib.bytes.data());
  // Only a 40-byte-header DIB whose colour table and bits are all in the block is written; anything else
  // would write a file that no reader could make sense of, so nothing is written at all.
  if (h.biSize != 40 || h.biWidth < 1 || h.biHeight < 1 || h.biWidth > kMaxBitmapSide || h.biHeight > kMaxBitmapSide)
    return 3;
  const uint32_t paletteBytes = dibPaletteBytes(dib);
  uint64_t imageBytes;
  if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) imageBytes = h.biSizeImage;
  else imageBytes = static_cast<uint64_t>(dibRowBytes(h.biBitCount, h.biWidth)) * h.biHeight;
  if (40 + static_cast<uint64_t>(paletteBytes) + imageBytes > dib.bytes.size() || imageBytes > (1u << 30)) return 3;
  h.biSizeImage = static_cast<uint32_t>(imageBytes);

  out.assign(14, '\0');
  const uint32_t offBits = 14 + 40 + paletteBytes;
  const uint32_t fileSize = offBits + h.biSizeImage;
  out[0] = 'B';
  out[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    out[2 + i] = static_cast<char>(fileSize >> (8 * i));
    out[10 + i] = static_cast<char>(offBits >> (8 * i));
  }
  uint8_t header[40];
  writeInfoHeader(h, header);
  out.append(reinterpret_cast<const char*>(header), 40);
  out.append(reinterpret_cast<const char*>(dib.bytes.data()) + 40, paletteBytes + static_cast<size_t>(imageBytes));
  return 0;
}

// [SECTION] Surfaces

HResult ddcopybitmap(DisplaySurface* surface, const Surface* bitmap, int x, int y, int w, int h) {
  if (!surface || !bitmap || bitmap->width < 1 || bitmap->height < 1) return E_FAIL;
  if (w == 0) w = bitmap->width;
  if (h == 0) h = bitmap->height;
  const Rect from = intersectRect(Rect{x, y, x + w, y + h}, bitmap->bounds());
  if (from.empty()) return E_FAIL;
  DisplaySurface source;
  source.own = *bitmap;
  return surfaceBlt(*surface, nullptr, source, &from);
}

static bool readBitmap(const std::string& name, int width, int height, Surface& picture) {
  std::string bytes;
  BmpFile bmp;
  if (!readWholeFile(resolvePath(name), bytes, 256u << 20) || parseBmp(bytes, bmp) != BmpResult::Ok) return false;
  Surface own;
  if (!bmpToSurface(bmp, own)) return false;
  if (width <= 0 || height <= 0 || (width == own.width && height == own.height)) {
    picture = std::move(own);
    return true;
  }
  if (width > kMaxBitmapSide || height > kMaxBitmapSide) return false;
  DisplaySurface from, to;
  from.own = std::move(own);
  to.own = Surface(width, height);
  surfaceBlt(to, nullptr, from, nullptr);
  picture = std::move(to.own);
  return true;
}

std::unique_ptr<DisplaySurface> loadBitmapSurface(const std::string& name, int width, int height) {
  Surface picture;
  if (!readBitmap(name, width, height, picture)) return nullptr;
  std::unique_ptr<DisplaySurface> surface;
  if (failed(createSurface(kSurfaceOffscreen, picture.width, picture.height, surface))) return nullptr;
  if (failed(ddcopybitmap(surface.get(), &picture, 0, 0, 0, 0))) return nullptr;
  return surface;
}

HResult reloadBitmapSurface(DisplaySurface& surface, const std::string& name) {
  Surface picture;
  if (!readBitmap(name, 0, 0, picture)) return E_FAIL;
  return ddcopybitmap(&surface, &picture, 0, 0, 0, 0);
}

int32_t matchSurfaceColour(DisplaySurface& surface, uint32_t colour) {
  if (surface.isDepth() || surface.width() < 1 || surface.height() < 1) return -1;
  Surface& pixels = surface.pixels();
  const uint16_t remembered = pixels.pixels[0];
  if (colour != CLR_INVALID) pixels.pixels[0] = rgb565(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  LockedSurface locked;
  int32_t result = -1;
  if (succeeded(surfaceLock(surface, nullptr, locked))) {
    result = *static_cast<const uint16_t*>(locked.bits);
    surfaceUnlock(surface);
  }
  pixels.pixels[0] = remembered;
  return result;
}

void setSurfaceColourKey(DisplaySurface& surface, uint32_t colour) {
  const int32_t key = matchSurfaceColour(surface, colour);
  if (key < 0) return;  // a surface that cannot be locked keeps the key it had
  surfaceSetColourKey(surface, kColourKeySource, static_cast<uint16_t>(key), static_cast<uint16_t>(key));
}
