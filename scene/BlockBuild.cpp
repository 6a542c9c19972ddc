// Building a block's mesh from its description: the template box for bricks, base plates and slopes with
// their studs, catalogue shapes copied from the ShapeCatalogue, and creating and destroying blocks.
//
// Index: [SECTION] Templates  [SECTION] Materials  [SECTION] Bricks and slopes  [SECTION] Catalogue shapes
//        [SECTION] Create and destroy

#include <cmath>

#include "scene/World.h"

// [SECTION] Templates

namespace {

struct TemplateVertex {
  float x, y, z;
  float brick[3], slope[3], stud[3];
  float u, v;
};

// A 4 x 6 x 4 box, four vertices per face in face order (top, -z, +x, +z, -x, bottom). The shading
// values are gradients that make the faces read as lit from above without real lighting.
constexpr TemplateVertex kTemplate[24] = {
    {-2, 3, 2, {0, 0.6f, 0}, {0, 0.7f, 0}, {0, 0.7f, 0}, 0.1f, 0},
    {2, 3, 2, {0, 0.4f, 0}, {0, 0.4f, 0}, {0, 0.4f, 0}, 0.1f, 0.1f},
    {2, 3, -2, {0, 0.6f, 0}, {0, 0.7f, 0}, {0, 0.7f, 0}, 0, 0.1f},
    {-2, 3, -2, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, 0, 0},
    {2, 3, -2, {0, 0.15f, -1}, {0, 0.15f, -1}, {0, 0.15f, -1}, 1, 0},
    {2, -3, -2, {0, 0.05f, -1}, {0, 0.1f, -1}, {0, 0.01f, -1}, 1, 1},
    {-2, -3, -2, {0, 0.05f, -1}, {0, 0.1f, -1}, {0, 0.01f, -1}, 0, 1},
    {-2, 3, -2, {0, 0.15f, -1}, {0, 0.2f, -1}, {0, 0.15f, -1}, 0, 0},
    {2, 3, 2, {1, 0.15f, 0}, {1, 0.2f, 0}, {1, 0.15f, 0}, 1, 0},
    {2, -3, 2, {1, 0.05f, 0}, {1, 0.05f, 0}, {1, 0.05f, 0}, 1, 1},
    {2, -3, -2, {1, 0.05f, 0}, {1, 0.05f, 0}, {1, 0.05f, 0}, 0, 1},
    {2, 3, -2, {1, 0.15f, 0}, {1, 0.2f, 0}, {1, 0.15f, 0}, 0, 0},
    {-2, 3, 2, {0, 0.15f, 1}, {0, 0.15f, 1}, {0, 0.15f, 1}, 1, 0},
    {-2, -3, 2, {0, 0.05f, 1}, {0, 0.1f, 1}, {0, 0.05f, 1}, 1, 1},
    {2, -3, 2, {0, 0.05f, 1}, {0, 0.1f, 1}, {0, 0.05f, 1}, 0, 1},
    {2, 3, 2, {0, 0.15f, 1}, {0, 0.15f, 1}, {0, 0.15f, 1}, 0, 0},
    {-2, -3, -2, {-1, 0.2f, 0}, {-1, 0.15f, 0}, {-1, 0.15f, 0}, 0, 1},
    {-2, -3, 2, {-1, 0.1f, 0}, {-1, 0.1f, 0}, {-1, 0.05f, 0}, 1, 1},
    {-2, 3, 2, {-1, 0.1f, 0}, {-1, 0.1f, 0}, {-1, 0.05f, 0}, 1, 0},
    {-2, 3, -2, {-1, 0.2f, 0}, {-1, 0.2f, 0}, {-1, 0.2f, 0}, 0, 0},
    {2, -3, -2, {0, -1, 0}, {0, -1, 0}, {0, 0, 0}, 1, 1},
    {2, -3, 2, {0, -1, 0}, {0, -1, 0}, {0, 0, 0}, 0, 1},
    {-2, -3, 2, {0, -1, 0}, {0, -1, 0}, {0, 0, 0}, 0, 0},
    {-2, -3, -2, {0, -1, 0}, {0, -1, 0}, {0, 0, 0}, 1, 0},
};

enum class Shading { Brick, Slope };

std::vector<int32_t> faceTable(int faces) {
  std::vector<int32_t> table;
  table.reserve(faces * 6);
  for (int f = 0; f < faces; ++f) {
    int32_t b = 4 * f;
    table.insert(table.end(), {b, b + 1, b + 2, b + 2, b + 3, b});
  }
  return table;
}

// The stud: the template without its bottom face, x and z halved and y divided by six (2 x 1 x 2).
StudMesh studTemplate() {
  StudMesh stud;
  for (int i = 0; i < kStudVertexCount; ++i) {
    const TemplateVertex& t = kTemplate[i];
    stud[i] = Vertex{t.x * 0.5f, t.y / 6.0f, t.z * 0.5f, t.stud[0], t.stud[1], t.stud[2], t.u, t.v};
  }
  return stud;
}

}  // namespace

