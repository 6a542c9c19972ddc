// Frame cost of the scene renderer with 500 bricks on a 40 x 60 plate: a whole redraw (base image rebuilt,
// every block drawn) against a frame of the drag path (one brick moving over the restored static image),
// and the ratio of the two.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/TimeKeepingReporter.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/SweepIndex.h"

namespace {

constexpr int kBricks = 500;
FrameConditions conditions;
Block* draggedBrick = nullptr;

BlockDescription benchBlock(int32_t kind, int32_t studsX, int32_t studsZ, int32_t height, Vec3 position,
                            std::array<float, 4> colour) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = height;
  d.position = position;
  d.colour = colour;
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  return d;
}

// The plate spans x -80..80 and z -120..120; 2 x 2 bricks stand in a fixed shuffle, up to three high.
bool buildScene() {
  putBlockInScene(benchBlock(BasePlate, 40, 60, 1, {0, 0, 0}, {0.2f, 0.6f, 0.2f, 1}), NewBlockOptions{true, false});
  for (int i = 0; i < kBricks; ++i) {
    const int cell = (i * 211) % 600;  // 211 is prime to 600: no two bricks share a cell and level
    const float x = -76.0f + 8.0f * static_cast<float>(cell % 20);
    const float z = -116.0f + 8.0f * static_cast<float>(cell / 20);
    const float y = 4.0f + 6.0f * static_cast<float>(i / 200);
    const std::array<float, 4> colour{float(i % 2), float(i % 3) / 2, float(i % 5) / 4, 1};
    Block* b = putBlockInScene(benchBlock(Brick, 2, 2, 1, {x, y, z}, colour));
    if (b && (!draggedBrick || std::hypot(x, z) + y < std::hypot(draggedBrick->position.x, draggedBrick->position.z) +
                                                          draggedBrick->position.y))
      draggedBrick = b;  // the brick nearest the middle of the plate
  }
  sceneView.lightPosition = {0, 30, 0};
  sceneView.lightDirection = {0.3f, -0.8f, 0.5f};
  // The start view: from above at an angle, the whole plate in sight.
  const double a = 220 * M_PI / 180, p = 40 * M_PI / 180;
  const Vec3 toEye{float(std::sin(p) * std::cos(a)), float(std::cos(p)), float(std::sin(p) * std::sin(a))};
  const Vec3 forward{-toEye.x, -toEye.y, -toEye.z};
  double ux = -std::sin(p) * std::cos(a), uy = 1 / std::cos(p) - std::cos(p), uz = -std::sin(p) * std::sin(a);
  const double n = std::sqrt(ux * ux + uy * uy + uz * uz);
  const Vec3 up{float(ux / n), float(uy / n), float(uz / n)};
  const Vec3 right{up.y * forward.z - up.z * forward.y, up.z * forward.x - up.x * forward.z,
                   up.x * forward.y - up.y * forward.x};
  const float distance = 300;
  setCamera(Vec3{toEye.x * distance, toEye.y * distance, toEye.z * distance}, forward, up, right);
  return true;
}

void FullRedraw(benchmark::State& state) {
  conditions = FrameConditions{};
  for (auto _ : state) {
    sceneRenderer.fullRedrawPending = 1;
    if (!frameStep()) state.SkipWithError("frame failed");
  }
}

void DragFrame(benchmark::State& state) {
  conditions = FrameConditions{};
  sceneRenderer.fullRedrawPending = 1;
  frameStep();
  conditions.holding = true;
  selectedBlock = draggedBrick;
  listInsert(MovingSet, draggedBrick);
  liftMovingSet();
  frameStep();
  float step = 4;
  for (auto _ : state) {
    translateBlock(*draggedBrick, step, 0, 0);
    step = -step;
    if (!frameStep()) state.SkipWithError("frame failed");
  }
  const Rect drawn = sceneRenderer.frameExtent;
  state.counters["drawnPixels"] =
      drawn.empty() ? 0.0 : (double(drawn.right) - drawn.left) * (double(drawn.bottom) - drawn.top);
  listClear(MovingSet);
  conditions = FrameConditions{};
}

class RatioReporter : public TimeKeepingReporter {
public:
  RatioReporter() : TimeKeepingReporter(Clock::Real) {}
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto full = times.find("FullRedraw"), drag = times.find("DragFrame");
    if (full != times.end() && drag != times.end() && drag->second > 0)
      std::printf("\nfull redraw / drag frame: %.1f (%d bricks on a 40 x 60 plate)\n", full->second / drag->second,
                  kBricks);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  platformStart(Backend::Headless);
  const std::filesystem::path data = std::filesystem::temp_directory_path() / "tolvane-scene-bench";
  std::filesystem::create_directories(data / "scene");
  {
    std::ofstream sky(data / "scene" / "sky.ppm", std::ios::binary);
    sky << "P6\n2 2\n255\n";
    for (int i = 0; i < 4; ++i) sky << char(80) << char(160) << char(240);
  }
  WindowClass c;
  c.name = "SceneBench";
  c.proc = [](HWindow w, const Message& m) { return defWindowProc(w, m); };
  registerClass(c);
  HWindow window = createWindow("SceneBench", "", false, 0, 0, 540, 380, nullptr);
  sceneRenderer.hooks.loadStartContent = buildScene;
  sceneRenderer.hooks.conditions = [] { return conditions; };
  ViewHooks hooks;
  hooks.initView = InitView;
  hooks.releaseViewObjects = releaseViewObjects;
  setViewHooks(hooks);
  if (!startRenderView(window, "", data.string() + "/")) {
    std::fprintf(stderr, "%s", lastRenderErrorText().c_str());
    return 1;
  }
  benchmark::RegisterBenchmark("FullRedraw", FullRedraw)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("DragFrame", DragFrame)->Unit(benchmark::kMicrosecond);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  shutDownRenderDevice();
  sceneClear();
  sweepClearIndex();
  resetMaterialTable();
  std::filesystem::remove_all(data);
  return 0;
}
