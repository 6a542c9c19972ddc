// The shared, reference-counted block material table: find, acquire, replace, release and reset.
#include "scene/MaterialTable.h"

MaterialTable materialTable;

void setMaterialDevice(MaterialDevice* device) { materialTable.device = device; }

static bool sameKey(const MaterialKey& a, const MaterialKey& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a && a.textureIndex == b.textureIndex;
}

int findMaterial(const MaterialKey& key) {
  for (int i = 0; i < materialTable.usedCount; ++i)
    if (sameKey(materialTable.slots[i].key, key)) return i;
  return -1;
}

static int32_t textureHandleFor(int32_t textureIndex) {
  if (textureIndex < 0 || !materialTable.device) return 0;
  return materialTable.device->textureHandle(textureIndex);
}

// Give a slot its key and a fresh device material, releasing the one it held before.
static void makeSlotMaterial(int slot, const MaterialKey& key, int32_t textureHandle) {
  MaterialSlot& s = materialTable.slots[slot];
  MaterialDevice* device = materialTable.device;
  if (device && s.handle != 0) device->releaseMaterial(s.handle);
  s.key = key;
  s.handle = 0;
  if (!device) return;
  MaterialValues values;
  values.diffuse = {key.r, key.g, key.b, key.a};
  values.ambient = values.diffuse;
  values.specular = {0.9f, 0.9f, 0.9f, 0.0f};
  values.emissive = {0, 0, 0, 0};
  values.power = 1.1f;
  values.textureHandle = textureHandle;
  values.rampSize = 256;
  s.handle = device->createMaterial(values);
}

// Shared by acquire and replace: reuseFreed lets a new pair take a slot that nothing holds any more.
static int takeSlot(const MaterialKey& key, int32_t& textureHandle, bool reuseFreed) {
  textureHandle = textureHandleFor(key.textureIndex);
  int slot = findMaterial(key);
  if (slot < 0 && reuseFreed) {
    for (int i = 0; i < materialTable.usedCount; ++i) {
      if (materialTable.slots[i].references == 0) {
        slot = i;
        makeSlotMaterial(slot, key, textureHandle);
        break;
      }
    }
  }
  if (slot < 0) {
    if (materialTable.usedCount >= kMaterialSlots) {
      slot = 0;  // a full table shares its first slot rather than failing
    } else {
      slot = materialTable.usedCount++;
      makeSlotMaterial(slot, key, textureHandle);
    }
  }
  ++materialTable.slots[slot].references;
  return slot;
}

int acquireMaterial(float r, float g, float b, float a, int32_t textureIndex, int32_t& textureHandle) {
  return takeSlot(MaterialKey{r, g, b, a, textureIndex}, textureHandle, false);
}

int replaceMaterial(float r, float g, float b, float a, int32_t textureIndex, int oldSlot, int32_t& textureHandle) {
  releaseMaterial(oldSlot);
  return takeSlot(MaterialKey{r, g, b, a, textureIndex}, textureHandle, true);
}

void releaseMaterial(int slot) {
  if (slot < 0 || slot >= materialTable.usedCount) return;
  if (materialTable.slots[slot].references > 0) --materialTable.slots[slot].references;
}

void resetMaterialTable() {
  for (MaterialSlot& s : materialTable.slots) {
    if (materialTable.device && s.handle != 0) materialTable.device->releaseMaterial(s.handle);
    s.handle = 0;
    s.references = 0;
    s.key = MaterialKey{-1.0f, -1.0f, -1.0f, -1.0f, -1};
  }
  materialTable.usedCount = 0;
  ++materialTable.generation;
}

uint32_t materialHandle(int slot) {
  if (slot < 0 || slot >= materialTable.usedCount) return 0;
  return materialTable.slots[slot].handle;
}