bool descriptionSizesValid(const BlockDescription& d) {
  if (isShapeKind(d.kind)) return true;
  if (d.height < 1 || d.height > kMaxHeight || d.studsX < 1 || d.studsZ < 1) return false;
  if (d.kind == BasePlate) return d.studsX <= kMaxPlateSide && d.studsZ <= kMaxPlateSide;
  return d.studsX <= kMaxBrickSide && d.studsZ <= kMaxBrickSide && d.studsX * d.studsZ <= kMaxBrickArea;
}

float snapShapeExtent(float v) { return -6.0f * std::trunc((v + 9.1f) / -6.0f) - 9.0f; }

// [SECTION] Materials

static void releaseBlockMaterials(MaterialTable& table, Block& block) {
  if (!block.holdsMaterials) return;
  block.holdsMaterials = false;
  if (block.materialGeneration != table.generation) return;  // the table was reset since
  for (int slot : block.faceMaterials) releaseMaterial(table, slot);
  releaseMaterial(table, block.studMaterial);
}

static void acquireBlockMaterials(MaterialTable& table, Block& block) {
  releaseBlockMaterials(table, block);
  const auto& c = block.colour;
  for (int i = 0; i < 6; ++i)
    block.faceMaterials[i] =
        acquireMaterial(table, c[0], c[1], c[2], c[3], block.faceTextures[i], block.faceTextureHandles[i]);
  int32_t noPicture = 0;
  block.studMaterial = acquireMaterial(table, c[0], c[1], c[2], c[3], -1, noPicture);
  block.materialGeneration = table.generation;
  block.holdsMaterials = true;
}

static void releaseMesh(Block& block) {
  block.studsAsBuilt = false;
  block.vertices.clear();
  block.triangles.clear();
  block.studVertices.clear();
  block.studCells.clear();
  block.studCellCount = 0;
  block.studCount = 0;
  block.vertexCount = 0;
  block.triangleCount = 0;
}

// A block without a mesh has an inverted box: nothing overlaps it and it widens no bounds.
static void clearBounds(Block& block) {
  Box none = invertedBox();
  block.outerMin = block.topSlabMin = block.bottomSlabMin = none.min;
  block.outerMax = block.topSlabMax = block.bottomSlabMax = none.max;
}

// [SECTION] Bricks and slopes

static void buildBox(World& world, Block& block, Shading shading, float heightScale) {
  releaseMesh(block);
  acquireBlockMaterials(world.materials, block);

  const float sx = static_cast<float>(block.studsX);
  const float sz = static_cast<float>(block.studsZ);
  const float h = static_cast<float>(block.height) * heightScale;
  const Vec3 p = block.position;

  block.vertices.resize(24);
  for (int i = 0; i < 24; ++i) {
    const TemplateVertex& t = kTemplate[i];
    const float* n = shading == Shading::Brick ? t.brick : t.slope;
    block.vertices[i] = Vertex{p.x + sx * t.x, p.y + h * t.y, p.z + sz * t.z, n[0], n[1], n[2], t.u, t.v};
  }
  block.vertexCount = 24;
  static const std::vector<int32_t> kBoxFaces = faceTable(6);
  block.triangles = kBoxFaces;
  block.triangleCount = 12;

  // Studs sit on the 4-unit grid, 2 units in from the body's edges, standing from the top face up 1 unit.
  // A description too large to build (only a damaged one) gets no studs rather than a huge allocation.
  const int columns = block.studsX;
  const int rows = block.studsZ;
  const bool buildable = columns > 0 && rows > 0 && columns <= kMaxPlateSide && rows <= kMaxPlateSide;
  const int cells = buildable ? columns * rows : 0;
  const Vertex& corner = block.vertices[3];
  static const StudMesh stud = studTemplate();
  block.studVertices.resize(cells);
  block.studCells.resize(cells);
  for (int r = 0; r < (buildable ? rows : 0); ++r) {
    for (int c = 0; c < columns; ++c) {
      const int k = r * columns + c;
      const float mx = corner.x + 2 + 4.0f * c, my = corner.y + 0.5f, mz = corner.z + 2 + 4.0f * r;
      StudMesh& mesh = block.studVertices[k];
      mesh = stud;
      for (Vertex& v : mesh) {
        v.x += mx;
        v.y += my;
        v.z += mz;
      }
      block.studCells[k] = StudCell{k, 1};
    }
  }
  block.studCellCount = block.studCount = cells;
  block.studsAsBuilt = true;
  static const std::vector<int32_t> kStudFaces = faceTable(5);
  std::copy(kStudFaces.begin(), kStudFaces.end(), block.studTriangles.begin());

  const float x0 = p.x, y0 = p.y, z0 = p.z;
  block.outerMin = {x0 - 2 * sx, y0 - 3 * h, z0 - 2 * sz};
  block.outerMax = {x0 + 2 * sx, y0 + 3 * h + 1, z0 + 2 * sz};
  block.topSlabMin = {x0 - 2 * sx, y0 + 3 * h, z0 - 2 * sz};
  block.topSlabMax = block.outerMax;
  block.bottomSlabMin = block.outerMin;
  block.bottomSlabMax = {x0 + 2 * sx, y0 - 3 * h + 1, z0 + 2 * sz};
}

