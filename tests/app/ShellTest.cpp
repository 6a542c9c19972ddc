// The shell: start-up and its failures, the window layout, the message loop's frames and failure count,
// minimise and restore, and shutting down once.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/PanelArt.h"
#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "files/SceneFile.h"
#include "platform/device3d.h"
#include "platform/display.h"
#include "platform/strings.h"
#include "render/Bitmaps.h"
#include "render/RenderDevice.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "sound/Sounds.h"
#include "sound/WaveBuilder.h"

namespace {

BlockDescription describe(int32_t kind, int32_t studsX, int32_t studsZ, Vec3 position) {
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

// A start scene of a plate with one brick on it, written the way the program writes scenes.
void writePlateAndBrickScene(const std::string& path) {
  World world;
  SceneFileState file;
  putBlockInScene(world, describe(1, 10, 10, {0, 0, 0}));
  putBlockInScene(world, describe(0, 2, 4, {0, 2, 0}));
  world.view.azimuth = 30;
  world.view.polar = 35;
  world.view.distance = 80;
  world.view.lightDirection = Vec3{-0.4f, -1, 0.3f};
  ASSERT_TRUE(WriteSceneFile(file, world, path));
  sceneClear(world);
}

class Shell : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    // The 3D view starts with its sky picture; the panel pictures come from the generated data folder.
    copyPanelPictures();
    writePlateAndBrickScene(tmp.file("data/scene/scene.lml"));
  }
};

// The frame loop with a step of the test's own before each pass's frame. A replayed journal brings one key
// a pass (its keys are an idle pass apart) to a window of the test's that holds the focus, and each key
// runs the next step. The steps can take the render target away from the device, so that the pass's frame
// fails to draw.
class ScriptedLoop : public Shell {
protected:
  static constexpr uint32_t kFirstKey = 100000;
  // Keys further apart than a frame of the screen: each key is answered by its own frame.
  static constexpr uint32_t kKeyGapMs = 20;

  // Start the program replaying a journal of one key for each step, keyGap apart, then give the keys to
  // the script.
  void startScripted(std::vector<std::function<void()>> script, uint32_t keyGap = kKeyGapMs) {
    steps = std::move(script);
    std::string journal;
    for (size_t i = 0; i < steps.size(); ++i)
      journal += std::to_string(kFirstKey + keyGap * i) + " key 65 down\n";
    ASSERT_TRUE(tmp.write("script.journal", journal));
    setenv("TOLVANE_REPLAY", tmp.file("script.journal").c_str(), 1);
    ASSERT_TRUE(platformStart(Backend::Headless));
    ASSERT_TRUE(startUp(*p, ""));
    current = this;
    if (!isClassRegistered("Script"))
      registerClass(WindowClass{"Script", CS_REDRAW, "", [](HWindow window, const Message& m) -> intptr_t {
                                  if (m.msg == Msg::KeyDown && current && current->next < current->steps.size())
                                    current->steps[current->next++]();
                                  return defWindowProc(window, m);
                                }});
    HWindow keys = createWindow("Script", "script", false, -10, -10, 1, 1, nullptr);
    showWindow(keys, ShowCmd::ShowNoActivate);
    setFocus(keys);
    const uint32_t now = tickCount();
    ASSERT_LT(now, kFirstKey);
    headlessAdvanceClock(kFirstKey - now);
  }
  void TearDown() override {
    restoreTarget();
    current = nullptr;
    Shell::TearDown();
  }
  // The device loses its render target: clearing the frame fails.
  void takeTarget() {
    Device3D& device = *p->device.device;
    if (device.target) target = device.target;
    device.target = nullptr;
  }
  // The target comes back, unless the device was shut down meanwhile.
  void restoreTarget() {
    if (p && target && p->device.device) p->device.device->target = target;
    target = nullptr;
  }

  static inline ScriptedLoop* current = nullptr;
  std::vector<std::function<void()>> steps;
  size_t next = 0;
  DisplaySurface* target = nullptr;
};

}  // namespace

