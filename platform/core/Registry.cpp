// The settings store behind registry.h: keys and text values kept in one readable file,
//   [HKEY_CURRENT_USER\Software\Tolvane]
//   "View Change" = 10:"1"
// (value name, the byte length it was written with, the text). The file is read again whenever a key is
// opened, so a value another program wrote takes effect at the next look-up, and it is rewritten
// atomically after every change. A file that cannot be parsed is moved aside and the store starts empty.
//
// Index: [SECTION] Model  [SECTION] Parsing  [SECTION] Writing  [SECTION] Operations

#include "platform/registry.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

#include "platform/paths.h"

namespace {

// [SECTION] Model

struct Value {
  std::string name;
  std::string text;
  uint32_t length = 0;
};

struct Key {
  std::string path;  // as first written, for the file
  std::vector<Value> values;
};

constexpr size_t kMaxStoreBytes = 4u << 20;
constexpr uint32_t kMaxValueLength = 1u << 20;

struct Store {
  std::string filePath;
  bool loaded = false;
  std::map<std::string, Key> keys;     // by lower-cased full path
  std::vector<std::string> handles;    // handle - 1 -> lower-cased path; empty slot = closed
};

Store& store() {
  static Store instance;
  return instance;
}

std::string lowered(const std::string& text) {
  std::string result = text;
  for (char& c : result)
    if (static_cast<unsigned char>(c) < 128) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

std::string rootName(RegRoot root) { return root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE"; }

std::string fullPath(RegRoot root, const std::string& subKey) {
  std::string path = rootName(root);
  std::string rest = subKey;
  while (!rest.empty() && rest.front() == '\\') rest.erase(rest.begin());
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (!rest.empty()) path += "\\" + rest;
  return path;
}

Value* findValue(Key& key, const std::string& name) {
  for (Value& value : key.values)
    if (lowered(value.name) == lowered(name)) return &value;
  return nullptr;
}

// [SECTION] Parsing

// Reads a quoted text with \\ \" \n \r \t \xHH escapes starting at line[pos] == '"'. False when malformed.
bool readQuoted(const std::string& line, size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  ++pos;
  out.clear();
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= line.size()) return false;
    char e = line[pos++];
    switch (e) {
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        if (pos + 2 > line.size() || !std::isxdigit(static_cast<unsigned char>(line[pos])) ||
            !std::isxdigit(static_cast<unsigned char>(line[pos + 1])))
          return false;
        out += static_cast<char>(std::stoi(line.substr(pos, 2), nullptr, 16));
        pos += 2;
        break;
      }
      default: return false;
    }
  }
  return false;
}

void skipBlanks(const std::string& line, size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
}

bool parseStore(const std::string& bytes, std::map<std::string, Key>& keys) {
  Key* current = nullptr;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t pos = 0;
    skipBlanks(line, pos);
    if (pos == line.size() || line[pos] == '#') continue;
    if (line[pos] == '[') {
      size_t close = line.rfind(']');
      if (close == std::string::npos || close <= pos + 1) return false;
      std::string path = line.substr(pos + 1, close - pos - 1);
      Key& key = keys[lowered(path)];
      if (key.path.empty()) key.path = path;
      current = &key;
      continue;
    }
    if (!current) return false;
    Value value;
    if (!readQuoted(line, pos, value.name)) return false;
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
    skipBlanks(line, pos);
    size_t digits = pos;
    while (pos < line.size() && std::isdigit(static_cast<unsigned char>(line[pos]))) ++pos;
    if (pos == digits || pos - digits > 7 || pos >= line.size() || line[pos] != ':') return false;
    unsigned long length = std::stoul(line.substr(digits, pos - digits));
    ++pos;
    if (!readQuoted(line, pos, value.text)) return false;
    if (length > kMaxValueLength || value.text.find('\0') != std::string::npos) return false;
    value.length = static_cast<uint32_t>(length);
    if (Value* existing = findValue(*current, value.name))
      *existing = value;
    else
      current->values.push_back(value);
  }
  return true;
}

void keepDamagedFile(const std::string& path) {
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, ".damaged-%ld", static_cast<long>(std::time(nullptr)));
  renameFile(path, path + suffix);
}

void load() {
  Store& s = store();
  if (s.filePath.empty()) s.filePath = joinPath(userConfigFolder(), "registry.txt");
  s.keys.clear();
  s.loaded = true;
  if (!fileExists(s.filePath)) return;
  std::string bytes;
  std::map<std::string, Key> keys;
  if (!readWholeFile(s.filePath, bytes, kMaxStoreBytes) || !parseStore(bytes, keys)) {
    keepDamagedFile(s.filePath);
    return;
  }
  s.keys.swap(keys);
}

