// Collision queries in scenes of 100, 1,000 and 4,000 bricks on a plate: the sweep-and-prune index
// against testing the dragged boxes with every block of the scene, for a dragged stack of 1 and of 10.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bench/BenchScenes.h"

namespace {

int builtFor = -1;
Block* single = nullptr;
std::vector<Block*> stack;
std::vector<Vec3> offsets;

// The scene of n bricks, plus a lone brick and a tower of ten standing clear of it, picked up.
void prepare(int n) {
  if (builtFor == n) return;
  buildTowerScene(n);
  single = putBlockInScene(benchBlock(Brick, 2, 2, {-220, 4, -220}));
  stack.clear();
  for (int level = 0; level < 10; ++level)
    stack.push_back(putBlockInScene(benchBlock(Brick, 2, 2, {-240, 4.0f + 6 * level, -240})));
  // A drag sweeps over the whole plate at the first brick level.
  offsets.clear();
  for (int i = 0; i < 256; ++i)
    offsets.push_back({4.0f * static_cast<float>((i * 37) % 110), 0, 4.0f * static_cast<float>((i * 53) % 110)});
  builtFor = n;
}

// The same question answered by testing every pair: moving box against every block outside the set.
int bruteForce(const std::vector<Block*>& moving, Vec3 offset) {
  auto r = truncThousandths;
  int blocking = 0;
  for (Block* m : moving) {
    Box q = shiftedBox(outerBox(*m), offset);
    q.min.x += 0.2f, q.max.x -= 0.2f, q.min.z += 0.2f, q.max.z -= 0.2f;
    const Box top = shiftedBox(topSlab(*m), offset), bottom = shiftedBox(bottomSlab(*m), offset);
    for (const auto& node : scene.nodes) {
      const Block* b = node->block.get();
      if (std::find(moving.begin(), moving.end(), b) != moving.end()) continue;
      if (!(r(b->outerMin.x) < r(q.max.x) && r(b->outerMax.x) > r(q.min.x) && r(b->outerMin.y) < r(q.max.y) &&
            r(b->outerMax.y) > r(q.min.y) && r(b->outerMin.z) < r(q.max.z) && r(b->outerMax.z) > r(q.min.z)))
        continue;
      if (!slabsTouch(top, bottomSlab(*b)) && !slabsTouch(topSlab(*b), bottom)) ++blocking;
    }
    if (blocking > 0) return blocking;
  }
  return blocking;
}

void SweepSingle(benchmark::State& state) {
  prepare(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) {
    sweepResetQuery();
    sweepClearContacts();
    benchmark::DoNotOptimize(sweepQuery(*single, offsets[i++ % offsets.size()]));
  }
  for (const Vec3& offset : offsets) {
    sweepResetQuery();
    if ((sweepQuery(*single, offset) > 0) != (bruteForce({single}, offset) > 0))
      state.SkipWithError("the index and the pair test disagree");
  }
}

void BruteSingle(benchmark::State& state) {
  prepare(static_cast<int>(state.range(0)));
  const std::vector<Block*> moving{single};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bruteForce(moving, offsets[i++ % offsets.size()]));
}

void SweepStackOf10(benchmark::State& state) {
  prepare(static_cast<int>(state.range(0)));
  collectStack(MovingSet, stack.front());
  if (MovingSet.count() != 10) state.SkipWithError("the tower did not gather as one stack");
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(sweepQueryMovingSet(offsets[i++ % offsets.size()]));
  // Both answers must agree on whether each move is blocked.
  for (const Vec3& offset : offsets)
    if ((sweepQueryMovingSet(offset) > 0) != (bruteForce(MovingSet.entries, offset) > 0))
      state.SkipWithError("the index and the pair test disagree");
  listClear(MovingSet);
}

void BruteStackOf10(benchmark::State& state) {
  prepare(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bruteForce(stack, offsets[i++ % offsets.size()]));
}

void registerAll() {
  for (int n : {100, 1000, 4000}) {
    benchmark::RegisterBenchmark("SweepSingle", SweepSingle)->Arg(n);
    benchmark::RegisterBenchmark("BruteSingle", BruteSingle)->Arg(n);
    benchmark::RegisterBenchmark("SweepStackOf10", SweepStackOf10)->Arg(n);
    benchmark::RegisterBenchmark("BruteStackOf10", BruteStackOf10)->Arg(n);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  registerAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  clearBenchScene();
  return 0;
}