TEST_F(Shell, MissingFoldersEndStartUpWithCode1BeforeAnyWindow) {
  recordDir(tmp.file("nowhere"));
  EXPECT_EQ(runTolvane(*p, ""), 1);
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
  EXPECT_EQ(p->shell.BackdropWindow, nullptr);
}

TEST_F(Shell, TheWorkingWindowsTileA640By480Screen) {
  ASSERT_TRUE(startUp(*p, ""));
  const ShellState& shell = p->shell;
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
  ASSERT_TRUE(startUp(*p, ""));
  const ShellState& shell = p->shell;
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
  EXPECT_EQ(runTolvane(*p, ""), 1);
  EXPECT_EQ(headlessMessageBoxes().size(), 2u);
}

TEST_F(Shell, TheExitButtonOrClosingTheWindowEndsTheProgramWithCode0) {
  ASSERT_TRUE(startUp(*p, ""));
  headlessKeyPress(VK_ESCAPE);  // Escape alone does not leave
  headlessClick(100 + 520, 12);
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_TRUE(p->shell.shutDownDone);

  freshProgram();
  ASSERT_TRUE(startUp(*p, ""));
  headlessCloseRequest();
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_TRUE(p->shell.shutDownDone);
  // The desktop's close leaves as the exit button does: the scene is kept for the next start.
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
}

TEST_F(Shell, ShutDownRunsOncePostingOneQuit) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  EXPECT_FALSE(p->shell.shutDownDone);
  shutDownApp(*p);
  shutDownApp(*p);
  EXPECT_EQ(drain(), 1);
  EXPECT_TRUE(p->shell.shutDownDone);
  EXPECT_EQ(p->device.device, nullptr);  // the device is released
}

TEST_F(ScriptedLoop, TheThirdRenderingFailureEndsTheRunTwoDoNot) {
  // Six passes: the frames of the second and the fourth fail, the sixth ends the run with code 7.
  auto fail = [this] { takeTarget(); };
  auto draw = [this] { restoreTarget(); };
  startScripted({draw, fail, draw, fail, draw, [] { postQuitMessage(7); },
                 // The next run: every frame fails from here on.
                 fail, fail, fail});
  EXPECT_EQ(runMessageLoop(*p), 7);
  EXPECT_EQ(p->shell.renderFailures, 2);
  EXPECT_FALSE(p->shell.shutDownDone);
  EXPECT_EQ(next, 6u);

  // The third failure of the program's run comes at the next frame, and ends it.
  runMessageLoop(*p);
  EXPECT_EQ(p->shell.renderFailures, 3);
  EXPECT_TRUE(p->shell.shutDownDone);
  EXPECT_EQ(next, 7u);  // one more failure after the two of the first run
}

TEST_F(ScriptedLoop, AFrameIsDrawnOncePerRequestAndOnlyWhileTheViewIsActive) {
  ShellState& shell = p->shell;
  startScripted({[&] { shell.frameRequested = 0; },  // a key whose handler takes the request back: no frame
                 [] {},                              // a key: one frame
                 [&] { shell.viewActive = 0; },      // the pointer went over a panel: none
                 [&] { shell.frameRequested = 1; },  // none while the view is not active
                 [] { postQuitMessage(0); }});
  // Every frame fails to draw here, so the failure count counts the frames the loop ran.
  takeTarget();
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_EQ(next, 5u);
  EXPECT_EQ(shell.renderFailures, 1);
  EXPECT_FALSE(p->shell.shutDownDone);
}

TEST_F(ScriptedLoop, AnIdleProgramDrawsNothingUntilAskedAndContinuousDrawingFollowsTheRefresh) {
  ShellState& shell = p->shell;
  // Keys five seconds apart; between them nobody touches anything.
  startScripted({[] {},                                   // a key: one frame, then quiet
                 [&] { shell.onDemandRedraw = 0; },       // continuous drawing: a frame at every refresh
                 [&] { shell.onDemandRedraw = 1; },       // back on demand: the key's frame, then quiet
                 [] { postQuitMessage(0); }},
                5000);
  // Every frame fails here; the count starts far below the limit, so it counts the frames.
  takeTarget();
  constexpr int kStart = -1000000;
  shell.renderFailures = kStart;
  const uint32_t start = tickCount();
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_EQ(next, 4u);
  EXPECT_GE(tickCount() - start, 15000u);
  const int frames = shell.renderFailures - kStart;
  const int refreshes = static_cast<int>(5000 / frameInterval());
  // Never more than the screen can show; the headless clock's own steps make it somewhat fewer.
  EXPECT_GE(frames, 2 + refreshes / 2);
  EXPECT_LE(frames, 2 + refreshes + 2);
}

