// Files and folders on a case-sensitive file system for a program that writes its paths as if it were not.
//
// Index: [SECTION] Resolver  [SECTION] Folders  [SECTION] Whole files and atomic writes  [SECTION] User folders

#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/process.h"

// [SECTION] Resolver

static bool existsExactly(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

static bool sameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 128 && y < 128) {
      if (std::tolower(x) != std::tolower(y)) return false;
    } else if (x != y) {
      return false;
    }
  }
  return true;
}

std::string resolvePath(const std::string& path) {
  std::string normal = path;
  std::replace(normal.begin(), normal.end(), '\\', '/');
  if (normal.empty() || existsExactly(normal)) return normal;

  // Walk the components; the resolved prefix always exists while we can still match.
  std::string result;
  size_t pos = 0;
  if (normal[0] == '/') {
    result = "/";
    pos = 1;
  }
  bool matching = true;
  while (pos <= normal.size()) {
    size_t slash = normal.find('/', pos);
    if (slash == std::string::npos) slash = normal.size();
    std::string component = normal.substr(pos, slash - pos);
    pos = slash + 1;
    if (component.empty()) {
      if (slash == normal.size()) break;
      continue;  // doubled separators
    }
    std::string candidate = result + component;
    if (matching && component != "." && component != ".." && !existsExactly(candidate)) {
      std::string folder = result.empty() ? "." : result;
      std::string found;
      if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
          std::string name = entry->d_name;
          if (name == "." || name == "..") continue;
          if (sameIgnoringCase(name, component) && (found.empty() || name < found)) found = name;
        }
        ::closedir(dir);
      }
      if (found.empty()) {
        matching = false;
      } else {
        candidate = result + found;
      }
    }
    result = candidate;
    if (slash < normal.size()) result += "/";
  }
  return result;
}

FILE* openFile(const std::string& path, const char* mode) {
  if (path.empty()) return nullptr;
  std::string resolved = resolvePath(path);
  if (folderExists(resolved)) return nullptr;
  return std::fopen(resolved.c_str(), mode);
}

std::string joinPath(const std::string& folder, const std::string& name) {
  std::string result = folder;
  if (!result.empty() && result.back() != '\\' && result.back() != '/') result += '/';
  return result + name;
}

// [SECTION] Folders

