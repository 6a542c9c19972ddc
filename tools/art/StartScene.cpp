// The start scene: built block by block on the stud grid, so that it always loads, nothing overlaps and
// everything rests on something.
#include "tools/art/StartScene.h"

#include "tools/art/BlockScene.h"

namespace {
constexpr int plate = 20;

void put(int kind, int sx, int sz, int level, const BlockColour& colour, int orientation = 0, int studsX = 0,
         int studsZ = 0) {
  putGridBlock(kind, studsX, studsZ, orientation, plate, sx, sz, level, colour);
}
void brick(int studsX, int studsZ, int sx, int sz, int level, const BlockColour& colour) {
  put(Brick, sx, sz, level, colour, 0, studsX, studsZ);
}
void slope(int studsX, int studsZ, int orientation, int sx, int sz, int level, const BlockColour& colour) {
  put(SlopeBrick, sx, sz, level, colour, orientation, studsX, studsZ);
}
}  // namespace

void buildStartScene() {
  using namespace blockColours;
  resetBlockScene();
  putPlate(plate, green);
  // The cottage at the back: red walls with a door and a window in front, a two-tier blue roof and a chimney.
  for (int level = 0; level < 3; ++level) {
    brick(2, 1, 8, 10, level, red);
    brick(1, 1, 12, 10, level, red);
    if (level < 2) brick(1, 1, 15, 10, level, red);
    brick(8, 2, 8, 11, level, level == 1 ? yellow : red);
    brick(8, 2, 8, 13, level, level == 1 ? yellow : red);
    brick(8, 1, 8, 15, level, level == 1 ? yellow : red);
  }
  put(14, 10, 10, 0, brown);
  put(13, 13, 10, 0, sky);
  brick(3, 1, 13, 10, 2, red);
  slope(4, 6, 2, 8, 10, 3, blue);
  slope(4, 6, 0, 12, 10, 3, blue);
  slope(3, 6, 2, 9, 10, 4, blue);
  slope(3, 6, 0, 12, 10, 4, blue);
  put(33, 13, 14, 5, orange);
  // A tower of bright bricks with a cone on top.
  brick(2, 2, 16, 4, 0, red);
  brick(2, 2, 16, 4, 1, yellow);
  brick(2, 2, 16, 4, 2, blue);
  brick(2, 2, 16, 4, 3, green);
  put(6, 16, 4, 4, orange);
  // Trees, flowers and a few friends in the garden.
  put(22, 2, 13, 0, darkGreen);
  put(44, 4, 16, 0, green);
  put(72, 17, 15, 0, darkGreen);
  put(23, 2, 3, 0, yellow);
  put(70, 4, 3, 0, red);
  put(23, 6, 3, 0, pink);
  put(28, 10, 3, 0, yellow);
  put(25, 8, 7, 0, blue);
  put(26, 4, 7, 0, brown);
  // A fence, a lamp, a letter box, a bench and a duck.
  put(15, 1, 1, 0, white);
  put(15, 5, 1, 0, white);
  put(34, 7, 9, 0, black);
  put(75, 12, 8, 0, red);
  put(47, 7, 17, 0, brown);
  put(27, 2, 8, 0, yellow);
  // A little orange ramp and a white wall by the path.
  slope(3, 2, 2, 13, 6, 0, orange);
  brick(1, 4, 17, 8, 0, white);
}

void makeStartScene(OutputList& out) {
  buildStartScene();
  out.push_back({"scene/scene.lml", storedSceneText()});
}
