// The rules of the flight: what the aeroplane meets, one step of flight, and the changes between set-up
// and flying.
#include "game/Game.h"

#include <cmath>

#include "edit/BlockOperations.h"
#include "edit/Editor.h"
#include "edit/Picking.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "platform/window.h"

namespace {

constexpr float kSlowSpeed = 0.5f, kFastSpeed = 2.0f;
constexpr float kBrick = 6.0f;

float speedOf(const World& world) { return world.game.fastFlight ? kFastSpeed : kSlowSpeed; }

// The flight direction the aeroplane's orientation gives: 0 +z, 1 -x, 2 -z, 3 +x.
Vec3 directionOf(int orientation) {
  switch (((orientation % 4) + 4) % 4) {
    case 1: return Vec3{-1, 0, 0};
    case 2: return Vec3{0, 0, -1};
    case 3: return Vec3{1, 0, 0};
    default: return Vec3{0, 0, 1};
  }
}

// The query and what the game makes of it.
int query(World& world, GameState& g, Vec3 offset) {
  const int blocking = sweepQueryMovingSet(world, offset);
  if (blocking > 0 && world.sweep.candidatesOf)
    g.outcome = classifyMeeting(*world.sweep.candidatesOf, world.sweep.candidates, g.outcome);
  return blocking;
}

void moveSet(World& world, Vec3 by) {
  for (Block* block : world.movingSet.entries) {
    translateBlock(*block, by.x, by.y, by.z);
    sweepMove(world.sweep, *block);
  }
}

// A wall: back off a tenth and turn a quarter clockwise seen from above (+z to +x, +x to -z, -z to -x,
// -x to +z).
void turnAtWall(World& world, GameState& g) {
  Vec3& v = g.velocity;
  const float s = speedOf(world);
  v.y = 0;
  if (v.x > 0) {
    moveSet(world, Vec3{-0.1f, 0, 0});
    v = Vec3{0, 0, -s};
  } else if (v.z > 0) {
    moveSet(world, Vec3{0, 0, -0.1f});
    v = Vec3{s, 0, 0};
  } else if (v.z < 0) {
    moveSet(world, Vec3{0, 0, 0.1f});
    v = Vec3{-s, 0, 0};
  } else if (v.x < 0) {
    moveSet(world, Vec3{0.1f, 0, 0});
    v = Vec3{0, 0, s};
  }
  if (Block* plane = world.selectedBlock) {
    rotateBlock(*plane, -90);
    sweepMove(world.sweep, *plane);
  }
  if (sweepQueryMovingSet(world, Vec3{}) > 0) v.y += kBrick;
}

// Land: set-up again, the hold ended, and the speed back to half a unit.
void endFlight(Editor& ed, GameState& g) {
  ed.state.movePending = false;
  ed.world.game.gameSetup = true;
  ed.world.game.gameRunning = false;
  ed.state.orbitDrag = false;
  if (ed.state.holding) releaseHold(ed);
  releaseCapture();
  ed.world.game.fastFlight = false;
  setFlightSpeed(g, kSlowSpeed);
}

void holdAeroplane(Editor& ed, GameState& g) {
  World& w = ed.world;
  ed.state.holding = true;
  ed.state.pickedBlock = g.aeroplane;
  w.selectedBlock = g.aeroplane;
  listClear(w.movingSet);
  collectStack(w, w.movingSet, g.aeroplane);
}

}  // namespace

bool isTargetColour(const std::array<float, 4>& c) { return c[0] > 0.9f && c[1] > 0.9f && c[2] < 0.1f; }
bool isMovableColour(const std::array<float, 4>& c) { return c[0] > 0.85f && c[1] > 0.85f && c[2] > 0.85f; }

Meeting classifyMeeting(const Block& moving, const std::vector<Block*>& blocking, Meeting previous) {
  // A climb found by an earlier query must not carry over to a flat wall met together with another block.
  if (blocking.size() >= 2) return Meeting::Wall;
  if (blocking.size() != 1) return previous;
  const Block& other = *blocking.front();
  if (other.position.y > moving.position.y - 3 && other.kind == SlopeBrick) return Meeting::Climb;
  if (other.position.y > moving.position.y - 0.1f) return isTargetColour(other.colour) ? Meeting::Target : Meeting::Wall;
  return previous;
}

