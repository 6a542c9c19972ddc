// The installed view: the start scene read from the kept scene or the data folder's scene, the view start
// failing when neither reads, the frame conditions taken from editing, and the camera's share of a frame.
#include <gtest/gtest.h>

#include <cstdio>

#include "edit/Camera.h"
#include "edit/ViewInstall.h"
#include "files/InstallFolders.h"
#include "files/SceneFile.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "render/SceneTestView.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

class InstalledView : public testing::Test {
protected:
  void SetUp() override {
    startDir = currentDirectory();
    clearSceneState();
    editState = EditState{};
    files.makeFolder("install/Port");
    files.makeFolder("data/scene");
    InstallDir = files.file("install");
    setCurrentDirectory(files.file("data"));
    headlessSetMessageBoxPolicy(nullptr);
    headlessClearMessageBoxes();
  }
  void TearDown() override {
    setCurrentDirectory(startDir);
    InstallDir.clear();
    editState = EditState{};
  }
  // A stored scene: a plate and the given number of bricks, seen from the given azimuth.
  void writeScene(const std::string& path, int bricks, float azimuth) {
    clearSceneState();
    putBlockInScene(plateDescription(6, 6), NewBlockOptions{true, false});
    for (int i = 0; i < bricks; ++i) putBlockInScene(brickAt(-8.0f + 8 * i, 12, 0, {1, 1, 0, 1}));
    sceneView.azimuth = azimuth;
    sceneView.polar = 40;
    sceneView.distance = 60;
    sceneView.target = {0, 0, 0};
    ASSERT_TRUE(WriteSceneFile(path));
    clearSceneState();
    sceneView = SceneView{};
  }
  static void install() { installSceneRenderer(); }

  TempFolder files;
  std::string startDir;
};

}  // namespace

TEST_F(InstalledView, KeptSceneComesFirstThenTheDataFoldersScene) {
  writeScene(files.file("install/Port/temp.lml"), 2, 100);
  writeScene(files.file("data/scene/scene.lml"), 1, 200);
  {
    SceneTestView view(kWidth, kHeight, loadStartContent, install);
    ASSERT_TRUE(view.started) << lastRenderErrorText();
    EXPECT_EQ(sceneBlockCount(), 3);
    EXPECT_FLOAT_EQ(sceneView.azimuth, 100);
    ASSERT_NE(editState.cameraProbe, nullptr);
    EXPECT_NEAR(editState.cameraProbe->position.x, editState.probePoint.x, 1e-3f);
    EXPECT_TRUE(frameStep());
  }
  std::remove(files.file("install/Port/temp.lml").c_str());
  SceneTestView view(kWidth, kHeight, loadStartContent, install);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  EXPECT_EQ(sceneBlockCount(), 2);
  EXPECT_FLOAT_EQ(sceneView.azimuth, 200);
}

TEST_F(InstalledView, NoReadableSceneFailsTheViewStart) {
  files.write("data/scene/scene.lml", "");  // opens, but ends before its view lines
  SceneTestView view(kWidth, kHeight, loadStartContent, install);
  EXPECT_FALSE(view.started);
  EXPECT_NE(lastRenderErrorText().find("InitView failed."), std::string::npos);
}

TEST_F(InstalledView, FramesFollowTheEditingRecordAndTheCameraDrags) {
  writeScene(files.file("data/scene/scene.lml"), 1, 220);
  SceneTestView view(kWidth, kHeight, loadStartContent, install);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  // A turn of the selected block is drawn once, and the request is then cleared.
  selectedBlock = scene.nodes.back()->block.get();
  editState.rotatePending = true;
  ASSERT_TRUE(frameStep());
  EXPECT_FALSE(editState.rotatePending);
  EXPECT_TRUE(extentsOverlap(sceneRenderer.frameExtent, selectedBlock->screenRect));

  // An orbit drag turns the camera by the pointer's movement in the frame, then uses the movement up.
  trackCameraPointer(50, 50);  // no drag yet: nothing collects
  EXPECT_EQ(editState.deltaX, 0);
  beginCameraDrag(CameraDrag::Orbit, 100, 100);
  trackCameraPointer(104, 100);
  trackCameraPointer(110, 100);
  EXPECT_EQ(editState.deltaX, 10);
  ASSERT_TRUE(frameStep());
  EXPECT_FLOAT_EQ(sceneView.azimuth, 217);
  EXPECT_EQ(editState.deltaX, 0);
  endCameraDrag();
  EXPECT_FALSE(editState.orbitDrag);
  EXPECT_EQ(sceneRenderer.fullRedrawPending, 1);
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(sceneRenderer.frameExtent, (Rect{0, 0, kWidth, kHeight}));

  beginCameraDrag(CameraDrag::Zoom, 100, 100);
  trackCameraPointer(100, 110);
  ASSERT_TRUE(frameStep());
  EXPECT_FLOAT_EQ(sceneView.distance, 64);
}

TEST_F(InstalledView, ProgramConditionsReachTheFrame) {
  writeScene(files.file("data/scene/scene.lml"), 1, 220);
  bool gameRunning = false;
  auto installWithGame = [&gameRunning] {
    installSceneRenderer([&gameRunning](FrameConditions& c) { c.gameRunning = gameRunning; });
  };
  SceneTestView view(kWidth, kHeight, loadStartContent, installWithGame);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  selectedBlock = scene.nodes.back()->block.get();
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(sceneRenderer.lastExtent, sceneRenderer.frameExtent);  // the box was drawn last
  gameRunning = true;
  sceneRenderer.lastExtent = kEmptyExtent;
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(sceneRenderer.lastExtent, kEmptyExtent);  // no selection box during a game
}
