// The shell: start-up and its failures, the window layout, the message loop's frames and failure count,
// minimise and restore, and shutting down once.
#include <gtest/gtest.h>

#include "app/PanelArt.h"
#include "app/Shell.h"
#include "render/Bitmaps.h"
#include "files/SceneFile.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "sound/Sounds.h"
#include "platform/strings.h"
#include "support/InstallFixture.h"
#include "sound/WaveBuilder.h"

static BlockDescription describe(int32_t kind, int32_t studsX, int32_t studsZ, Vec3 position) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = 1;
  d.position = position;
  d.colour = {0.2f, 0.7f, 0.2f, 1};
  d.faceTextures = {-1, -1, -1, -1, -1, -1};
  return d;
}

static void writeStartScene(const std::string& path) {
  putBlockInScene(describe(1, 10, 10, {0, 0, 0}));
  putBlockInScene(describe(0, 2, 4, {0, 2, 0}));
  sceneView.azimuth = 30;
  sceneView.polar = 35;
  sceneView.distance = 80;
  sceneView.lightDirection = Vec3{-0.4f, -1, 0.3f};
  ASSERT_TRUE(WriteSceneFile(path));
  sceneView = SceneView{};
  sceneClear();
}

class Shell : public InstallFixture {
protected:
  void SetUp() override {
    InstallFixture::SetUp();
    recordDir(tmp.file("install"));
    // The 3D view starts with its sky picture.
    tmp.write("data/scene/sky.ppm", "P6\n4 4\n255\n" + std::string(48, '\x60'));
    // A start scene: a plate with one brick on it, written the way the program writes scenes.
    writeStartScene(tmp.file("data/scene/scene.lml"));
    // The panel pictures come from the generated data folder.
    for (const std::string& name : listFolder(buildDataPath("bmp"))) {
      std::string bytes;
      ASSERT_TRUE(readWholeFile(buildDataPath("bmp/" + name), bytes)) << name;
      tmp.write("data/bmp/" + name, bytes);
    }
    shell = ShellState{};
    runFrame = nullptr;
    headlessRefuseDisplayWidth(0);
  }
  void TearDown() override {
    for (HWindow w : {shell.BackdropWindow, shell.VideoWindow}) destroyWindow(w);
    drain();
    runFrame = nullptr;
    headlessRefuseDisplayWidth(0);
    InstallFixture::TearDown();
  }
  // Dispatch what is queued; returns the number of quit messages seen.
  int drain() {
    int quits = 0;
    Message m;
    for (int guard = 0; guard < 10000 && peekMessage(m); ++guard)
      if (m.msg == Msg::Quit)
        ++quits;
      else
        dispatchMessage(m);
    return quits;
  }
};

TEST_F(Shell, MissingFoldersEndStartUpWithCode1BeforeAnyWindow) {
  recordDir(tmp.file("nowhere"));
  EXPECT_EQ(runTolvane(""), 1);
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
  EXPECT_EQ(shell.BackdropWindow, nullptr);
}

TEST_F(Shell, TheWorkingWindowsTileA640By480Screen) {
  ASSERT_TRUE(startUp(""));
  EXPECT_EQ(currentDisplayMode(), (DisplayMode{640, 480, 16}));
  EXPECT_EQ(windowRect(shell.BackdropWindow), (Rect{0, 0, 640, 480}));
  EXPECT_EQ(windowRect(shell.SidePanel), (Rect{0, 0, 100, 480}));
  EXPECT_EQ(windowRect(shell.TabStrip), (Rect{100, 0, 640, 24}));
  EXPECT_EQ(windowRect(shell.ViewWindow), (Rect{100, 24, 640, 404}));
  EXPECT_EQ(windowRect(shell.BottomPanel), (Rect{100, 404, 640, 480}));
  EXPECT_EQ(shell.viewClientRect, (Rect{0, 0, 540, 380}));
  EXPECT_EQ(windowFromPoint(300, 200), shell.ViewWindow);
  EXPECT_EQ(currentDirectory(), tmp.file("data") + "/");
  EXPECT_TRUE(headlessMessageBoxes().empty());
}

