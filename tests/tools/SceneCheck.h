// Reading a generated scene file back as the program does, and judging the model it builds.
#pragma once

#include <string>
#include <vector>

#include "scene/Block.h"

// Reads the text with the program's scene reader into the generator's world, emptied first, and builds the
// scene there (the world's catalogue is filled from the generated meshes whenever it is not complete).
// False when the reader refuses the text.
bool loadGeneratedScene(const std::string& text);
// Blocks of the generator's world that overlap another block in the collision index, or (other than base
// plates) rest on nothing.
std::vector<std::string> overlapsAndFloaters();
std::vector<const Block*> blocksOfScene();
