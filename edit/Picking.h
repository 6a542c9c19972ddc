// Pointer input over the 3D view turned into blocks held and moved: picking the nearest block with its
// stack, dragging it over a horizontal plane, keeping the pointer on it, letting go, the per-frame editing
// step, and bringing new blocks in from the side panel's palettes.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "scene/Block.h"
#include "scene/Geometry.h"

// What editing needs from parts that come later; empty hooks do nothing.
struct EditHooks {
  std::function<void()> gameStep;      // one step of the game while it runs
  std::function<void()> sceneChanged;  // the scene differs from what was loaded or saved
};
extern EditHooks editHooks;

// The palette and paint colours, index 1-7 (white, yellow, black, red, green, blue, purple); index 0 and
// anything out of range give white.
std::array<float, 4> paletteColour(int index);

// Choose the paint tool's colour (1-7) or put the tool away (0); a painting stack is never lifted aside.
void setPaintTool(int colour);

// Find the nearest block under the pointer (never the base plate) and pick it up with its stack.
bool pickBlock();
// Left button down over the view.
void pickAndHold(int x, int y);
// Pointer movement over the view (or outside it while captured).
void trackPointer(int x, int y);
// End a hold: the held stack settles and snaps onto its support.
void releaseHold();
// One drag step of the held stack by the pointer's movement since the last frame, or by an arrow key.
void dragStep();
// The editing part of every frame (after the scene is drawn): drag or game step, settling after a turn,
// the camera drags.
void editFrameStep();

// Where the ray through client pixel (x, y) meets the drag plane: the held stack's lowest centre while a
// stack is held, else the ground at height 0.
Vec3 rayToDragPlane(int x, int y);

// Which palette a new block comes from.
enum class Palette { Bricks, Shapes1, Shapes2 };
// The description a palette entry makes, its position still unset (z 1000); none for an entry the
// palette does not have.
std::optional<BlockDescription> paletteBlock(Palette palette, int entry);
// Create the block of the active palette's entry at the left edge of the view and hold it; false when the
// entry makes nothing.
bool dropFromPalette(int x, int y);
