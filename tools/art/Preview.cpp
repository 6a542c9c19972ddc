// Flat-shaded mesh drawings: triangles sorted far to near and filled, lit from the upper left.
#include "tools/art/Preview.h"

#include <algorithm>
#include <cmath>

void drawMeshPreview(cairo_t* cr, const Mesh& mesh, double x, double y, double w, double h, Colour colour) {
  if (mesh.triangles.empty()) return;
  // The camera looks at the shape's front (-z) from the left and from above.
  const double yaw = 215 * M_PI / 180, pitch = 28 * M_PI / 180;
  const double cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
  struct Projected {
    double sx, sy, depth;
  };
  std::vector<Projected> points;
  for (const Point3& v : mesh.vertices) {
    double rx = v.x * cy - v.z * sy, rz = v.x * sy + v.z * cy;
    double ry = v.y * cp - rz * sp, depth = v.y * sp + rz * cp;
    points.push_back({rx, -ry, depth});
  }
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (const Projected& p : points) {
    minX = std::min(minX, p.sx);
    maxX = std::max(maxX, p.sx);
    minY = std::min(minY, p.sy);
    maxY = std::max(maxY, p.sy);
  }
  double scale = std::min(w / std::max(1e-6, maxX - minX), h / std::max(1e-6, maxY - minY));
  double ox = x + (w - (maxX - minX) * scale) / 2 - minX * scale;
  double oy = y + (h - (maxY - minY) * scale) / 2 - minY * scale;
  struct Face {
    int t;
    double depth;
  };
  std::vector<Face> faces;
  for (size_t i = 0; i < mesh.triangles.size(); ++i) {
    const Triangle& t = mesh.triangles[i];
    double d = points[size_t(t.a)].depth + points[size_t(t.b)].depth + points[size_t(t.c)].depth;
    faces.push_back({int(i), d});
  }
  // Larger depth is nearer the camera here; draw the far ones first.
  std::sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) {
    return a.depth != b.depth ? a.depth < b.depth : a.t < b.t;
  });
  const double lx = -0.45, ly = 0.8, lz = -0.4;
  cairo_save(cr);
  cairo_set_line_width(cr, 0.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (const Face& f : faces) {
    const Triangle& t = mesh.triangles[size_t(f.t)];
    const Point3 &a = mesh.vertices[size_t(t.a)], &b = mesh.vertices[size_t(t.b)], &c = mesh.vertices[size_t(t.c)];
    double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len < 1e-9) continue;
    // Faces turned away from the camera are hidden by the ones in front.
    double viewX = sy * cp, viewY = sp, viewZ = cy * cp;
    if ((nx * viewX + ny * viewY + nz * viewZ) / len < 0) continue;
    double light = (nx * lx + ny * ly + nz * lz) / len / std::sqrt(lx * lx + ly * ly + lz * lz);
    double k = 0.55 + 0.45 * std::max(0.0, light);
    Colour c2 = {colour.r * k, colour.g * k, colour.b * k};
    const Projected &pa = points[size_t(t.a)], &pb = points[size_t(t.b)], &pc = points[size_t(t.c)];
    cairo_move_to(cr, ox + pa.sx * scale, oy + pa.sy * scale);
    cairo_line_to(cr, ox + pb.sx * scale, oy + pb.sy * scale);
    cairo_line_to(cr, ox + pc.sx * scale, oy + pc.sy * scale);
    cairo_close_path(cr);
    setColour(cr, c2);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}
