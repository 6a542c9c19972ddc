// The title videos, drawn frame by frame with the program's own renderer at half the window's size (the
// player scales them up) and encoded with the program's video writer.
#include "tools/art/TitleVideos.h"

#include <functional>
#include <memory>
#include <string>

#include "platform/video.h"
#include "scene/World.h"
#include "tools/art/BlockScene.h"
#include "tools/art/BlockView.h"
#include "tools/art/StartScene.h"

namespace {

constexpr int kWidth = 320, kHeight = 240, kFramesPerSecond = 25;
constexpr int kFrames = 90;      // 3.6 seconds each
constexpr int kDropFrames = 4;   // a block falls this many frames before it lands
constexpr float kDropHeight = 18;
constexpr int kAlreadyLanded = -kDropFrames;  // the start frame of the plate, which is there from the first

// The name in five-brick-high capitals, a column of strings per letter ('#' a brick), a gap between.
const char* const kLetters[][5] = {
    {"###", ".#.", ".#.", ".#.", ".#."},          // T
    {"###", "#.#", "#.#", "#.#", "###"},          // O
    {"#..", "#..", "#..", "#..", "###"},          // L
    {"#...#", "#...#", "#...#", ".#.#.", "..#.."},  // V
    {".#.", "#.#", "###", "#.#", "#.#"},          // A
    {"#...#", "##..#", "#.#.#", "#..##", "#...#"},  // N
    {"###", "#..", "##.", "#..", "###"},          // E
};
constexpr int kPlate = 34;

struct Drop {
  BlockDescription landed;
  int startFrame = 0;
};

RgbFrame toFrame(const Picture& picture) { return RgbFrame{picture.width, picture.height, picture.rgb}; }

// Draws the landed blocks and the falling ones at this frame; blocks not yet started are left out.
Picture drawDrops(const std::vector<Drop>& drops, int frame, const OrbitCamera& camera, const Picture& sky) {
  std::vector<std::unique_ptr<Block>> made;
  for (const Drop& drop : drops) {
    if (frame < drop.startFrame) continue;
    BlockDescription d = drop.landed;
    const int falling = drop.startFrame + kDropFrames - frame;
    if (falling > 0) d.position.y += kDropHeight * float(falling * falling) / float(kDropFrames * kDropFrames);
    made.push_back(createBlock(blockWorld(), d));
  }
  std::vector<const Block*> blocks;
  for (const auto& block : made)
    if (block) blocks.push_back(block.get());
  Picture picture = renderBlocks(blocks, camera, blockWorld().view.lightDirection, kWidth, kHeight, sky).picture;
  for (auto& block : made)
    if (block) destroyBlock(blockWorld(), *block);
  return picture;
}

// The lettering: the plate first, then the bricks letter by letter from the bottom row up.
std::vector<Drop> letteringDrops() {
  using namespace blockColours;
  const BlockColour colours[] = {red, yellow, blue, pink, orange, purple, brown};
  std::vector<Drop> drops;
  Drop plate{BlockDescription{}, kAlreadyLanded};
  plate.landed.kind = BasePlate;
  plate.landed.studsX = plate.landed.studsZ = kPlate;
  plate.landed.height = 1;
  plate.landed.colour = green;
  plate.landed.faceTextures = {-1, -1, -1, -1, -1, -1};
  drops.push_back(plate);
  std::vector<BlockDescription> bricks;
  int column = 1;
  for (size_t letter = 0; letter < std::size(kLetters); ++letter) {
    const int width = int(std::string(kLetters[letter][0]).size());
    for (int row = 4; row >= 0; --row)
      for (int x = 0; x < width; ++x)
        if (kLetters[letter][row][x] == '#')
          bricks.push_back(gridBlock(Brick, 1, 1, 0, kPlate, column + x, kPlate / 2, 4 - row, colours[letter]));
    column += width + 1;
  }
  // Every brick has landed with a second to spare.
  const int lastStart = kFrames - kFramesPerSecond - kDropFrames;
  for (size_t i = 0; i < bricks.size(); ++i)
    drops.push_back(Drop{bricks[i], 2 + int(i) * lastStart / int(bricks.size())});
  return drops;
}

// The camera rests while the letters come: only the falling bricks change from frame to frame, which
// keeps the file small.
OrbitCamera letteringCamera(int) {
  OrbitCamera camera;
  camera.azimuth = 270;
  camera.polar = 80;
  camera.distance = 190;
  camera.target = Vec3{0, 16, 0};
  return camera;
}

std::string encodeFrames(int frames, const std::function<Picture(int)>& draw) {
  VideoWriterHandle writer = startVideo(VideoFormat{kWidth, kHeight, kFramesPerSecond, 2 * kFramesPerSecond, 7});
  if (!writer) return {};
  for (int frame = 0; frame < frames; ++frame)
    if (!addVideoFrame(*writer, toFrame(draw(frame)))) return {};
  return finishVideo(*writer);
}

}  // namespace

void makeTitleVideos(OutputList& out, const Picture& picture) {
  // The sky without its fine dithering, which would cost more to encode than everything else.
  const Picture sky = resizePicture(resizePicture(picture, kWidth / 4, kHeight / 4), kWidth, kHeight);
  resetBlockScene();
  const std::vector<Drop> lettering = letteringDrops();
  out.push_back({"scene/title0.avi", encodeFrames(kFrames, [&](int frame) {
                   return drawDrops(lettering, frame, letteringCamera(frame), sky);
                 })});

  // The start scene, in the order it is built, each block dropping onto the ones before it; the camera
  // rests here too.
  buildStartScene();
  std::vector<Drop> garden;
  const std::vector<const Block*> built = sceneBlocks();
  const int lastStart = kFrames - kFramesPerSecond / 2 - kDropFrames;
  for (size_t i = 0; i < built.size(); ++i) {
    Drop drop{describeBlock(*built[i]), i == 0 ? kAlreadyLanded : 2 + int(i) * lastStart / int(built.size())};
    garden.push_back(drop);
  }
  resetBlockScene();
  out.push_back({"scene/title1.avi", encodeFrames(kFrames, [&](int frame) {
                   OrbitCamera camera;
                   camera.azimuth = 215;
                   camera.polar = 50;
                   camera.distance = 125;
                   camera.target = Vec3{0, 6, 0};
                   return drawDrops(garden, frame, camera, sky);
                 })});
}
