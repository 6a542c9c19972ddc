// Leaving by any door keeps the session: the desktop's close asks like the exit button, the end of the
// session keeps the scene without asking, a save that fails says why and keeps the program open, and a
// close during start-up waits for start-up to end.
#include <gtest/gtest.h>

#include <string>

#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "files/SceneFile.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace {

class Leaving : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    copyPanelPictures();
    tmp.write("data/scene/scene.lml", "//\n10 30 80 0 0 0\n0 60 -1 0 -1 0\n1\n1 10 10 1 0 0 0 0 0 1 0 1 -1 -1 -1 -1 -1 -1\n");
  }
  std::string kept() const { return tmp.file("install/Port/temp.lml"); }
  // The view angle the kept scene was written with.
  float keptAzimuth() const {
    SceneFileState file;
    World world;
    EXPECT_TRUE(ReadSceneFile(file, world, kept()));
    return world.view.azimuth;
  }
  // An edit the user would lose: the view turned.
  void edit() {
    p->world.view.azimuth = 123;
    p->shell.sceneUnchanged = 0;
  }
  int boxesSaying(const std::string& part) const {
    int n = 0;
    for (const MessageBoxShown& box : headlessMessageBoxes()) n += box.text.find(part) != std::string::npos;
    return n;
  }
};

TEST_F(Leaving, TheDesktopsCloseAsksLikeTheExitButton) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  edit();
  headlessAnswerNext(IDCANCEL);
  headlessCloseRequest();
  EXPECT_EQ(drain(), 0) << "Cancel keeps the program running";
  EXPECT_EQ(boxesSaying(loadString(22)), 1);
  EXPECT_FALSE(fileExists(kept()));

  headlessAnswerNext(IDNO);
  headlessCloseRequest();
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_EQ(boxesSaying(loadString(22)), 2);
  EXPECT_FLOAT_EQ(keptAzimuth(), 123);
}

TEST_F(Leaving, TheEndOfTheSessionKeepsTheSceneWithoutAsking) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  edit();
  headlessTerminateRequest();
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_FLOAT_EQ(keptAzimuth(), 123);
  EXPECT_TRUE(p->shell.shutDownDone);
}

TEST_F(Leaving, TheSessionEndingWhileTheExitQuestionIsOpenKeepsTheEditOnce) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  edit();
  // While the question waits for its answer, the session ends and keeps the scene; whatever the box
  // answers afterwards must not save again from an emptied world.
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) {
    headlessTerminateRequest();
    return 0;
  });
  headlessClick(100 + 520, 12);
  EXPECT_EQ(runMessageLoop(*p), 0);
  EXPECT_FLOAT_EQ(keptAzimuth(), 123) << "the scene kept is the edited one, not an emptied one";
}

TEST_F(Leaving, AFailedSaveSaysWhyAndKeepsTheProgramAndItsScene) {
  ASSERT_TRUE(startUp(*p, ""));
  drain();
  edit();
  // Something that is not a file stands where the scene is kept: the save cannot replace it.
  ASSERT_TRUE(createFolder(kept()));
  headlessAnswerNext(IDNO);
  exitProgram(*p);
  EXPECT_EQ(boxesSaying("저장하지 못했습니다"), 1);
  EXPECT_EQ(drain(), 0) << "the program stays open";
  EXPECT_FALSE(p->shell.shutDownDone);
  EXPECT_FLOAT_EQ(p->world.view.azimuth, 123);

  ASSERT_TRUE(renameFile(kept(), kept() + ".folder"));
  headlessAnswerNext(IDNO);
  exitProgram(*p);
  EXPECT_EQ(drain(), 1);
  EXPECT_FLOAT_EQ(keptAzimuth(), 123);
}

TEST_F(Leaving, SaveFailuresAreToldInTheUsersWords) {
  const std::string path = "/x/Port/temp.lml";
  EXPECT_NE(saveFailureText(WriteFailure::DiskFull, path).find("빈 공간"), std::string::npos);
  EXPECT_NE(saveFailureText(WriteFailure::NoPermission, path).find("권한"), std::string::npos);
  EXPECT_NE(saveFailureText(WriteFailure::FolderMissing, path).find("폴더"), std::string::npos);
  for (WriteFailure why : {WriteFailure::DiskFull, WriteFailure::NoPermission, WriteFailure::Other})
    EXPECT_NE(saveFailureText(why, path).find(path), std::string::npos);

  WriteFailure why = WriteFailure::None;
  EXPECT_FALSE(writeFileAtomically(tmp.file("no/such/folder/file.lml"), "x", 0644, &why));
  EXPECT_EQ(why, WriteFailure::FolderMissing);
}

TEST_F(Leaving, AnUnreadableKeptSceneIsSetAsideAndACloseDuringStartUpWaitsForItsEnd) {
  // A kept scene the reader refuses must not be overwritten by the next exit: it is moved aside, and the
  // user is told while start-up is still under way. Closing the window meanwhile ends the program once
  // start-up is done, not under the box.
  ASSERT_TRUE(tmp.write("install/Port/temp.lml", "not a scene"));
  headlessSetMessageBoxPolicy([](const MessageBoxShown& box) {
    if (box.text.find("옮겨") != std::string::npos) headlessCloseRequest();
    return IDOK;
  });
  ASSERT_TRUE(startUp(*p, ""));
  EXPECT_EQ(boxesSaying("옮겨"), 1);
  EXPECT_TRUE(p->shell.shutDownDone);
  EXPECT_EQ(runMessageLoop(*p), 0);
  bool setAside = false;
  for (const std::string& name : listFolder(tmp.file("install/Port")))
    if (name.rfind("temp.lml.damaged-", 0) == 0) {
      std::string bytes;
      ASSERT_TRUE(readWholeFile(tmp.file("install/Port/" + name), bytes));
      EXPECT_EQ(bytes, "not a scene");
      setAside = true;
    }
  EXPECT_TRUE(setAside);
}

TEST_F(Leaving, StartUpFailuresSayWhatWasMissing) {
  ASSERT_TRUE(removeFile(tmp.file("data/scene/scene.lml")));
  EXPECT_EQ(runTolvane(*p, ""), 1);
  EXPECT_EQ(boxesSaying("시작 장면을 읽을 수 없습니다"), 1);
  EXPECT_EQ(boxesSaying("scene/scene.lml"), 1);

  // A damaged background picture names the picture.
  freshProgram();
  ASSERT_TRUE(tmp.write("data/scene/scene.lml", "//\n10 30 80 0 0 0\n0 60 -1 0 -1 0\n0\n"));
  ASSERT_TRUE(tmp.write("data/scene/sky.ppm", "P6\nnot a picture"));
  EXPECT_EQ(runTolvane(*p, ""), 1);
  EXPECT_EQ(boxesSaying("scene/sky.ppm"), 1);
}

}  // namespace
