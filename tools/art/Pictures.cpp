// Start, credits, banner, empty-slot card and the explosion sprite.
#include "tools/art/Pictures.h"

#include "tools/art/Icons.h"
#include "tools/art/Panels.h"
#include "tools/art/Preview.h"

#include <cmath>

namespace {
const Colour rimInk = rgbColour(24, 28, 44);

// A brick seen from above at an angle: top face with studs, front and side faces.
void drawIsoBrick(cairo_t* cr, double x, double y, int studsX, int studsZ, double unit, Colour c) {
  const double dx = unit, dz = unit * 0.5, h = unit * 1.2;
  auto face = [&](std::initializer_list<std::pair<double, double>> pts, Colour col) {
    bool first = true;
    for (auto [px, py] : pts) {
      if (first) cairo_move_to(cr, px, py);
      else cairo_line_to(cr, px, py);
      first = false;
    }
    cairo_close_path(cr);
    setColour(cr, col);
    cairo_fill_preserve(cr);
    setColour(cr, shade(c, 0.4));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  };
  double wx = studsX * dx, wz = studsZ * dz;
  face({{x, y}, {x + wx, y}, {x + wx + wz, y - wz}, {x + wz, y - wz}}, shade(c, 1.2));
  face({{x, y}, {x + wx, y}, {x + wx, y + h}, {x, y + h}}, c);
  face({{x + wx, y}, {x + wx + wz, y - wz}, {x + wx + wz, y - wz + h}, {x + wx, y + h}}, shade(c, 0.75));
  for (int j = studsZ - 1; j >= 0; --j)
    for (int i = 0; i < studsX; ++i) {
      double sx = x + (i + 0.5) * dx + (j + 0.5) * dz, sy = y - (j + 0.5) * dz;
      cairo_save(cr);
      cairo_translate(cr, sx, sy);
      cairo_scale(cr, 1, 0.5);
      cairo_rectangle(cr, -unit * 0.3, -unit * 0.35 * 2, unit * 0.6, unit * 0.35 * 2);
      setColour(cr, shade(c, 0.9));
      cairo_fill(cr);
      cairo_arc(cr, 0, -unit * 0.7, unit * 0.3, 0, 2 * M_PI);
      setColour(cr, shade(c, 1.3));
      cairo_fill(cr);
      cairo_arc(cr, 0, 0, unit * 0.3, 0, M_PI);
      setColour(cr, shade(c, 0.9));
      cairo_fill(cr);
      cairo_restore(cr);
    }
}

void skyAndGround(cairo_t* cr, double w, double h) {
  fillGradient(cr, 0, 0, w, h * 0.7, rgbColour(70, 150, 240), rgbColour(190, 228, 255));
  fillGradient(cr, 0, h * 0.7, w, h * 0.3, rgbColour(90, 190, 80), rgbColour(40, 130, 50));
  for (int i = 0; i < 4; ++i) {
    double cx = w * (0.12 + 0.26 * i), cy = h * (0.12 + 0.05 * (i % 2));
    for (int k = 0; k < 4; ++k) {
      cairo_arc(cr, cx + k * w * 0.03, cy + (k % 2) * h * 0.015, w * (0.03 + 0.01 * (k % 2)), 0, 2 * M_PI);
      setColour(cr, palette::white, 0.9);
      cairo_fill(cr);
    }
  }
}

// The title picture: a little brick house with a tree on a green plate, and the aeroplane overhead.
Picture startPicture(const std::vector<ShapeDesign>& shapes) {
  Canvas c(640, 480);
  cairo_t* cr = c.cr();
  skyAndGround(cr, 640, 480);
  const double unit = 24, rowHeight = unit * 1.2;
  drawIsoBrick(cr, 96, 420, 18, 7, unit, rgbColour(40, 160, 60));
  // The front wall in a running bond, eight studs long, two deep.
  const Colour wall[] = {palette::yellow, palette::white, palette::yellow, palette::white, palette::yellow};
  const double wallX = 150, wallY = 410 - rowHeight;
  for (int row = 0; row < 5; ++row) {
    const std::vector<int> lengths = row % 2 == 0 ? std::vector<int>{4, 4} : std::vector<int>{2, 4, 2};
    double x = wallX;
    for (int length : lengths) {
      drawIsoBrick(cr, x, wallY - row * rowHeight, length, 2, unit, wall[row]);
      x += length * unit;
    }
  }
  const double wallW = 8 * unit, depth = 2 * unit * 0.5, eaves = wallY - 4 * rowHeight;
  const double peak = eaves - 80;
  auto polygon = [&](std::initializer_list<std::pair<double, double>> pts, Colour fill) {
    bool first = true;
    for (auto [px, py] : pts) {
      if (first) cairo_move_to(cr, px, py);
      else cairo_line_to(cr, px, py);
      first = false;
    }
    cairo_close_path(cr);
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, shade(fill, 0.45));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  };
  polygon({{wallX + wallW / 2, peak}, {wallX + wallW, eaves}, {wallX + wallW + depth, eaves - depth},
           {wallX + wallW / 2 + depth, peak - depth}}, shade(palette::red, 0.8));
  polygon({{wallX - 8, eaves}, {wallX + wallW / 2, peak}, {wallX + wallW + 8, eaves}}, palette::red);
  // Door and windows on the front wall.
  polygon({{wallX + 84, 410}, {wallX + 84, 410 - 2.6 * rowHeight}, {wallX + 108, 410 - 2.6 * rowHeight}, {wallX + 108, 410}},
          rgbColour(150, 90, 40));
  for (double wx : {wallX + 22, wallX + 134})
    polygon({{wx, 410 - 1.4 * rowHeight}, {wx, 410 - 3.2 * rowHeight}, {wx + 36, 410 - 3.2 * rowHeight}, {wx + 36, 410 - 1.4 * rowHeight}},
            rgbColour(120, 200, 255));
  // A column of bricks and a tree beside the house.
  const Colour tower[] = {palette::blue, palette::red, palette::green, palette::orange, palette::blue};
  for (int row = 0; row < 5; ++row) drawIsoBrick(cr, 420, 396 - row * rowHeight, 2, 2, unit, tower[row]);
  if (shapes.size() == size_t(shapeCount)) {
    drawMeshPreview(cr, shapes[19].mesh, 500, 250, 70, 150, rgbColour(40, 150, 60));
    drawMeshPreview(cr, shapes[aeroplaneEntry].mesh, 440, 120, 140, 90, palette::red);
  }
  drawLogo(cr, 250, 96, 92);
  drawOutlinedText(cr, "쌓고, 만들고, 날려 보아요!", 250, 168, 26, Weight::Bold, palette::white, rimInk, 3);
  drawOutlinedText(cr, "불러오는 중…", 320, 458, 16, Weight::Bold, palette::yellow, rimInk, 2);
  return c.picture();
}

