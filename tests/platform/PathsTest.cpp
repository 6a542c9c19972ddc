// The path resolver, folder joining and atomic writes.
#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/TestSupport.h"

TEST(PathResolver, MatchesBackslashesAndCaseOfEveryComponent) {
  TempFolder tmp;
  tmp.write("Scene/All.box", "x");
  tmp.write("BMP/VEdit.bmp", "y");
  EXPECT_EQ(resolvePath(tmp.path() + "/scene\\all.box"), tmp.file("Scene/All.box"));
  EXPECT_EQ(resolvePath(tmp.path() + "\\bmp\\vedit.BMP"), tmp.file("BMP/VEdit.bmp"));
  FILE* file = openFile(tmp.path() + "/./SCENE\\ALL.BOX", "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::fgetc(file), 'x');
  std::fclose(file);
}

TEST(PathResolver, PrefersTheExactNameThenTheFirstInByteOrder) {
  TempFolder tmp;
  tmp.write("save/a.txt", "lower");
  tmp.write("save/A.txt", "upper");
  EXPECT_EQ(resolvePath(tmp.file("save/a.txt")), tmp.file("save/a.txt"));
  EXPECT_EQ(resolvePath(tmp.file("save/a.TXT")), tmp.file("save/A.txt"));  // 'A' sorts before 'a'
  EXPECT_EQ(resolvePath(tmp.file("Save/a.TXT")), tmp.file("save/A.txt"));
}

TEST(PathResolver, LeavesMissingComponentsAsWrittenAndRefusesFolders) {
  TempFolder tmp;
  tmp.makeFolder("port");
  EXPECT_EQ(resolvePath(tmp.path() + "\\PORT\\Missing\\temp.lml"), tmp.file("port/Missing/temp.lml"));
  EXPECT_EQ(openFile(tmp.file("port/nothing.lml"), "rb"), nullptr);
  EXPECT_EQ(openFile(tmp.file("PORT"), "rb"), nullptr);  // a folder is not a file
  EXPECT_EQ(openFile("", "rb"), nullptr);
  EXPECT_TRUE(folderExists(tmp.file("Port")));
}

TEST(PathJoin, AddsOneSeparatorOnlyWhenNeeded) {
  EXPECT_EQ(joinPath("C:\\Tolvane", "Save"), "C:\\Tolvane/Save");
  EXPECT_EQ(joinPath("C:\\Tolvane\\", "Save"), "C:\\Tolvane\\Save");
  EXPECT_EQ(joinPath("/home/u/", "Port"), "/home/u/Port");
  EXPECT_EQ(joinPath("", "Port"), "Port");
}

TEST(AtomicWrite, ReplacesTheFileOnlyWhenCommitted) {
  TempFolder tmp;
  tmp.write("scene.lml", "old");
  {
    AtomicFile file(tmp.file("scene.lml"));
    FILE* out = file.open();
    ASSERT_NE(out, nullptr);
    std::fputs("half written", out);
  }  // abandoned: the old file stays and no temporary is left behind
  EXPECT_EQ(tmp.read("scene.lml"), "old");
  EXPECT_EQ(listFolder(tmp.path()).size(), 1u);

  ASSERT_TRUE(writeFileAtomically(tmp.file("scene.lml"), "new"));
  EXPECT_EQ(tmp.read("scene.lml"), "new");
  EXPECT_EQ(listFolder(tmp.path()).size(), 1u);
}

TEST(AtomicWrite, ReportsFailureForMissingFoldersAndFolders) {
  TempFolder tmp;
  tmp.makeFolder("dir");
  EXPECT_FALSE(writeFileAtomically(tmp.file("missing/x.txt"), "x"));
  EXPECT_FALSE(writeFileAtomically(tmp.file("dir"), "x"));
  EXPECT_TRUE(folderExists(tmp.file("dir")));
}

TEST(WholeFile, RefusesFilesOverTheLimit) {
  TempFolder tmp;
  tmp.write("big", std::string(100, 'x'));
  std::string bytes = "kept";
  EXPECT_FALSE(readWholeFile(tmp.file("big"), bytes, 99));
  EXPECT_EQ(bytes, "kept");
  EXPECT_TRUE(readWholeFile(tmp.file("BIG"), bytes, 100));
  EXPECT_EQ(bytes.size(), 100u);
}
