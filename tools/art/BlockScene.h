// The program's block model as the generator uses it: the catalogue filled from the generated meshes, a
// fresh scene, and blocks set onto the stud grid of a base plate by their footprint's corner.
#pragma once

#include <array>
#include <string>

#include "scene/Block.h"
#include "tools/art/Shapes.h"

// Fills the program's shape catalogue from the designs, through the program's own mesh reader, so that
// shape blocks get exactly the triangles the program will load.
void loadGeneratedCatalogue(const std::vector<ShapeDesign>& shapes);

struct World;
struct SceneFileState;

// The generator's one world of blocks and the scene file state it writes with; the functions below work
// on them.
World& blockWorld();
SceneFileState& blockSceneFile();

// Empties the scene, the collision index and the material table; the view becomes the start view with
// the default sky and light.
void resetBlockScene();

using BlockColour = std::array<float, 4>;
namespace blockColours {
constexpr BlockColour red{1, 0, 0, 1}, green{0, 1, 0, 1}, blue{0, 0, 1, 1}, yellow{1, 1, 0, 1}, white{1, 1, 1, 1},
    black{0.1f, 0.1f, 0.1f, 1}, orange{1, 0.5f, 0, 1}, brown{0.55f, 0.3f, 0.1f, 1}, grey{0.55f, 0.55f, 0.6f, 1},
    sky{0.3f, 0.7f, 1, 1}, pink{1, 0.45f, 0.7f, 1}, purple{0.6f, 0.25f, 0.8f, 1}, darkGreen{0, 0.55f, 0.2f, 1};
}

// A square green-free plate of side studs at the origin (the scene's ground).
Block* putPlate(int studs, const BlockColour& colour);

// A block whose footprint's low corner is at stud column sx, row sz of a plate of side plateStuds, its
// bottom level bricks above the plate. kind 0 brick, 2 slope (studsX x studsZ, height 1), 3.. shapes.
BlockDescription gridBlock(int kind, int studsX, int studsZ, int orientation, int plateStuds, int sx, int sz, int level,
                           const BlockColour& colour);
Block* putGridBlock(int kind, int studsX, int studsZ, int orientation, int plateStuds, int sx, int sz, int level,
                    const BlockColour& colour);

// The scene as the program's scene writer stores it.
std::string storedSceneText();

// What is wrong with the current scene as a built model: blocks that overlap another block, and blocks
// other than base plates that rest on nothing. Empty when every block stands soundly.
std::vector<std::string> sceneFaults();
