// Runs a fuzz target without libFuzzer: every file named on the command line (or found in a named
// folder) is handed to LLVMFuzzerTestOneInput once. This is how kept crash inputs stay regression tests.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int runOne(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return 1;
}

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path path(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
        if (entry.is_regular_file()) count += runOne(entry.path());
    } else if (std::filesystem::exists(path, error)) {
      count += runOne(path);
    }
  }
  std::printf("%d inputs ran without a crash\n", count);
  return 0;
}
