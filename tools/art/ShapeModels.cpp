// The living things and vehicles of the catalogue, built from boxes, lathes and profiles.
#include "tools/art/ShapeModels.h"

#include <cmath>

namespace shapes {
namespace {
constexpr double B = -3;  // every shape's bottom
constexpr double top(int bricks) { return 3 + 6 * (bricks - 1); }
}  // namespace

Mesh wheel() {
  Mesh m;
  addCylinderX(m, 3, 0, 6, -1.5, 1.5, 20);
  addCylinderX(m, 3, 0, 2.5, -2, 2, 12);
  return m;
}

// Kind 21: the game's aeroplane, three studs square, one brick high, nose toward +z.
Mesh aeroplane() {
  Mesh m;
  addBox(m, -1.5, 1.5, -2, 0.8, -4.5, 3.8);                                          // fuselage
  addLoft(m, {{-1.5, -2, 3.8}, {1.5, -2, 3.8}, {1.5, 0.8, 3.8}, {-1.5, 0.8, 3.8}},  // nose
          {{-0.9, -1.5, 5.4}, {0.9, -1.5, 5.4}, {0.9, 0.2, 5.4}, {-0.9, 0.2, 5.4}});
  addBox(m, -0.3, 0.3, -1.0, -0.4, 5.4, 5.8);                                        // propeller hub
  addBox(m, -3.2, 3.2, -1.0, -0.5, 5.8, 6.0);                                        // propeller blade
  addBox(m, -0.25, 0.25, -3.0, 1.5, 5.8, 6.0);                                       // second blade
  addProfileX(m, {{-0.5, -0.6}, {2.8, -0.6}, {2.2, 0.0}, {-0.5, 0.0}}, -6, 6);       // wings
  addProfileX(m, {{-6, 0.2}, {-4.6, 0.2}, {-4.6, 0.8}, {-6, 0.8}}, -3, 3);            // tail plane
  addLoft(m, {{-0.4, 0.8, -6}, {0.4, 0.8, -6}, {0.4, 0.8, -3.8}, {-0.4, 0.8, -3.8}},  // fin
          {{-0.3, 3, -6}, {0.3, 3, -6}, {0.3, 3, -5.0}, {-0.3, 3, -5.0}});
  addBox(m, -1.5, 1.5, -2, -1.2, -6, -4.5);                                          // tail cone
  addLoft(m, {{-1.1, 0.8, -0.5}, {1.1, 0.8, -0.5}, {1.1, 0.8, 2.4}, {-1.1, 0.8, 2.4}},  // cockpit
          {{-0.8, 2.0, 0.0}, {0.8, 2.0, 0.0}, {0.8, 2.0, 1.4}, {-0.8, 2.0, 1.4}});
  addBox(m, -2.4, -1.6, -3, -2, 1.0, 2.0);                                           // wheels
  addBox(m, 1.6, 2.4, -3, -2, 1.0, 2.0);
  return m;
}

Mesh tree(int h, double r) {
  Mesh m;
  const double t = top(h);
  addFrustum(m, 0, 0, B, B + 5, 1.1, 0.9, 10);
  double y = B + 3, layer = (t - y) / 2.2;
  for (int i = 0; i < 3; ++i) {
    double rr = r * (1 - i * 0.25);
    double y1 = i == 2 ? t : y + layer;
    addLathe(m, 0, 0, {{rr, y}, {0.2, y1}}, 14);
    y += layer * 0.6;
  }
  return m;
}

Mesh roundTree(int h, double r) {
  Mesh m;
  const double t = top(h);
  addFrustum(m, 0, 0, B, t - 2 * r + 1, 1.2, 0.9, 10);
  addBall(m, 0, t - r, 0, r, 14, 7);
  return m;
}

Mesh flower() {
  Mesh m;
  addFrustum(m, 0, 0, B, B + 0.8, 1.6, 1.4, 10);
  addFrustum(m, 0, 0, B + 0.8, 0.5, 0.3, 0.3, 6);
  addProfileX(m, {{0, -1.2}, {1.5, -0.6}, {0.3, -0.4}}, -0.2, 0.2);
  for (int i = 0; i < 6; ++i) {
    double a = M_PI * i / 3;
    double x = 1.3 * std::cos(a), y = 1.6 + 1.3 * std::sin(a);
    addCylinderZ(m, x, y, 0.75, -0.3, 0.3, 8);
  }
  addCylinderZ(m, 0, 1.6, 0.7, -0.5, 0.5, 10);
  addBox(m, -0.2, 0.2, 2.6, 3, -0.2, 0.2);
  return m;
}

Mesh mushroom() {
  Mesh m;
  addFrustum(m, 0, 0, B, 3, 1.8, 1.5, 12);
  addLathe(m, 0, 0, {{1.5, 2.5}, {4, 3}, {3.6, 5.5}, {2.4, 7.8}, {0, 9}}, 16);
  return m;
}

Mesh person() {
  Mesh m;
  addBox(m, -1.6, -0.2, B, 3, -1, 1);                 // legs
  addBox(m, 0.2, 1.6, B, 3, -1, 1);
  addLoft(m, {{-1.8, 3, -1.1}, {1.8, 3, -1.1}, {1.8, 3, 1.1}, {-1.8, 3, 1.1}},
          {{-1.4, 8, -1}, {1.4, 8, -1}, {1.4, 8, 1}, {-1.4, 8, 1}});
  addBox(m, -2.8, -1.6, 4, 7.8, -0.6, 0.6);           // arms
  addBox(m, 1.6, 2.8, 4, 7.8, -0.6, 0.6);
  addFrustum(m, 0, 0, 8, 8.6, 0.6, 0.6, 8);           // neck
  addLathe(m, 0, 0, {{1.2, 8.6}, {1.4, 9.4}, {1.4, 11.4}, {1.2, 12}}, 12);
  addLathe(m, 0, 0, {{2, 12}, {2, 12.5}, {1.2, 12.6}, {1.2, 14.6}, {0.9, 15}}, 12);  // hat
  return m;
}

Mesh dog() {
  Mesh m;
  addBox(m, -1.4, 1.4, 0, 3.2, -4, 2.5);              // body, head toward -z
  for (double x : {-1.4, 0.6})
    for (double z : {-4.0, 1.7}) addBox(m, x, x + 0.8, B, 0.2, z, z + 0.8);
  addBox(m, -1.2, 1.2, 2.4, 6.4, -6, -2.6);           // head
  addBox(m, -0.8, 0.8, 2.6, 4.6, -7, -6);              // snout
  addBox(m, -1.6, -1.0, 4.4, 8.5, -4.6, -3.4);         // ears
  addBox(m, 1.0, 1.6, 4.4, 8.5, -4.6, -3.4);
  addProfileX(m, {{2.3, 2.2}, {4, 8.2}, {4, 9}, {2.3, 3.2}}, -0.3, 0.3);  // tail
  addBox(m, -1.2, 1.2, 0, 1, -8, -7);
  return m;
}

Mesh duck() {
  Mesh m;
  addLathe(m, 0, 1.5, {{0.8, B}, {2.2, -2.2}, {2.6, -0.8}, {2.2, 0.6}, {1, 1.2}}, 12);
  addBall(m, 0, 1.3, -1.6, 1.5, 10, 5);
  addProfileX(m, {{-4, 0.8}, {-2.6, 1.4}, {-2.6, 0.6}}, -0.6, 0.6);
  addProfileX(m, {{3.2, -1.2}, {4, 0.8}, {3.4, 0.8}}, -0.6, 0.6);
  addBox(m, -0.1, 0.1, 2.8, 3, -1.7, -1.5);
  return m;
}

Mesh car() {
  Mesh m;
  addBox(m, -3.8, 3.8, -1.2, 3, -7.6, 7.6);
  addLoft(m, {{-3.6, 3, -3.4}, {3.6, 3, -3.4}, {3.6, 3, 5}, {-3.6, 3, 5}},
          {{-3.2, 8.6, -1.2}, {3.2, 8.6, -1.2}, {3.2, 8.6, 4.4}, {-3.2, 8.6, 4.4}});
  addBox(m, -3.4, 3.4, 8.6, 9, -1.2, 4.4);
  addBox(m, -4, 4, 0, 1.6, -8, -7.6);                  // bumpers
  addBox(m, -4, 4, 0, 1.6, 7.6, 8);
  for (double z : {-4.6, 4.6}) addCylinderX(m, -0.4, z, 2.6, -4, 4, 14);
  return m;
}

Mesh truckCab() {
  Mesh m;
  addBox(m, -3.8, 3.8, -1, 3, -4, 4);
  addLoft(m, {{-3.8, 3, -3}, {3.8, 3, -3}, {3.8, 3, 4}, {-3.8, 3, 4}},
          {{-3.8, 9, -2}, {3.8, 9, -2}, {3.8, 9, 4}, {-3.8, 9, 4}});
  addBox(m, -3.2, 3.2, 0.8, 2.2, -4.1, -3.9);
  for (double z : {-2.2, 2.2}) addCylinderX(m, -0.6, z, 2.4, -4, 4, 14);
  return m;
}

Mesh boat() {
  Mesh m;
  addLoft(m, {{0, B, -10}, {-1.2, B, -6}, {-1.2, B, 10}, {1.2, B, 10}, {1.2, B, -6}},
          {{0, 1.6, -12}, {-4, 1.6, -6}, {-4, 1.6, 12}, {4, 1.6, 12}, {4, 1.6, -6}});
  addBox(m, -3, 3, 1.6, 3, 2, 9);
  return m;
}

Mesh rocket() {
  Mesh m;
  addLathe(m, 0, 0, {{2.2, B}, {2.6, -1}, {2.6, 13}, {2.2, 16}, {1.2, 19}, {0, 21}}, 16);
  for (int i = 0; i < 4; ++i) {
    double a = M_PI / 2 * i;
    double c = std::cos(a), s = std::sin(a);
    auto p = [&](double r, double y) { return Point3{c * r, y, s * r}; };
    Point3 side{-s * 0.3, 0, c * 0.3};
    auto off = [&](Point3 v, double k) { return Point3{v.x + side.x * k, v.y, v.z + side.z * k}; };
    addLoft(m, {off(p(2.2, B), -1), off(p(4, B), -1), off(p(2.4, 5), -1)},
            {off(p(2.2, B), 1), off(p(4, B), 1), off(p(2.4, 5), 1)});
  }
  return m;
}

Mesh engine() {
  Mesh m;
  addBox(m, -3.8, 3.8, -1, 1, -8, 8);
  addCylinderZ(m, 0, 4.4, 3.2, -8, 2, 16);
  addBox(m, -3.8, 3.8, 1, 9, 2, 8);
  addBox(m, -4, 4, 9, 9, 1.6, 8);
  addLathe(m, 0, -6, {{1, 7.4}, {1, 12}, {1.8, 13.6}, {1.8, 15}}, 10);
  for (double z : {-5.6, -1.6, 4.8}) addCylinderX(m, 0, z, 2, -4, 4, 12);
  return m;
}

Mesh wagon() {
  Mesh m;
  addBox(m, -3.8, 3.8, -0.4, 0.8, -8, 8);
  addBox(m, -3.8, 3.8, 0.8, 3, -7.6, 7.6);
  for (double z : {-5.0, 5.0}) addCylinderX(m, -0.8, z, 2.2, -4, 4, 12);
  return m;
}

Mesh cat() {
  Mesh m;
  addBox(m, -1.2, 1.2, -1, 1.6, -2, 3.6);
  for (double x : {-1.2, 0.4})
    for (double z : {-2.0, 2.8}) addBox(m, x, x + 0.8, B, -1, z, z + 0.8);
  addBox(m, -1.4, 1.4, 0.2, 2.6, -4, -1.4);
  addLoft(m, {{-1.4, 2.6, -3.4}, {-0.4, 2.6, -3.4}, {-0.4, 2.6, -2.6}, {-1.4, 2.6, -2.6}},
          {{-1.0, 3, -3}, {-1.0, 3, -3}, {-1.0, 3, -3}, {-1.0, 3, -3}});
  addLoft(m, {{0.4, 2.6, -3.4}, {1.4, 2.6, -3.4}, {1.4, 2.6, -2.6}, {0.4, 2.6, -2.6}},
          {{1.0, 3, -3}, {1.0, 3, -3}, {1.0, 3, -3}, {1.0, 3, -3}});
  addProfileX(m, {{3.4, 1}, {4, 1}, {4, 3}, {3.4, 2.6}}, -0.3, 0.3);
  return m;
}

Mesh fish() {
  Mesh m;
  addBox(m, -2, 2, B, B + 0.8, -2, 2);
  addBox(m, -0.3, 0.3, B + 0.8, -1, -0.3, 0.3);
  addLoft(m, {{-0.8, -1, -3}, {0.8, -1, -3}, {0.8, -1, 2}, {-0.8, -1, 2}},
          {{-0.8, 2, -3}, {0.8, 2, -3}, {0.8, 2, 2}, {-0.8, 2, 2}});
  addProfileX(m, {{-3, -1}, {-4, 0.5}, {-3, 2}}, -0.6, 0.6);
  addProfileX(m, {{2, 0.5}, {4, -1}, {4, 3}}, -0.25, 0.25);
  addProfileX(m, {{-1, 2}, {1.4, 2}, {0, 3}}, -0.2, 0.2);
  return m;
}

Mesh snowman() {
  Mesh m;
  addBall(m, 0, 0.4, 0, 3.4, 10, 6);
  addBall(m, 0, 5.6, 0, 2.4, 10, 5);
  addBall(m, 0, 9.2, 0, 1.7, 10, 5);
  addLathe(m, 0, 0, {{2, 10.4}, {2, 10.9}, {1.3, 11}, {1.3, 15}}, 10);
  addLoft(m, {{-0.3, 9.0, -1.5}, {0.3, 9.0, -1.5}, {0.3, 9.5, -1.5}, {-0.3, 9.5, -1.5}},
          {{0, 9.25, -3}, {0, 9.25, -3}, {0, 9.25, -3}, {0, 9.25, -3}});
  return m;
}

Mesh tulip() {
  Mesh m;
  addFrustum(m, 0, 0, B, B + 0.8, 1.6, 1.4, 10);
  addFrustum(m, 0, 0, B + 0.8, 4, 0.3, 0.3, 6);
  addLathe(m, 0, 0, {{0.4, 3.6}, {1.5, 4.6}, {1.7, 7}, {1.2, 8.4}, {1.5, 9}}, 10);
  addProfileX(m, {{0, -1.4}, {1.6, 1.6}, {0.3, -0.4}}, -0.2, 0.2);
  return m;
}

Mesh cactus() {
  Mesh m;
  addFrustum(m, 0, 0, B, B + 1, 2, 1.8, 10);
  addLathe(m, 0, 0, {{1.2, B + 1}, {1.2, 8}, {0.8, 8.8}, {0.2, 9}}, 10);
  addCylinderX(m, 2, 0, 0.6, 0.8, 2.2, 6);
  addLathe(m, 1.9, 0, {{0.6, 2}, {0.6, 5.4}, {0.2, 5.8}}, 6);
  addCylinderX(m, 0, 0, 0.5, -2, -0.8, 6);
  addLathe(m, -1.8, 0, {{0.5, 0}, {0.5, 3.6}, {0.2, 4}}, 6);
  return m;
}

Mesh bush() {
  Mesh m;
  addBox(m, -3.6, 3.6, B, -2, -3.6, 3.6);
  addBall(m, -1.6, 0, -1.4, 2.4, 10, 5);
  addBall(m, 1.6, -0.2, -1.0, 2.2, 10, 5);
  addBall(m, 0, 0.6, 1.6, 2.4, 10, 5);
  return m;
}

}  // namespace shapes
