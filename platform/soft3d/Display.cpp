// Display surfaces in memory: creation, fills, plain, colour-keyed and stretching copies and locks.
#include <algorithm>
#include <cstring>

#include "platform/display.h"
#include "platform/window.h"

namespace {

constexpr int kMaxSurfaceSide = 4096;

// Clip a copy of sourceRect to (x, y) so that both rectangles lie inside their surfaces.
bool clipCopy(int& x, int& y, Rect& source, int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
  if (source.left < 0) { x -= source.left; source.left = 0; }
  if (source.top < 0) { y -= source.top; source.top = 0; }
  source.right = std::min(source.right, sourceWidth);
  source.bottom = std::min(source.bottom, sourceHeight);
  if (x < 0) { source.left -= x; x = 0; }
  if (y < 0) { source.top -= y; y = 0; }
  source.right = std::min(source.right, source.left + (targetWidth - x));
  source.bottom = std::min(source.bottom, source.top + (targetHeight - y));
  return source.right > source.left && source.bottom > source.top;
}

}  // namespace

HResult createSurface(uint32_t caps, int width, int height, std::unique_ptr<DisplaySurface>& out) {
  out.reset();
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return kErrorInvalidParams;
  if (caps & kSurfacePrimary) return kErrorInvalidParams;
  auto surface = std::make_unique<DisplaySurface>();
  surface->caps = caps;
  if (caps & kSurfaceDepth) {
    surface->depthWidth = width;
    surface->depthHeight = height;
    surface->depth.assign(static_cast<size_t>(width) * height, 1.0f);
  } else {
    surface->own = Surface(width, height, 0);
  }
  out = std::move(surface);
  return kResultOk;
}

HResult createPrimarySurface(Surface& windowPixels, Window* window, std::unique_ptr<DisplaySurface>& out) {
  out = std::make_unique<DisplaySurface>();
  out->caps = kSurfacePrimary;
  out->external = &windowPixels;
  out->window = window;
  return kResultOk;
}

HResult surfaceDescription(const DisplaySurface& surface, SurfaceDesc& desc) {
  desc = SurfaceDesc{};
  desc.width = surface.width();
  desc.height = surface.height();
  desc.caps = surface.caps;
  if (surface.isDepth()) {
    desc.format = PixelFormat{32, 0, 0, 0, false};
    desc.zBufferBits = 32;
    desc.pitchBytes = desc.width * 4;
  } else {
    desc.pitchBytes = desc.width * 2;
  }
  return kResultOk;
}

HResult surfaceFill(DisplaySurface& surface, const Rect* rect, uint16_t colour) {
  if (surface.isDepth()) return surfaceFillDepth(surface, rect, colour / 65535.0f);
  Surface& pixels = surface.pixels();
  Rect area = rect ? intersectRect(*rect, pixels.bounds()) : pixels.bounds();
  for (int y = area.top; y < area.bottom; ++y) std::fill(pixels.row(y) + area.left, pixels.row(y) + area.right, colour);
  if (!area.empty()) surfacePresented(surface);
  return kResultOk;
}

HResult surfaceFillDepth(DisplaySurface& surface, const Rect* rect, float depth) {
  if (!surface.isDepth()) return kErrorInvalidParams;
  DisplaySurface::finishDrawingOn(surface);
  Rect bounds{0, 0, surface.depthWidth, surface.depthHeight};
  Rect area = rect ? intersectRect(*rect, bounds) : bounds;
  for (int y = area.top; y < area.bottom; ++y) {
    float* row = surface.depth.data() + static_cast<size_t>(y) * surface.depthWidth;
    std::fill(row + area.left, row + area.right, depth);
  }
  return kResultOk;
}

HResult surfaceBltFast(DisplaySurface& target, int x, int y, DisplaySurface& source, const Rect* sourceRect,
                       uint32_t flags) {
  if (target.isDepth() != source.isDepth()) return kErrorInvalidParams;
  Rect area = sourceRect ? *sourceRect : Rect{0, 0, source.width(), source.height()};
  if (area.right <= area.left || area.bottom <= area.top) return kResultOk;
  if (!clipCopy(x, y, area, source.width(), source.height(), target.width(), target.height())) return kResultOk;
  const int count = area.width();
  if (source.isDepth()) {
    DisplaySurface::finishDrawingOn(source);
    DisplaySurface::finishDrawingOn(target);
    const bool upward = &source == &target && y > area.top;
    for (int step = 0; step < area.height(); ++step) {
      const int row = upward ? area.height() - 1 - step : step;
      const float* from = source.depth.data() + static_cast<size_t>(area.top + row) * source.depthWidth + area.left;
      float* to = target.depth.data() + static_cast<size_t>(y + row) * target.depthWidth + x;
      std::memmove(to, from, count * sizeof(float));
    }
    return kResultOk;
  }
  const bool keyed = (flags & kCopySourceColourKey) != 0;
  if (keyed && !source.hasColourKey) return kErrorNoColourKey;
  Surface& to = target.pixels();
  const Surface& from = source.pixels();
  // Copies within one surface run bottom-up when the rows move down, so no row is read after it was written.
  const bool upward = &source == &target && y > area.top;
  for (int step = 0; step < area.height(); ++step) {
    const int row = upward ? area.height() - 1 - step : step;
    const uint16_t* in = from.row(area.top + row) + area.left;
    uint16_t* out = to.row(y + row) + x;
    if (!keyed) {
      std::memmove(out, in, count * sizeof(uint16_t));
      continue;
    }
    for (int i = 0; i < count; ++i)
      if (in[i] < source.colourKeyLow || in[i] > source.colourKeyHigh) out[i] = in[i];
  }
  surfacePresented(target);
  return kResultOk;
}

