// The scene slots in the real program, headless, the dialog driven by its policy: keeping the view once per
// opening, the sixtieth slot on the third page and the full list, loading over an unsaved scene, loading
// a slot whose scene cannot be read, removing a slot with the later ones moving up, and the exit question's Yes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "files/SaveSlots.h"
#include "platform/dialog.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "render/Bitmaps.h"

using namespace thumbnail;

namespace {

class SlotDialogs : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    startOnShippedData();
  }
  // Slots 1..n, each a copy of the shipped start scene with a picture that does not read.
  void keepSlots(int n) {
    std::string scene;
    ASSERT_TRUE(readWholeFile(buildDataPath("scene/scene.lml"), scene));
    for (int i = 1; i <= n; ++i)
      ASSERT_TRUE(saveSlot(diskFiles(), dir(), SlotList::Scenes, i, scene, "picture " + std::to_string(i)));
  }
  const std::string& dir() { return p->folders.installDir; }
  // The scene slots, answered step by step: each step sees the dialog and gives the next command.
  bool runSlots(std::vector<std::function<int(Dialog&)>> steps) {
    size_t next = 0;
    headlessSetDialogPolicy([&](Dialog& d, const std::string&) { return next < steps.size() ? steps[next++](d) : kClose; });
    const bool chosenNew = openSceneSlots(*p, p->shell.TabStrip);
    EXPECT_EQ(next, steps.size()) << "the dialog closed before every step was taken";
    return chosenNew;
  }
  static std::function<int(Dialog&)> give(int command) {
    return [command](Dialog&) { return command; };
  }
};

}  // namespace

TEST_F(SlotDialogs, TheViewIsKeptOncePerOpeningAndTheSixtiethSlotIsTheLast) {
  bool saveLeftEnabled = true;
  runSlots({give(kSave), [&](Dialog& d) {
              saveLeftEnabled = d.isEnabled(kSave);
              return kClose;
            }});
  EXPECT_FALSE(saveLeftEnabled);
  EXPECT_EQ(countSlots(diskFiles(), dir(), SlotList::Scenes), 2);
  EXPECT_EQ(p->shell.sceneUnchanged, 1);
  // The picture kept is the view at 2/11 of its size.
  BmpFile bmp;
  ASSERT_EQ(loadBmpFile(bmp, slotFiles(dir(), SlotList::Scenes, 1).picture), BmpResult::Ok);
  EXPECT_EQ(bmp.width(), 98);
  EXPECT_EQ(bmp.height(), 69);
  // The view, not the dialog over it: the sky's and the plate's colours, not one flat face.
  Surface picture;
  ASSERT_TRUE(bmpToSurface(bmp, picture));
  Surface view;
  ASSERT_TRUE(captureScreenRect(windowRect(p->shell.ViewWindow), view));
  EXPECT_EQ(picture.at(49, 34), view.at(49 * 11 / 2, 34 * 11 / 2));
  EXPECT_EQ(picture.at(10, 60), view.at(10 * 11 / 2, 60 * 11 / 2));

  // With 59 kept, the 60th goes onto the third page; with 60 the list is full and says so.
  keepSlots(59);
  bool lastShown = false;
  runSlots({give(kSave), [&](Dialog& d) {
              lastShown = d.isShown(kSlotIds[19]) && d.isEnabled(kPrevious) && !d.isEnabled(kNext);
              return kClose;
            }});
  EXPECT_TRUE(lastShown);
  EXPECT_EQ(countSlots(diskFiles(), dir(), SlotList::Scenes), 61);
  std::string message;
  bool saveOffered = true;
  runSlots({[&](Dialog& d) {
    message = d.text(kMessage);
    saveOffered = d.isEnabled(kSave);
    return kClose;
  }});
  EXPECT_EQ(message, loadString(6));
  EXPECT_FALSE(saveOffered);
}

TEST_F(SlotDialogs, LoadingAsksAboutAnUnsavedSceneAndNeverClearsItForAnUnreadableSlot) {
  keepSlots(2);
  const size_t blocks = p->world.scene.nodes.size();
  p->shell.sceneUnchanged = 0;
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDNO; });
  // No to the question: the dialog stays open with nothing changed.
  runSlots({give(kSlotIds[1]), give(kLoad), give(kClose)});
  EXPECT_EQ(p->shell.sceneUnchanged, 0);
  EXPECT_EQ(headlessMessageBoxes().back().text, loadString(10));

  // A slot whose scene cannot be read says so and keeps the scene that is there.
  ASSERT_TRUE(tmp.write("install/Save/save002.scn", "not a scene"));
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDYES; });
  runSlots({give(kSlotIds[1]), give(kLoad), give(kClose)});
  EXPECT_EQ(p->world.scene.nodes.size(), blocks);
  EXPECT_NE(headlessMessageBoxes().back().text.find("save002.scn"), std::string::npos);

  // A readable one replaces the scene and closes the dialog.
  p->shell.sceneUnchanged = 1;
  runSlots({give(kSlotIds[0]), give(kLoad)});
  EXPECT_EQ(p->shell.screenState, EditScreen);
  EXPECT_EQ(p->shell.sceneUnchanged, 1);
}

TEST_F(SlotDialogs, RemovingTheThirdOfFiveMovesTheLaterOnesUp) {
  keepSlots(5);
  ASSERT_TRUE(tmp.write("install/Save/save004.bmp", "picture four"));
  runSlots({give(kSlotIds[2]), give(kDelete), give(kClose)});
  EXPECT_EQ(countSlots(diskFiles(), dir(), SlotList::Scenes), 5);
  EXPECT_EQ(tmp.read("install/Save/save003.bmp"), "picture four");
  EXPECT_FALSE(fileExists(slotFiles(dir(), SlotList::Scenes, 5).scene));
  // New, with the scene unchanged, closes the slots asking for the new plate.
  EXPECT_TRUE(runSlots({give(kNew)}));
}

TEST_F(SlotDialogs, YesToTheExitQuestionOpensTheSlotsAndTheProgramGoesOn) {
  p->shell.sceneUnchanged = 0;
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDYES; });
  headlessClearDialogsOpened();
  headlessSetDialogPolicy([](Dialog&, const std::string&) { return kClose; });
  exitProgram(*p);
  ASSERT_EQ(headlessDialogsOpened().size(), 1u);
  EXPECT_EQ(headlessDialogsOpened()[0], "THUMBNAIL");
  EXPECT_FALSE(p->shell.shutDownDone);
}
