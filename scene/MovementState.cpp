// The movement switches, the note player hook and the two note requests a move makes.
#include "scene/Movement.h"

MovementState movement;
std::function<void(MoveNote)> moveNotePlayer;

void landingNote() {
  if (moveNotePlayer) moveNotePlayer(MoveNote::Landing);
}

void bumpNote() {
  if (moveNotePlayer) moveNotePlayer(MoveNote::Bump);
}