HResult surfaceBlt(DisplaySurface& target, const Rect* targetRect, DisplaySurface& source, const Rect* sourceRect) {
  if (target.isDepth() || source.isDepth()) return kErrorUnsupported;
  Rect from = sourceRect ? *sourceRect : Rect{0, 0, source.width(), source.height()};
  Rect to = targetRect ? *targetRect : Rect{0, 0, target.width(), target.height()};
  if (from.empty() || to.empty()) return kResultOk;
  if (from.left < 0 || from.top < 0 || from.right > source.width() || from.bottom > source.height())
    return kErrorInvalidRect;
  if (from.width() == to.width() && from.height() == to.height())
    return surfaceBltFast(target, to.left, to.top, source, &from, kCopyPlain);
  Rect visible = intersectRect(to, Rect{0, 0, target.width(), target.height()});
  if (visible.empty()) return kResultOk;
  // Nearest pixel: target pixel centre mapped back into the source rectangle.
  std::vector<int> columns(visible.width());
  for (int x = visible.left; x < visible.right; ++x) {
    int64_t sx = (static_cast<int64_t>(x - to.left) * 2 + 1) * from.width() / (2 * static_cast<int64_t>(to.width()));
    columns[x - visible.left] = from.left + static_cast<int>(std::clamp<int64_t>(sx, 0, from.width() - 1));
  }
  // Rows are copied from a snapshot when source and target are the same surface.
  Surface snapshot;
  const Surface* in = &source.pixels();
  if (&source == &target) {
    snapshot = source.pixels();
    in = &snapshot;
  }
  Surface& out = target.pixels();
  for (int y = visible.top; y < visible.bottom; ++y) {
    int64_t sy = (static_cast<int64_t>(y - to.top) * 2 + 1) * from.height() / (2 * static_cast<int64_t>(to.height()));
    const uint16_t* row = in->row(from.top + static_cast<int>(std::clamp<int64_t>(sy, 0, from.height() - 1)));
    uint16_t* dest = out.row(y);
    for (int x = visible.left; x < visible.right; ++x) dest[x] = row[columns[x - visible.left]];
  }
  surfacePresented(target);
  return kResultOk;
}

HResult surfaceLock(DisplaySurface& surface, const Rect* rect, LockedSurface& locked) {
  locked = LockedSurface{};
  if (surface.locked) return kErrorSurfaceBusy;
  Rect bounds{0, 0, surface.width(), surface.height()};
  Rect area = rect ? *rect : bounds;
  if (area.left < 0 || area.top < 0 || area.right > bounds.right || area.bottom > bounds.bottom || area.empty())
    return kErrorInvalidRect;
  if (surface.isDepth()) {
    DisplaySurface::finishDrawingOn(surface);
    locked.bits = surface.depth.data() + static_cast<size_t>(area.top) * surface.depthWidth + area.left;
    locked.pitchBytes = surface.depthWidth * 4;
  } else {
    locked.bits = surface.pixels().row(area.top) + area.left;
    locked.pitchBytes = surface.pixels().width * 2;
  }
  locked.width = area.width();
  locked.height = area.height();
  surface.locked = true;
  return kResultOk;
}

HResult surfaceUnlock(DisplaySurface& surface) {
  if (!surface.locked) return kErrorNotLocked;
  surface.locked = false;
  surfacePresented(surface);
  return kResultOk;
}

HResult surfaceSetColourKey(DisplaySurface& surface, uint32_t which, uint16_t low, uint16_t high) {
  if (which != kColourKeySource || surface.isDepth()) return kErrorInvalidParams;
  surface.hasColourKey = true;
  surface.colourKeyLow = std::min(low, high);
  surface.colourKeyHigh = std::max(low, high);
  return kResultOk;
}

void surfacePresented(DisplaySurface& surface) {
  if ((surface.caps & kSurfacePrimary) && surface.window && isWindow(surface.window))
    windowPixelsChanged(surface.window);
}
