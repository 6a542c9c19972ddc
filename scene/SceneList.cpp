// The owning scene list, its walk, and the support graph: links, detaching, gathering a stack and the
// studs a resting block covers.
//
// Index: [SECTION] Scene list  [SECTION] Support graph  [SECTION] Gathering a stack

#include "scene/SceneList.h"

#include <algorithm>

#include "scene/World.h"

// [SECTION] Scene list

constexpr auto nodeBefore = [](const std::unique_ptr<SceneNode>& node, const Block* block) {
  return blockBefore(node->block.get(), block);
};

static std::vector<std::unique_ptr<SceneNode>>::iterator nodePosition(SceneList& scene, const Block* block) {
  return std::lower_bound(scene.nodes.begin(), scene.nodes.end(), block, nodeBefore);
}

SceneNode* sceneAdd(SceneList& scene, std::unique_ptr<Block> block) {
  if (!block) return nullptr;
  Block* raw = block.get();
  auto at = nodePosition(scene, raw);
  auto node = std::make_unique<SceneNode>();
  node->block = std::move(block);
  SceneNode* result = node.get();
  scene.nodeOf[raw] = result;
  scene.nodes.insert(at, std::move(node));
  return result;
}

SceneNode* sceneFind(const SceneList& scene, const Block* block) {
  auto found = scene.nodeOf.find(block);
  return found == scene.nodeOf.end() ? nullptr : found->second;
}

static void forgetBlock(World& world, const Block* block) {
  listRemove(world.movingSet, block);
  if (world.selectedBlock == block) world.selectedBlock = nullptr;
  if (world.basePlate == block) world.basePlate = nullptr;
}

static void dropFromChain(std::vector<SupportLink*>& chain, const SupportLink* link) {
  chain.erase(std::remove(chain.begin(), chain.end(), link), chain.end());
}

static void dropOwnedLink(std::vector<std::unique_ptr<SupportLink>>& chain, const SupportLink* link) {
  chain.erase(std::remove_if(chain.begin(), chain.end(), [link](const auto& owned) { return owned.get() == link; }),
              chain.end());
}

void sceneRemove(World& world, Block* block) {
  SceneList& scene = world.scene;
  if (!sceneFind(scene, block)) return;
  auto at = nodePosition(scene, block);
  SceneNode& node = **at;
  // Every link the block is part of goes with it, so no chain is left pointing at a freed block.
  for (const auto& link : node.supports)
    if (SceneNode* lower = sceneFind(scene, link->lower)) dropFromChain(lower->supported, link.get());
  for (SupportLink* link : std::vector<SupportLink*>(node.supported))
    if (SceneNode* upper = sceneFind(scene, link->upper)) dropOwnedLink(upper->supports, link);
  forgetBlock(world, block);
  destroyBlock(world, *block);
  scene.nodeOf.erase(block);
  scene.nodes.erase(at);
}

void sceneClear(World& world) {
  for (auto& node : world.scene.nodes) destroyBlock(world, *node->block);
  world.scene.nodes.clear();
  world.scene.nodeOf.clear();
  listClear(world.movingSet);
  world.selectedBlock = nullptr;
  world.basePlate = nullptr;
}

float groundLevel(const SceneList& scene) {
  // Walks the list directly, so a scene walk in progress elsewhere keeps its place.
  for (const auto& node : scene.nodes)
    if (node->block->kind == BasePlate) return node->block->position.y;
  return -2.5f;
}

// [SECTION] Support graph

void addSupportLink(SceneList& scene, const ContactPair& pair) {
  Block* upper = pair.restsOnA ? pair.b : pair.a;
  Block* lower = pair.restsOnA ? pair.a : pair.b;
  SceneNode* upperNode = sceneFind(scene, upper);
  SceneNode* lowerNode = sceneFind(scene, lower);
  if (!upperNode || !lowerNode || upper == lower) return;
  for (const auto& link : upperNode->supports)
    if (link->lower == lower) return;  // already resting there
  auto link = std::make_unique<SupportLink>(SupportLink{lower, upper});
  lowerNode->supported.push_back(link.get());
  upperNode->supports.push_back(std::move(link));
}

// Studs of the lower block whose first corner lies strictly inside the upper block's footprint.
static void setCoveredStuds(const Block& upper, Block& lower, int32_t visible) {
  if (lower.kind != Brick && lower.kind != BasePlate) return;  // slopes and shapes keep their studs
  for (StudCell& cell : lower.studCells) {
    if (cell.cellIndex < 0 || static_cast<size_t>(cell.cellIndex) >= lower.studVertices.size()) continue;
    const Vertex& v = lower.studVertices[cell.cellIndex][0];
    if (upper.bottomSlabMin.x < v.x && v.x < upper.bottomSlabMax.x && upper.bottomSlabMin.z < v.z &&
        v.z < upper.bottomSlabMax.z)
      cell.visible = visible;
  }
}

void showCoveredStuds(const Block& upper, Block& lower) { setCoveredStuds(upper, lower, 1); }
void hideCoveredStuds(const Block& upper, Block& lower) { setCoveredStuds(upper, lower, 0); }

void detachSupports(SceneList& scene, Block* block) {
  SceneNode* node = sceneFind(scene, block);
  if (!node) return;
  std::vector<std::unique_ptr<SupportLink>> links = std::move(node->supports);
  node->supports.clear();
  for (const auto& link : links) {
    SceneNode* lower = sceneFind(scene, link->lower);
    if (!lower) continue;
    showCoveredStuds(*link->upper, *link->lower);
    dropFromChain(lower->supported, link.get());
  }
}

// [SECTION] Gathering a stack

int collectStack(World& world, BlockList& out, Block* block) {
  SceneList& scene = world.scene;
  sweepResetQuery(world.sweep);
  sweepClearContacts(world.sweep);
  listClear(out);
  if (!sceneFind(scene, block)) return 0;
  detachSupports(scene, block);

  BlockList result, level, next;
  listInsert(level, block);
  while (true) {
    listClear(next);
    for (Block* b : level.entries) {
      listInsert(result, b);
      SceneNode* node = sceneFind(scene, b);
      if (!node) continue;
      for (SupportLink* link : node->supported)
        // A block already gathered is not gathered again, so even a damaged graph cannot loop.
        if (!listContains(result, link->upper) && !listContains(level, link->upper)) listInsert(next, link->upper);
    }
    if (next.entries.empty()) break;
    // A block joining the stack leaves every support outside the level below it: it moves with the stack.
    for (Block* u : next.entries) {
      SceneNode* node = sceneFind(scene, u);
      if (!node) continue;
      auto& supports = node->supports;
      for (size_t i = 0; i < supports.size();) {
        SupportLink* link = supports[i].get();
        if (listContains(level, link->lower)) {
          ++i;
          continue;
        }
        if (SceneNode* lower = sceneFind(scene, link->lower)) dropFromChain(lower->supported, link);
        supports.erase(supports.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    level.entries.swap(next.entries);
  }
  listTake(result, out);
  return out.count();
}
