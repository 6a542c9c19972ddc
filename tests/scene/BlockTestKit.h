// Helpers for block-model tests: descriptions of common blocks, a listener that records the notes and
// sounds the block model asks for, and a fixture that gives every test a world of its own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scene/BlockList.h"
#include "scene/BlockSounds.h"
#include "scene/MaterialTable.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/Shape.h"
#include "scene/SweepIndex.h"
#include "scene/World.h"

inline BlockDescription describe(int32_t kind, int32_t studsX, int32_t studsZ, int32_t height, Vec3 position,
                                 int32_t orientation = 0) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = height;
  d.orientation = orientation;
  d.position = position;
  d.colour = {1, 0, 0, 1};
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  return d;
}

// A 4 x 4 x 4 box shape centred on its origin, for catalogue kinds.
inline std::unique_ptr<Shape> boxShape(float minY = -2, float maxY = 2) {
  auto shape = std::make_unique<Shape>();
  shape->minX = shape->minZ = -2;
  shape->maxX = shape->maxZ = 2;
  shape->minY = minY;
  shape->maxY = maxY;
  const float corners[3][3] = {{-2, minY, -2}, {2, minY, -2}, {2, maxY, 2}};
  for (const auto& c : corners) shape->vertices.push_back(Vertex{c[0], c[1], c[2], 0, 1, 0, 0, 0});
  shape->indices = {0, 1, 2};
  shape->faceCount = 1;
  shape->vertexCount = 3;
  return shape;
}

// Keeps every note and block sound the world asks for, in order.
class RecordingEvents : public WorldEvents {
public:
  void moveNote(MoveNote note) override { notes.push_back(note); }
  void blockSound(BlockSound sound) override { sounds.push_back(sound); }
  std::vector<MoveNote> notes;
  std::vector<BlockSound> sounds;
};

// Every test starts from a fresh world: empty scene, index, material table and catalogue, cheat mode off,
// with the recorder listening.
class BlockModelTest : public ::testing::Test {
protected:
  std::unique_ptr<Block> create(const BlockDescription& d) { return createBlock(world, d); }
  Block* put(const BlockDescription& d, NewBlockOptions options = {}) { return putBlockInScene(world, d, options); }
  const SceneNode& nodeOf(const Block* b) { return *sceneFind(world.scene, b); }

  RecordingEvents events;
  World world{&events};
};
