// The collision index's cells: every block filed under the squares of the ground plane its box covers,
// so that a query in a large scene looks at the blocks near it instead of walking whole axis lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct IndexedBlock;

struct CellGrid {
  // Squares hashed into buckets; a bucket may hold blocks of several squares, which the exact
  // test after gathering tells apart. The count is a power of two.
  std::vector<std::vector<IndexedBlock*>> buckets;
  // Blocks no small set of squares describes: very wide ones, boxes of no width or inverted on x or
  // z (a walk keeps those for queries far away), and boxes beyond any scene's coordinates.
  std::vector<IndexedBlock*> everywhere;
  size_t blocks = 0;  // blocks filed, in buckets or everywhere
  uint32_t gatherStamp = 0;
};

// File a block under the squares of its end points (its record's `low` and `high`), or everywhere.
void fileBlock(CellGrid& grid, IndexedBlock& entry);
void unfileBlock(CellGrid& grid, IndexedBlock& entry);
// Every filed block whose squares meet x0..x1 by z0..z1 (in either order), each once, plus those filed
// everywhere. False, with nothing gathered, when the area is too large or not finite: the caller then
// looks at every block.
bool gatherNear(CellGrid& grid, float x0, float x1, float z0, float z1, std::vector<IndexedBlock*>& out);
