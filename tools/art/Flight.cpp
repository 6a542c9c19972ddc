// The flight of a level's aeroplane for designing and checking levels: the game's own flight step, run
// on the generator's scene until the target is reached, the aeroplane leaves the course, or the steps run out.
#include "tools/art/Flight.h"

#include <cmath>

#include "game/Game.h"
#include "scene/BlockList.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "tools/art/BlockScene.h"

FlightResult simulateFlight(int maxSteps) {
  FlightResult result;
  World& world = blockWorld();
  Block* plane = nullptr;
  for (const auto& node : world.scene.nodes)
    if (node->block->kind == kAeroplaneKind) plane = node->block.get();
  if (!plane) return result;
  const float ground = groundLevel(world.scene);
  // Taking off as the game does: the aeroplane and what stands on it fly in the direction it faces.
  GameState game;
  game.aeroplane = plane;
  const int orientation = ((plane->orientation % 4) + 4) % 4;
  const float speed = 0.5f;
  game.velocity = orientation == 0   ? Vec3{0, 0, speed}
                  : orientation == 1 ? Vec3{-speed, 0, 0}
                  : orientation == 2 ? Vec3{0, 0, -speed}
                                     : Vec3{speed, 0, 0};
  world.selectedBlock = plane;
  world.movement.gravityFloor = -kFloatMax;
  listClear(world.movingSet);
  collectStack(world, world.movingSet, plane);
  for (result.steps = 0; result.steps < maxSteps; ++result.steps) {
    const FlightStep step = flightStep(world, game);
    result.climbs += step.climbs;
    result.falls += step.fell ? 1 : 0;
    for (int i = 0; i < step.walls; ++i) {
      ++result.turns;
      result.turnPoints.push_back(plane->position);
    }
    if (step.reachedTarget) {
      result.reachedTarget = true;
      ++result.steps;
      break;
    }
    if (std::fabs(plane->position.x) > 400 || std::fabs(plane->position.z) > 400 || plane->position.y < ground - 10) {
      result.leftTheCourse = true;
      break;
    }
  }
  listClear(world.movingSet);
  world.selectedBlock = nullptr;
  return result;
}
