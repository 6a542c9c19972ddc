// The owning scene list, its walk, and the support graph: links, detaching, gathering a stack and the
// studs a resting block covers.
//
// Index: [SECTION] Scene list  [SECTION] Support graph  [SECTION] Gathering a stack

#include "scene/SceneList.h"

#include <algorithm>

#include "scene/SceneView.h"
#include "scene/SweepIndex.h"

SceneList scene;
Block* selectedBlock = nullptr;
Block* basePlate = nullptr;
int32_t blockCounter = 0;
SceneView sceneView;

// [SECTION] Scene list

static auto nodeBefore = [](const std::unique_ptr<SceneNode>& node, const Block* block) {
  return blockBefore(node->block.get(), block);
};

static std::vector<std::unique_ptr<SceneNode>>::iterator nodePosition(const Block* block) {
  return std::lower_bound(scene.nodes.begin(), scene.nodes.end(), block, nodeBefore);
}

SceneNode* sceneAdd(std::unique_ptr<Block> block) {
  if (!block) return nullptr;
  Block* raw = block.get();
  auto at = nodePosition(raw);
  const size_t index = static_cast<size_t>(at - scene.nodes.begin());
  auto node = std::make_unique<SceneNode>();
  node->block = std::move(block);
  SceneNode* result = node.get();
  scene.nodeOf[raw] = result;
  scene.nodes.insert(at, std::move(node));
  if (index < scene.cursor) ++scene.cursor;  // a walk in progress neither repeats nor skips a block
  return result;
}

SceneNode* sceneFind(const Block* block) {
  auto found = scene.nodeOf.find(block);
  return found == scene.nodeOf.end() ? nullptr : found->second;
}

Block* sceneNext() {
  if (scene.restart) {
    scene.cursor = 0;
    scene.restart = false;
  }
  if (scene.cursor < scene.nodes.size()) return scene.nodes[scene.cursor++]->block.get();
  scene.restart = true;
  return nullptr;
}

void sceneRewind() { scene.restart = true; }

int sceneBlockCount() { return static_cast<int>(scene.nodes.size()); }

static void forgetBlock(const Block* block) {
  listRemove(MovingSet, block);
  if (selectedBlock == block) selectedBlock = nullptr;
  if (basePlate == block) basePlate = nullptr;
}

static void dropFromChain(std::vector<SupportLink*>& chain, const SupportLink* link) {
  chain.erase(std::remove(chain.begin(), chain.end(), link), chain.end());
}

static void dropOwnedLink(std::vector<std::unique_ptr<SupportLink>>& chain, const SupportLink* link) {
  chain.erase(std::remove_if(chain.begin(), chain.end(), [link](const auto& owned) { return owned.get() == link; }),
              chain.end());
}

void sceneRemove(Block* block) {
  if (!sceneFind(block)) return;
  auto at = nodePosition(block);
  SceneNode& node = **at;
  // Every link the block is part of goes with it, so no chain is left pointing at a freed block.
  for (const auto& link : node.supports)
    if (SceneNode* lower = sceneFind(link->lower)) dropFromChain(lower->supported, link.get());
  for (SupportLink* link : std::vector<SupportLink*>(node.supported))
    if (SceneNode* upper = sceneFind(link->upper)) dropOwnedLink(upper->supports, link);
  forgetBlock(block);
  destroyBlock(*block);
  const size_t index = static_cast<size_t>(at - scene.nodes.begin());
  scene.nodeOf.erase(block);
  scene.nodes.erase(at);
  if (index < scene.cursor) --scene.cursor;
}

void sceneClear() {
  for (auto& node : scene.nodes) destroyBlock(*node->block);
  scene.nodes.clear();
  scene.nodeOf.clear();
  scene.cursor = 0;
  scene.restart = true;
  listClear(MovingSet);
  selectedBlock = nullptr;
  basePlate = nullptr;
}

float groundLevel() {
  // Walks the list directly, so a scene walk in progress elsewhere keeps its place.
  for (const auto& node : scene.nodes)
    if (node->block->kind == BasePlate) return node->block->position.y;
  return -2.5f;
}

// [SECTION] Support graph

void addSupportLink(const ContactPair& pair) {
  Block* upper = pair.restsOnA ? pair.b : pair.a;
  Block* lower = pair.restsOnA ? pair.a : pair.b;
  SceneNode* upperNode = sceneFind(upper);
  SceneNode* lowerNode = sceneFind(lower);
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

void detachSupports(Block* block) {
  SceneNode* node = sceneFind(block);
  if (!node) return;
  std::vector<std::unique_ptr<SupportLink>> links = std::move(node->supports);
  node->supports.clear();
  for (const auto& link : links) {
    SceneNode* lower = sceneFind(link->lower);
    if (!lower) continue;
    showCoveredStuds(*link->upper, *link->lower);
    dropFromChain(lower->supported, link.get());
  }
}

// [SECTION] Gathering a stack

int collectStack(BlockList& out, Block* block) {
  sweepResetQuery();
  sweepClearContacts();
  listClear(out);
  if (!sceneFind(block)) return 0;
  detachSupports(block);

  BlockList result, level, next;
  listInsert(level, block);
  while (true) {
    listClear(next);
    for (Block* b : level.entries) {
      listInsert(result, b);
      SceneNode* node = sceneFind(b);
      if (!node) continue;
      for (SupportLink* link : node->supported)
        // A block already gathered is not gathered again, so even a damaged graph cannot loop.
        if (!listContains(result, link->upper) && !listContains(level, link->upper)) listInsert(next, link->upper);
    }
    if (next.entries.empty()) break;
    // A block joining the stack leaves every support outside the level below it: it moves with the stack.
    for (Block* u : next.entries) {
      SceneNode* node = sceneFind(u);
      if (!node) continue;
      auto& supports = node->supports;
      for (size_t i = 0; i < supports.size();) {
        SupportLink* link = supports[i].get();
        if (listContains(level, link->lower)) {
          ++i;
          continue;
        }
        if (SceneNode* lower = sceneFind(link->lower)) dropFromChain(lower->supported, link);
        supports.erase(supports.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    level.entries.swap(next.entries);
  }
  listTake(result, out);
  return out.count();
}
