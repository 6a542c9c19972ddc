// The shared, reference-counted block material table: find, acquire, replace, release and reset.
#include "scene/MaterialTable.h"

void setMaterialDevice(MaterialTable& table, MaterialDevice* device) { table.device = device; }

static bool sameKey(const MaterialKey& a, const MaterialKey& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a && a.textureIndex == b.textureIndex;
}

int findMaterial(const MaterialTable& table, const MaterialKey& key) {
  for (int i = 0; i < table.usedCount; ++i)
    if (sameKey(table.slots[i].key, key)) return i;
  return -1;
}

static int32_t textureHandleFor(MaterialTable& table, int32_t textureIndex) {
  if (textureIndex < 0 || !table.device) return 0;
  return table.device->textureHandle(textureIndex);
}

// Give a slot its key and a fresh device material, releasing the one it held before.
static void makeSlotMaterial(MaterialTable& table, int slot, const MaterialKey& key, int32_t textureHandle) {
  MaterialSlot& s = table.slots[slot];
  MaterialDevice* device = table.device;
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
static int takeSlot(MaterialTable& table, const MaterialKey& key, int32_t& textureHandle, bool reuseFreed) {
  textureHandle = textureHandleFor(table, key.textureIndex);
  int slot = findMaterial(table, key);
  if (slot < 0 && reuseFreed) {
    for (int i = 0; i < table.usedCount; ++i) {
      if (table.slots[i].references == 0) {
        slot = i;
        makeSlotMaterial(table, slot, key, textureHandle);
        break;
      }
    }
  }
  if (slot < 0) {
    if (table.usedCount >= kMaterialSlots) {
      slot = 0;  // a full table shares its first slot rather than failing
    } else {
      slot = table.usedCount++;
      makeSlotMaterial(table, slot, key, textureHandle);
    }
  }
  ++table.slots[slot].references;
  return slot;
}

int acquireMaterial(MaterialTable& table, float r, float g, float b, float a, int32_t textureIndex, int32_t& textureHandle) {
  return takeSlot(table, MaterialKey{r, g, b, a, textureIndex}, textureHandle, false);
}

int replaceMaterial(MaterialTable& table, float r, float g, float b, float a, int32_t textureIndex, int oldSlot, int32_t& textureHandle) {
  releaseMaterial(table, oldSlot);
  return takeSlot(table, MaterialKey{r, g, b, a, textureIndex}, textureHandle, true);
}

void releaseMaterial(MaterialTable& table, int slot) {
  if (slot < 0 || slot >= table.usedCount) return;
  if (table.slots[slot].references > 0) --table.slots[slot].references;
}

void resetMaterialTable(MaterialTable& table) {
  for (MaterialSlot& s : table.slots) {
    if (table.device && s.handle != 0) table.device->releaseMaterial(s.handle);
    s.handle = 0;
    s.references = 0;
    s.key = MaterialKey{-1.0f, -1.0f, -1.0f, -1.0f, -1};
  }
  table.usedCount = 0;
  ++table.generation;
}

uint32_t materialHandle(const MaterialTable& table, int slot) {
  if (slot < 0 || slot >= table.usedCount) return 0;
  return table.slots[slot].handle;
}
