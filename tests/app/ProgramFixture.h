// A fresh program on a private installation for every shell test, and the headless back end put back the
// way the test found it: no windows, no window classes that reach the program, nothing queued.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Shell.h"
#include "files/SceneFile.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "support/InstallFixture.h"

class ProgramFixture : public InstallFixture {
protected:
  void SetUp() override {
    InstallFixture::SetUp();
    headlessRefuseDisplayWidth(0);
    p = std::make_unique<Program>();
  }
  void TearDown() override {
    unsetenv("TOLVANE_DATA");
    endProgram();
    headlessRefuseDisplayWidth(0);
    InstallFixture::TearDown();
  }

  // Take down everything the program made while it still exists: restarting the back end destroys its
  // windows (their procedures still reach a live program, which shuts its view down) and forgets its window
  // classes and whatever is still queued.
  void endProgram() {
    if (!p) return;
    unsetenv("TOLVANE_REPLAY");
    EXPECT_TRUE(platformStart(Backend::Headless));
    p.reset();
  }
  // A second program in the same test, after the first one is gone.
  void freshProgram() {
    endProgram();
    headlessSetMessageBoxPolicy(nullptr);
    headlessClearMessageBoxes();
    p = std::make_unique<Program>();
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
  // One pass of the frame loop: the queued messages, then a frame when the view runs and one is asked for;
  // like the loop, it takes the editor's edits as changes to the scene.
  void pump() {
    drain();
    takeEdits();
    if (p->shell.viewActive && p->shell.frameRequested) runFrame(*p);
    takeEdits();
  }
  void takeEdits() {
    if (!p->editor.sceneEdited) return;
    p->editor.sceneEdited = false;
    p->shell.sceneUnchanged = 0;
  }

  // The start of a test's data folder: the sky picture and the panel pictures of the generated data.
  void copyPanelPictures() {
    tmp.write("data/scene/sky.ppm", "P6\n4 4\n255\n" + std::string(48, '\x60'));
    for (const std::string& name : listFolder(buildDataPath("bmp"))) {
      std::string bytes;
      ASSERT_TRUE(readWholeFile(buildDataPath("bmp/" + name), bytes)) << name;
      tmp.write("data/bmp/" + name, bytes);
    }
  }

  // The usual test installation: a private install folder, the panel pictures, and a start scene of a plate
  // with a red 4 x 2 brick on it, seen from azimuth 200.
  void installBrickOnPlate() {
    recordDir(tmp.file("install"));
    copyPanelPictures();
    writeStartScene({plainBlock(BasePlate, 10, 10, {0, 0, 0}, {0.2f, 0.7f, 0.2f, 1}),
                     plainBlock(Brick, 4, 2, {-8, 4, -12}, {1, 0, 0, 1})},
                    200);
  }
  // A private install folder on the shipped data folder (its tunes, notes and levels), started.
  void startOnShippedData() {
    recordDir(tmp.file("install"));
    setenv("TOLVANE_DATA", buildDataPath("").c_str(), 1);
    ASSERT_TRUE(startUp(*p, ""));
    pump();
  }

  // A start scene in the test's data folder, written the way the program writes scenes: these blocks, seen
  // from this azimuth (polar 40, distance 80).
  void writeStartScene(const std::vector<BlockDescription>& blocks, float azimuth) {
    World world;
    SceneFileState file;
    for (const BlockDescription& d : blocks) putBlockInScene(world, d);
    world.view.azimuth = azimuth;
    world.view.polar = 40;
    world.view.distance = 80;
    world.view.lightDirection = Vec3{-0.4f, -1, 0.3f};
    ASSERT_TRUE(WriteSceneFile(file, world, tmp.file("data/scene/scene.lml")));
    sceneClear(world);
  }
  static BlockDescription plainBlock(int32_t kind, int studsX, int studsZ, Vec3 position, std::array<float, 4> colour) {
    BlockDescription d;
    d.kind = kind;
    d.studsX = studsX;
    d.studsZ = studsZ;
    d.height = 1;
    d.position = position;
    d.colour = colour;
    d.faceTextures = {-1, -1, -1, -1, -1, -1};
    return d;
  }

  // Pointer input through the headless back end, a pass of the loop after each step.
  // The screen point where a world point is drawn in the 3D view.
  Point onScreen(Vec3 at) {
    const Vec3 s = projectPoint(p->renderer, at.x, at.y, at.z);
    return clientToScreen(p->shell.ViewWindow, Point{static_cast<int>(s.x), static_cast<int>(s.y)});
  }
  void moveTo(Point to) {
    headlessMouseMove(to.x, to.y);
    pump();
  }
  // A straight pointer path in steps of about 8 pixels, a pass after each.
  void dragTo(Point to) {
    const Point from = cursorPos();
    const int steps = std::max(1, static_cast<int>(std::hypot(to.x - from.x, to.y - from.y) / 8));
    for (int i = 1; i <= steps; ++i)
      moveTo(Point{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
  void press(Point at) {
    moveTo(at);
    headlessMouseButton(1, true);
    pump();
  }
  void release() {
    headlessMouseButton(1, false);
    pump();
  }

  std::unique_ptr<Program> p;
};
