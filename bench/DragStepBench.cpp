// Cost of one drag step (the pointer's movement carried onto the drag plane and the held stack moved with
// collision response) for a stack of 1 and of 10 bricks, in scenes of 1,000 and 4,000 bricks; reported
// as microseconds per step and as the share of a 60 Hz frame (16.7 ms) it takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "BenchScenes.h"
#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "render/RenderDevice.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneView.h"

namespace {

constexpr double kFrameMicroseconds = 1e6 / 60;

// The scene, the camera looking at the plate from above at an angle, and a stack of 2 x 2 bricks held
// with the left button between the towers.
void holdStack(int sceneBricks, int stackHeight) {
  buildTowerScene(sceneBricks);
  Block* bottom = nullptr;
  for (int i = 0; i < stackHeight; ++i) {
    Block* b = putBlockInScene(benchBlock(Brick, 2, 2, {-2, 4.0f + 6.0f * static_cast<float>(i), -2}));
    if (!bottom) bottom = b;
  }
  renderDevice.clientWidth = 540;  // the 3D view's size
  renderDevice.clientHeight = 380;
  sceneView.azimuth = 220;
  sceneView.polar = 40;
  sceneView.distance = 160;
  sceneView.target = {0, 0, 0};
  editState = EditState{};
  movement = MovementState{};
  updateCamera();
  applyCamera();
  editState.holding = true;
  editState.buttonDown = true;
  movement.leftDrag = true;
  editState.pickedBlock = bottom;
  selectedBlock = bottom;
  collectStack(MovingSet, bottom);
  editState.pointerX = 270;
  editState.pointerY = 190;
}

void BM_DragStep(benchmark::State& state) {
  holdStack(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  int step = 0;
  int64_t moved = 0;
  Block* bottom = editState.pickedBlock;
  for (auto _ : state) {
    const Vec3 before = bottom->position;
    // Ten pixels at a time, forty steps to one side and forty back: the stack climbs over the towers
    // and sinks between them as it goes.
    const int dx = (step++ / 40) % 2 == 0 ? 10 : -10;
    editState.pointerX += dx;
    editState.deltaX = dx;
    editState.deltaY = 0;
    dragStep();
    moved += bottom->position.x != before.x || bottom->position.y != before.y || bottom->position.z != before.z;
  }
  // Steps that moved the stack at all (a blocked stack costs less than one that climbs).
  state.counters["moved"] = static_cast<double>(moved) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  state.SetLabel(std::to_string(state.range(0)) + " bricks, stack of " + std::to_string(state.range(1)));
  listClear(MovingSet);
  clearBenchScene();
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
