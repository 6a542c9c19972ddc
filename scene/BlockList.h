// Block sets: sorted, non-owning sets of blocks in identity order.
#pragma once

#include <cstddef>
#include <vector>

#include "scene/Block.h"

struct BlockList {
  std::vector<Block*> entries;  // identity order, no block twice
  int count() const { return static_cast<int>(entries.size()); }
  // The first block, or null for an empty set.
  Block* first() const { return entries.empty() ? nullptr : entries.front(); }
};

void listInsert(BlockList& list, Block* block);
bool listContains(const BlockList& list, const Block* block);
void listRemove(BlockList& list, const Block* block);
void listClear(BlockList& list);
// to receives from's entries; from is left empty.
void listTake(BlockList& from, BlockList& to);
// The union of the blocks' outer boxes; the inverted box for an empty list.
Box listBounds(const BlockList& list);
// The lowest y of the blocks' positions; the largest float for an empty list.
float listLowestY(const BlockList& list);
