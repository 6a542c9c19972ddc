// Builders of the catalogue's living things and vehicles: trees and flowers, figures and animals, cars,
// trains, a boat, a rocket and the game's aeroplane. Same units and rules as every catalogue shape.
#pragma once

#include "tools/art/Mesh.h"

namespace shapes {
Mesh wheel();
Mesh aeroplane();
Mesh tree(int h, double r);
Mesh roundTree(int h, double r);
Mesh flower();
Mesh mushroom();
Mesh person();
Mesh dog();
Mesh duck();
Mesh car();
Mesh truckCab();
Mesh boat();
Mesh rocket();
Mesh engine();
Mesh wagon();
Mesh cat();
Mesh fish();
Mesh snowman();
Mesh tulip();
Mesh cactus();
Mesh bush();
}  // namespace shapes
