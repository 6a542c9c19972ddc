// Block geometry: spans, studs, slopes, quarter turns, catalogue snapping, resizing and size bands.
#include <algorithm>
#include <cmath>

#include "platform/headless.h"
#include "scene/BlockTestKit.h"

namespace {

Vec3 studCentre(const Block& b, int cellIndex) {
  const StudMesh& m = b.studVertices[cellIndex];
  Box box = invertedBox();
  for (const Vertex& v : m) widenBox(box, Box{{v.x, v.y, v.z}, {v.x, v.y, v.z}});
  return {(box.min.x + box.max.x) / 2, box.min.y, (box.min.z + box.max.z) / 2};
}

Box bodyBox(const Block& b, int firstVertex = 0, int count = 24) {
  Box box = invertedBox();
  for (int i = firstVertex; i < firstVertex + count; ++i) {
    const Vertex& v = b.vertices[i];
    widenBox(box, Box{{v.x, v.y, v.z}, {v.x, v.y, v.z}});
  }
  return box;
}

using BlockGeometry = BlockModelTest;

TEST_F(BlockGeometry, TwoByFourBrickSpansAndStuds) {
  auto b = create(describe(Brick, 2, 4, 1, {0, 3, 0}));
  EXPECT_EQ(bodyBox(*b), (Box{{-4, 0, -8}, {4, 6, 8}}));
  EXPECT_EQ(outerBox(*b), (Box{{-4, 0, -8}, {4, 7, 8}}));
  EXPECT_EQ(topSlab(*b), (Box{{-4, 6, -8}, {4, 7, 8}}));
  EXPECT_EQ(bottomSlab(*b), (Box{{-4, 0, -8}, {4, 1, 8}}));
  ASSERT_EQ(b->studCellCount, 8);
  ASSERT_EQ(b->studCount, 8);
  EXPECT_EQ(b->vertexCount, 24);
  EXPECT_EQ(b->triangleCount, 12);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 2; ++c) {
      const int k = r * 2 + c;
      EXPECT_EQ(b->studCells[k].cellIndex, k);
      EXPECT_EQ(b->studCells[k].visible, 1);
      EXPECT_EQ(studCentre(*b, k), (Vec3{-2.0f + 4 * c, 6, -6.0f + 4 * r}));
      float top = -kFloatMax;
      for (const Vertex& v : b->studVertices[k]) top = std::max(top, v.y);
      EXPECT_EQ(top, 7);
    }
  }
}

TEST_F(BlockGeometry, BasePlateIsAThirdOfABrick) {
  auto plate = create(describe(BasePlate, 10, 10, 1, {0, 0, 0}));
  const Box body = bodyBox(*plate);
  EXPECT_NEAR(body.min.y, -1, 1e-5);
  EXPECT_NEAR(body.max.y, 1, 1e-5);
  EXPECT_NEAR(plate->outerMax.y, 2, 1e-5);
  EXPECT_NEAR(studCentre(*plate, 0).y, 1, 1e-5);
  // A base plate sets the work area with its margin.
  EXPECT_EQ(world.workArea.box.min.x, -20 - 80);
  EXPECT_EQ(world.workArea.box.max.z, 20 + 80);
}

TEST_F(BlockGeometry, SlopeCutsItsTopEdgeAndHidesThoseStuds) {
  auto s = create(describe(SlopeBrick, 3, 2, 1, {0, 3, 0}, 0));
  const Box top = bodyBox(*s, 0, 4);
  EXPECT_EQ(top.min.x, -6);
  EXPECT_EQ(top.max.x, 2);
  const Box bottom = bodyBox(*s, 20, 4);
  EXPECT_EQ(bottom.min.x, -6);
  EXPECT_EQ(bottom.max.x, 6);
  int shown = 0;
  for (int k = 0; k < s->studCellCount; ++k) {
    shown += s->studCells[k].visible;
    EXPECT_EQ(s->studCells[k].visible, k % 3 == 2 ? 0 : 1);
  }
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(outerBox(*s), (Box{{-6, 0, -4}, {6, 7, 4}}));  // the cut does not shrink the bounds

  auto odd = create(describe(SlopeBrick, 2, 3, 1, {0, 3, 0}, 3));
  for (int k = 0; k < odd->studCellCount; ++k) EXPECT_EQ(odd->studCells[k].visible, k < 2 ? 0 : 1);
  EXPECT_EQ(bodyBox(*odd, 0, 4).min.z, -2);
}

// After any turn, each cell of the grid must draw the stud that stands at that cell's place.
void expectGridMatchesStuds(const Block& b) {
  for (int r = 0; r < b.studsZ; ++r) {
    for (int c = 0; c < b.studsX; ++c) {
      const Vec3 centre = studCentre(b, b.studCells[r * b.studsX + c].cellIndex);
      EXPECT_NEAR(centre.x, b.position.x - 2 * b.studsX + 2 + 4 * c, 1e-4) << "row " << r << " column " << c;
      EXPECT_NEAR(centre.z, b.position.z - 2 * b.studsZ + 2 + 4 * r, 1e-4) << "row " << r << " column " << c;
    }
  }
}

