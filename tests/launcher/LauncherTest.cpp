// The launcher and the installer stand-in.
#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>

#include "launcher/Launcher.h"
#include "platform/strings.h"
#include "support/InstallFixture.h"

using Launcher = InstallFixture;

TEST_F(Launcher, WithoutPortItSaysSoOnceAndStartsNothing) {
  tmp.makeFolder("half/Save");
  recordDir(tmp.file("half"));
  tmp.write("program", "#!/bin/sh\ntouch \"$PWD/started\"\n");
  ::chmod(tmp.file("program").c_str(), 0755);
  EXPECT_EQ(runLauncher(tmp.file("program"), 0), 1);
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fileExists(tmp.file("data/started")));
}

TEST_F(Launcher, StartsTheProgramInTheDataFolder) {
  recordDir(tmp.file("install"));
  tmp.write("program", "#!/bin/sh\ntouch \"$PWD/started\"\n");
  ::chmod(tmp.file("program").c_str(), 0755);
  EXPECT_EQ(runLauncher(tmp.file("program"), 0), 0);
  for (int i = 0; i < 100 && !fileExists(tmp.file("data/started")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(fileExists(tmp.file("data/started")));  // it ran with the data folder as working directory
  EXPECT_TRUE(headlessMessageBoxes().empty());
  // A program that cannot start is not noticed.
  EXPECT_EQ(runLauncher(tmp.file("no-such-program"), 0), 0);
}

TEST_F(Launcher, SetupPreparesTheFolderOnceAndKeepsTheUsersFiles) {
  tmp.write("data/save/game001.gam", "level one");
  tmp.write("data/save/GIMG001.BMP", "picture");
  tmp.write("data/save/save000.bmp", "placeholder stays in the data folder");
  SetupReport first = runSetup(tmp.file("mine"), tmp.file("data"));
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(tmp.read("mine/Save/game001.gam"), "level one");
  EXPECT_EQ(tmp.read("mine/Save/GIMG001.BMP"), "picture");
  EXPECT_FALSE(fileExists(tmp.file("mine/Save/save000.bmp")));
  EXPECT_TRUE(folderExists(tmp.file("mine/Port")));
  EXPECT_TRUE(installFoldersReady());

  tmp.write("mine/Save/game001.gam", "the user's own edit");
  SetupReport again = runSetup(tmp.file("mine") + "/", tmp.file("data"));
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(tmp.read("mine/Save/game001.gam"), "the user's own edit");
  EXPECT_EQ(runLauncher(tmp.file("no-such-program"), 0), 0);  // "Dir" was written without the trailing "/"
}

TEST_F(Launcher, SetupRefusesAFolderNameTheProgramCouldNotRead) {
  SetupReport report = runSetup("/" + std::string(130, 'x'), tmp.file("data"));
  EXPECT_FALSE(report.ok);
  EXPECT_FALSE(installFoldersReady());
}
