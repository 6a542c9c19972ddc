// Building, measuring, writing and reading the catalogue meshes.
#include "tools/art/Mesh.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
Point3 sub(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 cross(Point3 a, Point3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(Point3 a) { return std::sqrt(dot(a, a)); }

// Snap to a thousandth so that values written with six decimals read back exactly as built.
double tidy(double v) {
  double r = std::round(v * 1000.0) / 1000.0;
  return r == 0 ? 0.0 : r;
}
Point3 tidy(Point3 v) { return {tidy(v.x), tidy(v.y), tidy(v.z)}; }

void addTriangle(Mesh& mesh, Point3 a, Point3 b, Point3 c, Point3 centre) {
  a = tidy(a);
  b = tidy(b);
  c = tidy(c);
  Point3 n = cross(sub(b, a), sub(c, a));
  if (length(n) < 1e-6) return;
  if (dot(n, sub(a, centre)) < 0) std::swap(b, c);
  int base = int(mesh.vertices.size());
  mesh.vertices.push_back(a);
  mesh.vertices.push_back(b);
  mesh.vertices.push_back(c);
  mesh.triangles.push_back({base, base + 1, base + 2});
}

// A triangle turned so that its normal agrees with the given outward direction.
void addOriented(Mesh& mesh, Point3 a, Point3 b, Point3 c, Point3 outward) {
  a = tidy(a);
  b = tidy(b);
  c = tidy(c);
  Point3 n = cross(sub(b, a), sub(c, a));
  if (length(n) < 1e-6) return;
  if (dot(n, outward) < 0) std::swap(b, c);
  int base = int(mesh.vertices.size());
  mesh.vertices.push_back(a);
  mesh.vertices.push_back(b);
  mesh.vertices.push_back(c);
  mesh.triangles.push_back({base, base + 1, base + 2});
}

// A flat convex polygon as a fan.
void addFan(Mesh& mesh, const std::vector<Point3>& ring, Point3 centre) {
  for (size_t i = 1; i + 1 < ring.size(); ++i) addTriangle(mesh, ring[0], ring[i], ring[i + 1], centre);
}
}  // namespace

void addLoft(Mesh& mesh, const std::vector<Point3>& bottom, const std::vector<Point3>& top) {
  if (bottom.size() < 2 || bottom.size() != top.size()) return;
  Point3 centre;
  for (const Point3& v : bottom) centre = {centre.x + v.x, centre.y + v.y, centre.z + v.z};
  for (const Point3& v : top) centre = {centre.x + v.x, centre.y + v.y, centre.z + v.z};
  double n = double(bottom.size() * 2);
  centre = {centre.x / n, centre.y / n, centre.z / n};
  addFan(mesh, bottom, centre);
  addFan(mesh, top, centre);
  const size_t k = bottom.size();
  for (size_t i = 0; i < k; ++i) {
    size_t j = (i + 1) % k;
    addTriangle(mesh, bottom[i], bottom[j], top[j], centre);
    addTriangle(mesh, bottom[i], top[j], top[i], centre);
  }
}

void addBox(Mesh& mesh, double x0, double x1, double y0, double y1, double z0, double z1) {
  addLoft(mesh, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}},
          {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}});
}

void addProfileZ(Mesh& mesh, const std::vector<std::pair<double, double>>& xy, double z0, double z1) {
  std::vector<Point3> a, b;
  for (auto [x, y] : xy) {
    a.push_back({x, y, z0});
    b.push_back({x, y, z1});
  }
  addLoft(mesh, a, b);
}

void addProfileX(Mesh& mesh, const std::vector<std::pair<double, double>>& zy, double x0, double x1) {
  std::vector<Point3> a, b;
  for (auto [z, y] : zy) {
    a.push_back({x0, y, z});
    b.push_back({x1, y, z});
  }
  addLoft(mesh, a, b);
}

static std::vector<Point3> ring(double cx, double cz, double y, double r, int sides) {
  std::vector<Point3> out;
  for (int i = 0; i < sides; ++i) {
    double a = 2 * M_PI * (i + 0.5) / sides;
    out.push_back({cx + r * std::cos(a), y, cz + r * std::sin(a)});
  }
  return out;
}

void addFrustum(Mesh& mesh, double cx, double cz, double y0, double y1, double r0, double r1, int sides) {
  addLoft(mesh, ring(cx, cz, y0, r0, sides), ring(cx, cz, y1, r1, sides));
}