TEST_F(BlockGeometry, QuarterTurnsSwapWidthAndDepth) {
  auto b = create(describe(Brick, 2, 4, 1, {10, 3, 20}));
  b->studCells[1].visible = 0;  // the visibility travels with its stud
  rotateBlock(*b, 90);
  EXPECT_EQ(b->studsX, 4);
  EXPECT_EQ(b->studsZ, 2);
  EXPECT_EQ(b->orientation, 1);
  EXPECT_NEAR(b->outerMin.x, 2, 1e-4);
  EXPECT_NEAR(b->outerMax.x, 18, 1e-4);
  EXPECT_NEAR(b->outerMin.z, 16, 1e-4);
  EXPECT_NEAR(b->outerMax.z, 24, 1e-4);
  EXPECT_NEAR(b->outerMax.y, 7, 1e-4);
  expectGridMatchesStuds(*b);
  for (const StudCell& cell : b->studCells) EXPECT_EQ(cell.visible, cell.cellIndex == 1 ? 0 : 1);

  auto left = create(describe(Brick, 2, 4, 1, {0, 3, 0}));
  rotateBlock(*left, -90);
  EXPECT_EQ(left->orientation, 3);
  EXPECT_EQ(left->studsX, 4);
  expectGridMatchesStuds(*left);
  rotateBlock(*left, -90);
  rotateBlock(*left, -90);
  rotateBlock(*left, -90);
  EXPECT_EQ(left->orientation, 0);
  EXPECT_EQ(left->studsX, 2);
  expectGridMatchesStuds(*left);
}

TEST_F(BlockGeometry, TranslateMovesMeshStudsAndBounds) {
  auto b = create(describe(Brick, 1, 1, 1, {0, 3, 0}));
  b->studCells[0].visible = 0;
  translateBlock(*b, 4, -1, 8);
  EXPECT_EQ(b->position, (Vec3{4, 2, 8}));
  EXPECT_EQ(studCentre(*b, 0), (Vec3{4, 5, 8}));
  EXPECT_EQ(outerBox(*b), (Box{{2, -1, 6}, {6, 6, 10}}));
  EXPECT_EQ(bottomSlab(*b).max.y, 0);
}

TEST(ShapeSnapping, ExtentsGoToTheBrickGrid) {
  EXPECT_EQ(snapShapeExtent(-3), -3);
  EXPECT_EQ(snapShapeExtent(3), 3);
  EXPECT_EQ(snapShapeExtent(2.95f), 3);
  EXPECT_EQ(snapShapeExtent(2.8f), -3);
  EXPECT_EQ(snapShapeExtent(-9.05f), -9);
  EXPECT_EQ(snapShapeExtent(-12), -9);
  EXPECT_EQ(snapShapeExtent(-15.1f), -15);
  EXPECT_EQ(snapShapeExtent(snapShapeExtent(2.95f)), 3);
}

using CatalogueBlock = BlockModelTest;

TEST_F(CatalogueBlock, ShapeIsCopiedSnappedAndBounded) {
  world.shapes.entries[0] = boxShape(-2.9f, 2.95f);
  auto b = create(describe(3, 5, 5, 5, {8, 3.7f, 0}));
  EXPECT_EQ(b->studsX, 0);
  EXPECT_EQ(b->height, 0);
  EXPECT_EQ(b->studCount, 0);
  EXPECT_EQ(b->vertexCount, 3);
  EXPECT_EQ(b->vertices[0].x, 6);
  EXPECT_EQ(world.shapes.entries[0]->minY, -3);  // snapped in place in the catalogue
  EXPECT_EQ(world.shapes.entries[0]->maxY, 3);
  // The creation turn rebuilds the bounds from the vertices: top 3.7+2.95 = 6.65 stays, plus a stud layer.
  EXPECT_NEAR(b->outerMax.y, 7.65, 1e-4);
  EXPECT_NEAR(b->topSlabMin.y, 6.65, 1e-4);
  EXPECT_NEAR(b->bottomSlabMax.y, 3.7 - 2.9 + 1, 1e-4);
}

TEST_F(CatalogueBlock, MissingShapeIsCountedAndBuildsNothing) {
  headlessClearMessageBoxes();
  int expected = 0;
  for (int32_t kind : {3, 230, -4, 999}) {
    auto b = create(describe(kind, 0, 0, 0, {0, 0, 0}));
    EXPECT_EQ(b->vertexCount, 0);
    EXPECT_TRUE(b->vertices.empty());
    EXPECT_GT(b->outerMin.x, b->outerMax.x);  // no box: nothing can bump into it
    EXPECT_EQ(world.missingShapes, ++expected) << kind;  // one notice per block, for the shell to show
  }
  EXPECT_TRUE(headlessMessageBoxes().empty());  // the block model itself shows nothing
  // A shape that is there is not counted.
  world.shapes.entries[0] = boxShape();
  create(describe(3, 0, 0, 0, {0, 0, 0}));
  EXPECT_EQ(world.missingShapes, expected);
}

