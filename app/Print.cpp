// Printing the scene on one page: the 3D view captured, the print dialog (a PDF file in the "Port" folder
// or a printer), then the page drawn element by element while a small dialog offers Cancel.
#include "app/Print.h"

#include <optional>

#include "app/Shell.h"
#include "output/Printout.h"
#include "platform/dialog.h"
#include "platform/paths.h"
#include "platform/print.h"
#include "platform/strings.h"
#include "render/Bitmaps.h"

using namespace printing;

namespace {

constexpr const char* kCaption = "프린트";
constexpr const char* kDeviceError = "Device Error";
constexpr size_t kMostNameBytes = 200;

DialogTemplate chooseTemplate() {
  DialogTemplate t;
  t.name = kChooseTemplate;
  t.title = "인쇄";
  t.width = 330;
  t.height = 128;
  t.controls = {
      {0, ControlKind::Static, "출력할 곳:", Rect{14, 16, 90, 32}},
      {kPrevious, ControlKind::PushButton, "<", Rect{92, 12, 116, 34}},
      {kTarget, ControlKind::Static, "", Rect{122, 16, 286, 32}},
      {kNext, ControlKind::PushButton, ">", Rect{292, 12, 316, 34}},
      {kFileNameLabel, ControlKind::Static, "파일 이름:", Rect{14, 52, 90, 68}},
      {kFileName, ControlKind::Edit, "", Rect{92, 48, 316, 70}, static_cast<int>(kMostNameBytes)},
      {IDOK, ControlKind::DefaultButton, "인쇄", Rect{82, 90, 160, 114}},
      {IDCANCEL, ControlKind::PushButton, "취소", Rect{170, 90, 248, 114}},
  };
  return t;
}

DialogTemplate progressTemplate() {
  DialogTemplate t;
  t.name = kProgressTemplate;
  t.title = kCaption;
  t.width = 200;
  t.height = 86;
  t.controls = {
      {0, ControlKind::Static, "Now Printing", Rect{20, 14, 180, 30}},
      {IDCANCEL, ControlKind::PushButton, "Cancel", Rect{60, 46, 140, 70}},
  };
  return t;
}

// The title as a file name: no separators or control characters, not too long for the file system.
std::string proposedFileName(const std::string& title) {
  std::string name;
  for (char c : wellFormedUtf8(title)) {
    const auto u = static_cast<unsigned char>(c);
    name += (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) ? '_' : c;
  }
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  if (name.size() > kMostNameBytes - 4) {
    name.resize(kMostNameBytes - 4);
    while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) name.pop_back();
    if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0) name.pop_back();
  }
  if (name.empty() || name == "." || name == "..") name = "작품";
  return name + ".pdf";
}

bool endsWithPdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".pdf";
}

// The file name typed, with ".pdf" added when it lacks it; none when it is not a plain name.
std::optional<std::string> typedFileName(std::string name) {
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return std::nullopt;
  return endsWithPdf(name) ? name : name + ".pdf";
}

// The print dialog, with the BottomPanel disabled around it: where the page goes, or none when cancelled.
std::optional<PrintTarget> choosePrintTarget(Program& p) {
  const std::vector<std::string> printers = listPrinters();
  const std::string folder = joinPath(p.folders.installDir, "Port");
  size_t chosen = 0;  // 0: the PDF file; n: printers[n - 1]
  Dialog dialog(chooseTemplate(), p.shell.ViewWindow);
  dialog.setText(kFileName, proposedFileName(p.sceneFile.info.title));
  const auto showChoice = [&] {
    dialog.setText(kTarget, chosen == 0 ? kPdfTarget : printers[chosen - 1]);
    dialog.enable(kFileName, chosen == 0);
    dialog.enable(kFileNameLabel, chosen == 0);
  };
  showChoice();
  // Enter prints at once; the arrows are for choosing a printer.
  dialog.setFocus(kFileName);
  for (;;) {
    const int command = dialog.nextCommand();
    if (command == kPrevious || command == kNext) {
      const size_t count = printers.size() + 1;
      chosen = (chosen + (command == kNext ? 1 : count - 1)) % count;
      showChoice();
      continue;
    }
    if (command != IDOK) return std::nullopt;
    PrintTarget target;
    if (chosen > 0) {
      target.kind = PrintTarget::Kind::Printer;
      target.printer = printers[chosen - 1];
      return target;
    }
    const std::optional<std::string> name = typedFileName(dialog.text(kFileName));
    if (!name) {
      messageBox(dialog.window(), "파일 이름에는 '/'를 쓸 수 없고, 비워 둘 수도 없습니다.", kCaption, MB_OK | MB_ICONWARNING);
      continue;
    }
    target.path = joinPath(folder, *name);
    if (fileExists(target.path)) {
      const char* question = loadString(21);
      if (messageBox(dialog.window(), question ? question : "", kCaption, MB_YESNO | MB_ICONWARNING) != IDYES) continue;
    }
    createFolder(folder);
    return target;
  }
}

