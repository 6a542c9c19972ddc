// Frame cost of the scene renderer with 500 bricks on a 40 x 60 plate: a whole redraw (base image rebuilt,
// every block drawn) against a frame of the drag path (one brick moving over the restored static image),
// and the ratio of the two.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/TimeKeepingReporter.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/SceneRenderer.h"
#include "render/Textures.h"
#include "scene/BlockList.h"
#include "scene/SceneList.h"
#include "scene/World.h"

namespace {

constexpr int kBricks = 500;

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

// What the benchmarks draw: a view of its own over the scene below.
struct BenchView {
  RenderDevice device;
  SceneRenderer renderer{device};
  World world;
  Block* draggedBrick = nullptr;

  // One frame as the frame loop draws it: clear, draw, present what changed.
  bool frame(const FrameConditions& c) {
    if (!beginFrame(renderer, c)) return false;
    drawFrame(renderer, world, c);
    return presentFrame(renderer, renderer.frameExtent);
  }
};

// The plate spans x -80..80 and z -120..120; 2 x 2 bricks stand in a fixed shuffle, up to three high.
void buildScene(BenchView& v) {
  putBlockInScene(v.world, benchBlock(BasePlate, 40, 60, 1, {0, 0, 0}, {0.2f, 0.6f, 0.2f, 1}),
                  NewBlockOptions{true, false});
  for (int i = 0; i < kBricks; ++i) {
    const int cell = (i * 211) % 600;  // 211 is prime to 600: no two bricks share a cell and level
    const float x = -76.0f + 8.0f * static_cast<float>(cell % 20);
    const float z = -116.0f + 8.0f * static_cast<float>(cell / 20);
    const float y = 4.0f + 6.0f * static_cast<float>(i / 200);
    const std::array<float, 4> colour{float(i % 2), float(i % 3) / 2, float(i % 5) / 4, 1};
    Block* b = putBlockInScene(v.world, benchBlock(Brick, 2, 2, 1, {x, y, z}, colour));
    const Block* d = v.draggedBrick;
    if (b && (!d || std::hypot(x, z) + y < std::hypot(d->position.x, d->position.z) + d->position.y))
      v.draggedBrick = b;  // the brick nearest the middle of the plate
  }
  v.world.view.lightPosition = {0, 30, 0};
  v.world.view.lightDirection = {0.3f, -0.8f, 0.5f};
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
  setCamera(v.renderer, Vec3{toEye.x * distance, toEye.y * distance, toEye.z * distance}, forward, up, right);
}

// The view started as the shell starts it: device, renderer with the world's materials, scene, lights.
bool startView(BenchView& v, HWindow window, const std::string& dataRoot) {
  if (!startRenderView(v.device, window, "", dataRoot)) return false;
  attachWorld(v.renderer, v.world);
  const std::vector<TextureHandle> handles = textureHandles(v.device);
  if (!InitView(v.renderer, *v.device.direct3D, *v.device.device, v.device.viewport,
                static_cast<int>(handles.size()), handles.data()))
    return false;
  buildScene(v);
  return startSceneView(v.renderer, v.world);
}

void FullRedraw(benchmark::State& state, BenchView* v) {
  for (auto _ : state) {
    v->renderer.fullRedrawPending = 1;
    if (!v->frame(FrameConditions{})) state.SkipWithError("frame failed");
  }
}

void DragFrame(benchmark::State& state, BenchView* v) {
  FrameConditions conditions;
  v->renderer.fullRedrawPending = 1;
  v->frame(conditions);
  conditions.holding = true;
  v->world.selectedBlock = v->draggedBrick;
  listInsert(v->world.movingSet, v->draggedBrick);
  liftMovingSet(v->renderer, v->world);
  v->frame(conditions);
  float step = 4;
  for (auto _ : state) {
    translateBlock(*v->draggedBrick, step, 0, 0);
    step = -step;
    if (!v->frame(conditions)) state.SkipWithError("frame failed");
  }
  const Rect drawn = v->renderer.frameExtent;
  state.counters["drawnPixels"] =
      drawn.empty() ? 0.0 : (double(drawn.right) - drawn.left) * (double(drawn.bottom) - drawn.top);
  listClear(v->world.movingSet);
  v->world.selectedBlock = nullptr;
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
  auto view = std::make_unique<BenchView>();
  if (!startView(*view, window, data.string() + "/")) {
    std::fprintf(stderr, "%s", lastRenderErrorText(view->device).c_str());
    return 1;
  }
  benchmark::RegisterBenchmark("FullRedraw", FullRedraw, view.get())->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("DragFrame", DragFrame, view.get())->Unit(benchmark::kMicrosecond);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  releaseViewObjects(view->renderer);
  shutDownRenderDevice(view->device);
  view.reset();
  destroyWindow(window);
  std::filesystem::remove_all(data);
  return 0;
}
