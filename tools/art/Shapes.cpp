// The shape designs: round bricks, cones, arches, roofs, windows and doors, fences, stairs, towers and
// domes, bridges, furniture and garden pieces; the catalogue's order of all 76.
#include "tools/art/Shapes.h"

#include "tools/art/ShapeModels.h"

#include <cmath>

namespace {
constexpr double B = -3;  // every shape's bottom
constexpr double top(int bricks) { return 3 + 6 * (bricks - 1); }
using Profile = std::vector<std::pair<double, double>>;

Mesh roundBrick(double r, int h) {
  Mesh m;
  addFrustum(m, 0, 0, B, top(h), r, r, r > 2 ? 20 : 14);
  return m;
}

Mesh cone(double r, int h) {
  Mesh m;
  addLathe(m, 0, 0, {{r, B}, {r, B + 1}, {0.3, top(h)}}, r > 2 ? 20 : 14);
  return m;
}

// An arch along x: outer half width, opening half width, bricks high, the curve's centre height.
Mesh arch(double half, double opening, int h, double depth) {
  Mesh m;
  const double t = top(h);
  const double spring = t - opening - 2;
  addBox(m, -half, -opening, B, t, -depth, depth);
  addBox(m, opening, half, B, t, -depth, depth);
  const int steps = 10;
  for (int i = 0; i < steps; ++i) {
    double a0 = M_PI * i / steps, a1 = M_PI * (i + 1) / steps;
    double x0 = opening * std::cos(a0), x1 = opening * std::cos(a1);
    double y0 = spring + opening * std::sin(a0), y1 = spring + opening * std::sin(a1);
    addProfileZ(m, {{x1, y1}, {x0, y0}, {x0, t}, {x1, t}}, -depth, depth);
  }
  return m;
}

Mesh ridge(double halfX, double halfZ, int h) {
  Mesh m;
  addProfileX(m, {{-halfZ, B}, {halfZ, B}, {halfZ, B + 1}, {0, top(h)}, {-halfZ, B + 1}}, -halfX, halfX);
  return m;
}

// A steep roof rising from the front (-z) to the back.
Mesh roofSlope(double halfX, double halfZ, int h) {
  Mesh m;
  addProfileX(m, {{-halfZ, B}, {halfZ, B}, {halfZ, top(h)}, {halfZ - 2, top(h)}, {-halfZ, B + 1.5}}, -halfX, halfX);
  return m;
}

Mesh invertedSlope(double halfX, double halfZ, int h) {
  Mesh m;
  addProfileX(m, {{halfZ - 2, B}, {halfZ, B}, {halfZ, top(h)}, {-halfZ, top(h)}, {-halfZ, top(h) - 1.5}}, -halfX, halfX);
  return m;
}

// A frame of bars around an opening in the x-y plane, with a thin pane inside.
Mesh windowFrame(double half, int h, int columns, int rows) {
  Mesh m;
  const double t = top(h), d = 2, bar = 0.8;
  addBox(m, -half, half, B, B + 1.5, -d, d);
  addBox(m, -half, half, t - 1.2, t, -d, d);
  addBox(m, -half, -half + 1, B, t, -d, d);
  addBox(m, half - 1, half, B, t, -d, d);
  for (int c = 1; c < columns; ++c) {
    double x = -half + 2 * half * c / columns;
    addBox(m, x - bar / 2, x + bar / 2, B + 1.5, t - 1.2, -0.8, 0.8);
  }
  for (int r = 1; r < rows; ++r) {
    double y = B + 1.5 + (t - 1.2 - B - 1.5) * r / rows;
    addBox(m, -half + 1, half - 1, y - bar / 2, y + bar / 2, -0.8, 0.8);
  }
  addBox(m, -half + 1, half - 1, B + 1.5, t - 1.2, -0.2, 0.2);
  return m;
}

Mesh door(double half, int h) {
  Mesh m;
  const double t = top(h);
  addBox(m, -half, -half + 1, B, t, -2, 2);
  addBox(m, half - 1, half, B, t, -2, 2);
  addBox(m, -half, half, t - 1.2, t, -2, 2);
  addBox(m, -half, half, B, B + 0.6, -2, 2);
  addBox(m, -half + 1, half - 1, B + 0.6, t - 1.2, -0.6, 0.6);
  addBox(m, -half + 2, half - 2, B + 2, B + 8, -1.0, -0.6);
  addBox(m, -half + 2, half - 2, B + 10, t - 3, -1.0, -0.6);
  addBall(m, half - 2.2, B + 9, -1.2, 0.5, 6, 3);
  return m;
}

Mesh fence(double half) {
  Mesh m;
  for (double x = -half + 1; x <= half - 1 + 1e-9; x += 4) {
    addBox(m, x - 0.7, x + 0.7, B, 1.6, -0.7, 0.7);
    addLoft(m, {{x - 0.7, 1.6, -0.7}, {x + 0.7, 1.6, -0.7}, {x + 0.7, 1.6, 0.7}, {x - 0.7, 1.6, 0.7}},
            {{x, 3, 0}, {x, 3, 0}, {x, 3, 0}, {x, 3, 0}});
  }
  addBox(m, -half, half, -1.6, -0.6, -0.5, 0.5);
  addBox(m, -half, half, 0.4, 1.2, -0.5, 0.5);
  addBox(m, -half, half, B, B + 0.6, -2, 2);
  return m;
}

Mesh stairs(double halfX, int steps) {
  Mesh m;
  const double depth = 4.0 * steps;
  for (int k = 0; k < steps; ++k) addBox(m, -halfX, halfX, B, top(k + 1), -depth / 2 + 4 * k, depth / 2);
  return m;
}

Mesh column(int h) {
  Mesh m;
  const double t = top(h);
  addBox(m, -2, 2, B, B + 1.2, -2, 2);
  addFrustum(m, 0, 0, B + 1.2, t - 1.2, 1.5, 1.3, 14);
  addLathe(m, 0, 0, {{1.3, t - 1.2}, {2, t - 0.6}}, 14);
  addBox(m, -2, 2, t - 0.6, t, -2, 2);
  return m;
}

Mesh dome(double r, int h) {
  Mesh m;
  const double t = top(h), baseTop = t - r;
  Profile p = {{r, B}, {r, baseTop}};
  for (int i = 1; i <= 6; ++i) {
    double a = M_PI / 2 * i / 6;
    p.push_back({r * std::cos(a), baseTop + r * std::sin(a)});
  }
  addLathe(m, 0, 0, p, 20);
  return m;
}

Mesh pyramid(double half, int h) {
  Mesh m;
  addBox(m, -half, half, B, B + 1, -half, half);
  addLoft(m, {{-half, B + 1, -half}, {half, B + 1, -half}, {half, B + 1, half}, {-half, B + 1, half}},
          {{0, top(h), 0}, {0, top(h), 0}, {0, top(h), 0}, {0, top(h), 0}});
  return m;
}

Mesh tower() {
  Mesh m;
  addFrustum(m, 0, 0, B, 5, 7.6, 7.2, 20);
  for (int i = 0; i < 8; ++i) {
    double a = 2 * M_PI * i / 8;
    double c = std::cos(a), s = std::sin(a);
    addLoft(m, {{c * 7.2 - s * 1.4, 5, s * 7.2 + c * 1.4}, {c * 7.2 + s * 1.4, 5, s * 7.2 - c * 1.4},
                {c * 5.6 + s * 1.4, 5, s * 5.6 - c * 1.4}, {c * 5.6 - s * 1.4, 5, s * 5.6 + c * 1.4}},
            {{c * 7.2 - s * 1.4, 9, s * 7.2 + c * 1.4}, {c * 7.2 + s * 1.4, 9, s * 7.2 - c * 1.4},
             {c * 5.6 + s * 1.4, 9, s * 5.6 - c * 1.4}, {c * 5.6 - s * 1.4, 9, s * 5.6 + c * 1.4}});
  }
  addBox(m, -1.4, 1.4, -2, 3.2, -8, -7);  // door
  return m;
}

Mesh chimney() {
  Mesh m;
  addBox(m, -2, 2, B, 7.6, -4, 4);
  addBox(m, -2, 2, 7.6, 9, -4, 4);
  addBox(m, -1.2, 1.2, 8, 9, -3.2, -1);
  return m;
}

Mesh lampPost() {
  Mesh m;
  addBox(m, -2, 2, B, -2, -2, 2);
  addFrustum(m, 0, 0, -2, 16, 0.7, 0.5, 8);
  addLathe(m, 0, 0, {{0.6, 16}, {1.8, 17.4}, {1.8, 19.4}, {1.4, 20}, {0.2, 21}}, 10);
  return m;
}

Mesh bridge() {
  Mesh m;
  const double half = 16, t = top(2);
  addBox(m, -half, half, t - 1.6, t, -4, 4);
  const int steps = 12;
  for (int i = 0; i < steps; ++i) {
    double a0 = M_PI * i / steps, a1 = M_PI * (i + 1) / steps;
    double x0 = 12 * std::cos(a0), x1 = 12 * std::cos(a1);
    double y0 = B + 8 * std::sin(a0), y1 = B + 8 * std::sin(a1);
    addProfileZ(m, {{x1, y1}, {x0, y0}, {x0, t - 1.6}, {x1, t - 1.6}}, -3.4, 3.4);
  }
  addBox(m, -half, -12, B, t - 1.6, -3.4, 3.4);
  addBox(m, 12, half, B, t - 1.6, -3.4, 3.4);
  return m;
}

Mesh tunnel() {
  Mesh m;
  Profile curve;
  addBox(m, -8, -6, B, 3, -4, 4);
  addBox(m, 6, 8, B, 3, -4, 4);
  const int steps = 10;
  for (int i = 0; i < steps; ++i) {
    double a0 = M_PI * i / steps, a1 = M_PI * (i + 1) / steps;
    double xo0 = 8 * std::cos(a0), xo1 = 8 * std::cos(a1), yo0 = 3 + 6 * std::sin(a0), yo1 = 3 + 6 * std::sin(a1);
    double xi0 = 6 * std::cos(a0), xi1 = 6 * std::cos(a1), yi0 = 3 + 4.5 * std::sin(a0), yi1 = 3 + 4.5 * std::sin(a1);
    addProfileZ(m, {{xi0, yi0}, {xo0, yo0}, {xo1, yo1}, {xi1, yi1}}, -4, 4);
  }
  return m;
}

Mesh quarterRound() {
  Mesh m;
  Profile p = {{4, B}};
  for (int i = 0; i <= 8; ++i) {
    double a = M_PI / 2 * i / 8;
    p.push_back({-4 + 8 * std::cos(a), B + 6 * std::sin(a)});
  }
  addProfileX(m, p, -4, 4);
  return m;
}

Mesh hipCorner() {
  Mesh m;
  addLoft(m, {{-4, B, -4}, {4, B, -4}, {4, B, 4}, {-4, B, 4}}, {{4, 3, 4}, {4, 3, 4}, {4, 3, 4}, {4, 3, 4}});
  return m;
}

Mesh wedgePlate(bool left) {
  Mesh m;
  double s = left ? -1 : 1;
  addLoft(m, {{-4 * s, B, -8}, {4 * s, B, -8}, {4 * s, B, 8}}, {{-4 * s, 3, -8}, {4 * s, 3, -8}, {4 * s, 3, 8}});
  return m;
}

Mesh silo() {
  Mesh m;
  addLathe(m, 0, 0, {{4, B}, {4, 11}, {3.4, 13}, {2, 14.5}, {0, 15}}, 20);
  return m;
}

Mesh ladder() {
  Mesh m;
  addBox(m, -4, -3, B, 15, -0.5, 0.5);
  addBox(m, 3, 4, B, 15, -0.5, 0.5);
  for (double y = -1; y < 15; y += 3) addBox(m, -3, 3, y, y + 0.7, -0.35, 0.35);
  return m;
}

Mesh star() {
  Mesh m;
  const double cy = 3.2, outer = 5.8, inner = 2.4;
  std::vector<std::pair<double, double>> pentagon;
  for (int i = 0; i < 5; ++i) {
    double a = M_PI / 2 + 2 * M_PI * i / 5 + M_PI / 5;
    pentagon.push_back({inner * std::cos(a), cy + inner * std::sin(a)});
  }
  addProfileZ(m, pentagon, -0.8, 0.8);
  for (int i = 0; i < 5; ++i) {
    double a = M_PI / 2 + 2 * M_PI * i / 5;
    auto p0 = pentagon[size_t((i + 4) % 5)], p1 = pentagon[size_t(i)];
    addProfileZ(m, {p0, p1, {outer * std::cos(a), cy + outer * std::sin(a)}}, -0.8, 0.8);
  }
  addBox(m, -0.5, 0.5, B, cy - inner + 0.5, -0.5, 0.5);
  addBox(m, -2, 2, B, B + 1, -2, 2);
  return m;
}

Mesh signPost() {
  Mesh m;
  addBox(m, -2, 2, B, -2, -2, 2);
  addBox(m, -0.5, 0.5, -2, 10, -0.5, 0.5);
  addBox(m, -4, 4, 9, 15, -0.4, 0.4);
  return m;
}

Mesh bench() {
  Mesh m;
  addBox(m, -8, 8, -0.6, 0.6, -2, 1);
  addBox(m, -8, 8, 1.8, 3, 1, 2);
  for (double x : {-7.0, 6.0}) {
    addBox(m, x, x + 1, B, -0.6, -2, 1);
    addBox(m, x, x + 1, 0.6, 1.8, 1, 2);
  }
  return m;
}

Mesh table() {
  Mesh m;
  addBox(m, -4, 4, 1.8, 3, -4, 4);
  for (double x : {-3.6, 2.6})
    for (double z : {-3.6, 2.6}) addBox(m, x, x + 1, B, 1.8, z, z + 1);
  return m;
}

Mesh chair() {
  Mesh m;
  addBox(m, -2, 2, 1.2, 2.2, -2, 2);
  addBox(m, -2, 2, 2.2, 9, 1.2, 2);
  for (double x : {-2.0, 1.3})
    for (double z : {-2.0, 1.3}) addBox(m, x, x + 0.7, B, 1.2, z, z + 0.7);
  return m;
}

Mesh garageDoor() {
  Mesh m;
  addBox(m, -8, -7, B, 9, -2, 2);
  addBox(m, 7, 8, B, 9, -2, 2);
  addBox(m, -8, 8, 7.6, 9, -2, 2);
  for (int i = 0; i < 5; ++i) {
    double y = B + i * 2.12;
    addBox(m, -7, 7, y, y + 1.9, -0.6, 0.6);
  }
  return m;
}

Mesh corner() {
  Mesh m;
  addBox(m, -4, 4, B, 3, 0, 4);
  addBox(m, -4, 0, B, 3, -4, 0);
  return m;
}

Mesh cross() {
  Mesh m;
  addBox(m, -6, 6, B, 3, -2, 2);
  addBox(m, -2, 2, B, 3, -6, -2);
  addBox(m, -2, 2, B, 3, 2, 6);
  return m;
}

Mesh prismBrick(int sides, double r, int h) {
  Mesh m;
  std::vector<Point3> a, b;
  for (int i = 0; i < sides; ++i) {
    double ang = 2 * M_PI * (i + 0.5) / sides;
    double rr = r / std::cos(M_PI / sides);
    a.push_back({rr * std::cos(ang), B, rr * std::sin(ang)});
    b.push_back({rr * std::cos(ang), top(h), rr * std::sin(ang)});
  }
  addLoft(m, a, b);
  return m;
}

Mesh spire() {
  Mesh m;
  addBox(m, -4, 4, B, 1, -4, 4);
  addLathe(m, 0, 0, {{3.6, 1}, {0.2, 15}}, 8);
  return m;
}

Mesh onionDome() {
  Mesh m;
  addLathe(m, 0, 0, {{3, B}, {3, -1}, {3.8, 1}, {3.8, 2.6}, {2.8, 4.6}, {1.2, 6.6}, {0.5, 7.6}, {0.1, 9}}, 16);
  return m;
}

Mesh gable() {
  Mesh m;
  addProfileZ(m, {{-8, B}, {8, B}, {8, -1}, {0, 9}, {-8, -1}}, -2, 2);
  return m;
}

Mesh roundWindow() {
  Mesh m;
  const double t = top(2);
  addBox(m, -4, -3, B, t, -2, 2);
  addBox(m, 3, 4, B, t, -2, 2);
  addBox(m, -4, 4, B, B + 1.5, -2, 2);
  const int steps = 8;
  for (int i = 0; i < steps; ++i) {
    double a0 = M_PI * i / steps, a1 = M_PI * (i + 1) / steps;
    addProfileZ(m, {{3 * std::cos(a1), 4 + 3 * std::sin(a1)}, {3 * std::cos(a0), 4 + 3 * std::sin(a0)},
                    {3 * std::cos(a0), t}, {3 * std::cos(a1), t}}, -2, 2);
  }
  addBox(m, -3, 3, B + 1.5, 4, -0.2, 0.2);
  addBox(m, -0.4, 0.4, B + 1.5, 7, -0.7, 0.7);
  addBox(m, -3, 3, 1.6, 2.4, -0.7, 0.7);
  return m;
}

Mesh slide() {
  Mesh m;
  addBox(m, -4, 4, 7.5, 9, 4, 8);
  for (double x : {-4.0, 3.0}) addBox(m, x, x + 1, B, 7.5, 6.5, 7.5);
  addProfileX(m, {{-8, B}, {-6.6, B}, {4, 7.5}, {4, 8.4}}, -3, 3);
  addProfileX(m, {{-8, B}, {-7.2, B}, {4, 9}, {4, 8.4}, {-7.2, -1.6}}, -4, -3);
  addProfileX(m, {{-8, B}, {-7.2, B}, {4, 9}, {4, 8.4}, {-7.2, -1.6}}, 3, 4);
  return m;
}

Mesh windmill() {
  Mesh m;
  addLathe(m, 0, 0, {{3.6, B}, {2.4, 15}, {0.6, 18}, {0, 18.5}}, 12);
  addCylinderZ(m, 0, 14, 0.8, -4, -2, 8);
  for (int i = 0; i < 4; ++i) {
    double a = M_PI / 4 + M_PI / 2 * i;
    double c = std::cos(a), s = std::sin(a);
    addProfileZ(m, {{c * 1 - s * 0.9, 14 + s * 1 + c * 0.9}, {c * 1 + s * 0.9, 14 + s * 1 - c * 0.9},
                    {c * 5.6 + s * 0.9, 14 + s * 5.6 - c * 0.9}, {c * 5.6 - s * 0.9, 14 + s * 5.6 + c * 0.9}},
                -4.2, -3.8);
  }
  return m;
}

Mesh lighthouse() {
  Mesh m;
  addLathe(m, 0, 0, {{4, B}, {4, -1}, {3.2, -1}, {2.4, 14}, {3.2, 14}, {3.2, 15}}, 16);
  addFrustum(m, 0, 0, 15, 18.6, 2, 2, 12);
  addLathe(m, 0, 0, {{2.8, 18.6}, {0.3, 21}}, 12);
  return m;
}

Mesh tent() {
  Mesh m;
  addProfileX(m, {{-4, B}, {4, B}, {0, 9}}, -6, 6);
  addBox(m, -0.3, 0.3, B, 9, -6.4, -6);
  return m;
}

Mesh well() {
  Mesh m;
  for (int i = 0; i < 8; ++i) {
    double a0 = 2 * M_PI * i / 8, a1 = 2 * M_PI * (i + 1) / 8;
    auto at = [](double r, double a, double y) { return Point3{r * std::cos(a), y, r * std::sin(a)}; };
    addLoft(m, {at(4, a0, B), at(4, a1, B), at(3, a1, B), at(3, a0, B)},
            {at(4, a0, 0), at(4, a1, 0), at(3, a1, 0), at(3, a0, 0)});
  }
  addBox(m, -3.6, -3, 0, 5.6, -0.4, 0.4);
  addBox(m, 3, 3.6, 0, 5.6, -0.4, 0.4);
  addProfileX(m, {{-4, 5.6}, {4, 5.6}, {0, 9}}, -4, 4);
  addCylinderX(m, 3, 0, 0.5, -3, 3, 8);
  return m;
}

Mesh mailbox() {
  Mesh m;
  addBox(m, -2, 2, B, -2.2, -2, 2);
  addBox(m, -0.4, 0.4, -2.2, 4, -0.4, 0.4);
  addBox(m, -1.6, 1.6, 4, 7, -2, 2);
  addCylinderZ(m, 0, 7, 1.6, -2, 2, 10);
  addBox(m, 1.6, 1.9, 6, 9, 0.6, 1.1);
  return m;
}

Mesh flagPole() {
  Mesh m;
  addBox(m, -2, 2, B, -2, -2, 2);
  addFrustum(m, 0, 0, -2, 20, 0.4, 0.35, 8);
  addBall(m, 0, 20.3, 0, 0.7, 8, 4);
  addBox(m, 0.35, 6, 14, 19, -0.15, 0.15);
  return m;
}

Mesh roofTile() {
  Mesh m;
  addProfileX(m, {{-4, B}, {4, B}, {4, 3}, {2, 3}, {-4, -1}}, -2, 2);
  return m;
}

Mesh smallArch() {
  return arch(6, 2, 1, 2);
}

Mesh steps2() {
  return stairs(4, 2);
}

Mesh bigWindow() {
  return windowFrame(8, 3, 4, 2);
}

Mesh post() {
  Mesh m;
  addBox(m, -2, 2, B, 15, -2, 2);
  return m;
}
}  // namespace

