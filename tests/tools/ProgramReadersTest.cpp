// What the generator writes passes the program's own readers: every BMP and PPM, the catalogue list and
// every mesh, with the bounds the block code will compute from them.
#include "GeneratedData.h"
#include "files/MeshLoader.h"
#include "platform/paths.h"
#include "render/Bitmaps.h"
#include "render/Textures.h"
#include "scene/Shape.h"
#include "support/TestSupport.h"
#include "tools/art/Catalogue.h"
#include "tools/art/Levels.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The block code snaps a shape's vertical extent onto the brick grid; a well-made shape is unchanged.
double snapped(double v) { return -6 * std::trunc((v + 9.1) / -6) - 9; }
}  // namespace

TEST(ProgramReaders, EveryPictureLoads) {
  int bitmaps = 0, textures = 0;
  for (const OutputFile& file : generatedData()) {
    if (endsWith(file.path, ".bmp") || endsWith(file.path, ".tbm")) {
      BmpFile bmp;
      ASSERT_EQ(parseBmp(file.bytes, bmp), BmpResult::Ok) << file.path;
      Picture mine;
      ASSERT_TRUE(decodeBmp(file.bytes, mine));
      EXPECT_EQ(bmp.width(), mine.width) << file.path;
      EXPECT_EQ(bmp.height(), mine.height) << file.path;  // positive: bottom-up
      Surface surface;
      EXPECT_TRUE(bmpToSurface(bmp, surface)) << file.path;
      ++bitmaps;
    } else if (endsWith(file.path, ".ppm")) {
      PpmPicture picture;
      ASSERT_EQ(readPpm(file.bytes, picture), PpmResult::Ok) << file.path;
      Picture mine;
      ASSERT_TRUE(decodePpm(file.bytes, mine));
      EXPECT_EQ(picture.rgb, mine.rgb) << file.path;
      ++textures;
    }
  }
  // Panels and start, banner, sprite, card, thumbnails, plates, block strips, level pictures.
  EXPECT_EQ(bitmaps, 14 + 1 + 1 + 1 + 20 + 20 + 3 + int(designLevels().size()));
  EXPECT_EQ(textures, 21);
}

TEST(ProgramReaders, CatalogueListNamesTheMeshesInKindOrder) {
  std::vector<std::string> paths = readCatalogueList(findOutput(generatedData(), "scene/all.box")->bytes);
  ASSERT_EQ(paths.size(), size_t(kCatalogueEntries));
  EXPECT_EQ(paths[18], meshFileName(21));
  for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(paths[i], meshFileName(int(i) + 3));
}

TEST(ProgramReaders, EveryMeshLoadsWithBoundsOnTheGrid) {
  for (int kind = 3; kind <= 230; ++kind) {
    Shape shape;
    loadShapeFromText(findOutput(generatedData(), meshFileName(kind))->bytes, shape);
    ASSERT_GT(shape.faceCount, 0) << kind;
    EXPECT_EQ(shape.vertexCount, 3 * shape.faceCount);
    EXPECT_EQ(shape.minY, -3.0f) << kind;
    EXPECT_EQ(snapped(shape.minY), shape.minY) << kind;
    EXPECT_EQ(snapped(shape.maxY), shape.maxY) << kind;
    // Flat shading uses the loader's normals: summed over the surface they enclose a positive volume.
    double volume = 0;
    for (size_t v = 0; v + 2 < shape.vertices.size(); v += 3) {
      const Vertex &a = shape.vertices[v], &b = shape.vertices[v + 1], &c = shape.vertices[v + 2];
      double area = 0;
      double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, wx = c.x - a.x, wy = c.y - a.y, wz = c.z - a.z;
      double nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
      area = std::sqrt(nx * nx + ny * ny + nz * nz);
      ASSERT_GT(area, 1e-6) << kind;
      EXPECT_GT((nx * a.nx + ny * a.ny + nz * a.nz) / area, 0.99) << kind;  // stored normal agrees with winding
      volume += (a.x * (b.y * c.z - b.z * c.y) + a.y * (b.z * c.x - b.x * c.z) + a.z * (b.x * c.y - b.y * c.x)) / 6;
    }
    EXPECT_GT(volume, 0) << kind;
  }
}

TEST(ProgramReaders, WholeCatalogueLoadsFromAWrittenFolder) {
  TempFolder folder;
  std::string failed;
  ASSERT_TRUE(writeOutputs(folder.path(), generatedData(), failed)) << failed;
  const std::string before = currentDirectory();
  ASSERT_TRUE(setCurrentDirectory(folder.path()));
  ShapeCatalogue catalogue;
  const bool loaded = LoadShapeCatalogue(catalogue, "./scene\\all.box");
  setCurrentDirectory(before);
  int filled = 0;
  for (int kind = 3; kind <= 230; ++kind) filled += catalogueShape(catalogue, kind) != nullptr;
  Shape* plane = catalogueShape(catalogue, 21);
  const float planeTop = plane ? plane->maxY : 0, planeFront = plane ? plane->maxZ : 0;
  EXPECT_TRUE(loaded);
  EXPECT_EQ(filled, kCatalogueEntries);
  EXPECT_EQ(planeTop, 3.0f);
  EXPECT_EQ(planeFront, 6.0f);
}
