// The work area rule.
#include "scene/SceneFlags.h"

#include "scene/World.h"

void setWorkAreaFromPlate(World& world, const Block& plate) {
  // The margin lets blocks be set down beside the plate; cheat mode gives more room.
  const float margin = world.cheatMode ? 320.0f : 80.0f;
  world.workArea.box.min = {plate.outerMin.x - margin, plate.outerMin.y, plate.outerMin.z - margin};
  world.workArea.box.max = {plate.outerMax.x + margin, kFloatMax, plate.outerMax.z + margin};
}
