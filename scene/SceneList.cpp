// The owning scene list, its walk, and the support graph: links, detaching, gathering a stack and the
// studs a resting block covers.
//
// Index: [SECTION] Scene list  [SECTION] Support graph  [SECTION] Gathering a stack

#include "scene/SceneList.h"

#include <algorithm>
#include <cmath>

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

// The rows and columns of an unturned stud grid whose first corners may lie inside x0..x1 by z0..z1:
// a unit wider on every side than the corners' grid says, so float rounding cannot leave one out.
// False when the grid is not laid out as built (turned, or not the block's size): look at every cell.
static bool coveredSpan(const Block& lower, const Box& foot, int& c0, int& c1, int& r0, int& r1) {
  const int columns = lower.studsX, rows = lower.studsZ;
  if (!lower.studsAsBuilt || columns < 1 || rows < 1 || lower.studVertices.size() != lower.studCells.size() ||
      lower.studCells.size() != static_cast<size_t>(columns) * static_cast<size_t>(rows))
    return false;
  const Vertex& first = lower.studVertices.front()[0];
  const Vertex& last = lower.studVertices.back()[0];
  constexpr float kPitch = 4;
  if (!(std::fabs(first.x + kPitch * static_cast<float>(columns - 1) - last.x) < 0.5f &&
        std::fabs(first.z + kPitch * static_cast<float>(rows - 1) - last.z) < 0.5f))
    return false;
  const float lowest = -1.0e9f, highest = 1.0e9f;  // keeps the conversions below in range
  auto fromEdge = [&](float edge, float origin) {
    return std::clamp(std::ceil((edge - 1 - origin) / kPitch), lowest, highest);
  };
  auto toEdge = [&](float edge, float origin) {
    return std::clamp(std::floor((edge + 1 - origin) / kPitch), lowest, highest);
  };
  const float fc0 = fromEdge(foot.min.x, first.x), fc1 = toEdge(foot.max.x, first.x);
  const float fr0 = fromEdge(foot.min.z, first.z), fr1 = toEdge(foot.max.z, first.z);
  if (!(std::isfinite(fc0) && std::isfinite(fc1) && std::isfinite(fr0) && std::isfinite(fr1))) return false;
  c0 = static_cast<int>(std::max(fc0, 0.0f));
  c1 = static_cast<int>(std::min(fc1, static_cast<float>(columns - 1)));
  r0 = static_cast<int>(std::max(fr0, 0.0f));
  r1 = static_cast<int>(std::min(fr1, static_cast<float>(rows - 1)));
  return true;
}

// Studs of the lower block whose first corner lies strictly inside the upper block's footprint.
static void setCoveredStuds(const Block& upper, Block& lower, int32_t visible) {
  if (lower.kind != Brick && lower.kind != BasePlate) return;  // slopes and shapes keep their studs
  auto inside = [&upper](const Vertex& v) {
    return upper.bottomSlabMin.x < v.x && v.x < upper.bottomSlabMax.x && upper.bottomSlabMin.z < v.z &&
           v.z < upper.bottomSlabMax.z;
  };
  // A brick on a large plate covers a few of its thousands of studs: look only near it.
  int c0, c1, r0, r1;
  if (coveredSpan(lower, Box{upper.bottomSlabMin, upper.bottomSlabMax}, c0, c1, r0, r1)) {
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) {
        const size_t k = static_cast<size_t>(r) * static_cast<size_t>(lower.studsX) + static_cast<size_t>(c);
        if (inside(lower.studVertices[k][0])) lower.studCells[k].visible = visible;
      }
    return;
  }
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
