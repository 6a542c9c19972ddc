// The collision index's cells: blocks filed by the squares of the ground plane their boxes cover.
#include "scene/SweepCells.h"

#include <algorithm>
#include <cmath>

#include "scene/SweepIndex.h"

namespace {

// Two studs a side, with edges on stud grid lines: a small brick lies in one square or a few, and a
// square holds about one tower of them.
constexpr float kCellSize = 8;
// A block is filed under the squares its box covers (its high edge not included); a query looks this
// much wider than its box, which is more than truncating coordinates to thousandths can move them
// within the limit below, so the truncated comparison never meets a block the query did not look at.
constexpr float kGatherMargin = 0.1f;
// Coordinates this large are in no scene; blocks out there are filed everywhere, and queries reaching
// there look at every block.
constexpr float kCellLimit = 1.0e5f;
constexpr int64_t kMostCellsFiled = 256;
constexpr int64_t kMostCellsGathered = 16384;

struct CellSpan {
  int32_t x0, x1, z0, z1;
  int64_t count() const { return int64_t{x1 - x0 + 1} * (z1 - z0 + 1); }
};

bool usable(float v) { return std::isfinite(v) && std::fabs(v) <= kCellLimit; }
int32_t cellOf(float v) { return static_cast<int32_t>(std::floor(v / kCellSize)); }
// The last square an interval ending at v (not included) reaches into.
int32_t lastCellBefore(float v) { return static_cast<int32_t>(std::ceil(v / kCellSize)) - 1; }

size_t bucketOf(const CellGrid& grid, int32_t x, int32_t z) {
  const uint64_t h = static_cast<uint64_t>(static_cast<uint32_t>(x)) * 0x9E3779B1u ^
                     static_cast<uint64_t>(static_cast<uint32_t>(z)) * 0x85EBCA77u;
  return static_cast<size_t>(h ^ (h >> 15)) & (grid.buckets.size() - 1);
}

// The squares a block is filed under; none when it belongs everywhere.
bool spanOf(const IndexedBlock& e, CellSpan& span) {
  const float x0 = e.low[0], x1 = e.high[0], z0 = e.low[2], z1 = e.high[2];
  if (!(x1 > x0 && z1 > z0)) return false;
  if (!usable(x0) || !usable(x1) || !usable(z0) || !usable(z1)) return false;
  span = {cellOf(x0), lastCellBefore(x1), cellOf(z0), lastCellBefore(z1)};
  return span.count() <= kMostCellsFiled;
}

template <typename Visit>
void forEachCell(const CellSpan& span, Visit visit) {
  for (int32_t x = span.x0; x <= span.x1; ++x)
    for (int32_t z = span.z0; z <= span.z1; ++z) visit(x, z);
}

void putInBuckets(CellGrid& grid, IndexedBlock& entry) {
  const CellSpan span{entry.cellX0, entry.cellX1, entry.cellZ0, entry.cellZ1};
  forEachCell(span, [&](int32_t x, int32_t z) { grid.buckets[bucketOf(grid, x, z)].push_back(&entry); });
}

// Twice as many buckets as blocks keeps a bucket to a square's blocks; growing refiles every block.
void growIfCrowded(CellGrid& grid) {
  if (grid.buckets.size() >= 2 * grid.blocks && !grid.buckets.empty()) return;
  size_t size = std::max<size_t>(grid.buckets.size(), 1024);
  while (size < 4 * grid.blocks) size *= 2;
  std::vector<IndexedBlock*> filed;
  const uint32_t stamp = ++grid.gatherStamp;
  for (auto& bucket : grid.buckets)
    for (IndexedBlock* e : bucket)
      if (e->gatherStamp != stamp) {
        e->gatherStamp = stamp;
        filed.push_back(e);
      }
  grid.buckets.assign(size, {});
  for (IndexedBlock* e : filed) putInBuckets(grid, *e);
}

}  // namespace

void fileBlock(CellGrid& grid, IndexedBlock& entry) {
  if (entry.filing != Filing::None) unfileBlock(grid, entry);
  ++grid.blocks;
  CellSpan span;
  if (!spanOf(entry, span)) {
    entry.filing = Filing::Everywhere;
    grid.everywhere.push_back(&entry);
    return;
  }
  growIfCrowded(grid);
  entry.filing = Filing::Cells;
  entry.cellX0 = span.x0, entry.cellX1 = span.x1, entry.cellZ0 = span.z0, entry.cellZ1 = span.z1;
  putInBuckets(grid, entry);
}

void unfileBlock(CellGrid& grid, IndexedBlock& entry) {
  auto drop = [&entry](std::vector<IndexedBlock*>& list) {
    auto at = std::find(list.begin(), list.end(), &entry);
    if (at == list.end()) return;
    *at = list.back();
    list.pop_back();
  };
  if (entry.filing == Filing::None) return;
  if (entry.filing == Filing::Everywhere) {
    drop(grid.everywhere);
  } else {
    const CellSpan span{entry.cellX0, entry.cellX1, entry.cellZ0, entry.cellZ1};
    forEachCell(span, [&](int32_t x, int32_t z) { drop(grid.buckets[bucketOf(grid, x, z)]); });
  }
  entry.filing = Filing::None;
  --grid.blocks;
}

bool gatherNear(CellGrid& grid, float x0, float x1, float z0, float z1, std::vector<IndexedBlock*>& out) {
  out.clear();
  if (!usable(x0) || !usable(x1) || !usable(z0) || !usable(z1)) return false;
  const CellSpan span{cellOf(std::min(x0, x1) - kGatherMargin), cellOf(std::max(x0, x1) + kGatherMargin),
                      cellOf(std::min(z0, z1) - kGatherMargin), cellOf(std::max(z0, z1) + kGatherMargin)};
  if (span.count() > kMostCellsGathered) return false;
  const uint32_t stamp = ++grid.gatherStamp;
  if (!grid.buckets.empty()) {
    forEachCell(span, [&](int32_t x, int32_t z) {
      for (IndexedBlock* e : grid.buckets[bucketOf(grid, x, z)])
        if (e->gatherStamp != stamp) {
          e->gatherStamp = stamp;
          out.push_back(e);
        }
    });
  }
  out.insert(out.end(), grid.everywhere.begin(), grid.everywhere.end());
  return true;
}
