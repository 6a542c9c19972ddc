// The shipped game levels, written as scene files with the program's scene writer, and their list
// pictures rendered from the start view.
#include "tools/art/Levels.h"

#include <cstdio>

#include "scene/World.h"
#include "tools/art/BlockView.h"
#include "tools/art/Pictures.h"

namespace {

using namespace blockColours;

constexpr BlockColour wallColour{0.15f, 0.35f, 0.9f, 1};
constexpr BlockColour slopeColour{1, 0.5f, 0, 1};

CoursePiece brick(int studsX, int studsZ, int column, int row, int level, const BlockColour& colour) {
  return {Brick, studsX, studsZ, 0, column, row, level, colour};
}
CoursePiece shape(int kind, int column, int row, const BlockColour& colour, int orientation = 0) {
  return {kind, 0, 0, orientation, column, row, 0, colour};
}

// A course: the plate's rim walled two bricks high, so that the aeroplane can never leave the plate.
struct Course {
  LevelDesign design;
  explicit Course(const char* title) {
    design.title = title;
    for (int level = 0; level < 2; ++level) {
      const int shift = level == 0 ? 0 : 5;
      for (int row : {0, levelPlateStuds - 1}) {
        if (shift) add(brick(shift, 1, 0, row, level, wallColour));
        add(brick(10, 1, shift, row, level, wallColour));
        add(brick(levelPlateStuds - 10 - shift, 1, 10 + shift, row, level, wallColour));
      }
      for (int column : {0, levelPlateStuds - 1})
        for (int row = 1; row < levelPlateStuds - 1; row += 6) add(brick(1, 6, column, row, level, wallColour));
    }
  }
  Course& add(const CoursePiece& piece) {
    design.pieces.push_back(piece);
    return *this;
  }
  // The aeroplane, heading along +z (0), -x (1), -z (2) or +x (3).
  Course& plane(int column, int row, int orientation) {
    return add(shape(kAeroplaneKind, column, row, red, orientation));
  }
  Course& target(int column, int row, int level = 0) { return add(brick(2, 2, column, row, level, yellow)); }
  Course& white(int studsX, int studsZ, int column, int row, int level = 0) {
    return add(brick(studsX, studsZ, column, row, level, blockColours::white));
  }
  Course& wall(int studsX, int studsZ, int column, int row, const BlockColour& colour = red, int level = 0) {
    return add(brick(studsX, studsZ, column, row, level, colour));
  }
  Course& slope(int studsX, int studsZ, int orientation, int column, int row, int level = 0) {
    return add({SlopeBrick, studsX, studsZ, orientation, column, row, level, slopeColour});
  }
  Course& decor(int kind, int column, int row, const BlockColour& colour) {
    return add(shape(kind, column, row, colour));
  }
};

}  // namespace

