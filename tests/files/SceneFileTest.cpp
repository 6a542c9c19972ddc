// The scene text format: exact bytes written, round trips, the information header, and damaged files.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "files/SceneFile.h"
#include "platform/paths.h"
#include "scene/BlockTestKit.h"
#include "scene/SceneView.h"
#include "support/TestSupport.h"

namespace {

class SceneFileTest : public BlockModelTest {
protected:
  void SetUp() override { file.fixedDate = std::array<int, 3>{2026, 12, 8}; }
  bool readText(std::string_view text, const std::string& path) { return readSceneText(file, world, text, path); }
  bool readFile(const std::string& path) { return ReadSceneFile(file, world, path); }
  bool writeFile(const std::string& path) { return WriteSceneFile(file, world, path); }
  std::string written() { return sceneText(file, world); }
  void build() { BuildLoadedScene(file, world); }
  static std::optional<std::string> named(const char* background) { return background; }

  SceneFileState file;
  TempFolder folder;
};

const char* const kSmallScene =
    "//image/back001.ppm\r\n"
    "30.000000 45.000000 200.000000 0.000000 1.500000 -2.000000\r\n"
    "1.000000 2.000000 3.000000 0.000000 -1.000000 0.000000 \r\n"
    "5 \r\n"
    "1 10 10 1 0 0.000000 0.000000 0.000000 0.000000 1.000000 0.000000 1.000000 -1 -1 -1 -1 -1 -1 \r\n"
    "0 2 4 1 1 2.000000 4.000000 -2.000000 1.000000 0.000000 0.000000 1.000000 3 -1 -1 -1 -1 -1 \r\n";

TEST_F(SceneFileTest, WritesTheStoredLayoutByteForByte) {
  file.backgroundPath = "image/back001.ppm";
  ASSERT_TRUE(readText(kSmallScene, "small.lml"));
  EXPECT_EQ(world.blockCounter, 2);
  build();
  ASSERT_EQ(world.scene.count(), 2);
  EXPECT_EQ(world.basePlate->kind, BasePlate);
  world.blockCounter = 5;  // added-then-deleted blocks still count
  std::string expected = kSmallScene;
  EXPECT_EQ(written(), expected);
  ASSERT_TRUE(writeFile(folder.file("out.lml")));
  EXPECT_EQ(folder.read("out.lml"), expected);
  EXPECT_FALSE(file.namedBackground);  // the file names the background already shown
}

TEST_F(SceneFileTest, EveryBlockKindSurvivesARoundTrip) {
  for (auto& entry : world.shapes.entries) entry = boxShape();
  put(describe(BasePlate, 30, 30, 1, {0, 0, 0}));
  for (int32_t kind = 0; kind <= kLastShapeKind; ++kind) {
    BlockDescription d = describe(kind, kind == SlopeBrick ? 3 : 2, 2, 1 + kind % 3, {});
    d.position = {-50.0f + 0.1234567f * kind, 4.0f + 13 * kind, 1.0f / 3.0f};
    d.orientation = kind % 4;
    d.colour = {kind / 230.0f, 0.5f, 1 - kind / 230.0f, 1};
    d.faceTextures = {kind, -1, 2, -1, 4, kind % 7};
    put(d);
  }
  std::vector<BlockDescription> before;
  for (const auto& node : world.scene.nodes) before.push_back(describeBlock(*node->block));
  ASSERT_TRUE(writeFile(folder.file("every.lml")));
  sceneClear(world);
  ASSERT_TRUE(readFile(folder.file("every.lml")));
  ASSERT_EQ(file.loadedDescriptions.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const BlockDescription& a = before[i];
    const BlockDescription& b = file.loadedDescriptions[i];
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.studsX, b.studsX) << i;
    EXPECT_EQ(a.studsZ, b.studsZ) << i;
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.orientation, b.orientation);
    EXPECT_NEAR(a.position.x, b.position.x, 1e-6);
    EXPECT_NEAR(a.position.y, b.position.y, 1e-6 * std::abs(a.position.y) + 1e-6);
    EXPECT_NEAR(a.position.z, b.position.z, 1e-6);
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.colour[c], b.colour[c], 1e-6);
    EXPECT_EQ(a.faceTextures, b.faceTextures);
  }
  build();
  EXPECT_EQ(world.scene.count(), static_cast<int>(before.size()));
  EXPECT_EQ(world.missingShapes, 0);
}

