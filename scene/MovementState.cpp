// The movement switches and the note player hook.
#include "scene/Movement.h"

MovementState movement;
std::function<void(MoveNote)> moveNotePlayer;
