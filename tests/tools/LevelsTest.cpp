// The shipped game levels: complete, sound courses the aeroplane cannot leave, not won as they start, and
// won with the arrangement kept in the test data; plus the flight model those checks rely on.
#include "GeneratedData.h"
#include "SceneCheck.h"
#include "files/SceneFile.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "support/TestSupport.h"
#include "tools/art/BlockScene.h"
#include "tools/art/Flight.h"
#include "tools/art/Levels.h"
#include "tools/art/Picture.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <gtest/gtest.h>

namespace {

constexpr int kFlightSteps = 8000;

std::string levelName(int n, const char* stem, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "save/%s%03d.%s", stem, n, extension);
  return name;
}

int shippedLevelCount() {
  int n = 0;
  while (findOutput(generatedData(), levelName(n + 1, "game", "gam"))) ++n;
  return n;
}

struct Move {
  int block = 0;
  BlockDescription description;
};

// level file -> the white blocks to move.
std::map<std::string, std::vector<Move>> readSolutions() {
  std::map<std::string, std::vector<Move>> out;
  std::ifstream in(testDataPath("tools/level-solutions.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string file;
    Move m;
    BlockDescription& d = m.description;
    if (fields >> file >> m.block >> d.kind >> d.studsX >> d.studsZ >> d.orientation >> d.position.x >> d.position.y >>
        d.position.z)
      out["save/" + file].push_back(m);
  }
  return out;
}

// Build a small course by hand: plate, the aeroplane heading +z at the origin, and given blocks.
void course(std::initializer_list<BlockDescription> blocks) {
  ASSERT_TRUE(loadGeneratedScene("//./scene\\sky.ppm\n220 30 140 0 30 0\n0 60 -1 0 -0.1 0.99 \n0 \n"));
  putPlate(20, blockColours::green);
  putBlockInScene(blockWorld(), gridBlock(kAeroplaneKind, 0, 0, 0, 20, 8, 2, 0, blockColours::red));
  for (const BlockDescription& d : blocks) putBlockInScene(blockWorld(), d);
}

}  // namespace

TEST(Levels, TenOrMoreLevelsWithTheirPicturesNumberedFromOne) {
  const int count = shippedLevelCount();
  EXPECT_GE(count, 10);
  EXPECT_EQ(int(designLevels().size()), count);
  for (int n = 1; n <= count; ++n) {
    const OutputFile* picture = findOutput(generatedData(), levelName(n, "gimg", "bmp"));
    ASSERT_NE(picture, nullptr) << n;
    // Exactly the file the program writes for a slot: 24-bit, 98 x 69, bottom-up.
    EXPECT_EQ(picture->bytes.size(), 20478u);
    Picture decoded;
    ASSERT_TRUE(decodeBmp(picture->bytes, decoded));
    EXPECT_EQ(decoded.width, 98);
    EXPECT_EQ(decoded.height, 69);
    // A rendered view: the green plate fills much of the middle.
    int green = 0;
    for (int y = 20; y < 60; ++y)
      for (int x = 20; x < 80; ++x) {
        const Rgb c = decoded.at(x, y);
        green += c.g > 120 && c.g > c.r + 40 && c.g > c.b + 40;
      }
    EXPECT_GT(green, 600) << n;
  }
  EXPECT_EQ(findOutput(generatedData(), levelName(count + 1, "gimg", "bmp")), nullptr);
}

TEST(Levels, EachLevelHasOnePlaneOneTargetAndWhiteBlocksOnAPlate) {
  for (int n = 1; n <= shippedLevelCount(); ++n) {
    SCOPED_TRACE(n);
    const std::string text = findOutput(generatedData(), levelName(n, "game", "gam"))->bytes;
    EXPECT_EQ(text.rfind("//./scene\\sky.ppm\r\n", 0), 0u);
    ASSERT_TRUE(loadGeneratedScene(text));
    const std::vector<const Block*> blocks = blocksOfScene();
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(blocks[0]->kind, BasePlate);
    int planes = 0, targets = 0, whites = 0;
    for (const Block* b : blocks) {
      const bool yellow = isTargetColour(b->colour), white = isMovableColour(b->colour);
      planes += b->kind == kAeroplaneKind;
      targets += yellow;
      whites += white;
      if (b->kind == kAeroplaneKind || b->kind == BasePlate) {
        EXPECT_FALSE(yellow || white);
      }
      // Fixed blocks stay well clear of both colour tests (set-up picking takes anything above 0.8).
      if (!yellow && !white) {
        EXPECT_FALSE(b->colour[0] > 0.8f && b->colour[1] > 0.8f && b->colour[2] > 0.8f);
        EXPECT_FALSE(b->colour[0] > 0.85f && b->colour[1] > 0.85f && b->colour[2] < 0.15f);
      }
    }
    EXPECT_EQ(planes, 1);
    EXPECT_EQ(targets, 1);
    EXPECT_GE(whites, 1);
    const std::vector<std::string> faults = overlapsAndFloaters();
    EXPECT_TRUE(faults.empty()) << faults.front();
  }
}

TEST(Levels, NoLevelIsWonAsItStartsAndTheAeroplaneStaysInside) {
  for (int n = 1; n <= shippedLevelCount(); ++n) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(loadGeneratedScene(findOutput(generatedData(), levelName(n, "game", "gam"))->bytes));
    const FlightResult flight = simulateFlight(kFlightSteps);
    EXPECT_FALSE(flight.reachedTarget);
    EXPECT_FALSE(flight.leftTheCourse);
    EXPECT_EQ(flight.steps, kFlightSteps);
  }
}

