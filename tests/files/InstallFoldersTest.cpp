// Confirming the install folders.
#include <gtest/gtest.h>

#include "files/InstallFolders.h"
#include "platform/strings.h"
#include "support/InstallFixture.h"

using InstallFolders = InstallFixture;

TEST_F(InstallFolders, MissingDirShowsMessage26) {
  EXPECT_FALSE(confirmFolders());
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "");
}

TEST_F(InstallFolders, SaveWithoutPortIsRefusedAndTheCurrentDirectoryStays) {
  tmp.makeFolder("half/Save");
  recordDir(tmp.file("half"));
  EXPECT_FALSE(confirmFolders());
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
  EXPECT_EQ(currentDirectory(), startDir);
}

TEST_F(InstallFolders, ATrailingSeparatorIsNotDoubledAndCaseDoesNotMatter) {
  tmp.makeFolder("lower/save");
  tmp.makeFolder("lower/port");
  for (const std::string& dir : {tmp.file("install") + "/", tmp.file("install") + "\\", tmp.file("lower")}) {
    recordDir(dir);
    EXPECT_TRUE(confirmFolders()) << dir;
    EXPECT_EQ(InstallDir, dir);
  }
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(currentDirectory(), startDir);
  EXPECT_EQ(DataRoot, tmp.file("data") + "/");
  ASSERT_TRUE(enterDataRoot());
  EXPECT_EQ(currentDirectory(), tmp.file("data") + "/");
}

TEST_F(InstallFolders, ADirTooLongForItsBufferCountsAsMissing) {
  recordDir(std::string(128, 'x'));
  EXPECT_FALSE(confirmFolders());
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
}

TEST_F(InstallFolders, ARelativeDirIsTakenFromWhereTheCheckStarts) {
  ASSERT_TRUE(setCurrentDirectory(tmp.path()));
  recordDir("install");
  EXPECT_TRUE(confirmFolders());
  EXPECT_EQ(currentDirectory(), tmp.path() + "/");
}

TEST(ScratchFolder, IsCreatedWhenMissing) {
  std::string folder = systemScratchFolder();
  EXPECT_TRUE(folderExists(folder));
}
