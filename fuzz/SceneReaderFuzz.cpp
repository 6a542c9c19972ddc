// Hands arbitrary bytes to the scene text reader (the first byte picks the header flag), and builds the
// scene when the file holds only a few blocks, so block creation from hostile descriptions runs too.
#include <string_view>

#include "files/SceneFile.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sceneFile.readInfoFlag = size > 0 && (data[0] & 1);
  if (readSceneText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.lml") &&
      sceneFile.loadedDescriptions.size() <= 16) {
    resetMaterialTable();
    BuildLoadedScene();
    if (Block* first = sceneNext()) collectStack(MovingSet, first);
    sceneRewind();
    (void)sceneText();
  }
  sceneClear();
  return 0;
}