TEST_F(Shell, A640ModeRefusedFallsBackTo800By600WithTheWindowsCentred) {
  headlessRefuseDisplayWidth(640);
  ASSERT_TRUE(startUp(""));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text.rfind("SetDisplayMode to 640x480x16 failed\n", 0), 0u);
  EXPECT_EQ(shell.gameDisplayMode, (DisplayMode{800, 600, 16}));
  EXPECT_EQ(windowRect(shell.BackdropWindow), (Rect{0, 0, 800, 600}));
  EXPECT_EQ(windowRect(shell.ViewWindow), (Rect{180, 84, 720, 464}));
  EXPECT_EQ(windowRect(shell.SidePanel), (Rect{80, 60, 180, 540}));
  EXPECT_EQ(windowFromPoint(20, 20), shell.BackdropWindow);  // black border around the windows
}

TEST_F(Shell, BothModesRefusedEndStartUp) {
  headlessRefuseDisplayWidth(640);
  headlessRefuseDisplayWidth(800);
  EXPECT_EQ(runTolvane(""), 1);
  EXPECT_EQ(headlessMessageBoxes().size(), 2u);
}

TEST_F(Shell, TheExitButtonOrClosingTheWindowEndsTheProgramWithCode0) {
  ASSERT_TRUE(startUp(""));
  headlessKeyPress(VK_ESCAPE);  // Escape alone does not leave
  headlessClick(100 + 520, 12);
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_TRUE(shutDownHasRun());
  destroyWindow(shell.BackdropWindow);
  drain();
  shell = ShellState{};
  ASSERT_TRUE(startUp(""));
  headlessCloseRequest();
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_FALSE(isWindow(shell.SidePanel));
}

TEST_F(Shell, ShutDownRunsOncePostingOneQuit) {
  ShutDownApp();
  ShutDownApp();
  EXPECT_EQ(drain(), 1);
  EXPECT_TRUE(shutDownHasRun());
}

TEST_F(Shell, TheThirdRenderingFailureEndsTheRunTwoDoNot) {
  ASSERT_TRUE(startUp(""));
  int calls = 0;
  runFrame = [&] {
    ++calls;
    if (calls == 6) postQuitMessage(7);
    return calls != 2 && calls != 4;  // two failures, spread out
  };
  EXPECT_EQ(runMessageLoop(), 7);
  EXPECT_EQ(shell.renderFailures, 2);
  EXPECT_FALSE(shutDownHasRun());

  calls = 0;
  runFrame = [&] { return ++calls % 2 == 0; };  // the third failure comes at the fifth frame
  drain();
  runMessageLoop();
  EXPECT_EQ(shell.renderFailures, 3);
  EXPECT_TRUE(shutDownHasRun());
  EXPECT_EQ(calls, 1);  // one more failure after the two of the first run
}

TEST_F(Shell, FramesAreDrawnOnlyWhileRequestedAndTheViewIsActive) {
  ASSERT_TRUE(startUp(""));
  int frames = 0;
  runFrame = [&] {
    if (++frames == 3) shell.viewActive = 0;  // the pointer went over a panel
    return true;
  };
  headlessAdvanceClock(1);
  shell.frameRequested = 1;
  postMessage(shell.ViewWindow, Msg::App);
  Message m;
  for (int pass = 0; pass < 50; ++pass) {
    while (peekMessage(m)) dispatchMessage(m);
    if (shell.viewActive && shell.frameRequested && runFrame) runFrame();
  }
  EXPECT_EQ(frames, 3);
}

