// A small flat-shaded painter's-algorithm view of a mesh, for the help page's shape gallery.
#pragma once

#include "tools/art/Mesh.h"
#include "tools/art/Paint.h"

// Draws the mesh into the box (x, y, w, h), seen from the front left and above, fitted to the box.
void drawMeshPreview(cairo_t* cr, const Mesh& mesh, double x, double y, double w, double h, Colour colour);