void addLathe(Mesh& mesh, double cx, double cz, const std::vector<std::pair<double, double>>& profile, int sides) {
  if (profile.size() < 2 || sides < 3) return;
  auto at = [&](double r, double y, int i) {
    double a = 2 * M_PI * (i + 0.5) / sides;
    return Point3{cx + r * std::cos(a), y, cz + r * std::sin(a)};
  };
  // Walking the outline from the bottom to the top, its outward side is to the right: (dy, -dr).
  for (size_t k = 0; k + 1 < profile.size(); ++k) {
    auto [r0, y0] = profile[k];
    auto [r1, y1] = profile[k + 1];
    for (int i = 0; i < sides; ++i) {
      double a = 2 * M_PI * (i + 1.0) / sides;
      Point3 outward{std::cos(a) * (y1 - y0), -(r1 - r0), std::sin(a) * (y1 - y0)};
      addOriented(mesh, at(r0, y0, i), at(r0, y0, i + 1), at(r1, y1, i + 1), outward);
      addOriented(mesh, at(r0, y0, i), at(r1, y1, i + 1), at(r1, y1, i), outward);
    }
  }
  auto cap = [&](double r, double y, double up) {
    if (r <= 0) return;
    for (int i = 1; i + 1 < sides; ++i) addOriented(mesh, at(r, y, 0), at(r, y, i), at(r, y, i + 1), {0, up, 0});
  };
  cap(profile.front().first, profile.front().second, -1);
  cap(profile.back().first, profile.back().second, 1);
}

void addBall(Mesh& mesh, double cx, double cy, double cz, double r, int sides, int rings) {
  std::vector<std::pair<double, double>> profile;
  for (int i = 0; i <= rings; ++i) {
    double t = M_PI * i / rings;
    profile.push_back({r * std::sin(t), cy - r * std::cos(t)});
  }
  addLathe(mesh, cx, cz, profile, sides);
}

void addCylinderX(Mesh& mesh, double cy, double cz, double r, double x0, double x1, int sides) {
  std::vector<std::pair<double, double>> zy;
  for (int i = 0; i < sides; ++i) {
    double a = 2 * M_PI * (i + 0.5) / sides;
    zy.push_back({cz + r * std::cos(a), cy + r * std::sin(a)});
  }
  addProfileX(mesh, zy, x0, x1);
}

void addCylinderZ(Mesh& mesh, double cx, double cy, double r, double z0, double z1, int sides) {
  std::vector<std::pair<double, double>> xy;
  for (int i = 0; i < sides; ++i) {
    double a = 2 * M_PI * (i + 0.5) / sides;
    xy.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  addProfileZ(mesh, xy, z0, z1);
}

void meshBounds(const Mesh& mesh, Point3& low, Point3& high) {
  low = high = mesh.vertices.empty() ? Point3{} : mesh.vertices[0];
  for (const Point3& v : mesh.vertices) {
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
}

void compactMesh(Mesh& mesh) {
  // Corners are shared where they coincide exactly, which keeps the files small.
  std::vector<Point3> kept;
  std::vector<int> renumber(mesh.vertices.size(), -1);
  auto key = [](const Point3& v) { return std::make_tuple(v.x, v.y, v.z); };
  std::vector<std::pair<std::tuple<double, double, double>, int>> seen;
  for (const Triangle& t : mesh.triangles)
    for (int index : {t.a, t.b, t.c}) {
      if (renumber[size_t(index)] >= 0) continue;
      auto k = key(mesh.vertices[size_t(index)]);
      auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == k; });
      if (it != seen.end()) {
        renumber[size_t(index)] = it->second;
      } else {
        renumber[size_t(index)] = int(kept.size());
        seen.push_back({k, int(kept.size())});
        kept.push_back(mesh.vertices[size_t(index)]);
      }
    }
  for (Triangle& t : mesh.triangles) {
    t.a = renumber[size_t(t.a)];
    t.b = renumber[size_t(t.b)];
    t.c = renumber[size_t(t.c)];
  }
  mesh.vertices = std::move(kept);
}

void settleOnGrid(Mesh& mesh) {
  if (mesh.vertices.empty()) return;
  Point3 low, high;
  meshBounds(mesh, low, high);
  auto nearest = [](double v, double step, double offset) { return std::round((v - offset) / step) * step + offset; };
  auto horizontal = [&](double lo, double hi, double& newLo, double& newHi) {
    newLo = nearest(lo, 2, 0);
    newHi = nearest(hi, 2, 0);
    if (newHi - newLo < 2) {
      newLo = std::floor(lo / 2) * 2;
      newHi = std::max(newLo + 2, std::ceil(hi / 2) * 2);
    }
  };
  double x0, x1, z0, z1;
  horizontal(low.x, high.x, x0, x1);
  horizontal(low.z, high.z, z0, z1);
  const double y0 = -3, y1 = std::max(3.0, nearest(high.y, 6, 3));
  auto remap = [](double v, double lo, double hi, double a, double b) {
    return hi - lo < 1e-9 ? v : a + (v - lo) * (b - a) / (hi - lo);
  };
  for (Point3& v : mesh.vertices)
    v = tidy(Point3{remap(v.x, low.x, high.x, x0, x1), remap(v.y, low.y, high.y, y0, y1),
                  remap(v.z, low.z, high.z, z0, z1)});
}

