// Vector drawings of the panel symbols: each works in a 100-unit square, filled and rimmed.
#include "tools/art/Icons.h"

#include <cmath>

namespace {
// Fill the current path with the fill colour and a rim drawn first, so thin shapes stay readable.
void paintShape(cairo_t* cr, Colour fill, Colour rim, double rimWidth = 9) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  setColour(cr, rim);
  cairo_set_line_width(cr, rimWidth);
  cairo_stroke_preserve(cr);
  setColour(cr, fill);
  cairo_fill(cr);
}

// A thick stroke with a rim: stroke wide in rim colour, then narrower in fill colour.
void paintStroke(cairo_t* cr, Colour fill, Colour rim, double width) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_path_t* path = cairo_copy_path(cr);
  setColour(cr, rim);
  cairo_set_line_width(cr, width + 9);
  cairo_stroke(cr);
  cairo_append_path(cr, path);
  setColour(cr, fill);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  cairo_path_destroy(path);
}

void arrowHead(cairo_t* cr, double x, double y, double angle, double size) {
  double ca = std::cos(angle), sa = std::sin(angle);
  auto pt = [&](double u, double v) { cairo_line_to(cr, x + u * ca - v * sa, y + u * sa + v * ca); };
  cairo_move_to(cr, x + size * ca, y + size * sa);
  pt(-size * 0.5, size * 0.8);
  pt(-size * 0.5, -size * 0.8);
  cairo_close_path(cr);
}

// A curved arrow along a circle from angle a0 to a1 (radians), head at a1.
void curvedArrow(cairo_t* cr, double cx, double cy, double r, double a0, double a1, Colour fill, Colour rim) {
  cairo_new_path(cr);
  if (a1 > a0) cairo_arc(cr, cx, cy, r, a0, a1 - 0.35);
  else cairo_arc_negative(cr, cx, cy, r, a0, a1 + 0.35);
  paintStroke(cr, fill, rim, 12);
  double hx = cx + r * std::cos(a1), hy = cy + r * std::sin(a1);
  double tangent = a1 + (a1 > a0 ? M_PI / 2 : -M_PI / 2);
  arrowHead(cr, hx - 8 * std::cos(tangent), hy - 8 * std::sin(tangent), tangent, 22);
  paintShape(cr, fill, rim);
}