std::string jobFailureText(PrintResult result, const PrintTarget& target) {
  switch (result) {
    case PrintResult::FileNotWritable: return "PDF 파일을 쓸 수 없어서 인쇄하지 못했습니다.\n" + target.path;
    case PrintResult::PrinterRefused: return "프린터가 인쇄 작업을 받지 않았습니다.\n" + target.printer;
    default: return "인쇄할 쪽을 만들지 못했습니다.";
  }
}

PrintCaption captionOf(const Program& p) {
  PrintCaption c;
  c.author = p.sceneFile.author.name;
  c.email = p.sceneFile.author.email;
  c.date = p.sceneFile.info.date;
  c.fileName = p.sceneFile.info.path;
  c.title = p.sceneFile.info.title;
  c.description = p.sceneFile.info.description;
  return c;
}

PrintPicture pictureOf(const DibBlock& dib) {
  PrintPicture picture;
  if (dib.empty()) return picture;
  const BitmapInfoHeader h = readInfoHeader(dib.bytes.data());
  if (h.biBitCount != 24 || h.biWidth <= 0 || h.biHeight <= 0) return picture;
  const uint32_t rowBytes = dibRowBytes(24, h.biWidth);
  if (dib.bytes.size() < 40 + static_cast<size_t>(rowBytes) * h.biHeight) return picture;
  picture.bits = dibBits(dib);
  picture.width = h.biWidth;
  picture.height = h.biHeight;
  picture.rowBytes = static_cast<int>(rowBytes);
  return picture;
}

// Draw the page one element at a time, giving the progress dialog its messages in between; true when
// every element was drawn, false when Cancel was pressed.
bool drawPage(Dialog& progress, PrintJob& job, const std::vector<PrintElement>& page, const PrintPicture& picture,
              bool& pictureRefused) {
  for (const PrintElement& e : page) {
    if (progress.pollCommand() != 0) return false;
    switch (e.kind) {
      case PrintElement::Kind::Picture:
        if (!job.drawPicture(picture, e.rect)) {
          pictureRefused = true;
          return true;
        }
        break;
      case PrintElement::Kind::Frame: job.drawFrame(e.rect); break;
      case PrintElement::Kind::Text: job.drawText(e.at.x, e.at.y, e.text); break;
    }
  }
  return progress.pollCommand() == 0;
}

void printPage(Program& p, const PrintTarget& target, const PrintPicture& picture) {
  const HWindow view = p.shell.ViewWindow;
  PrintJob job;
  const PrintResult opened = job.open(target);
  if (opened != PrintResult::Ok) {
    messageBox(view, jobFailureText(opened, target), kDeviceError, MB_OK | MB_ICONWARNING);
    return;
  }
  const std::vector<PrintElement> page =
      pageElements(printLayout(job.pageWidth(), kPrintDotsPerInch, kPrintDotsPerInch, picture.width, picture.height),
                   captionOf(p));

  // The 3D view rests while the page is made.
  p.shell.viewActive = 0;
  bool completed = false, pictureRefused = false;
  PrintResult finished = PrintResult::NotOpen;
  {
    Dialog progress(progressTemplate(), view);
    progress.setFocus(IDCANCEL);
    enableWindow(view, false);
    completed = drawPage(progress, job, page, picture, pictureRefused);
    if (completed && !pictureRefused)
      finished = job.finish();
    else
      job.abandon();
  }
  p.shell.viewActive = 1;
  p.shell.frameRequested = 1;
  enableWindow(view, true);

  if (!completed)
    messageBox(view, "인쇄를 취소했습니다.", kCaption, MB_OK | MB_ICONINFORMATION);
  else if (pictureRefused)
    messageBox(view, "Printer cannot display bitmaps.", kDeviceError, MB_OK | MB_ICONWARNING);
  else if (finished != PrintResult::Ok)
    messageBox(view, jobFailureText(finished, target), kDeviceError, MB_OK | MB_ICONWARNING);
  else if (target.kind == PrintTarget::Kind::PdfFile)
    messageBox(view, "PDF 파일로 인쇄했습니다.\n" + target.path, kCaption, MB_OK | MB_ICONINFORMATION);
  else
    messageBox(view, "프린터로 보냈습니다.\n" + target.printer, kCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void printScene(Program& p) {
  DibBlock captured;
  if (!captureWindow(p.shell.ViewWindow, static_cast<int>(CaptureMode::WholeWindow), captured)) return;
  enableWindow(p.shell.BottomPanel, false);
  const std::optional<PrintTarget> target = choosePrintTarget(p);
  enableWindow(p.shell.BottomPanel, true);
  if (target) printPage(p, *target, pictureOf(captured));
  freeDib(captured);
}
