// Background pictures: each is painted at the 3D view's size (540 x 380), stored as a 256 x 256 PPM
// texture that the view stretches back, with a 98 x 69 thumbnail for the chooser. Also the pictures
// of the twenty new-scene plate sizes.
#include "tools/art/Pictures.h"

#include "tools/art/Paint.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double W = 540, H = 380;

// A small deterministic sequence for scattering stars, clouds and bubbles.
struct Scatter {
  uint32_t state;
  double next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1u << 24);
  }
};

// Puffs are merged into one shape before it is laid over the sky, so overlaps never show through.
void cloud(cairo_t* cr, double x, double y, double s, Colour c, double alpha) {
  const double puffs[5][3] = {{0, 0, 1}, {0.9, -0.35, 1.2}, {1.9, 0, 1}, {0.5, 0.3, 0.8}, {1.4, 0.3, 0.85}};
  cairo_push_group(cr);
  for (auto& p : puffs) {
    cairo_arc(cr, x + p[0] * s + s * 0.06, y + p[1] * s + s * 0.1, p[2] * s * 0.7, 0, 2 * M_PI);
    setColour(cr, shade(c, 0.86));
    cairo_fill(cr);
  }
  for (auto& p : puffs) {
    cairo_arc(cr, x + p[0] * s, y + p[1] * s, p[2] * s * 0.7, 0, 2 * M_PI);
    setColour(cr, c);
    cairo_fill(cr);
  }
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, alpha);
}

void hills(cairo_t* cr, double base, double amp, double freq, double phase, Colour c) {
  cairo_move_to(cr, 0, H);
  for (double x = 0; x <= W; x += 6) cairo_line_to(cr, x, base - amp * std::sin(x * freq + phase));
  cairo_line_to(cr, W, H);
  cairo_close_path(cr);
  setColour(cr, c);
  cairo_fill(cr);
}

void stars(cairo_t* cr, int count, double maxY, uint32_t seed) {
  Scatter s{seed};
  for (int i = 0; i < count; ++i) {
    double x = s.next() * W, y = s.next() * maxY, r = 0.6 + s.next() * 1.4;
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    setColour(cr, palette::white, 0.5 + s.next() * 0.5);
    cairo_fill(cr);
  }
}

