// Reading a 10,000-block scene file, and reading it and building the scene from it.
#include <filesystem>

#include "bench/BenchScenes.h"
#include "files/SceneFile.h"
#include "platform/paths.h"

namespace {

constexpr int kBlocks = 10000;

// 9,999 bricks in towers of four over a 100 x 100 plate, written once by the scene writer.
const std::string& scenePath() {
  static const std::string path = [] {
    buildTowerScene(kBlocks - 1);
    const std::string file = (std::filesystem::temp_directory_path() / "tolvane-bench-10000.lml").string();
    if (!WriteSceneFile(file)) std::fprintf(stderr, "cannot write %s\n", file.c_str());
    clearBenchScene();
    return file;
  }();
  return path;
}

void ReadSceneFile10000(benchmark::State& state) {
  const std::string& path = scenePath();
  for (auto _ : state) {
    if (!ReadSceneFile(path)) state.SkipWithError("the scene file could not be read");
    benchmark::DoNotOptimize(sceneFile.loadedDescriptions.data());
  }
  state.counters["blocks"] = static_cast<double>(sceneFile.loadedDescriptions.size());
}

void ReadAndBuildScene10000(benchmark::State& state) {
  const std::string& path = scenePath();
  for (auto _ : state) {
    clearBenchScene();
    if (!ReadSceneFile(path)) state.SkipWithError("the scene file could not be read");
    BuildLoadedScene();
  }
  state.counters["blocks"] = static_cast<double>(sceneBlockCount());
  clearBenchScene();
}

BENCHMARK(ReadSceneFile10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndBuildScene10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
