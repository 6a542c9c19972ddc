// Helpers for tests: temporary folders and the paths of test data.
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at destruction.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return folder; }                 // no trailing separator
  std::string file(const std::string& relative) const;               // path()/relative
  // Write a file (creating its folders); false on failure.
  bool write(const std::string& relative, const std::string& bytes) const;
  std::string read(const std::string& relative) const;                // empty when missing
  bool makeFolder(const std::string& relative) const;

private:
  std::string folder;
};

// tests/data/<relative>
std::string testDataPath(const std::string& relative);
// The build's data folder (the DataRoot the programs use), from TOLVANE_BUILD_DATA.
std::string buildDataPath(const std::string& relative);
