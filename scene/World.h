// The world of blocks: every block with its stacking graph, the set being moved, the selection, the base
// plate, the collision index, the materials and shapes blocks are made from, the view values a scene
// carries and the switches the block model reads. The shell makes one; a test makes its own.
#pragma once

#include <cstdint>

#include "scene/BlockList.h"
#include "scene/BlockSounds.h"
#include "scene/MaterialTable.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/Shape.h"
#include "scene/SweepIndex.h"

// What the block model tells whoever listens while it works: the notes a move asks for and the sounds of a
// block changing size. Every call may be ignored.
class WorldEvents {
public:
  virtual ~WorldEvents() = default;
  virtual void moveNote(MoveNote) {}
  virtual void blockSound(BlockSound) {}
};

struct World {
  World() = default;
  explicit World(WorldEvents* listener) : events(listener) {}
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  SceneList scene;
  // The block the keyboard edits, turns, recolours and undo apply to; may be null.
  Block* selectedBlock = nullptr;
  // The base plate the latest load or new scene laid down; null when there is none.
  Block* basePlate = nullptr;
  // Blocks added since the scene was loaded, plus those it was loaded with; never lowered.
  int32_t blockCounter = 0;
  // The blocks picked up and moving together: the dragged block and everything stacked on it.
  BlockList movingSet;
  SweepIndex sweep;
  MaterialTable materials;
  ShapeCatalogue shapes;
  WorkArea workArea;
  // Cheat mode widens the resize limits and the work area's margin.
  bool cheatMode = false;
  GameFlags game;
  SceneView view;
  MovementState movement;
  WorldEvents* events = nullptr;
  // Blocks built since the world was made whose catalogue shape was missing; the shell tells the user.
  int missingShapes = 0;
  // Identity of the next block made: lists keep blocks in this order, so equal input walks equally.
  uint64_t nextSerial = 1;
};

inline void playBlockSound(World& world, BlockSound sound) {
  if (world.events) world.events->blockSound(sound);
}
inline void playMoveNote(World& world, MoveNote note) {
  if (world.events) world.events->moveNote(note);
}
