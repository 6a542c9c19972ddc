// The settings and the profile in the settings store.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Settings.h"
#include "app/Shell.h"
#include "files/SceneFile.h"
#include "scene/Settings.h"
#include "sound/Sounds.h"
#include "support/InstallFixture.h"

class Settings : public InstallFixture {
protected:
  void SetUp() override {
    InstallFixture::SetUp();
    settings = DisplaySettings{};
    shell.sound.backMusicNo = 1;
    sceneFile.author = SceneAuthor{};
  }
  void put(const char* keyName, const char* name, const char* text) {
    RegKey key = regCreateKey(RegRoot::CurrentUser, keyName);
    regSetValue(key, name, text, static_cast<uint32_t>(std::strlen(text) + 1));
    regCloseKey(key);
  }
};

TEST_F(Settings, FirstRunHasDefaultsAndConfirmingCreatesFourValues) {
  readSettings();
  EXPECT_FALSE(settings.autoView || settings.basicBlocksOnly || settings.hideStuds);
  EXPECT_EQ(shell.sound.backMusicNo, 1);
  EXPECT_TRUE(sceneFile.author.name.empty());
  settings.hideStuds = true;
  ASSERT_TRUE(writeSettings());
  std::string store = tmp.read("config/registry.txt");
  for (const char* line : {"\"View Change\" = 10:\"0\"", "\"3DS\" = 10:\"0\"", "\"NotDrawButton\" = 10:\"1\"",
                           "\"BackMusicNo\" = 10:\"1\""})
    EXPECT_NE(store.find(line), std::string::npos) << line;
}

TEST_F(Settings, OnlyTheFirstCharacterCounts) {
  put("Software\\Tolvane", "3DS", "10");
  put("Software\\Tolvane", "View Change", "yes");
  put("Software\\Tolvane", "BackMusicNo", "7");
  shell.sound.backMusicNo = 2;
  readSettings();
  EXPECT_TRUE(settings.basicBlocksOnly);
  EXPECT_FALSE(settings.autoView);
  EXPECT_EQ(shell.sound.backMusicNo, 2);  // 7 is no tune: the current one stays
  put("Software\\Tolvane", "BackMusicNo", "39");
  readSettings();
  EXPECT_EQ(shell.sound.backMusicNo, 3);
}

TEST_F(Settings, ProfileValuesThatDoNotFitAreEmpty) {
  put("Software\\Tolvane\\USER", "UserName", "홍길동");
  put("Software\\Tolvane\\USER", "UserAge", "100");
  sceneFile.author.age = "stale";
  readSettings();
  EXPECT_EQ(sceneFile.author.name, "홍길동");
  EXPECT_EQ(sceneFile.author.age, "");
  sceneFile.author.age = "12";
  sceneFile.author.email = "a@b.c";
  ASSERT_TRUE(writeProfile());
  sceneFile.author = SceneAuthor{};
  readProfile();
  EXPECT_EQ(sceneFile.author.age, "12");
  EXPECT_EQ(sceneFile.author.email, "a@b.c");
  EXPECT_NE(tmp.read("config/registry.txt").find("\"UserAge\" = 10:\"12\""), std::string::npos);
}
