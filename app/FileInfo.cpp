// The file-information form ("FILEINFO"), confirmed before a scene is sent, which stores the profile and
// the work's title and description; and the display ("FILEINFO2") of a received file's information.
#include "app/FileInfo.h"

#include "app/FileDialog.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "platform/dialog.h"

using namespace fileinfo;

namespace {

constexpr int kFontSize = 12, kValueLeft = 96, kValueWidth = 284;

void add(DialogTemplate& t, int id, ControlKind kind, const char* text, const Rect& r, int maxBytes = 0) {
  ControlTemplate control{id, kind, text, r};
  control.maxBytes = maxBytes;
  t.controls.push_back(control);
}

// The form's fields keep what their stores hold: 256 bytes for the name, 10 for the age, 512 for the
// address, 256 for the e-mail and the title, 512 for the description, each with its terminator.
DialogTemplate formTemplate() {
  DialogTemplate t;
  t.name = kFormTemplate;
  t.title = "파일 정보";
  t.width = 420;
  t.height = 318;
  t.escapeCommand = 0;  // only the OK button closes it
  add(t, kAuthorGroup, ControlKind::GroupBox, "만든사람", Rect{10, 6, 410, 150});
  add(t, 0, ControlKind::Static, "이름:", Rect{22, 31, 62, 47});
  add(t, kName, ControlKind::Edit, "", Rect{64, 27, 270, 49}, 255);
  add(t, 0, ControlKind::Static, "나이:", Rect{286, 31, 320, 47});
  add(t, kAge, ControlKind::Edit, "", Rect{322, 27, 398, 49}, 9);
  add(t, 0, ControlKind::Static, "주소:", Rect{22, 63, 62, 79});
  add(t, kAddress, ControlKind::Edit, "", Rect{64, 59, 398, 81}, 511);
  add(t, 0, ControlKind::Static, "전자메일  (인터넷, 하이텔, 천리안 등) :", Rect{22, 92, 398, 108});
  add(t, kEmail, ControlKind::Edit, "", Rect{22, 112, 398, 134}, 255);
  add(t, kWorkGroup, ControlKind::GroupBox, "작품", Rect{10, 158, 410, 272});
  add(t, 0, ControlKind::Static, "제목", Rect{22, 180, 398, 196});
  add(t, kTitle, ControlKind::Edit, "", Rect{22, 198, 398, 220}, 255);
  add(t, 0, ControlKind::Static, "작품 설명 (150자 이내로 작성하십시오.)", Rect{22, 226, 398, 242});
  add(t, kDescription, ControlKind::Edit, "", Rect{22, 244, 398, 266}, 511);
  add(t, IDOK, ControlKind::DefaultButton, "확인", Rect{169, 284, 251, 308});
  return t;
}

DialogTemplate displayTemplate(const std::string& title) {
  DialogTemplate t;
  t.name = kDisplayTemplate;
  t.title = title;
  t.width = 400;
  t.height = 308;
  t.escapeCommand = IDOK;
  add(t, kAuthorGroup, ControlKind::GroupBox, "만든 사람", Rect{10, 6, 390, 130});
  struct Line {
    const char* label;
    int id, top, lines;
  };
  const Line lines[] = {
      {"이름:", kShownName, 28, 1},         {"나이:", kShownAge, 48, 1},    {"전자메일:", kShownEmail, 68, 1},
      {"주소:", kShownAddress, 88, 2},      {"만든 날짜:", kShownDate, 158, 1}, {"제목:", kShownTitle, 178, 2},
      {"설명:", kShownDescription, 214, 3},
  };
  for (const Line& line : lines) {
    add(t, 0, ControlKind::Static, line.label, Rect{22, line.top, kValueLeft - 2, line.top + 16});
    add(t, line.id, ControlKind::Static, "", Rect{kValueLeft, line.top, kValueLeft + kValueWidth, line.top + 16 * line.lines});
  }
  add(t, kWorkGroup, ControlKind::GroupBox, "작품", Rect{10, 136, 390, 266});
  add(t, IDOK, ControlKind::DefaultButton, "확인", Rect{159, 276, 241, 300});
  return t;
}

// One line end at the end of a value goes: the form's fields are single lines.
std::string withoutLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

}  // namespace

bool openFileInfoForm(Program& p, HWindow owner) {
  SceneAuthor& author = p.sceneFile.author;
  SceneFileInfo& work = p.sceneFile.info;
  Dialog dialog(formTemplate(), owner);
  dialog.setText(kName, author.name);
  dialog.setText(kAge, author.age);
  dialog.setText(kAddress, author.address);
  dialog.setText(kEmail, author.email);
  dialog.setText(kTitle, withoutLineEnd(work.title));
  dialog.setText(kDescription, withoutLineEnd(work.description));
  int command = 0;
  do command = dialog.nextCommand();
  while (command != IDOK && command != IDCANCEL);
  if (command != IDOK) return false;  // the program is closing
  author.name = dialog.text(kName);
  author.age = dialog.text(kAge);
  author.address = dialog.text(kAddress);
  author.email = dialog.text(kEmail);
  work.title = dialog.text(kTitle);
  work.description = dialog.text(kDescription);
  writeProfile(p);
  return true;
}

void showFileInfo(Program& p, HWindow owner, const std::string& path) {
  const SceneFileInfo& info = p.sceneFile.info;
  // The path's end (the file's name) is what matters when the title bar cannot hold it all.
  Dialog dialog(displayTemplate(fitText(path, 14, 380, TextCut::Start)), owner);
  // A value on a single line that does not fit ends in "…" rather than being clipped unseen.
  auto oneLine = [](const std::string& value) { return fitText(value, kFontSize, kValueWidth, TextCut::End); };
  dialog.setText(kShownName, oneLine(info.name));
  dialog.setText(kShownAge, oneLine(info.age));
  dialog.setText(kShownEmail, oneLine(info.email));
  dialog.setText(kShownAddress, info.address);
  dialog.setText(kShownDate, oneLine(info.date));
  dialog.setText(kShownTitle, info.title);
  dialog.setText(kShownDescription, info.description);
  dialog.nextCommand();  // OK, Enter, Escape or a close: each only closes it
}