TEST_F(Shell, MinimiseThenRestoreBringsTheLayoutBack) {
  ASSERT_TRUE(startUp(""));
  drain();
  minimiseProgram();
  EXPECT_EQ(shell.minimised, 1);
  EXPECT_TRUE(isMinimised(shell.BackdropWindow));
  for (HWindow w : {shell.ViewWindow, shell.SidePanel, shell.BottomPanel, shell.TabStrip})
    EXPECT_FALSE(isWindowVisible(w));
  headlessRestoreRequest();
  drain();
  EXPECT_EQ(shell.minimised, 0);
  EXPECT_EQ(windowRect(shell.BackdropWindow), (Rect{0, 0, 640, 480}));
  EXPECT_EQ(windowRect(shell.ViewWindow), (Rect{100, 24, 640, 404}));
  for (HWindow w : {shell.ViewWindow, shell.SidePanel, shell.BottomPanel, shell.TabStrip})
    EXPECT_TRUE(isWindowVisible(w));
  EXPECT_EQ(currentDisplayMode(), (DisplayMode{640, 480, 16}));
  EXPECT_EQ(windowFromPoint(300, 200), shell.ViewWindow);
}

TEST_F(Shell, ExitWithAnUnchangedSceneAsksNothingAndKeepsTheScene) {
  ASSERT_TRUE(startUp(""));
  headlessClick(100 + 520, 12);
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
}

TEST_F(Shell, ExitQuestionCancelKeepsRunningAndNoKeepsTheScene) {
  ASSERT_TRUE(startUp(""));
  drain();
  shell.sceneUnchanged = 0;
  headlessAnswerNext(IDCANCEL);
  exitProgram();
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "저장 하시겠습니까?");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "저장");
  EXPECT_EQ(headlessMessageBoxes()[0].ownerClass, "ViewerClass");
  EXPECT_EQ(drain(), 0);
  EXPECT_FALSE(fileExists(tmp.file("install/Port/temp.lml")));
  EXPECT_TRUE(isWindowEnabled(shell.BottomPanel));
  EXPECT_TRUE(isWindowEnabled(shell.TabStrip));

  headlessAnswerNext(IDNO);
  exitProgram();
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
  EXPECT_EQ(drain(), 1);
}

TEST_F(Shell, TheTabStripsExitButtonActsOnlyWhenReleasedOnIt) {
  ASSERT_TRUE(startUp(""));
  drain();
  const Surface& before = composeScreen();
  uint16_t exitNormal = before.at(100 + 520, 12);
  headlessMouseMove(100 + 520, 12);
  headlessMouseButton(1, true);
  drain();
  EXPECT_EQ(shell.pressedButton, 502);
  EXPECT_NE(composeScreen().at(100 + 520, 12), exitNormal);  // drawn pressed
  headlessMouseMove(100 + 300, 12);
  headlessMouseButton(1, false);  // released elsewhere: nothing happens
  EXPECT_EQ(drain(), 0);
  EXPECT_EQ(shell.pressedButton, 0);
  EXPECT_EQ(composeScreen().at(100 + 520, 12), exitNormal);
  headlessClick(100 + 520, 12);
  EXPECT_EQ(drain(), 1);  // the exit sequence ran and the program quits
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
}

TEST_F(Shell, TheEditScreensPanelsShowTheirPicturesAndComeBackAfterAPaint) {
  ASSERT_TRUE(startUp(""));
  drain();
  const Surface& side = windowSurface(shell.SidePanel);
  const Surface& bottom = windowSurface(shell.BottomPanel);
  EXPECT_EQ(side.at(50, 5), panelArt.vedit.at(50, 5));
  EXPECT_EQ(bottom.at(300, 40), panelArt.hedit.at(300, 40));
  // The first block picture shows the top band of its strip.
  EXPECT_EQ(side.at(2 + 43, 113 + 35), panelArt.blocks[0].at(43, 35));
  fillSurfaceRect(windowSurface(shell.SidePanel), Rect{0, 0, 100, 480}, 0);
  invalidateRect(shell.SidePanel, nullptr);
  drain();
  EXPECT_EQ(windowSurface(shell.SidePanel).at(50, 5), panelArt.vedit.at(50, 5));
  EXPECT_TRUE(headlessMessageBoxes().empty());  // every picture was there
}

