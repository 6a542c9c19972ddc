// The start scene loads with the program's reader, stands soundly, and shows bricks, slopes and shapes.
#include "GeneratedData.h"
#include "SceneCheck.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "tools/art/BlockScene.h"

#include <gtest/gtest.h>

namespace {
std::string startSceneText() {
  const OutputFile* file = findOutput(generatedData(), "scene/scene.lml");
  return file ? file->bytes : std::string();
}
}  // namespace

TEST(StartScene, ReadsBackAsASoundModelOnAGreenPlate) {
  const std::string text = startSceneText();
  ASSERT_FALSE(text.empty());
  // No information header: the background line comes first and keeps the program's default sky.
  EXPECT_EQ(text.rfind("//./scene\\sky.ppm\r\n", 0), 0u);
  ASSERT_TRUE(loadGeneratedScene(text));
  const std::vector<const Block*> blocks = blocksOfScene();
  ASSERT_GT(blocks.size(), 10u);
  const Block& plate = *blocks[0];
  EXPECT_EQ(plate.kind, BasePlate);
  EXPECT_EQ(plate.studsX, 20);
  EXPECT_EQ(plate.studsZ, 20);
  EXPECT_FLOAT_EQ(plate.colour[1], 1.0f);
  EXPECT_FLOAT_EQ(plate.colour[0], 0.0f);
  EXPECT_EQ(groundLevel(blockWorld().scene), 0.0f);
  int bricks = 0, slopes = 0, shapes = 0;
  for (const Block* b : blocks) {
    bricks += b->kind == Brick;
    slopes += b->kind == SlopeBrick;
    shapes += isShapeKind(b->kind);
    for (int32_t picture : b->faceTextures) EXPECT_EQ(picture, -1);
  }
  EXPECT_GE(bricks, 3);
  EXPECT_GE(slopes, 2);
  EXPECT_GE(shapes, 3);
  const std::vector<std::string> faults = overlapsAndFloaters();
  EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST(StartScene, TheCheckFindsOverlapsAndFloatingBlocks) {
  // The same check must see a block pushed into another and a block hanging in the air.
  ASSERT_TRUE(loadGeneratedScene(startSceneText()));
  putBlockInScene(blockWorld(), gridBlock(Brick, 1, 1, 0, 20, 10, 12, 0, blockColours::white));  // inside the cottage wall
  putBlockInScene(blockWorld(), gridBlock(Brick, 2, 2, 0, 20, 1, 17, 3, blockColours::white));   // three bricks up, alone
  const std::vector<std::string> faults = overlapsAndFloaters();
  int overlaps = 0, floaters = 0;
  for (const std::string& f : faults) {
    overlaps += f.find("overlaps") != std::string::npos;
    floaters += f.find("floats") != std::string::npos;
  }
  EXPECT_EQ(overlaps, 2);  // the new block and the wall it is pushed into
  EXPECT_EQ(floaters, 2);  // the block in the air, and the pushed-in one that could not settle
}

TEST(StartScene, WrittenTextMatchesWhatTheWriterMakesOfTheReadScene) {
  // Read and written again by the program's writer, the scene comes out byte for byte the same.
  const std::string text = startSceneText();
  ASSERT_TRUE(loadGeneratedScene(text));
  EXPECT_EQ(storedSceneText(), text);
}
