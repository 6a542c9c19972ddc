// Scene read-back for the generator's tests: the program's reader, builder and collision index.
#include "SceneCheck.h"

#include "files/SceneFile.h"
#include "scene/SceneList.h"
#include "scene/SweepIndex.h"
#include "tools/art/BlockScene.h"
#include "tools/art/Shapes.h"

bool loadGeneratedScene(const std::string& text) {
  static const bool catalogueLoaded = [] {
    loadGeneratedCatalogue(designShapes());
    return true;
  }();
  (void)catalogueLoaded;
  resetBlockScene();
  if (!readSceneText(text, "generated")) return false;
  BuildLoadedScene();
  return true;
}

std::vector<std::string> overlapsAndFloaters() {
  std::vector<std::string> faults;
  for (size_t i = 0; i < scene.nodes.size(); ++i) {
    Block& block = *scene.nodes[i]->block;
    sweepResetQuery();
    if (sweepQuery(block, Vec3{}) != 0) faults.push_back("block " + std::to_string(i) + " overlaps");
    if (block.kind != BasePlate && scene.nodes[i]->supports.empty())
      faults.push_back("block " + std::to_string(i) + " floats");
  }
  return faults;
}

std::vector<const Block*> blocksOfScene() {
  std::vector<const Block*> out;
  for (const auto& node : scene.nodes) out.push_back(node->block.get());
  return out;
}
