// The mesh reader and the catalogue list: objects, vertices, faces, page headers and damaged input.
#include <cmath>
#include <string>

#include "files/MeshLoader.h"
#include "platform/paths.h"
#include "scene/BlockTestKit.h"
#include "support/TestSupport.h"

namespace {

// A cube of 8 vertices and 12 faces in the export layout, shifted along x.
std::string cubeObject(float shift, bool withMapping = false) {
  std::string text = "Named object: \"Box\"\nTri-mesh, Vertices: 8     Faces: 12\nVertex list:\n";
  for (int i = 0; i < 8; ++i) {
    const float x = (i & 1 ? 1.0f : -1.0f) + shift, y = i & 2 ? 1.0f : -1.0f, z = i & 4 ? 1.0f : -1.0f;
    text += "Vertex " + std::to_string(i) + ":  X:" + std::to_string(x) + "     Y:" + std::to_string(y) +
            "     Z:" + std::to_string(z) + (withMapping ? "     U:0.5     V:0.25" : "") + "\n";
  }
  text += "Face list:\n";
  static const int faces[12][3] = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                                   {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
  for (int f = 0; f < 12; ++f) {
    text += "Face " + std::to_string(f) + ":    A:" + std::to_string(faces[f][0]) + " B:" + std::to_string(faces[f][1]) +
            " C:" + std::to_string(faces[f][2]) + " AB:1 BC:1 CA:0\nSmoothing:  1\n";
  }
  return text;
}

Shape load(const std::string& text) {
  Shape shape;
  loadShapeFromText(text, shape);
  return shape;
}

TEST(MeshLoader, TwoObjectsMergeIntoOneTriangleList) {
  const Shape shape = load(cubeObject(0) + cubeObject(10));
  EXPECT_EQ(shape.faceCount, 24);
  EXPECT_EQ(shape.vertexCount, 72);
  ASSERT_EQ(shape.vertices.size(), 72u);
  ASSERT_EQ(shape.indices.size(), 72u);
  EXPECT_EQ(shape.indices[71], 71);
  // Face 0 of the second object uses its own vertices 0, 2 and 3.
  EXPECT_FLOAT_EQ(shape.vertices[36].x, 9);
  EXPECT_FLOAT_EQ(shape.vertices[37].y, 1);
  EXPECT_FLOAT_EQ(shape.vertices[38].x, 11);
  EXPECT_EQ(shape.vertices[36].u, 0);
  EXPECT_EQ(shape.vertices[37].u, 1);
  EXPECT_EQ(shape.vertices[38].v, 1);
  // Face 0 (0, 2, 3) lies in the plane z = -1 and turns towards -z.
  EXPECT_NEAR(shape.vertices[0].nz, -1, 1e-6);
  EXPECT_NEAR(shape.vertices[0].nx, 0, 1e-6);
  EXPECT_EQ(shape.minX, -1);
  EXPECT_EQ(shape.maxX, 11);
}

TEST(MeshLoader, VertexValuesIgnoreMappingAndPageHeaders) {
  std::string text = cubeObject(0, true);
  text.insert(text.find("Vertex 1:"), "Page 2\n");
  const Shape shape = load(text);
  EXPECT_EQ(shape.faceCount, 12);
  EXPECT_EQ(shape.maxY, 1);
  const Shape single = load("Tri-mesh, Vertices: 3 Faces: 1\nVertex 0: X:1.5 Y:-2.0 Z:0.25 U:9 V:9\n"
                            "Vertex 1: X:2 Y:0 Z:0\nPage 7\nVertex 2: X:0 Y:1 Z:0\n"
                            "Face 0: A:0 B:1 C:2 AB:1 BC:1 CA:1\nSmoothing: 1\n");
  ASSERT_EQ(single.vertices.size(), 3u);
  EXPECT_EQ(single.vertices[0].x, 1.5f);
  EXPECT_EQ(single.vertices[0].y, -2.0f);
  EXPECT_EQ(single.vertices[0].z, 0.25f);
  EXPECT_EQ(single.vertices[2].y, 1.0f);
  EXPECT_EQ(single.minY, -2.0f);
}

TEST(MeshLoader, BoundsIncludeUnusedVerticesAndManyObjectsLoad) {
  std::string text;
  for (int i = 0; i < 25; ++i) text += cubeObject(static_cast<float>(3 * i));
  text += "Tri-mesh, Vertices: 1 Faces: 0\nVertex 0: X:500 Y:-40 Z:3\n";
  const Shape shape = load(text);
  EXPECT_EQ(shape.faceCount, 25 * 12);
  EXPECT_GE(shape.meshCapacity, 26);
  EXPECT_EQ(shape.maxX, 500);
  EXPECT_EQ(shape.minY, -40);
}

TEST(MeshLoader, DamagedObjectsHaveDefinedOutcomes) {
  // No object at all: empty shape, bounds at their start values.
  const Shape empty = load("nothing here: 1, 2, 3");
  EXPECT_EQ(empty.faceCount, 0);
  EXPECT_EQ(empty.minX, kFloatMax);
  EXPECT_EQ(empty.maxZ, -kFloatMax);

  // A corner outside the object's vertices makes no triangle; a flat triangle faces up.
  const Shape bad = load("Tri-mesh Vertices 3 Faces 3\nX 0 Y 0 Z 0\nX 1 Y 0 Z 0\nX 2 Y 0 Z 0\n"
                         "A 0 B 1 C 3\nA -1 B 1 C 2\nA 0 B 1 C 2\n");
  ASSERT_EQ(bad.faceCount, 1);
  EXPECT_EQ(bad.vertices[0].ny, 1);
  EXPECT_EQ(bad.vertices[0].nx, 0);

  // A long token keeps its first 31 characters; a token cut off by the end of the file is still read.
  const std::string longName(400, 'Q');
  const Shape cut = load(longName + " Tri-mesh Vertices 1 Faces 0 X 7 Y 8 Z 9.5");
  EXPECT_EQ(cut.maxZ, 9.5f);
  // Ends inside a face: what was read stays, nothing past the end is invented.
  const Shape truncated = load("Tri-mesh Vertices 3 Faces 2 X 0 Y 0 Z 0 X 1 Y 0 Z 0 X 0 Y 0 Z 1 A 0 B 1 C 2 A 0 B");
  EXPECT_EQ(truncated.faceCount, 1);
  // Header counts far beyond the content allocate nothing up front.
  const Shape huge = load("Tri-mesh Vertices 2147483647 Faces 99999999999 X 1e39 Y -1e39 Z nan");
  EXPECT_EQ(huge.faceCount, 0);
  EXPECT_EQ(huge.maxX, kFloatMax);
  EXPECT_EQ(huge.minY, -kFloatMax);
  EXPECT_EQ(huge.maxZ, 0);
}

TEST(CatalogueList, EntriesCommentsAndBlankLines) {
  const auto paths = readCatalogueList("/ first band\r\n  ./mesh\\a.asc trailing words\r\n\r\n   \n"
                                       "/ comment\nmesh/b.asc\n" + std::string(300, 'x') + " tail\n");
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[0], "./mesh\\a.asc");
  EXPECT_EQ(paths[1], "mesh/b.asc");
  EXPECT_EQ(paths[2], std::string(199, 'x'));
  std::string many;
  for (int i = 0; i < 300; ++i) many += "m" + std::to_string(i) + ".asc\n";
  const auto capped = readCatalogueList(many);
  ASSERT_EQ(capped.size(), static_cast<size_t>(kCatalogueEntries));
  EXPECT_EQ(capped.back(), "m227.asc");
}

using CatalogueFiles = BlockModelTest;

TEST_F(CatalogueFiles, UnreadableMeshLeavesItsEntryEmpty) {
  TempFolder folder;
  ASSERT_TRUE(folder.write("Mesh/Plane.ASC", cubeObject(0)));
  ASSERT_TRUE(folder.write("scene/all.box", "/ shapes\n./mesh\\plane.asc\n./mesh/missing.asc\n"));
  // Mesh paths are relative to the current directory, which is the data folder.
  const std::string previous = currentDirectory();
  ASSERT_TRUE(setCurrentDirectory(folder.path()));
  const bool listed = LoadShapeCatalogue(world.shapes, "./scene\\all.box");
  setCurrentDirectory(previous);
  EXPECT_TRUE(listed);
  ASSERT_NE(world.shapes.entries[0], nullptr);
  EXPECT_EQ(world.shapes.entries[0]->faceCount, 12);
  EXPECT_EQ(world.shapes.entries[1], nullptr);
  auto built = create(describe(3, 0, 0, 0, {0, 3, 0}));
  EXPECT_EQ(built->vertexCount, 36);
  EXPECT_EQ(world.missingShapes, 0);
  auto missing = create(describe(4, 0, 0, 0, {0, 3, 0}));
  EXPECT_EQ(missing->vertexCount, 0);
  EXPECT_EQ(world.missingShapes, 1);
  EXPECT_FALSE(LoadShapeCatalogue(world.shapes, folder.path() + "/scene/none.box"));
  EXPECT_EQ(world.shapes.entries[0], nullptr);
}

}  // namespace
