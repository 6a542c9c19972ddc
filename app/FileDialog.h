// The program's own file dialogs for the exchange folder: a folder listing with its sub-folders and "..",
// two filters, a file-name field, "확인" and "취소"; one dialog that opens or saves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
  FileDialogMode mode = FileDialogMode::Open;
  std::string caption;
  std::string folder;        // where the listing starts
  std::string proposedPath;  // Save: a file to propose (its folder is listed, its name typed in); may be empty
};

// Runs the dialog: the path chosen, or none when the user cancelled. Open gives a file that exists; Save
// gives a path in a folder that exists, the file itself may exist (asking about it is the caller's).
// Choosing a folder, by its row or by its name in the field, lists it instead.
std::optional<std::string> runFileDialog(HWindow owner, const FileDialogRequest& request);

// The listing shown: the folder, ".." and the sub-folders, then the files the filter lets through.
struct FolderEntry {
  std::string name;
  bool folder = false;
};
std::vector<FolderEntry> listFolderEntries(const std::string& folder, bool allFiles);
// The path made absolute (from the current directory) with "." and ".." worked out and no trailing "/"
// (except the root's).
std::string absolutePath(const std::string& path);

// What the list rows look like: the name beside a folder or page sign, white, or blue when selected.
Surface folderEntryPicture(const FolderEntry& entry, bool selected, int width, int height);
// The list's sunken white well, and the scroll bar's track with its thumb over rows [top, top + rows).
Surface listWellPicture(int width, int height);
Surface scrollTrackPicture(int width, int height, int top, int rows, int total);
// Text shortened with "…" to fit width pixels at the font size: its end cut off, or its start (a path
// whose last folders matter most).
enum class TextCut { End, Start };
std::string fitText(const std::string& text, int fontSize, int width, TextCut cut);

// The dialog's controls.
namespace filedialog {
constexpr int kRows = 12;
constexpr int kLocationLabel = 1101, kLocation = 1102, kWell = 1103, kTrack = 1104, kNameLabel = 1105,
              kName = 1106, kFilterLabel = 1107, kSceneFilter = 1108, kAllFilter = 1109, kScrollUp = 1110,
              kScrollDown = 1111, kFirstRow = 1120;
constexpr const char* kOpenTemplate = "FILEOPEN";
constexpr const char* kSaveTemplate = "FILESAVE";
}  // namespace filedialog
