// Painting shared by message boxes and dialogs.
#include "platform/core/DialogLook.h"

#include <algorithm>

void paintBevel(Surface& s, const Rect& r, Bevel bevel) {
  bool sunken = bevel == Bevel::Sunken;
  uint16_t topLeft = sunken ? kDark : kLight, bottomRight = sunken ? kLight : kDark;
  uint16_t innerTopLeft = sunken ? kShadow : kFace, innerBottomRight = sunken ? kFace : kShadow;
  fillSurfaceRect(s, Rect{r.left, r.top, r.right, r.top + 1}, topLeft);
  fillSurfaceRect(s, Rect{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  fillSurfaceRect(s, Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  fillSurfaceRect(s, Rect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  fillSurfaceRect(s, Rect{r.left + 1, r.top + 1, r.right - 1, r.top + 2}, innerTopLeft);
  fillSurfaceRect(s, Rect{r.left + 1, r.top + 1, r.left + 2, r.bottom - 1}, innerTopLeft);
  fillSurfaceRect(s, Rect{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, innerBottomRight);
  fillSurfaceRect(s, Rect{r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, innerBottomRight);
}

void paintWindowFace(Surface& s) {
  fillSurfaceRect(s, s.bounds(), kFace);
  paintBevel(s, s.bounds(), Bevel::Raised);
}

void paintCaptionBar(Surface& s, const std::string& title) {
  for (int x = 3; x < s.width - 3; ++x) {
    double t = static_cast<double>(x) / std::max(1, s.width - 1);
    uint16_t c = rgb565(static_cast<int>(red565(kCaptionLeft) * (1 - t) + red565(kCaptionRight) * t),
                        static_cast<int>(green565(kCaptionLeft) * (1 - t) + green565(kCaptionRight) * t),
                        static_cast<int>(blue565(kCaptionLeft) * (1 - t) + blue565(kCaptionRight) * t));
    fillSurfaceRect(s, Rect{x, 3, x + 1, kCaptionHeight}, c);
  }
  TextStyle captionStyle{13, TextWeight::Bold, kLight};
  drawText(s, 8, 4, title, captionStyle, Rect{3, 3, s.width - 3, kCaptionHeight});
}

void paintOutline(Surface& s, const Rect& r, uint16_t colour) {
  fillSurfaceRect(s, Rect{r.left, r.top, r.right, r.top + 1}, colour);
  fillSurfaceRect(s, Rect{r.left, r.bottom - 1, r.right, r.bottom}, colour);
  fillSurfaceRect(s, Rect{r.left, r.top, r.left + 1, r.bottom}, colour);
  fillSurfaceRect(s, Rect{r.right - 1, r.top, r.right, r.bottom}, colour);
}

void paintFocusRect(Surface& s, const Rect& r) {
  Rect inside = intersectRect(r, s.bounds());
  auto dot = [&](int x, int y) {
    if (inside.contains(x, y) && (x + y) % 2 == 0) s.row(y)[x] = kTextColour;
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    dot(x, r.bottom - 1);
  }
  for (int y = r.top; y < r.bottom; ++y) {
    dot(r.left, y);
    dot(r.right - 1, y);
  }
}

void paintEtchedFrame(Surface& s, const Rect& r) {
  paintOutline(s, Rect{r.left + 1, r.top + 1, r.right, r.bottom}, kLight);
  paintOutline(s, Rect{r.left, r.top, r.right - 1, r.bottom - 1}, kShadow);
}

void drawGreyText(Surface& s, int x, int y, const std::string& utf8, const TextStyle& style, const Rect& clip) {
  drawText(s, x + 1, y + 1, utf8, TextStyle{style.size, style.weight, kLight}, clip);
  drawText(s, x, y, utf8, TextStyle{style.size, style.weight, kShadow}, clip);
}

void paintPushButton(Surface& s, const Rect& r, const std::string& label, const TextStyle& style, ButtonLook look) {
  fillSurfaceRect(s, r, kFace);
  if (look.framed) paintOutline(s, Rect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, kTextColour);
  paintBevel(s, r, look.sunken ? Bevel::Sunken : Bevel::Raised);
  Point size = measureText(label, style);
  int offset = look.sunken ? 1 : 0;
  int x = r.left + (r.width() - size.x) / 2 + offset, y = r.top + (r.height() - size.y) / 2 + offset;
  if (look.enabled)
    drawText(s, x, y, label, style, r);
  else
    drawGreyText(s, x, y, label, style, r);
  if (look.focused) paintFocusRect(s, Rect{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4});
}

int bodyLineHeight(const TextStyle& style) { return std::max(style.size + 3, measureText("가", style).y + 2); }