// [SECTION] Writing

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

bool save() {
  Store& s = store();
  std::string text = "# Tolvane settings. Each value: \"name\" = <bytes written>:\"text\"\n";
  for (const auto& [id, key] : s.keys) {
    text += "\n[" + key.path + "]\n";
    for (const Value& value : key.values)
      text += quoted(value.name) + " = " + std::to_string(value.length) + ":" + quoted(value.text) + "\n";
  }
  size_t slash = s.filePath.rfind('/');
  if (slash != std::string::npos) createFolder(s.filePath.substr(0, slash));
  return writeFileAtomically(s.filePath, text);
}

Key* keyOf(RegKey handle) {
  Store& s = store();
  if (handle <= 0 || static_cast<size_t>(handle) > s.handles.size()) return nullptr;
  const std::string& id = s.handles[handle - 1];
  if (id.empty()) return nullptr;
  auto found = s.keys.find(id);
  return found == s.keys.end() ? nullptr : &found->second;
}

RegKey newHandle(const std::string& id) {
  Store& s = store();
  for (size_t i = 0; i < s.handles.size(); ++i)
    if (s.handles[i].empty()) {
      s.handles[i] = id;
      return static_cast<RegKey>(i + 1);
    }
  s.handles.push_back(id);
  return static_cast<RegKey>(s.handles.size());
}

}  // namespace

// [SECTION] Operations

RegKey regOpenKey(RegRoot root, const std::string& subKey) {
  load();
  std::string id = lowered(fullPath(root, subKey));
  if (!store().keys.count(id)) return kNoKey;
  return newHandle(id);
}

RegKey regCreateKey(RegRoot root, const std::string& subKey) {
  load();
  std::string path = fullPath(root, subKey);
  std::string id = lowered(path);
  Store& s = store();
  if (!s.keys.count(id)) {
    s.keys[id].path = path;
    if (!save()) {
      s.keys.erase(id);
      return kNoKey;
    }
  }
  return newHandle(id);
}

bool regQueryValue(RegKey handle, const std::string& name, char* buffer, uint32_t capacity, uint32_t* length) {
  Key* key = keyOf(handle);
  if (!key || !buffer) return false;
  Value* value = findValue(*key, name);
  if (!value) return false;
  size_t needed = value->text.size() + 1;
  if (needed > capacity) return false;
  std::copy(value->text.begin(), value->text.end(), buffer);
  buffer[value->text.size()] = '\0';
  if (length) *length = static_cast<uint32_t>(needed);
  return true;
}

bool regSetValue(RegKey handle, const std::string& name, const char* data, uint32_t length) {
  Key* key = keyOf(handle);
  if (!key || (!data && length > 0) || length > kMaxValueLength) return false;
  std::string text;
  for (uint32_t i = 0; i < length && data[i] != '\0'; ++i) text += data[i];
  Value* value = findValue(*key, name);
  Value previous;
  bool existed = value != nullptr;
  if (existed) {
    previous = *value;
  } else {
    key->values.push_back(Value{name, "", 0});
    value = &key->values.back();
  }
  value->text = text;
  value->length = length;
  if (save()) return true;
  if (existed)
    *findValue(*key, name) = previous;
  else
    key->values.pop_back();
  return false;
}

bool regDeleteValue(RegKey handle, const std::string& name) {
  Key* key = keyOf(handle);
  if (!key) return false;
  for (size_t i = 0; i < key->values.size(); ++i)
    if (lowered(key->values[i].name) == lowered(name)) {
      key->values.erase(key->values.begin() + static_cast<long>(i));
      return save();
    }
  return false;
}

void regCloseKey(RegKey handle) {
  Store& s = store();
  if (handle > 0 && static_cast<size_t>(handle) <= s.handles.size()) s.handles[handle - 1].clear();
}

void regSetStorePath(const std::string& path) {
  store().filePath = path;
  store().loaded = false;
}

std::string regStorePath() {
  if (store().filePath.empty()) store().filePath = joinPath(userConfigFolder(), "registry.txt");
  return store().filePath;
}

void regReload() { load(); }

bool regParseStoreText(const std::string& text, size_t* keyCount) {
  std::map<std::string, Key> keys;
  if (!parseStore(text, keys)) return false;
  if (keyCount) *keyCount = keys.size();
  return true;
}
