// Writing the scene text format: CR LF line ends, "%d" and "%f" numbers, one blank after every field
// of the light, count and block lines; the optional information header first.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "files/SceneFile.h"
#include "platform/paths.h"
#include "scene/World.h"

namespace {

void append(std::string& out, const char* format, auto... values) {
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, values...);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof buffer) {
    out.append(buffer, static_cast<size_t>(n));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, values...);
  out.append(big.data(), static_cast<size_t>(n));
}

// Numbers as "%d" and "%f" write them in the C locale, whatever locale the program runs in.
void number(std::string& out, int32_t value) { out += std::to_string(value); }
void number(std::string& out, float value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                          std::chars_format::fixed, 6);
  if (error == std::errc()) {
    out.append(buffer, end);
  } else {
    append(out, "%f", static_cast<double>(value));  // beyond the buffer only for values near the float limit
  }
}

// Six values with a blank between them (and after the last when asked).
void numbers(std::string& out, std::initializer_list<float> values, bool trailingBlank) {
  bool first = true;
  for (float v : values) {
    if (!first) out += ' ';
    number(out, v);
    first = false;
  }
  if (trailingBlank) out += ' ';
  out += "\r\n";
}

// A header value on one line: a line break inside it would end the header early and turn the rest of
// the value into scene lines, so breaks are written as blanks.
void headerLine(std::string& out, const std::string& value) {
  std::string flat = value;
  for (char& c : flat)
    if (c == '\r' || c == '\n') c = ' ';
  out += "//" + flat + "\r\n";
}

std::array<int, 3> todayUtc() {
  const std::time_t now = std::time(nullptr);
  const std::tm* utc = std::gmtime(&now);
  if (!utc) return {1970, 1, 1};
  return {utc->tm_year + 1900, utc->tm_mon + 1, utc->tm_mday};
}

}  // namespace

std::string sceneText(const SceneFileState& sceneFile, const World& world) {
  std::string out;
  if (sceneFile.writeInfoFlag) {
    const SceneAuthor& author = sceneFile.author;
    headerLine(out, author.name);
    headerLine(out, author.age);
    headerLine(out, author.address);
    headerLine(out, author.email);
    const std::array<int, 3> date = sceneFile.fixedDate ? *sceneFile.fixedDate : todayUtc();
    append(out, "//%d %d %d\r\n", date[0], date[1], date[2]);
    headerLine(out, sceneFile.info.title);
    headerLine(out, sceneFile.info.description);
  }
  headerLine(out, sceneFile.backgroundPath);
  const SceneView& v = world.view;
  numbers(out, {v.azimuth, v.polar, v.distance, v.target.x, v.target.y, v.target.z}, false);
  numbers(out, {v.lightPosition.x, v.lightPosition.y, v.lightPosition.z, v.lightDirection.x, v.lightDirection.y,
                v.lightDirection.z},
          true);
  // The counter is never below the number of blocks that follow it.
  number(out, std::max(world.blockCounter, static_cast<int32_t>(world.scene.nodes.size())));
  out += " \r\n";
  for (const auto& node : world.scene.nodes) {
    const BlockDescription d = describeBlock(*node->block);
    for (int32_t field : {d.kind, d.studsX, d.studsZ, d.height, d.orientation}) number(out, field), out += ' ';
    for (float field : {d.position.x, d.position.y, d.position.z}) number(out, field), out += ' ';
    for (float field : d.colour) number(out, field), out += ' ';
    for (int32_t field : d.faceTextures) number(out, field), out += ' ';
    out += "\r\n";
  }
  return out;
}

bool WriteSceneFile(const SceneFileState& file, const World& world, const std::string& path, WriteFailure* why) {
  return writeFileAtomically(path, sceneText(file, world), 0644, why);
}
