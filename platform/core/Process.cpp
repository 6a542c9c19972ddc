// Starting programs, the executable's folder and environment look-ups.
#include "platform/process.h"

#include "platform/core/WindowState.h"
#include "platform/headless.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

// Programs we started and never wait for are collected here, so they do not linger as zombies.
static void collectFinishedChildren() {
  while (::waitpid(-1, nullptr, WNOHANG) > 0) {
  }
}

bool spawnProgram(const std::string& path, const std::string& workingDirectory) {
  collectFinishedChildren();
  // The child inherits the working directory, so change it around the spawn.
  char previous[4096];
  if (!::getcwd(previous, sizeof previous)) return false;
  if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) return false;
  pid_t child = 0;
  std::vector<char*> argv{const_cast<char*>(path.c_str()), nullptr};
  int result = ::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv.data(), environ);
  if (::chdir(previous) != 0) return false;
  return result == 0;
}

bool openWithDesktop(const std::string& path) {
  collectFinishedChildren();
  if (::access(path.c_str(), R_OK) != 0) return false;
  if (windowSystem().started && windowSystem().kind == Backend::Headless) {
    windowSystem().openedDocuments.push_back(path);
    return true;
  }
  pid_t child = 0;
  std::vector<char*> argv{const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
  return ::posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv.data(), environ) == 0;
}

const std::vector<std::string>& headlessOpenedDocuments() { return windowSystem().openedDocuments; }

std::string executableFolder() {
  char buffer[4096];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
