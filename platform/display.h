// Display surfaces in memory: RGB565 colour surfaces and depth surfaces, with the operations the renderer
// needs from a display: colour fill, rectangle copies with and without a source colour key, stretching
// copies, locking for pixel access and descriptions.
//
// Index: [SECTION] Result codes  [SECTION] Surfaces  [SECTION] Operations
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

struct Window;
namespace soft3d {
struct DrawQueue;
}

// [SECTION] Result codes
// Every display and 3D-device operation answers one of these; 0 is success, failures are negative.
using HResult = int32_t;
enum : HResult {
  kResultOk = 0,
  kErrorGeneric = -0x1001,
  kErrorInvalidParams = -0x1002,
  kErrorInvalidRect = -0x1003,
  kErrorUnsupported = -0x1006,
  kErrorSurfaceBusy = -0x1008,
  kErrorNotLocked = -0x1009,
  kErrorNoColourKey = -0x100C,
  kErrorInvalidPixelFormat = -0x100D,
  kErrorInvalidMode = -0x100F,
  kErrorNotFound = -0x1011,
};
inline bool succeeded(HResult result) { return result >= 0; }
inline bool failed(HResult result) { return result < 0; }

// [SECTION] Surfaces

enum SurfaceCaps : uint32_t {
  kSurfacePrimary = 0x0001,
  kSurfaceOffscreen = 0x0002,
  kSurfaceRenderTarget = 0x0004,
  kSurfaceDepth = 0x0010,
  kSurfaceTexture = 0x0020,
};

// The pixel format of a surface: the program's colour surfaces are all 16-bit RGB565; depth surfaces
// hold one 32-bit depth value per pixel.
struct PixelFormat {
  int bitsPerPixel = 16;
  uint32_t redMask = 0xF800, greenMask = 0x07E0, blueMask = 0x001F;
  bool palettised = false;
  bool operator==(const PixelFormat&) const = default;
};

struct SurfaceDesc {
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
  uint32_t caps = 0;
  PixelFormat format;
  int zBufferBits = 0;  // depth surfaces only
};

// One display surface. Colour surfaces keep RGB565 pixels in `own`, or, for the primary surface bound to
// a window, in that window's pixels (`external`). Depth surfaces keep floats: 0 is the near plane and 1
// the far one.
//
// A 3D device rasterising on several threads may still owe a surface some of its drawing (see
// `queuedDrawing`): pixels() and every operation below wait for it to land first, and so does
// destroying the surface. Code that reads `depth` or `own` directly calls finishDrawingOn() first.
struct DisplaySurface {
  uint32_t caps = 0;
  Surface own;
  Surface* external = nullptr;
  Window* window = nullptr;        // told when the primary surface's pixels change
  std::vector<float> depth;
  int depthWidth = 0, depthHeight = 0;
  bool locked = false;
  bool hasColourKey = false;
  uint16_t colourKeyLow = 0, colourKeyHigh = 0;
  DisplaySurface* attachedDepth = nullptr;  // not owned
  soft3d::DrawQueue* queuedDrawing = nullptr;  // the device's drawing not yet on this surface, if any

  DisplaySurface() = default;
  DisplaySurface(const DisplaySurface&) = delete;
  DisplaySurface& operator=(const DisplaySurface&) = delete;
  ~DisplaySurface();

  bool isDepth() const { return (caps & kSurfaceDepth) != 0; }
  Surface& pixels() {
    if (queuedDrawing) finishDrawingOn(*this);
    return external ? *external : own;
  }
  const Surface& pixels() const {
    if (queuedDrawing) finishDrawingOn(*this);
    return external ? *external : own;
  }
  // The pixels as they are, for the device that queues drawing onto them.
  Surface& pixelsAsDrawn() { return external ? *external : own; }
  int width() const { return isDepth() ? depthWidth : (external ? *external : own).width; }
  int height() const { return isDepth() ? depthHeight : (external ? *external : own).height; }

  // Lands whatever drawing a device still owes this surface (its colour or its depth).
  static void finishDrawingOn(const DisplaySurface& surface);
};

// What a lock hands out: the first pixel of the locked rectangle and the row pitch in bytes.
struct LockedSurface {
  void* bits = nullptr;
  int pitchBytes = 0;
  int width = 0, height = 0;
};

// [SECTION] Operations

// Make a colour surface (caps without kSurfaceDepth) or a depth surface of width x height. Sizes must
// be 1..4096 on each side; anything else is kErrorInvalidParams and no surface.
HResult createSurface(uint32_t caps, int width, int height, std::unique_ptr<DisplaySurface>& out);
// The primary surface: the window's pixels, so that copies onto it show on the screen.
HResult createPrimarySurface(Surface& windowPixels, Window* window, std::unique_ptr<DisplaySurface>& out);

HResult surfaceDescription(const DisplaySurface& surface, SurfaceDesc& desc);
// Fill the rectangle (whole surface when null) with a colour, or a depth surface with a depth value.
HResult surfaceFill(DisplaySurface& surface, const Rect* rect, uint16_t colour);
HResult surfaceFillDepth(DisplaySurface& surface, const Rect* rect, float depth);

enum CopyFlags : uint32_t { kCopyPlain = 0, kCopySourceColourKey = 1 };
// Copy sourceRect of source to (x, y) of target without stretching. Depth surfaces copy depth values.
// The rectangle is clipped to both surfaces; an empty or inverted rectangle copies nothing and succeeds.
// With kCopySourceColourKey source pixels within the source's colour-key range are skipped.
HResult surfaceBltFast(DisplaySurface& target, int x, int y, DisplaySurface& source, const Rect* sourceRect,
                       uint32_t flags);
// Stretching copy of sourceRect (whole source when null) onto targetRect (whole target when null),
// nearest pixel; the target rectangle is clipped to the target surface.
HResult surfaceBlt(DisplaySurface& target, const Rect* targetRect, DisplaySurface& source, const Rect* sourceRect);

// Direct pixel access; a surface locked twice answers kErrorSurfaceBusy.
HResult surfaceLock(DisplaySurface& surface, const Rect* rect, LockedSurface& locked);
HResult surfaceUnlock(DisplaySurface& surface);

enum : uint32_t { kColourKeySource = 8 };
HResult surfaceSetColourKey(DisplaySurface& surface, uint32_t which, uint16_t low, uint16_t high);

// Tell the screen that a primary surface changed (no-op for other surfaces).
void surfacePresented(DisplaySurface& surface);
