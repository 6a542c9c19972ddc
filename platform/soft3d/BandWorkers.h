// A fixed crew of worker threads that share a job split into bands of rows: the members take bands
// until none is left, and run() returns only when all bands are done.
#pragma once

#include <memory>

namespace soft3d {

// The most threads a device rasterises with, whatever the machine, and the most it chooses by itself.
constexpr int kMaxBands = 16;
constexpr int kDefaultBands = 4;

class BandWorkers {
 public:
  using Job = void (*)(void* data, int band);

  // Starts bands - 1 threads; the calling thread works too.
  explicit BandWorkers(int bands);
  ~BandWorkers();
  BandWorkers(const BandWorkers&) = delete;
  BandWorkers& operator=(const BandWorkers&) = delete;

  // The threads, the caller's included.
  int bands() const { return bands_; }
  // Runs job(data, band) once for every band 0 .. jobBands - 1.
  void run(Job job, void* data, int jobBands);
  // The same in two steps: start() hands the bands to the crew and returns at once, finish() takes any
  // band nobody has started yet and returns when all are done. One job at a time; every start() needs
  // its finish() before the next job.
  void start(Job job, void* data, int jobBands);
  void finish();

 private:
  struct Shared;
  int bands_;
  int started_ = 0;  // bands of the job started and not yet finished
  std::unique_ptr<Shared> shared_;
};

// How many threads a device rasterises with: a count set on the device wins, then TOLVANE_RENDER_THREADS,
// else every core up to kDefaultBands; never more than the cores or kMaxBands, never fewer than one.
int bandCountFor(int requested);

}  // namespace soft3d
