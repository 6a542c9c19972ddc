// The save slots on disk: naming, counting, keeping, removing and renumbering, in an order that never
// leaves a slot without its scene and never loses one when a step fails.
#include "files/SaveSlots.h"

#include <cstdio>

#include "platform/paths.h"

namespace {

constexpr int kGapLook = 20;

class DiskFiles final : public FileStore {
public:
  bool exists(const std::string& path) override { return fileExists(path); }
  bool write(const std::string& path, const std::string& bytes) override { return writeFileAtomically(path, bytes); }
  bool rename(const std::string& from, const std::string& to) override { return renameFile(from, to); }
  bool remove(const std::string& path) override { return removeFile(path); }
};

bool complete(FileStore& store, const SlotFiles& f) { return store.exists(f.scene) && store.exists(f.picture); }

// Slot from becomes slot to: the scene first, then the picture; a picture that cannot follow takes the
// scene back with it.
bool moveSlot(FileStore& store, const SlotFiles& from, const SlotFiles& to) {
  if (!store.rename(from.scene, to.scene)) return false;
  if (store.rename(from.picture, to.picture)) return true;
  // A scene parted from its picture would be no slot at all: try hard to bring it back.
  for (int attempt = 0; attempt < 10 && !store.rename(to.scene, from.scene); ++attempt) {
  }
  return false;
}

}  // namespace

FileStore& diskFiles() {
  static DiskFiles disk;  // holds nothing: every call goes to the disk
  return disk;
}

SlotFiles slotFiles(const std::string& installDir, SlotList list, int number) {
  char scene[32], picture[32];
  if (list == SlotList::Scenes) {
    std::snprintf(scene, sizeof scene, "save/save%03d.scn", number);
    std::snprintf(picture, sizeof picture, "save/save%03d.bmp", number);
  } else {
    std::snprintf(scene, sizeof scene, "save/game%03d.gam", number);
    std::snprintf(picture, sizeof picture, "save/gimg%03d.bmp", number);
  }
  return SlotFiles{joinPath(installDir, scene), joinPath(installDir, picture)};
}

bool slotExists(FileStore& store, const std::string& installDir, SlotList list, int number) {
  const SlotFiles f = slotFiles(installDir, list, number);
  return list == SlotList::Scenes ? complete(store, f) : store.exists(f.picture);
}

int countSlots(FileStore& store, const std::string& installDir, SlotList list) {
  int n = 1;
  while (n <= kMaxSlotNumber && slotExists(store, installDir, list, n)) ++n;
  return n;
}

bool saveSlot(FileStore& store, const std::string& installDir, SlotList list, int number, const std::string& scene,
              const std::string& picture) {
  const SlotFiles f = slotFiles(installDir, list, number);
  return store.write(f.scene, scene) && store.write(f.picture, picture);
}

bool deleteSlotFiles(FileStore& store, const std::string& installDir, SlotList list, int number) {
  const SlotFiles f = slotFiles(installDir, list, number);
  // A picture that stays keeps its scene too: the slot is then still whole.
  if (store.exists(f.picture) && !store.remove(f.picture)) return false;
  return !store.exists(f.scene) || store.remove(f.scene);
}

bool compactSlots(FileStore& store, const std::string& installDir, SlotList list) {
  // Look past gaps (a slot left behind by an earlier failure comes down with the others) until twenty
  // numbers in a row have no file at all.
  int highest = 0;
  for (int n = 1; n <= kMaxSlotNumber && n <= highest + kGapLook; ++n) {
    const SlotFiles f = slotFiles(installDir, list, n);
    if (store.exists(f.scene) || store.exists(f.picture)) highest = n;
  }
  bool ok = true;
  int kept = 0;
  for (int i = 1; i <= highest; ++i) {
    const SlotFiles from = slotFiles(installDir, list, i);
    if (!complete(store, from)) continue;
    ++kept;
    if (i == kept) continue;
    if (!moveSlot(store, from, slotFiles(installDir, list, kept))) {
      ok = false;
      kept = i;  // it stays where it is; the slots after it follow it
    }
  }
  return ok;
}