TEST(Levels, TheKeptArrangementOfWhiteBlocksWinsEveryLevel) {
  const auto solutions = readSolutions();
  const int count = shippedLevelCount();
  EXPECT_EQ(int(solutions.size()), count);
  for (int n = 1; n <= count; ++n) {
    SCOPED_TRACE(n);
    const auto found = solutions.find(levelName(n, "game", "gam"));
    ASSERT_NE(found, solutions.end());
    World read;
    SceneFileState file;
    ASSERT_TRUE(readSceneText(file, read, findOutput(generatedData(), levelName(n, "game", "gam"))->bytes, "level"));
    std::vector<BlockDescription> descriptions = file.loadedDescriptions;
    for (const Move& m : found->second) {
      ASSERT_LT(size_t(m.block), descriptions.size());
      BlockDescription& d = descriptions[size_t(m.block)];
      // Only white blocks may be moved and turned by the player.
      ASSERT_TRUE(isMovableColour(d.colour));
      EXPECT_EQ(d.kind, m.description.kind);
      EXPECT_EQ(d.studsX * d.studsZ, m.description.studsX * m.description.studsZ);
      const auto colour = d.colour;
      const auto pictures = d.faceTextures;
      d = m.description;
      d.height = d.kind == Brick || d.kind == SlopeBrick ? 1 : 0;
      d.colour = colour;
      d.faceTextures = pictures;
    }
    ASSERT_TRUE(loadGeneratedScene(findOutput(generatedData(), levelName(n, "game", "gam"))->bytes));
    World& world = blockWorld();
    sceneClear(world);
    sweepClearIndex(world.sweep);
    for (const BlockDescription& d : descriptions) placeBuiltBlock(world, createBlock(world, d));
    const std::vector<std::string> faults = overlapsAndFloaters();
    EXPECT_TRUE(faults.empty()) << faults.front();
    const FlightResult flight = simulateFlight(kFlightSteps);
    EXPECT_TRUE(flight.reachedTarget);
    EXPECT_FALSE(flight.leftTheCourse);
  }
}

TEST(Flight, AWallTurnsTheAeroplaneClockwiseAndASlopeLiftsIt) {
  // Heading +z into a white wall: it backs off and flies +x, on into the plate's east edge wall.
  course({gridBlock(Brick, 4, 1, 0, 20, 7, 10, 0, blockColours::white),
          gridBlock(Brick, 1, 12, 0, 20, 19, 1, 0, blockColours::blue)});
  FlightResult flight = simulateFlight(200);
  ASSERT_GE(flight.turnPoints.size(), 2u);
  EXPECT_NEAR(flight.turnPoints[0].z, 0 - 6 - 0.1f, 0.01f);   // the wall's near face is at z = 0
  EXPECT_NEAR(flight.turnPoints[1].x, 36 - 6 - 0.1f, 0.01f);  // then east until the edge wall
  EXPECT_FALSE(flight.reachedTarget);

  // A slope in the way is climbed; past it the aeroplane drops back to the plate.
  course({gridBlock(SlopeBrick, 3, 2, 1, 20, 8, 10, 0, blockColours::white),
          gridBlock(Brick, 6, 1, 0, 20, 7, 17, 0, blockColours::yellow)});
  flight = simulateFlight(400);
  EXPECT_EQ(flight.climbs, 1);
  EXPECT_EQ(flight.falls, 1);
  EXPECT_TRUE(flight.reachedTarget);
}

TEST(Flight, TheTargetCountsOnlyWhenMetAlone) {
  // The yellow block and a red one side by side across the path: both are met at once.
  course({gridBlock(Brick, 2, 1, 0, 20, 7, 10, 0, blockColours::yellow),
          gridBlock(Brick, 2, 1, 0, 20, 9, 10, 0, blockColours::red)});
  FlightResult flight = simulateFlight(300);
  EXPECT_FALSE(flight.reachedTarget);
  // Met alone it wins.
  course({gridBlock(Brick, 4, 1, 0, 20, 7, 10, 0, blockColours::yellow)});
  flight = simulateFlight(300);
  EXPECT_TRUE(flight.reachedTarget);
  // An open course lets it fly away; a scene without an aeroplane does not fly at all.
  course({});
  flight = simulateFlight(kFlightSteps);
  EXPECT_TRUE(flight.leftTheCourse);
  resetBlockScene();
  putPlate(20, blockColours::green);
  EXPECT_EQ(simulateFlight(100).steps, 0);
}

TEST(Levels, TheGameHelpPageListsEveryLevelWithItsPicture) {
  const OutputFile* page = findOutput(generatedData(), "GameHelp.html");
  ASSERT_NE(page, nullptr);
  const std::vector<LevelDesign> levels = designLevels();
  for (size_t i = 0; i < levels.size(); ++i) {
    EXPECT_NE(page->bytes.find(std::to_string(i + 1) + ". " + levels[i].title), std::string::npos) << i;
    // Every picture the page shows is one the generator writes.
    const std::string picture = levelName(int(i + 1), "gimg", "bmp");
    EXPECT_NE(page->bytes.find("src=\"" + picture + "\""), std::string::npos) << i;
    EXPECT_NE(findOutput(generatedData(), picture), nullptr);
  }
}
