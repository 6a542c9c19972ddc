// A fresh program on a private installation for every shell test, and the headless back end put back the
// way the test found it: no windows, no window classes that reach the program, nothing queued.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/Shell.h"
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

  std::unique_ptr<Program> p;
};
