// The mesh kit builds closed solids that face outward, keeps the size bands on the brick grid, and
// writes and reads the 3D Studio ASCII subset.
#include "tools/art/Mesh.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
Point3 normalOf(const Mesh& m, const Triangle& t) {
  const Point3 &p = m.vertices[size_t(t.a)], &q = m.vertices[size_t(t.b)], &r = m.vertices[size_t(t.c)];
  return {(q.y - p.y) * (r.z - p.z) - (q.z - p.z) * (r.y - p.y), (q.z - p.z) * (r.x - p.x) - (q.x - p.x) * (r.z - p.z),
          (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x)};
}
}  // namespace

TEST(MeshKit, BoxFacesPointAwayFromItsCentre) {
  Mesh m;
  addBox(m, -2, 2, -3, 3, -2, 2);
  ASSERT_EQ(m.triangles.size(), 12u);
  for (const Triangle& t : m.triangles) {
    Point3 n = normalOf(m, t);
    const Point3& a = m.vertices[size_t(t.a)];
    const Point3& b = m.vertices[size_t(t.b)];
    const Point3& c = m.vertices[size_t(t.c)];
    Point3 mid{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
    EXPECT_GT(n.x * mid.x + n.y * mid.y + n.z * mid.z, 0);
  }
  EXPECT_NEAR(signedVolume(m), 4 * 6 * 4, 1e-9);
}

TEST(MeshKit, ConesAndHollowLathesAreClosedAndOutward) {
  Mesh cone;
  addLathe(cone, 0, 0, {{2, -3}, {0, 3}}, 12);
  EXPECT_GT(signedVolume(cone), 0);
  // An overhanging cap (wider above than below) must still face outward everywhere.
  Mesh mushroom;
  addLathe(mushroom, 0, 0, {{1, -3}, {1, 0}, {4, 0}, {3, 2}, {0, 3}}, 16);
  Mesh stem;
  addFrustum(stem, 0, 0, -3, 0, 1, 1, 16);
  Mesh cap;
  addLathe(cap, 0, 0, {{4, 0}, {3, 2}, {0, 3}}, 16);
  EXPECT_NEAR(signedVolume(mushroom), signedVolume(stem) + signedVolume(cap), 1e-6);
  for (const Triangle& t : cone.triangles) {
    Point3 n = normalOf(cone, t);
    EXPECT_GT(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1e-6);  // the collapsed tip left no slivers
  }
}

TEST(MeshKit, SettlingPutsRoundShapesOnTheGrid) {
  Mesh m;
  addFrustum(m, 0, 0, -2.9, 8.7, 3.9, 3.9, 14);
  settleOnGrid(m);
  Point3 low, high;
  meshBounds(m, low, high);
  EXPECT_EQ(low.y, -3);
  EXPECT_EQ(high.y, 9);
  EXPECT_EQ(low.x, -4);
  EXPECT_EQ(high.x, 4);
  EXPECT_EQ(low.z, -4);
  EXPECT_EQ(high.z, 4);
  EXPECT_GT(signedVolume(m), 0);
}

TEST(MeshKit, SizeBandsScaleAboutTheBottom) {
  Mesh m;
  addBox(m, -2, 2, -3, 3, -6, 6);
  for (double s : {2.0, 3.0}) {
    Point3 low, high;
    meshBounds(scaleAboutBottom(m, s), low, high);
    EXPECT_EQ(low.y, -3);
    EXPECT_EQ(high.y, 6 * s - 3);
    EXPECT_EQ(high.z, 6 * s);
  }
}

TEST(AscFile, RoundTripsAndKeepsTokensShort) {
  Mesh m;
  addBox(m, -2, 2, -3, 3, -2, 2);
  compactMesh(m);
  EXPECT_EQ(m.vertices.size(), 8u);
  std::string text = encodeAsc(m, "k003");
  EXPECT_NE(text.find("Tri-mesh, Vertices: 8     Faces: 12\r\n"), std::string::npos);
  Mesh back;
  ASSERT_TRUE(decodeAsc(text, back));
  ASSERT_EQ(back.triangles.size(), 12u);
  EXPECT_NEAR(signedVolume(back), 96, 1e-9);
  size_t longest = 0, run = 0;
  for (char c : text) {
    bool separator = std::isspace(uint8_t(c)) || c == ':' || c == ',';
    run = separator ? 0 : run + 1;
    longest = std::max(longest, run);
  }
  EXPECT_LE(longest, 31u);
}

TEST(AscFile, PageHeadersAreSkippedAndBadIndicesRefused) {
  const std::string paged =
      "Tri-mesh, Vertices: 3 Faces: 1\nVertex 0: X:0 Y:0 Z:0\nPage 2\nVertex 1: X:1 Y:0 Z:0\n"
      "Vertex 2: X:0 Y:1 Z:0\nFace 0: A:0 B:1 C:2 AB:1 BC:1 CA:1\n";
  Mesh m;
  ASSERT_TRUE(decodeAsc(paged, m));
  EXPECT_EQ(m.vertices[1].x, 1);
  EXPECT_FALSE(decodeAsc("Tri-mesh, Vertices: 3 Faces: 1\nVertex 0: X:0 Y:0 Z:0\nVertex 1: X:1 Y:0 Z:0\n"
                         "Vertex 2: X:0 Y:1 Z:0\nFace 0: A:0 B:1 C:7\n", m));
  EXPECT_FALSE(decodeAsc("Tri-mesh, Vertices: 900000 Faces: 1\n", m));
  EXPECT_FALSE(decodeAsc("Tri-mesh, Vertices: 3 Faces: 1\nVertex 0: X:0\n", m));  // cut short
  EXPECT_FALSE(decodeAsc("no mesh here", m));
}

TEST(MeshKit, CompactingSharesCornersAndDropsUnusedOnes) {
  Mesh m;
  m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}, {1, 0, 0}};
  m.triangles = {{0, 1, 2}, {0, 4, 2}};
  compactMesh(m);
  EXPECT_EQ(m.vertices.size(), 3u);  // the unused corner is gone, the repeated one shared
  EXPECT_EQ(m.triangles[1].b, m.triangles[0].b);
}

TEST(MeshKit, SettlingAnEmptyMeshDoesNothing) {
  Mesh m;
  settleOnGrid(m);
  EXPECT_TRUE(m.vertices.empty());
  EXPECT_EQ(signedVolume(m), 0);
}

TEST(AscFile, SeveralObjectsAreMergedWithTheirOwnNumbering) {
  Mesh a, b;
  addBox(a, -2, 2, -3, 3, -2, 2);
  addBox(b, 2, 6, -3, 3, -2, 2);
  compactMesh(a);
  compactMesh(b);
  std::string text = "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\r\n" + encodeAsc(a, "left") + encodeAsc(b, "right");
  Mesh both;
  ASSERT_TRUE(decodeAsc(text, both));
  EXPECT_EQ(both.vertices.size(), 16u);
  EXPECT_EQ(both.triangles.size(), 24u);
  EXPECT_NEAR(signedVolume(both), 2 * 96, 1e-9);
  Point3 low, high;
  meshBounds(both, low, high);
  EXPECT_EQ(high.x, 6);
}
