// Hands arbitrary bytes to the scene text reader (the first byte picks the header flag), and builds the
// scene when the file holds only a few blocks, so block creation from hostile descriptions runs too.
#include <string_view>

#include "files/SceneFile.h"
#include "scene/World.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A world and a reader of its own for every input: nothing one input leaves behind reaches the next.
  World world;
  SceneFileState file;
  file.readInfoFlag = size > 0 && (data[0] & 1);
  if (readSceneText(file, world, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.lml") &&
      file.loadedDescriptions.size() <= 16) {
    BuildLoadedScene(file, world);
    if (!world.scene.nodes.empty()) collectStack(world, world.movingSet, world.scene.nodes.front()->block.get());
    (void)sceneText(file, world);
  }
  sceneClear(world);
  return 0;
}
