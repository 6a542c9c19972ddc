// Block sets: sorted, non-owning sets of blocks with a read cursor, and the program-wide set of blocks
// being moved together.
#pragma once

#include <cstddef>
#include <vector>

#include "scene/Block.h"

struct BlockList {
  std::vector<Block*> entries;  // identity order, no block twice
  size_t cursor = 0;            // next entry to return
  int count() const { return static_cast<int>(entries.size()); }
};

// After a walk has run off the end, the next listNext on any list starts it from the top again. All
// lists share one such flag; the walks inside collectStack keep one of their own.
struct ListRestart {
  bool pending = true;
};
extern ListRestart sharedListRestart;

// The blocks picked up and moving together: the dragged block and everything stacked on it.
extern BlockList MovingSet;

void listInsert(BlockList& list, Block* block);
bool listContains(const BlockList& list, const Block* block);
void listRemove(BlockList& list, const Block* block);
void listRewind(BlockList& list);
Block* listNext(BlockList& list, ListRestart& restart = sharedListRestart);
Block* listFirst(BlockList& list);
void listClear(BlockList& list);
// to receives from's entries; from is left empty.
void listTake(BlockList& from, BlockList& to);
// The union of the blocks' outer boxes; the inverted box for an empty list.
Box listBounds(const BlockList& list);
// The lowest y of the blocks' positions; the largest float for an empty list.
float listLowestY(const BlockList& list);
