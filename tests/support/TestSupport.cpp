// Temporary folders and test-data paths for the tests.
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device device;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("tolvane-test-" + std::to_string(device()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      folder = candidate.string();
      return;
    }
  }
  folder = (fs::temp_directory_path() / "tolvane-test-fallback").string();
  fs::create_directories(folder);
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::remove_all(folder, error);
}

std::string TempFolder::file(const std::string& relative) const { return folder + "/" + relative; }

bool TempFolder::write(const std::string& relative, const std::string& bytes) const {
  fs::path path = file(relative);
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

std::string TempFolder::read(const std::string& relative) const {
  std::ifstream in(file(relative), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

bool TempFolder::makeFolder(const std::string& relative) const {
  std::error_code error;
  fs::create_directories(file(relative), error);
  return fs::is_directory(file(relative));
}

static std::string fromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value ? value : fallback;
}

std::string testDataPath(const std::string& relative) {
  return fromEnvironment("TOLVANE_TEST_DATA", TOLVANE_TEST_DATA_DIR) + "/" + relative;
}

std::string buildDataPath(const std::string& relative) {
  return fromEnvironment("TOLVANE_BUILD_DATA", TOLVANE_BUILD_DATA_DIR) + "/" + relative;
}
