// Reading a 10,000-block scene file, and reading it and building the scene from it (also at 1,000
// blocks, to show how the build grows).
#include <filesystem>
#include <map>

#include "bench/BenchScenes.h"
#include "files/SceneFile.h"
#include "platform/paths.h"

namespace {

// n - 1 bricks in towers of four over a 100 x 100 plate, written once by the scene writer.
const std::string& scenePath(int blocks) {
  static std::map<int, std::string> paths;
  auto known = paths.find(blocks);
  if (known != paths.end()) return known->second;
  buildTowerScene(blocks - 1);
  const std::string file =
      (std::filesystem::temp_directory_path() / ("tolvane-bench-" + std::to_string(blocks) + ".lml")).string();
  if (!WriteSceneFile(file)) std::fprintf(stderr, "cannot write %s\n", file.c_str());
  clearBenchScene();
  return paths[blocks] = file;
}

void ReadOnly(benchmark::State& state) {
  const std::string& path = scenePath(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!ReadSceneFile(path)) state.SkipWithError("the scene file could not be read");
    benchmark::DoNotOptimize(sceneFile.loadedDescriptions.data());
  }
  state.counters["blocks"] = static_cast<double>(sceneFile.loadedDescriptions.size());
}

void ReadAndBuild(benchmark::State& state) {
  const std::string& path = scenePath(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    clearBenchScene();
    if (!ReadSceneFile(path)) state.SkipWithError("the scene file could not be read");
    BuildLoadedScene();
  }
  state.counters["blocks"] = static_cast<double>(sceneBlockCount());
  clearBenchScene();
}

BENCHMARK(ReadOnly)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndBuild)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
