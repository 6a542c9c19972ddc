// Reading and writing the settings and the profile. Only the first character of a setting counts; values
// are written with fixed data lengths, the text, its terminator and zeros after it.
#include "app/Settings.h"

#include "app/Shell.h"

#include <cstring>
#include <string>

#include "files/SceneFile.h"
#include "platform/registry.h"
#include "scene/Settings.h"
#include "sound/Sounds.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Tolvane";
constexpr const char* kProfileKey = "Software\\Tolvane\\USER";

// The first character of a value, or 0 when it is missing or does not fit 10 bytes.
char firstCharacter(RegKey key, const char* name) {
  char buffer[10] = {};
  return regQueryValue(key, name, buffer, sizeof buffer) ? buffer[0] : 0;
}

bool writeFixed(RegKey key, const char* name, const std::string& text, size_t length) {
  std::string data(length, '\0');
  std::memcpy(data.data(), text.data(), std::min(text.size(), length - 1));
  return regSetValue(key, name, data.data(), static_cast<uint32_t>(length));
}

struct ProfileField {
  const char* name;
  std::string SceneAuthor::*field;
  uint32_t readLimit;
  size_t writeSize;
};

const ProfileField kProfile[] = {
    {"UserName", &SceneAuthor::name, 256, 256},
    {"UserAddress", &SceneAuthor::address, 512, 512},
    {"UserAge", &SceneAuthor::age, 3, 10},
    {"UserEmail", &SceneAuthor::email, 256, 256},
};

}  // namespace

void readSettings(Program& p) {
  RegKey key = regOpenKey(RegRoot::CurrentUser, kSettingsKey);
  if (key != kNoKey) {
    p.editor.settings.basicBlocksOnly = firstCharacter(key, "3DS") == '1';
    p.editor.settings.autoView = firstCharacter(key, "View Change") == '1';
    p.editor.settings.hideStuds = firstCharacter(key, "NotDrawButton") == '1';
    char tune = firstCharacter(key, "BackMusicNo");
    if (tune >= '1' && tune <= '4') p.sound.backMusicNo = tune - '0';
    regCloseKey(key);
  }
  readProfile(p);
}

bool writeSettings(Program& p) {
  RegKey key = regCreateKey(RegRoot::CurrentUser, kSettingsKey);
  if (key == kNoKey) return false;
  int tune = p.sound.backMusicNo;
  writeFixed(key, "View Change", p.editor.settings.autoView ? "1" : "0", 10);
  writeFixed(key, "3DS", p.editor.settings.basicBlocksOnly ? "1" : "0", 10);
  writeFixed(key, "NotDrawButton", p.editor.settings.hideStuds ? "1" : "0", 10);
  bool ok = writeFixed(key, "BackMusicNo", std::to_string(tune >= 1 && tune <= 4 ? tune : 1), 10);
  regCloseKey(key);
  return ok;
}

void readProfile(Program& p) {
  RegKey key = regOpenKey(RegRoot::CurrentUser, kProfileKey);
  if (key == kNoKey) return;
  for (const ProfileField& field : kProfile) {
    std::string value(field.readLimit, '\0');
    if (regQueryValue(key, field.name, value.data(), field.readLimit))
      p.sceneFile.author.*field.field = value.c_str();
    else
      (p.sceneFile.author.*field.field).clear();
  }
  regCloseKey(key);
}

bool writeProfile(Program& p) {
  RegKey key = regCreateKey(RegRoot::CurrentUser, kProfileKey);
  if (key == kNoKey) return false;
  bool ok = true;
  for (const ProfileField& field : kProfile) ok = writeFixed(key, field.name, p.sceneFile.author.*field.field, field.writeSize);
  regCloseKey(key);
  return ok;
}