Mesh scaleAboutBottom(const Mesh& mesh, double s) {
  Mesh out = mesh;
  for (Point3& v : out.vertices) v = tidy(Point3{v.x * s, -3 + s * (v.y + 3), v.z * s});
  return out;
}

double signedVolume(const Mesh& mesh) {
  double volume = 0;
  for (const Triangle& t : mesh.triangles) {
    const Point3& a = mesh.vertices[size_t(t.a)];
    const Point3& b = mesh.vertices[size_t(t.b)];
    const Point3& c = mesh.vertices[size_t(t.c)];
    volume += dot(a, cross(b, c)) / 6.0;
  }
  return volume;
}

std::string encodeAsc(const Mesh& mesh, const std::string& objectName) {
  std::string out;
  char line[160];
  std::snprintf(line, sizeof line, "Named object: \"%s\"\r\n", objectName.c_str());
  out += line;
  std::snprintf(line, sizeof line, "Tri-mesh, Vertices: %zu     Faces: %zu\r\nVertex list:\r\n", mesh.vertices.size(),
                mesh.triangles.size());
  out += line;
  for (size_t i = 0; i < mesh.vertices.size(); ++i) {
    const Point3& v = mesh.vertices[i];
    std::snprintf(line, sizeof line, "Vertex %zu:  X:%f     Y:%f     Z:%f\r\n", i, v.x, v.y, v.z);
    out += line;
  }
  out += "Face list:\r\n";
  for (size_t i = 0; i < mesh.triangles.size(); ++i) {
    const Triangle& t = mesh.triangles[i];
    std::snprintf(line, sizeof line, "Face %zu:    A:%d B:%d C:%d AB:1 BC:1 CA:1\r\nSmoothing:  1\r\n", i, t.a, t.b, t.c);
    out += line;
  }
  return out;
}

namespace {
// Tokens are separated by white space, ':' and ','; "Page" headers and the token after them are skipped.
struct Tokens {
  const std::string& text;
  size_t at = 0;
  bool next(std::string& token) {
    for (;;) {
      while (at < text.size() && (std::isspace(uint8_t(text[at])) || text[at] == ':' || text[at] == ',')) ++at;
      if (at >= text.size()) return false;
      size_t start = at;
      while (at < text.size() && !std::isspace(uint8_t(text[at])) && text[at] != ':' && text[at] != ',') ++at;
      token = text.substr(start, at - start);
      if (token.compare(0, 4, "Page") == 0) {
        std::string skipped;
        if (!next(skipped)) return false;
        continue;
      }
      return true;
    }
  }
};
}  // namespace

bool decodeAsc(const std::string& text, Mesh& mesh) {
  mesh = {};
  Tokens tokens{text};
  std::string token;
  bool any = false;
  while (tokens.next(token)) {
    if (token.compare(0, 8, "Tri-mesh") != 0) continue;
    std::string skip, count;
    if (!tokens.next(skip) || !tokens.next(count)) return false;
    long vertexCount = std::strtol(count.c_str(), nullptr, 10);
    if (!tokens.next(skip) || !tokens.next(count)) return false;
    long faceCount = std::strtol(count.c_str(), nullptr, 10);
    if (vertexCount < 0 || faceCount < 0 || vertexCount > 65535 || faceCount > 65535) return false;
    const int base = int(mesh.vertices.size());
    for (long i = 0; i < vertexCount; ++i) {
      double xyz[3];
      for (int axis = 0; axis < 3; ++axis) {
        const char label = "XYZ"[axis];
        do {
          if (!tokens.next(token)) return false;
        } while (token[0] != label);
        if (!tokens.next(token)) return false;
        xyz[axis] = std::strtod(token.c_str(), nullptr);
      }
      mesh.vertices.push_back({xyz[0], xyz[1], xyz[2]});
    }
    for (long i = 0; i < faceCount; ++i) {
      int corner[3];
      for (int k = 0; k < 3; ++k) {
        const char* label = k == 0 ? "A" : k == 1 ? "B" : "C";
        do {
          if (!tokens.next(token)) return false;
        } while (token != label);
        if (!tokens.next(token)) return false;
        long index = std::strtol(token.c_str(), nullptr, 10);
        if (index < 0 || index >= vertexCount) return false;
        corner[k] = base + int(index);
      }
      mesh.triangles.push_back({corner[0], corner[1], corner[2]});
    }
    any = true;
  }
  return any;
}
