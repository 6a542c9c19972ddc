// A fixed crew of worker threads that share the rasterising of one instruction: every member runs the
// same job on its own band of rows, and run() returns only when all bands are done.
#pragma once

#include <memory>

namespace soft3d {

// The most bands a device uses, whatever the machine: beyond this the shared set-up of every triangle
// in every band outweighs the rows it splits.
constexpr int kMaxBands = 16;

class BandWorkers {
 public:
  using Job = void (*)(void* data, int band);

  // Starts bands - 1 threads; the calling thread works band 0 itself.
  explicit BandWorkers(int bands);
  ~BandWorkers();
  BandWorkers(const BandWorkers&) = delete;
  BandWorkers& operator=(const BandWorkers&) = delete;

  int bands() const { return bands_; }
  void run(Job job, void* data);

 private:
  struct Shared;
  int bands_;
  std::unique_ptr<Shared> shared_;
};

// How many bands a device rasterises with: a count set on the device wins, then TOLVANE_RENDER_THREADS,
// else one; never more than the cores or kMaxBands, never fewer than one.
int bandCountFor(int requested);

}  // namespace soft3d
