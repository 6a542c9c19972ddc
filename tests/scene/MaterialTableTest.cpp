// The shared material table: sharing, the full table, reuse of freed slots, resets and the device calls.
#include "scene/BlockTestKit.h"

namespace {

class RecordingDevice : public MaterialDevice {
public:
  int32_t textureHandle(int32_t textureIndex) override { return textureIndex == 7 ? 700 : 0; }
  uint32_t createMaterial(const MaterialValues& values) override {
    created.push_back(values);
    return static_cast<uint32_t>(created.size());
  }
  void releaseMaterial(uint32_t handle) override { released.push_back(handle); }
  std::vector<MaterialValues> created;
  std::vector<uint32_t> released;
};

using MaterialTableTest = BlockModelTest;

TEST_F(MaterialTableTest, PlainBricksOfOneColourShareOneSlot) {
  auto a = create(describe(Brick, 2, 2, 1, {0, 3, 0}));
  auto b = create(describe(Brick, 2, 2, 1, {8, 3, 0}));
  EXPECT_EQ(world.materials.usedCount, 1);
  EXPECT_EQ(world.materials.slots[0].references, 14);
  for (int slot : a->faceMaterials) EXPECT_EQ(slot, 0);
  destroyBlock(world, *b);
  EXPECT_EQ(world.materials.slots[0].references, 7);
}

TEST_F(MaterialTableTest, PicturesMakeTheirOwnSlotAndHandle) {
  RecordingDevice device;
  setMaterialDevice(world.materials, &device);
  BlockDescription d = describe(Brick, 1, 1, 1, {0, 3, 0});
  d.faceTextures[FacePlusX] = 7;
  auto b = create(d);
  EXPECT_EQ(world.materials.usedCount, 2);
  EXPECT_EQ(b->faceTextureHandles[FacePlusX], 700);
  EXPECT_EQ(b->faceTextureHandles[FaceTop], 0);
  EXPECT_NE(b->faceMaterials[FacePlusX], b->studMaterial);
  ASSERT_EQ(device.created.size(), 2u);
  const MaterialValues& v = device.created[1];
  EXPECT_EQ(v.diffuse, (std::array<float, 4>{1, 0, 0, 1}));
  EXPECT_EQ(v.ambient, v.diffuse);
  EXPECT_EQ(v.specular, (std::array<float, 4>{0.9f, 0.9f, 0.9f, 0}));
  EXPECT_FLOAT_EQ(v.power, 1.1f);
  EXPECT_EQ(v.textureHandle, 700);
  EXPECT_EQ(v.rampSize, 256);
  EXPECT_EQ(materialHandle(world.materials, b->faceMaterials[FacePlusX]), 2u);
  EXPECT_EQ(materialHandle(world.materials, -1), 0u);
  EXPECT_EQ(materialHandle(world.materials, 200), 0u);
}

TEST_F(MaterialTableTest, FullTableAnswersSlotZero) {
  int32_t handle = 0;
  for (int i = 0; i < kMaterialSlots; ++i)
    EXPECT_EQ(acquireMaterial(world.materials, i / 256.0f, 0, 0, 1, -1, handle), i);
  EXPECT_EQ(acquireMaterial(world.materials, 1, 1, 1, 1, -1, handle), 0);
  EXPECT_EQ(world.materials.slots[0].references, 2);
  EXPECT_EQ(replaceMaterial(world.materials, 1, 1, 0, 1, -1, 5, handle), 5);  // slot 5 fell to 0 and is reused
  EXPECT_EQ(replaceMaterial(world.materials, 1, 0, 1, 1, -1, -1, handle), 0);
}

TEST_F(MaterialTableTest, RecolouringBackAndForthReusesFreedSlots) {
  auto b = create(describe(Brick, 1, 1, 1, {0, 3, 0}));
  for (int i = 0; i < 10; ++i) {
    setBlockColour(world.materials, *b, 0, 1, 0, 1);
    setBlockColour(world.materials, *b, 1, 0, 0, 1);
  }
  EXPECT_LE(world.materials.usedCount, 2);
  EXPECT_EQ(world.materials.slots[b->studMaterial].references, 7);
}

TEST_F(MaterialTableTest, ResetStartsAgainAtSlotZeroAndOldBlocksGiveNothingBack) {
  RecordingDevice device;
  setMaterialDevice(world.materials, &device);
  auto before = create(describe(Brick, 1, 1, 1, {0, 3, 0}));
  resetMaterialTable(world.materials);
  EXPECT_EQ(device.released, (std::vector<uint32_t>{1}));
  EXPECT_EQ(findMaterial(world.materials, MaterialKey{1, 0, 0, 1, -1}), -1);
  BlockDescription green = describe(Brick, 1, 1, 1, {8, 3, 0});
  green.colour = {0, 1, 0, 1};
  auto after = create(green);
  EXPECT_EQ(after->studMaterial, 0);
  destroyBlock(world, *before);  // built before the reset: must not take references from the green slot
  EXPECT_EQ(world.materials.slots[0].references, 7);
  setBlockColour(world.materials, *before, 0, 1, 0, 1);  // recolouring a stale block acquires afresh
  EXPECT_EQ(world.materials.slots[0].references, 14);
}

TEST_F(MaterialTableTest, EveryWorldHasATableOfItsOwn) {
  RecordingDevice device;
  setMaterialDevice(world.materials, &device);
  auto mine = create(describe(Brick, 1, 1, 1, {0, 3, 0}));
  World other;
  BlockDescription green = describe(Brick, 1, 1, 1, {0, 3, 0});
  green.colour = {0, 1, 0, 1};
  auto theirs = createBlock(other, green);
  EXPECT_EQ(theirs->studMaterial, 0);  // slot 0 of its own table, not the next one of ours
  EXPECT_EQ(other.materials.usedCount, 1);
  EXPECT_EQ(world.materials.usedCount, 1);
  EXPECT_EQ(world.materials.slots[0].references, 7);
  EXPECT_EQ(device.created.size(), 1u);  // the other table has no device: nothing made on ours
  destroyBlock(other, *theirs);
  EXPECT_EQ(world.materials.slots[0].references, 7);
}

}  // namespace
