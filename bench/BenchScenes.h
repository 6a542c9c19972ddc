// Scenes for the benchmarks: a 100 x 100 base plate with towers of 1 x 1 bricks spread over it, and a
// reporter that prints how each collision query compares with testing every pair of boxes.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/TimeKeepingReporter.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "scene/SweepIndex.h"
#include "scene/World.h"

inline BlockDescription benchBlock(int32_t kind, int32_t studsX, int32_t studsZ, Vec3 position) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = 1;
  d.position = position;
  d.colour = {0.2f, 0.4f, 0.8f, 1};
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  return d;
}

// Towers of four bricks on every other stud, the columns spread over the plate in a fixed shuffle.
inline Vec3 towerBrickPosition(int i) {
  const int column = i / 4, level = i % 4;
  const int cell = (column * 7919) % 2500;  // 7919 is prime to 2500: no two columns share a cell
  const float x = -198.0f + 8.0f * static_cast<float>(cell % 50);
  const float z = -198.0f + 8.0f * static_cast<float>(cell / 50);
  return {x, 4.0f + 6.0f * static_cast<float>(level), z};
}

inline void clearBenchScene(World& world) {
  sceneClear(world);
  sweepClearIndex(world.sweep);
  resetMaterialTable(world.materials);
}

// The plate and the towers in the world, in place of whatever it held.
inline void buildTowerScene(World& world, int bricks) {
  clearBenchScene(world);
  putBlockInScene(world, benchBlock(BasePlate, 100, 100, {0, 0, 0}));
  for (int i = 0; i < bricks; ++i) putBlockInScene(world, benchBlock(Brick, 1, 1, towerBrickPosition(i)));
}

// Prints, after the run, each measured query's time next to the brute-force one of the same label.
class RatioReporter : public TimeKeepingReporter {
public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-44s %14s %14s %11s\n", "query (CPU time)", "sweep (ns)", "all pairs (ns)", "pairs/sweep");
    for (const auto& [name, sweep] : times) {
      const size_t at = name.find("Sweep");
      if (at == std::string::npos) continue;
      std::string brute = name;
      brute.replace(at, 5, "Brute");
      auto other = times.find(brute);
      if (other == times.end()) continue;
      std::printf("%-44s %14.0f %14.0f %11.2f\n", name.c_str(), sweep, other->second, other->second / sweep);
    }
  }
};