void buildBrick(World& world, Block& block) {
  // A base plate is a third of a brick high per height step.
  buildBox(world, block, Shading::Brick, block.kind == BasePlate ? 0.33333334f : 1.0f);
}

void buildSlope(World& world, Block& block) {
  buildBox(world, block, Shading::Slope, 1.0f);

  // The slope pulls one top edge in by a stud pitch; the studs along that edge are hidden.
  struct Cut {
    int vertices[6];
    float dx, dz;
  };
  static constexpr Cut kCuts[4] = {
      {{1, 2, 4, 8, 11, 15}, -4, 0},
      {{0, 1, 8, 12, 15, 18}, 0, -4},
      {{0, 3, 7, 12, 18, 19}, 4, 0},
      {{2, 3, 4, 7, 11, 19}, 0, 4},
  };
  const int o = ((block.orientation % 4) + 4) % 4;
  for (int index : kCuts[o].vertices) {
    block.vertices[index].x += kCuts[o].dx;
    block.vertices[index].z += kCuts[o].dz;
  }
  const int columns = block.studsX, rows = block.studsZ;
  for (int k = 0; k < block.studCellCount; ++k) {
    const int r = k / columns, c = k % columns;
    const bool onEdge = (o == 0 && c == columns - 1) || (o == 1 && r == rows - 1) || (o == 2 && c == 0) ||
                        (o == 3 && r == 0);
    if (onEdge) block.studCells[k].visible = 0;
  }
}

// [SECTION] Catalogue shapes

void buildCatalogueShape(World& world, Block& block) {
  releaseMesh(block);
  block.studsX = block.studsZ = block.height = 0;
  Shape* shape = catalogueShape(world.shapes, block.kind);
  if (!shape) {
    clearBounds(block);
    ++world.missingShapes;
    return;
  }
  acquireBlockMaterials(world.materials, block);

  const Vec3 p = block.position;
  block.vertices = shape->vertices;
  for (Vertex& v : block.vertices) {
    v.x += p.x;
    v.y += p.y;
    v.z += p.z;
  }
  block.triangles = shape->indices;
  block.vertexCount = static_cast<int32_t>(block.vertices.size());
  block.triangleCount = static_cast<int32_t>(block.triangles.size() / 3);

  // The shape's height is snapped onto the brick grid once, in the catalogue itself; snapping is
  // idempotent, so later blocks of the kind see the same values.
  shape->minY = snapShapeExtent(shape->minY);
  shape->maxY = snapShapeExtent(shape->maxY);

  const float y = std::trunc(p.y);
  block.outerMin = {p.x + shape->minX, y + shape->minY, p.z + shape->minZ};
  block.outerMax = {p.x + shape->maxX, y + shape->maxY + 1, p.z + shape->maxZ};
  block.topSlabMin = {p.x + shape->minX, y + shape->maxY, p.z + shape->minZ};
  block.topSlabMax = block.outerMax;
  block.bottomSlabMin = block.outerMin;
  block.bottomSlabMax = {p.x + shape->maxX, y + shape->minY + 1, p.z + shape->maxZ};
}

void buildGeometry(World& world, Block& block) {
  if (block.kind == Brick || block.kind == BasePlate) {
    buildBrick(world, block);
  } else if (block.kind == SlopeBrick) {
    buildSlope(world, block);
  } else {
    // Negative kinds and kinds past the catalogue have no shape: reported like a missing entry.
    buildCatalogueShape(world, block);
  }
}

// [SECTION] Create and destroy

std::unique_ptr<Block> createBlock(World& world, const BlockDescription& d) {
  auto block = std::make_unique<Block>(d);
  block->serial = world.nextSerial++;
  block->orientation = ((d.orientation % 4) + 4) % 4;
  buildGeometry(world, *block);
  if (block->kind == BasePlate) setWorkAreaFromPlate(world, *block);
  if (isShapeKind(block->kind)) {
    const int32_t orientation = block->orientation;
    rotateBlock(*block, orientation * 90.0);
    block->orientation = orientation;
  }
  return block;
}

void destroyBlock(World& world, Block& block) {
  releaseMesh(block);
  releaseBlockMaterials(world.materials, block);
  sweepRemove(world.sweep, block);
}
