// Printing from the options screen in the real program, headless: the file-information form first, then
// the print dialog; a PDF in the install folder's "Port" folder, a job for a printer, Cancel while the page
// is drawn, and a folder that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/FileInfo.h"
#include "app/Print.h"
#include "app/ProgramFixture.h"
#include "platform/dialog.h"

namespace {

const Point kPrintButton{227, 33};

class Print : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    installBrickOnPlate();
    ASSERT_TRUE(startUp(*p, ""));
    pump();
    enterOptionsScreen(*p);
    pump();
    headlessClearDialogsOpened();
    headlessClearMessageBoxes();
    headlessClearPrintJobs();
  }
  void TearDown() override {
    headlessSetDialogPolicy(nullptr);
    headlessSetPrinters({});
    headlessClearPrintJobs();
    ProgramFixture::TearDown();
  }

  // Answers the form with a Korean author and work, the print dialog with OK after pressing its buttons
  // in turn, and the progress dialog with Cancel at its cancelAt-th look (never when 0).
  void answer(std::vector<int> printDialogPresses, int cancelAt = 0) {
    headlessSetDialogPolicy([this, printDialogPresses, cancelAt, looks = 0](Dialog& dialog,
                                                                            const std::string& name) mutable -> int {
      if (name == fileinfo::kFormTemplate) {
        dialog.setText(fileinfo::kName, "김하늘");
        dialog.setText(fileinfo::kEmail, "sky@example.kr");
        dialog.setText(fileinfo::kTitle, "우리 집");
        dialog.setText(fileinfo::kDescription, "빨간 벽돌로 지은 100% 튼튼한 집입니다. %s %d 그대로 나옵니다.");
        return IDOK;
      }
      if (name == printing::kChooseTemplate) {
        proposedName = dialog.text(printing::kFileName);
        if (printDialogPresses.empty()) return IDOK;
        const int press = printDialogPresses.front();
        printDialogPresses.erase(printDialogPresses.begin());
        shownTarget = dialog.text(printing::kTarget);
        return press;
      }
      if (name == printing::kProgressTemplate) {
        progressFocus = dialog.focusedControl();
        return ++looks == cancelAt ? IDCANCEL : 0;
      }
      return 0;
    });
  }
  void clickPrint() {
    const Point at = clientToScreen(p->shell.BottomPanel, kPrintButton);
    press(at);
    release();
  }
  std::vector<std::string> portFiles() { return listFolder(tmp.file("install/Port")); }
  bool saw(const std::string& caption, const std::string& textStart) const {
    return std::any_of(headlessMessageBoxes().begin(), headlessMessageBoxes().end(), [&](const MessageBoxShown& box) {
      return box.caption == caption && box.text.rfind(textStart, 0) == 0;
    });
  }
  bool workingWindowsEnabled() const {
    for (HWindow w : {p->shell.ViewWindow, p->shell.SidePanel, p->shell.BottomPanel, p->shell.TabStrip})
      if (!isWindowEnabled(w)) return false;
    return true;
  }

  std::string proposedName, shownTarget;
  int progressFocus = 0;
};

TEST_F(Print, TheButtonTakesTheFileInformationThenWritesThePageAsAPdfInThePortFolder) {
  answer({});
  clickPrint();
  const std::vector<std::string> expected{fileinfo::kFormTemplate, printing::kChooseTemplate,
                                          printing::kProgressTemplate};
  EXPECT_EQ(headlessDialogsOpened(), expected);
  EXPECT_EQ(p->sceneFile.author.name, "김하늘");  // the form stored the profile
  EXPECT_EQ(proposedName, "우리 집.pdf");
  EXPECT_EQ(progressFocus, IDCANCEL);
  // Only the finished file is left, no temporary one beside it.
  EXPECT_EQ(portFiles(), std::vector<std::string>{"우리 집.pdf"});
  const std::string pdf = tmp.read("install/Port/우리 집.pdf");
  EXPECT_EQ(pdf.substr(0, 4), "%PDF");
  EXPECT_GT(pdf.size(), 2000u);
  EXPECT_TRUE(saw("프린트", "PDF 파일로 인쇄했습니다."));
  EXPECT_EQ(p->shell.viewActive, 1);
  EXPECT_TRUE(workingWindowsEnabled());

  // The same name again: asked before the file is replaced; No goes back to the dialog, Cancel there ends.
  headlessClearMessageBoxes();
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDNO; });
  answer({IDOK, IDCANCEL});
  clickPrint();
  ASSERT_FALSE(headlessMessageBoxes().empty());
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "프린트");
  EXPECT_EQ(headlessMessageBoxes().size(), 1u);  // nothing printed, nothing reported
  EXPECT_EQ(tmp.read("install/Port/우리 집.pdf"), pdf);
  EXPECT_TRUE(workingWindowsEnabled());
}

TEST_F(Print, CancelWhileThePageIsDrawnLeavesNoFileAndSaysSo) {
  answer({}, 3);
  clickPrint();
  EXPECT_TRUE(portFiles().empty());
  EXPECT_TRUE(saw("프린트", "인쇄를 취소했습니다."));
  EXPECT_FALSE(saw("프린트", "PDF 파일로 인쇄했습니다."));
  EXPECT_EQ(p->shell.viewActive, 1);
  EXPECT_TRUE(workingWindowsEnabled());

  // Cancel in the print dialog itself prints nothing and says nothing.
  headlessClearMessageBoxes();
  answer({IDCANCEL});
  clickPrint();
  EXPECT_TRUE(portFiles().empty());
  EXPECT_TRUE(headlessMessageBoxes().empty());
}

TEST_F(Print, APrinterGetsThePdfAndAPortFolderThatCannotBeWrittenIsADeviceError) {
  headlessSetPrinters({"사무실 프린터", "복도"});
  answer({printing::kNext, printing::kNext, printing::kPrevious});
  clickPrint();
  EXPECT_EQ(shownTarget, "복도");  // the last target seen before the final step back
  ASSERT_EQ(headlessPrintJobs().size(), 1u);
  EXPECT_EQ(headlessPrintJobs()[0].printer, "사무실 프린터");
  EXPECT_EQ(headlessPrintJobs()[0].pdf.substr(0, 4), "%PDF");
  EXPECT_TRUE(portFiles().empty());
  EXPECT_TRUE(saw("프린트", "프린터로 보냈습니다."));

  // A file where the folder should be: the job cannot start, and no success is reported.
  headlessClearMessageBoxes();
  ASSERT_TRUE(std::filesystem::remove(tmp.file("install/Port")));
  tmp.write("install/Port", "not a folder");
  answer({});
  clickPrint();
  EXPECT_TRUE(saw("Device Error", "PDF 파일을 쓸 수 없어서"));
  EXPECT_FALSE(saw("프린트", "PDF 파일로 인쇄했습니다."));
  EXPECT_EQ(tmp.read("install/Port"), "not a folder");
  EXPECT_TRUE(workingWindowsEnabled());
}

}  // namespace
