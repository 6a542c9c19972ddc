// The band workers: a persistent crew started with the device's first parallel draw. Between jobs a
// worker spins for a short while, because the next execute of a frame usually follows within
// microseconds and waking a sleeping thread costs more than most executes take; then it sleeps.
#include "platform/soft3d/BandWorkers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TOLVANE_SPIN_PAUSE() _mm_pause()
#else
#define TOLVANE_SPIN_PAUSE() std::this_thread::yield()
#endif

namespace soft3d {

namespace {
constexpr auto kSpinBeforeSleep = std::chrono::microseconds(300);
}

// Bands are not tied to threads: whoever is running claims the next band of the current job, so a
// worker that has lost its core to another program never holds up a frame; the caller then draws the
// bands itself. A claim names the job's number, so a late worker cannot take a band of the next job.
struct BandWorkers::Shared {
  // Job number << 32 | the job's bands << 16 | the next band to claim: one word, so that a claim sees
  // the band count of the very job it claims from.
  std::atomic<uint64_t> ticket{0};
  std::atomic<int> done{0};
  std::atomic<bool> stopping{false};
  std::atomic<int> sleepers{0};
  uint32_t jobNumber = 0;
  Job job = nullptr;
  void* data = nullptr;
  std::mutex lock;
  std::condition_variable wake;
  std::vector<std::thread> threads;

  // Claims a band of job `number`; -1 when that job has none left (or is over).
  int claim(uint32_t number) {
    uint64_t t = ticket.load(std::memory_order_acquire);
    for (;;) {
      if ((t >> 32) != number || (t & 0xFFFF) >= ((t >> 16) & 0xFFFF)) return -1;
      if (ticket.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel, std::memory_order_acquire))
        return static_cast<int>(t & 0xFFFF);
    }
  }

  void drawClaimed(uint32_t number) {
    for (int band; (band = claim(number)) >= 0;) {
      job(data, band);
      done.fetch_add(1, std::memory_order_acq_rel);
    }
  }

  uint32_t currentNumber() const { return static_cast<uint32_t>(ticket.load(std::memory_order_acquire) >> 32); }

  // Waits for a job after `seen`; false when the crew is stopping.
  bool awaitJob(uint32_t seen) {
    auto spinStart = std::chrono::steady_clock::now();
    for (int spins = 0;; ++spins) {
      if (currentNumber() != seen) return !stopping.load(std::memory_order_acquire);
      TOLVANE_SPIN_PAUSE();
      if ((spins & 63) != 63) continue;
      if (std::chrono::steady_clock::now() - spinStart < kSpinBeforeSleep) continue;
      std::unique_lock<std::mutex> held(lock);
      sleepers.fetch_add(1, std::memory_order_seq_cst);
      wake.wait(held, [&] { return currentNumber() != seen; });
      sleepers.fetch_sub(1, std::memory_order_relaxed);
      spinStart = std::chrono::steady_clock::now();
    }
  }

  void work() {
    uint32_t seen = 0;
    while (awaitJob(seen)) {
      seen = currentNumber();
      drawClaimed(seen);
    }
  }
};

BandWorkers::BandWorkers(int bands) : bands_(bands < 1 ? 1 : bands), shared_(std::make_unique<Shared>()) {
  for (int band = 1; band < bands_; ++band) shared_->threads.emplace_back([this] { shared_->work(); });
}

BandWorkers::~BandWorkers() {
  finish();
  {
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->stopping.store(true, std::memory_order_release);
    shared_->ticket.store(static_cast<uint64_t>(++shared_->jobNumber) << 32, std::memory_order_release);
  }
  shared_->wake.notify_all();
  for (std::thread& t : shared_->threads) t.join();
}

void BandWorkers::run(Job job, void* data, int jobBands) {
  if (jobBands <= 0) return;
  if (bands_ == 1 || jobBands == 1 || jobBands > 0xFFFF) {
    for (int band = 0; band < jobBands; ++band) job(data, band);
    return;
  }
  start(job, data, jobBands);
  finish();
}

void BandWorkers::start(Job job, void* data, int jobBands) {
  Shared& s = *shared_;
  finish();
  jobBands = std::clamp(jobBands, 0, 0xFFFF);
  if (jobBands == 0) return;
  // The previous job is wholly done, so nobody reads job and data while they change.
  s.job = job;
  s.data = data;
  s.done.store(0, std::memory_order_relaxed);
  const uint32_t number = ++s.jobNumber;
  {
    // The job number changes under the lock so that a worker about to sleep cannot miss it.
    std::lock_guard<std::mutex> held(s.lock);
    s.ticket.store(static_cast<uint64_t>(number) << 32 | static_cast<uint64_t>(jobBands) << 16, std::memory_order_release);
  }
  started_ = jobBands;
  if (s.sleepers.load(std::memory_order_seq_cst) > 0) s.wake.notify_all();
}

void BandWorkers::finish() {
  if (started_ == 0) return;
  Shared& s = *shared_;
  s.drawClaimed(s.jobNumber);
  for (int spins = 0; s.done.load(std::memory_order_acquire) != started_; ++spins) {
    // A worker is finishing a band it claimed; on a busy machine it may have lost its core, so after a
    // while give ours away rather than spin against it.
    if (spins < 4096) TOLVANE_SPIN_PAUSE();
    else std::this_thread::yield();
  }
  started_ = 0;
}

int bandCountFor(int requested) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  int count = requested;
  if (count <= 0) {
    // Every core up to kDefaultBands unless asked: one thread measures and sorts every triangle, and
    // beyond a few helpers it is the one that sets the pace.
    count = std::min(cores, kDefaultBands);
    if (const char* text = std::getenv("TOLVANE_RENDER_THREADS")) {
      char* end = nullptr;
      const long value = std::strtol(text, &end, 10);
      if (end != text && *end == '\0' && value > 0) count = static_cast<int>(std::min<long>(value, cores));
    }
  }
  return std::clamp(count, 1, std::min(cores, kMaxBands));
}

}  // namespace soft3d
