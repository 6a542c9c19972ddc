// The draw queue: measuring and sorting an execute's triangles into bands, and filling the bands while
// more are sorted and when the drawing must land.
#include "platform/soft3d/DrawQueue.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include <emmintrin.h>

#include "platform/soft3d/BandWorkers.h"

namespace soft3d {

DrawQueue::DrawQueue(std::shared_ptr<BandWorkers> crew) : workers(std::move(crew)) {}

DrawQueue::~DrawQueue() { finishQueue(*this); }

namespace {

// Another device's drawing on a surface lands before this one's is queued after it.
void finishOthers(DrawQueue& queue, DisplaySurface* surface) {
  if (surface && surface->queuedDrawing && surface->queuedDrawing != &queue) DisplaySurface::finishDrawingOn(*surface);
}

// Fills what is published of a band and not yet filled, unless another thread is at it; true when this
// thread had the band.
bool fillBand(DrawQueue& queue, int index) {
  QueueBand& band = queue.band[index];
  if (band.busy.exchange(true, std::memory_order_acquire)) return false;
  const size_t from = band.filled.load(std::memory_order_relaxed), to = band.published.load(std::memory_order_acquire);
  const int top = index << queue.bandShift, bottom = top + (1 << queue.bandShift);
  RasterContext context;
  const QueuedRun* run = nullptr;
  uint32_t current = UINT32_MAX;
  for (size_t i = from; i < to; ++i) {
    const QueuedTriangle& t = band.triangles[i];
    if (t.run != current) {
      current = t.run;
      run = &queue.runs[current];
      context = run->context;
      context.clip.top = std::max(context.clip.top, top);
      context.clip.bottom = std::min(context.clip.bottom, bottom);
    }
    if (run->screen) fillTriangle(context, run->screen[t.v1], run->screen[t.v2], run->screen[t.v3]);
    else drawListedTriangle(context, run->full[t.v1], run->full[t.v2], run->full[t.v3], t.flags);
  }
  band.filled.store(to, std::memory_order_release);
  band.busy.store(false, std::memory_order_release);
  return true;
}

// Fills bands until every published triangle is filled.
void fillAll(DrawQueue& queue) {
  for (;;) {
    bool pending = false;
    for (int b = 0; b < queue.bands; ++b) {
      QueueBand& band = queue.band[b];
      if (band.filled.load(std::memory_order_acquire) == band.published.load(std::memory_order_acquire)) continue;
      pending = true;
      fillBand(queue, b);
    }
    if (!pending) return;
    _mm_pause();
  }
}

// A helping thread: fills bands as they are published until the queue closes, then helps finish. The
// next execute usually follows within microseconds; when none comes for a while (the caller is busy
// elsewhere, or has stopped drawing without looking at the picture) it waits less eagerly.
void help(void* data, int) {
  DrawQueue& queue = *static_cast<DrawQueue*>(data);
  int idle = 0;
  while (!queue.closing.load(std::memory_order_acquire)) {
    bool any = false;
    for (int b = 0; b < queue.bands; ++b) {
      QueueBand& band = queue.band[b];
      if (band.filled.load(std::memory_order_relaxed) != band.published.load(std::memory_order_acquire))
        any |= fillBand(queue, b);
    }
    if (any) {
      idle = 0;
    } else if (++idle < 2000) {
      for (int i = 0; i < 16; ++i) _mm_pause();
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(idle < 4000 ? 20 : 200));
    }
  }
  fillAll(queue);
}

constexpr size_t kMostInABand = decltype(QueueBand::triangles)::kCapacity;
constexpr size_t kShareFrom = 512;

// Whether the stores can take one more run of `used` vertices and `triangles` triangles.
bool roomFor(const DrawQueue& queue, size_t used, bool full, size_t triangles) {
  if (!queue.runs.canTake(1) || !(full ? queue.vertices.canTake(used) : queue.screenVertices.canTake(used))) return false;
  for (int b = 0; b < queue.bands; ++b)
    if (queue.band[b].triangles.size() + triangles > kMostInABand) return false;
  return true;
}

}  // namespace

