// Moving the picked-up blocks through the scene: the work area they cannot leave, the climb, slide and sink
// that keep them out of other blocks, the notes they play, and the snap onto the studs when a move ends.
#pragma once

#include "scene/Block.h"
#include "scene/Geometry.h"

struct World;

// The movement switches. The editor and the game set the flags; the camera keeps the eye and its
// elevation up to date, since the vertical step depends on the view.
struct MovementState {
  bool wholeBrickDrop = true;  // sink a whole brick at a time (Space and the bottom-panel button toggle it)
  bool leftDrag = false;       // the left button is held down in the view
  bool keyMove = false;        // an arrow key moves the held block in this frame
  float gravityFloor = 0;      // the set's lowest centre stays above it while sinking
  int dropThrottle = 0;        // 0..5 while leftDrag: step-sized sinking runs only when it wraps
  bool landedFlag = false;     // the set dropped at least one whole brick in this drop
  bool paintToolActive = false;  // the paint tool never lifts blocks out of the way
  Vec3 cameraEye;                // the camera's eye point
  float cameraElevation = 45;    // degrees above the horizon
};

// Which note rule a move asks for; the sound side turns it into a note at the held block's height.
enum class MoveNote { Landing, Bump };

// The vertical step for climbing and sinking: 2, 3 or 6 units by the view (a far or flat view moves in
// whole bricks, a near and steep one in plate-sized steps).
int fallStep(const MovementState& movement);
// Shrink offset so that the MovingSet stays inside the work area; false when nothing is left to move (or
// nothing is held).
bool clampToWorkArea(World& world, Vec3& offset);
// Move the MovingSet by offset (its y is ignored) with the collision response; returns the offset applied,
// (0, 0, 0) when the move was refused (the paint tool never lifts a blocked set).
Vec3 moveMovingSet(World& world, Vec3 offset);
// End of a move: snap onto the support and link, or just re-index the members; then empty the MovingSet.
void sweepRelinkMovingSet(World& world);
// Drop the picked block when the button is released: the set goes onto a brick level, settles, snaps and
// is linked.
void endDrag(World& world, Block* picked);
