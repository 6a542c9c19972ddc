// Every catalogue mesh, read back from its generated file, obeys the building rules: it stands on
// y = -3, its top lies on the brick grid, its footprint on the half-stud grid, it faces outward and
// has no degenerate triangles; the list names all 228 in kind order with the aeroplane at kind 21.
#include "GeneratedData.h"
#include "tools/art/Catalogue.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace {
bool onGrid(double v, double step, double offset) {
  double k = (v - offset) / step;
  return std::fabs(k - std::round(k)) < 1e-9;
}

Mesh readMesh(int kind) {
  Mesh m;
  const OutputFile* file = findOutput(generatedData(), meshFileName(kind));
  EXPECT_NE(file, nullptr) << kind;
  if (file) {
    EXPECT_TRUE(decodeAsc(file->bytes, m)) << kind;
  }
  return m;
}
}  // namespace

TEST(Catalogue, ListNamesEveryMeshInKindOrder) {
  const OutputFile* list = findOutput(generatedData(), "scene/all.box");
  ASSERT_NE(list, nullptr);
  std::istringstream lines(list->bytes);
  std::string line;
  std::vector<std::string> entries;
  while (std::getline(lines, line)) {
    ASSERT_FALSE(line.empty() || line == "\r") << "blank line after entry " << entries.size();
    ASSERT_EQ(line.back(), '\r');
    ASSERT_LE(line.size(), 199u);
    if (line[0] == '/') continue;
    entries.push_back(line.substr(0, line.find_first_of(" \t\r")));
  }
  ASSERT_EQ(entries.size(), 228u);
  EXPECT_EQ(entries[18], "scene/k021.asc");
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i], meshFileName(int(i) + 3));
    EXPECT_NE(findOutput(generatedData(), entries[i]), nullptr) << entries[i];
  }
}

TEST(Catalogue, EveryMeshKeepsTheGeometryRules) {
  for (int kind = 3; kind <= 230; ++kind) {
    Mesh m = readMesh(kind);
    ASSERT_FALSE(m.triangles.empty()) << kind;
    Point3 low, high;
    meshBounds(m, low, high);
    EXPECT_EQ(low.y, -3) << kind;
    EXPECT_TRUE(high.y >= 3 && onGrid(high.y, 6, 3)) << kind << " top " << high.y;
    for (double v : {low.x, high.x, low.z, high.z}) EXPECT_TRUE(onGrid(v, 2, 0)) << kind << " extent " << v;
    EXPECT_GT(signedVolume(m), 0) << kind;
    EXPECT_LT(m.vertices.size(), 65536u);
    std::vector<bool> used(m.vertices.size(), false);
    for (const Triangle& t : m.triangles) {
      const Point3 &p = m.vertices[size_t(t.a)], &q = m.vertices[size_t(t.b)], &r = m.vertices[size_t(t.c)];
      double nx = (q.y - p.y) * (r.z - p.z) - (q.z - p.z) * (r.y - p.y);
      double ny = (q.z - p.z) * (r.x - p.x) - (q.x - p.x) * (r.z - p.z);
      double nz = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
      EXPECT_GT(std::sqrt(nx * nx + ny * ny + nz * nz), 1e-6) << kind;
      used[size_t(t.a)] = used[size_t(t.b)] = used[size_t(t.c)] = true;
    }
    // A stray corner would still widen the block's bounds.
    for (size_t i = 0; i < used.size(); ++i) EXPECT_TRUE(used[i]) << kind << " corner " << i;
    if (kind <= 78) {
      EXPECT_LE(m.triangles.size(), 500u) << kind;
    }
  }
}

TEST(Catalogue, LargerSizesAreTheSameShapeScaledAboutTheBottom) {
  for (int kind = 3; kind <= 78; ++kind) {
    Point3 low1, high1;
    meshBounds(readMesh(kind), low1, high1);
    for (int band = 1; band <= 2; ++band) {
      Point3 low, high;
      meshBounds(readMesh(kind + 76 * band), low, high);
      const double s = band + 1;
      EXPECT_NEAR(low.x, low1.x * s, 1e-6) << kind;
      EXPECT_NEAR(high.z, high1.z * s, 1e-6) << kind;
      EXPECT_NEAR(high.y, -3 + s * (high1.y + 3), 1e-6) << kind;
    }
  }
}

TEST(Catalogue, AeroplaneIsOneBrickHighWithItsNoseTowardPlusZ) {
  Mesh plane = readMesh(21);
  Point3 low, high;
  meshBounds(plane, low, high);
  EXPECT_EQ(high.y, 3);
  EXPECT_EQ(high.x - low.x, 12);  // three studs, odd, so the default start point is on the grid
  EXPECT_EQ(high.z - low.z, 12);
  // The fin is the highest part and sits at the tail; the propeller is the frontmost.
  double finZ = 0;
  int finCorners = 0;
  for (const Point3& v : plane.vertices)
    if (v.y == high.y) {
      finZ += v.z;
      ++finCorners;
    }
  ASSERT_GT(finCorners, 0);
  EXPECT_LT(finZ / finCorners, -2);
  double wingAtFront = 0;
  for (const Point3& v : plane.vertices)
    if (v.z == high.z) wingAtFront = std::max(wingAtFront, std::fabs(v.x));
  EXPECT_LT(wingAtFront, 4);  // the front is the propeller, not a wing tip
}

TEST(Catalogue, MeshFilesKeepTheTextRulesOfTheReader) {
  for (int kind = 3; kind <= 230; ++kind) {
    const OutputFile* file = findOutput(generatedData(), meshFileName(kind));
    ASSERT_NE(file, nullptr);
    const std::string& text = file->bytes;
    EXPECT_EQ(text.compare(0, 14, "Named object: "), 0) << kind;
    size_t longest = 0, run = 0, vertexLines = 0, faceLines = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      if (c == '\n') {
        EXPECT_EQ(text[i - 1], '\r') << kind;  // Windows text, every line
      }
      bool separator = std::isspace(uint8_t(c)) || c == ':' || c == ',';
      run = separator ? 0 : run + 1;
      longest = std::max(longest, run);
      if (c == '\n' && text.compare(i + 1, 7, "Vertex ") == 0 && text.compare(i + 1, 11, "Vertex list") != 0)
        ++vertexLines;
      if (c == '\n' && text.compare(i + 1, 5, "Face ") == 0 && text.compare(i + 1, 9, "Face list") != 0) ++faceLines;
    }
    EXPECT_LE(longest, 31u) << kind;
    EXPECT_EQ(text.find("Page"), std::string::npos) << kind;  // would be taken for a page header
    Mesh m;
    ASSERT_TRUE(decodeAsc(text, m));
    EXPECT_EQ(vertexLines, m.vertices.size()) << kind;
    EXPECT_EQ(faceLines, m.triangles.size()) << kind;
  }
}
