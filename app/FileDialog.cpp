// The file dialog's flow: the listing it shows, paging through it, choosing rows, the two filters, and
// what "확인" does with the name in the field (list a folder, refuse a missing file, give a path).
//
// Index: [SECTION] Listing  [SECTION] Layout  [SECTION] Showing  [SECTION] Choosing  [SECTION] Running

#include "app/FileDialog.h"

#include <algorithm>
#include <cctype>

#include "platform/dialog.h"
#include "platform/paths.h"

using namespace filedialog;

namespace {

constexpr int kWidth = 440, kHeight = 328, kRowHeight = 18, kFontSize = 12;
const Rect kWellRect{12, 32, 410, 252}, kTrackRect{410, 50, 428, 234}, kLocationRect{80, 10, 428, 26};
// The file name field holds at most what a 256-byte name buffer does.
constexpr int kNameBytes = 255;

bool endsWithIgnoringCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [](char wanted, char had) { return std::tolower(static_cast<unsigned char>(had)) == wanted; });
}

// A name whose last part has a dot after its first character ("scene.lml", not ".hidden" or "scene").
bool hasExtension(const std::string& name) {
  const size_t leaf = name.find_last_of("/\\");
  const size_t start = leaf == std::string::npos ? 0 : leaf + 1;
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && dot > start;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

// [SECTION] Listing

std::string absolutePath(const std::string& path) {
  std::string whole = path;
  std::replace(whole.begin(), whole.end(), '\\', '/');
  if (whole.empty() || whole[0] != '/') whole = currentDirectory() + whole;
  std::vector<std::string> parts;
  for (size_t at = 0; at <= whole.size();) {
    size_t slash = whole.find('/', at);
    if (slash == std::string::npos) slash = whole.size();
    const std::string part = whole.substr(at, slash - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = slash + 1;
  }
  std::string folder;
  for (const std::string& part : parts) folder += "/" + part;
  return folder.empty() ? "/" : folder;
}

std::vector<FolderEntry> listFolderEntries(const std::string& folder, bool allFiles) {
  std::vector<FolderEntry> entries, files;
  if (folder != "/") entries.push_back(FolderEntry{"..", true});
  for (const std::string& name : listFolder(folder)) {
    if (name[0] == '.') continue;  // hidden, as the desktop's own listings keep them
    const std::string path = joinPath(folder, name);
    if (folderExists(path))
      entries.push_back(FolderEntry{name, true});
    else if ((allFiles || endsWithIgnoringCase(name, ".lml")) && fileExists(path))
      files.push_back(FolderEntry{name, false});
  }
  entries.insert(entries.end(), files.begin(), files.end());
  return entries;
}

namespace {

// [SECTION] Layout

DialogTemplate layout(const FileDialogRequest& request) {
  const bool opening = request.mode == FileDialogMode::Open;
  DialogTemplate t;
  t.name = opening ? kOpenTemplate : kSaveTemplate;
  t.title = request.caption;
  t.width = kWidth;
  t.height = kHeight;
  t.fontSize = kFontSize;
  auto add = [&t](int id, ControlKind kind, const char* text, const Rect& r) {
    t.controls.push_back(ControlTemplate{id, kind, text, r});
  };
  add(kLocationLabel, ControlKind::Static, opening ? "찾는 위치:" : "저장 위치:", Rect{12, 10, 80, 26});
  add(kLocation, ControlKind::Static, "", kLocationRect);
  add(kWell, ControlKind::Picture, "", kWellRect);
  add(kTrack, ControlKind::Picture, "", kTrackRect);
  add(kNameLabel, ControlKind::Static, "파일 이름:", Rect{12, 266, 80, 282});
  add(kName, ControlKind::Edit, "", Rect{84, 262, 332, 284});
  t.controls.back().maxBytes = kNameBytes;
  for (int i = 0; i < kRows; ++i) {
    const int top = kWellRect.top + 2 + i * kRowHeight;
    add(kFirstRow + i, ControlKind::PictureButton, "", Rect{kWellRect.left + 2, top, kWellRect.right - 2, top + kRowHeight});
  }
  add(kScrollUp, ControlKind::PushButton, "▲", Rect{410, 32, 428, 50});
  add(kScrollDown, ControlKind::PushButton, "▼", Rect{410, 234, 428, 252});
  add(kFilterLabel, ControlKind::Static, "파일 형식:", Rect{12, 297, 80, 313});
  add(kSceneFilter, ControlKind::CheckBox, "scene files (*.lml)", Rect{84, 294, 222, 314});
  t.controls.back().notify = true;
  add(kAllFilter, ControlKind::CheckBox, "All Files (*.*)", Rect{226, 294, 336, 314});
  t.controls.back().notify = true;
  add(IDOK, ControlKind::DefaultButton, "확인", Rect{346, 261, 428, 285});
  add(IDCANCEL, ControlKind::PushButton, "취소", Rect{346, 292, 428, 316});
  return t;
}

// [SECTION] Showing

struct Browser {
  FileDialogMode mode = FileDialogMode::Open;
  std::string caption;
  std::string folder;
  std::vector<FolderEntry> entries;
  int top = 0;          // the entry in the first row
  int selected = -1;    // the entry chosen once, or -1
  bool allFiles = false;
  // The name in the field before a folder's row replaced it; it comes back once that folder is listed.
  std::string keptName;
};

void showRows(Dialog& dialog, const Browser& b) {
  const int total = static_cast<int>(b.entries.size());
  for (int row = 0; row < kRows; ++row) {
    const int index = b.top + row;
    const int id = kFirstRow + row;
    if (index < total)
      dialog.setPicture(id, folderEntryPicture(b.entries[static_cast<size_t>(index)], index == b.selected,
                                               kWellRect.width() - 4, kRowHeight));
    dialog.show(id, index < total);
  }
  dialog.setPicture(kTrack, scrollTrackPicture(kTrackRect.width(), kTrackRect.height(), b.top, kRows, total));
  dialog.enable(kScrollUp, b.top > 0);
  dialog.enable(kScrollDown, b.top + kRows < total);
}

void showFolder(Dialog& dialog, Browser& b) {
  b.entries = listFolderEntries(b.folder, b.allFiles);
  b.top = 0;
  b.selected = -1;
  dialog.setText(kLocation, fitText(b.folder, kFontSize, kLocationRect.width(), TextCut::Start));
  dialog.setChecked(kSceneFilter, !b.allFiles);
  dialog.setChecked(kAllFilter, b.allFiles);
  showRows(dialog, b);
}

void scroll(Dialog& dialog, Browser& b, int rows) {
  const int last = std::max(0, static_cast<int>(b.entries.size()) - kRows);
  b.top = std::clamp(b.top + rows, 0, last);
  showRows(dialog, b);
  // A scroll button that can go no further hands the focus to the other one.
  const int pressed = rows < 0 ? kScrollUp : kScrollDown, other = rows < 0 ? kScrollDown : kScrollUp;
  if (!dialog.isEnabled(pressed) && dialog.isEnabled(other)) dialog.setFocus(other);
}

// [SECTION] Choosing

bool fieldHoldsFolderRow(const Dialog& dialog, const Browser& b) {
  if (b.selected < 0) return false;
  const FolderEntry& entry = b.entries[static_cast<size_t>(b.selected)];
  return entry.folder && dialog.text(kName) == entry.name;
}

void enterFolder(Dialog& dialog, Browser& b, const std::string& folder) {
  const std::string name = fieldHoldsFolderRow(dialog, b) ? b.keptName : std::string();
  b.folder = absolutePath(folder);
  b.keptName.clear();
  const bool onRow = dialog.focusedControl() >= kFirstRow && dialog.focusedControl() < kFirstRow + kRows;
  showFolder(dialog, b);
  dialog.setText(kName, name);
  if (onRow) dialog.setFocus(kFirstRow);
}

void refuse(Dialog& dialog, const Browser& b, const std::string& text) {
  messageBox(dialog.window(), text, b.caption, MB_OK | MB_ICONWARNING);
  dialog.setFocus(kName);
}

std::string parentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The name in the field (or a row's): a folder is listed; a file is the answer when the mode accepts it.
std::optional<std::string> accept(Dialog& dialog, Browser& b, const std::string& typed) {
  const std::string name = trimmed(typed);
  if (name.empty()) return std::nullopt;
  std::string path = resolvePath(absolutePath(name[0] == '/' ? name : joinPath(b.folder, name)));
  if (folderExists(path)) {
    enterFolder(dialog, b, path);
    return std::nullopt;
  }
  // With the scene filter on, a bare name means the scene file of that name.
  const bool sceneName = !b.allFiles && !hasExtension(name);
  if (b.mode == FileDialogMode::Open) {
    if (!fileExists(path) && sceneName && fileExists(path + ".lml")) path = resolvePath(path + ".lml");
    if (fileExists(path)) return path;
    refuse(dialog, b, name + "\n파일을 찾을 수 없습니다. 파일 이름을 확인해 주십시오.");
    return std::nullopt;
  }
  if (sceneName) path = resolvePath(path + ".lml");
  const char last = name.back();
  if (last == '/' || last == '\\' || !folderExists(parentOf(path))) {
    refuse(dialog, b, name + "\n폴더를 찾을 수 없습니다. 경로를 확인해 주십시오.");
    return std::nullopt;
  }
  if (folderExists(path)) {
    enterFolder(dialog, b, path);
    return std::nullopt;
  }
  return path;
}

// A row chosen once is selected and its name put in the field; chosen again (a double click) it is taken.
std::optional<std::string> chooseRow(Dialog& dialog, Browser& b, int row) {
  const int index = b.top + row;
  if (index >= static_cast<int>(b.entries.size())) return std::nullopt;
  const FolderEntry entry = b.entries[static_cast<size_t>(index)];
  if (index == b.selected) return accept(dialog, b, entry.name);
  if (entry.folder && !fieldHoldsFolderRow(dialog, b)) b.keptName = dialog.text(kName);
  b.selected = index;
  dialog.setText(kName, entry.name);
  showRows(dialog, b);
  return std::nullopt;
}

}  // namespace

// [SECTION] Running

std::optional<std::string> runFileDialog(HWindow owner, const FileDialogRequest& request) {
  Browser b;
  b.mode = request.mode;
  b.caption = request.caption;
  std::string folder = request.folder, name;
  if (request.mode == FileDialogMode::Save && !request.proposedPath.empty()) {
    const std::string proposed = resolvePath(request.proposedPath);
    const size_t slash = proposed.rfind('/');
    name = slash == std::string::npos ? proposed : proposed.substr(slash + 1);
    if (slash != std::string::npos && folderExists(parentOf(proposed))) folder = parentOf(proposed);
  }
  b.folder = absolutePath(resolvePath(folder));

  Dialog dialog(layout(request), owner);
  dialog.setPicture(kWell, listWellPicture(kWellRect.width(), kWellRect.height()));
  showFolder(dialog, b);
  dialog.setText(kName, name);
  for (;;) {
    const int command = dialog.nextCommand();
    std::optional<std::string> chosen;
    if (command == IDCANCEL) return std::nullopt;
    if (command == IDOK) chosen = accept(dialog, b, dialog.text(kName));
    if (command == kScrollUp) scroll(dialog, b, -kRows);
    if (command == kScrollDown) scroll(dialog, b, kRows);
    if (command == kSceneFilter || command == kAllFilter) {
      b.allFiles = command == kAllFilter;
      showFolder(dialog, b);
    }
    if (command >= kFirstRow && command < kFirstRow + kRows) chosen = chooseRow(dialog, b, command - kFirstRow);
    if (chosen) return chosen;
  }
}
