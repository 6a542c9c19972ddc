// The numbered save slots in the install folder's "save" folder: a scene and its picture each, numbered
// from 1 without gaps, one list for scenes and one for games. A scene slot is there when both its files
// are; a game slot when its picture is.
#pragma once

#include <string>

// The file operations slots are kept with; the disk's, or a test's that fails on purpose.
class FileStore {
public:
  virtual ~FileStore() = default;
  virtual bool exists(const std::string& path) = 0;
  virtual bool write(const std::string& path, const std::string& bytes) = 0;  // all or nothing
  virtual bool rename(const std::string& from, const std::string& to) = 0;    // replaces the target
  virtual bool remove(const std::string& path) = 0;
};
FileStore& diskFiles();

enum class SlotList { Scenes, Games };

constexpr int kMaxSlotNumber = 999;

struct SlotFiles {
  std::string scene, picture;
};

// "save/save%03d.scn" and ".bmp", or "save/game%03d.gam" and "save/gimg%03d.bmp", in the install folder.
SlotFiles slotFiles(const std::string& installDir, SlotList list, int number);
bool slotExists(FileStore& store, const std::string& installDir, SlotList list, int number);
// The first free slot number: the list ends at the first number that is not a slot (1 when empty; one past
// the last when all 999 are used).
int countSlots(FileStore& store, const std::string& installDir, SlotList list);

// Keep a scene and its picture as slot number: the scene first, so that no slot is ever there without its
// scene. False when either could not be written (a picture without its scene is not left behind).
bool saveSlot(FileStore& store, const std::string& installDir, SlotList list, int number, const std::string& scene,
              const std::string& picture);
// Remove both files of a slot: the picture first, so that a slot half removed is no longer a slot. False
// when a file that was there stays.
bool deleteSlotFiles(FileStore& store, const std::string& installDir, SlotList list, int number);

// Number the slots 1, 2, ... again in their old order after a deletion, by renaming. A slot is never lost:
// a rename that fails is undone and the slot stays under its old number, and slots beyond a gap (left by
// a failure before) are brought down too. False when some slot could not be moved.
bool compactSlots(FileStore& store, const std::string& installDir, SlotList list);
