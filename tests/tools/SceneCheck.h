// Reading a generated scene file back as the program does, and judging the model it builds.
#pragma once

#include <string>
#include <vector>

#include "scene/Block.h"

// Reads the text with the program's scene reader and builds the scene (the catalogue is loaded once from
// the generated meshes). False when the reader refuses the text.
bool loadGeneratedScene(const std::string& text);
// Blocks that overlap another block in the collision index, or (other than base plates) rest on nothing.
std::vector<std::string> overlapsAndFloaters();
std::vector<const Block*> blocksOfScene();
