// Confirming the install folders.
#include <gtest/gtest.h>

#include "files/InstallFolders.h"
#include "support/InstallFixture.h"

using InstallFolders = InstallFixture;

// A refused install is only reported back: the shell, not the check, tells the user (message 26).
TEST_F(InstallFolders, MissingDirIsRefusedWithoutAMessage) {
  EXPECT_FALSE(confirmFolders());
  EXPECT_TRUE(headlessMessageBoxes().empty());
}

TEST_F(InstallFolders, SaveWithoutPortIsRefusedAndTheCurrentDirectoryStays) {
  tmp.makeFolder("half/Save");
  recordDir(tmp.file("half"));
  EXPECT_FALSE(confirmFolders());
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(currentDirectory(), startDir);
}

TEST_F(InstallFolders, ATrailingSeparatorIsNotDoubledAndCaseDoesNotMatter) {
  tmp.makeFolder("lower/save");
  tmp.makeFolder("lower/port");
  std::optional<Folders> folders;
  for (const std::string& dir : {tmp.file("install") + "/", tmp.file("install") + "\\", tmp.file("lower")}) {
    recordDir(dir);
    folders = confirmFolders();
    ASSERT_TRUE(folders) << dir;
    EXPECT_EQ(folders->installDir, dir);
  }
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(currentDirectory(), startDir);
  EXPECT_EQ(folders->dataRoot, tmp.file("data") + "/");
  ASSERT_TRUE(enterDataRoot(*folders));
  EXPECT_EQ(currentDirectory(), tmp.file("data") + "/");
  EXPECT_FALSE(enterDataRoot(Folders{}));  // no data root: nowhere to go
  EXPECT_EQ(currentDirectory(), tmp.file("data") + "/");
}

TEST_F(InstallFolders, ADirTooLongForItsBufferCountsAsMissing) {
  // Both folders exist under either name: only the length decides.
  for (size_t length : {127u, 128u}) {
    tmp.makeFolder(std::string(length, 'x') + "/Save");
    tmp.makeFolder(std::string(length, 'x') + "/Port");
  }
  ASSERT_TRUE(setCurrentDirectory(tmp.path()));
  recordDir(std::string(128, 'x'));
  EXPECT_FALSE(confirmFolders());
  recordDir(std::string(127, 'x'));
  const std::optional<Folders> folders = confirmFolders();
  ASSERT_TRUE(folders);
  EXPECT_EQ(folders->installDir, std::string(127, 'x'));
}

TEST_F(InstallFolders, ARelativeDirIsTakenFromWhereTheCheckStarts) {
  ASSERT_TRUE(setCurrentDirectory(tmp.path()));
  recordDir("install");
  const std::optional<Folders> folders = confirmFolders();
  ASSERT_TRUE(folders);
  EXPECT_EQ(folders->installDir, "install");
  EXPECT_EQ(currentDirectory(), tmp.path() + "/");
}

TEST(ScratchFolder, IsCreatedWhenMissing) {
  std::string folder = systemScratchFolder();
  EXPECT_TRUE(folderExists(folder));
}