Picture creditsPicture() {
  Canvas c(640, 480);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 640, 480, rgbColour(30, 50, 120), rgbColour(10, 16, 50));
  for (int i = 0; i < 60; ++i) {
    double x = std::fmod(i * 97.3, 640), y = std::fmod(i * 53.7, 480);
    cairo_arc(cr, x, y, 1 + (i % 3) * 0.6, 0, 2 * M_PI);
    setColour(cr, palette::white, 0.7);
    cairo_fill(cr);
  }
  drawLogo(cr, 320, 70, 64);
  drawOutlinedText(cr, "만든 사람들", 320, 140, 30, Weight::Bold, palette::yellow, rimInk, 3);
  const char* lines[][2] = {{"기획과 놀이", "톨바네 놀이 연구실"}, {"블록과 모양", "모양 공방"},
                            {"그림과 단추", "그림 공방"},        {"소리와 음악", "소리 공방"},
                            {"비행기 게임", "게임 공방"},        {"함께 한 분", "블록을 사랑하는 모든 어린이"}};
  double y = 200;
  for (auto& l : lines) {
    drawText(cr, l[0], 230, y, 18, Weight::Bold, rgbColour(150, 200, 255));
    drawText(cr, l[1], 420, y, 18, Weight::Regular, palette::white);
    y += 38;
  }
  const Colour colours[] = {palette::red, palette::yellow, palette::blue, palette::green, palette::orange};
  for (int i = 0; i < 10; ++i) drawIsoBrick(cr, 40 + i * 58, 452, 2, 1, 18, colours[i % 5]);
  return c.picture();
}

Picture bannerPicture() {
  Canvas c(640, 72);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 640, 72, rgbColour(255, 214, 40), rgbColour(255, 160, 20));
  for (int i = 0; i < 27; ++i) drawStud(cr, 12 + i * 24, 10, 6, rgbColour(255, 200, 30));
  drawLogo(cr, 110, 44, 36);
  drawOutlinedText(cr, "내 작품 상자", 420, 44, 28, Weight::Bold, palette::white, rgbColour(150, 70, 0), 3);
  cairo_rectangle(cr, 0, 70, 640, 2);
  setColour(cr, rgbColour(150, 70, 0));
  cairo_fill(cr);
  return c.picture();
}

