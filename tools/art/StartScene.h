// The start scene the program opens with: a little cottage, trees, flowers and friends on a green plate.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Shapes.h"

// Builds the model through the block model (the catalogue must be loaded) and leaves it in the scene.
void buildStartScene();
// Writes scene/scene.lml with the program's scene writer.
void makeStartScene(OutputList& out);
