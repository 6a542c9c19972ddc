// Painting a dialog: the face and caption bar of the message boxes, then each control in its own look.
// Controls are clipped to their rects; disabled ones are grey, hidden ones are not drawn.
#include "platform/core/DialogLook.h"
#include "platform/core/DialogState.h"

namespace {

constexpr int kCheckSize = 13, kCheckGap = 5;

void drawLabel(Surface& s, int x, int y, const std::string& text, const TextStyle& style, const Rect& clip,
               bool enabled) {
  if (enabled)
    drawText(s, x, y, text, style, clip);
  else
    drawGreyText(s, x, y, text, style, clip);
}

// The tick of a check box: a stroke three pixels thick, down and then up, in a 7x7 square.
void drawTick(Surface& s, int left, int top, uint16_t colour) {
  static const int kStrokeTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int x = 0; x < 7; ++x)
    fillSurfaceRect(s, Rect{left + x, top + kStrokeTop[x], left + x + 1, top + kStrokeTop[x] + 3}, colour);
}

void paintStatic(Surface& s, const Control& c, const Rect& r, const TextStyle& style) {
  std::string wrapped = wrapText(c.text, style, r.width());
  int lineHeight = bodyLineHeight(style), y = r.top;
  for (size_t start = 0; start <= wrapped.size(); y += lineHeight) {
    size_t end = std::min(wrapped.find('\n', start), wrapped.size());
    drawLabel(s, r.left, y, wrapped.substr(start, end - start), style, r, isUsable(c));
    start = end + 1;
  }
}

void paintGroupBox(Surface& s, const Control& c, const Rect& r, const TextStyle& style) {
  Point size = measureText(c.text.empty() ? "가" : c.text, style);
  paintEtchedFrame(s, Rect{r.left, r.top + size.y / 2, r.right, r.bottom});
  if (c.text.empty()) return;
  fillSurfaceRect(s, Rect{r.left + 6, r.top, std::min(r.right - 2, r.left + 10 + size.x), r.top + size.y}, kFace);
  drawLabel(s, r.left + 8, r.top, c.text, style, Rect{r.left, r.top, r.right - 4, r.bottom}, isUsable(c));
}

void paintCheckBox(Surface& s, const Control& c, const Rect& r, const TextStyle& style, bool held, bool focused) {
  int boxTop = r.top + (r.height() - kCheckSize) / 2;
  Rect box{r.left, boxTop, r.left + kCheckSize, boxTop + kCheckSize};
  fillSurfaceRect(s, box, isUsable(c) && !held ? kLight : kFace);
  paintBevel(s, box, Bevel::Sunken);
  if (c.checked) drawTick(s, box.left + 3, box.top + 3, isUsable(c) ? kTextColour : kShadow);
  Point size = measureText(c.text, style);
  int x = r.left + kCheckSize + kCheckGap, y = r.top + (r.height() - size.y) / 2;
  drawLabel(s, x, y, c.text, style, r, isUsable(c));
  if (focused && !c.text.empty())
    paintFocusRect(s, intersectRect(Rect{x - 2, y + 1, x + size.x + 2, y + size.y + 2}, r));
}

void paintEdit(Surface& s, const DialogState& d, const Control& c, const Rect& r, const TextStyle& style,
               bool focused) {
  fillSurfaceRect(s, r, isUsable(c) ? kLight : kFace);
  paintBevel(s, r, Bevel::Sunken);
  Rect area = offsetRect(editTextArea(c.item.rect), 0, d.captionHeight);
  std::string before = c.text.substr(0, std::min(c.caret, c.text.size()));
  std::string composing = focused ? d.composition : std::string();
  int height = measureText("가", style).y;
  // Korean letters sit low in the font's height: one pixel up centres them in the field.
  int x = area.left + 1 - c.scroll, y = r.top + (r.height() - height) / 2 - 1;
  drawLabel(s, x, y, before + composing + c.text.substr(before.size()), style, area, isUsable(c));
  int caretX = x + measureText(before + composing, style).x;
  if (!composing.empty()) {
    int start = x + measureText(before, style).x;
    fillSurfaceRect(s, intersectRect(Rect{start, y + height, caretX, y + height + 1}, area), kTextColour);
  }
  if (focused && isUsable(c))
    fillSurfaceRect(s, intersectRect(Rect{caretX, y, caretX + 1, y + height}, area), kTextColour);
}

void paintPicture(Surface& s, const Control& c, const Rect& r, bool held, bool focused) {
  int shift = held ? 1 : 0;
  Rect from{0, 0, std::min(c.picture.width, r.width() - shift), std::min(c.picture.height, r.height() - shift)};
  copySurfaceRect(s, r.left + shift, r.top + shift, c.picture, from);
  if (focused) {  // black dots on white, to be seen on any picture
    paintOutline(s, r, kLight);
    paintFocusRect(s, r);
  }
}

}  // namespace

TextStyle controlStyle(const DialogState& d) {
  return TextStyle{std::clamp(d.form.fontSize, 8, 32), TextWeight::Regular, kTextColour};
}

Rect editTextArea(const Rect& rect) { return Rect{rect.left + 3, rect.top + 2, rect.right - 3, rect.bottom - 2}; }

Rect windowRectOf(const DialogState& d, const Control& control) {
  return offsetRect(control.item.rect, 0, d.captionHeight);
}

void paintDialog(DialogState& d) {
  Surface& s = windowSurface(d.window);
  paintWindowFace(s);
  if (d.captionHeight) paintCaptionBar(s, d.form.title);
  TextStyle style = controlStyle(d);
  int defaultButton = enterTarget(d);
  // Group boxes first: the controls they hold are drawn over them.
  for (const Control& c : d.controls)
    if (c.item.kind == ControlKind::GroupBox && !c.item.hidden) paintGroupBox(s, c, windowRectOf(d, c), style);
  for (size_t i = 0; i < d.controls.size(); ++i) {
    const Control& c = d.controls[i];
    if (c.item.hidden) continue;
    Rect r = windowRectOf(d, c);
    int index = static_cast<int>(i);
    bool held = d.pressed == index && d.pressedInside, focused = d.focused == index;
    switch (c.item.kind) {
      case ControlKind::PushButton:
      case ControlKind::DefaultButton:
        paintPushButton(s, r, c.text, style, ButtonLook{held, defaultButton == index, focused, isUsable(c)});
        break;
      case ControlKind::CheckBox: paintCheckBox(s, c, r, style, held, focused); break;
      case ControlKind::Edit: paintEdit(s, d, c, r, style, focused); break;
      case ControlKind::Static: paintStatic(s, c, r, style); break;
      case ControlKind::GroupBox: break;
      case ControlKind::Picture: paintPicture(s, c, r, false, false); break;
      case ControlKind::PictureButton: paintPicture(s, c, r, held, focused); break;
    }
  }
  windowPixelsChanged(d.window);
}
