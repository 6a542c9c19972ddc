// The session journal: every input event the program received, one line each, so a session can be
// replayed headless. Lines are "<milliseconds> <event> <arguments>":
//   move X Y | button B down|up X Y | key VK down|up | text UTF8 | compose [UTF8] | close | restore |
//   screenshot FILE.bmp | answer ID
// (compose: the input method's text still being composed, none when the composition ends; restore: the
// iconified program was brought back.) Lines starting with '#' are comments. The last two are
// commands for replays written by hand: save the composed screen (into the journal's folder), and choose
// the answer of the next message box.
#include <cstdio>
#include <sstream>

#include "platform/core/Backend.h"
#include "platform/paths.h"

namespace {
FILE* recordFile = nullptr;
}

std::string journalFormatLine(const InputEvent& e) {
  std::string t = std::to_string(e.time) + " ";
  switch (e.type) {
    case InputEvent::Type::MouseMove: return t + "move " + std::to_string(e.x) + " " + std::to_string(e.y);
    case InputEvent::Type::Button:
      return t + "button " + std::to_string(e.button) + (e.down ? " down " : " up ") + std::to_string(e.x) + " " +
             std::to_string(e.y);
    case InputEvent::Type::Key: return t + "key " + std::to_string(e.key) + (e.down ? " down" : " up");
    case InputEvent::Type::Text: return t + "text " + e.text;
    case InputEvent::Type::Composition: return t + "compose" + (e.text.empty() ? "" : " " + e.text);
    case InputEvent::Type::Close: return t + "close";
    case InputEvent::Type::Terminate: return t + "terminate";
    case InputEvent::Type::Restore: return t + "restore";
    case InputEvent::Type::Screenshot: return t + "screenshot " + e.text;
    case InputEvent::Type::Answer: return t + "answer " + std::to_string(e.key);
  }
  return t;
}

bool journalParseLine(const std::string& line, InputEvent& e) {
  std::istringstream in(line);
  long long time = -1;
  std::string word;
  if (!(in >> time >> word) || time < 0 || time > kJournalMaxTime) return false;
  e = InputEvent{};
  e.time = static_cast<uint32_t>(time);
  std::string state;
  if (word == "move") {
    e.type = InputEvent::Type::MouseMove;
    return static_cast<bool>(in >> e.x >> e.y);
  }
  if (word == "button") {
    e.type = InputEvent::Type::Button;
    if (!(in >> e.button >> state >> e.x >> e.y) || (state != "down" && state != "up")) return false;
    e.down = state == "down";
    return e.button == 1 || e.button == 3;
  }
  if (word == "key") {
    e.type = InputEvent::Type::Key;
    if (!(in >> e.key >> state) || (state != "down" && state != "up")) return false;
    e.down = state == "down";
    return e.key > 0 && e.key < 256;
  }
  if (word == "text" || word == "screenshot" || word == "compose") {
    e.type = word == "text" ? InputEvent::Type::Text
             : word == "compose" ? InputEvent::Type::Composition : InputEvent::Type::Screenshot;
    std::getline(in, e.text);
    if (!e.text.empty() && e.text.front() == ' ') e.text.erase(e.text.begin());
    if (!e.text.empty() && e.text.back() == '\r') e.text.pop_back();
    return !e.text.empty() || e.type == InputEvent::Type::Composition;  // an empty composition is its end
  }
  if (word == "close") {
    e.type = InputEvent::Type::Close;
    return true;
  }
  if (word == "terminate") {
    e.type = InputEvent::Type::Terminate;
    return true;
  }
  if (word == "restore") {
    e.type = InputEvent::Type::Restore;
    return true;
  }
  if (word == "answer") {
    e.type = InputEvent::Type::Answer;
    return static_cast<bool>(in >> e.key) && e.key > 0;
  }
  return false;
}

bool journalScreenshotPath(const std::string& journalPath, const std::string& name, std::string& path) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
  // Both separators count: the resolver reads a backslash as one.
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  size_t slash = journalPath.find_last_of("/\\");
  path = slash == std::string::npos ? name : joinPath(journalPath.substr(0, slash == 0 ? 1 : slash), name);
  return true;
}

bool journalLoad(const std::string& path, std::vector<InputEvent>& events) {
  std::string bytes;
  if (!readWholeFile(path, bytes, 64u << 20)) return false;
  std::istringstream in(bytes);
  std::string line;
  InputEvent event;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (!journalParseLine(line, event)) continue;
    if (event.type == InputEvent::Type::Screenshot) {
      std::string saveTo;
      if (!journalScreenshotPath(path, event.text, saveTo)) continue;
      event.text = saveTo;
    }
    events.push_back(event);
  }
  return true;
}

bool journalOpenRecord(const std::string& path) {
  journalCloseRecord();
  // The journal is appended as the session goes, so a crash keeps everything up to it.
  recordFile = openFile(path, "w");
  if (!recordFile) return false;
  std::fputs("# Tolvane session journal: <milliseconds> <event> <arguments>\n", recordFile);
  std::fflush(recordFile);
  return true;
}

void journalRecord(const InputEvent& event) {
  if (!recordFile || event.type == InputEvent::Type::Screenshot || event.type == InputEvent::Type::Answer) return;
  std::fputs((journalFormatLine(event) + "\n").c_str(), recordFile);
  std::fflush(recordFile);
}

void journalCloseRecord() {
  if (recordFile) std::fclose(recordFile);
  recordFile = nullptr;
}