using namespace shapes;

std::vector<ShapeDesign> designShapes() {
  std::vector<ShapeDesign> shapes = {
      {"둥근 벽돌 1×1", roundBrick(2, 1)},       // 3
      {"둥근 벽돌 2×2", roundBrick(4, 1)},       // 4
      {"고깔 1×1", cone(2, 1)},                  // 5
      {"고깔 2×2", cone(4, 2)},                  // 6
      {"아치 1×4", arch(8, 4, 2, 2)},            // 7
      {"아치 1×6", arch(12, 8, 3, 2)},           // 8
      {"지붕 마루 2×2", ridge(4, 4, 1)},         // 9
      {"지붕 마루 2×4", ridge(8, 4, 1)},         // 10
      {"가파른 지붕", roofSlope(4, 4, 2)},       // 11
      {"거꾸로 비탈", invertedSlope(4, 4, 1)},   // 12
      {"창문 1×2", windowFrame(4, 2, 2, 2)},     // 13
      {"문", door(4, 3)},                        // 14
      {"울타리", fence(8)},                      // 15
      {"계단", stairs(4, 3)},                    // 16
      {"기둥", column(3)},                       // 17
      {"둥근 지붕", dome(8, 2)},                 // 18
      {"뾰족 지붕", pyramid(4, 1)},              // 19
      {"바퀴", wheel()},                         // 20
      {"비행기", aeroplane()},                   // 21
      {"나무", tree(3, 4)},                      // 22
      {"꽃", flower()},                          // 23
      {"버섯", mushroom()},                      // 24
      {"사람", person()},                        // 25
      {"강아지", dog()},                         // 26
      {"오리", duck()},                          // 27
      {"자동차", car()},                         // 28
      {"트럭 앞", truckCab()},                   // 29
      {"배", boat()},                            // 30
      {"로켓", rocket()},                        // 31
      {"성탑", tower()},                         // 32
      {"굴뚝", chimney()},                       // 33
      {"가로등", lampPost()},                    // 34
      {"다리", bridge()},                        // 35
      {"굴", tunnel()},                          // 36
      {"둥근 모서리", quarterRound()},           // 37
      {"지붕 모서리", hipCorner()},              // 38
      {"쐐기 왼쪽", wedgePlate(true)},           // 39
      {"쐐기 오른쪽", wedgePlate(false)},        // 40
      {"둥근 판 4×4", roundBrick(8, 1)},         // 41
      {"저장탑", silo()},                        // 42
      {"사다리", ladder()},                      // 43
      {"둥근 나무", roundTree(3, 4)},            // 44
      {"별", star()},                            // 45
      {"팻말", signPost()},                      // 46
      {"긴 의자", bench()},                      // 47
      {"탁자", table()},                         // 48
      {"의자", chair()},                         // 49
      {"큰 창문", bigWindow()},                  // 50
      {"차고 문", garageDoor()},                 // 51
      {"모서리 벽돌", corner()},                 // 52
      {"십자 벽돌", cross()},                    // 53
      {"팔각 벽돌", prismBrick(8, 4, 1)},        // 54
      {"육각 벽돌", prismBrick(6, 4, 1)},        // 55
      {"첨탑", spire()},                         // 56
      {"양파 지붕", onionDome()},                // 57
      {"박공", gable()},                         // 58
      {"작은 아치", smallArch()},                // 59
      {"둥근 창", roundWindow()},                // 60
      {"두 칸 계단", steps2()},                  // 61
      {"미끄럼틀", slide()},                     // 62
      {"풍차", windmill()},                      // 63
      {"기관차", engine()},                      // 64
      {"화차", wagon()},                         // 65
      {"등대", lighthouse()},                    // 66
      {"고양이", cat()},                         // 67
      {"물고기", fish()},                        // 68
      {"눈사람", snowman()},                     // 69
      {"튤립", tulip()},                         // 70
      {"선인장", cactus()},                      // 71
      {"덤불", bush()},                          // 72
      {"텐트", tent()},                          // 73
      {"우물", well()},                          // 74
      {"우체통", mailbox()},                     // 75
      {"깃대", flagPole()},                      // 76
      {"지붕 기와", roofTile()},                 // 77
      {"높은 기둥", post()},                     // 78
  };
  for (ShapeDesign& s : shapes) {
    settleOnGrid(s.mesh);
    compactMesh(s.mesh);
  }
  return shapes;
}
