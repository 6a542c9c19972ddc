// Drawing shared between threads. An execute's triangles are measured at once on the calling thread (so
// the extent a caller reads when execute returns is exact) and those that draw are sorted into bands of
// rows. Once there is enough to share, the other threads fill the bands as far as they are sorted while
// the caller goes on with the next executes; when anyone next looks at the target or its depth, the
// caller joins in to fill the rest. A band is filled by one thread at a time and in the order its triangles came, so every pixel
// sees the same depth tests as on one thread.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/soft3d/Raster.h"

namespace soft3d {

class BandWorkers;

// Storage that grows a chunk at a time, so that what one thread appends never moves while others read
// what was appended before. Cleared, it keeps its chunks for the next frame.
template <class T, size_t ChunkSize, size_t MaxChunks>
class ChunkedStore {
  static_assert((ChunkSize & (ChunkSize - 1)) == 0, "chunks are a power of two long");

 public:
  T& operator[](size_t i) { return chunks_[i / ChunkSize][i % ChunkSize]; }
  const T& operator[](size_t i) const { return chunks_[i / ChunkSize][i % ChunkSize]; }
  static constexpr size_t kCapacity = ChunkSize * MaxChunks;
  size_t size() const { return size_; }
  // Whether append(n) would find room.
  bool canTake(size_t n) const { return n <= ChunkSize && startOf(n) + n <= kCapacity; }
  // Room for n more side by side (starting a new chunk when the current one has too little left), or
  // null when the store is full.
  T* append(size_t n) {
    if (!canTake(n)) return nullptr;
    const size_t at = startOf(n);
    std::unique_ptr<T[]>& chunk = chunks_[at / ChunkSize];
    if (!chunk) chunk = std::make_unique_for_overwrite<T[]>(ChunkSize);
    size_ = at + n;
    return &chunk[at % ChunkSize];
  }
  void clear() { size_ = 0; }

 private:
  size_t startOf(size_t n) const {
    return size_ % ChunkSize + n > ChunkSize ? (size_ / ChunkSize + 1) * ChunkSize : size_;
  }

  std::unique_ptr<T[]> chunks_[MaxChunks];
  size_t size_ = 0;
};

// The most bands a queue sorts into.
constexpr int kMaxQueueBands = 64;

struct QueuedTriangle {
  uint32_t run;         // into DrawQueue::runs
  uint16_t v1, v2, v3;  // into the run's vertices
  uint16_t flags;
};

// One execute's triangles: its states and target, and its vertices. Most keep only screen vertices;
// those with a texture, drawn as wires or crossing the guard band keep full ones.
struct QueuedRun {
  RasterContext context;
  const ScreenVertex* screen = nullptr;
  const TLVertex* full = nullptr;
};

// One band's triangles. The recording thread appends and then publishes; whoever holds `busy` fills
// from `filled` up to what is published. What each side writes often lies on a cache line of its own.
struct QueueBand {
  ChunkedStore<QueuedTriangle, 4096, 256> triangles;
  alignas(64) std::atomic<size_t> published{0};
  alignas(64) std::atomic<size_t> filled{0};
  std::atomic<bool> busy{false};
};

struct DrawQueue {
  explicit DrawQueue(std::shared_ptr<BandWorkers> crew);
  // Whatever is still queued lands first.
  ~DrawQueue();
  DrawQueue(const DrawQueue&) = delete;
  DrawQueue& operator=(const DrawQueue&) = delete;

  std::shared_ptr<BandWorkers> workers;
  DisplaySurface* colour = nullptr;  // the surfaces owed drawing, while any is queued
  DisplaySurface* depth = nullptr;
  int bands = 1, bandShift = 0;  // bands of 1 << bandShift rows; fixed while anything is queued
  bool streaming = false;        // the other threads are filling
  size_t queuedTriangles = 0;    // since the queue was last empty
  std::atomic<bool> closing{false};
  ChunkedStore<QueuedRun, 1024, 1024> runs;
  ChunkedStore<ScreenVertex, 65536, 64> screenVertices;
  ChunkedStore<TLVertex, 65536, 16> vertices;
  std::vector<MeasuredTriangle> measured;  // scratch for one execute
  QueueBand band[kMaxQueueBands];
};

// Measures triangles [start, start + count) of `triangles` over `vertices` with the context's states,
// grows context.extent as drawing them would, and queues those that draw onto `target` (whose pixels the
// context points into) and its depth.
void queueTriangles(DrawQueue& queue, RasterContext& context, DisplaySurface& target, const TLVertex* vertices,
                    size_t vertexCount, const Triangle3D* triangles, size_t count);

// Fills every queued triangle, on all the queue's threads, and empties the queue.
void finishQueue(DrawQueue& queue);

}  // namespace soft3d
