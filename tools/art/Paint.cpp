// cairo drawing helpers and the FreeType-backed Korean fonts of the generator.
#include "tools/art/Paint.h"

#include <algorithm>
#include <cairo-ft.h>
#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {
struct FontSet {
  FT_Library freetype = nullptr;
  cairo_font_face_t* cairoFaces[2] = {nullptr, nullptr};
};
FontSet fonts;
}  // namespace

Colour shade(Colour c, double f) {
  auto one = [f](double v) {
    double out = f >= 1 ? v + (1 - v) * (f - 1) : v * f;
    return std::clamp(out, 0.0, 1.0);
  };
  return {one(c.r), one(c.g), one(c.b)};
}

Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// cairo may keep a font face in its caches after we let go of it, so the FreeType face is closed by
// cairo itself when the last reference goes; the FreeType library stays open for the whole run.
static const cairo_user_data_key_t faceKey = {};

bool loadFonts(const std::string& regularPath, const std::string& boldPath) {
  releaseFonts();
  if (!fonts.freetype && FT_Init_FreeType(&fonts.freetype) != 0) {
    fonts.freetype = nullptr;
    return false;
  }
  const std::string* paths[2] = {&regularPath, &boldPath};
  for (int i = 0; i < 2; ++i) {
    FT_Face face = nullptr;
    if (FT_New_Face(fonts.freetype, paths[i]->c_str(), 0, &face) != 0) {
      releaseFonts();
      return false;
    }
    fonts.cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
    if (cairo_font_face_set_user_data(fonts.cairoFaces[i], &faceKey, face,
                                      [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); }) != CAIRO_STATUS_SUCCESS) {
      FT_Done_Face(face);
      cairo_font_face_destroy(fonts.cairoFaces[i]);
      fonts.cairoFaces[i] = nullptr;
      releaseFonts();
      return false;
    }
  }
  return true;
}

void releaseFonts() {
  for (int i = 0; i < 2; ++i) {
    if (fonts.cairoFaces[i]) cairo_font_face_destroy(fonts.cairoFaces[i]);
    fonts.cairoFaces[i] = nullptr;
  }
}

bool fontsLoaded() { return fonts.cairoFaces[0] && fonts.cairoFaces[1]; }

Canvas::Canvas(int width, int height) : w(std::max(1, width)), h(std::max(1, height)) {
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  context = cairo_create(surface);
  cairo_set_source_rgb(context, 0, 0, 0);
  cairo_paint(context);
}

Canvas::~Canvas() {
  cairo_destroy(context);
  cairo_surface_destroy(surface);
}

Picture Canvas::picture() const {
  cairo_surface_flush(surface);
  Picture out(w, h);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < w; ++x) {
      uint32_t p = row[x];
      out.set(x, y, {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    }
  }
  return out;
}

void Canvas::drawPicture(const Picture& picture, double x, double y) {
  if (picture.width == 0) return;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int row = 0; row < picture.height; ++row) {
    uint32_t* out = reinterpret_cast<uint32_t*>(data + size_t(row) * size_t(stride));
    for (int col = 0; col < picture.width; ++col) {
      Rgb c = picture.at(col, row);
      out[col] = 0xff000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    }
  }
  cairo_surface_mark_dirty(image);
  cairo_save(context);
  cairo_set_source_surface(context, image, x, y);
  cairo_paint(context);
  cairo_restore(context);
  cairo_surface_destroy(image);
}

std::string Canvas::pngBytes() const {
  cairo_surface_flush(surface);
  std::string bytes;
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface, append, &bytes) != CAIRO_STATUS_SUCCESS) return {};
  return bytes;
}