TEST_F(Shell, MinimiseThenRestoreBringsTheLayoutBack) {
  ASSERT_TRUE(startUp(*p, ""));
  const ShellState& shell = p->shell;
  drain();
  minimiseProgram(*p);
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
  ASSERT_TRUE(startUp(*p, ""));
  headlessClick(100 + 520, 12);
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
}

TEST_F(Shell, ExitQuestionCancelKeepsRunningAndNoKeepsTheScene) {
  ASSERT_TRUE(startUp(*p, ""));
  const ShellState& shell = p->shell;
  drain();
  p->shell.sceneUnchanged = 0;
  headlessAnswerNext(IDCANCEL);
  exitProgram(*p);
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "저장 하시겠습니까?");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "저장");
  EXPECT_EQ(headlessMessageBoxes()[0].ownerClass, "ViewerClass");
  EXPECT_EQ(drain(), 0);
  EXPECT_FALSE(fileExists(tmp.file("install/Port/temp.lml")));
  EXPECT_TRUE(isWindowEnabled(shell.BottomPanel));
  EXPECT_TRUE(isWindowEnabled(shell.TabStrip));

  headlessAnswerNext(IDNO);
  exitProgram(*p);
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
  EXPECT_EQ(drain(), 1);
}

TEST_F(Shell, TheTabStripsExitButtonActsOnlyWhenReleasedOnIt) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  const Surface& before = composeScreen();
  uint16_t exitNormal = before.at(100 + 520, 12);
  headlessMouseMove(100 + 520, 12);
  headlessMouseButton(1, true);
  drain();
  EXPECT_EQ(p->shell.pressedButton, 502);
  EXPECT_NE(composeScreen().at(100 + 520, 12), exitNormal);  // drawn pressed
  headlessMouseMove(100 + 300, 12);
  headlessMouseButton(1, false);  // released elsewhere: nothing happens
  EXPECT_EQ(drain(), 0);
  EXPECT_EQ(p->shell.pressedButton, 0);
  EXPECT_EQ(composeScreen().at(100 + 520, 12), exitNormal);
  headlessClick(100 + 520, 12);
  EXPECT_EQ(drain(), 1);  // the exit sequence ran and the program quits
  EXPECT_TRUE(fileExists(tmp.file("install/Port/temp.lml")));
}

TEST_F(Shell, TheEditScreensPanelsShowTheirPicturesAndComeBackAfterAPaint) {
  ASSERT_TRUE(startUp(*p, ""));
  const ShellState& shell = p->shell;
  const PanelArt& art = p->panelArt;
  drain();
  const Surface& side = windowSurface(shell.SidePanel);
  const Surface& bottom = windowSurface(shell.BottomPanel);
  EXPECT_EQ(side.at(50, 5), art.vedit.at(50, 5));
  EXPECT_EQ(bottom.at(300, 40), art.hedit.at(300, 40));
  // The first block picture shows the top band of its strip.
  EXPECT_EQ(side.at(2 + 43, 113 + 35), art.blocks[0].at(43, 35));
  fillSurfaceRect(windowSurface(shell.SidePanel), Rect{0, 0, 100, 480}, 0);
  invalidateRect(shell.SidePanel, nullptr);
  drain();
  EXPECT_EQ(windowSurface(shell.SidePanel).at(50, 5), art.vedit.at(50, 5));
  EXPECT_TRUE(headlessMessageBoxes().empty());  // every picture was there
}

TEST_F(Shell, ExitWithMusicOnMovesToTheNextTuneAndStoresIt) {
  ASSERT_TRUE(startUp(*p, ""));
  p->sound.musicOn = true;
  p->sound.backMusicNo = 4;
  exitProgram(*p);
  EXPECT_EQ(p->sound.backMusicNo, 1);
  RegKey key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane");
  char tune[10] = {};
  ASSERT_TRUE(regQueryValue(key, "BackMusicNo", tune, sizeof tune));
  EXPECT_STREQ(tune, "1");
  regCloseKey(key);
}