std::vector<LevelDesign> designLevels() {
  std::vector<LevelDesign> levels;
  // 1: one white block turns the aeroplane toward the target.
  levels.push_back(Course("첫 비행").plane(1, 1, 0).target(12, 9).white(2, 2, 8, 14).design);
  // 2: two turns, two white blocks.
  levels.push_back(Course("두 번 꺾기").plane(1, 1, 0).target(14, 5).white(2, 2, 6, 14).white(2, 2, 10, 14).design);
  // 3: a red wall and a red block keep the way from the west shut; the target is reached from the east.
  levels.push_back(Course("빨간 담")
                       .plane(1, 1, 0)
                       .wall(10, 1, 4, 10)
                       .wall(1, 1, 14, 10)
                       .wall(2, 2, 5, 6)
                       .target(10, 6)
                       .white(2, 2, 5, 13)
                       .white(2, 2, 8, 13)
                       .decor(22, 11, 12, darkGreen)
                       .design);
  // 4: the aeroplane starts in the middle heading east; a long white bar has to be turned on end.
  levels.push_back(
      Course("막대 돌리기").plane(8, 6, 3).target(13, 11).white(4, 1, 5, 12).wall(2, 2, 4, 10, purple).design);
  // 5: the target sits on a grey platform; a white slope lets the aeroplane climb up to it.
  levels.push_back(Course("비탈 오르기")
                       .plane(1, 1, 0)
                       .wall(4, 4, 12, 8, grey)
                       .target(13, 9, 1)
                       .add({SlopeBrick, 3, 3, 2, 6, 14, 0, blockColours::white})
                       .white(2, 2, 11, 14)
                       .design);
  // 6: three turns in a row, three white blocks.
  levels.push_back(Course("세 번 꺾기")
                       .plane(1, 1, 0)
                       .target(5, 5)
                       .white(2, 2, 12, 13)
                       .white(2, 2, 14, 9)
                       .white(2, 2, 9, 13)
                       .decor(44, 14, 4, darkGreen)
                       .design);
  // 7: the target on a platform, reached from the north over a white slope.
  levels.push_back(Course("높은 곳")
                       .plane(1, 1, 0)
                       .wall(4, 4, 5, 9, grey)
                       .target(6, 10, 1)
                       .add({SlopeBrick, 3, 2, 1, 12, 6, 0, blockColours::white})
                       .white(2, 2, 14, 11)
                       .design);
  // 8: the aeroplane starts on a platform; a white slope lets it jump the long red wall.
  levels.push_back(Course("담 넘기")
                       .wall(4, 4, 2, 2, grey)
                       .add({kAeroplaneKind, 0, 0, 3, 2, 2, 1, red})
                       .wall(1, 6, 12, 1)
                       .wall(1, 6, 12, 7)
                       .wall(1, 6, 12, 13)
                       .target(14, 10)
                       .add({SlopeBrick, 3, 3, 2, 5, 12, 0, blockColours::white})
                       .white(2, 2, 7, 8)
                       .design);
  // 9: first turn toward the wall, then jump it.
  levels.push_back(Course("비탈과 담")
                       .plane(1, 1, 0)
                       .wall(1, 6, 12, 1)
                       .wall(1, 6, 12, 7)
                       .wall(1, 6, 12, 13)
                       .target(15, 11)
                       .add({SlopeBrick, 3, 3, 2, 4, 10, 0, blockColours::white})
                       .white(2, 2, 4, 4)
                       .white(2, 2, 6, 13)
                       .decor(22, 15, 16, darkGreen)
                       .design);
  // 10: down from one platform, back along the wall, and over it onto another where the target waits.
  levels.push_back(Course("마지막 비행")
                       .wall(4, 4, 2, 8, grey)
                       .add({kAeroplaneKind, 0, 0, 2, 2, 8, 1, red})
                       .wall(1, 6, 12, 1)
                       .wall(1, 6, 12, 7)
                       .wall(1, 6, 12, 13)
                       .wall(4, 4, 13, 3, grey)
                       .target(14, 4, 1)
                       .add({SlopeBrick, 3, 3, 2, 4, 14, 0, blockColours::white})
                       .white(2, 2, 8, 15)
                       .decor(72, 15, 14, darkGreen)
                       .design);
  return levels;
}

void buildLevel(const LevelDesign& level) {
  resetBlockScene();
  // A little steeper and further than the start view, looking at the plate itself: the whole course with
  // its walls is in sight, the aeroplane's corner included.
  blockWorld().view.polar = 35;
  blockWorld().view.distance = 165;
  blockWorld().view.target = {0, 4, 0};
  putPlate(levelPlateStuds, green);
  for (const CoursePiece& p : level.pieces)
    putGridBlock(p.kind, p.studsX, p.studsZ, p.orientation, levelPlateStuds, p.column, p.row, p.level, p.colour);
}

void makeLevels(OutputList& out, const Picture& sky) {
  const std::vector<LevelDesign> levels = designLevels();
  for (size_t i = 0; i < levels.size(); ++i) {
    buildLevel(levels[i]);
    char name[64];
    std::snprintf(name, sizeof name, "save/game%03d.gam", int(i + 1));
    out.push_back({name, storedSceneText()});
    // The list picture: the view window's picture at the start view, reduced as the program reduces it.
    OrbitCamera camera;
    camera.azimuth = blockWorld().view.azimuth;
    camera.polar = blockWorld().view.polar;
    camera.distance = blockWorld().view.distance;
    camera.target = blockWorld().view.target;
    const BlockRendering view = renderBlocks(sceneBlocks(), camera, blockWorld().view.lightDirection, 540, 380, sky);
    std::snprintf(name, sizeof name, "save/gimg%03d.bmp", int(i + 1));
    out.push_back({name, encodeBmp(resizePicture(view.picture, thumbnailWidth, thumbnailHeight))});
  }
  resetBlockScene();
}
