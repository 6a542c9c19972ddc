// The shared table of block materials: one slot per (colour, picture) pair, shared by every face that
// shows that pair and counted by references. The 3D device behind it is reached through MaterialDevice.
#pragma once

#include <array>
#include <cstdint>

// What a slot's material is made of.
struct MaterialValues {
  std::array<float, 4> diffuse{};
  std::array<float, 4> ambient{};
  std::array<float, 4> specular{};
  std::array<float, 4> emissive{};
  float power = 0;
  int32_t textureHandle = 0;
  int32_t rampSize = 0;
};

// The narrow part of the 3D device the table needs; the renderer implements it.
class MaterialDevice {
public:
  virtual ~MaterialDevice() = default;
  // The handle of a loaded picture, 0 when that picture is not loaded.
  virtual int32_t textureHandle(int32_t textureIndex) = 0;
  // A new material with these values; its handle, 0 when it could not be made.
  virtual uint32_t createMaterial(const MaterialValues& values) = 0;
  virtual void releaseMaterial(uint32_t handle) = 0;
};

struct MaterialKey {
  float r = 0, g = 0, b = 0, a = 0;
  int32_t textureIndex = -1;  // -1: no picture
};

struct MaterialSlot {
  MaterialKey key;
  int32_t references = 0;
  uint32_t handle = 0;  // the device's material, 0 when none was made
};

constexpr int kMaterialSlots = 256;

struct MaterialTable {
  std::array<MaterialSlot, kMaterialSlots> slots{};
  int usedCount = 0;
  MaterialDevice* device = nullptr;
  // Counts resets, so that a block built before a reset does not hand back references it no longer holds.
  uint32_t generation = 1;
};

void setMaterialDevice(MaterialTable& table, MaterialDevice* device);
int findMaterial(const MaterialTable& table, const MaterialKey& key);
int acquireMaterial(MaterialTable& table, float r, float g, float b, float a, int32_t textureIndex,
                    int32_t& textureHandle);
int replaceMaterial(MaterialTable& table, float r, float g, float b, float a, int32_t textureIndex, int oldSlot,
                    int32_t& textureHandle);
// Drop one reference (never below 0); the slot is reused by a later replace once nothing holds it.
void releaseMaterial(MaterialTable& table, int slot);
void resetMaterialTable(MaterialTable& table);
// The device's handle for a slot; 0 for a slot that does not exist.
uint32_t materialHandle(const MaterialTable& table, int slot);