TEST_F(Shell, DraggingOnTheViewOrbitsAndZoomsTheCamera) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  const SceneView& view = p->world.view;
  float azimuth = view.azimuth, distance = view.distance;
  Rect rect = windowRect(p->shell.ViewWindow);
  std::vector<uint16_t> before = windowSurface(p->shell.ViewWindow).pixels;
  headlessMouseMove(rect.left + 200, rect.top + 200);
  headlessMouseButton(1, true);
  for (int step = 1; step <= 5; ++step) {
    headlessMouseMove(rect.left + 200 + 10 * step, rect.top + 200);
    pump();
  }
  headlessMouseButton(1, false);
  drain();
  EXPECT_NE(view.azimuth, azimuth);
  EXPECT_NE(windowSurface(p->shell.ViewWindow).pixels, before);  // the new view is on the screen
  headlessMouseButton(3, true);
  headlessMouseMove(rect.left + 250, rect.top + 260);
  drain();
  runFrame(*p);
  headlessMouseButton(3, false);
  drain();
  EXPECT_GT(view.distance, distance);
}

TEST_F(Shell, TheStartPictureCoversTheScreenUntilTheFirstFrame) {
  ASSERT_TRUE(startUp(*p, ""));
  // The video window is gone once the view has drawn its first frame.
  EXPECT_EQ(p->shell.VideoWindow, nullptr);
  EXPECT_EQ(windowFromPoint(300, 200), p->shell.ViewWindow);
  HWindow video = createWindow("AVIViewerClass", "Tolvane", false, 0, 0, 640, 480, p->shell.BackdropWindow);
  paintStartPicture(video);
  BmpFile bmp;
  Surface picture;
  ASSERT_EQ(loadBmpFile(bmp, "./bmp\\start.bmp"), BmpResult::Ok);
  ASSERT_TRUE(bmpToSurface(bmp, picture));
  for (Point at : {Point{0, 0}, Point{320, 240}, Point{639, 479}, Point{100, 400}})
    EXPECT_EQ(windowSurface(video).at(at.x, at.y), picture.at(at.x, at.y));

  // Without its picture the program says which file is missing and starts all the same.
  freshProgram();
  ASSERT_TRUE(removeFile(tmp.file("data/bmp/start.bmp")));
  ASSERT_TRUE(startUp(*p, ""));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "./bmp\\start.bmp");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "BMP file Does not exist");

  // While the panels load after the working windows are shown, the start picture still covers them.
  freshProgram();
  ASSERT_TRUE(removeFile(tmp.file("data/bmp/mselect2.bmp")));
  bool coveredWhileLoading = false;
  headlessSetMessageBoxPolicy([&](const MessageBoxShown& box) {
    if (box.text == "./bmp\\mselect2.bmp")
      coveredWhileLoading = isWindowVisible(p->shell.BottomPanel) && windowFromPoint(620, 460) == p->shell.VideoWindow;
    return IDOK;
  });
  ASSERT_TRUE(startUp(*p, ""));
  EXPECT_TRUE(coveredWhileLoading);
  EXPECT_TRUE(programModeActive());  // also on a desktop already in the program's own size
}

TEST_F(Shell, EscapeDuringTheQuitJingleEndsTheWait) {
  ASSERT_TRUE(startUp(*p, ""));
  WaveBuilder quit;
  quit.data = std::string(22050 * 2 * 2, '\x08');  // two seconds
  ASSERT_TRUE(tmp.write("data/sound/quit.wav", quit.file()));
  p->shell.exitWaiting = 1;
  headlessKeyPress(VK_ESCAPE);
  uint32_t before = tickCount();
  playQuitJingleAndWait(*p);
  EXPECT_EQ(p->shell.exitWaitCancelled, 1);
  EXPECT_LT(tickCount() - before, 200u);
  EXPECT_EQ(p->sound.jingleBank, nullptr);
}
