// The shared slot dialog's layout.
#include "app/ThumbnailDialog.h"

#include "platform/strings.h"
#include "render/Bitmaps.h"

namespace thumbnail {

DialogTemplate layout(const std::string& name) {
  DialogTemplate t;
  t.name = name;
  t.width = 640;
  t.height = 480;
  t.fontSize = 13;
  t.escapeCommand = kClose;
  auto add = [&t](int id, ControlKind kind, const char* text, int x, int y, int w, int h) {
    t.controls.push_back(ControlTemplate{id, kind, text, Rect{x, y, x + w, y + h}});
  };
  add(kTitle, ControlKind::Picture, "", 0, 0, 640, 72);
  add(kSlotFrame, ControlKind::GroupBox, "", 21, 75, 450, 319);
  for (int i = 0; i < kSlotsPerPage; ++i)
    add(kSlotIds[i], ControlKind::PictureButton, "", 30 + 85 * (i % 5), 87 + 73 * (i / 5), 85, 73);
  add(kPreview, ControlKind::Picture, "", 490, 80, 127, 80);
  add(kLoad, ControlKind::PushButton, "불러오기", 490, 163, 127, 22);
  add(kDelete, ControlKind::PushButton, "지우기", 490, 188, 127, 22);
  add(kNew, ControlKind::PushButton, "새로 시작하기", 490, 213, 127, 22);
  add(kCurrentView, ControlKind::Picture, "", 490, 248, 127, 80);
  add(kSave, ControlKind::PushButton, "저장하기", 490, 331, 127, 22);
  add(kClose, ControlKind::DefaultButton, "닫기", 490, 367, 127, 22);
  add(kPrevious, ControlKind::PushButton, "<<이전", 23, 413, 59, 26);
  add(kNext, ControlKind::PushButton, "다음>>", 403, 413, 59, 26);
  add(kReceive, ControlKind::PushButton, "받기", 490, 413, 59, 26);
  add(kSend, ControlKind::PushButton, "보내기", 553, 413, 59, 26);
  add(kMessageFrame, ControlKind::GroupBox, "", 88, 392, 309, 72);
  add(kMessage, ControlKind::Static, "", 91, 404, 303, 57);
  return t;
}

int positionOf(int controlId) {
  for (int i = 0; i < kSlotsPerPage; ++i)
    if (kSlotIds[i] == controlId) return i + 1;
  return 0;
}

Surface loadThumbnail(const std::string& path) {
  Surface picture;
  BmpFile bmp;
  if (loadBmpFile(bmp, path) == BmpResult::Ok && bmpToSurface(bmp, picture)) return picture;
  if (loadBmpFile(bmp, "./save/save000.bmp") == BmpResult::Ok && bmpToSurface(bmp, picture)) return picture;
  return Surface();
}

void showTitle(Dialog& dialog) {
  Surface title;
  BmpFile bmp;
  if (loadBmpFile(bmp, "./BMP/filemenu.bmp") == BmpResult::Ok && bmpToSurface(bmp, title))
    dialog.setPicture(kTitle, title);
}

void showMessage(Dialog& dialog, int stringId) {
  const char* text = loadString(stringId);
  dialog.setText(kMessage, text ? text : "");
}

}  // namespace thumbnail
