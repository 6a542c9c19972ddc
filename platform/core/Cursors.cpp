// The six cursors: an open hand while a block is held, a pointing hand over things to click, a paint
// brush, a loudspeaker, a no-entry sign and a hammer. The hands are drawn pixel by pixel; the others are
// built from simple shapes and given a black outline, so every one reads on any background.
#include <cmath>
#include <cstring>
#include <functional>

#include "platform/core/CursorArt.h"

namespace {

constexpr int kSize = 32;
constexpr uint32_t kClear = 0x00000000, kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

// '.' white, 'X' black, ' ' clear.
const char* kOpenHand[] = {
    "       XX XX          ",
    "   XX X..X..XX        ",
    "  X..XX..X..X.X       ",
    "  X..XX..X..X..X      ",
    "   X..X..X..X..X      ",
    "   X..X..X..X..X XX   ",
    "    X..........XX..X  ",
    " XX X..............X  ",
    "X..XX.............X   ",
    "X...X.............X   ",
    " X...............X    ",
    "  X..............X    ",
    "  X.............X     ",
    "   X............X     ",
    "    X..........X      ",
    "     X.........X      ",
    "     X.........X      ",
    "     XXXXXXXXXXX      ",
};

const char* kPointingHand[] = {
    "     XX             ",
    "    X..X            ",
    "    X..X            ",
    "    X..X            ",
    "    X..X            ",
    "    X..XXX          ",
    "    X..X..XXX       ",
    "    X..X..X..XX     ",
    " XX X..X..X..X.X    ",
    "X..XX........X..X   ",
    "X...X...........X   ",
    " X..............X   ",
    "  X.............X   ",
    "  X............X    ",
    "   X...........X    ",
    "    X.........X     ",
    "    X.........X     ",
    "    XXXXXXXXXXX     ",
};

void drawRows(std::vector<uint32_t>& pixels, const char* const* rows, int count) {
  for (int y = 0; y < count && y < kSize; ++y)
    for (int x = 0; rows[y][x] && x < kSize; ++x) {
      char c = rows[y][x];
      if (c == 'X') pixels[y * kSize + x] = kBlack;
      if (c == '.') pixels[y * kSize + x] = kWhite;
    }
}

// A shape is "which colour covers this point", or clear.
using Shape = std::function<uint32_t(double x, double y)>;

// A rectangle of half-sizes (hw, hh) centred on (cx, cy) and turned by angle degrees.
Shape box(double cx, double cy, double hw, double hh, double angle, uint32_t colour) {
  double c = std::cos(angle * M_PI / 180), s = std::sin(angle * M_PI / 180);
  return [=](double x, double y) {
    double u = (x - cx) * c + (y - cy) * s, v = -(x - cx) * s + (y - cy) * c;
    return std::fabs(u) <= hw && std::fabs(v) <= hh ? colour : kClear;
  };
}

Shape ring(double cx, double cy, double inner, double outer, uint32_t colour) {
  return [=](double x, double y) {
    double d = std::hypot(x - cx, y - cy);
    return d >= inner && d <= outer ? colour : kClear;
  };
}

Shape disc(double cx, double cy, double r, uint32_t colour) { return ring(cx, cy, -1, r, colour); }

// The part of a ring to the right of its centre, within a cone: a sound wave.
Shape wave(double cx, double cy, double inner, double outer, uint32_t colour) {
  Shape full = ring(cx, cy, inner, outer, colour);
  return [=](double x, double y) { return x > cx + 1 && std::fabs(y - cy) < (x - cx) * 1.3 ? full(x, y) : kClear; };
}

// Later shapes cover earlier ones; then every clear pixel beside a coloured one becomes black.
void drawShapes(std::vector<uint32_t>& pixels, const std::vector<Shape>& shapes) {
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      for (const Shape& shape : shapes)
        if (uint32_t colour = shape(x + 0.5, y + 0.5)) pixels[y * kSize + x] = colour;
  std::vector<uint32_t> outlined = pixels;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      if (pixels[y * kSize + x]) continue;
      bool beside = (x > 0 && pixels[y * kSize + x - 1]) || (x + 1 < kSize && pixels[y * kSize + x + 1]) ||
                    (y > 0 && pixels[(y - 1) * kSize + x]) || (y + 1 < kSize && pixels[(y + 1) * kSize + x]);
      if (beside) outlined[y * kSize + x] = kBlack;
    }
  pixels.swap(outlined);
}

const CursorArt kCursors[] = {
    {"HAND", kSize, 10, 9}, {"HAND2", kSize, 5, 0},  {"PAINT", kSize, 2, 23},
    {"SOUND", kSize, 10, 10}, {"CANNOT", kSize, 11, 11}, {"HAMMER", kSize, 5, 5},
};

}  // namespace

const CursorArt* findCursorArt(const std::string& name) {
  for (const CursorArt& art : kCursors)
    if (name == art.name) return &art;
  return nullptr;
}

std::vector<uint32_t> cursorPixels(const CursorArt& art) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kSize) * kSize, kClear);
  std::string name = art.name;
  const uint32_t brown = 0xFFB0642A, darkBrown = 0xFF7A4015, steel = 0xFFB8BEC8, darkSteel = 0xFF6E7682;
  const uint32_t red = 0xFFE02828, blue = 0xFF2F6FD8, yellow = 0xFFFFD23A;
  if (name == "HAND") {
    drawRows(pixels, kOpenHand, static_cast<int>(std::size(kOpenHand)));
  } else if (name == "HAND2") {
    drawRows(pixels, kPointingHand, static_cast<int>(std::size(kPointingHand)));
  } else if (name == "PAINT") {
    // A brush held at 45 degrees, its wet red tip at the hot spot.
    drawShapes(pixels, {box(14.5, 11.5, 8.5, 1.8, -45, brown), box(7.8, 18.2, 2.2, 2.6, -45, steel),
                        box(4.6, 21.4, 2.0, 2.4, -45, red), disc(3.2, 23.0, 1.6, red)});
  } else if (name == "SOUND") {
    // A loudspeaker: magnet, cone, and two waves.
    drawShapes(pixels, {box(4.5, 11.5, 2.5, 3.0, 0, darkSteel), box(8.5, 11.5, 1.5, 3.0, 0, blue),
                        [=](double x, double y) {  // the cone widens to the right
                          return x >= 9 && x <= 14 && std::fabs(y - 11.5) <= 3.0 + (x - 9) * 1.1 ? blue : kClear;
                        },
                        wave(13.0, 11.5, 3.5, 5.0, yellow), wave(13.0, 11.5, 7.0, 8.5, yellow)});
  } else if (name == "CANNOT") {
    drawShapes(pixels, {disc(11.5, 11.5, 8.0, kWhite), ring(11.5, 11.5, 7.0, 10.0, red),
                        box(11.5, 11.5, 8.0, 1.6, 45, red)});
  } else if (name == "HAMMER") {
    // A wooden handle and a steel head whose striking face is at the hot spot.
    drawShapes(pixels, {box(14.0, 14.0, 10.0, 1.8, 45, brown), box(15.5, 15.5, 6.0, 1.0, 45, darkBrown),
                        box(8.5, 8.5, 6.5, 3.2, -45, steel), box(4.8, 12.2, 1.5, 3.2, -45, darkSteel)});
  }
  return pixels;
}
