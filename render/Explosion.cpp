// The hammer's explosion: save what the frame will cover, copy the frame with its colour key, and put
// the saved pixels back after the frame has been shown.
#include "render/Explosion.h"

#include <algorithm>

#include "render/Bitmaps.h"
#include "render/RenderDevice.h"

namespace {

constexpr uint32_t kFrameMs = 20;

void draw(ExplosionSprite& e, RenderDevice& d, uint32_t now) {
  // The frame centred on the point, cut at the view's edges; dx and dy say how much was cut on the left
  // and at the top, so that the source moves with it.
  const int half = e.cell.width() / 2;
  Rect r = offsetRect(e.cell, e.point.x - half, e.point.y - half);
  const int dx = std::max(0, -r.left), dy = std::max(0, -r.top);
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, d.clientWidth);
  r.bottom = std::min(r.bottom, d.clientHeight);

  // The first frame always shows; later ones wait until 20 ms have passed since the last advance.
  if (e.frame == 0 || now - e.lastStepTick > kFrameMs) {
    e.lastStepTick = now;
    ++e.frame;
  }
  if (e.frame > e.frameCount) e.frame = e.frameCount;

  e.drawn = false;
  if (r.empty() || !d.backBuffer || !e.saveUnder || !e.picture) return;
  const Rect saved{0, 0, r.width(), r.height()};
  surfaceBltFast(*e.saveUnder, saved.left, saved.top, *d.backBuffer, &r, kCopyPlain);
  const int frameTop = e.cell.height() * (e.frame - 1);
  const Rect source = offsetRect(saved, dx, dy + frameTop);
  surfaceBltFast(*d.backBuffer, r.left, r.top, *e.picture, &source, kCopySourceColourKey);
  e.area = unionRect(e.area, r);
  e.lastDrawn = r;
  e.lastSaved = saved;
  e.drawn = true;
}

}  // namespace

bool prepareExplosion(ExplosionSprite& e, const std::string& pictureName, int frameCount, const Rect& cell) {
  e = ExplosionSprite{};
  e.frameCount = frameCount;
  e.cell = cell;
  e.picture = loadBitmapSurface(pictureName, 0, 0);
  if (!e.picture) return false;
  setSurfaceColourKey(*e.picture, CLR_INVALID);
  if (failed(createSurface(kSurfaceOffscreen, cell.width() + 1, cell.height() + 1, e.saveUnder))) {
    e.picture.reset();
    return false;
  }
  return true;
}

void startExplosion(ExplosionSprite& e, int x, int y) {
  e.point = Point{x, y};
  e.active = true;
}

ExplosionStep explosionStep(ExplosionSprite& e, RenderDevice& d, uint32_t now) {
  if (!e.active) return ExplosionStep::Idle;
  if (e.frame == 0 && e.frameCount != 0) {
    draw(e, d, now);
    return ExplosionStep::FirstFrame;
  }
  if (e.frame != 0 && e.frame < e.frameCount) {
    draw(e, d, now);
    return ExplosionStep::NextFrame;
  }
  e.frame = 0;
  e.active = false;
  return ExplosionStep::Ended;
}

void restoreUnderExplosion(ExplosionSprite& e, RenderDevice& d) {
  if (!e.drawn || !e.saveUnder || !d.backBuffer) return;
  surfaceBltFast(*d.backBuffer, e.lastDrawn.left, e.lastDrawn.top, *e.saveUnder, &e.lastSaved, kCopyPlain);
  e.drawn = false;
}
