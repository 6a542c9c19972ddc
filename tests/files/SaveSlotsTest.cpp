// The save slots on an in-memory store that can fail any write, rename or removal on purpose: the list's
// rules (both files make a scene slot, the list ends at a gap), renumbering after a deletion, and a long
// run of random keeps, removals and renumberings with failures that must never lose a slot or leave one
// half-written.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

#include "files/SaveSlots.h"

namespace {

class MemoryFiles final : public FileStore {
public:
  bool exists(const std::string& path) override { return files.count(path) > 0; }
  bool write(const std::string& path, const std::string& bytes) override {
    if (fails()) return false;
    files[path] = bytes;
    return true;
  }
  bool rename(const std::string& from, const std::string& to) override {
    if (!files.count(from) || fails()) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool remove(const std::string& path) override {
    if (fails()) return false;
    files.erase(path);
    return true;
  }
  std::map<std::string, std::string> files;
  double failureRate = 0;
  std::mt19937 random{7};

private:
  bool fails() { return std::uniform_real_distribution<double>(0, 1)(random) < failureRate; }
};

const std::string kDir = "/install";

void keep(MemoryFiles& m, SlotList list, int n, const std::string& content) {
  ASSERT_TRUE(saveSlot(m, kDir, list, n, "scene " + content, "picture " + content));
}

std::string sceneOf(MemoryFiles& m, SlotList list, int n) { return m.files[slotFiles(kDir, list, n).scene]; }

}  // namespace

TEST(SaveSlots, AListEndsAtItsFirstGapAndRenumberingKeepsTheOrder) {
  MemoryFiles m;
  EXPECT_EQ(countSlots(m, kDir, SlotList::Scenes), 1);
  for (int n = 1; n <= 5; ++n) keep(m, SlotList::Scenes, n, std::to_string(n));
  EXPECT_EQ(countSlots(m, kDir, SlotList::Scenes), 6);
  EXPECT_EQ(slotFiles(kDir, SlotList::Scenes, 7).scene, "/install/save/save007.scn");
  EXPECT_EQ(slotFiles(kDir, SlotList::Games, 12).picture, "/install/save/gimg012.bmp");

  // Slot 3 of 5 removed: 4 and 5 become 3 and 4, scene and picture together, and 5 is gone.
  ASSERT_TRUE(deleteSlotFiles(m, kDir, SlotList::Scenes, 3));
  EXPECT_EQ(countSlots(m, kDir, SlotList::Scenes), 3);
  ASSERT_TRUE(compactSlots(m, kDir, SlotList::Scenes));
  EXPECT_EQ(countSlots(m, kDir, SlotList::Scenes), 5);
  EXPECT_EQ(sceneOf(m, SlotList::Scenes, 3), "scene 4");
  EXPECT_EQ(m.files[slotFiles(kDir, SlotList::Scenes, 4).picture], "picture 5");
  EXPECT_FALSE(m.exists(slotFiles(kDir, SlotList::Scenes, 5).scene));
  EXPECT_FALSE(m.exists(slotFiles(kDir, SlotList::Scenes, 5).picture));

  // A scene slot whose scene is missing ends the list; a game slot needs only its picture to be listed.
  m.files.erase(slotFiles(kDir, SlotList::Scenes, 2).scene);
  EXPECT_EQ(countSlots(m, kDir, SlotList::Scenes), 2);
  m.files[slotFiles(kDir, SlotList::Games, 1).picture] = "picture";
  EXPECT_EQ(countSlots(m, kDir, SlotList::Games), 2);
}

TEST(SaveSlots, AFailedKeepLeavesNoSlotAndAFailedMoveLosesNone) {
  MemoryFiles m;
  keep(m, SlotList::Games, 1, "a");
  m.failureRate = 1;
  EXPECT_FALSE(saveSlot(m, kDir, SlotList::Games, 2, "scene b", "picture b"));
  EXPECT_EQ(countSlots(m, kDir, SlotList::Games), 2);
  m.failureRate = 0;
  keep(m, SlotList::Games, 2, "b");
  keep(m, SlotList::Games, 3, "c");
  ASSERT_TRUE(deleteSlotFiles(m, kDir, SlotList::Games, 1));
  m.failureRate = 1;
  EXPECT_FALSE(compactSlots(m, kDir, SlotList::Games));
  // Nothing moved, nothing lost: the next renumbering brings the slots beyond the gap down.
  m.failureRate = 0;
  ASSERT_TRUE(compactSlots(m, kDir, SlotList::Games));
  EXPECT_EQ(countSlots(m, kDir, SlotList::Games), 3);
  EXPECT_EQ(sceneOf(m, SlotList::Games, 1), "scene b");
  EXPECT_EQ(sceneOf(m, SlotList::Games, 2), "scene c");
}

TEST(SaveSlots, AThousandOperationsWithFailuresLoseNoSlotAndLeaveNoneHalfWritten) {
  MemoryFiles m;
  m.failureRate = 0.15;
  std::mt19937 random(42);
  std::multiset<std::string> kept;  // the contents of every slot that should exist somewhere
  int made = 0;
  for (int step = 0; step < 1000; ++step) {
    const int count = countSlots(m, kDir, SlotList::Scenes);
    const int operation = std::uniform_int_distribution<int>(0, 9)(random);
    if (operation < 5) {
      const std::string content = std::to_string(++made);
      if (saveSlot(m, kDir, SlotList::Scenes, count, "scene " + content, "picture " + content))
        kept.insert(content);
    } else if (operation < 8 && count > 1) {
      const int n = std::uniform_int_distribution<int>(1, count - 1)(random);
      const std::string content = sceneOf(m, SlotList::Scenes, n).substr(6);
      deleteSlotFiles(m, kDir, SlotList::Scenes, n);
      // Gone once its picture is: a removal that stopped after that has still removed the slot.
      if (!m.exists(slotFiles(kDir, SlotList::Scenes, n).picture)) kept.erase(kept.find(content));
      compactSlots(m, kDir, SlotList::Scenes);
    } else {
      compactSlots(m, kDir, SlotList::Scenes);
    }
    // Every kept slot is somewhere on disk whole, scene and picture alike.
    std::multiset<std::string> found;
    for (const auto& [path, bytes] : m.files) {
      if (path.size() < 4 || path.compare(path.size() - 4, 4, ".scn") != 0) continue;
      const auto picture = m.files.find(path.substr(0, path.size() - 4) + ".bmp");
      if (picture == m.files.end()) continue;
      const std::string content = bytes.substr(6);
      ASSERT_EQ(picture->second, "picture " + content) << path << " at step " << step;
      found.insert(content);
    }
    for (const std::string& content : kept) ASSERT_EQ(found.count(content), kept.count(content)) << step;
  }
  // Once nothing fails, the list is whole again: slots 1, 2, ... hold every kept slot and nothing else.
  m.failureRate = 0;
  ASSERT_TRUE(compactSlots(m, kDir, SlotList::Scenes));
  std::multiset<std::string> listed;
  for (int n = 1; n < countSlots(m, kDir, SlotList::Scenes); ++n) listed.insert(sceneOf(m, SlotList::Scenes, n).substr(6));
  EXPECT_EQ(listed, kept);
  EXPECT_GT(kept.size(), 20u);
}
