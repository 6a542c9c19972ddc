// The shape designs as a set: complete, named, distinct, and the catalogue's helpers refuse entries
// outside the list.
#include "GeneratedData.h"
#include "tools/art/Catalogue.h"
#include "tools/art/PanelLayout.h"

#include <gtest/gtest.h>
#include <set>

TEST(ShapeDesigns, SeventySixNamedDistinctShapes) {
  std::vector<ShapeDesign> shapes = designShapes();
  ASSERT_EQ(shapes.size(), size_t(shapeCount));
  std::set<std::string> names, files;
  for (const ShapeDesign& s : shapes) {
    EXPECT_TRUE(names.insert(s.name).second) << s.name;
    EXPECT_FALSE(s.mesh.triangles.empty()) << s.name;
    files.insert(encodeAsc(s.mesh, "x"));
  }
  EXPECT_EQ(files.size(), size_t(shapeCount));  // no two shapes are the same mesh
  EXPECT_EQ(std::string(shapes[aeroplaneEntry].name), "비행기");
}

TEST(ShapeDesigns, CatalogueEntriesOutsideTheListAreEmpty) {
  std::vector<ShapeDesign> shapes = designShapes();
  EXPECT_TRUE(catalogueMesh(shapes, -1).triangles.empty());
  EXPECT_TRUE(catalogueMesh(shapes, catalogueEntries).triangles.empty());
  EXPECT_TRUE(catalogueMesh({}, 0).triangles.empty());
  EXPECT_FALSE(catalogueMesh(shapes, catalogueEntries - 1).triangles.empty());
  EXPECT_EQ(meshFileName(21), "scene/k021.asc");
  EXPECT_EQ(meshFileName(230), "scene/k230.asc");
}

TEST(ShapeDesigns, MeshFilesNeedNoBlanksAndStartWithoutSlash) {
  for (int kind = 3; kind <= 230; ++kind) {
    std::string name = meshFileName(kind);
    EXPECT_EQ(name.find(' '), std::string::npos);
    EXPECT_NE(name[0], '/');
  }
}

TEST(PanelLayout, ButtonsLieInsideTheirPanelsWithoutOverlapping) {
  for (const PanelPicture& layout : panelPictures()) {
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
      const PanelRect& a = layout.buttons[i].rect;
      EXPECT_GE(a.x, 0);
      EXPECT_GE(a.y, 0);
      EXPECT_LE(a.x + a.w, layout.width) << layout.normalFile << " " << layout.buttons[i].name;
      EXPECT_LE(a.y + a.h, layout.height) << layout.normalFile << " " << layout.buttons[i].name;
      for (size_t j = i + 1; j < layout.buttons.size(); ++j) {
        const PanelRect& b = layout.buttons[j].rect;
        bool overlap = a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
        // The game-selection snapshot button shares its place with the options help button.
        bool shared = std::string(layout.buttons[j].name) == "snapshot";
        EXPECT_TRUE(!overlap || shared) << layout.normalFile << " " << layout.buttons[i].name << " / " << layout.buttons[j].name;
      }
    }
  }
}

TEST(PanelLayout, ColourCellsTileTheToolStripWithOnePixelGaps) {
  const PanelPicture* hedit = findPanel("hedit.bmp");
  ASSERT_NE(hedit, nullptr);
  PanelRect strip{};
  for (const PanelButton& b : hedit->buttons)
    if (std::string(b.name) == "colours") strip = b.rect;
  EXPECT_EQ(colourCellX[0], strip.x);
  EXPECT_EQ(colourCellX[5] + colourCellW, strip.x + strip.w);
  for (int i = 1; i < 6; ++i) EXPECT_EQ(colourCellX[i], colourCellX[i - 1] + colourCellW + 1);
  EXPECT_EQ(colourCellY, strip.y);
  EXPECT_EQ(colourCellH, strip.h);
  EXPECT_EQ(findPanel("nothing.bmp"), nullptr);
}
