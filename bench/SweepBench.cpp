// Collision queries in scenes of 100, 1,000 and 4,000 bricks on a plate: the sweep-and-prune index
// against testing the dragged boxes with every block of the scene, for a dragged stack of 1 and of 10.
//
// With Bullet installed, the stack of 10 is also asked of Bullet's broad phases over the same blocks,
// and each answer is checked against the pair test:
// - btDbvtBroadphase: the bricks as proxies in its AABB tree (optimised top-down once); per move, one
//   tree query (aabbTest) per dragged box with that box's query box (outer box at the offset, pulled in
//   by 0.2 on x and z), member by member, stopping at the first member blocked. This is the closest
//   equivalent of our moving-set query, which asks a group box first and then member by member.
// - btAxisSweep3 (without its ray-cast tree): the dragged boxes are proxies of their own; per move, their
//   AABBs are set to the offset (the axes re-sort incrementally and the pair cache follows), then the
//   pairs of dragged and still blocks are read.
// Hits are told apart into resting and blocking by the index's own slab test in all three.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/BenchScenes.h"
#include "scene/World.h"
#ifdef TOLVANE_HAVE_BULLET
#include "bench/BulletBroadphases.h"
#endif

namespace {

// The world the queries run in, with the blocks they move, kept between runs of the same scene size.
struct SweepScene {
  World world;
  int builtFor = -1;
  Block* single = nullptr;
  std::vector<Block*> stack;
  std::vector<Vec3> offsets;
  int generation = 0;  // counts rebuilds, so that copies of the scene know when they are stale
};

// The scene of n bricks, plus a lone brick and a tower of ten standing clear of it, picked up.
void prepare(SweepScene& s, int n) {
  if (s.builtFor == n) return;
  buildTowerScene(s.world, n);
  s.single = putBlockInScene(s.world, benchBlock(Brick, 2, 2, {-220, 4, -220}));
  s.stack.clear();
  for (int level = 0; level < 10; ++level)
    s.stack.push_back(putBlockInScene(s.world, benchBlock(Brick, 2, 2, {-240, 4.0f + 6 * level, -240})));
  // A drag sweeps over the whole plate at the first brick level.
  s.offsets.clear();
  for (int i = 0; i < 256; ++i)
    s.offsets.push_back({4.0f * static_cast<float>((i * 37) % 110), 0, 4.0f * static_cast<float>((i * 53) % 110)});
  s.builtFor = n;
  ++s.generation;
}

// The same question answered by testing every pair: moving box against every block outside the set.
int bruteForce(const SceneList& scene, const std::vector<Block*>& moving, Vec3 offset) {
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

void SweepSingle(SweepScene& s, benchmark::State& state) {
  prepare(s, static_cast<int>(state.range(0)));
  SweepIndex& index = s.world.sweep;
  size_t i = 0;
  for (auto _ : state) {
    sweepResetQuery(index);
    sweepClearContacts(index);
    benchmark::DoNotOptimize(sweepQuery(index, *s.single, s.offsets[i++ % s.offsets.size()]));
  }
  for (const Vec3& offset : s.offsets) {
    sweepResetQuery(index);
    if ((sweepQuery(index, *s.single, offset) > 0) != (bruteForce(s.world.scene, {s.single}, offset) > 0))
      state.SkipWithError("the index and the pair test disagree");
  }
}

void BruteSingle(SweepScene& s, benchmark::State& state) {
  prepare(s, static_cast<int>(state.range(0)));
  const std::vector<Block*> moving{s.single};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bruteForce(s.world.scene, moving, s.offsets[i++ % s.offsets.size()]));
}

void SweepStackOf10(SweepScene& s, benchmark::State& state) {
  prepare(s, static_cast<int>(state.range(0)));
  World& world = s.world;
  collectStack(world, world.movingSet, s.stack.front());
  if (world.movingSet.count() != 10) state.SkipWithError("the tower did not gather as one stack");
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(sweepQueryMovingSet(world, s.offsets[i++ % s.offsets.size()]));
  // Both answers must agree on whether each move is blocked.
  for (const Vec3& offset : s.offsets)
    if ((sweepQueryMovingSet(world, offset) > 0) != (bruteForce(world.scene, world.movingSet.entries, offset) > 0))
      state.SkipWithError("the index and the pair test disagree");
  listClear(world.movingSet);
}

void BruteStackOf10(SweepScene& s, benchmark::State& state) {
  prepare(s, static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bruteForce(s.world.scene, s.stack, s.offsets[i++ % s.offsets.size()]));
}

#ifdef TOLVANE_HAVE_BULLET
// Bullet's copies of the scene, made when a size is first asked for.
struct BulletScenes {
  int builtFor = -1;  // the scene generation copied
  std::unique_ptr<bullet::DbvtScene> dbvt;
  std::unique_ptr<bullet::AxisSweepScene> axisSweep;
};

void prepareBullet(SweepScene& s, BulletScenes& b, int n) {
  prepare(s, n);
  if (b.builtFor == s.generation) return;
  b.dbvt = std::make_unique<bullet::DbvtScene>(s.world.scene, s.stack);
  b.axisSweep = std::make_unique<bullet::AxisSweepScene>(s.world.scene, s.stack);
  b.builtFor = s.generation;
}

template <typename Scene>
void BulletStackOf10(SweepScene& s, Scene& bullet, benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bullet.blocking(s.offsets[i++ % s.offsets.size()]));
  for (const Vec3& offset : s.offsets)
    if ((bullet.blocking(offset) > 0) != (bruteForce(s.world.scene, s.stack, offset) > 0))
      state.SkipWithError("the broad phase and the pair test disagree");
}

