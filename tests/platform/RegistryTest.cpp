// The settings store: keys, values that must fit the reader's buffer, persistence and damaged files.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/paths.h"
#include "platform/registry.h"
#include "support/TestSupport.h"

class SettingsStore : public testing::Test {
protected:
  void SetUp() override { regSetStorePath(tmp.file("config/registry.txt")); }
  void TearDown() override { regSetStorePath(""); }
  TempFolder tmp;
};

TEST_F(SettingsStore, OpenFailsUntilTheKeyIsCreated) {
  EXPECT_EQ(regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane"), kNoKey);
  RegKey created = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
  ASSERT_NE(created, kNoKey);
  regCloseKey(created);
  RegKey opened = regOpenKey(RegRoot::CurrentUser, "software\\TOLVANE");  // key names ignore case
  EXPECT_NE(opened, kNoKey);
  regCloseKey(opened);
  EXPECT_EQ(regOpenKey(RegRoot::LocalMachine, "Software\\Tolvane"), kNoKey);  // another root
}

TEST_F(SettingsStore, QueryNeedsRoomForTheTextAndItsTerminator) {
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  std::string dir127(127, 'd'), dir128(128, 'd');
  ASSERT_TRUE(regSetValue(key, "Dir", dir127.c_str(), 128));
  char buffer[128];
  uint32_t length = 0;
  EXPECT_TRUE(regQueryValue(key, "Dir", buffer, sizeof buffer, &length));
  EXPECT_EQ(length, 128u);
  ASSERT_TRUE(regSetValue(key, "Dir", dir128.c_str(), 129));
  std::strcpy(buffer, "untouched");
  EXPECT_FALSE(regQueryValue(key, "Dir", buffer, sizeof buffer));  // 128 characters count as missing
  EXPECT_STREQ(buffer, "untouched");

  ASSERT_TRUE(regSetValue(key, "UserAge", "100", 10));
  char age[3];
  EXPECT_FALSE(regQueryValue(key, "UserAge", age, sizeof age));
  ASSERT_TRUE(regSetValue(key, "UserAge", "12", 10));
  EXPECT_TRUE(regQueryValue(key, "UserAge", age, sizeof age));
  EXPECT_STREQ(age, "12");
  EXPECT_FALSE(regQueryValue(key, "Nothing", buffer, sizeof buffer));
  regCloseKey(key);
}

TEST_F(SettingsStore, FixedLengthWritesKeepOnlyTheTextBeforeTheTerminator) {
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
  char data[10] = {'1', 0, 'g', 'a', 'r', 'b', 'a', 'g', 'e', 0};
  ASSERT_TRUE(regSetValue(key, "View Change", data, 10));
  char out[16];
  ASSERT_TRUE(regQueryValue(key, "view change", out, sizeof out));
  EXPECT_STREQ(out, "1");
  regCloseKey(key);
  EXPECT_NE(tmp.read("config/registry.txt").find("\"View Change\" = 10:\"1\""), std::string::npos);
}

TEST_F(SettingsStore, SurvivesAReloadWithAwkwardTexts) {
  const std::string awkward = "C:\\Program Files\\\"톨바네\"\n\ttab";
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane\\USER");
  ASSERT_TRUE(regSetValue(key, "UserName", awkward.c_str(), 256));
  regCloseKey(key);
  regReload();
  key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane\\USER");
  ASSERT_NE(key, kNoKey);
  char out[256];
  ASSERT_TRUE(regQueryValue(key, "UserName", out, sizeof out));
  EXPECT_EQ(std::string(out), awkward);
  EXPECT_TRUE(regDeleteValue(key, "UserName"));
  EXPECT_FALSE(regQueryValue(key, "UserName", out, sizeof out));
  regCloseKey(key);
  // Every change rewrote the file in place: nothing but the store is left in its folder.
  EXPECT_EQ(listFolder(tmp.file("config")), std::vector<std::string>{"registry.txt"});
}

TEST_F(SettingsStore, ADamagedFileIsKeptAsideAndReadsAsEmpty) {
  tmp.write("config/registry.txt", "[HKEY_CURRENT_USER\\Software\\Tolvane]\n\"3DS\" = 10:\"1\n");  // cut quote
  EXPECT_EQ(regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane"), kNoKey);
  std::vector<std::string> names = listFolder(tmp.file("config"));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].rfind("registry.txt.damaged-", 0), 0u);
  // The store works again from scratch.
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
  EXPECT_NE(key, kNoKey);
  EXPECT_TRUE(regSetValue(key, "3DS", "1", 10));
  regCloseKey(key);
  EXPECT_TRUE(fileExists(tmp.file("config/registry.txt")));
}

TEST_F(SettingsStore, ChangesByAnotherProgramAreSeenAtTheNextOpen) {
  RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  ASSERT_TRUE(regSetValue(key, "Dir", "/a", 3));
  regCloseKey(key);
  tmp.write("config/registry.txt", "[HKEY_CURRENT_USER\\Software\\Tolvane 2.5]\n\"Dir\" = 3:\"/b\"\n");
  key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
  char out[8];
  ASSERT_TRUE(regQueryValue(key, "Dir", out, sizeof out));
  EXPECT_STREQ(out, "/b");
  regCloseKey(key);
}

TEST(SettingsStoreText, ParserRefusesMalformedLines) {
  size_t keys = 0;
  EXPECT_TRUE(regParseStoreText("# c\n\n[A]\n\"x\" = 2:\"1\"\r\n[B]\n", &keys));
  EXPECT_EQ(keys, 2u);
  EXPECT_FALSE(regParseStoreText("\"x\" = 2:\"1\"\n"));           // value before any key
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = :\"1\"\n"));        // no length
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 99999999:\"1\"\n"));  // absurd length
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"\\q\"\n"));     // unknown escape
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"\\x0\"\n"));    // cut hex escape
  EXPECT_FALSE(regParseStoreText("[]\n"));
}