void paintBackground(cairo_t* cr, int n) {
  Scatter s{uint32_t(n * 7919 + 17)};
  switch (n) {
    case 1:  // day sky (also the default sky)
      fillGradient(cr, 0, 0, W, H, rgbColour(60, 140, 235), rgbColour(200, 232, 255));
      for (int i = 0; i < 7; ++i) cloud(cr, s.next() * W - 40, 30 + s.next() * 220, 26 + s.next() * 24, palette::white, 0.9);
      break;
    case 2:  // sunset
      fillGradient(cr, 0, 0, W, H, rgbColour(80, 40, 130), rgbColour(255, 150, 60));
      cairo_arc(cr, W * 0.7, H * 0.78, 60, 0, 2 * M_PI);
      setColour(cr, rgbColour(255, 220, 90));
      cairo_fill(cr);
      for (int i = 0; i < 4; ++i) cloud(cr, s.next() * W, 60 + s.next() * 150, 30, rgbColour(255, 170, 150), 0.6);
      hills(cr, 340, 14, 0.012, 1, rgbColour(60, 30, 70));
      break;
    case 3:  // night with moon
      fillGradient(cr, 0, 0, W, H, rgbColour(8, 12, 40), rgbColour(30, 50, 110));
      stars(cr, 160, H, 3);
      cairo_arc(cr, 420, 80, 34, 0, 2 * M_PI);
      setColour(cr, rgbColour(255, 250, 210));
      cairo_fill(cr);
      cairo_arc(cr, 436, 70, 30, 0, 2 * M_PI);
      setColour(cr, rgbColour(14, 20, 56));
      cairo_fill(cr);
      break;
    case 4:  // sea and beach
      fillGradient(cr, 0, 0, W, 220, rgbColour(80, 170, 250), rgbColour(210, 240, 255));
      fillGradient(cr, 0, 220, W, 110, rgbColour(20, 120, 200), rgbColour(60, 180, 220));
      fillGradient(cr, 0, 320, W, 60, rgbColour(250, 220, 150), rgbColour(230, 190, 110));
      for (int i = 0; i < 3; ++i) cloud(cr, s.next() * W, 40 + s.next() * 100, 28, palette::white, 0.9);
      for (int i = 0; i < 12; ++i) {
        cairo_move_to(cr, s.next() * W, 240 + s.next() * 70);
        cairo_rel_line_to(cr, 18, 0);
        setColour(cr, palette::white, 0.6);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
      }
      break;
    case 5:  // meadow
      fillGradient(cr, 0, 0, W, H, rgbColour(110, 180, 250), rgbColour(220, 240, 255));
      hills(cr, 250, 30, 0.01, 0, rgbColour(110, 200, 90));
      hills(cr, 300, 24, 0.017, 2, rgbColour(70, 170, 60));
      for (int i = 0; i < 40; ++i) {
        cairo_arc(cr, s.next() * W, 310 + s.next() * 70, 3, 0, 2 * M_PI);
        const Colour f[] = {palette::yellow, palette::white, palette::red, rgbColour(255, 120, 200)};
        setColour(cr, f[i % 4]);
        cairo_fill(cr);
      }
      break;
    case 6:  // space
      fillGradient(cr, 0, 0, W, H, rgbColour(4, 4, 20), rgbColour(30, 10, 60));
      stars(cr, 220, H, 6);
      cairo_arc(cr, 140, 280, 90, 0, 2 * M_PI);
      {
        cairo_pattern_t* p = cairo_pattern_create_radial(110, 250, 10, 140, 280, 90);
        cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.7, 0.4);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.6, 0.25, 0.15);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
      }
      cairo_save(cr);
      cairo_translate(cr, 140, 280);
      cairo_scale(cr, 1.6, 0.35);
      cairo_arc(cr, 0, 0, 90, 0, 2 * M_PI);
      cairo_restore(cr);
      setColour(cr, rgbColour(240, 210, 160), 0.8);
      cairo_set_line_width(cr, 6);
      cairo_stroke(cr);
      break;
    case 7:  // indoor wall with wallpaper and a skirting board
      fillGradient(cr, 0, 0, W, H, rgbColour(255, 240, 210), rgbColour(240, 215, 180));
      for (double x = 0; x < W; x += 40) {
        cairo_rectangle(cr, x, 0, 18, 300);
        setColour(cr, rgbColour(250, 225, 190), 0.8);
        cairo_fill(cr);
      }
      fillGradient(cr, 0, 300, W, 80, rgbColour(170, 110, 60), rgbColour(120, 70, 30));
      cairo_rectangle(cr, 380, 60, 110, 120);
      setColour(cr, rgbColour(120, 80, 40));
      cairo_fill(cr);
      cairo_rectangle(cr, 388, 68, 94, 104);
      setColour(cr, rgbColour(150, 210, 255));
      cairo_fill(cr);
      break;
    case 8:  // snowy mountains
      fillGradient(cr, 0, 0, W, H, rgbColour(120, 170, 230), rgbColour(230, 240, 255));
      for (int i = 0; i < 4; ++i) {
        double x = i * 160 - 40, peak = 90 + (i % 2) * 50;
        cairo_move_to(cr, x, 320);
        cairo_line_to(cr, x + 140, peak);
        cairo_line_to(cr, x + 280, 320);
        setColour(cr, rgbColour(110, 120, 150));
        cairo_fill(cr);
        cairo_move_to(cr, x + 100, peak + 55);
        cairo_line_to(cr, x + 140, peak);
        cairo_line_to(cr, x + 180, peak + 55);
        setColour(cr, palette::white);
        cairo_fill(cr);
      }
      fillGradient(cr, 0, 320, W, 60, rgbColour(250, 250, 255), rgbColour(210, 225, 245));
      break;
    case 9:  // desert
      fillGradient(cr, 0, 0, W, H, rgbColour(250, 190, 90), rgbColour(255, 240, 190));
      cairo_arc(cr, 120, 90, 40, 0, 2 * M_PI);
      setColour(cr, rgbColour(255, 250, 220));
      cairo_fill(cr);
      hills(cr, 280, 26, 0.013, 0.5, rgbColour(235, 180, 100));
      hills(cr, 330, 20, 0.02, 2, rgbColour(215, 150, 80));
      break;
    case 10:  // city skyline
      fillGradient(cr, 0, 0, W, H, rgbColour(90, 150, 230), rgbColour(210, 230, 250));
      for (double x = 0; x < W; x += 44) {
        double h = 90 + s.next() * 150;
        cairo_rectangle(cr, x + 2, H - h, 40, h);
        setColour(cr, mix(rgbColour(70, 80, 110), rgbColour(120, 130, 160), s.next()));
        cairo_fill(cr);
        for (double wy = H - h + 10; wy < H - 10; wy += 16)
          for (double wx = x + 8; wx < x + 38; wx += 12) {
            cairo_rectangle(cr, wx, wy, 6, 8);
            setColour(cr, rgbColour(255, 230, 140), s.next() > 0.4 ? 0.9 : 0.2);
            cairo_fill(cr);
          }
      }
      break;
    case 11:  // under the sea
      fillGradient(cr, 0, 0, W, H, rgbColour(40, 160, 200), rgbColour(10, 40, 100));
      for (int i = 0; i < 30; ++i) {
        cairo_arc(cr, s.next() * W, s.next() * H, 2 + s.next() * 6, 0, 2 * M_PI);
        setColour(cr, palette::white, 0.35);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
      }
      hills(cr, 350, 10, 0.03, 0, rgbColour(220, 200, 140));
      break;
    case 12:  // forest
      fillGradient(cr, 0, 0, W, H, rgbColour(150, 210, 250), rgbColour(230, 245, 255));
      for (int layer = 0; layer < 2; ++layer)
        for (double x = -20 + layer * 25; x < W + 20; x += 50) {
          double base = 300 + layer * 40, h = 120 + s.next() * 60;
          cairo_move_to(cr, x - 30, base);
          cairo_line_to(cr, x, base - h);
          cairo_line_to(cr, x + 30, base);
          setColour(cr, layer == 0 ? rgbColour(40, 120, 70) : rgbColour(20, 90, 50));
          cairo_fill(cr);
        }
      fillGradient(cr, 0, 340, W, 40, rgbColour(60, 140, 60), rgbColour(40, 110, 40));
      break;
    case 13: {  // rainbow
      fillGradient(cr, 0, 0, W, H, rgbColour(120, 190, 250), rgbColour(230, 245, 255));
      const Colour bands[] = {palette::red, palette::orange, palette::yellow, palette::green, palette::blue,
                              rgbColour(110, 60, 180)};
      for (int i = 0; i < 6; ++i) {
        cairo_arc(cr, W / 2, H + 40, 330 - i * 16, M_PI, 2 * M_PI);
        setColour(cr, bands[i], 0.75);
        cairo_set_line_width(cr, 16);
        cairo_stroke(cr);
      }
      cloud(cr, 20, 330, 40, palette::white, 1);
      cloud(cr, 440, 330, 40, palette::white, 1);
      break;
    }
    case 14:  // pastel dawn
      fillGradient(cr, 0, 0, W, H, rgbColour(255, 200, 220), rgbColour(200, 230, 255));
      for (int i = 0; i < 5; ++i) cloud(cr, s.next() * W, 40 + s.next() * 220, 24, palette::white, 0.7);
      break;
    case 15:  // autumn hills
      fillGradient(cr, 0, 0, W, H, rgbColour(120, 180, 240), rgbColour(240, 230, 200));
      hills(cr, 250, 26, 0.012, 1, rgbColour(220, 130, 40));
      hills(cr, 300, 20, 0.02, 3, rgbColour(190, 80, 30));
      hills(cr, 345, 12, 0.03, 0, rgbColour(150, 100, 40));
      break;
    case 16:  // rainy grey day
      fillGradient(cr, 0, 0, W, H, rgbColour(110, 120, 140), rgbColour(190, 200, 210));
      for (int i = 0; i < 8; ++i) cloud(cr, s.next() * W - 40, 20 + s.next() * 120, 40, rgbColour(90, 95, 110), 0.8);
      for (int i = 0; i < 90; ++i) {
        double x = s.next() * W, y = 120 + s.next() * 260;
        cairo_move_to(cr, x, y);
        cairo_rel_line_to(cr, -4, 12);
        setColour(cr, rgbColour(220, 230, 255), 0.6);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
      }
      break;
    case 17:  // checkered playroom floor
      fillGradient(cr, 0, 0, W, 200, rgbColour(190, 230, 250), rgbColour(160, 210, 240));
      for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 14; ++col) {
          double y0 = 200 + row * 22.5;
          cairo_rectangle(cr, col * 40, y0, 40, 22.5);
          setColour(cr, (row + col) % 2 ? palette::white : palette::red);
          cairo_fill(cr);
        }
      break;
    case 18: {  // toy dots
      fillGradient(cr, 0, 0, W, H, rgbColour(255, 230, 120), rgbColour(255, 200, 80));
      const Colour dots[] = {palette::red, palette::blue, palette::green, palette::white};
      for (double y = 20; y < H; y += 44)
        for (double x = 20 + (int(y) / 44 % 2) * 22; x < W; x += 44) {
          cairo_arc(cr, x, y, 10, 0, 2 * M_PI);
          setColour(cr, dots[int(x + y) % 4], 0.8);
          cairo_fill(cr);
        }
      break;
    }
    case 19:  // blueprint
      fillGradient(cr, 0, 0, W, H, rgbColour(20, 70, 150), rgbColour(10, 50, 120));
      for (double x = 0; x < W; x += 20) {
        cairo_move_to(cr, x + 0.5, 0);
        cairo_line_to(cr, x + 0.5, H);
      }
      for (double y = 0; y < H; y += 20) {
        cairo_move_to(cr, 0, y + 0.5);
        cairo_line_to(cr, W, y + 0.5);
      }
      setColour(cr, palette::white, 0.25);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      break;
    default: {  // aurora
      fillGradient(cr, 0, 0, W, H, rgbColour(5, 20, 40), rgbColour(20, 60, 80));
      stars(cr, 100, 200, 20);
      for (int band = 0; band < 3; ++band) {
        cairo_move_to(cr, 0, 120 + band * 30);
        for (double x = 0; x <= W; x += 10) cairo_line_to(cr, x, 120 + band * 30 + 30 * std::sin(x * 0.015 + band));
        setColour(cr, band == 1 ? rgbColour(120, 255, 180) : rgbColour(80, 220, 200), 0.45);
        cairo_set_line_width(cr, 22);
        cairo_stroke(cr);
      }
      hills(cr, 340, 16, 0.02, 1, rgbColour(10, 20, 30));
      break;
    }
  }
}