Picture emptySlotPicture() {
  Canvas c(thumbnailWidth, thumbnailHeight);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 98, 69, rgbColour(235, 240, 250), rgbColour(200, 210, 230));
  const double dashes[2] = {4, 3};
  cairo_set_dash(cr, dashes, 2, 0);
  roundedRect(cr, 4.5, 4.5, 89, 60, 6);
  setColour(cr, rgbColour(120, 130, 160));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  drawIsoBrick(cr, 34, 34, 2, 2, 10, rgbColour(170, 180, 200));
  drawText(cr, "비어 있음", 49, 54, 11, Weight::Bold, rgbColour(90, 100, 130));
  return c.picture();
}

// Ten frames of a burst: a flash, a growing star of sparks, flying brick bits, then smoke puffs.
// The background is pure magenta, the colour key; no drawn pixel comes near it.
Picture explosionSprite() {
  const Rgb key{255, 0, 255};
  Picture sprite(100, 1000, key);
  for (int frame = 0; frame < 10; ++frame) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
    cairo_t* cr = cairo_create(s);
    const double t = frame / 9.0;
    const double cx = 50, cy = 50;
    if (frame < 7) {
      double outer = 14 + 34 * std::sin(t * M_PI * 0.75), inner = outer * 0.45;
      cairo_new_path(cr);
      for (int i = 0; i < 20; ++i) {
        double a = i * M_PI / 10 + frame * 0.2, r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
      }
      cairo_close_path(cr);
      setColour(cr, frame < 4 ? rgbColour(255, 150, 20) : rgbColour(230, 90, 20));
      cairo_fill(cr);
      cairo_arc(cr, cx, cy, inner * 0.9, 0, 2 * M_PI);
      setColour(cr, rgbColour(255, 230, 80));
      cairo_fill(cr);
      if (frame < 3) {
        cairo_arc(cr, cx, cy, inner * 0.5, 0, 2 * M_PI);
        setColour(cr, rgbColour(255, 255, 230));
        cairo_fill(cr);
      }
    }
    // Brick bits fly outward and fall.
    const Colour bits[] = {palette::red, palette::blue, palette::yellow, palette::green};
    for (int i = 0; i < 8 && frame >= 2; ++i) {
      double a = i * M_PI / 4 + 0.3, d = 10 + 40 * t;
      double x = cx + d * std::cos(a), y = cy + d * std::sin(a) + 20 * t * t;
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_rotate(cr, frame * 0.6 + i);
      cairo_rectangle(cr, -4, -3, 8, 6);
      setColour(cr, bits[i % 4]);
      cairo_fill_preserve(cr);
      setColour(cr, rimInk);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      cairo_restore(cr);
    }
    for (int i = 0; i < 5 && frame >= 5; ++i) {
      double a = i * 2 * M_PI / 5 + 0.5, d = 14 + 20 * t;
      cairo_arc(cr, cx + d * std::cos(a), cy + d * std::sin(a) - 10 * t, 6 + 8 * (t - 0.5), 0, 2 * M_PI);
      setColour(cr, rgbColour(150, 150, 160));
      cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    // Hard edges: half-covered pixels become the key or the solid colour, never a pink blend.
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride))[x];
        unsigned alpha = p >> 24;
        if (alpha < 128 || (y == 0 && x == 0)) continue;
        auto un = [alpha](unsigned v) { return uint8_t(std::min(255u, v * 255u / alpha)); };
        sprite.set(x, frame * 100 + y, {un((p >> 16) & 0xff), un((p >> 8) & 0xff), un(p & 0xff)});
      }
    cairo_surface_destroy(s);
  }
  return sprite;
}
// The program's icon for the desktop's menus: three bricks stacked, red, blue and yellow, on a clear ground.
std::string programIcon() {
  Canvas canvas(128, 128);
  cairo_t* cr = canvas.cr();
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  drawBrickFront(cr, 8, 84, 112, 36, palette::red, 4);
  drawBrickFront(cr, 22, 46, 84, 36, palette::blue, 3);
  drawBrickFront(cr, 36, 8, 56, 36, palette::yellow, 2);
  return canvas.pngBytes();
}

}  // namespace

void makePictures(OutputList& out, const std::vector<ShapeDesign>& shapes) {
  out.push_back({"icon/tolvane.png", programIcon()});
  out.push_back({"bmp/start.bmp", encodeBmp(startPicture(shapes))});
  out.push_back({"scene/cast2.tbm", encodeBmp(creditsPicture())});
  out.push_back({"bmp/filemenu.bmp", encodeBmp(bannerPicture())});
  out.push_back({"save/save000.bmp", encodeBmp(emptySlotPicture())});
  out.push_back({"menu/explode.bmp", encodeBmp(explosionSprite())});
}
