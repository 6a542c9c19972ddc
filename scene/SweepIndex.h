// Sweep-and-prune index over the blocks' outer boxes: three sorted end-point lists and the queries that
// movement, stacking, the camera probe and the game ask of them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

#include "scene/Block.h"
#include "scene/SweepCells.h"

struct SweepNode;

enum class Filing { None, Cells, Everywhere };

// The index's own record of a block: its six end points and the marks its scans leave.
struct IndexedBlock {
  Block* block = nullptr;
  uint64_t serial = 0;  // the block's identity, kept here so that sorting reads one record
  std::array<SweepNode*, 6> nodes{};  // x low, x high, y low, y high, z low, z high
  // The end points' values per axis, raw and truncated to thousandths, so that a query can test a
  // block without visiting its nodes.
  std::array<float, 3> low{}, high{}, lowTruncated{}, highTruncated{};
  uint32_t scanStamp = 0;
  uint32_t groupStamp = 0;  // equal to the index's current group stamp while the block is in the moving group
  uint32_t gatherStamp = 0;
  Filing filing = Filing::None;
  int32_t cellX0 = 0, cellX1 = 0, cellZ0 = 0, cellZ1 = 0;  // the squares it is filed under
};

struct SweepNode {
  IndexedBlock* entry = nullptr;
  float value = 0;
  float truncated = 0;  // value truncated to thousandths, worked out once when the node is made
  int32_t isHigh = 0;
  SweepNode* partner = nullptr;  // the other end of the same block on the same axis
  SweepNode* nextNode = nullptr;
  SweepNode* prevNode = nullptr;
  bool linked = false;  // false for the probe's nodes, which never enter the axes
  bool wide = false;    // the block is wider than a scan's look-back on this axis (or has no width)
};

// An end point as a scan reads it, kept in a flat copy of an axis for the many scans of a drag.
struct AxisEntry {
  float value, truncated;
  float partnerValue, partnerTruncated;
  int32_t isHigh;
  IndexedBlock* entry;
  bool wide;
};

struct AxisList {
  SweepNode* first = nullptr;
  int scanCount = 0;  // candidates the latest scan of this axis found, before intersection
  // Where each value's run of nodes starts, and the last node: finding a new node's place takes a
  // look-up instead of a walk from the first node.
  std::map<float, SweepNode*> runStart;
  SweepNode* last = nullptr;
  // The axis in list order as one array, made once the axis has been scanned twice without changing
  // (during a drag nothing moves in the index, so every later scan reads memory in order).
  std::vector<AxisEntry> flat;
  bool flatValid = false;
  int scansSinceChange = 0;
  // The low ends of the wide blocks: a scan looks at these one by one and starts its walk a little
  // below lo instead of at the first node, so a query costs what lies near it, not the whole scene.
  std::vector<SweepNode*> wideLows;
};

// {a, restsOnA, b}: a is the queried block; restsOnA 1 means b rests on a, 0 means a rests on b.
struct ContactPair {
  Block* a = nullptr;
  int32_t restsOnA = 0;
  Block* b = nullptr;
};

struct SweepIndex {
  std::array<AxisList, 3> axes;
  int candidateCount = -1;            // -1: no axis scanned yet
  std::vector<Block*> candidates;     // blocking candidates in identity order
  std::vector<IndexedBlock*> candidateRecords;  // the same blocks' records, in the same order
  Block* candidatesOf = nullptr;      // the queried block the candidates are in the way of
  int contactCount = 0;
  std::vector<ContactPair> contacts;  // copy of contactList made by the latest classification
  std::vector<ContactPair> contactList;  // sorted by (b, a) identity, no two pairs of the same blocks
  Block* probe = nullptr;
  std::vector<int> lastScanOrder;     // the axes the latest query scanned, in order

  std::deque<SweepNode> storage;      // every node, at a stable address
  std::vector<SweepNode*> freeNodes;
  // One record per block in the index (and the probe); a map's elements keep their addresses.
  std::unordered_map<const Block*, IndexedBlock> records;
  uint32_t scanStamp = 0;
  uint32_t groupStamp = 0;
  std::vector<IndexedBlock*> scratch;  // reused by every scan
  // Blocks by where they stand. From this many blocks on, queries look in the cells near them instead
  // of walking the axis lists (a walk reads a fraction of the whole scene for every query); below it
  // they walk, and only walks count and order the axes (scanCount, lastScanOrder).
  CellGrid cells;
  size_t cellsFrom = 64;
  // While a batch is open (a scene being loaded), blocks added to a large index are filed in the cells
  // at once but wait here to enter the axes in one sorted pass when the batch closes, or as soon as
  // anything walks or changes the axes.
  bool batching = false;
  std::vector<IndexedBlock*> waiting;
};

struct World;

// Coordinates are compared truncated to thousandths (toward zero), in single precision.
float truncThousandths(float v);

void sweepAdd(SweepIndex& index, Block& block);
// Around adding many blocks: the axes take the blocks added in between in one pass at the end.
void sweepBeginBatch(SweepIndex& index);
void sweepEndBatch(SweepIndex& index);
void sweepMove(SweepIndex& index, Block& block);
void sweepRemove(SweepIndex& index, Block& block);
void sweepResetQuery(SweepIndex& index);
void sweepClearContacts(SweepIndex& index);
// Blocking candidates for the block shifted by offset; contact pairs found are added to the contact list.
// After the query, `candidates` holds the blocks in the way (the game reads which one it met).
int sweepQuery(SweepIndex& index, Block& block, Vec3 offset);
// Pre-filter for a group: candidates outside the group overlapping the group's union box.
int sweepQueryGroup(SweepIndex& index, const std::vector<Block*>& blocks, Vec3 offset);
int sweepQueryMovingSet(World& world, Vec3 offset);
int sweepQueryProbe(SweepIndex& index, Vec3 offset);
void sweepInitProbe(SweepIndex& index, Block& block);
// Free every node and record (shut-down).
void sweepClearIndex(SweepIndex& index);

// The parts of a query, for the queries above and their tests.
int scanAxis(SweepIndex& index, int axis, const Block* moving, float lo, float hi);
void classifyContacts(SweepIndex& index, Block& moving, Vec3 offset);
bool slabsTouch(const Box& lowerTop, const Box& upperBottom);
