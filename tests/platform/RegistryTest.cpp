// The settings store: keys, values that must fit the reader's buffer, persistence, comments kept through
// rewrites, damaged files and the private mode of the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>

#include "platform/paths.h"
#include "platform/registry.h"
#include "support/TestSupport.h"

class SettingsStore : public testing::Test {
protected:
  void SetUp() override { regSetStorePath(tmp.file("config/registry.txt")); }
  void TearDown() override { regSetStorePath(""); }
  std::string query(const std::string& subKey, const std::string& name) {
    RegKey key = regOpenKey(RegRoot::CurrentUser, subKey);
    char out[256];
    bool found = key != kNoKey && regQueryValue(key, name, out, sizeof out);
    regCloseKey(key);
    return key == kNoKey ? "<no key>" : found ? out : "<missing>";
  }
  bool set(const std::string& subKey, const std::string& name, const std::string& text) {
    RegKey key = regCreateKey(RegRoot::CurrentUser, subKey);
    bool stored = key != kNoKey && regSetValue(key, name, text.c_str(), static_cast<uint32_t>(text.size() + 1));
    regCloseKey(key);
    return stored;
  }
  // The copies of damaged files beside the store.
  std::vector<std::string> damagedCopies() {
    std::vector<std::string> copies;
    for (const std::string& name : listFolder(tmp.file("config")))
      if (name.rfind("registry.txt.damaged-", 0) == 0) copies.push_back(name);
    return copies;
  }
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

TEST_F(SettingsStore, ABadLineIsLeftOutTheRestKeptAndTheFileCopiedOnce) {
  const std::string original =
      "[HKEY_CURRENT_USER\\Software\\Tolvane]\n"
      "\"3DS\" = 10:\"1\n"  // cut quote
      "\"View Change\" = 10:\"0\"\n"
      "[HKEY_CURRENT_USER\\Software\\Tolvane\\USER]\n"
      "\"UserName\" = 256:\"Kim\"\n";
  tmp.write("config/registry.txt", original);
  EXPECT_EQ(query("Software\\Tolvane", "View Change"), "0");
  EXPECT_EQ(query("Software\\Tolvane", "3DS"), "<missing>");
  EXPECT_EQ(query("Software\\Tolvane\\USER", "UserName"), "Kim");
  // The file itself stays until the next change; a copy shows what was left out. Opening again (every
  // open reads the file) makes no second copy.
  EXPECT_EQ(tmp.read("config/registry.txt"), original);
  ASSERT_EQ(damagedCopies().size(), 1u);
  EXPECT_EQ(tmp.read("config/" + damagedCopies()[0]), original);
  regReload();
  EXPECT_EQ(damagedCopies().size(), 1u);
  // The next change writes every value that was read, and nothing is copied again.
  ASSERT_TRUE(set("Software\\Tolvane", "3DS", "1"));
  EXPECT_EQ(tmp.read("config/registry.txt"),
            "[HKEY_CURRENT_USER\\Software\\Tolvane]\n"
            "\"View Change\" = 10:\"0\"\n"
            "\"3DS\" = 2:\"1\"\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane\\USER]\n"
            "\"UserName\" = 256:\"Kim\"\n");
  regReload();
  EXPECT_EQ(damagedCopies().size(), 1u);
}

TEST_F(SettingsStore, AValueUnderABrokenKeyHeaderIsNotGivenToTheKeyBefore) {
  tmp.write("config/registry.txt",
            "[HKEY_CURRENT_USER\\Software\\Tolvane]\n\"Dir\" = 3:\"/a\"\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane 2.5\n\"Dir\" = 3:\"/b\"\n# about the next key\n"
            "[HKEY_CURRENT_USER\\Software\\Other]\n\"Dir\" = 3:\"/c\"\n");
  EXPECT_EQ(query("Software\\Tolvane", "Dir"), "/a");
  EXPECT_EQ(query("Software\\Tolvane 2.5", "Dir"), "<no key>");
  EXPECT_EQ(query("Software\\Other", "Dir"), "/c");
  EXPECT_EQ(damagedCopies().size(), 1u);
  ASSERT_TRUE(set("Software\\Other", "Dir", "/c"));
  EXPECT_EQ(tmp.read("config/registry.txt"),
            "# about the next key\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Dir\" = 3:\"/c\"\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane]\n\"Dir\" = 3:\"/a\"\n");  // keys in order, comments with them
}

TEST_F(SettingsStore, CommentsAndBlankLinesKeepTheirPlacesThroughRewrites) {
  tmp.write("config/registry.txt",
            "# My settings, kept by hand.\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane]\n"
            "# 1 turns the 3D view on\n"
            "\"3DS\" = 10:\"0\"\n"
            "  # indented, about the view\n"
            "\"View Change\" = 10:\"1\"\n"
            "\"Old\" = 4:\"gone\"\n"
            "\n"
            "# the user\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane\\USER]\r\n"
            "\"UserName\" = 256:\"Kim\"\r\n"
            "# the end\n");
  ASSERT_TRUE(set("Software\\Tolvane", "3DS", "1"));          // changed in place
  ASSERT_TRUE(set("Software\\Tolvane", "Sound", "on"));       // after the key's last value
  RegKey key = regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane");
  ASSERT_TRUE(regDeleteValue(key, "old"));                    // its line goes, the comments stay
  regCloseKey(key);
  ASSERT_TRUE(set("Software\\Tolvane 2.5", "Dir", "/home/kim"));  // a new key, the comments above USER stay
  EXPECT_EQ(tmp.read("config/registry.txt"),
            "# My settings, kept by hand.\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane]\n"
            "# 1 turns the 3D view on\n"
            "\"3DS\" = 2:\"1\"\n"
            "  # indented, about the view\n"
            "\"View Change\" = 10:\"1\"\n"
            "\"Sound\" = 3:\"on\"\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane 2.5]\n"
            "\"Dir\" = 10:\"/home/kim\"\n"
            "\n"
            "# the user\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane\\USER]\n"
            "\"UserName\" = 256:\"Kim\"\n"
            "# the end\n");
  EXPECT_TRUE(damagedCopies().empty());
}

TEST_F(SettingsStore, AFileWrittenBeforeReadsTheSameAndRewritesByteForByte) {
  // The layout every earlier store wrote: the comment, then a blank line before each key.
  const std::string earlier =
      "# Tolvane settings. Each value: \"name\" = <bytes written>:\"text\"\n"
      "\n[HKEY_CURRENT_USER\\Software\\Tolvane]\n\"3DS\" = 10:\"1\"\n\"View Change\" = 10:\"0\"\n"
      "\n[HKEY_CURRENT_USER\\Software\\Tolvane 2.5]\n\"Dir\" = 22:\"/home/a \\\"b\\\"\\x01\\n\"\n";
  const std::string dir = "/home/a \"b\"\x01\n";
  auto setAll = [&] {
    RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
    ASSERT_TRUE(regSetValue(key, "3DS", "1", 10));
    ASSERT_TRUE(regSetValue(key, "View Change", "0", 10));
    regCloseKey(key);
    key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
    ASSERT_TRUE(regSetValue(key, "Dir", dir.c_str(), 22));
    regCloseKey(key);
  };
  tmp.write("config/registry.txt", earlier);
  EXPECT_EQ(query("Software\\Tolvane 2.5", "Dir"), dir);
  EXPECT_EQ(query("Software\\Tolvane", "View Change"), "0");
  setAll();
  EXPECT_EQ(tmp.read("config/registry.txt"), earlier);
  // A new store is written in that same layout.
  ASSERT_TRUE(removeFile(tmp.file("config/registry.txt")));
  setAll();
  EXPECT_EQ(tmp.read("config/registry.txt"), earlier);
}

TEST_F(SettingsStore, ANewStoreIsPrivateAndAnExistingOneKeepsItsMode) {
  ASSERT_TRUE(set("Software\\Tolvane\\USER", "UserName", "Kim"));
  struct stat info;
  ASSERT_EQ(::stat(tmp.file("config/registry.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::chmod(tmp.file("config/registry.txt").c_str(), 0640), 0);
  ASSERT_TRUE(set("Software\\Tolvane\\USER", "UserAddress", "Seoul"));
  ASSERT_EQ(::stat(tmp.file("config/registry.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(SettingsStore, AFileOverTheSizeLimitIsMovedAsideWhole) {
  const std::string huge = "[HKEY_CURRENT_USER\\Software\\Tolvane]\n" + std::string(5u << 20, '#') + "\n";
  tmp.write("config/registry.txt", huge);
  EXPECT_EQ(regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane"), kNoKey);
  ASSERT_EQ(damagedCopies().size(), 1u);
  EXPECT_EQ(tmp.read("config/" + damagedCopies()[0]), huge);
  EXPECT_FALSE(fileExists(tmp.file("config/registry.txt")));
  // The store works again from scratch, beside the kept file.
  ASSERT_TRUE(set("Software\\Tolvane", "3DS", "1"));
  EXPECT_EQ(query("Software\\Tolvane", "3DS"), "1");
  EXPECT_EQ(tmp.read("config/" + damagedCopies()[0]), huge);
}

TEST_F(SettingsStore, TheFirstLoadRemovesStaleTemporariesBesideTheFile) {
  tmp.write("config/registry.txt.tmpAbC123", "half");
  tmp.write("config/registry.txt.tmpXyZ789", "a save under way");
  struct timespec old[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, tmp.file("config/registry.txt.tmpAbC123").c_str(), old, 0), 0);
  EXPECT_EQ(regOpenKey(RegRoot::CurrentUser, "Software\\Tolvane"), kNoKey);
  EXPECT_EQ(listFolder(tmp.file("config")), std::vector<std::string>{"registry.txt.tmpXyZ789"});
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

TEST(SettingsStoreText, MalformedLinesAreReportedAndTheRestKept) {
  size_t keys = 0;
  EXPECT_TRUE(regParseStoreText("# c\n\n[A]\n\"x\" = 2:\"1\"\r\n[B]\n", &keys));
  EXPECT_EQ(keys, 2u);
  EXPECT_TRUE(regParseStoreText("\xEF\xBB\xBF[A]\n", &keys));
  EXPECT_EQ(keys, 1u);
  EXPECT_FALSE(regParseStoreText("\"x\" = 2:\"1\"\n"));           // value before any key
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = :\"1\"\n"));        // no length
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 99999999:\"1\"\n"));  // absurd length
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"\\q\"\n"));     // unknown escape
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"\\x0\"\n"));    // cut hex escape
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"\\x00\"\n"));   // a zero inside the text
  EXPECT_FALSE(regParseStoreText("[]\n"));
  EXPECT_FALSE(regParseStoreText("[A]\n\"x\" = 2:\"1\n[B]\n[C]\n", &keys));
  EXPECT_EQ(keys, 3u);  // the keys around the bad line are kept
}