bool fileExists(const std::string& path) {
  struct stat info;
  return ::stat(resolvePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat info;
  return ::stat(resolvePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool createFolder(const std::string& path) {
  std::string normal = resolvePath(path);
  for (size_t i = 1; i <= normal.size(); ++i) {
    if (i == normal.size() || normal[i] == '/') {
      std::string prefix = normal.substr(0, i);
      if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return folderExists(normal);
}

bool removeFile(const std::string& path) { return ::unlink(resolvePath(path).c_str()) == 0; }

bool renameFile(const std::string& from, const std::string& to) {
  return ::rename(resolvePath(from).c_str(), resolvePath(to).c_str()) == 0;
}

std::vector<std::string> listFolder(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(resolvePath(path.empty() ? "." : path).c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string currentDirectory() {
  char buffer[4096];
  if (!::getcwd(buffer, sizeof buffer)) return "./";
  std::string folder = buffer;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool setCurrentDirectory(const std::string& path) {
  if (path.empty()) return false;
  return ::chdir(resolvePath(path).c_str()) == 0;
}

// [SECTION] Whole files and atomic writes

bool readWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
  if (path.empty()) return false;
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer. Only a regular file is read.
  int fd = ::open(resolvePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<unsigned long long>(info.st_size) > maxBytes) {
    ::close(fd);
    return false;
  }
  std::string data;
  data.reserve(static_cast<size_t>(info.st_size));
  char chunk[65536];
  bool ok = true;
  for (;;) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (data.size() + static_cast<size_t>(got) > maxBytes) {  // it grew while we read
      ok = false;
      break;
    }
    data.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  if (ok) bytes.swap(data);
  return ok;
}

static std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

static void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// The file a chain of symbolic links ends at (the path itself when it is no link). A link whose target
// does not exist ends at that target. Empty for a loop or a chain too long to follow.
static std::string followLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char buffer[4096];
    ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return "";
    std::string next(buffer, static_cast<size_t>(length));
    current = next[0] == '/' ? next : joinPath(folderOf(current), next);
  }
  return "";
}

AtomicFile::AtomicFile(const std::string& path, unsigned mode)
    : target(path.empty() ? std::string() : followLinks(resolvePath(path))), newFileMode(mode & 0777) {}

AtomicFile::~AtomicFile() {
  if (file) {
    std::fclose(file);
    ::unlink(temporary.c_str());
  }
}

void AtomicFile::fail(int error) {
  if (why != WriteFailure::None) return;
  switch (error) {
    case ENOSPC: case EDQUOT: case EFBIG: why = WriteFailure::DiskFull; break;
    case EACCES: case EPERM: case EROFS: why = WriteFailure::NoPermission; break;
    case ENOENT: case ENOTDIR: why = WriteFailure::FolderMissing; break;
    default: why = WriteFailure::Other; break;
  }
}

FILE* AtomicFile::open() {
  if (file) return file;
  if (target.empty() || target.back() == '/') {
    fail(ENOENT);
    return nullptr;
  }
  mode_t mode = static_cast<mode_t>(newFileMode);
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) {
      fail(EISDIR);
      return nullptr;
    }
    mode = existing.st_mode & 0777;
  }
  std::string pattern = target + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    fail(errno);
    return nullptr;
  }
  temporary = name.data();
  if (::fchmod(fd, mode) != 0) {
    fail(errno);
    ::close(fd);
    ::unlink(temporary.c_str());
    return nullptr;
  }
  file = ::fdopen(fd, "wb");
  if (!file) {
    fail(errno);
    ::close(fd);
    ::unlink(temporary.c_str());
  }
  return file;
}

bool AtomicFile::commit() {
  if (!file) return false;
  errno = 0;
  bool ok = std::fflush(file) == 0 && !std::ferror(file) && ::fsync(::fileno(file)) == 0;
  if (!ok) fail(errno);
  if (std::fclose(file) != 0) {
    fail(errno);
    ok = false;
  }
  file = nullptr;
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    fail(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  syncFolder(folderOf(target));
  return true;
}

bool writeFileAtomically(const std::string& path, const std::string& bytes, unsigned newFileMode,
                         WriteFailure* why) {
  AtomicFile atomic(path, newFileMode);
  FILE* file = atomic.open();
  bool ok = file != nullptr;
  if (ok && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    const int error = errno;
    ok = false;
    if (why) *why = error == ENOSPC || error == EDQUOT || error == EFBIG ? WriteFailure::DiskFull : WriteFailure::Other;
    return false;
  }
  if (ok) ok = atomic.commit();
  if (!ok && why) *why = atomic.failure() == WriteFailure::None ? WriteFailure::Other : atomic.failure();
  return ok;
}

// "<name>.tmpXXXXXX" with mkstemp's six letters and digits in place of the X's.
static bool isTemporaryName(const std::string& name) {
  constexpr size_t kRandom = 6;
  const std::string marker = ".tmp";
  if (name.size() < 1 + marker.size() + kRandom) return false;
  size_t at = name.size() - kRandom - marker.size();
  if (name.compare(at, marker.size(), marker) != 0) return false;
  for (size_t i = name.size() - kRandom; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

int removeStaleTemporaries(const std::string& folder, int minimumAgeSeconds) {
  if (folder.empty()) return 0;
  std::string resolved = resolvePath(folder);
  time_t now = ::time(nullptr);
  int removed = 0;
  for (const std::string& name : listFolder(resolved)) {
    if (!isTemporaryName(name)) continue;
    std::string path = joinPath(resolved, name);
    struct stat info;
    // lstat: a link or a folder named like a temporary is not ours to remove.
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (minimumAgeSeconds > 0 && info.st_mtime > now - minimumAgeSeconds) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

// [SECTION] User folders

static std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
  std::string base = environmentValue(variable);
  if (base.empty() || base[0] != '/') {
    std::string home = environmentValue("HOME");
    if (home.empty()) home = "/tmp";
    base = joinPath(home, fallbackUnderHome);
  }
  return joinPath(base, "tolvane");
}

std::string userConfigFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string userStateFolder() { return xdgFolder("XDG_STATE_HOME", ".local/state"); }
std::string userDataFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

#ifndef TOLVANE_SHARE_DIR
#define TOLVANE_SHARE_DIR "/usr/local/share/tolvane"
#endif

std::string findDataRoot() {
  // An installed copy finds its data beside its own bin folder, wherever it was installed, before the
  // prefix it was built for.
  std::string candidates[] = {environmentValue("TOLVANE_DATA"), executableFolder() + "data",
                              executableFolder() + "../share/tolvane", TOLVANE_SHARE_DIR};
  for (const std::string& candidate : candidates) {
    if (candidate.empty() || !folderExists(candidate)) continue;
    std::string folder = candidate;
    if (folder[0] != '/') folder = currentDirectory() + folder;
    if (folder.back() != '/') folder += '/';
    return folder;
  }
  return "";
}
