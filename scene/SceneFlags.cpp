// Storage for the program-wide block-model switches, and the work area rule.
#include "scene/SceneFlags.h"

#include "scene/Block.h"

bool cheatMode = false;
WorkArea workArea;
std::function<void(Block& moving, Block& other)> setGameOutcome;
GameFlags gameFlags;

void setWorkAreaFromPlate(const Block& plate) {
  // The margin lets blocks be set down beside the plate; cheat mode gives more room.
  const float margin = cheatMode ? 320.0f : 80.0f;
  workArea.box.min = {plate.outerMin.x - margin, plate.outerMin.y, plate.outerMin.z - margin};
  workArea.box.max = {plate.outerMax.x + margin, kFloatMax, plate.outerMax.z + margin};
}
