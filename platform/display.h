// Display surfaces in memory: RGB565 colour surfaces and depth surfaces, with the operations the renderer
// needs from a display: colour fill, rectangle copies with and without a source colour key, stretching
// copies, locking for pixel access, descriptions and the "lost" state with its restore.
//
// Index: [SECTION] Result codes  [SECTION] Surfaces  [SECTION] Operations  [SECTION] Display
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

struct Window;

// [SECTION] Result codes
// Every display and 3D-device operation answers one of these; 0 is success, failures are negative.
using HResult = int32_t;
enum : HResult {
  DD_OK = 0,
  DDERR_GENERIC = -0x1001,
  DDERR_INVALIDPARAMS = -0x1002,
  DDERR_INVALIDRECT = -0x1003,
  DDERR_OUTOFMEMORY = -0x1004,
  DDERR_OUTOFVIDEOMEMORY = -0x1005,
  DDERR_UNSUPPORTED = -0x1006,
  DDERR_SURFACELOST = -0x1007,
  DDERR_SURFACEBUSY = -0x1008,
  DDERR_NOTLOCKED = -0x1009,
  DDERR_WASSTILLDRAWING = -0x100A,
  DDERR_INVALIDOBJECT = -0x100B,
  DDERR_NOCOLORKEY = -0x100C,
  DDERR_INVALIDPIXELFORMAT = -0x100D,
  DDERR_SURFACEALREADYATTACHED = -0x100E,
  DDERR_INVALIDMODE = -0x100F,
  DDERR_NOZBUFFERHW = -0x1010,
  DDERR_NOTFOUND = -0x1011,
  DDERR_CANTCREATEDC = -0x1012,
};
inline bool succeeded(HResult result) { return result >= 0; }
inline bool failed(HResult result) { return result < 0; }

// [SECTION] Surfaces

enum SurfaceCaps : uint32_t {
  DDSCAPS_PRIMARYSURFACE = 0x0001,
  DDSCAPS_OFFSCREENPLAIN = 0x0002,
  DDSCAPS_3DDEVICE = 0x0004,
  DDSCAPS_SYSTEMMEMORY = 0x0008,
  DDSCAPS_ZBUFFER = 0x0010,
  DDSCAPS_TEXTURE = 0x0020,
  DDSCAPS_ALLOCONLOAD = 0x0040,
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
struct DisplaySurface {
  uint32_t caps = 0;
  Surface own;
  Surface* external = nullptr;
  Window* window = nullptr;        // told when the primary surface's pixels change
  std::vector<float> depth;
  int depthWidth = 0, depthHeight = 0;
  bool lost = false;
  bool locked = false;
  bool hasColourKey = false;
  uint16_t colourKeyLow = 0, colourKeyHigh = 0;
  DisplaySurface* attachedDepth = nullptr;  // not owned

  bool isDepth() const { return (caps & DDSCAPS_ZBUFFER) != 0; }
  Surface& pixels() { return external ? *external : own; }
  const Surface& pixels() const { return external ? *external : own; }
  int width() const { return isDepth() ? depthWidth : pixels().width; }
  int height() const { return isDepth() ? depthHeight : pixels().height; }
};

// What a lock hands out: the first pixel of the locked rectangle and the row pitch in bytes.
struct LockedSurface {
  void* bits = nullptr;
  int pitchBytes = 0;
  int width = 0, height = 0;
};

// [SECTION] Operations

// Make a colour surface (caps without DDSCAPS_ZBUFFER) or a depth surface of width x height. Sizes must
// be 1..4096 on each side; anything else is DDERR_INVALIDPARAMS and no surface.
HResult createSurface(uint32_t caps, int width, int height, std::unique_ptr<DisplaySurface>& out);
// The primary surface: the window's pixels, so that copies onto it show on the screen.
HResult createPrimarySurface(Surface& windowPixels, Window* window, std::unique_ptr<DisplaySurface>& out);

HResult surfaceDescription(const DisplaySurface& surface, SurfaceDesc& desc);
// Fill the rectangle (whole surface when null) with a colour, or a depth surface with a depth value.
HResult surfaceFill(DisplaySurface& surface, const Rect* rect, uint16_t colour);
HResult surfaceFillDepth(DisplaySurface& surface, const Rect* rect, float depth);

enum BltFastFlags : uint32_t { DDBLTFAST_NOCOLORKEY = 0, DDBLTFAST_SRCCOLORKEY = 1, DDBLTFAST_WAIT = 0x10 };
// Copy sourceRect of source to (x, y) of target without stretching. Depth surfaces copy depth values.
// The rectangle is clipped to both surfaces; an empty or inverted rectangle copies nothing and succeeds.
// With DDBLTFAST_SRCCOLORKEY source pixels within the source's colour-key range are skipped.
HResult surfaceBltFast(DisplaySurface& target, int x, int y, DisplaySurface& source, const Rect* sourceRect,
                       uint32_t flags);
// Stretching copy of sourceRect (whole source when null) onto targetRect (whole target when null),
// nearest pixel; the target rectangle is clipped to the target surface.
HResult surfaceBlt(DisplaySurface& target, const Rect* targetRect, DisplaySurface& source, const Rect* sourceRect);

// Direct pixel access; a surface locked twice answers DDERR_SURFACEBUSY.
HResult surfaceLock(DisplaySurface& surface, const Rect* rect, LockedSurface& locked);
HResult surfaceUnlock(DisplaySurface& surface);

enum : uint32_t { DDCKEY_SRCBLT = 8 };
HResult surfaceSetColourKey(DisplaySurface& surface, uint32_t which, uint16_t low, uint16_t high);

// The lost state: the surface's memory is gone until restored (its pixels are then undefined; this
// implementation fills them with a stripe pattern so that a missing clear shows). Never lost on its own
// here; tests force a loss to exercise the restore paths.
HResult surfaceIsLost(const DisplaySurface& surface);
HResult surfaceRestore(DisplaySurface& surface);
void surfaceForceLoss(DisplaySurface& surface);

// Tell the screen that a primary surface changed (no-op for other surfaces).
void surfacePresented(DisplaySurface& surface);

// [SECTION] Display

// The display the program runs on: its mode, and the pixel depths its one software driver renders to.
struct DisplayDevice {
  int width = 0, height = 0, bitsPerPixel = 0;
  bool created = false;
};
HResult displayCreate(DisplayDevice& display);
HResult displayMode(const DisplayDevice& display, int& width, int& height, int& bitsPerPixel);
// The screen here always runs at 16 bits per pixel; tests make the display report another depth (0 goes
// back to the real one) to exercise the refusal of other depths.
void displayOverrideBits(int bitsPerPixel);
