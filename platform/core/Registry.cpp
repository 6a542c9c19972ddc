// The settings store behind registry.h: keys and text values kept in one readable file,
//   [HKEY_CURRENT_USER\Software\Tolvane]
//   "View Change" = 10:"1"
// (value name, the byte length it was written with, the text). The file is read again whenever a key is
// opened and rewritten atomically after every change, its comment and blank lines kept in place. A line
// that cannot be read is left out and the file as it was copied beside it; one that cannot be read at all
// is moved aside and the store starts empty.
//
// Index: [SECTION] Model  [SECTION] Parsing  [SECTION] Damaged files  [SECTION] Loading  [SECTION] Writing
//        [SECTION] Operations

#include "platform/registry.h"

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

// A line of a key's section: a value, or a comment or blank line between values, kept as it was read.
struct Item {
  bool isValue = false;
  std::string line;
  Value value;
};

struct Key {
  std::string path;                 // as first written, for the file
  std::vector<std::string> before;  // the comment and blank lines above its header
  std::vector<Item> items;
};

struct Contents {
  std::vector<std::string> head;    // comment and blank lines before the first key
  std::map<std::string, Key> keys;  // by lower-cased full path
  std::vector<std::string> tail;    // and after the last value
  size_t skipped = 0;               // lines that could not be read
};

constexpr size_t kMaxStoreBytes = 4u << 20;
constexpr uint32_t kMaxValueLength = 1u << 20;
const char* const kFileComment = "# Tolvane settings. Each value: \"name\" = <bytes written>:\"text\"";

struct Store {
  std::string filePath;
  bool swept = false;    // stale temporaries beside the file removed
  bool writable = true;  // false while a file that could be neither read nor set aside is in the way
  Contents contents;
  std::vector<std::string> handles;  // handle - 1 -> lower-cased path; empty slot = closed
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
  const std::string wanted = lowered(name);
  for (Item& item : key.items)
    if (item.isValue && lowered(item.value.name) == wanted) return &item.value;
  return nullptr;
}

// A new value goes after the key's last value.
void addValue(Key& key, const Value& value) {
  size_t at = 0;
  for (size_t i = 0; i < key.items.size(); ++i)
    if (key.items[i].isValue) at = i + 1;
  Item item;
  item.isValue = true;
  item.value = value;
  key.items.insert(key.items.begin() + static_cast<long>(at), item);
}

bool removeValue(Key& key, const std::string& name) {
  const std::string wanted = lowered(name);
  for (size_t i = 0; i < key.items.size(); ++i)
    if (key.items[i].isValue && lowered(key.items[i].value.name) == wanted) {
      key.items.erase(key.items.begin() + static_cast<long>(i));
      return true;
    }
  return false;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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

// One value line from line[pos]: "name" = <length>:"text". False when malformed.
bool parseValue(const std::string& line, size_t pos, Value& value) {
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
  return true;
}

void addComments(Key& key, std::vector<std::string>& lines) {
  for (std::string& line : lines) {
    Item item;
    item.line = std::move(line);
    key.items.push_back(std::move(item));
  }
  lines.clear();
}

// Every line that can be read; the others are counted in `skipped`. Comment and blank lines belong to
// what follows them: the next value of the section, the next key, or the end of the file. The values under
// a key header that cannot be read are skipped with it, rather than handed to the key before it.
Contents parseStore(const std::string& bytes) {
  Contents contents;
  Key* current = nullptr;
  bool seenKey = false;
  std::vector<std::string> pending;
  size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a byte-order mark some editors add
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t pos = 0;
    skipBlanks(line, pos);
    if (pos == line.size() || line[pos] == '#') {
      (seenKey ? pending : contents.head).push_back(line);
      continue;
    }
    if (line[pos] == '[') {
      size_t close = line.rfind(']');
      current = nullptr;
      if (close == std::string::npos || close <= pos + 1) {
        ++contents.skipped;
        continue;
      }
      seenKey = true;
      std::string path = line.substr(pos + 1, close - pos - 1);
      Key& key = contents.keys[lowered(path)];
      if (key.path.empty()) {
        key.path = path;
        key.before.swap(pending);
      } else {
        addComments(key, pending);  // a second section of the same key joins the first
      }
      pending.clear();
      current = &key;
      continue;
    }
    Value value;
    if (!current || !parseValue(line, pos, value)) {
      ++contents.skipped;
      continue;
    }
    addComments(*current, pending);
    if (Value* existing = findValue(*current, value.name)) {
      *existing = value;
    } else {
      Item item;
      item.isValue = true;
      item.value = value;
      current->items.push_back(std::move(item));
    }
  }
  contents.tail.swap(pending);
  return contents;
}

// [SECTION] Damaged files

