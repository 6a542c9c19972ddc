// Cost of one drag step (the pointer's movement carried onto the drag plane and the held stack moved with
// collision response) for a stack of 1 and of 10 bricks, in scenes of 1,000 and 4,000 bricks; reported
// as microseconds per step and as the share of a 60 Hz frame (16.7 ms) it takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchScenes.h"
#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Editor.h"
#include "edit/Picking.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneView.h"
#include "scene/World.h"
#include "sound/Sounds.h"

namespace {

constexpr double kFrameMicroseconds = 1e6 / 60;

// What a drag step works on: a world, the editor over it and the view it is seen through. The view is never
// drawn, so the pointer is never pulled back onto the block.
struct DragSession {
  RenderDevice device;
  SceneRenderer renderer{device};
  SoundState sound;
  World world;
  Editor ed{world, renderer, device, sound};
};

// The scene, the camera looking at the plate from above at an angle, and a stack of 2 x 2 bricks held
// with the left button between the towers.
void holdStack(DragSession& session, int sceneBricks, int stackHeight) {
  World& world = session.world;
  Editor& ed = session.ed;
  buildTowerScene(world, sceneBricks);
  Block* bottom = nullptr;
  for (int i = 0; i < stackHeight; ++i) {
    Block* b = putBlockInScene(world, benchBlock(Brick, 2, 2, {-2, 4.0f + 6.0f * static_cast<float>(i), -2}));
    if (!bottom) bottom = b;
  }
  session.device.clientWidth = 540;  // the 3D view's size
  session.device.clientHeight = 380;
  world.view.azimuth = 220;
  world.view.polar = 40;
  world.view.distance = 160;
  world.view.target = {0, 0, 0};
  updateCamera(ed);
  applyCamera(ed);
  ed.state.holding = true;
  ed.state.buttonDown = true;
  world.movement.leftDrag = true;
  ed.state.pickedBlock = bottom;
  world.selectedBlock = bottom;
  collectStack(world, world.movingSet, bottom);
  ed.state.pointerX = 270;
  ed.state.pointerY = 190;
}

void BM_DragStep(benchmark::State& state) {
  auto session = std::make_unique<DragSession>();
  holdStack(*session, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  EditState& e = session->ed.state;
  int step = 0;
  int64_t moved = 0;
  Block* bottom = e.pickedBlock;
  for (auto _ : state) {
    const Vec3 before = bottom->position;
    // Ten pixels at a time, forty steps to one side and forty back: the stack climbs over the towers
    // and sinks between them as it goes.
    const int dx = (step++ / 40) % 2 == 0 ? 10 : -10;
    e.pointerX += dx;
    e.deltaX = dx;
    e.deltaY = 0;
    dragStep(session->ed);
    moved += bottom->position.x != before.x || bottom->position.y != before.y || bottom->position.z != before.z;
  }
  // Steps that moved the stack at all (a blocked stack costs less than one that climbs).
  state.counters["moved"] = static_cast<double>(moved) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  state.SetLabel(std::to_string(state.range(0)) + " bricks, stack of " + std::to_string(state.range(1)));
}

BENCHMARK(BM_DragStep)->Args({1000, 1})->Args({1000, 10})->Args({4000, 1})->Args({4000, 10})
    ->Unit(benchmark::kMicrosecond);

// After the usual table, each case's time per step and its share of a frame.
class FrameShareReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        // The adjusted time is in the benchmark's unit, microseconds here.
        rows[run.benchmark_name()] = {run.report_label, run.GetAdjustedRealTime()};
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-36s %16s %16s\n", "drag step", "us per step", "share of frame");
    for (const auto& [name, row] : rows)
      std::printf("%-36s %16.2f %15.2f%%\n", row.first.c_str(), row.second, 100 * row.second / kFrameMicroseconds);
  }

private:
  std::map<std::string, std::pair<std::string, double>> rows;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  FrameShareReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
