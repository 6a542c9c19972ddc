// Setting up blocks for the start scene, the game levels and the block pictures.
#include "tools/art/BlockScene.h"

#include "files/MeshLoader.h"
#include "files/SceneFile.h"
#include "scene/World.h"
#include "tools/art/Catalogue.h"

World& blockWorld() {
  static World world;
  return world;
}

SceneFileState& blockSceneFile() {
  static SceneFileState file;
  return file;
}

void loadGeneratedCatalogue(const std::vector<ShapeDesign>& shapes) {
  clearShapeCatalogue(blockWorld().shapes);
  for (int entry = 0; entry < catalogueEntries && entry < kCatalogueEntries; ++entry) {
    auto shape = std::make_unique<Shape>();
    loadShapeFromText(encodeAsc(catalogueMesh(shapes, entry), "shape"), *shape);
    blockWorld().shapes.entries[size_t(entry)] = std::move(shape);
  }
}

void resetBlockScene() {
  World& world = blockWorld();
  SceneFileState& sceneFile = blockSceneFile();
  sceneClear(world);
  sweepClearIndex(world.sweep);
  world.sweep = SweepIndex{};
  resetMaterialTable(world.materials);
  world.blockCounter = 0;
  sceneFile.writeInfoFlag = false;
  sceneFile.readInfoFlag = false;
  sceneFile.backgroundPath = "./scene\\sky.ppm";
  // The start view, and a unit main light that shines from just above the eye into the scene (the main
  // light turns with the camera), so the faces turned toward the viewer are lit as well as the tops.
  world.view.azimuth = 220;
  world.view.polar = 30;
  world.view.distance = 140;
  world.view.target = {0, 30, 0};
  world.view.lightPosition = {0, 60, -1};
  world.view.lightDirection = {0.0f, -0.099504f, 0.995037f};
}

Block* putPlate(int studs, const BlockColour& colour) {
  BlockDescription d;
  d.kind = BasePlate;
  d.studsX = d.studsZ = studs;
  d.height = 1;
  d.colour = colour;
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  Block* plate = putBlockInScene(blockWorld(), d);
  blockWorld().basePlate = plate;
  return plate;
}

BlockDescription gridBlock(int kind, int studsX, int studsZ, int orientation, int plateStuds, int sx, int sz, int level,
                           const BlockColour& colour) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = isShapeKind(kind) ? 0 : studsX;
  d.studsZ = isShapeKind(kind) ? 0 : studsZ;
  d.height = isShapeKind(kind) ? 0 : 1;
  d.orientation = orientation;
  d.colour = colour;
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  // Build it once at the origin to learn its footprint after turning, then move that corner onto the grid.
  std::unique_ptr<Block> probe = createBlock(blockWorld(), d);
  const float left = -2.0f * float(plateStuds);
  d.position.x = left + 4.0f * float(sx) - probe->outerMin.x;
  d.position.z = left + 4.0f * float(sz) - probe->outerMin.z;
  d.position.y = 1.0f + 6.0f * float(level) - probe->outerMin.y;
  destroyBlock(blockWorld(), *probe);
  return d;
}

Block* putGridBlock(int kind, int studsX, int studsZ, int orientation, int plateStuds, int sx, int sz, int level,
                    const BlockColour& colour) {
  return putBlockInScene(blockWorld(), gridBlock(kind, studsX, studsZ, orientation, plateStuds, sx, sz, level, colour));
}

std::string storedSceneText() { return sceneText(blockSceneFile(), blockWorld()); }

std::vector<std::string> sceneFaults() {
  std::vector<std::string> faults;
  int index = 0;
  World& world = blockWorld();
  for (const auto& node : world.scene.nodes) {
    Block& block = *node->block;
    const std::string name = "block " + std::to_string(index) + " (kind " + std::to_string(block.kind) + ")";
    sweepResetQuery(world.sweep);
    if (sweepQuery(world.sweep, block, Vec3{}) != 0) faults.push_back(name + " overlaps another block");
    if (block.kind != BasePlate && node->supports.empty()) faults.push_back(name + " rests on nothing");
    ++index;
  }
  return faults;
}
