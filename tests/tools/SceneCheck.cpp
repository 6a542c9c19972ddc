// Scene read-back for the generator's tests: the program's reader, builder and collision index, on the
// generator's own world.
#include "SceneCheck.h"

#include "files/SceneFile.h"
#include "scene/SceneList.h"
#include "scene/SweepIndex.h"
#include "scene/World.h"
#include "tools/art/BlockScene.h"
#include "tools/art/Shapes.h"

namespace {
bool catalogueComplete(const ShapeCatalogue& catalogue) {
  for (const auto& shape : catalogue.entries)
    if (!shape) return false;
  return true;
}
}  // namespace

bool loadGeneratedScene(const std::string& text) {
  // Filled whenever it is not complete, so no test depends on which one filled it first.
  if (!catalogueComplete(blockWorld().shapes)) loadGeneratedCatalogue(designShapes());
  resetBlockScene();
  if (!readSceneText(blockSceneFile(), blockWorld(), text, "generated")) return false;
  BuildLoadedScene(blockSceneFile(), blockWorld());
  return true;
}

std::vector<std::string> overlapsAndFloaters() {
  World& world = blockWorld();
  std::vector<std::string> faults;
  for (size_t i = 0; i < world.scene.nodes.size(); ++i) {
    Block& block = *world.scene.nodes[i]->block;
    sweepResetQuery(world.sweep);
    if (sweepQuery(world.sweep, block, Vec3{}) != 0) faults.push_back("block " + std::to_string(i) + " overlaps");
    if (block.kind != BasePlate && world.scene.nodes[i]->supports.empty())
      faults.push_back("block " + std::to_string(i) + " floats");
  }
  return faults;
}

std::vector<const Block*> blocksOfScene() {
  std::vector<const Block*> out;
  for (const auto& node : blockWorld().scene.nodes) out.push_back(node->block.get());
  return out;
}
