// Sorted block sets: insertion, look-up and removal in identity order.
#include "scene/BlockList.h"

#include <algorithm>

void listInsert(BlockList& list, Block* block) {
  if (!block) return;
  auto at = std::lower_bound(list.entries.begin(), list.entries.end(), block, blockBefore);
  if (at != list.entries.end() && *at == block) return;
  list.entries.insert(at, block);
}

bool listContains(const BlockList& list, const Block* block) {
  if (!block) return false;
  auto at = std::lower_bound(list.entries.begin(), list.entries.end(), block, blockBefore);
  return at != list.entries.end() && *at == block;
}

void listRemove(BlockList& list, const Block* block) {
  if (!block) return;
  auto at = std::lower_bound(list.entries.begin(), list.entries.end(), block, blockBefore);
  if (at == list.entries.end() || *at != block) return;
  list.entries.erase(at);
}

void listClear(BlockList& list) {
  list.entries.clear();
}

void listTake(BlockList& from, BlockList& to) {
  to.entries = std::move(from.entries);
  listClear(from);
}

Box listBounds(const BlockList& list) {
  Box box = invertedBox();
  for (const Block* b : list.entries) widenBox(box, outerBox(*b));
  return box;
}

float listLowestY(const BlockList& list) {
  float lowest = kFloatMax;
  for (const Block* b : list.entries) lowest = std::min(lowest, b->position.y);
  return lowest;
}