TEST_F(CatalogueBlock, SizeBandsStepByAHundredAndSeventySixOrNot) {
  for (auto& entry : world.shapes.entries) entry = boxShape();
  auto b = create(describe(100, 0, 0, 0, {0, 3, 0}, 1));
  stepShapeSize(world, *b, 1);
  EXPECT_EQ(b->kind, 176);
  EXPECT_EQ(b->orientation, 1);
  stepShapeSize(world, *b, 1);
  EXPECT_EQ(b->kind, 176);
  auto big = create(describe(200, 0, 0, 0, {0, 3, 0}));
  stepShapeSize(world, *big, 1);
  EXPECT_EQ(big->kind, 200);
  stepShapeSize(world, *big, -1);
  EXPECT_EQ(big->kind, 124);
  auto small = create(describe(3, 0, 0, 0, {0, 3, 0}));
  stepShapeSize(world, *small, -1);
  EXPECT_EQ(small->kind, 3);
  auto brick = create(describe(Brick, 2, 2, 1, {0, 3, 0}));
  stepShapeSize(world, *brick, 1);
  EXPECT_EQ(brick->kind, Brick);
  EXPECT_EQ(brick->vertexCount, 24);
  EXPECT_EQ(events.sounds, (std::vector<BlockSound>{BlockSound::Grow, BlockSound::Shrink}));
}

using Resize = BlockModelTest;

TEST_F(Resize, LimitsWithAndWithoutCheatMode) {
  auto wide = create(describe(Brick, 20, 4, 1, {0, 3, 0}));
  resizeBlock(world, *wide, 0, 1, 0);
  EXPECT_EQ(wide->studsX, 20);
  auto square = create(describe(Brick, 10, 8, 1, {0, 3, 0}));
  resizeBlock(world, *square, 0, 1, 0);
  EXPECT_EQ(square->studsX, 10);
  EXPECT_TRUE(events.sounds.empty());

  world.cheatMode = true;
  resizeBlock(world, *wide, 0, 1, 0);
  EXPECT_EQ(wide->studsX, 21);
  EXPECT_EQ(wide->studCellCount, 84);
  resizeBlock(world, *square, 0, 1, 0);
  EXPECT_EQ(square->studsX, 11);
  EXPECT_EQ(events.sounds, (std::vector<BlockSound>{BlockSound::Grow, BlockSound::Grow}));
}

TEST_F(Resize, StopsAtOneAndRebuilds) {
  auto b = create(describe(Brick, 1, 2, 1, {0, 3, 0}));
  resizeBlock(world, *b, -1, 0, 0);
  EXPECT_EQ(b->studsZ, 1);
  EXPECT_EQ(b->studCellCount, 1);
  resizeBlock(world, *b, -1, 0, 0);
  EXPECT_EQ(b->studsZ, 1);
  resizeBlock(world, *b, 0, 0, 2);
  EXPECT_EQ(b->height, 3);
  EXPECT_EQ(b->outerMax.y, 3 + 9 + 1);
  EXPECT_EQ(events.sounds, (std::vector<BlockSound>{BlockSound::Shrink, BlockSound::Grow}));
}

TEST_F(Resize, SlopeKeepsTwoStudsAlongItsSlope) {
  auto s = create(describe(SlopeBrick, 2, 2, 1, {0, 3, 0}, 0));
  resizeBlock(world, *s, 0, -1, 0);
  EXPECT_EQ(s->studsX, 2);  // undone, not rebuilt
  resizeBlock(world, *s, -1, 0, 0);
  EXPECT_EQ(s->studsZ, 1);  // across the slope one stud is enough
  EXPECT_EQ(s->studCellCount, 2);
  EXPECT_EQ(events.sounds, (std::vector<BlockSound>{BlockSound::Shrink, BlockSound::Shrink}));
}

using Recolour = BlockModelTest;

TEST_F(Recolour, ReplacesSlotsWithoutRebuilding) {
  auto b = create(describe(Brick, 1, 1, 1, {0, 3, 0}));
  setBlockColour(world.materials, *b, 0, 0, 1, 1);
  EXPECT_EQ(b->colour, (std::array<float, 4>{0, 0, 1, 1}));
  EXPECT_EQ(world.materials.slots[b->studMaterial].key.b, 1);
  EXPECT_EQ(world.materials.slots[0].references, 0);  // the red slot was handed back
  EXPECT_EQ(world.materials.slots[b->studMaterial].references, 7);
}

}  // namespace
