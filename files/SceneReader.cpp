// Reading the scene text format: the optional information header, the background line, the view and
// light lines, the count line and the block lines; and building the scene from what was read.
//
// Index: [SECTION] Header  [SECTION] Block lines  [SECTION] Reading  [SECTION] Building

#include <cmath>
#include <optional>

#include "files/SceneFile.h"
#include "files/TextScan.h"
#include "platform/paths.h"
#include "scene/World.h"

namespace {

constexpr size_t kMaxLine = 511;
// Coordinates beyond this are no place in any scene.
constexpr float kMaxCoordinate = 1.0e6f;

bool startsWithSlash(const std::string& line) { return !line.empty() && line[0] == '/'; }
// "//value": the value is what follows the first two characters.
std::string headerValue(const std::string& line, size_t capacity) {
  return line.size() > 2 ? cutUtf8(std::string_view(line).substr(2), capacity) : std::string();
}

// [SECTION] Header

// Takes up to seven "/" lines as the header, leaving in `line` the first line after it.
void readHeader(LineReader& lines, std::string& line, bool& more, SceneFileInfo& info, const std::string& path) {
  if (!more || !startsWithSlash(line)) return;
  int taken = 0;
  while (more && taken < 7 && startsWithSlash(line)) {
    switch (taken) {
      case 0:
        info.name = headerValue(line, kNameCapacity);
        info.path = path;
        break;
      case 1: info.age = headerValue(line, kAgeCapacity); break;
      case 2: info.address = headerValue(line, kAddressCapacity); break;
      case 3: info.email = headerValue(line, kEmailCapacity); break;
      case 4: {
        const std::string value = headerValue(line, kMaxLine);
        FieldScanner fields(value);
        int32_t year = 0, month = 0, day = 0;
        fields.readInt(year);
        fields.readInt(month);
        fields.readInt(day);
        info.date = std::to_string(month) + ". " + std::to_string(day) + ". " + std::to_string(year) + ".";
        break;
      }
      case 5: info.title = headerValue(line, kTitleCapacity); break;
      case 6: info.description = headerValue(line, kDescriptionCapacity); break;
    }
    ++taken;
    more = lines.next(line);
  }
}

// Six floats into the values given; a field that does not convert keeps its value, and a line holding
// a value that is not a finite number changes nothing.
void readSixFloats(const std::string& line, std::array<float*, 6> values) {
  std::array<float, 6> read;
  for (int i = 0; i < 6; ++i) read[i] = *values[i];
  FieldScanner fields(line);
  for (float& v : read) fields.readFloat(v);
  for (float v : read)
    if (!std::isfinite(v)) return;
  for (int i = 0; i < 6; ++i) *values[i] = read[i];
}

// [SECTION] Block lines

bool usableFloat(float v, float limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

// One block line, or nothing for a line that is not a block: its kind does not convert or is out of
// range, a number is not finite or far outside any scene, or a brick's size could not be built.
std::optional<BlockDescription> parseBlockLine(const std::string& line) {
  BlockDescription d;
  d.faceTextures = {0, 0, 0, 0, 0, 0};
  FieldScanner fields(line);
  if (!fields.readInt(d.kind)) return std::nullopt;
  fields.readInt(d.studsX);
  fields.readInt(d.studsZ);
  fields.readInt(d.height);
  fields.readInt(d.orientation);
  fields.readFloat(d.position.x);
  fields.readFloat(d.position.y);
  fields.readFloat(d.position.z);
  for (float& c : d.colour) fields.readFloat(c);
  for (int32_t& t : d.faceTextures) fields.readInt(t);

  if (d.kind < 0 || d.kind > kLastShapeKind) return std::nullopt;
  for (float v : {d.position.x, d.position.y, d.position.z})
    if (!usableFloat(v, kMaxCoordinate)) return std::nullopt;
  for (float c : d.colour)
    if (!usableFloat(c, kMaxCoordinate)) return std::nullopt;
  if (!descriptionSizesValid(d)) return std::nullopt;
  return d;
}

}  // namespace

// [SECTION] Reading

bool readSceneText(SceneFileState& sceneFile, World& world, std::string_view text, const std::string& path) {
  // A byte-order mark, as some editors put at the start of a text file, is no part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  LineReader lines(text, kMaxLine);
  std::string line;
  bool more = lines.next(line);

  // Everything is read into copies first, so a file that proves not to be a scene changes nothing.
  SceneFileInfo info = sceneFile.info;
  const bool withHeader = sceneFile.readInfoFlag;
  sceneFile.readInfoFlag = false;
  if (withHeader) {
    readHeader(lines, line, more, info, path);
  } else {
    info.date.clear();
    info.path.clear();
    info.title.clear();
    info.description.clear();
  }

  std::optional<std::string> background;
  if (more && startsWithSlash(line)) {
    const size_t wordEnd = line.find_first_of(" \t");
    const std::string word = line.substr(0, wordEnd);
    const std::string named = word.size() > 2 ? word.substr(2) : std::string();
    if (!named.empty() && named != sceneFile.backgroundPath) background = named;
    more = lines.next(line);
  }
  while (more && (startsWithSlash(line) || isBlankLine(line))) more = lines.next(line);

  SceneView view = world.view;
  if (!more) return false;
  readSixFloats(line, {&view.azimuth, &view.polar, &view.distance, &view.target.x, &view.target.y, &view.target.z});
  if (!lines.next(line)) return false;
  readSixFloats(line, {&view.lightPosition.x, &view.lightPosition.y, &view.lightPosition.z, &view.lightDirection.x,
                       &view.lightDirection.y, &view.lightDirection.z});
  // The count line only ever sized the table; the blocks are counted as they are read.
  if (!lines.next(line)) return false;

  std::vector<BlockDescription> records;
  while (lines.next(line)) {
    if (startsWithSlash(line) || isBlankLine(line)) continue;
    if (std::optional<BlockDescription> d = parseBlockLine(line)) records.push_back(*d);
  }

  sceneFile.info = std::move(info);
  world.view = view;
  sceneFile.loadedDescriptions = std::move(records);
  world.blockCounter = static_cast<int32_t>(sceneFile.loadedDescriptions.size());
  sceneFile.namedBackground = background;
  return true;
}

bool ReadSceneFile(SceneFileState& file, World& world, const std::string& path) {
  std::string bytes;
  if (!readWholeFile(path, bytes, kMaxSceneFileBytes)) return false;
  return readSceneText(file, world, bytes, path);
}

// [SECTION] Building

void BuildLoadedScene(const SceneFileState& file, World& world) {
  sweepBeginBatch(world.sweep);
  for (const BlockDescription& d : file.loadedDescriptions) {
    std::unique_ptr<Block> block = createBlock(world, d);
    if (block->kind == BasePlate) world.basePlate = block.get();
    // No rise-until-free: blocks keep the positions the file gives them.
    placeBuiltBlock(world, std::move(block));
  }
  sweepEndBatch(world.sweep);
}
