// The path resolver, folder joining, whole-file reading, atomic writes and the removal of the temporaries
// that interrupted saves leave behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <set>

#include "platform/paths.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

unsigned modeOf(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0u;
}

bool isLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

std::set<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names = listFolder(folder);
  return {names.begin(), names.end()};
}

// Set a file's (or a link's own) modification time this many seconds into the past.
void ageBy(const std::string& path, int seconds) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = ::time(nullptr) - seconds;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

}  // namespace

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

TEST(AtomicWrite, KeepsTheModeOfTheFileItReplacesAndGivesNewFilesTheOneAskedFor) {
  TempFolder tmp;
  tmp.write("private.txt", "old");
  ASSERT_EQ(::chmod(tmp.file("private.txt").c_str(), 0600), 0);
  ASSERT_TRUE(writeFileAtomically(tmp.file("private.txt"), "new", 0644));
  EXPECT_EQ(modeOf(tmp.file("private.txt")), 0600u);
  ASSERT_TRUE(writeFileAtomically(tmp.file("plain.txt"), "x"));
  EXPECT_EQ(modeOf(tmp.file("plain.txt")), 0644u);
  ASSERT_TRUE(writeFileAtomically(tmp.file("secret.txt"), "x", 0600));
  EXPECT_EQ(modeOf(tmp.file("secret.txt")), 0600u);
}

TEST(AtomicWrite, WritesThroughSymbolicLinksAndLeavesThemLinks) {
  TempFolder tmp;
  tmp.write("real/scene.lml", "old");
  fs::create_symlink("real/scene.lml", tmp.file("link.lml"));      // relative to the link's folder
  fs::create_symlink(tmp.file("link.lml"), tmp.file("chain.lml"));  // a link to a link
  ASSERT_EQ(::chmod(tmp.file("real/scene.lml").c_str(), 0600), 0);

  ASSERT_TRUE(writeFileAtomically(tmp.file("chain.lml"), "new"));
  EXPECT_TRUE(isLink(tmp.file("chain.lml")));
  EXPECT_TRUE(isLink(tmp.file("link.lml")));
  EXPECT_EQ(tmp.read("real/scene.lml"), "new");
  EXPECT_EQ(modeOf(tmp.file("real/scene.lml")), 0600u);  // the mode of the file the chain ends at
  EXPECT_EQ(namesIn(tmp.path()), (std::set<std::string>{"chain.lml", "link.lml", "real"}));
  EXPECT_EQ(listFolder(tmp.file("real")), std::vector<std::string>{"scene.lml"});

  // A dangling link's target is created; a loop of links is refused and changes nothing.
  fs::create_symlink("made.txt", tmp.file("dangling.txt"));
  ASSERT_TRUE(writeFileAtomically(tmp.file("dangling.txt"), "made"));
  EXPECT_TRUE(isLink(tmp.file("dangling.txt")));
  EXPECT_EQ(tmp.read("made.txt"), "made");
  fs::create_symlink("loop-b", tmp.file("loop-a"));
  fs::create_symlink("loop-a", tmp.file("loop-b"));
  EXPECT_FALSE(writeFileAtomically(tmp.file("loop-a"), "x"));
  EXPECT_TRUE(isLink(tmp.file("loop-a")));
  EXPECT_TRUE(isLink(tmp.file("loop-b")));
}

TEST(AtomicWrite, AWriteThatFailsHalfWayLeavesTheOldFileAndNoTemporary) {
  TempFolder tmp;
  tmp.write("scene.lml", "old contents");
  // The file size limit makes the write itself fail, as a full disk would.
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  void (*previous)(int) = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = writeFileAtomically(tmp.file("scene.lml"), std::string(1 << 20, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(tmp.read("scene.lml"), "old contents");
  EXPECT_EQ(listFolder(tmp.path()), std::vector<std::string>{"scene.lml"});
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

TEST(WholeFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
  TempFolder tmp;
  tmp.makeFolder("Port");
  const std::string fifo = tmp.file("Port/temp.lml");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto reading = std::async(std::launch::async, [&] {
    std::string bytes = "kept";
    bool read = readWholeFile(tmp.file("port/TEMP.lml"), bytes);  // through the resolver, as callers name it
    return !read && bytes == "kept";
  });
  if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Let the blocked reader go (a writer that comes and goes gives it an end of file) before failing.
    int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    reading.wait();
    FAIL() << "reading a FIFO waited for a writer";
  }
  EXPECT_TRUE(reading.get());

  std::string bytes = "kept";
  EXPECT_FALSE(readWholeFile(tmp.file("Port"), bytes));
  EXPECT_FALSE(readWholeFile("/dev/null", bytes));
  EXPECT_FALSE(readWholeFile("", bytes));
  EXPECT_EQ(bytes, "kept");
  tmp.write("empty.lml", "");
  EXPECT_TRUE(readWholeFile(tmp.file("empty.lml"), bytes));
  EXPECT_EQ(bytes, "");
}

TEST(StaleTemporaries, OnlyOldLeftoversOfInterruptedSavesAreRemoved) {
  TempFolder tmp;
  const std::vector<std::string> stale = {"scene.lml.tmpAb3XyZ", "registry.txt.tmp000000", "a.tmpzzzzzz"};
  // Too few or too many characters, none before, one mkstemp never makes, other endings.
  const std::vector<std::string> kept = {"scene.lml",  "a.tmp12345",  "a.tmp1234567", ".tmpABCDEF",
                                         "x.tmpAB-DEF", "x.TMPABCDEF", "x.tmpABCDEF.bak"};
  for (const std::string& name : stale) tmp.write(name, "half");
  for (const std::string& name : kept) tmp.write(name, "mine");
  tmp.makeFolder("folder.tmpABCDEF");
  fs::create_symlink("scene.lml", tmp.file("link.tmpABCDEF"));
  tmp.write("fresh.lml.tmpQwErTy", "a save under way");
  for (const std::string& name : listFolder(tmp.path()))
    if (name != "fresh.lml.tmpQwErTy") ageBy(tmp.file(name), 120);

  EXPECT_EQ(removeStaleTemporaries(tmp.path()), 3);
  std::set<std::string> left(kept.begin(), kept.end());
  left.insert({"folder.tmpABCDEF", "link.tmpABCDEF", "fresh.lml.tmpQwErTy"});
  EXPECT_EQ(namesIn(tmp.path()), left);
  EXPECT_EQ(tmp.read("scene.lml"), "mine");  // the link's target too
  EXPECT_EQ(removeStaleTemporaries(tmp.path()), 0);
  EXPECT_EQ(removeStaleTemporaries(tmp.path(), 0), 1);  // with no age asked for, the fresh one goes too
  EXPECT_EQ(removeStaleTemporaries(tmp.file("missing")), 0);
  EXPECT_EQ(removeStaleTemporaries(""), 0);
}