// "<path>.damaged-<time>", with a number after it when that name is taken.
std::string asideName(const std::string& path) {
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, ".damaged-%ld", static_cast<long>(std::time(nullptr)));
  std::string name = path + suffix;
  for (int n = 2; n < 1000 && (fileExists(name) || folderExists(name)); ++n)
    name = path + suffix + "-" + std::to_string(n);
  return name;
}

// True when a copy holding exactly these bytes already lies beside the file.
bool alreadyKept(const std::string& path, const std::string& bytes) {
  const std::string folder = folderOf(path);
  const std::string prefix = nameOf(path) + ".damaged-";
  for (const std::string& name : listFolder(folder)) {
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    std::string kept;
    if (readWholeFile(joinPath(folder, name), kept, bytes.size()) && kept == bytes) return true;
  }
  return false;
}

// Some lines were left out: copy the file as it was (once for each such content), so the user can see
// what they held. The file itself is left for the next save to rewrite.
void keepCopy(const std::string& path, const std::string& bytes) {
  if (!alreadyKept(path, bytes)) writeFileAtomically(asideName(path), bytes, 0600);
}

// [SECTION] Loading

void load() {
  Store& s = store();
  if (s.filePath.empty()) s.filePath = joinPath(userConfigFolder(), "registry.txt");
  s.contents = Contents{};
  s.writable = true;
  if (!s.swept) {
    s.swept = true;
    removeStaleTemporaries(folderOf(s.filePath));
  }
  if (!fileExists(s.filePath)) {
    s.contents.head.push_back(kFileComment);
    return;
  }
  std::string bytes;
  if (!readWholeFile(s.filePath, bytes, kMaxStoreBytes)) {
    // Too large (or unreadable): moved aside whole, so the next save cannot write over it.
    s.writable = renameFile(s.filePath, asideName(s.filePath));
    s.contents.head.push_back(kFileComment);
    return;
  }
  s.contents = parseStore(bytes);
  if (s.contents.skipped > 0) keepCopy(s.filePath, bytes);
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

std::string valueLine(const Value& value) {
  return quoted(value.name) + " = " + std::to_string(value.length) + ":" + quoted(value.text);
}

bool save() {
  Store& s = store();
  if (!s.writable) return false;
  std::string text;
  for (const std::string& line : s.contents.head) text += line + "\n";
  for (const auto& [id, key] : s.contents.keys) {
    for (const std::string& line : key.before) text += line + "\n";
    text += "[" + key.path + "]\n";
    for (const Item& item : key.items) text += (item.isValue ? valueLine(item.value) : item.line) + "\n";
  }
  for (const std::string& line : s.contents.tail) text += line + "\n";
  createFolder(folderOf(s.filePath));
  // The store holds the user's name, address and e-mail: a new file is for the user's eyes only.
  return writeFileAtomically(s.filePath, text, 0600);
}

Key* keyOf(RegKey handle) {
  Store& s = store();
  if (handle <= 0 || static_cast<size_t>(handle) > s.handles.size()) return nullptr;
  const std::string& id = s.handles[handle - 1];
  if (id.empty()) return nullptr;
  auto found = s.contents.keys.find(id);
  return found == s.contents.keys.end() ? nullptr : &found->second;
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
  if (!store().contents.keys.count(id)) return kNoKey;
  return newHandle(id);
}

RegKey regCreateKey(RegRoot root, const std::string& subKey) {
  load();
  std::string path = fullPath(root, subKey);
  std::string id = lowered(path);
  auto& keys = store().contents.keys;
  if (!keys.count(id)) {
    Key& key = keys[id];
    key.path = path;
    key.before.push_back("");  // a blank line above each new key
    if (!save()) {
      keys.erase(id);
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
  const std::vector<Item> previous = key->items;
  if (Value* value = findValue(*key, name)) {
    value->text = text;
    value->length = length;
  } else {
    addValue(*key, Value{name, text, length});
  }
  if (save()) return true;
  key->items = previous;
  return false;
}

bool regDeleteValue(RegKey handle, const std::string& name) {
  Key* key = keyOf(handle);
  if (!key) return false;
  const std::vector<Item> previous = key->items;
  if (!removeValue(*key, name)) return false;
  if (save()) return true;
  key->items = previous;
  return false;
}

void regCloseKey(RegKey handle) {
  Store& s = store();
  if (handle > 0 && static_cast<size_t>(handle) <= s.handles.size()) s.handles[handle - 1].clear();
}

void regSetStorePath(const std::string& path) {
  store().filePath = path;
  store().swept = false;
}

std::string regStorePath() {
  if (store().filePath.empty()) store().filePath = joinPath(userConfigFolder(), "registry.txt");
  return store().filePath;
}

void regReload() { load(); }

bool regParseStoreText(const std::string& text, size_t* keyCount) {
  Contents contents = parseStore(text);
  if (keyCount) *keyCount = contents.keys.size();
  return contents.skipped == 0;
}
