// The scene text format: reading a stored scene into block descriptions (plus the view, the light, the
// background and the optional information header), building the scene from them, and writing it back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "scene/Block.h"

// The information header's values. A read with readInfoFlag fills them (the date as display text and
// the file's path); other reads clear date, path, title and description.
struct SceneFileInfo {
  std::string name, age, address, email;
  std::string date;  // "month. day. year."
  std::string path;
  std::string title, description;
};

// The author fields a header is written with: the user's profile at the time of writing.
struct SceneAuthor {
  std::string name, age, address, email;
};

struct SceneFileState {
  bool readInfoFlag = false;   // one shot: the next read takes the header, and clears it
  bool writeInfoFlag = false;  // writes carry the header while it is set
  std::vector<BlockDescription> loadedDescriptions;
  SceneFileInfo info;
  SceneAuthor author;
  // The background picture path as the background setter keeps it (one word).
  std::string backgroundPath;
  // The other background the latest read named, for the shell to show; none when it named none.
  std::optional<std::string> namedBackground;
  // The date headers are written with, as year, month, day; none means today in UTC.
  std::optional<std::array<int, 3>> fixedDate;
};

struct World;

// Capacities of the header's values, in bytes.
constexpr size_t kNameCapacity = 255, kAgeCapacity = 9, kAddressCapacity = 511, kEmailCapacity = 261,
                 kTitleCapacity = 255, kDescriptionCapacity = 511;
// A scene file larger than this is not a scene.
constexpr size_t kMaxSceneFileBytes = 64u << 20;

// Parse a scene file into the reader state and loadedDescriptions, and the world's view values and block
// counter; the world's blocks are untouched. False when the file cannot be opened, or ends before its
// count line (the reader state and the world then stay as they were).
bool ReadSceneFile(SceneFileState& file, World& world, const std::string& path);
// The same on the file's bytes; path is what the header's shown path becomes.
bool readSceneText(SceneFileState& file, World& world, std::string_view text, const std::string& path);
// Put a block into the world for every description of the latest read, in file order.
void BuildLoadedScene(const SceneFileState& file, World& world);
// The world's scene in the stored layout.
std::string sceneText(const SceneFileState& file, const World& world);
// Write the world's scene; the old file stays as it was when writing fails. False on failure.
// why (when given) tells why a failed write failed.
bool WriteSceneFile(const SceneFileState& file, const World& world, const std::string& path,
                    WriteFailure* why = nullptr);
