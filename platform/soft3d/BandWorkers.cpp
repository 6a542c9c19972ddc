// The band workers: a persistent crew started with the device's first parallel draw. Between
// instructions a worker spins for a short while, because the next instruction of the frame usually
// follows within microseconds and waking a sleeping thread costs more than most instructions take;
// after that it sleeps until the next job.
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

struct BandWorkers::Shared {
  std::atomic<uint64_t> generation{0};
  std::atomic<int> remaining{0};
  std::atomic<bool> stopping{false};
  std::atomic<int> sleepers{0};
  Job job = nullptr;
  void* data = nullptr;
  std::mutex lock;
  std::condition_variable wake;
  std::vector<std::thread> threads;

  // Waits for a generation after `seen`; false when the crew is stopping.
  bool awaitJob(uint64_t seen) {
    auto spinStart = std::chrono::steady_clock::now();
    for (int spins = 0;; ++spins) {
      if (generation.load(std::memory_order_acquire) != seen) return !stopping.load(std::memory_order_acquire);
      TOLVANE_SPIN_PAUSE();
      if ((spins & 63) != 63) continue;
      if (std::chrono::steady_clock::now() - spinStart < kSpinBeforeSleep) continue;
      std::unique_lock<std::mutex> held(lock);
      sleepers.fetch_add(1, std::memory_order_seq_cst);
      wake.wait(held, [&] { return generation.load(std::memory_order_acquire) != seen; });
      sleepers.fetch_sub(1, std::memory_order_relaxed);
      spinStart = std::chrono::steady_clock::now();
    }
  }

  void work(int band) {
    uint64_t seen = 0;
    while (awaitJob(seen)) {
      seen = generation.load(std::memory_order_acquire);
      job(data, band);
      remaining.fetch_sub(1, std::memory_order_acq_rel);
    }
  }
};

BandWorkers::BandWorkers(int bands) : bands_(bands < 1 ? 1 : bands), shared_(std::make_unique<Shared>()) {
  for (int band = 1; band < bands_; ++band) shared_->threads.emplace_back([this, band] { shared_->work(band); });
}

BandWorkers::~BandWorkers() {
  {
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->stopping.store(true, std::memory_order_release);
    shared_->generation.fetch_add(1, std::memory_order_acq_rel);
  }
  shared_->wake.notify_all();
  for (std::thread& t : shared_->threads) t.join();
}

void BandWorkers::run(Job job, void* data) {
  Shared& s = *shared_;
  if (bands_ == 1) {
    job(data, 0);
    return;
  }
  s.job = job;
  s.data = data;
  s.remaining.store(bands_ - 1, std::memory_order_relaxed);
  {
    // The generation changes under the lock so that a worker about to sleep cannot miss it.
    std::lock_guard<std::mutex> held(s.lock);
    s.generation.fetch_add(1, std::memory_order_acq_rel);
  }
  if (s.sleepers.load(std::memory_order_seq_cst) > 0) s.wake.notify_all();
  job(data, 0);
  for (int spins = 0; s.remaining.load(std::memory_order_acquire) != 0; ++spins) {
    // On a busy machine a worker may have lost its core; give it ours rather than spin against it.
    if (spins < 4096) TOLVANE_SPIN_PAUSE();
    else std::this_thread::yield();
  }
}

int bandCountFor(int requested) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  int count = requested;
  if (count <= 0) {
    count = cores;
    if (const char* text = std::getenv("TOLVANE_RENDER_THREADS")) {
      char* end = nullptr;
      const long value = std::strtol(text, &end, 10);
      if (end != text && *end == '\0' && value > 0) count = static_cast<int>(std::min<long>(value, cores));
    }
  }
  return std::clamp(count, 1, std::min(cores, kMaxBands));
}

}  // namespace soft3d
