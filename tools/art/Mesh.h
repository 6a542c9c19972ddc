// A small solid-modelling kit for the shape catalogue: meshes are unions of convex pieces, each built
// from two rings of corners (bottom and top) so that every triangle can be wound to face outward.
#pragma once

#include <string>
#include <vector>

struct Point3 {
  double x = 0, y = 0, z = 0;
};

struct Triangle {
  int a, b, c;
};

struct Mesh {
  std::vector<Point3> vertices;
  std::vector<Triangle> triangles;
};

// A convex piece between two rings of the same corner count (a ring may collapse to a point or a line).
// Triangles of zero area are left out; all others face away from the piece's centre.
void addLoft(Mesh& mesh, const std::vector<Point3>& bottom, const std::vector<Point3>& top);
// An axis-aligned box.
void addBox(Mesh& mesh, double x0, double x1, double y0, double y1, double z0, double z1);
// A convex polygon in the x-y plane (points as x, y) pushed from z0 to z1.
void addProfileZ(Mesh& mesh, const std::vector<std::pair<double, double>>& xy, double z0, double z1);
// The same in the z-y plane (points as z, y), pushed from x0 to x1.
void addProfileX(Mesh& mesh, const std::vector<std::pair<double, double>>& zy, double x0, double x1);
// An upright round piece: radius r0 at y0 to radius r1 at y1 around (cx, cz); sides = corner count.
void addFrustum(Mesh& mesh, double cx, double cz, double y0, double y1, double r0, double r1, int sides = 16);
// A solid of revolution about the upright axis through (cx, cz): its outline as (radius, y) pairs from the
// bottom to the top; ends with a radius above zero are closed by flat caps.
void addLathe(Mesh& mesh, double cx, double cz, const std::vector<std::pair<double, double>>& profile, int sides = 16);
// A ball of radius r centred at (cx, cy, cz), as a lathe of the given ring count.
void addBall(Mesh& mesh, double cx, double cy, double cz, double r, int sides = 10, int rings = 6);
// A round piece lying along x (a wheel, a log): radius r around (y, z), from x0 to x1.
void addCylinderX(Mesh& mesh, double cy, double cz, double r, double x0, double x1, int sides = 16);
// The same lying along z.
void addCylinderZ(Mesh& mesh, double cx, double cy, double r, double z0, double z1, int sides = 16);

// Lowest and highest corner of the mesh.
void meshBounds(const Mesh& mesh, Point3& low, Point3& high);
// Drops corners no triangle uses and renumbers the rest.
void compactMesh(Mesh& mesh);
// Stretches the mesh slightly on each axis so that it stands on y = -3, its top is 3 + 6k and its x and z
// extents lie on the half-stud grid (multiples of 2): round pieces never quite reach those lines.
void settleOnGrid(Mesh& mesh);
// Scale about the bottom centre: x and z by s, y as -3 + s(y + 3).
Mesh scaleAboutBottom(const Mesh& mesh, double s);
// The enclosed volume by the divergence theorem: positive when every triangle faces outward.
double signedVolume(const Mesh& mesh);

// The mesh as 3D Studio ASCII text (one Tri-mesh object, CRLF line ends).
std::string encodeAsc(const Mesh& mesh, const std::string& objectName);
// A minimal reader of the same subset, for checking what was written. False on malformed text.
bool decodeAsc(const std::string& text, Mesh& mesh);
