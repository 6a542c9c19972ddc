// Pointer input over the 3D view turned into blocks held and moved: picking the nearest block with its
// stack, dragging it over a horizontal plane, keeping the pointer on it, letting go, the per-frame editing
// step, and bringing new blocks in from the side panel's palettes.
#pragma once

#include <array>
#include <optional>

#include "edit/Editor.h"
#include "scene/Block.h"
#include "scene/Geometry.h"

// The palette and paint colours, index 1-7 (white, yellow, black, red, green, blue, purple); index 0 and
// anything out of range give white.
std::array<float, 4> paletteColour(int index);

// Choose the paint tool's colour (1-7) or put the tool away (0); a painting stack is never lifted aside.
void setPaintTool(Editor& ed, int colour);

// Find the nearest block under the pointer (never the base plate) and pick it up with its stack.
bool pickBlock(Editor& ed);
// Left button down over the view.
void pickAndHold(Editor& ed, int x, int y);
// Pointer movement over the view (or outside it while captured).
void trackPointer(Editor& ed, int x, int y);
// End a hold: the held stack settles and snaps onto its support.
void releaseHold(Editor& ed);
// After the scene was replaced: nothing held or picked, nothing to undo.
void resetEditState(Editor& ed);
// One drag step of the held stack by the pointer's movement since the last frame, or by an arrow key.
void dragStep(Editor& ed);
// The editing part of every frame: the drag step (not while the game flies), settling after a turn, the
// camera drags and animations. True when the game's step is due (a pointer move during a flight).
bool editFrameStep(Editor& ed);

// Where the ray through client pixel (x, y) meets the drag plane: the held stack's lowest centre while a
// stack is held, else the ground at height 0.
Vec3 rayToDragPlane(Editor& ed, int x, int y);

// Which palette a new block comes from.
enum class Palette { Bricks, Shapes1, Shapes2 };
// The description a palette entry makes, its position still unset (z 1000); none for an entry the
// palette does not have.
std::optional<BlockDescription> paletteBlock(Editor& ed, Palette palette, int entry);
// Create the block of the active palette's entry at the left edge of the view and hold it; false when the
// entry makes nothing.
bool dropFromPalette(Editor& ed, int x, int y);
