// The generator builds every file in memory first; writing them out is a separate last step.
#pragma once

#include <string>
#include <vector>

struct OutputFile {
  std::string path;  // relative to the data folder, forward slashes
  std::string bytes;
};
using OutputList = std::vector<OutputFile>;

// Writes every file below root (creating folders). False, with the failing path in failedPath, on error.
bool writeOutputs(const std::string& root, const OutputList& files, std::string& failedPath);
const OutputFile* findOutput(const OutputList& files, const std::string& path);
