// Writing the scene text format: CR LF line ends, "%d" and "%f" numbers, one blank after every field
// of the light, count and block lines; the optional information header first.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "files/SceneFile.h"
#include "platform/paths.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"

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

std::string sceneText() {
  std::string out;
  if (sceneFile.writeInfoFlag) {
    const SceneAuthor& author = sceneFile.author;
    headerLine(out, author.name);
    headerLine(out, author.age);
    headerLine(out, author.address);
    headerLine(out, author.email);
    const std::array<int, 3> date = sceneFile.today ? sceneFile.today() : todayUtc();
    append(out, "//%d %d %d\r\n", date[0], date[1], date[2]);
    headerLine(out, sceneFile.info.title);
    headerLine(out, sceneFile.info.description);
  }
  headerLine(out, sceneFile.backgroundPath);
  const SceneView& v = sceneView;
  append(out, "%f %f %f %f %f %f\r\n", double(v.azimuth), double(v.polar), double(v.distance), double(v.target.x),
         double(v.target.y), double(v.target.z));
  append(out, "%f %f %f %f %f %f \r\n", double(v.lightPosition.x), double(v.lightPosition.y),
         double(v.lightPosition.z), double(v.lightDirection.x), double(v.lightDirection.y),
         double(v.lightDirection.z));
  // The counter is never below the number of blocks that follow it.
  append(out, "%d \r\n", std::max(blockCounter, static_cast<int32_t>(scene.nodes.size())));
  for (const auto& node : scene.nodes) {
    const BlockDescription d = describeBlock(*node->block);
    append(out, "%d %d %d %d %d %f %f %f %f %f %f %f ", d.kind, d.studsX, d.studsZ, d.height, d.orientation,
           double(d.position.x), double(d.position.y), double(d.position.z), double(d.colour[0]), double(d.colour[1]),
           double(d.colour[2]), double(d.colour[3]));
    for (int32_t t : d.faceTextures) append(out, "%d ", t);
    out += "\r\n";
  }
  return out;
}

bool WriteSceneFile(const std::string& path) { return writeFileAtomically(path, sceneText()); }
