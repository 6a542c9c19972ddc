// Sweep-and-prune index over the blocks' outer boxes: three sorted end-point lists and the queries
// that movement, stacking, the camera probe and the game ask of them. In a large scene the queries
// look in the cells of SweepCells.cpp and keep exactly the blocks the axis walks would keep.
//
// Index: [SECTION] End points  [SECTION] Adding many blocks at once  [SECTION] Axis scans
//        [SECTION] Contact classification  [SECTION] Queries

#include "scene/SweepIndex.h"

#include <algorithm>
#include <cmath>

#include "scene/World.h"

float truncThousandths(float v) { return std::trunc(v * 1000.0f) * 0.001f; }

static float component(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// [SECTION] End points

static SweepNode* newNode(SweepIndex& index, IndexedBlock* entry, float value, int32_t isHigh) {
  if (std::isnan(value)) value = kFloatMax;  // a broken coordinate sorts last instead of breaking the order
  SweepNode* node;
  if (!index.freeNodes.empty()) {
    node = index.freeNodes.back();
    index.freeNodes.pop_back();
  } else {
    node = &index.storage.emplace_back();
  }
  *node = SweepNode{entry, value, truncThousandths(value), isHigh, nullptr, nullptr, nullptr, false};
  return node;
}

static void freeNode(SweepIndex& index, SweepNode* node) {
  node->entry = nullptr;
  index.freeNodes.push_back(node);
}

// A scan's walk starts this far below the lower of its two bounds; a block at most this wide that begins
// before the start ends before the bounds. The extra unit covers the truncation to thousandths.
constexpr float kScanLookBack = 48;
constexpr float kScanStartMargin = 1;
// Beyond this size a float's spacing swallows the margin: such scans walk from the first node.
constexpr float kScanSkipLimit = 1.0e6f;

static AxisEntry entryOf(const SweepNode* n) {
  return AxisEntry{n->value, n->truncated, n->partner->value, n->partner->truncated, n->isHigh, n->entry, n->wide};
}

// Insert before the first node of equal or greater value (so ties go in front), or at the end.
static void insertNode(AxisList& axis, SweepNode* node) {
  if (!node->isHigh && node->wide) axis.wideLows.push_back(node);
  auto run = axis.runStart.lower_bound(node->value);
  SweepNode* at = run == axis.runStart.end() ? nullptr : run->second;
  node->nextNode = at;
  node->prevNode = at ? at->prevNode : axis.last;
  if (node->prevNode)
    node->prevNode->nextNode = node;
  else
    axis.first = node;
  if (at)
    at->prevNode = node;
  else
    axis.last = node;
  axis.runStart[node->value] = node;  // the newest node of a value is the first of its run
  node->linked = true;
  axis.flatValid = false;
  axis.scansSinceChange = 0;
}

static void unlinkNode(AxisList& axis, SweepNode* node) {
  if (!node->linked) return;
  if (!node->isHigh && node->wide) std::erase(axis.wideLows, node);
  auto run = axis.runStart.find(node->value);
  if (run != axis.runStart.end() && run->second == node) {
    if (node->nextNode && node->nextNode->value == node->value)
      run->second = node->nextNode;
    else
      axis.runStart.erase(run);
  }
  if (node->prevNode)
    node->prevNode->nextNode = node->nextNode;
  else
    axis.first = node->nextNode;
  if (node->nextNode)
    node->nextNode->prevNode = node->prevNode;
  else
    axis.last = node->prevNode;
  node->nextNode = node->prevNode = nullptr;
  node->linked = false;
  axis.flatValid = false;
  axis.scansSinceChange = 0;
}

static std::array<SweepNode*, 6> makeNodes(SweepIndex& index, IndexedBlock& entry) {
  const Block& block = *entry.block;
  std::array<SweepNode*, 6> nodes;
  for (int axis = 0; axis < 3; ++axis) {
    nodes[2 * axis] = newNode(index, &entry, component(block.outerMin, axis), 0);
    nodes[2 * axis + 1] = newNode(index, &entry, component(block.outerMax, axis), 1);
    nodes[2 * axis]->partner = nodes[2 * axis + 1];
    nodes[2 * axis + 1]->partner = nodes[2 * axis];
    const float width = nodes[2 * axis + 1]->value - nodes[2 * axis]->value;
    nodes[2 * axis]->wide = nodes[2 * axis + 1]->wide = !(width > 0 && width <= kScanLookBack);
  }
  return nodes;
}

// [SECTION] Adding many blocks at once

// Links the end points of the blocks added while a batch was open, in the order they were added. A few
// go in one by one; many are sorted and merged with each axis in one pass (equal values newest first,
// as one-by-one insertion leaves them).
static void linkWaiting(SweepIndex& index) {
  if (index.waiting.empty()) return;
  std::vector<IndexedBlock*> waiting;
  waiting.swap(index.waiting);
  for (int a = 0; a < 3; ++a) {
    AxisList& axis = index.axes[a];
    std::vector<SweepNode*> fresh;  // in the order added
    for (IndexedBlock* entry : waiting)
      for (int end = 0; end < 2; ++end)
        if (SweepNode* n = entry->nodes[2 * a + end]; n && !n->linked) fresh.push_back(n);
    if (fresh.size() <= 8) {
      for (SweepNode* n : fresh) insertNode(axis, n);
      continue;
    }
    for (SweepNode* n : fresh)
      if (!n->isHigh && n->wide) axis.wideLows.push_back(n);
    std::reverse(fresh.begin(), fresh.end());  // newest first, kept so among equal values
    std::stable_sort(fresh.begin(), fresh.end(), [](const SweepNode* x, const SweepNode* y) { return x->value < y->value; });
    SweepNode* old = axis.first;
    SweepNode* previous = nullptr;
    auto append = [&](SweepNode* n) {
      n->prevNode = previous;
      if (previous) previous->nextNode = n; else axis.first = n;
      if (!previous || previous->value != n->value) axis.runStart.emplace_hint(axis.runStart.end(), n->value, n);
      previous = n;
    };
    axis.runStart.clear();
    for (SweepNode* n : fresh) {
      while (old && old->value < n->value) {
        SweepNode* next = old->nextNode;
        append(old);
        old = next;
      }
      n->linked = true;
      append(n);
    }
    for (; old;) {
      SweepNode* next = old->nextNode;
      append(old);
      old = next;
    }
    previous->nextNode = nullptr;
    axis.last = previous;
    axis.flatValid = false;
    axis.scansSinceChange = 0;
  }
}

void sweepBeginBatch(SweepIndex& index) { index.batching = true; }

void sweepEndBatch(SweepIndex& index) {
  index.batching = false;
  linkWaiting(index);
}

static void linkNodes(SweepIndex& index, const std::array<SweepNode*, 6>& nodes) {
  linkWaiting(index);  // whatever waits was added earlier
  for (int axis = 0; axis < 3; ++axis) {
    insertNode(index.axes[axis], nodes[2 * axis]);
    insertNode(index.axes[axis], nodes[2 * axis + 1]);
  }
}

static void dropNodes(SweepIndex& index, std::array<SweepNode*, 6>& nodes) {
  if (nodes[0]) linkWaiting(index);
  for (int i = 0; i < 6; ++i) {
    if (!nodes[i]) continue;
    unlinkNode(index.axes[i / 2], nodes[i]);
    freeNode(index, nodes[i]);
    nodes[i] = nullptr;
  }
}

// The values a query tests a block by, read once from its nodes.
static void recordEnds(IndexedBlock& entry) {
  for (int axis = 0; axis < 3; ++axis) {
    const SweepNode* low = entry.nodes[2 * axis];
    const SweepNode* high = entry.nodes[2 * axis + 1];
    entry.low[axis] = low->value;
    entry.high[axis] = high->value;
    entry.lowTruncated[axis] = low->truncated;
    entry.highTruncated[axis] = high->truncated;
  }
}

static IndexedBlock& recordOf(SweepIndex& index, Block& block) {
  IndexedBlock& entry = index.records[&block];
  entry.block = &block;
  entry.serial = block.serial;
  return entry;
}

void sweepAdd(SweepIndex& index, Block& block) {
  sweepResetQuery(index);
  sweepClearContacts(index);
  IndexedBlock& entry = recordOf(index, block);
  dropNodes(index, entry.nodes);  // a block is in the index once
  entry.nodes = makeNodes(index, entry);
  recordEnds(entry);
  fileBlock(index.cells, entry);
  if (index.batching && index.cells.blocks >= index.cellsFrom) {
    index.waiting.push_back(&entry);  // queries look in the cells; the axes take it with the others
    return;
  }
  linkNodes(index, entry.nodes);
}

void sweepMove(SweepIndex& index, Block& block) {
  if (&block == index.probe) {
    sweepInitProbe(index, block);
    return;
  }
  IndexedBlock& entry = recordOf(index, block);
  std::array<SweepNode*, 6> fresh = makeNodes(index, entry);
  linkNodes(index, fresh);
  dropNodes(index, entry.nodes);
  entry.nodes = fresh;
  recordEnds(entry);
  fileBlock(index.cells, entry);
}

void sweepRemove(SweepIndex& index, Block& block) {
  auto found = index.records.find(&block);
  if (found != index.records.end()) {
    unfileBlock(index.cells, found->second);
    dropNodes(index, found->second.nodes);
    index.records.erase(found);
  }
  if (index.probe == &block) index.probe = nullptr;
}

void sweepInitProbe(SweepIndex& index, Block& block) {
  IndexedBlock& entry = recordOf(index, block);
  unfileBlock(index.cells, entry);
  dropNodes(index, entry.nodes);
  entry.nodes = makeNodes(index, entry);  // never linked: the probe is not an obstacle to anything
  index.probe = &block;
}

void sweepResetQuery(SweepIndex& index) {
  for (AxisList& axis : index.axes) axis.scanCount = 0;
  index.candidateCount = -1;
}

void sweepClearContacts(SweepIndex& index) { index.contactList.clear(); }

void sweepClearIndex(SweepIndex& index) {
  for (AxisList& axis : index.axes) axis = AxisList{};
  index.cells = CellGrid{};
  index.waiting.clear();
  index.storage.clear();
  index.freeNodes.clear();
  index.records.clear();
  index.candidates.clear();
  index.candidateRecords.clear();
  index.candidateCount = -1;
  index.contactList.clear();
  index.contacts.clear();
  index.contactCount = 0;
  index.probe = nullptr;
}

// [SECTION] Axis scans

namespace {

enum class Compare { Truncated, Raw };

// Blocks left out of a scan: the queried block itself, or every member of a moving group (marked with
// the index's current group stamp).
struct Excluded {
  const Block* single = nullptr;
  bool group = false;
  uint32_t groupStamp = 0;
  bool contains(const IndexedBlock* e) const { return e->block == single || (group && e->groupStamp == groupStamp); }
};

Excluded excludeGroup(SweepIndex& index, const std::vector<Block*>& members) {
  const uint32_t stamp = ++index.groupStamp;
  for (Block* b : members) {
    auto found = index.records.find(b);
    if (found != index.records.end()) found->second.groupStamp = stamp;
  }
  return Excluded{nullptr, true, stamp};
}

// Walk the axis up to hi: a block's low end (or a high end past lo) puts it into the set, a high end at
// or below lo takes it out again. What is left are the blocks whose interval reaches past lo and starts
// before hi. Whether a block stays in is settled by the last of its two ends the walk reaches, and the
// walk stops at the first end at or past hi; so each block is settled at one end, looking only at that
// end and its partner, without keeping a set that grows and shrinks on the way.
void makeFlat(AxisList& axis) {
  axis.flat.clear();
  for (const SweepNode* n = axis.first; n; n = n->nextNode)
    axis.flat.push_back(entryOf(n));
  axis.flatValid = true;
}

int scanAxisWith(SweepIndex& index, int axisIndex, const Excluded& excluded, float lo, float hi, Compare compare) {
  if (index.candidateCount == 0) return 0;
  linkWaiting(index);
  index.lastScanOrder.push_back(axisIndex);
  const bool raw = compare == Compare::Raw;
  const float rlo = raw ? lo : truncThousandths(lo);
  const float rhi = raw ? hi : truncThousandths(hi);
  auto reached = [rhi](float v) { return !(v >= rhi); };
  std::vector<IndexedBlock*>& found = index.scratch;
  found.clear();
  // One end point; false once the walk has passed hi.
  auto consider = [&](const AxisEntry& e) {
    const float rv = raw ? e.value : e.truncated;
    if (!reached(rv)) return false;
    const float otherRv = raw ? e.partnerValue : e.partnerTruncated;
    bool in;
    if (!e.isHigh) {
      // The high end lies before the low end only when it is not above it (a box of no width).
      const bool highCameFirst = e.partnerValue <= e.value;
      in = highCameFirst || !reached(otherRv) || otherRv > rlo;
    } else {
      const bool highCameFirst = e.value <= e.partnerValue;
      if (!highCameFirst || reached(otherRv)) return true;  // the low end settles it
      in = rv > rlo;
    }
    if (in && !excluded.contains(e.entry)) found.push_back(e.entry);
    return true;
  };
  AxisList& axis = index.axes[axisIndex];
  // Narrow blocks that begin before the start end before lo and hi: the walk skips them. Wide blocks are
  // settled one by one, their two ends in the order the walk would meet them.
  const float lower = std::min(lo, hi);
  const bool skip = std::fabs(lower) < kScanSkipLimit;
  const float start = lower - kScanLookBack - kScanStartMargin;
  if (skip) {
    for (const SweepNode* low : axis.wideLows) {
      const SweepNode* high = low->partner;
      const bool highFirst = high->value <= low->value;
      if (consider(entryOf(highFirst ? high : low))) consider(entryOf(highFirst ? low : high));
    }
  }
  if (!axis.flatValid && ++axis.scansSinceChange >= 2) makeFlat(axis);
  if (axis.flatValid) {
    auto e = axis.flat.begin();
    if (skip)
      e = std::lower_bound(axis.flat.begin(), axis.flat.end(), start,
                           [](const AxisEntry& entry, float v) { return entry.value < v; });
    for (; e != axis.flat.end(); ++e)
      if (!(skip && e->wide) && !consider(*e)) break;
  } else {
    const SweepNode* n = axis.first;
    if (skip) {
      auto run = axis.runStart.lower_bound(start);
      n = run == axis.runStart.end() ? nullptr : run->second;
    }
    for (; n; n = n->nextNode)
      if (!(skip && n->wide) && !consider(entryOf(n))) break;
  }
  axis.scanCount = static_cast<int>(found.size());

  if (index.candidateCount > 0) {
    // Keep the candidates this axis also found; they stay in identity order.
    const uint32_t stamp = ++index.scanStamp;
    for (IndexedBlock* e : found) e->scanStamp = stamp;
    std::erase_if(index.candidateRecords, [stamp](const IndexedBlock* e) { return e->scanStamp != stamp; });
  } else {
    index.candidateRecords.assign(found.begin(), found.end());
    std::sort(index.candidateRecords.begin(), index.candidateRecords.end(),
              [](const IndexedBlock* a, const IndexedBlock* b) { return a->serial < b->serial; });
  }
  index.candidateCount = static_cast<int>(index.candidateRecords.size());
  return index.candidateCount;
}

// The most selective axis first, by the counts of the previous scans; equal counts favour z, then y.
std::array<int, 3> scanOrder(const SweepIndex& index) {
  std::array<int, 3> order{2, 1, 0};
  std::stable_sort(order.begin(), order.end(), [&index](int a, int b) {
    return index.axes[a].scanCount < index.axes[b].scanCount;
  });
  return order;
}

// A query box: the outer box shifted, then pulled in by 0.2 on x and z so that blocks standing side by
// side do not count as overlapping (y is not pulled in: stacked blocks overlap in the stud layer).
Box queryBox(const Box& outer, Vec3 offset) {
  Box box = shiftedBox(outer, offset);
  box.min.x += 0.2f;
  box.max.x -= 0.2f;
  box.min.z += 0.2f;
  box.max.z -= 0.2f;
  return box;
}

// The scans work on records; what they leave is handed out as blocks once they are done.
void publishCandidates(SweepIndex& index) {
  index.candidates.clear();
  for (const IndexedBlock* e : index.candidateRecords) index.candidates.push_back(e->block);
}

// Whether the walk of one axis up to hi leaves a block in its set, told from the block's two ends: the
// walk meets the low end first unless the box has no width there; a low end reached puts the block in,
// a high end reached puts it in past lo and takes it out at or below lo.
bool walkKeeps(float low, float high, float rLow, float rHigh, float rlo, float rhi) {
  const bool lowReached = !(rLow >= rhi), highReached = !(rHigh >= rhi);
  if (high > low) return lowReached && (!highReached || rHigh > rlo);
  return lowReached || (highReached && rHigh > rlo);
}

// The blocks the three walks would keep, found among those filed near the box.
void gatherBox(SweepIndex& index, const Box& box, const Excluded& excluded, Compare compare) {
  std::vector<IndexedBlock*>& near = index.scratch;
  if (!gatherNear(index.cells, box.min.x, box.max.x, box.min.z, box.max.z, near)) {
    for (auto& [block, entry] : index.records)
      if (entry.filing != Filing::None) near.push_back(&entry);
  }
  const bool raw = compare == Compare::Raw;
  std::array<float, 3> rlo, rhi;
  for (int axis = 0; axis < 3; ++axis) {
    rlo[axis] = raw ? component(box.min, axis) : truncThousandths(component(box.min, axis));
    rhi[axis] = raw ? component(box.max, axis) : truncThousandths(component(box.max, axis));
  }
  std::vector<IndexedBlock*>& kept = index.candidateRecords;
  kept.clear();
  for (IndexedBlock* e : near) {
    bool in = true;
    for (int axis = 0; axis < 3 && in; ++axis)
      in = walkKeeps(e->low[axis], e->high[axis], raw ? e->low[axis] : e->lowTruncated[axis],
                     raw ? e->high[axis] : e->highTruncated[axis], rlo[axis], rhi[axis]);
    if (in && !excluded.contains(e)) kept.push_back(e);
  }
  std::sort(kept.begin(), kept.end(), [](const IndexedBlock* a, const IndexedBlock* b) { return a->serial < b->serial; });
  index.candidateCount = static_cast<int>(kept.size());
}

void scanBox(SweepIndex& index, const Box& box, const Excluded& excluded, Compare compare) {
  if (index.cells.blocks >= index.cellsFrom) {
    gatherBox(index, box, excluded, compare);
  } else {
    for (int axis : scanOrder(index))
      scanAxisWith(index, axis, excluded, component(box.min, axis), component(box.max, axis), compare);
  }
  publishCandidates(index);
}

}  // namespace

int scanAxis(SweepIndex& index, int axis, const Block* moving, float lo, float hi) {
  if (axis < 0 || axis > 2) return index.candidateCount;
  const int count = scanAxisWith(index, axis, Excluded{moving, false}, lo, hi, Compare::Truncated);
  publishCandidates(index);
  return count;
}

// [SECTION] Contact classification

// Footprint overlap on one axis: either box has an end inside the other (half-open at the far end).
static bool spansMeet(float pMin, float pMax, float qMin, float qMax) {
  return (pMin >= qMin && pMin < qMax) || (pMax > qMin && pMax <= qMax) || (qMin >= pMin && qMin < pMax) ||
         (qMax > pMin && qMax <= pMax);
}

bool slabsTouch(const Box& p, const Box& q) {
  auto r = truncThousandths;
  // The lower block's body top lies at or above the upper block's bottom, and less than 1 unit above it
  // (asked first: most pairs a query classifies differ in height).
  const float top = r(p.min.y);
  if (!(top >= r(q.min.y) && top < r(q.max.y))) return false;
  return spansMeet(r(p.min.x), r(p.max.x), r(q.min.x), r(q.max.x)) &&
         spansMeet(r(p.min.z), r(p.max.z), r(q.min.z), r(q.max.z));
}

static void addContact(SweepIndex& index, const ContactPair& pair) {
  auto& list = index.contactList;
  auto before = [](const ContactPair& x, const ContactPair& y) {
    if (x.b != y.b) return blockBefore(x.b, y.b);
    return blockBefore(x.a, y.a);
  };
  auto at = std::lower_bound(list.begin(), list.end(), pair, before);
  if (at != list.end() && at->a == pair.a && at->b == pair.b) return;
  list.insert(at, pair);
}

void classifyContacts(SweepIndex& index, Block& moving, Vec3 offset) {
  const Box top = shiftedBox(topSlab(moving), offset);
  const Box bottom = shiftedBox(bottomSlab(moving), offset);
  // The blocking candidates stay where they are, in order; contacts leave.
  std::vector<IndexedBlock*>& records = index.candidateRecords;
  size_t blocking = 0;
  for (IndexedBlock* record : records) {
    Block* c = record->block;
    if (slabsTouch(top, bottomSlab(*c))) {
      addContact(index, {&moving, 1, c});
    } else if (slabsTouch(topSlab(*c), bottom)) {
      addContact(index, {&moving, 0, c});
    } else {
      records[blocking++] = record;
    }
  }
  records.resize(blocking);
  publishCandidates(index);
  index.candidatesOf = &moving;
  index.candidateCount = static_cast<int>(index.candidates.size());
  index.contacts = index.contactList;
  index.contactCount = static_cast<int>(index.contacts.size());
}

// [SECTION] Queries

int sweepQuery(SweepIndex& index, Block& block, Vec3 offset) {
  index.candidateCount = -1;  // every query starts from all blocks, whatever the caller left behind
  index.lastScanOrder.clear();
  scanBox(index, queryBox(outerBox(block), offset), Excluded{&block, false}, Compare::Truncated);
  if (index.candidateCount > 0) classifyContacts(index, block, offset);
  return std::max(index.candidateCount, 0);
}

static int queryGroupOf(SweepIndex& index, const std::vector<Block*>& members, const Excluded& group, Vec3 offset) {
  index.candidateCount = -1;
  index.lastScanOrder.clear();
  Box united{{99999, 99999, 99999}, {-99999, -99999, -99999}};
  for (const Block* b : members) widenBox(united, outerBox(*b));
  scanBox(index, queryBox(united, offset), group, Compare::Raw);
  return std::max(index.candidateCount, 0);
}

int sweepQueryGroup(SweepIndex& index, const std::vector<Block*>& blocks, Vec3 offset) {
  return queryGroupOf(index, blocks, excludeGroup(index, blocks), offset);
}

int sweepQueryMovingSet(World& world, Vec3 offset) {
  SweepIndex& index = world.sweep;
  sweepResetQuery(index);
  sweepClearContacts(index);
  const std::vector<Block*>& members = world.movingSet.entries;  // kept in identity order
  if (members.empty()) return 0;
  if (members.size() == 1) return sweepQuery(index, *members.front(), offset);
  const Excluded group = excludeGroup(index, members);
  if (queryGroupOf(index, members, group, offset) == 0) return 0;
  // Something lies near the group: ask member by member, stopping at the first one that is blocked.
  for (Block* member : members) {
    index.candidateCount = -1;
    index.lastScanOrder.clear();
    scanBox(index, queryBox(outerBox(*member), offset), group, Compare::Raw);
    if (index.candidateCount > 0) classifyContacts(index, *member, offset);
    if (index.candidateCount > 0) break;
  }
  return std::max(index.candidateCount, 0);
}

int sweepQueryProbe(SweepIndex& index, Vec3 offset) {
  sweepResetQuery(index);
  sweepClearContacts(index);
  if (!index.probe) return 0;
  return sweepQuery(index, *index.probe, offset);
}
