// One placed building block: its persistent description, its owned mesh (body, studs, shading values),
// its three bound boxes and the geometric operations on a single block.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"
#include "scene/Geometry.h"


// x, y, z, then a shading gradient (not a unit normal for bricks), then texture coordinates.
struct Vertex {
  float x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0, u = 0, v = 0;
};

struct StudCell {
  int32_t cellIndex = 0;  // which stud mesh this grid cell uses
  int32_t visible = 1;    // 1 drawn, 0 hidden under a block resting on it
};

// Block kinds. 3 to 230 are catalogue shapes in three size bands of 76; 21 is the game's aeroplane.
enum BlockKind : int32_t { Brick = 0, BasePlate = 1, SlopeBrick = 2 };
constexpr int32_t kFirstShapeKind = 3;
constexpr int32_t kLastShapeKind = 230;
constexpr int32_t kShapeBandSize = 76;
constexpr int32_t kAeroplaneKind = 21;

constexpr int kStudVertexCount = 20;
using StudMesh = std::array<Vertex, kStudVertexCount>;

// What a block is made from; every stored scene holds exactly these fields.
struct BlockDescription {
  int32_t kind = 0;
  int32_t studsX = 0;
  int32_t studsZ = 0;
  int32_t height = 0;
  int32_t orientation = 0;  // quarter turns about the vertical axis, 0..3
  Vec3 position;
  std::array<float, 4> colour{};
  std::array<int32_t, 6> faceTextures{};
  bool operator==(const BlockDescription&) const = default;
};

// Faces of a body, in template order.
enum BlockFace : int { FaceTop = 0, FaceMinusZ = 1, FacePlusX = 2, FacePlusZ = 3, FaceMinusX = 4, FaceBottom = 5 };

// A block is its description (kind, size, orientation, place, colour, face pictures) and the geometry
// built from it.
struct Block : BlockDescription {
  Block() { faceTextures.fill(-1); }
  explicit Block(const BlockDescription& description) : BlockDescription(description) {}

  Vec3 outerMin, outerMax;          // whole block, stud layer included
  Vec3 topSlabMin, topSlabMax;      // the stud layer: body top to 1 unit above it
  Vec3 bottomSlabMin, bottomSlabMax;  // the lowest 1 unit of the body
  std::vector<Vertex> vertices;
  std::vector<int32_t> triangles;   // index triples into vertices
  std::vector<StudMesh> studVertices;  // one stud mesh per stud cell
  std::array<int32_t, 30> studTriangles{};
  std::vector<StudCell> studCells;  // row-major, rows along z: cell = row * studsX + column
  // True while every cell uses the stud mesh of its own index on the grid the block was built with,
  // one pitch apart along x and z (translations keep it; a quarter turn re-indexes the cells).
  bool studsAsBuilt = false;
  int32_t studCellCount = 0;
  std::array<int32_t, 6> faceMaterials{};
  int32_t studMaterial = 0;
  std::array<int32_t, 6> faceTextureHandles{};
  int32_t vertexCount = 0;
  int32_t triangleCount = 0;
  int32_t studCount = 0;

  // Identity: every list keeps blocks in the order of this number, given at creation, so that runs with
  // the same input walk the scene in the same order.
  uint64_t serial = 0;
  // The material table generation the block's slots were acquired in (a reset makes them void).
  uint32_t materialGeneration = 0;
  bool holdsMaterials = false;
};

inline bool blockBefore(const Block* a, const Block* b) { return a->serial < b->serial; }

inline Box outerBox(const Block& b) { return {b.outerMin, b.outerMax}; }
inline Box topSlab(const Block& b) { return {b.topSlabMin, b.topSlabMax}; }
inline Box bottomSlab(const Block& b) { return {b.bottomSlabMin, b.bottomSlabMax}; }
inline bool isShapeKind(int32_t kind) { return kind >= kFirstShapeKind; }

// Largest sizes a block can be given (cheat mode's resize limits for bricks and slopes; the largest new
// scene's base plate with room to spare). Stored scenes outside them are refused by the reader.
constexpr int32_t kMaxBrickSide = 60;
constexpr int32_t kMaxBrickArea = 240;
constexpr int32_t kMaxPlateSide = 100;
constexpr int32_t kMaxHeight = 10000;
// True when a description of a brick, plate or slope has sizes a block can be built with.
bool descriptionSizesValid(const BlockDescription& description);

struct World;
struct MaterialTable;

// [SECTION] Building
// A block made from the description, with its mesh and materials; not yet in the scene. A shape kind
// without a loaded shape gives an empty block and counts as a missing shape in the world.
std::unique_ptr<Block> createBlock(World& world, const BlockDescription& description);
void buildGeometry(World& world, Block& block);
void buildBrick(World& world, Block& block);
void buildSlope(World& world, Block& block);
void buildCatalogueShape(World& world, Block& block);
// Releases the mesh, the material references and the block's end points in the collision index.
void destroyBlock(World& world, Block& block);
inline BlockDescription describeBlock(const Block& block) { return block; }

// [SECTION] Changing a block
void translateBlock(Block& block, float dx, float dy, float dz);
void rotateBlock(Block& block, double degrees);
void recomputeBounds(Block& block);
void setBlockColour(MaterialTable& materials, Block& block, float r, float g, float b, float a);
// Grow or shrink a brick or slope within the editing limits (wider with cheat mode); each size that
// changed plays its sound.
void resizeBlock(World& world, Block& block, int32_t dStudsZ, int32_t dStudsX, int32_t dHeight);
// Step a catalogue shape one size band up (direction > 0) or down.
void stepShapeSize(World& world, Block& block, int direction);

// The catalogue's vertical snap of a shape's extent onto the brick grid (..., -9, -3, 3, 9, ...).
float snapShapeExtent(float v);
