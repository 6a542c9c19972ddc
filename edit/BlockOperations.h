// What the user does to blocks once they are in the scene: the edit keys (resize, step moves, delete),
// turning, painting, copying a stack, deleting with the hammer, the one-step undo and a new scene's plate.
#pragma once

#include "edit/Editor.h"
#include "scene/Block.h"

// The view's and side panel's key handler; every key first puts the paint tool away.
void handleEditKey(Editor& ed, int key);
// Turn the selected block by +90 or -90 degrees (only white blocks during a game).
void turnSelected(Editor& ed, int degrees);
// Move the block's colour one step toward the paint tool's colour.
void paintStep(Editor& ed, Block& block, float step);
// Copy the stack under the pointer onto itself (at most 30 blocks). TooMany leaves the stack held as it
// was picked; the shell tells the user.
enum class CopyResult { Copied, NothingPicked, TooMany };
CopyResult copyStack(Editor& ed);
// Remove every block of the held stack, keeping copies for undo.
void deleteHeld(Editor& ed);
void undo(Editor& ed);
// Clear the scene and lay a green base plate of one of the 20 sizes (1-20); false for another choice.
bool newScenePlate(Editor& ed, int choice);

// The base plate sizes offered for a new scene, studs along x and z; {0, 0} for another choice.
struct PlateSize {
  int studsX = 0, studsZ = 0;
};
PlateSize newScenePlateSize(int choice);
