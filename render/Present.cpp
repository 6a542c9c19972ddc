// Presentation through dirty rectangles: the frame's rectangles, clearing only inside them, and showing
// the previous and the new rectangles merged, one rectangle at a time.
#include <algorithm>

#include "render/RenderDevice.h"

namespace {

Rect wholeWindow(RenderDevice& d) { return Rect{0, 0, d.clientWidth, d.clientHeight}; }

bool overlapsClosed(const Rect& a, const Rect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

bool setDirtyRects(RenderDevice& d, int count, const Rect* rects, FrameArea area) {
  if (count > kMaxDirtyRects) {
    setRenderError(d, kErrorInvalidParams, "The number of clear rectangles exceeded D3DAPP_MAXCLEARRECTS.");
    return false;
  }
  if (area == FrameArea::WholeWindow) {
    showWholeWindowNext(d);
    return true;
  }
  if (count < 0 || (count > 0 && !rects)) {
    setRenderError(d, kErrorInvalidParams, "The number of clear rectangles exceeded D3DAPP_MAXCLEARRECTS.");
    return false;
  }
  d.frameRects.count = d.zClearRects.count = count;
  std::copy(rects, rects + count, d.frameRects.rects);
  std::copy(rects, rects + count, d.zClearRects.rects);
  return true;
}

bool clearBackBuffer(RenderDevice& d, FrameArea area) {
  if (!d.renderingOk) {
    setRenderError(d, kErrorGeneric, "Cannot call D3DAppClearBackBuffer while bRenderingIsOK is FALSE.\n");
    return false;
  }
  if (!d.device || !d.viewport) return true;  // nothing to clear without a view
  const bool depth = d.renderState.zBufferOn && d.zBuffer;
  if (area == FrameArea::WholeWindow) {
    const Rect whole = wholeWindow(d);
    HResult result = clearViewport(*d.device, d.viewport, &whole, 1, D3DCLEAR_TARGET | (depth ? static_cast<uint32_t>(D3DCLEAR_ZBUFFER) : 0u));
    if (failed(result)) {
      setRenderError(d, result, "Viewport clear failed.\n%s", resultText(result));
      return false;
    }
    return true;
  }
  HResult result = clearViewport(*d.device, d.viewport, d.frameRects.rects, d.frameRects.count, D3DCLEAR_TARGET);
  if (failed(result)) {
    setRenderError(d, result, "Viewport clear of back buffer failed.\n%s", resultText(result));
    return false;
  }
  if (depth) {
    result = clearViewport(*d.device, d.viewport, d.zClearRects.rects, d.zClearRects.count, D3DCLEAR_ZBUFFER);
    if (failed(result)) {
      setRenderError(d, result, "Viewport clear of Z buffer failed.\n%s", resultText(result));
      return false;
    }
  }
  return true;
}

RectList mergeDirtyRects(const RectList& previous, const RectList& frame) {
  constexpr int kWork = 2 * kMaxDirtyRects;
  Rect work[kWork];
  bool valid[kWork];
  int n = 0;
  for (int i = 0; i < std::min(previous.count, kMaxDirtyRects); ++i) {
    const Rect& r = previous.rects[i];
    work[n] = r;
    valid[n++] = !((r.left == 0 && r.right == 0) || (r.top == 0 && r.bottom == 0) || r.right < r.left || r.bottom < r.top);
  }
  for (int i = 0; i < std::min(frame.count, kMaxDirtyRects); ++i) {
    const Rect& r = frame.rects[i];
    work[n] = r;
    valid[n++] = !(r.right < r.left || r.bottom < r.top);
  }
  for (int j = 0; j + 1 < n;) {
    if (!valid[j]) {
      ++j;
      continue;
    }
    int found = -1;
    for (int k = j + 1; k < n; ++k) {
      if (valid[k] && overlapsClosed(work[j], work[k])) {
        found = k;
        break;
      }
    }
    if (found < 0) {
      ++j;
      continue;
    }
    Rect& a = work[j];
    const Rect& b = work[found];
    a = Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
    valid[found] = false;
    j = 0;
  }
  RectList result;
  int remaining = 0;
  for (int i = 0; i < n; ++i) remaining += valid[i];
  if (remaining > kMaxDirtyRects) {
    Rect box{};
    bool first = true;
    for (int i = 0; i < n; ++i) {
      if (!valid[i]) continue;
      box = first ? work[i]
                  : Rect{std::min(box.left, work[i].left), std::min(box.top, work[i].top), std::max(box.right, work[i].right),
                         std::max(box.bottom, work[i].bottom)};
      first = false;
    }
    result.count = 1;
    result.rects[0] = box;
    return result;
  }
  for (int i = 0; i < n; ++i)
    if (valid[i]) result.rects[result.count++] = work[i];
  return result;
}

bool showBackBuffer(RenderDevice& d, FrameArea area) {
  if (!d.renderingOk) {
    setRenderError(d, kErrorGeneric, "Cannot call D3DAppShowBackBuffer while bRenderingIsOK is FALSE.\n");
    return false;
  }
  if (!d.frontBuffer || !d.backBuffer) return true;
  // The front buffer is the view window's pixels: once that window is gone there is nowhere to show.
  if (!d.window || !isWindow(d.window)) return true;
  // The front buffer is the view window's own pixels, so a rectangle lands at the same place in it; the
  // window system puts the window at its screen origin.
  RectList toShow;
  if (area == FrameArea::WholeWindow) toShow = RectList{1, {wholeWindow(d)}};
  else toShow = mergeDirtyRects(d.lastShownRects, d.frameRects);
  for (int i = 0; i < toShow.count; ++i) {
    const Rect& r = toShow.rects[i];
    const HResult result = surfaceBltFast(*d.frontBuffer, r.left, r.top, *d.backBuffer, &r, kCopyPlain);
    if (failed(result)) {
      setRenderError(d, result, "Blt of back buffer to front buffer failed.\n%s", resultText(result));
      return false;
    }
  }
  d.lastShownRects = d.frameRects;
  return true;
}

void showWholeWindowNext(RenderDevice& d) {
  const RectList whole{1, {wholeWindow(d)}};
  d.lastShownRects = d.frameRects = d.zClearRects = whole;
}