FlightStep flightStep(World& world, GameState& g) {
  FlightStep step;
  if (world.movingSet.count() == 0) return step;
  const float low = listLowestY(world.movingSet);
  const float ground = groundLevel(world.scene);
  Vec3& v = g.velocity;
  v.y = 0;
  if (query(world, g, v) > 0) {
    // Every meeting changes the step; a course that never lets the aeroplane go is given up after a while.
    int guard = 0;
    do {
      if (g.outcome == Meeting::Climb) {
        ++step.climbs;
        v.y += kBrick;
      } else if (g.outcome == Meeting::Wall) {
        ++step.walls;
        turnAtWall(world, g);
      } else {
        v.x = v.z = 0;
        step.reachedTarget = true;
        break;
      }
    } while (++guard < 64 && query(world, g, v) > 0);
  } else {
    const float floor = world.movement.gravityFloor;
    if (low + v.y >= ground + 4 && low + v.y > floor) {
      v.y -= kBrick;
      if (sweepQueryMovingSet(world, v) == 0) {
        step.fell = true;
        do v.y -= kBrick;
        while (low + v.y >= ground - 2 && low + v.y > floor && sweepQueryMovingSet(world, v) == 0);
      }
      v.y += kBrick;
      query(world, g, v);
    }
  }
  moveSet(world, v);
  return step;
}

void setFlightSpeed(GameState& g, float speed) {
  Vec3& v = g.velocity;
  // Slowing down looks at +x, -x, +z, -z; speeding up at +x, +z, -x, -z.
  if (speed < kFastSpeed) {
    if (v.x > 0) v.x = speed;
    else if (v.x < 0) v.x = -speed;
    else if (v.z > 0) v.z = speed;
    else if (v.z < 0) v.z = -speed;
  } else {
    if (v.x > 0) v.x = speed;
    else if (v.z > 0) v.z = speed;
    else if (v.x < 0) v.x = -speed;
    else if (v.z < 0) v.z = -speed;
  }
}

void enterGameSetup(Editor& ed, GameState& g) {
  World& w = ed.world;
  if (w.game.gameRunning) return;
  w.game.gameSetup = true;
  BlockDescription d;
  d.kind = kAeroplaneKind;
  d.height = 1;
  d.colour = {1, 0, 0, 1};
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  d.position = Vec3{-2, 4, -2};
  std::unique_ptr<Block> plane = createBlock(w, d);
  // Pushed along the plate until it is free, not lifted.
  for (int guard = 0; guard < 200 && sweepQuery(w.sweep, *plane, Vec3{}) > 0; ++guard) translateBlock(*plane, 0, 0, 6);
  g.aeroplane = placeBuiltBlock(w, std::move(plane));
  holdAeroplane(ed, g);
  liftMovingSet(ed.renderer, w);
  ed.state.movePending = true;
  g.outcome = Meeting::Wall;
}

void startGame(Editor& ed, GameState& g) {
  World& w = ed.world;
  if (!g.aeroplane || !sceneFind(w.scene, g.aeroplane)) return;
  g.outcome = Meeting::Wall;
  w.game.gameRunning = true;
  w.game.gameSetup = false;
  holdAeroplane(ed, g);
  ed.state.movePending = true;
  liftMovingSet(ed.renderer, w);
  g.stepTimed = false;
  if (!g.planeCreated) {
    const Vec3 d = directionOf(g.aeroplane->orientation);
    const float s = speedOf(w);
    g.velocity = Vec3{d.x * s, 0, d.z * s};
  }
}

void stopGame(Editor& ed, GameState& g) { endFlight(ed, g); }

void resetGame(Editor& ed, GameState& g) {
  World& w = ed.world;
  if (!g.aeroplane || !sceneFind(w.scene, g.aeroplane)) return;
  holdAeroplane(ed, g);
  if (g.planeCreated) {
    w.game.gameRunning = false;
    deleteHeld(ed);
    g.aeroplane = nullptr;
    enterGameSetup(ed, g);
  } else {
    const Vec3 back = g.startPosition - g.aeroplane->position;
    translateBlock(*g.aeroplane, back.x, back.y, back.z);
    sweepMove(w.sweep, *g.aeroplane);
    moveMovingSet(w, Vec3{});
    for (int turns = 0; turns < 4 && ((g.aeroplane->orientation - g.startOrientation) % 4 + 4) % 4 != 0; ++turns) {
      rotateBlock(*g.aeroplane, 90);
      sweepMove(w.sweep, *g.aeroplane);
    }
  }
  releaseHold(ed);
  g.velocity = Vec3{0, 0, w.game.fastFlight ? kFastSpeed : kSlowSpeed};
  endFlight(ed, g);
}
