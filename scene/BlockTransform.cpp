// Changing a built block: moving, turning in quarter turns, rebuilding its bounds, recolouring,
// resizing within the editing limits and stepping a catalogue shape through its size bands.
#include <cmath>
#include <numbers>

#include "scene/World.h"

void translateBlock(Block& block, float dx, float dy, float dz) {
  const Vec3 d{dx, dy, dz};
  block.position = block.position + d;
  for (Vertex& v : block.vertices) {
    v.x += dx;
    v.y += dy;
    v.z += dz;
  }
  for (StudMesh& stud : block.studVertices) {
    for (Vertex& v : stud) {
      v.x += dx;
      v.y += dy;
      v.z += dz;
    }
  }
  for (Vec3* point : {&block.outerMin, &block.outerMax, &block.topSlabMin, &block.topSlabMax, &block.bottomSlabMin,
                      &block.bottomSlabMax})
    *point = *point + d;
}

static void turnVertex(Vertex& v, double c, double s) {
  const double x = v.x, z = v.z, nx = v.nx, nz = v.nz;
  v.x = static_cast<float>(c * x - s * z);
  v.z = static_cast<float>(c * z + s * x);
  v.nx = static_cast<float>(c * nx - s * nz);
  v.nz = static_cast<float>(c * nz + s * nx);
}

// One quarter turn of the stud grid: the cell at (row i, column j) of the sz x sx grid moves to row j,
// column sz-1-i, and the width and depth change places.
static void turnStudGridOnce(Block& block) {
  block.studsAsBuilt = false;
  const int sx = block.studsX, sz = block.studsZ;
  if (sx > 0 && sz > 0 && static_cast<size_t>(sx) * sz == block.studCells.size()) {
    std::vector<StudCell> turned(block.studCells.size());
    for (int i = 0; i < sz; ++i)
      for (int j = 0; j < sx; ++j) turned[j * sz + (sz - 1 - i)] = block.studCells[i * sx + j];
    block.studCells = std::move(turned);
  }
  std::swap(block.studsX, block.studsZ);
}

void rotateBlock(Block& block, double degrees) {
  const Vec3 centre = block.position;
  translateBlock(block, -centre.x, -centre.y, -centre.z);
  const double a = degrees * (1.0 / 360.0) * 2.0 * std::numbers::pi;
  const double c = std::cos(a), s = std::sin(a);
  for (Vertex& v : block.vertices) turnVertex(v, c, s);
  for (StudMesh& stud : block.studVertices)
    for (Vertex& v : stud) turnVertex(v, c, s);
  // The grid turns by as many quarter turns as the mesh did, so that a turn to the left re-indexes the
  // cells the other way round from a turn to the right.
  const double quarters = std::round(degrees / 90.0);
  const int turns = std::isfinite(quarters) ? static_cast<int>(std::fmod(std::fmod(quarters, 4.0) + 4.0, 4.0)) : 0;
  for (int t = 0; t < turns; ++t) turnStudGridOnce(block);
  translateBlock(block, centre.x, centre.y, centre.z);
  block.orientation = degrees >= 0 ? (block.orientation + 1) % 4 : (block.orientation + 3) % 4;
  recomputeBounds(block);
}

void recomputeBounds(Block& block) {
  Box box = invertedBox();
  auto widen = [&box](const Vertex& v) { widenBox(box, Box{{v.x, v.y, v.z}, {v.x, v.y, v.z}}); };
  for (const Vertex& v : block.vertices) widen(v);
  for (const StudMesh& stud : block.studVertices)
    for (const Vertex& v : stud) widen(v);

  float top = box.max.y;
  if (isShapeKind(block.kind)) {
    // A shape's top is taken to the nearest whole unit when it is within 0.1 of one, and a stud layer's
    // room is added above it, so shapes stack like bricks.
    const float t = std::trunc(box.max.y);
    if (box.max.y - t < 0.1f)
      top = t;
    else if (box.max.y - t > 0.9f)
      top = t + 1;
    top += 1;
  }
  block.outerMin = box.min;
  block.outerMax = {box.max.x, top, box.max.z};
  block.topSlabMin = {box.min.x, top - 1, box.min.z};
  block.topSlabMax = block.outerMax;
  block.bottomSlabMin = box.min;
  block.bottomSlabMax = {box.max.x, box.min.y + 1, box.max.z};
}

void setBlockColour(MaterialTable& table, Block& block, float r, float g, float b, float a) {
  block.colour = {r, g, b, a};
  // Slots acquired before the table was last reset are no longer this block's to give back.
  const bool holds = block.holdsMaterials && block.materialGeneration == table.generation;
  for (int i = 0; i < 6; ++i)
    block.faceMaterials[i] = replaceMaterial(table, r, g, b, a, block.faceTextures[i],
                                             holds ? block.faceMaterials[i] : -1, block.faceTextureHandles[i]);
  int32_t noPicture = 0;
  block.studMaterial = replaceMaterial(table, r, g, b, a, -1, holds ? block.studMaterial : -1, noPicture);
  block.materialGeneration = table.generation;
  block.holdsMaterials = true;
}

static void playBySign(World& world, int32_t delta) {
  if (delta > 0) playBlockSound(world, BlockSound::Grow);
  if (delta < 0) playBlockSound(world, BlockSound::Shrink);
}

void resizeBlock(World& world, Block& block, int32_t dStudsZ, int32_t dStudsX, int32_t dHeight) {
  const int64_t nz = static_cast<int64_t>(block.studsZ) + dStudsZ;
  const int64_t nx = static_cast<int64_t>(block.studsX) + dStudsX;
  const int64_t maxArea = world.cheatMode ? 240 : 80;
  const int64_t maxSide = world.cheatMode ? 60 : 20;
  if (nx * nz > maxArea || nz > maxSide || nx > maxSide) return;

  if (nz < 1) return;
  block.studsZ = static_cast<int32_t>(nz);
  playBySign(world, dStudsZ);
  if (nx < 1) return;
  block.studsX = static_cast<int32_t>(nx);
  playBySign(world, dStudsX);
  const int64_t nh = static_cast<int64_t>(block.height) + dHeight;
  // Taller than the scene files accept would make a block that could not be loaded again.
  if (nh < 1 || nh > kMaxHeight) return;
  block.height = static_cast<int32_t>(nh);
  playBySign(world, dHeight);

  if (block.kind == Brick) {
    buildBrick(world, block);
  } else if (block.kind == SlopeBrick) {
    // A slope needs two studs along its slope: one for the slanted edge, one for the top.
    const bool even = block.orientation % 2 == 0;
    if ((even && block.studsX >= 2) || (!even && block.studsZ >= 2)) {
      buildSlope(world, block);
    } else if (even) {
      block.studsX -= dStudsX;
    } else {
      block.studsZ -= dStudsZ;
    }
  }
}

void stepShapeSize(World& world, Block& block, int direction) {
  const int32_t kind = block.kind;
  if (kind < kFirstShapeKind || kind > kLastShapeKind || direction == 0) return;
  const int band = (kind - kFirstShapeKind) / kShapeBandSize;  // 0 small, 1 middle, 2 large
  if (direction > 0 && band < 2) {
    block.kind = kind + kShapeBandSize;
    playBlockSound(world, BlockSound::Grow);
  } else if (direction < 0 && band > 0) {
    block.kind = kind - kShapeBandSize;
    playBlockSound(world, BlockSound::Shrink);
  } else {
    return;
  }
  buildCatalogueShape(world, block);
  const int32_t orientation = block.orientation;
  rotateBlock(block, orientation * 90.0);
  block.orientation = orientation;
}