TEST_F(Shell, ExitWithMusicOnMovesToTheNextTuneAndStoresIt) {
  ASSERT_TRUE(startUp(""));
  shell.sound.musicOn = true;
  shell.sound.backMusicNo = 4;
  exitProgram();
  EXPECT_EQ(shell.sound.backMusicNo, 1);
  RegKey key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane");
  char tune[10] = {};
  ASSERT_TRUE(regQueryValue(key, "BackMusicNo", tune, sizeof tune));
  EXPECT_STREQ(tune, "1");
  regCloseKey(key);
}

TEST_F(Shell, DraggingOnTheViewOrbitsAndZoomsTheCamera) {
  ASSERT_TRUE(startUp(""));
  drain();
  float azimuth = sceneView.azimuth, distance = sceneView.distance;
  Rect view = windowRect(shell.ViewWindow);
  std::vector<uint16_t> before = windowSurface(shell.ViewWindow).pixels;
  headlessMouseMove(view.left + 200, view.top + 200);
  headlessMouseButton(1, true);
  for (int step = 1; step <= 5; ++step) {
    headlessMouseMove(view.left + 200 + 10 * step, view.top + 200);
    Message m;
    while (peekMessage(m)) dispatchMessage(m);
    if (shell.viewActive && shell.frameRequested && runFrame) runFrame();
  }
  headlessMouseButton(1, false);
  drain();
  EXPECT_NE(sceneView.azimuth, azimuth);
  EXPECT_NE(windowSurface(shell.ViewWindow).pixels, before);  // the new view is on the screen
  headlessMouseButton(3, true);
  headlessMouseMove(view.left + 250, view.top + 260);
  drain();
  if (runFrame) runFrame();
  headlessMouseButton(3, false);
  drain();
  EXPECT_GT(sceneView.distance, distance);
}

TEST_F(Shell, TheStartPictureCoversTheScreenUntilTheFirstFrame) {
  ASSERT_TRUE(startUp(""));
  // The video window is gone once the view has drawn its first frame.
  EXPECT_EQ(shell.VideoWindow, nullptr);
  EXPECT_EQ(windowFromPoint(300, 200), shell.ViewWindow);
  HWindow video = createWindow("AVIViewerClass", "Tolvane", false, 0, 0, 640, 480, shell.BackdropWindow);
  paintStartPicture(video);
  BmpFile bmp;
  Surface picture;
  ASSERT_EQ(loadBmpFile(bmp, "./bmp\\start.bmp", video), BmpResult::Ok);
  ASSERT_TRUE(bmpToSurface(bmp, picture));
  for (Point p : {Point{0, 0}, Point{320, 240}, Point{639, 479}, Point{100, 400}})
    EXPECT_EQ(windowSurface(video).at(p.x, p.y), picture.at(p.x, p.y));
  destroyWindow(shell.BackdropWindow);
  drain();
  // Without its picture the program says which file is missing and starts all the same.
  shell = ShellState{};
  ASSERT_TRUE(removeFile(tmp.file("data/bmp/start.bmp")));
  ASSERT_TRUE(startUp(""));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "./bmp\\start.bmp");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "BMP file Does not exist");
}

TEST_F(Shell, EscapeDuringTheQuitJingleEndsTheWait) {
  ASSERT_TRUE(startUp(""));
  WaveBuilder quit;
  quit.data = std::string(22050 * 2 * 2, '\x08');  // two seconds
  ASSERT_TRUE(tmp.write("data/sound/quit.wav", quit.file()));
  shell.exitWaiting = 1;
  headlessKeyPress(VK_ESCAPE);
  uint32_t before = tickCount();
  playQuitJingleAndWait(shell.sound);
  EXPECT_EQ(shell.exitWaitCancelled, 1);
  EXPECT_LT(tickCount() - before, 200u);
  EXPECT_EQ(shell.sound.jingleBank, nullptr);
}
