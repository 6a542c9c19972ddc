// The settings and the profile in the settings store.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

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
    p = std::make_unique<Program>();
  }
  void put(const char* keyName, const char* name, const char* text) {
    RegKey key = regCreateKey(RegRoot::CurrentUser, keyName);
    regSetValue(key, name, text, static_cast<uint32_t>(std::strlen(text) + 1));
    regCloseKey(key);
  }
  std::unique_ptr<Program> p;
};

TEST_F(Settings, FirstRunHasDefaultsAndConfirmingCreatesFourValues) {
  readSettings(*p);
  EXPECT_FALSE(p->editor.settings.autoView || p->editor.settings.basicBlocksOnly || p->editor.settings.hideStuds);
  EXPECT_EQ(p->sound.backMusicNo, 1);
  EXPECT_TRUE(p->sceneFile.author.name.empty());
  p->editor.settings.hideStuds = true;
  ASSERT_TRUE(writeSettings(*p));
  std::string store = tmp.read("config/registry.txt");
  for (const char* line : {"\"View Change\" = 10:\"0\"", "\"3DS\" = 10:\"0\"", "\"NotDrawButton\" = 10:\"1\"",
                           "\"BackMusicNo\" = 10:\"1\""})
    EXPECT_NE(store.find(line), std::string::npos) << line;
}

TEST_F(Settings, OnlyTheFirstCharacterCounts) {
  put("Software\\Tolvane", "3DS", "10");
  put("Software\\Tolvane", "View Change", "yes");
  put("Software\\Tolvane", "BackMusicNo", "7");
  p->sound.backMusicNo = 2;
  readSettings(*p);
  EXPECT_TRUE(p->editor.settings.basicBlocksOnly);
  EXPECT_FALSE(p->editor.settings.autoView);
  EXPECT_EQ(p->sound.backMusicNo, 2);  // 7 is no tune: the current one stays
  put("Software\\Tolvane", "BackMusicNo", "39");
  readSettings(*p);
  EXPECT_EQ(p->sound.backMusicNo, 3);
}

TEST_F(Settings, ProfileValuesThatDoNotFitAreEmpty) {
  put("Software\\Tolvane\\USER", "UserName", "홍길동");
  put("Software\\Tolvane\\USER", "UserAge", "100");
  p->sceneFile.author.age = "stale";
  readSettings(*p);
  EXPECT_EQ(p->sceneFile.author.name, "홍길동");
  EXPECT_EQ(p->sceneFile.author.age, "");
  p->sceneFile.author.age = "12";
  p->sceneFile.author.email = "a@b.c";
  ASSERT_TRUE(writeProfile(*p));
  p->sceneFile.author = SceneAuthor{};
  readProfile(*p);
  EXPECT_EQ(p->sceneFile.author.age, "12");
  EXPECT_EQ(p->sceneFile.author.email, "a@b.c");
  EXPECT_NE(tmp.read("config/registry.txt").find("\"UserAge\" = 10:\"12\""), std::string::npos);
}