std::string headerScene() {
  return "//Kim Minji\r\n//12\r\n//Seoul\r\n//kim@example.org\r\n//2026 12 8\r\n//Tower\r\n//A tall one\r\n" +
         std::string(kSmallScene);
}

TEST_F(SceneFileTest, HeaderReadWithTheInfoFlag) {
  ASSERT_TRUE(folder.write("with.lml", headerScene()));
  file.readInfoFlag = true;
  ASSERT_TRUE(readFile(folder.file("with.lml")));
  EXPECT_FALSE(file.readInfoFlag);
  const SceneFileInfo& info = file.info;
  EXPECT_EQ(info.name, "Kim Minji");
  EXPECT_EQ(info.age, "12");
  EXPECT_EQ(info.address, "Seoul");
  EXPECT_EQ(info.email, "kim@example.org");
  EXPECT_EQ(info.date, "12. 8. 2026.");
  EXPECT_EQ(info.path, folder.file("with.lml"));
  EXPECT_EQ(info.title, "Tower");
  EXPECT_EQ(info.description, "A tall one");
  EXPECT_EQ(file.namedBackground, named("image/back001.ppm"));
  EXPECT_EQ(world.view.distance, 200);
  EXPECT_EQ(world.view.lightPosition.z, 3);
  EXPECT_EQ(file.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, HeaderReadWithoutTheFlagIsSkipped) {
  file.info.title = "old";
  ASSERT_TRUE(readText(headerScene(), "x.lml"));
  EXPECT_EQ(file.namedBackground, named("Kim"));  // the name line stands where a background would
  EXPECT_EQ(file.info.title, "");
  EXPECT_EQ(file.info.path, "");
  EXPECT_EQ(world.view.azimuth, 30);
  EXPECT_EQ(file.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, InfoFlagOnAFileWithoutHeader) {
  file.info.title = "kept";
  file.readInfoFlag = true;
  ASSERT_TRUE(readText(kSmallScene, "plain.lml"));
  EXPECT_EQ(file.info.name, "image/back001.ppm");
  EXPECT_EQ(file.info.title, "kept");  // a short header leaves the later fields as they were
  EXPECT_FALSE(file.namedBackground);
  EXPECT_EQ(world.view.polar, 45);
  EXPECT_EQ(file.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, WrittenHeaderReadsBack) {
  file.author = {"Lee", "9", "Busan", "lee@example.org"};
  file.info.title = "Bridge";
  file.info.description = "two lines\r\nof text";
  file.writeInfoFlag = true;
  const std::string text = written();
  EXPECT_EQ(text.substr(0, 53), "//Lee\r\n//9\r\n//Busan\r\n//lee@example.org\r\n//2026 12 8\r\n");
  file.info = {};
  file.readInfoFlag = true;
  ASSERT_TRUE(readText(text, "b.lml"));
  EXPECT_EQ(file.info.name, "Lee");
  EXPECT_EQ(file.info.date, "12. 8. 2026.");
  EXPECT_EQ(file.info.description, "two lines  of text");
}

TEST_F(SceneFileTest, BlockLinesToleratedAndRefused) {
  const std::string text =
      "//bg\n1 2 3 4 5 6\n1 2 3 4 5 6\n999999999\n"
      "0 1 1 1 0 0 0 0 1 0 0 1\n"                       // short: textures stay 0
      "/ a comment between blocks\n"
      "\n   \t \n"                                       // blank lines make no blocks
      "0   2 2 1 0 8 4 0 1 1 1 1 -1 -1 -1 -1 -1 -1\n"    // extra blanks, no trailing blank
      "231 1 1 1 0 0 0 0 1 1 1 1\n"                      // no such kind
      "-1 1 1 1 0 0 0 0 1 1 1 1\n"
      "0 1 1 1 0 nan 0 0 1 1 1 1\n"
      "0 1 1 1 0 0 inf 0 1 1 1 1\n"
      "0 1 1 1 0 0 1e30 0 1 1 1 1\n"
      "0 0 0 0 0 0 0 0 0 0 0 0\n"                        // a brick with no size
      "0 61 1 1 0 0 0 0 1 1 1 1\n"
      "1 100 100 1 0 0 0 0 0 1 0 1\n"
      "2 2 2 1 -1 0 0 0 1 1 1 1\n"
      "garbage line\n"
      "0 1 1 1 0 0 0 0 1 1 1 1" + std::string(600, ' ') + "0 1 1 1 0 5 5 5 1 1 1 1\n"  // the rest is skipped
      "21 0 0 0 2 4 4 4 1 0 0 1 -1 -1 -1 -1 -1 -1";      // no line end at the end of the file
  ASSERT_TRUE(readText(text, "t.lml"));
  const auto& d = file.loadedDescriptions;
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(world.blockCounter, 6);
  EXPECT_EQ(d[0].faceTextures, (std::array<int32_t, 6>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(d[1].position.x, 8);
  EXPECT_EQ(d[2].studsX, 100);
  EXPECT_EQ(d[3].orientation, -1);
  EXPECT_EQ(d[4].position.x, 0);
  EXPECT_EQ(d[5].kind, 21);
  EXPECT_EQ(d[5].position.z, 4);
  EXPECT_EQ(file.namedBackground, named("bg"));
}

TEST_F(SceneFileTest, FilesThatAreNotScenesChangeNothing) {
  ASSERT_TRUE(readText(kSmallScene, "good.lml"));
  const SceneView view = world.view;
  for (const char* bad : {"", "//only a background\n", "//bg\n1 2 3 4 5 6\n", "//bg\n1 2 3 4 5 6\r\n1 2 3 4 5 6"}) {
    EXPECT_FALSE(readText(bad, "bad.lml")) << bad;
    EXPECT_EQ(file.loadedDescriptions.size(), 2u);
    EXPECT_EQ(world.view.azimuth, view.azimuth);
    EXPECT_EQ(file.namedBackground, named("image/back001.ppm"));  // still the good file's
  }
  // A view value that is not a number leaves the view as it was; the blocks still load.
  ASSERT_TRUE(readText("1 nan 3 4 5 6\n1 2 3 4 5 6\n0\n", "v.lml"));
  EXPECT_EQ(world.view.azimuth, view.azimuth);
  EXPECT_TRUE(file.loadedDescriptions.empty());
  EXPECT_FALSE(file.namedBackground);  // this one names none
  EXPECT_FALSE(readFile(folder.file("missing.lml")));
  // A count smaller than the block lines that follow: every line is taken.
  ASSERT_TRUE(readText("//bg\n0 0 0 0 0 0\n0 0 0 0 0 0\n1 \n0 1 1 1 0 0 3 0 1 1 1 1\n0 1 1 1 0 8 3 0 1 1 1 1\n", "c.lml"));
  EXPECT_EQ(file.loadedDescriptions.size(), 2u);
  EXPECT_EQ(world.blockCounter, 2);
}

TEST_F(SceneFileTest, AByteOrderMarkAtTheStartIsSkipped) {
  const std::string bom = "\xEF\xBB\xBF";
  ASSERT_TRUE(folder.write("bom.lml", bom + kSmallScene));
  ASSERT_TRUE(readFile(folder.file("bom.lml")));
  EXPECT_EQ(file.namedBackground, named("image/back001.ppm"));
  EXPECT_EQ(world.view.azimuth, 30);
  EXPECT_EQ(world.view.lightPosition.z, 3);
  ASSERT_EQ(file.loadedDescriptions.size(), 2u);  // the count line is not taken for a block
  EXPECT_EQ(file.loadedDescriptions[0].kind, BasePlate);

  file.readInfoFlag = true;
  ASSERT_TRUE(readText(bom + headerScene(), "h.lml"));
  EXPECT_EQ(file.info.name, "Kim Minji");
  EXPECT_EQ(file.info.description, "A tall one");
  EXPECT_EQ(file.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, FailedWriteKeepsTheOldFile) {
  ASSERT_TRUE(folder.write("keep.lml", "old contents"));
  ASSERT_TRUE(folder.makeFolder("keep.lml.dir"));
  EXPECT_FALSE(writeFile(folder.file("no/such/folder/x.lml")));
  EXPECT_FALSE(writeFile(folder.file("keep.lml.dir")));
  EXPECT_EQ(folder.read("keep.lml"), "old contents");
}

}  // namespace
