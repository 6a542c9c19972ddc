// The panel bitmaps of the bmp folder: side panels, bottom panels and tab strips, normal and pressed.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Paint.h"

// Adds bmp/<name> for every panel bitmap.
void makePanels(OutputList& out);

// A little brick seen from the front with its studs on top, for decoration (and the program's icon).
void drawBrickFront(cairo_t* cr, double x, double y, double w, double h, Colour colour, int studs);
// Shared with the other pictures: the product's word mark, drawn centred on (cx, cy).
void drawLogo(cairo_t* cr, double cx, double cy, double size);
