// Drawing helpers over cairo for the generator's 2D artwork: a canvas that turns into a Picture, the
// Korean fonts, colours, bevelled buttons, stud-dotted panel backdrops and centred labels.
#pragma once

#include "tools/art/Picture.h"

#include <cairo.h>
#include <string>

struct Colour {
  double r = 0, g = 0, b = 0;
};

constexpr Colour rgbColour(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
// Lighter (factor > 1) or darker (factor < 1), staying in range.
Colour shade(Colour c, double factor);
Colour mix(Colour a, Colour b, double t);

// The toy's colour scheme.
namespace palette {
constexpr Colour red = rgbColour(226, 38, 38);
constexpr Colour yellow = rgbColour(255, 204, 0);
constexpr Colour blue = rgbColour(30, 100, 210);
constexpr Colour green = rgbColour(40, 160, 60);
constexpr Colour orange = rgbColour(255, 140, 20);
constexpr Colour white = rgbColour(255, 255, 255);
constexpr Colour ink = rgbColour(30, 34, 48);
constexpr Colour panelBlue = rgbColour(44, 92, 176);
constexpr Colour panelDeep = rgbColour(26, 56, 120);
constexpr Colour cream = rgbColour(255, 246, 220);
}  // namespace palette

// The two Nanum faces, loaded once for the whole run. False when either file cannot be read.
bool loadFonts(const std::string& regularPath, const std::string& boldPath);
void releaseFonts();
bool fontsLoaded();

enum class Weight { Regular, Bold };

class Canvas {
public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return context; }
  int width() const { return w; }
  int height() const { return h; }
  Picture picture() const;  // every pixel opaque
  void drawPicture(const Picture& picture, double x, double y);
  std::string pngBytes() const;  // empty on failure

private:
  int w, h;
  cairo_surface_t* surface;
  cairo_t* context;
};

void setColour(cairo_t* cr, Colour c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void fillGradient(cairo_t* cr, double x, double y, double w, double h, Colour top, Colour bottom);

// A raised rounded button filling (x, y, w, h) exactly; pressed looks sunk in and darker.
enum class Look { Normal, Pressed };
void drawButtonFace(cairo_t* cr, double x, double y, double w, double h, Colour face, Look look, double radius = 7);
// Where a button's icon and label go: pressed content shifts one pixel down-right.
double pressOffset(Look look);

// A flat round stud, as on top of a brick.
void drawStud(cairo_t* cr, double cx, double cy, double radius, Colour colour);
// Panel backdrop: vertical gradient with a soft stud-dot pattern and a bevelled frame.
void drawPanelBackdrop(cairo_t* cr, double w, double h, Colour base);

// Text centred on (cx, cy) (the middle of the ink box); returns the width it took.
double drawText(cairo_t* cr, const std::string& text, double cx, double cy, double size, Weight weight, Colour colour);
// The same with a dark or light rim drawn around the letters first.
void drawOutlinedText(cairo_t* cr, const std::string& text, double cx, double cy, double size, Weight weight,
                      Colour fill, Colour rim, double rimWidth);
// Text starting at x on baseline y.
void drawTextAt(cairo_t* cr, const std::string& text, double x, double baseline, double size, Weight weight,
                Colour colour);
double textWidth(cairo_t* cr, const std::string& text, double size, Weight weight);