void queueTriangles(DrawQueue& queue, RasterContext& context, DisplaySurface& target, const TLVertex* vertices,
                    size_t vertexCount, const Triangle3D* triangles, size_t count) {
  DisplaySurface* depth = context.depth ? target.attachedDepth : nullptr;
  finishOthers(queue, &target);
  finishOthers(queue, depth);
  if (queue.measured.size() < count) queue.measured.resize(count);
  const size_t drawn = measureTriangles(context, vertices, vertexCount, triangles, count, queue.measured.data());
  if (!context.colour || drawn == 0) return;
  bool full = context.texture != nullptr;
  uint32_t lowest = UINT32_MAX, highest = 0;
  for (size_t i = 0; i < drawn; ++i) {
    const MeasuredTriangle& m = queue.measured[i];
    const Triangle3D& t = triangles[m.index];
    full |= m.full;
    lowest = std::min<uint32_t>({lowest, t.v1, t.v2, t.v3});
    highest = std::max<uint32_t>({highest, t.v1, t.v2, t.v3});
  }
  const size_t used = highest - lowest + 1;
  // Full stores are emptied by filling what they hold.
  if (queue.colour && !roomFor(queue, used, full, drawn)) finishQueue(queue);
  if (drawn > kMostInABand) {
    // More than a band could ever hold: drawn here and now, after what is queued.
    finishQueue(queue);
    for (size_t i = 0; i < drawn; ++i) {
      const Triangle3D& t = triangles[queue.measured[i].index];
      drawListedTriangle(context, vertices[t.v1], vertices[t.v2], vertices[t.v3], t.flags);
    }
    return;
  }
  if (!queue.colour) {
    // A new frame: at least four bands a thread, so that a thread with less to do takes another band,
    // of a power of two rows, so that sorting a triangle into its bands takes shifts, not divisions.
    const int threads = queue.workers ? queue.workers->bands() : 1;
    const int height = std::max(1, target.height());
    queue.bandShift = 0;
    while ((2 << queue.bandShift) * threads * 4 <= height || ((height - 1) >> queue.bandShift) >= kMaxQueueBands)
      ++queue.bandShift;
    queue.bands = ((height - 1) >> queue.bandShift) + 1;
    queue.colour = &target;
    target.queuedDrawing = &queue;
  }
  if (depth) {
    queue.depth = depth;
    depth->queuedDrawing = &queue;
  }

  // Only the vertices the queued triangles use are kept, counted from the lowest.
  const uint32_t run = static_cast<uint32_t>(queue.runs.size());
  QueuedRun& queued = *queue.runs.append(1);
  queued.context = context;
  if (full) {
    TLVertex* kept = queue.vertices.append(used);
    std::copy(vertices + lowest, vertices + highest + 1, kept);
    queued.full = kept;
    queued.screen = nullptr;
  } else {
    ScreenVertex* kept = queue.screenVertices.append(used);
    toScreenVertices(context, vertices + lowest, used, kept);
    queued.screen = kept;
    queued.full = nullptr;
  }
  const int lastBand = queue.bands - 1;
  int touchedFirst = lastBand, touchedLast = 0;
  for (size_t i = 0; i < drawn; ++i) {
    const MeasuredTriangle& m = queue.measured[i];
    const Triangle3D& t = triangles[m.index];
    const QueuedTriangle q{run, static_cast<uint16_t>(t.v1 - lowest), static_cast<uint16_t>(t.v2 - lowest),
                           static_cast<uint16_t>(t.v3 - lowest), t.flags};
    const int first = std::min(m.top >> queue.bandShift, lastBand), last = std::min((m.bottom - 1) >> queue.bandShift, lastBand);
    touchedFirst = std::min(touchedFirst, first);
    touchedLast = std::max(touchedLast, last);
    for (int b = first; b <= last; ++b) *queue.band[b].triangles.append(1) = q;
  }
  for (int b = touchedFirst; b <= touchedLast; ++b)
    queue.band[b].published.store(queue.band[b].triangles.size(), std::memory_order_release);
  // The other threads start filling once there is enough to share: waking them costs more than a few
  // triangles take (a dragged block over a kept picture is drawn by this thread alone).
  queue.queuedTriangles += drawn;
  if (!queue.streaming && queue.queuedTriangles >= kShareFrom && queue.workers && queue.workers->bands() > 1) {
    queue.streaming = true;
    queue.closing.store(false, std::memory_order_relaxed);
    queue.workers->start(help, &queue, queue.workers->bands() - 1);
  }
}

void finishQueue(DrawQueue& queue) {
  if (queue.streaming) queue.closing.store(true, std::memory_order_release);
  fillAll(queue);
  if (queue.streaming) queue.workers->finish();
  queue.streaming = false;
  queue.queuedTriangles = 0;
  queue.runs.clear();
  queue.vertices.clear();
  queue.screenVertices.clear();
  for (QueueBand& band : queue.band) {
    band.triangles.clear();
    band.published.store(0, std::memory_order_relaxed);
    band.filled.store(0, std::memory_order_relaxed);
  }
  if (queue.colour) queue.colour->queuedDrawing = nullptr;
  if (queue.depth) queue.depth->queuedDrawing = nullptr;
  queue.colour = queue.depth = nullptr;
}

}  // namespace soft3d

void DisplaySurface::finishDrawingOn(const DisplaySurface& surface) {
  if (surface.queuedDrawing) soft3d::finishQueue(*surface.queuedDrawing);
}

DisplaySurface::~DisplaySurface() { finishDrawingOn(*this); }
