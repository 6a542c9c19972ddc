// The scene text format: exact bytes written, round trips, the information header, and damaged files.
#include <string>

#include "files/SceneFile.h"
#include "platform/paths.h"
#include "scene/BlockTestKit.h"
#include "scene/SceneView.h"
#include "support/TestSupport.h"

namespace {

class SceneFileTest : public BlockModelTest {
protected:
  void SetUp() override {
    BlockModelTest::SetUp();
    sceneFile = SceneFileState{};
    sceneView = SceneView{};
    sceneFile.setBackground = [this](const std::string& path) { backgrounds.push_back(path); };
    sceneFile.today = [] { return std::array<int, 3>{2026, 12, 8}; };
  }
  void TearDown() override {
    sceneFile = SceneFileState{};
    BlockModelTest::TearDown();
  }
  std::vector<std::string> backgrounds;
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
  sceneFile.backgroundPath = "image/back001.ppm";
  ASSERT_TRUE(readSceneText(kSmallScene, "small.lml"));
  EXPECT_EQ(blockCounter, 2);
  BuildLoadedScene();
  ASSERT_EQ(sceneBlockCount(), 2);
  EXPECT_EQ(basePlate->kind, BasePlate);
  blockCounter = 5;  // added-then-deleted blocks still count
  std::string expected = kSmallScene;
  EXPECT_EQ(sceneText(), expected);
  ASSERT_TRUE(WriteSceneFile(folder.file("out.lml")));
  EXPECT_EQ(folder.read("out.lml"), expected);
  EXPECT_TRUE(backgrounds.empty());  // the file names the background already shown
}

TEST_F(SceneFileTest, EveryBlockKindSurvivesARoundTrip) {
  for (auto& entry : shapeCatalogue.entries) entry = boxShape();
  putBlockInScene(describe(BasePlate, 30, 30, 1, {0, 0, 0}));
  for (int32_t kind = 0; kind <= kLastShapeKind; ++kind) {
    BlockDescription d = describe(kind, kind == SlopeBrick ? 3 : 2, 2, 1 + kind % 3, {});
    d.position = {-50.0f + 0.1234567f * kind, 4.0f + 13 * kind, 1.0f / 3.0f};
    d.orientation = kind % 4;
    d.colour = {kind / 230.0f, 0.5f, 1 - kind / 230.0f, 1};
    d.faceTextures = {kind, -1, 2, -1, 4, kind % 7};
    putBlockInScene(d);
  }
  std::vector<BlockDescription> before;
  for (const auto& node : scene.nodes) before.push_back(describeBlock(*node->block));
  ASSERT_TRUE(WriteSceneFile(folder.file("every.lml")));
  sceneClear();
  ASSERT_TRUE(ReadSceneFile(folder.file("every.lml")));
  ASSERT_EQ(sceneFile.loadedDescriptions.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const BlockDescription& a = before[i];
    const BlockDescription& b = sceneFile.loadedDescriptions[i];
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
  BuildLoadedScene();
  EXPECT_EQ(sceneBlockCount(), static_cast<int>(before.size()));
  EXPECT_TRUE(headlessMessageBoxes().empty());
}

std::string headerScene() {
  return "//Kim Minji\r\n//12\r\n//Seoul\r\n//kim@example.org\r\n//2026 12 8\r\n//Tower\r\n//A tall one\r\n" +
         std::string(kSmallScene);
}

TEST_F(SceneFileTest, HeaderReadWithTheInfoFlag) {
  ASSERT_TRUE(folder.write("with.lml", headerScene()));
  sceneFile.readInfoFlag = true;
  ASSERT_TRUE(ReadSceneFile(folder.file("with.lml")));
  EXPECT_FALSE(sceneFile.readInfoFlag);
  const SceneFileInfo& info = sceneFile.info;
  EXPECT_EQ(info.name, "Kim Minji");
  EXPECT_EQ(info.age, "12");
  EXPECT_EQ(info.address, "Seoul");
  EXPECT_EQ(info.email, "kim@example.org");
  EXPECT_EQ(info.date, "12. 8. 2026.");
  EXPECT_EQ(info.path, folder.file("with.lml"));
  EXPECT_EQ(info.title, "Tower");
  EXPECT_EQ(info.description, "A tall one");
  EXPECT_EQ(backgrounds, (std::vector<std::string>{"image/back001.ppm"}));
  EXPECT_EQ(sceneView.distance, 200);
  EXPECT_EQ(sceneView.lightPosition.z, 3);
  EXPECT_EQ(sceneFile.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, HeaderReadWithoutTheFlagIsSkipped) {
  sceneFile.info.title = "old";
  ASSERT_TRUE(readSceneText(headerScene(), "x.lml"));
  EXPECT_EQ(backgrounds, (std::vector<std::string>{"Kim"}));  // the name line stands where a background would
  EXPECT_EQ(sceneFile.info.title, "");
  EXPECT_EQ(sceneFile.info.path, "");
  EXPECT_EQ(sceneView.azimuth, 30);
  EXPECT_EQ(sceneFile.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, InfoFlagOnAFileWithoutHeader) {
  sceneFile.info.title = "kept";
  sceneFile.readInfoFlag = true;
  ASSERT_TRUE(readSceneText(kSmallScene, "plain.lml"));
  EXPECT_EQ(sceneFile.info.name, "image/back001.ppm");
  EXPECT_EQ(sceneFile.info.title, "kept");  // a short header leaves the later fields as they were
  EXPECT_TRUE(backgrounds.empty());
  EXPECT_EQ(sceneView.polar, 45);
  EXPECT_EQ(sceneFile.loadedDescriptions.size(), 2u);
}

TEST_F(SceneFileTest, WrittenHeaderReadsBack) {
  sceneFile.author = {"Lee", "9", "Busan", "lee@example.org"};
  sceneFile.info.title = "Bridge";
  sceneFile.info.description = "two lines\r\nof text";
  sceneFile.writeInfoFlag = true;
  const std::string text = sceneText();
  EXPECT_EQ(text.substr(0, 53), "//Lee\r\n//9\r\n//Busan\r\n//lee@example.org\r\n//2026 12 8\r\n");
  sceneFile.info = {};
  sceneFile.readInfoFlag = true;
  ASSERT_TRUE(readSceneText(text, "b.lml"));
  EXPECT_EQ(sceneFile.info.name, "Lee");
  EXPECT_EQ(sceneFile.info.date, "12. 8. 2026.");
  EXPECT_EQ(sceneFile.info.description, "two lines  of text");
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
  ASSERT_TRUE(readSceneText(text, "t.lml"));
  const auto& d = sceneFile.loadedDescriptions;
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(blockCounter, 6);
  EXPECT_EQ(d[0].faceTextures, (std::array<int32_t, 6>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(d[1].position.x, 8);
  EXPECT_EQ(d[2].studsX, 100);
  EXPECT_EQ(d[3].orientation, -1);
  EXPECT_EQ(d[4].position.x, 0);
  EXPECT_EQ(d[5].kind, 21);
  EXPECT_EQ(d[5].position.z, 4);
  EXPECT_EQ(backgrounds, (std::vector<std::string>{"bg"}));
}

TEST_F(SceneFileTest, FilesThatAreNotScenesChangeNothing) {
  ASSERT_TRUE(readSceneText(kSmallScene, "good.lml"));
  backgrounds.clear();
  const SceneView view = sceneView;
  for (const char* bad : {"", "//only a background\n", "//bg\n1 2 3 4 5 6\n", "//bg\n1 2 3 4 5 6\r\n1 2 3 4 5 6"}) {
    EXPECT_FALSE(readSceneText(bad, "bad.lml")) << bad;
    EXPECT_EQ(sceneFile.loadedDescriptions.size(), 2u);
    EXPECT_EQ(sceneView.azimuth, view.azimuth);
  }
  EXPECT_TRUE(backgrounds.empty());
  // A view value that is not a number leaves the view as it was; the blocks still load.
  ASSERT_TRUE(readSceneText("1 nan 3 4 5 6\n1 2 3 4 5 6\n0\n", "v.lml"));
  EXPECT_EQ(sceneView.azimuth, view.azimuth);
  EXPECT_TRUE(sceneFile.loadedDescriptions.empty());
  EXPECT_FALSE(ReadSceneFile(folder.file("missing.lml")));
  // A count smaller than the block lines that follow: every line is taken.
  ASSERT_TRUE(readSceneText("//bg\n0 0 0 0 0 0\n0 0 0 0 0 0\n1 \n0 1 1 1 0 0 3 0 1 1 1 1\n0 1 1 1 0 8 3 0 1 1 1 1\n", "c.lml"));
  EXPECT_EQ(sceneFile.loadedDescriptions.size(), 2u);
  EXPECT_EQ(blockCounter, 2);
}

TEST_F(SceneFileTest, FailedWriteKeepsTheOldFile) {
  ASSERT_TRUE(folder.write("keep.lml", "old contents"));
  ASSERT_TRUE(folder.makeFolder("keep.lml.dir"));
  EXPECT_FALSE(WriteSceneFile(folder.file("no/such/folder/x.lml")));
  EXPECT_FALSE(WriteSceneFile(folder.file("keep.lml.dir")));
  EXPECT_EQ(folder.read("keep.lml"), "old contents");
}

}  // namespace
