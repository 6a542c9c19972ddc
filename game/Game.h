// The block game: an aeroplane block flies on its own across a course of blocks, straight ahead along x or
// z, half a unit a step (two in fast flight). It climbs a brick onto a slope, drops onto whatever lies
// below, and turns a quarter clockwise (seen from above) when it meets a wall. Meeting the yellow block
// alone finishes the level. In set-up the player may move and turn the white blocks only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/Block.h"

struct Editor;
struct World;

// What the aeroplane met in the latest query.
enum class Meeting : int { Climb = 0, Wall = 1, Target = 2 };

struct GameState {
  Block* aeroplane = nullptr;
  bool planeCreated = false;  // set-up made the aeroplane because the level had none
  Vec3 startPosition;
  int startOrientation = 0;
  Vec3 velocity{0, 0, 0.5f};
  Meeting outcome = Meeting::Wall;
  int currentLevel = 0;       // level L is the game file number L + 1
  uint32_t lastStepTime = 0;
  bool stepTimed = false;     // lastStepTime holds the time of a step
  bool fanfare = false;       // a level was finished: the next one waits until the fanfare has played
  // The background picture the latest level file named, for the shell to show.
  std::optional<std::string> levelBackground;
};

// The colour classes of the game: the yellow target, and the white blocks the player may move.
bool isTargetColour(const std::array<float, 4>& c);
bool isMovableColour(const std::array<float, 4>& c);

// What a query's blocking blocks mean for the aeroplane: one slope less than 3 below its centre is climbed,
// one block not below it is a wall (the yellow one is the target), anything lower leaves the previous
// meaning. Two or more blocks at once are always a wall, whatever the earlier queries found.
Meeting classifyMeeting(const Block& moving, const std::vector<Block*>& blocking, Meeting previous);

// What one flight step did.
struct FlightStep {
  int climbs = 0;
  int walls = 0;
  bool fell = false;
  bool reachedTarget = false;
};
// One step of the flight of the moving set (the aeroplane and what stands on it), without pacing: meet
// what is in the way (climb, turn, stop at the target), else fall, then move.
FlightStep flightStep(World& world, GameState& g);

// Set-up makes a red aeroplane at (-2, 4, -2), pushed along +z until it is free, and holds it.
void enterGameSetup(Editor& ed, GameState& g);
// Take off in the direction the aeroplane faces.
void startGame(Editor& ed, GameState& g);
// Land where it is: back to set-up; the speed returns to half a unit.
void stopGame(Editor& ed, GameState& g);
// The aeroplane back to where and how the level placed it, in set-up.
void resetGame(Editor& ed, GameState& g);
// The speed of the fast-flight button and the Space key: the first moving component becomes speed with its
// sign, tested in the given order of directions (+x, -x, +z, -z when slowing down; +x, +z, -x, -z when
// speeding up).
void setFlightSpeed(GameState& g, float speed);

// Levels. The game files live in the install folder's "save" folder as "game001.gam" onwards.
std::string gameFilePath(const std::string& installDir, int number);
enum class LevelLoad { Loaded, AllDone, Unreadable };
// Empty the scene and load level index; AllDone when its file is missing, after loading level 0 instead
// (Unreadable when that fails too, with the scene left empty).
LevelLoad loadLevel(Editor& ed, GameState& g, const std::string& installDir, int index);
// The game slot n (from 1): false when it cannot be read (the scene stays empty).
bool loadGameSlot(Editor& ed, GameState& g, const std::string& installDir, int n);
// Find the level's aeroplane (the last one in the scene) and remember where it starts; without one,
// set-up makes one.
void takeLevelAeroplane(Editor& ed, GameState& g);

// The string numbers of what a game scene lacks or has twice (28 to 32), in that order; empty when it is
// complete.
std::vector<int> checkGameScene(const World& world);
