// Reading a 10,000-block scene file, and reading it and building the scene from it (also at 1,000 and
// 100,000 blocks, to show how the build grows); ends with how many reads a build costs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/BenchScenes.h"
#include "bench/TimeKeepingReporter.h"
#include "files/SceneFile.h"
#include "scene/World.h"

namespace {

// The scene files the benchmarks read, written once per size and removed at the end.
class SceneFiles {
public:
  SceneFiles() = default;
  SceneFiles(const SceneFiles&) = delete;
  SceneFiles& operator=(const SceneFiles&) = delete;
  ~SceneFiles() {
    std::error_code error;
    for (const auto& [blocks, path] : paths) std::filesystem::remove(path, error);
  }

  // n - 1 bricks in towers of four over a 100 x 100 plate, written by the scene writer from a world of
  // their own.
  const std::string& path(int blocks) {
    auto known = paths.find(blocks);
    if (known != paths.end()) return known->second;
    World world;
    buildTowerScene(world, blocks - 1);
    const std::string file =
        (std::filesystem::temp_directory_path() / ("tolvane-bench-" + std::to_string(blocks) + ".lml")).string();
    if (!WriteSceneFile(SceneFileState{}, world, file)) std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return paths[blocks] = file;
  }

private:
  std::map<int, std::string> paths;
};

void ReadOnly(SceneFiles& files, benchmark::State& state) {
  const std::string& path = files.path(static_cast<int>(state.range(0)));
  World world;
  SceneFileState file;
  for (auto _ : state) {
    if (!ReadSceneFile(file, world, path)) state.SkipWithError("the scene file could not be read");
    benchmark::DoNotOptimize(file.loadedDescriptions.data());
  }
  state.counters["blocks"] = static_cast<double>(file.loadedDescriptions.size());
}

void ReadAndBuild(SceneFiles& files, benchmark::State& state) {
  const std::string& path = files.path(static_cast<int>(state.range(0)));
  World world;
  SceneFileState file;
  for (auto _ : state) {
    state.PauseTiming();  // emptying the previous scene is no part of reading and building this one
    clearBenchScene(world);
    state.ResumeTiming();
    if (!ReadSceneFile(file, world, path)) state.SkipWithError("the scene file could not be read");
    BuildLoadedScene(file, world);
  }
  state.counters["blocks"] = static_cast<double>(world.scene.count());
}

// After the run: the build of 10,000 blocks against the read of their file.
class BuildRatioReporter : public TimeKeepingReporter {
public:
  BuildRatioReporter() : TimeKeepingReporter(Clock::Cpu) {}
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto read = times.find("ReadOnly/10000"), build = times.find("ReadAndBuild/10000");
    if (read != times.end() && build != times.end() && read->second > 0)
      std::printf("ratio build/read (10,000 blocks): %.1f\n", (build->second - read->second) / read->second);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // --write-scene N FILE: only write a scene of N blocks, 2 x 4 bricks in towers of four on a plate (the
  // idle and memory measurement loads one).
  if (argc == 4 && std::string(argv[1]) == "--write-scene") {
    World world;
    putBlockInScene(world, benchBlock(BasePlate, 100, 100, {0, 0, 0}));
    const int bricks = std::clamp(std::atoi(argv[2]) - 1, 0, 4 * 32 * 20);
    for (int i = 0; i < bricks; ++i) {
      const int column = i / 4, level = i % 4;
      const Vec3 at{-196.0f + 12.0f * static_cast<float>(column % 32), 4.0f + 6.0f * static_cast<float>(level),
                    -188.0f + 20.0f * static_cast<float>(column / 32)};
      putBlockInScene(world, benchBlock(Brick, 2, 4, at));
    }
    return WriteSceneFile(SceneFileState{}, world, argv[3]) ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SceneFiles files;
  benchmark::RegisterBenchmark("ReadOnly", [&files](benchmark::State& s) { ReadOnly(files, s); })
      ->Arg(10000)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ReadAndBuild", [&files](benchmark::State& s) { ReadAndBuild(files, s); })
      ->Arg(1000)
      ->Arg(10000)
      ->Arg(100000)
      ->Unit(benchmark::kMillisecond);
  // CPU time: on a busy machine the wall clock also counts other programs.
  BuildRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
