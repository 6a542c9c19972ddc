// Sorted block sets with a read cursor, and their walks.
#include "scene/BlockList.h"

#include <algorithm>

ListRestart sharedListRestart;
BlockList MovingSet;

void listInsert(BlockList& list, Block* block) {
  if (!block) return;
  auto at = std::lower_bound(list.entries.begin(), list.entries.end(), block, blockBefore);
  if (at != list.entries.end() && *at == block) return;
  const size_t position = static_cast<size_t>(at - list.entries.begin());
  list.entries.insert(at, block);
  if (position < list.cursor) ++list.cursor;  // the walk in progress keeps its place
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
  const size_t position = static_cast<size_t>(at - list.entries.begin());
  list.entries.erase(at);
  if (position < list.cursor) --list.cursor;
}

void listRewind(BlockList& list) { list.cursor = 0; }

Block* listNext(BlockList& list, ListRestart& restart) {
  if (restart.pending) {
    list.cursor = 0;
    restart.pending = false;
  }
  if (list.cursor < list.entries.size()) return list.entries[list.cursor++];
  restart.pending = true;
  return nullptr;
}

Block* listFirst(BlockList& list) {
  listRewind(list);
  return list.entries.empty() ? nullptr : list.entries.front();
}

void listClear(BlockList& list) {
  list.entries.clear();
  list.cursor = 0;
}

void listTake(BlockList& from, BlockList& to) {
  to.entries = std::move(from.entries);
  to.cursor = 0;
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