// A plate of studsX x studsZ studs seen from above, filling the picture as far as its shape allows.
Picture platePicture(int studsX, int studsZ) {
  Canvas c(thumbnailWidth, thumbnailHeight);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 98, 69, rgbColour(220, 236, 255), rgbColour(180, 205, 240));
  const double maxW = 84, maxH = 44;
  double scale = std::min(maxW / studsX, maxH / studsZ);
  double w = studsX * scale, h = studsZ * scale;
  double x = (98 - w) / 2, y = 5 + (maxH - h) / 2;
  roundedRect(cr, x + 1.5, y + 2, w, h, 2);
  setColour(cr, rgbColour(20, 60, 30), 0.5);
  cairo_fill(cr);
  roundedRect(cr, x, y, w, h, 2);
  setColour(cr, rgbColour(40, 170, 60));
  cairo_fill_preserve(cr);
  setColour(cr, rgbColour(20, 100, 30));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Studs at every stud while they stay apart, else at every second, fifth or tenth, so the dots stay
  // visible and the plate's size still reads from their count.
  int step = 1;
  for (int candidate : {1, 2, 5, 10})
    if (candidate * scale >= 3.2) {
      step = candidate;
      break;
    } else {
      step = candidate;
    }
  const double r = std::max(0.9, std::min(1.6, step * scale * 0.3));
  for (int i = step / 2; i < studsX; i += step)
    for (int j = step / 2; j < studsZ; j += step) {
      double sx = x + (i + 0.5) * scale, sy = y + (j + 0.5) * scale;
      cairo_arc(cr, sx + 0.4, sy + 0.5, r, 0, 2 * M_PI);
      setColour(cr, rgbColour(20, 100, 30), 0.7);
      cairo_fill(cr);
      cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
      setColour(cr, rgbColour(120, 225, 130));
      cairo_fill(cr);
    }
  char label[32];
  std::snprintf(label, sizeof label, "%d × %d", studsX, studsZ);
  drawText(cr, label, 49, 60, 12, Weight::Bold, rgbColour(20, 40, 90));
  return c.picture();
}
}  // namespace

void makeBackgrounds(OutputList& out) {
  for (int n = 1; n <= backgroundCount; ++n) {
    Canvas canvas{int(W), int(H)};
    paintBackground(canvas.cr(), n);
    Picture full = canvas.picture();
    Picture texture = resizePicture(full, 256, 256);
    ditherFor565(texture);
    std::string ppm = encodePpm(texture);
    char name[40];
    if (n == 1) out.push_back({"scene/sky.ppm", ppm});
    std::snprintf(name, sizeof name, "image/bimg%03d.ppm", n);
    out.push_back({name, ppm});
    std::snprintf(name, sizeof name, "image/bimg%03d.bmp", n);
    out.push_back({name, encodeBmp(resizePicture(full, thumbnailWidth, thumbnailHeight))});
  }
  for (int n = 1; n <= 20; ++n) {
    char name[40];
    std::snprintf(name, sizeof name, "image/new%03d.bmp", n);
    out.push_back({name, encodeBmp(platePicture(plateSizes[n - 1][0], plateSizes[n - 1][1]))});
  }
}