void gear(cairo_t* cr, Colour fill, Colour rim) {
  const int teeth = 8;
  cairo_new_path(cr);
  for (int i = 0; i < teeth * 2; ++i) {
    double a0 = i * M_PI / teeth, a1 = (i + 1) * M_PI / teeth;
    double r = (i % 2 == 0) ? 42 : 32;
    cairo_arc(cr, 50, 50, r, a0 - 0.02, a1 + 0.02);
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 50, 50, 13, 2 * M_PI, 0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  paintShape(cr, fill, rim);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void musicNote(cairo_t* cr, Colour fill, Colour rim) {
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, 32, 74);
  cairo_scale(cr, 1.25, 1.0);
  cairo_arc(cr, 0, 0, 12, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_new_sub_path(cr);
  cairo_save(cr);
  cairo_translate(cr, 70, 64);
  cairo_scale(cr, 1.25, 1.0);
  cairo_arc(cr, 0, 0, 12, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_rectangle(cr, 40, 20, 7, 55);
  cairo_rectangle(cr, 78, 12, 7, 53);
  cairo_move_to(cr, 40, 20);
  cairo_line_to(cr, 85, 10);
  cairo_line_to(cr, 85, 24);
  cairo_line_to(cr, 40, 34);
  cairo_close_path(cr);
  paintShape(cr, fill, rim, 8);
}

void aeroplane(cairo_t* cr, Colour fill, Colour rim) {
  cairo_new_path(cr);
  // Seen from above, nose up and to the right.
  cairo_save(cr);
  cairo_translate(cr, 50, 50);
  cairo_rotate(cr, M_PI / 4);
  cairo_move_to(cr, 0, -44);
  cairo_curve_to(cr, 7, -40, 7, -30, 7, -18);
  cairo_line_to(cr, 42, 2);
  cairo_line_to(cr, 42, 12);
  cairo_line_to(cr, 7, 4);
  cairo_line_to(cr, 6, 26);
  cairo_line_to(cr, 18, 36);
  cairo_line_to(cr, 18, 43);
  cairo_line_to(cr, 0, 38);
  cairo_line_to(cr, -18, 43);
  cairo_line_to(cr, -18, 36);
  cairo_line_to(cr, -6, 26);
  cairo_line_to(cr, -7, 4);
  cairo_line_to(cr, -42, 12);
  cairo_line_to(cr, -42, 2);
  cairo_line_to(cr, -7, -18);
  cairo_curve_to(cr, -7, -30, -7, -40, 0, -44);
  cairo_close_path(cr);
  cairo_restore(cr);
  paintShape(cr, fill, rim, 8);
}
}  // namespace

void drawIcon(cairo_t* cr, Icon icon, double cx, double cy, double size, Colour fill, Colour rim) {
  cairo_save(cr);
  cairo_translate(cr, cx - size / 2, cy - size / 2);
  cairo_scale(cr, size / 100.0, size / 100.0);
  cairo_new_path(cr);
  switch (icon) {
    case Icon::Undo:
      // A hook turning back to the left, the usual "take it back" sign.
      cairo_arc_negative(cr, 58, 52, 24, 0.5 * M_PI, -0.5 * M_PI);
      cairo_line_to(cr, 36, 28);
      paintStroke(cr, fill, rim, 12);
      arrowHead(cr, 24, 28, M_PI, 20);
      paintShape(cr, fill, rim);
      break;
    case Icon::Plus:
      cairo_move_to(cr, 50, 18);
      cairo_line_to(cr, 50, 82);
      cairo_move_to(cr, 18, 50);
      cairo_line_to(cr, 82, 50);
      paintStroke(cr, fill, rim, 18);
      break;
    case Icon::Minus:
      cairo_move_to(cr, 18, 50);
      cairo_line_to(cr, 82, 50);
      paintStroke(cr, fill, rim, 18);
      break;
    case Icon::OrbitLeft:
      curvedArrow(cr, 50, 22, 36, 0.3 * M_PI, 0.9 * M_PI, fill, rim);
      break;
    case Icon::OrbitRight:
      curvedArrow(cr, 50, 22, 36, 0.7 * M_PI, 0.1 * M_PI, fill, rim);
      break;
    case Icon::Rotate:
      cairo_rectangle(cr, 36, 36, 28, 28);
      paintShape(cr, mix(fill, rgbColour(255, 204, 0), 0.8), rim, 7);
      curvedArrow(cr, 50, 50, 32, -0.7 * M_PI, 0.6 * M_PI, fill, rim);
      break;
    case Icon::HopOver:
      // A brick leaping over another one.
      cairo_rectangle(cr, 40, 62, 26, 22);
      paintShape(cr, rgbColour(226, 38, 38), rim, 6);
      cairo_rectangle(cr, 66, 26, 24, 18);
      paintShape(cr, fill, rim, 6);
      cairo_new_path(cr);
      cairo_move_to(cr, 12, 80);
      cairo_curve_to(cr, 16, 20, 50, 6, 62, 30);
      paintStroke(cr, fill, rim, 6);
      arrowHead(cr, 62, 32, 0.9, 14);
      paintShape(cr, fill, rim, 6);
      break;
    case Icon::Slide:
      // A brick sliding along the floor.
      cairo_rectangle(cr, 48, 44, 34, 26);
      paintShape(cr, fill, rim, 6);
      cairo_new_path(cr);
      cairo_move_to(cr, 8, 84);
      cairo_line_to(cr, 92, 84);
      paintStroke(cr, fill, rim, 5);
      for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 12 + i * 4, 48 + i * 9);
        cairo_line_to(cr, 38, 48 + i * 9);
      }
      paintStroke(cr, fill, rim, 4);
      break;
    case Icon::Hammer:
      cairo_save(cr);
      cairo_translate(cr, 50, 50);
      cairo_rotate(cr, -M_PI / 5);
      cairo_rectangle(cr, -6, -18, 12, 62);
      paintShape(cr, rgbColour(190, 120, 60), rim, 7);
      cairo_new_path(cr);
      roundedRect(cr, -32, -40, 64, 24, 5);
      paintShape(cr, fill, rim, 7);
      cairo_restore(cr);
      break;
    case Icon::Help:
      cairo_new_path(cr);
      cairo_arc(cr, 50, 34, 20, M_PI * 1.05, M_PI * 2.35);
      cairo_curve_to(cr, 58, 52, 50, 54, 50, 64);
      paintStroke(cr, fill, rim, 13);
      cairo_arc(cr, 50, 84, 8, 0, 2 * M_PI);
      paintShape(cr, fill, rim, 7);
      break;
    case Icon::Music:
      musicNote(cr, fill, rim);
      break;
    case Icon::MusicOff:
      musicNote(cr, fill, rim);
      cairo_move_to(cr, 14, 14);
      cairo_line_to(cr, 86, 86);
      paintStroke(cr, rgbColour(226, 38, 38), rim, 9);
      break;
    case Icon::Picture:
      roundedRect(cr, 8, 18, 84, 64, 6);
      paintShape(cr, rgbColour(150, 210, 255), rim, 7);
      cairo_move_to(cr, 12, 78);
      cairo_line_to(cr, 38, 44);
      cairo_line_to(cr, 56, 64);
      cairo_line_to(cr, 68, 52);
      cairo_line_to(cr, 88, 78);
      cairo_close_path(cr);
      paintShape(cr, rgbColour(60, 170, 70), rim, 4);
      cairo_arc(cr, 70, 34, 8, 0, 2 * M_PI);
      paintShape(cr, rgbColour(255, 204, 0), rim, 4);
      break;
    case Icon::Printer:
      cairo_rectangle(cr, 28, 12, 44, 30);
      paintShape(cr, fill, rim, 6);
      roundedRect(cr, 8, 36, 84, 36, 6);
      paintShape(cr, rgbColour(120, 130, 150), rim, 6);
      cairo_rectangle(cr, 26, 60, 48, 30);
      paintShape(cr, fill, rim, 6);
      cairo_move_to(cr, 34, 72);
      cairo_line_to(cr, 66, 72);
      cairo_move_to(cr, 34, 81);
      cairo_line_to(cr, 58, 81);
      setColour(cr, rim);
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      cairo_arc(cr, 80, 46, 4, 0, 2 * M_PI);
      setColour(cr, rgbColour(80, 220, 80));
      cairo_fill(cr);
      break;
    case Icon::Gear:
      gear(cr, fill, rim);
      break;
    case Icon::Camera:
      roundedRect(cr, 8, 28, 84, 56, 8);
      paintShape(cr, fill, rim, 7);
      cairo_rectangle(cr, 34, 16, 30, 14);
      paintShape(cr, fill, rim, 7);
      cairo_arc(cr, 50, 56, 18, 0, 2 * M_PI);
      paintShape(cr, rgbColour(60, 80, 120), rim, 6);
      break;
    case Icon::Restart:
      curvedArrow(cr, 50, 52, 32, -0.45 * M_PI, 1.3 * M_PI, fill, rim);
      break;
    case Icon::Aeroplane:
      aeroplane(cr, fill, rim);
      break;
    case Icon::Pause:
      roundedRect(cr, 22, 16, 20, 68, 4);
      roundedRect(cr, 58, 16, 20, 68, 4);
      paintShape(cr, fill, rim, 8);
      break;
    case Icon::ExitDoor:
      cairo_rectangle(cr, 14, 10, 44, 80);
      paintShape(cr, rgbColour(170, 110, 60), rim, 7);
      cairo_arc(cr, 48, 52, 4, 0, 2 * M_PI);
      paintShape(cr, rgbColour(255, 204, 0), rim, 3);
      cairo_move_to(cr, 56, 50);
      cairo_line_to(cr, 80, 50);
      paintStroke(cr, fill, rim, 10);
      arrowHead(cr, 84, 50, 0, 16);
      paintShape(cr, fill, rim, 6);
      break;
    case Icon::FastFlight:
      for (int i = 0; i < 2; ++i) {
        double x = 14 + i * 34;
        cairo_move_to(cr, x, 18);
        cairo_line_to(cr, x + 36, 50);
        cairo_line_to(cr, x, 82);
        cairo_close_path(cr);
      }
      paintShape(cr, fill, rim, 7);
      break;
    case Icon::Minimise:
      cairo_move_to(cr, 22, 74);
      cairo_line_to(cr, 78, 74);
      paintStroke(cr, fill, rim, 14);
      break;
    case Icon::Close:
      cairo_move_to(cr, 24, 24);
      cairo_line_to(cr, 76, 76);
      cairo_move_to(cr, 76, 24);
      cairo_line_to(cr, 24, 76);
      paintStroke(cr, fill, rim, 14);
      break;
    case Icon::ArrowLeft:
      cairo_move_to(cr, 10, 50);
      cairo_line_to(cr, 58, 8);
      cairo_line_to(cr, 58, 30);
      cairo_line_to(cr, 90, 30);
      cairo_line_to(cr, 90, 70);
      cairo_line_to(cr, 58, 70);
      cairo_line_to(cr, 58, 92);
      cairo_close_path(cr);
      paintShape(cr, fill, rim, 8);
      break;
    case Icon::ArrowRight:
      cairo_move_to(cr, 90, 50);
      cairo_line_to(cr, 42, 8);
      cairo_line_to(cr, 42, 30);
      cairo_line_to(cr, 10, 30);
      cairo_line_to(cr, 10, 70);
      cairo_line_to(cr, 42, 70);
      cairo_line_to(cr, 42, 92);
      cairo_close_path(cr);
      paintShape(cr, fill, rim, 8);
      break;
    case Icon::Star:
      for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, r = (i % 2 == 0) ? 46 : 19;
        if (i == 0) cairo_move_to(cr, 50 + r * std::cos(a), 54 + r * std::sin(a));
        else cairo_line_to(cr, 50 + r * std::cos(a), 54 + r * std::sin(a));
      }
      cairo_close_path(cr);
      paintShape(cr, fill, rim, 7);
      break;
    case Icon::PaintPot:
      cairo_move_to(cr, 22, 40);
      cairo_line_to(cr, 78, 40);
      cairo_line_to(cr, 72, 90);
      cairo_line_to(cr, 28, 90);
      cairo_close_path(cr);
      paintShape(cr, fill, rim, 6);
      break;
    case Icon::Play:
      cairo_move_to(cr, 28, 14);
      cairo_line_to(cr, 84, 50);
      cairo_line_to(cr, 28, 86);
      cairo_close_path(cr);
      paintShape(cr, fill, rim, 8);
      break;
  }
  cairo_restore(cr);
}
