// Writing the generated files into the data folder.
#include "tools/art/Output.h"

#include "platform/paths.h"

bool writeOutputs(const std::string& root, const OutputList& files, std::string& failedPath) {
  for (const OutputFile& file : files) {
    std::string path = joinPath(root, file.path);
    size_t slash = path.find_last_of('/');
    if (file.bytes.empty() || (slash != std::string::npos && !createFolder(path.substr(0, slash))) ||
        !writeFileAtomically(path, file.bytes)) {
      failedPath = path;
      return false;
    }
  }
  return true;
}

const OutputFile* findOutput(const OutputList& files, const std::string& path) {
  for (const OutputFile& file : files)
    if (file.path == path) return &file;
  return nullptr;
}
