// The settings store: a per-user key-value store standing in for the registry. Keys are named by their
// registry paths ("HKEY_CURRENT_USER\Software\Tolvane"); values are text (REG_SZ) with the byte length
// they were written with. It lives in one human-readable file, rewritten atomically after every change.
#pragma once

#include <cstdint>
#include <string>

enum class RegRoot { CurrentUser, LocalMachine };

using RegKey = int;  // 0 is no key
constexpr RegKey kNoKey = 0;

// Open an existing key; kNoKey when it does not exist.
RegKey regOpenKey(RegRoot root, const std::string& subKey);
// Open a key, creating it (and writing the store) when it does not exist; kNoKey when it cannot be stored.
RegKey regCreateKey(RegRoot root, const std::string& subKey);
// Copy a text value and its terminating zero into buffer (capacity bytes). Fails, leaving the buffer
// alone, when the key or value is missing or the text and its terminator do not fit. On success *length
// (when given) receives the text length plus one.
bool regQueryValue(RegKey key, const std::string& name, char* buffer, uint32_t capacity, uint32_t* length = nullptr);
// Store a text value written with a data length of `length` bytes: the text is what comes before the
// first zero byte of data[0 .. length). False when the store could not be written.
bool regSetValue(RegKey key, const std::string& name, const char* data, uint32_t length);
bool regDeleteValue(RegKey key, const std::string& name);
void regCloseKey(RegKey key);

// Where the store lives (userConfigFolder()/registry.txt unless changed, as tests do).
void regSetStorePath(const std::string& path);
std::string regStorePath();
// Forget what was read so the next call reads the file again.
void regReload();
// Read a store file's text the way loading does: true when every line was understood. *keyCount (when
// given) receives the number of keys kept either way: a line that cannot be read is left out, the rest kept.
bool regParseStoreText(const std::string& text, size_t* keyCount = nullptr);
