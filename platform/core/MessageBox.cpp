// Message boxes in the style of a classic desktop dialog: a caption bar, an icon, wrapped Korean text and
// bevelled buttons. The box runs its own message loop; its owner is disabled meanwhile while every other
// window goes on receiving its messages (the program relies on paint messages arriving during a box).
//
// Index: [SECTION] Layout  [SECTION] Painting  [SECTION] Window procedure  [SECTION] Modal loop

#include <cmath>

#include "platform/core/DialogLook.h"
#include "platform/core/WindowState.h"

namespace {

constexpr int kButtonWidth = 84, kButtonHeight = 26, kButtonGap = 10, kMargin = 16;
constexpr int kIconSize = 34, kMaxTextWidth = 380;
const char* kClassName = "#MessageBox";
constexpr uint32_t kHeadlessGiveUpMs = 10 * 60 * 1000;

struct Button {
  int id;
  const char* label;
  Rect rect;
};

struct Box {
  std::string text, caption;
  uint32_t type = 0;
  std::vector<Button> buttons;
  int focused = 0;
  int pressed = -1;       // index of the button held down with the pointer
  bool pressedInside = false;
  int result = 0;
  Rect textRect;
  std::string wrapped;
};

Box* activeBox(HWindow window) { return reinterpret_cast<Box*>(windowUserData(window)); }

TextStyle bodyStyle() { return TextStyle{13, TextWeight::Regular, kTextColour}; }

// [SECTION] Layout

std::vector<Button> buttonsFor(uint32_t type) {
  switch (type & 0xF) {
    case MB_OKCANCEL: return {{IDOK, "확인", {}}, {IDCANCEL, "취소", {}}};
    case MB_YESNOCANCEL: return {{IDYES, "예", {}}, {IDNO, "아니요", {}}, {IDCANCEL, "취소", {}}};
    case MB_YESNO: return {{IDYES, "예", {}}, {IDNO, "아니요", {}}};
    default: return {{IDOK, "확인", {}}};
  }
}

bool hasIcon(uint32_t type) { return (type & 0xF0) == MB_ICONWARNING || (type & 0xF0) == MB_ICONINFORMATION; }

// Lays the box out and returns its size.
Point layout(Box& box) {
  TextStyle style = bodyStyle();
  box.wrapped = wrapText(box.text, style, kMaxTextWidth);
  int textWidth = 0, lines = 0;
  size_t start = 0;
  while (true) {
    size_t end = box.wrapped.find('\n', start);
    std::string line = box.wrapped.substr(start, end == std::string::npos ? std::string::npos : end - start);
    textWidth = std::max(textWidth, measureText(line, style).x);
    ++lines;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  int lineHeight = bodyLineHeight(style);
  int textHeight = lines * lineHeight;
  int iconSpace = hasIcon(box.type) ? kIconSize + 14 : 0;
  int buttonsWidth = static_cast<int>(box.buttons.size()) * kButtonWidth +
                     (static_cast<int>(box.buttons.size()) - 1) * kButtonGap;
  int captionWidth = measureText(box.caption, TextStyle{13, TextWeight::Bold, 0}).x + 24;
  int width = std::max({kMargin * 2 + iconSpace + textWidth, kMargin * 2 + buttonsWidth, captionWidth, 200});
  int bodyHeight = std::max(textHeight, hasIcon(box.type) ? kIconSize : 0);
  int height = kCaptionHeight + kMargin + bodyHeight + kMargin + kButtonHeight + 14;
  int textTop = kCaptionHeight + kMargin + (bodyHeight - textHeight) / 2;
  box.textRect = Rect{kMargin + iconSpace, textTop, width - kMargin, textTop + textHeight};
  int x = (width - buttonsWidth) / 2, y = height - 14 - kButtonHeight;
  for (Button& button : box.buttons) {
    button.rect = Rect{x, y, x + kButtonWidth, y + kButtonHeight};
    x += kButtonWidth + kButtonGap;
  }
  return Point{width, height};
}

// [SECTION] Painting

void plot(Surface& s, int x, int y, uint16_t colour) {
  if (x >= 0 && y >= 0 && x < s.width && y < s.height) s.row(y)[x] = colour;
}

void drawIcon(Surface& s, int left, int top, uint32_t type) {
  bool warning = (type & 0xF0) == MB_ICONWARNING;
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x) {
      double px = x + 0.5, py = y + 0.5;
      bool inside, edge;
      if (warning) {  // a yellow triangle with a black border
        double half = (py - 2) * 0.6;
        double dx = std::fabs(px - kIconSize / 2.0);
        inside = py >= 2 && py <= kIconSize - 2 && dx <= half;
        edge = inside && (dx >= half - 1.6 || py >= kIconSize - 3.6);
      } else {  // a blue disc
        double d = std::hypot(px - kIconSize / 2.0, py - kIconSize / 2.0);
        inside = d <= kIconSize / 2.0 - 1;
        edge = inside && d >= kIconSize / 2.0 - 2.4;
      }
      if (inside) plot(s, left + x, top + y, edge ? kDark : warning ? rgb565(255, 214, 0) : rgb565(32, 96, 216));
    }
  TextStyle mark{warning ? 20 : 22, TextWeight::Bold, warning ? kTextColour : kLight};
  const char* glyph = warning ? "!" : "i";
  Point size = measureText(glyph, mark);
  drawText(s, left + (kIconSize - size.x) / 2, top + (kIconSize - size.y) / 2 + (warning ? 3 : 0), glyph, mark,
           s.bounds());
}

void paintBox(HWindow window, Box& box) {
  Surface& s = windowSurface(window);
  Rect all = s.bounds();
  paintWindowFace(s);
  paintCaptionBar(s, box.caption);
  if (hasIcon(box.type)) drawIcon(s, kMargin, kCaptionHeight + kMargin, box.type);
  TextStyle style = bodyStyle();
  int lineHeight = bodyLineHeight(style);
  int y = box.textRect.top;
  size_t start = 0;
  while (true) {
    size_t end = box.wrapped.find('\n', start);
    std::string line = box.wrapped.substr(start, end == std::string::npos ? std::string::npos : end - start);
    drawText(s, box.textRect.left, y, line, style, all);
    y += lineHeight;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    ButtonLook look;
    look.sunken = static_cast<int>(i) == box.pressed && box.pressedInside;
    look.framed = static_cast<int>(i) == box.focused;
    paintPushButton(s, box.buttons[i].rect, box.buttons[i].label, style, look);
  }
  windowPixelsChanged(window);
}

// [SECTION] Window procedure

int buttonAt(const Box& box, int x, int y) {
  for (size_t i = 0; i < box.buttons.size(); ++i)
    if (box.buttons[i].rect.contains(x, y)) return static_cast<int>(i);
  return -1;
}

int escapeAnswer(const Box& box) {
  for (const Button& b : box.buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  return box.buttons.size() == 1 ? box.buttons[0].id : 0;
}

intptr_t boxProc(HWindow window, const Message& m) {
  Box* box = activeBox(window);
  if (!box) return defWindowProc(window, m);
  switch (m.msg) {
    case Msg::Paint:
      paintBox(window, *box);
      validateRect(window, nullptr);
      return 0;
    case Msg::LButtonDown:
    case Msg::LButtonDblClk:
      box->pressed = buttonAt(*box, m.x, m.y);
      box->pressedInside = box->pressed >= 0;
      if (box->pressed >= 0) {
        box->focused = box->pressed;
        setCapture(window);
        invalidateRect(window, nullptr, false);
      }
      return 0;
    case Msg::MouseMove:
      if (box->pressed >= 0) {
        bool inside = box->buttons[box->pressed].rect.contains(m.x, m.y);
        if (inside != box->pressedInside) {
          box->pressedInside = inside;
          invalidateRect(window, nullptr, false);
        }
      }
      return 0;
    case Msg::LButtonUp:
      if (box->pressed >= 0) {
        releaseCapture();
        if (box->buttons[box->pressed].rect.contains(m.x, m.y)) box->result = box->buttons[box->pressed].id;
        box->pressed = -1;
        box->pressedInside = false;
        invalidateRect(window, nullptr, false);
      }
      return 0;
    case Msg::KeyDown:
      if (m.key == VK_RETURN || m.key == VK_SPACE) box->result = box->buttons[box->focused].id;
      if (m.key == VK_ESCAPE) box->result = escapeAnswer(*box);
      if (m.key == VK_TAB || m.key == VK_RIGHT || m.key == VK_LEFT) {
        int n = static_cast<int>(box->buttons.size());
        box->focused = (box->focused + (m.key == VK_LEFT ? n - 1 : 1)) % n;
        invalidateRect(window, nullptr, false);
      }
      return 0;
    case Msg::Close:
      box->result = escapeAnswer(*box);
      return 0;
    default: return defWindowProc(window, m);
  }
}

}  // namespace

// [SECTION] Modal loop

int messageBox(HWindow owner, const std::string& text, const std::string& caption, uint32_t type) {
  auto& ws = windowSystem();
  if (!ws.started) return (type & 0xF) == MB_YESNO || (type & 0xF) == MB_YESNOCANCEL ? IDNO : IDOK;
  if (!isClassRegistered(kClassName)) registerClass(WindowClass{kClassName, CS_REDRAW, "arrow", boxProc});
  Box box;
  box.text = text;
  box.caption = caption;
  box.type = type;
  box.buttons = buttonsFor(type);
  Point size = layout(box);
  Rect centreOn = isLiveWindow(owner) ? windowRect(owner) : Rect{0, 0, ws.mode.width, ws.mode.height};
  int x = centreOn.left + (centreOn.width() - size.x) / 2, y = centreOn.top + (centreOn.height() - size.y) / 2;
  x = std::max(0, std::min(x, ws.mode.width - size.x));
  y = std::max(0, std::min(y, ws.mode.height - size.y));

  bool ownerWasEnabled = isWindowEnabled(owner);
  HWindow previousFocus = focusWindow();
  if (isLiveWindow(owner)) enableWindow(owner, false);
  HWindow window = createWindow(kClassName, caption, true, x, y, size.x, size.y, isLiveWindow(owner) ? owner : nullptr);
  if (!window) {
    if (isLiveWindow(owner)) enableWindow(owner, ownerWasEnabled);
    return escapeAnswer(box) ? escapeAnswer(box) : box.buttons[0].id;
  }
  setWindowUserData(window, reinterpret_cast<intptr_t>(&box));
  showWindow(window, ShowCmd::Show);
  HCursor previousCursor = setCursor(loadCursor("arrow"));

  int scripted = ws.backend->answerMessageBox(text, caption, type, windowClassName(owner));
  uint32_t opened = tickCount();
  bool quit = false;
  int quitCode = 0;
  Message message;
  while (box.result == 0 && isLiveWindow(window)) {
    if (peekMessage(message)) {
      if (message.msg == Msg::Quit) {
        quit = true;
        quitCode = message.code;
        box.result = escapeAnswer(box) ? escapeAnswer(box) : box.buttons[0].id;
        break;
      }
      dispatchMessage(message);
      continue;
    }
    // The queue is empty: everything the box's opening caused has been painted.
    if (scripted) {
      box.result = scripted;
      break;
    }
    // Nobody will ever answer a headless box whose input has run out: give up rather than hang.
    if (ws.kind == Backend::Headless && tickCount() - opened > kHeadlessGiveUpMs) break;
    idleWait(ws.kind == Backend::Sdl ? 5 : 0);
  }
  int result = box.result;
  if (isLiveWindow(window)) {
    setWindowUserData(window, 0);
    destroyWindow(window);
  }
  if (isLiveWindow(owner)) enableWindow(owner, ownerWasEnabled);
  if (result == 0) result = escapeAnswer(box) ? escapeAnswer(box) : box.buttons[0].id;
  if (isLiveWindow(previousFocus)) setForegroundWindow(previousFocus);
  setCursor(previousCursor);
  if (quit) postQuitMessage(quitCode);
  return result;
}