void registerBullet(SweepScene& s, BulletScenes& b, int n) {
  benchmark::RegisterBenchmark("DbvtStackOf10", [&s, &b](benchmark::State& state) {
    prepareBullet(s, b, static_cast<int>(state.range(0)));
    BulletStackOf10(s, *b.dbvt, state);
  })->Arg(n);
  benchmark::RegisterBenchmark("AxisSweepStackOf10", [&s, &b](benchmark::State& state) {
    prepareBullet(s, b, static_cast<int>(state.range(0)));
    BulletStackOf10(s, *b.axisSweep, state);
  })->Arg(n);
}
#endif

// The pair-test table, then how our stack query compares with each of Bullet's broad phases.
class BroadphaseReporter : public RatioReporter {
public:
  void Finalize() override {
    RatioReporter::Finalize();
    for (int n : {100, 1000, 4000}) {
      const std::string size = "/" + std::to_string(n);
      auto ours = times.find("SweepStackOf10" + size);
      if (ours == times.end()) continue;
      for (const auto& [name, label] : {std::pair{"DbvtStackOf10", "dbvt"}, {"AxisSweepStackOf10", "axis sweep"}}) {
        auto theirs = times.find(name + size);
        if (theirs == times.end()) continue;
        std::printf("ratio ours/%s: %.3g (stack of 10 among %d bricks: %.0f ns against %.0f ns)\n", label,
                    ours->second / theirs->second, n, ours->second, theirs->second);
      }
    }
  }
};

#ifndef TOLVANE_HAVE_BULLET
struct BulletScenes {};
#endif

void registerAll(SweepScene& s, BulletScenes& b) {
  for (int n : {100, 1000, 4000}) {
    benchmark::RegisterBenchmark("SweepSingle", [&s](benchmark::State& state) { SweepSingle(s, state); })->Arg(n);
    benchmark::RegisterBenchmark("BruteSingle", [&s](benchmark::State& state) { BruteSingle(s, state); })->Arg(n);
    benchmark::RegisterBenchmark("SweepStackOf10", [&s](benchmark::State& state) { SweepStackOf10(s, state); })
        ->Arg(n);
    benchmark::RegisterBenchmark("BruteStackOf10", [&s](benchmark::State& state) { BruteStackOf10(s, state); })
        ->Arg(n);
#ifdef TOLVANE_HAVE_BULLET
    registerBullet(s, b, n);
#else
    (void)b;
#endif
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SweepScene scene;
  BulletScenes bullet;
  registerAll(scene, bullet);
  BroadphaseReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