void setColour(cairo_t* cr, Colour c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  double r = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void fillGradient(cairo_t* cr, double x, double y, double w, double h, Colour top, Colour bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_rectangle(cr, x, y, w, h);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

double pressOffset(Look look) { return look == Look::Pressed ? 1.0 : 0.0; }

void drawButtonFace(cairo_t* cr, double x, double y, double w, double h, Colour face, Look look, double radius) {
  cairo_save(cr);
  const bool pressed = look == Look::Pressed;
  // A dark well behind the button, so its corners read as a socket in the panel.
  roundedRect(cr, x, y, w, h, radius);
  setColour(cr, shade(face, 0.35));
  cairo_fill(cr);
  Colour body = pressed ? shade(face, 0.72) : face;
  double inset = pressed ? 2.0 : 1.0;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Colour top = pressed ? shade(body, 0.85) : shade(body, 1.35);
  Colour bottom = pressed ? shade(body, 1.1) : shade(body, 0.8);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 0.5, body.r, body.g, body.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  roundedRect(cr, x + inset, y + inset, w - 2 * inset, h - 2 * inset, radius - 1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Bevel: light from the top left; a pressed button has the light and shadow swapped.
  cairo_set_line_width(cr, 1.5);
  Colour light = shade(body, 1.7), dark = shade(body, 0.5);
  roundedRect(cr, x + inset + 0.75, y + inset + 0.75, w - 2 * inset - 1.5, h - 2 * inset - 1.5, radius - 1.5);
  cairo_clip(cr);
  cairo_pattern_t* rim = cairo_pattern_create_linear(x, y, x + w * 0.4, y + h);
  Colour a = pressed ? dark : light, b = pressed ? light : dark;
  cairo_pattern_add_color_stop_rgba(rim, 0, a.r, a.g, a.b, 0.95);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, body.r, body.g, body.b, 0.0);
  cairo_pattern_add_color_stop_rgba(rim, 1, b.r, b.g, b.b, 0.95);
  roundedRect(cr, x + inset + 0.75, y + inset + 0.75, w - 2 * inset - 1.5, h - 2 * inset - 1.5, radius - 1.5);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, pressed ? 3.0 : 2.0);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  cairo_restore(cr);
}

void drawStud(cairo_t* cr, double cx, double cy, double radius, Colour colour) {
  cairo_save(cr);
  cairo_arc(cr, cx + radius * 0.18, cy + radius * 0.22, radius, 0, 2 * M_PI);
  setColour(cr, shade(colour, 0.55), 0.8);
  cairo_fill(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - radius * 0.4, cy - radius * 0.4, radius * 0.1, cx, cy, radius);
  Colour hi = shade(colour, 1.45);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, colour.r, colour.g, colour.b);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void drawPanelBackdrop(cairo_t* cr, double w, double h, Colour base) {
  cairo_save(cr);
  fillGradient(cr, 0, 0, w, h, shade(base, 1.18), shade(base, 0.82));
  // Faint studs on a 12-pixel grid give the panels the feel of a building plate.
  for (double y = 6; y < h; y += 12)
    for (double x = 6; x < w; x += 12) {
      cairo_arc(cr, x + 0.6, y + 0.8, 3.2, 0, 2 * M_PI);
      setColour(cr, shade(base, 0.7), 0.35);
      cairo_fill(cr);
      cairo_arc(cr, x, y, 3.0, 0, 2 * M_PI);
      setColour(cr, shade(base, 1.25), 0.35);
      cairo_fill(cr);
    }
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, 1, h - 1);
  cairo_line_to(cr, 1, 1);
  cairo_line_to(cr, w - 1, 1);
  setColour(cr, shade(base, 1.6), 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, w - 1, 1);
  cairo_line_to(cr, w - 1, h - 1);
  cairo_line_to(cr, 1, h - 1);
  setColour(cr, shade(base, 0.45), 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
}

static void selectFont(cairo_t* cr, double size, Weight weight) {
  if (fontsLoaded()) {
    cairo_set_font_face(cr, fonts.cairoFaces[weight == Weight::Bold ? 1 : 0]);
  } else {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           weight == Weight::Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  }
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double textWidth(cairo_t* cr, const std::string& text, double size, Weight weight) {
  cairo_save(cr);
  selectFont(cr, size, weight);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  cairo_restore(cr);
  return ext.x_advance;
}

static void centredOrigin(cairo_t* cr, const std::string& text, double cx, double cy, double& x, double& y) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  x = std::round(cx - ext.width / 2 - ext.x_bearing);
  y = std::round(cy - ext.height / 2 - ext.y_bearing);
}

double drawText(cairo_t* cr, const std::string& text, double cx, double cy, double size, Weight weight, Colour colour) {
  cairo_save(cr);
  selectFont(cr, size, weight);
  double x, y;
  centredOrigin(cr, text, cx, cy, x, y);
  cairo_move_to(cr, x, y);
  setColour(cr, colour);
  cairo_show_text(cr, text.c_str());
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  cairo_restore(cr);
  return ext.x_advance;
}

void drawOutlinedText(cairo_t* cr, const std::string& text, double cx, double cy, double size, Weight weight,
                      Colour fill, Colour rim, double rimWidth) {
  cairo_save(cr);
  selectFont(cr, size, weight);
  double x, y;
  centredOrigin(cr, text, cx, cy, x, y);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, text.c_str());
  setColour(cr, rim);
  cairo_set_line_width(cr, rimWidth * 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  setColour(cr, fill);
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawTextAt(cairo_t* cr, const std::string& text, double x, double baseline, double size, Weight weight,
                Colour colour) {
  cairo_save(cr);
  selectFont(cr, size, weight);
  cairo_move_to(cr, x, baseline);
  setColour(cr, colour);
  cairo_show_text(cr, text.c_str());
  cairo_restore(cr);
}
