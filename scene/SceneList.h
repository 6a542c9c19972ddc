// The scene: the one list that owns every block, in identity order, with the stacking graph of which
// block rests on which; the graph operations on it and the sequence that puts a new block into it.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "scene/Block.h"
#include "scene/BlockList.h"
#include "scene/SweepIndex.h"

// The upper block rests on the lower one. A link sits in two chains: the upper block's supports (which
// owns it) and the lower block's supported.
struct SupportLink {
  Block* lower = nullptr;
  Block* upper = nullptr;
};

struct SceneNode {
  std::unique_ptr<Block> block;
  std::vector<std::unique_ptr<SupportLink>> supports;  // what this block rests on, in the order made
  std::vector<SupportLink*> supported;                 // what rests on this block
};

struct SceneList {
  std::vector<std::unique_ptr<SceneNode>> nodes;  // identity order
  // Finds a block's node without touching the block, so asking about a block already freed is safe.
  std::unordered_map<const Block*, SceneNode*> nodeOf;
  int count() const { return static_cast<int>(nodes.size()); }
};

struct World;

SceneNode* sceneAdd(SceneList& scene, std::unique_ptr<Block> block);
SceneNode* sceneFind(const SceneList& scene, const Block* block);
// Takes the block out of the scene and frees it, with every support link it is part of.
void sceneRemove(World& world, Block* block);
void sceneClear(World& world);
// The y of the base plate's position; -2.5 when the scene has none.
float groundLevel(const SceneList& scene);

// [SECTION] Support graph
void addSupportLink(SceneList& scene, const ContactPair& pair);
void detachSupports(SceneList& scene, Block* block);
int collectStack(World& world, BlockList& out, Block* block);
void showCoveredStuds(const Block& upper, Block& lower);
void hideCoveredStuds(const Block& upper, Block& lower);

// [SECTION] New blocks
struct NewBlockOptions {
  bool fromEditing = false;    // a base plate made by an edit is laid at the origin
  bool riseUntilFree = false;  // lift the block a brick at a time until nothing is in its way
};
// Create the block, put it into the collision index and the scene, and settle it onto what lies below;
// the world's block counter counts it.
Block* putBlockInScene(World& world, const BlockDescription& description, NewBlockOptions options = {});
// The same for a block already created: index, scene, query, supports.
Block* placeBuiltBlock(World& world, std::unique_ptr<Block> block);

// [SECTION] Settling (the stacking half of movement)
bool snapOffset(const ContactPair& pair, Vec3& out);
// Snap the moving set onto the first contact that allows it and link every resting pair.
int sweepBuildSupports(World& world);
