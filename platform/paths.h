// Files and folders. Asset paths are written with mixed separators and careless case ("./bmp\vedit.bmp",
// "./BMP/filemenu.bmp"), as on a case-insensitive file system; every file is opened through the resolver,
// which turns backslashes into slashes and matches each missing component case-insensitively.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The path as it exists on disk: separators normalised; each component that does not exist as written is
// replaced by the folder's entry that matches it ignoring ASCII case (the first in byte order when several
// do). Components that match nothing are kept as written, so a missing file stays missing.
std::string resolvePath(const std::string& path);

// fopen through the resolver. Modes as fopen's; nullptr when the file cannot be opened.
FILE* openFile(const std::string& path, const char* mode);

// Append "/" to a non-empty folder that does not already end in "\" or "/", then the name.
std::string joinPath(const std::string& folder, const std::string& name);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
bool createFolder(const std::string& path);  // also creates missing parents; true when it exists afterwards
bool removeFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);
// Names of the entries in a folder (not "." or ".."), sorted; empty when it cannot be read.
std::vector<std::string> listFolder(const std::string& path);

// The current directory, with a trailing "/"; change it (through the resolver). False on failure.
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

// Whole-file reading; false when the file cannot be read. Only regular files are read: a folder, a FIFO
// or a device is refused at once, without waiting for a writer. Files larger than maxBytes are refused.
bool readWholeFile(const std::string& path, std::string& bytes, size_t maxBytes = 256u << 20);

// Write a file so that a crash never leaves a half-written one: temporary file in the same folder,
// flush, fsync, rename over the target, fsync the folder. On failure the old file is untouched.
// A file that exists keeps its permission bits; a new one gets newFileMode. When the path is a symbolic
// link (or a chain of them) the file it ends at is the one written, so the link stays a link; a
// dangling link's target is created.
// Why a write failed, in the words a user needs: no room, no permission, no folder, or something else.
enum class WriteFailure { None, DiskFull, NoPermission, FolderMissing, Other };

// why (when given) tells why a failed write failed.
bool writeFileAtomically(const std::string& path, const std::string& bytes, unsigned newFileMode = 0644,
                         WriteFailure* why = nullptr);

// The same for writers that produce their file piece by piece: open() gives a FILE* to write to,
// commit() makes it the target, and destruction without commit() throws the partial file away.
class AtomicFile {
public:
  explicit AtomicFile(const std::string& path, unsigned newFileMode = 0644);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  FILE* open();     // nullptr when the temporary file cannot be created
  bool commit();    // false when anything failed; the target is then unchanged
  // Why open() or commit() failed (None while nothing has).
  WriteFailure failure() const { return why; }

private:
  std::string target;     // the file that is replaced: the path with its links followed
  std::string temporary;
  unsigned newFileMode;
  FILE* file = nullptr;
  WriteFailure why = WriteFailure::None;
  void fail(int error);  // keeps the first failure's reason
};

// A save cut short (the program killed mid-write) leaves its temporary "<name>.tmpXXXXXX" beside the
// target. Remove the regular files in the folder named like that (".tmp" and six letters or digits after
// some name) that have not changed for minimumAgeSeconds, so a save under way elsewhere is left alone.
// Returns how many were removed.
int removeStaleTemporaries(const std::string& folder, int minimumAgeSeconds = 60);

// Per-user folders (XDG base directories), without a trailing separator.
std::string userConfigFolder();  // $XDG_CONFIG_HOME/tolvane, else ~/.config/tolvane
std::string userStateFolder();   // $XDG_STATE_HOME/tolvane, else ~/.local/state/tolvane
std::string userDataFolder();    // $XDG_DATA_HOME/tolvane, else ~/.local/share/tolvane

// The folder of read-only assets: $TOLVANE_DATA if set, else data/ beside the executable, else the
// installed share folder. Ends in "/". Empty when none of them exists.
std::string findDataRoot();
