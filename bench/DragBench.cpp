// A drag step over scenes of 100, 1,000 and 4,000 bricks, against one collision query of the same set:
// how many queries' worth of work the climb, the slide and the sink add to each pointer movement.
#include <cstdio>
#include <map>
#include <string>

#include "bench/TimeKeepingReporter.h"
#include "bench/BenchScenes.h"
#include "scene/Movement.h"
#include "scene/World.h"

namespace {

// The world the drags run in, kept between runs of the same scene size.
struct DragScene {
  World world;
  int builtFor = -1;
  Block* dragged = nullptr;
};

// The tower scene with a lone brick picked up at the plate's corner, in whole-brick or step mode.
void prepare(DragScene& d, int n, bool wholeBrick) {
  World& world = d.world;
  if (d.builtFor != n) {
    listClear(world.movingSet);
    buildTowerScene(world, n);
    d.dragged = putBlockInScene(world, benchBlock(Brick, 2, 2, {-198, 4, -198}));
    d.builtFor = n;
  }
  collectStack(world, world.movingSet, d.dragged);
  world.selectedBlock = d.dragged;
  world.movement = MovementState{};
  world.movement.wholeBrickDrop = wholeBrick;
  world.movement.leftDrag = true;
  world.movement.cameraEye = {0, 100, 0};
  world.movement.cameraElevation = 90;
}

// Back and forth across the towers: each pass climbs onto them and drops off them again.
Vec3 pathStep(size_t i) { return (i / 50) % 2 == 0 ? Vec3{1.5f, 0, 1.5f} : Vec3{-1.5f, 0, -1.5f}; }

void finish(DragScene& d) {
  sweepRelinkMovingSet(d.world);
  d.builtFor = -1;  // the dragged brick has moved: build afresh next time
}

void QueryStep(DragScene& d, benchmark::State& state) {
  prepare(d, static_cast<int>(state.range(0)), true);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(sweepQueryMovingSet(d.world, pathStep(i++)));
  listClear(d.world.movingSet);
}

void DragWholeBricks(DragScene& d, benchmark::State& state) {
  prepare(d, static_cast<int>(state.range(0)), true);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(moveMovingSet(d.world, pathStep(i++)));
  finish(d);
}

void DragFallSteps(DragScene& d, benchmark::State& state) {
  prepare(d, static_cast<int>(state.range(0)), false);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(moveMovingSet(d.world, pathStep(i++)));
  finish(d);
}

// Prints each drag step's time as a number of single queries of the same scene.
class QueriesPerStep : public TimeKeepingReporter {
public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %12s\n", "drag step", "queries");
    for (const auto& [name, time] : times) {
      if (name.rfind("Drag", 0) != 0) continue;
      const std::string query = "QueryStep" + name.substr(name.find('/'));
      auto base = times.find(query);
      if (base != times.end() && base->second > 0) std::printf("%-28s %12.2f\n", name.c_str(), time / base->second);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  DragScene d;
  for (int n : {100, 1000, 4000}) {
    benchmark::RegisterBenchmark("QueryStep", [&d](benchmark::State& s) { QueryStep(d, s); })->Arg(n);
    benchmark::RegisterBenchmark("DragWholeBricks", [&d](benchmark::State& s) { DragWholeBricks(d, s); })->Arg(n);
    benchmark::RegisterBenchmark("DragFallSteps", [&d](benchmark::State& s) { DragFallSteps(d, s); })->Arg(n);
  }
  QueriesPerStep reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
