// Exchanging scenes through files in the real program, headless: the questions around receiving and
// sending, the file-information form and display with the profile kept apart, Korean composed in the form,
// files that cannot be read, and the file dialog's folders, filters and refusals.
#include <gtest/gtest.h>

#include <map>

#include "app/FileDialog.h"
#include "app/FileInfo.h"
#include "app/ProgramFixture.h"
#include "app/Settings.h"
#include "platform/dialog.h"
#include "platform/strings.h"
#include "scene/SceneList.h"

namespace {

class Exchange : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    installBrickOnPlate();
    ASSERT_TRUE(startUp(*p, ""));
    pump();
  }
  void TearDown() override {
    headlessSetDialogPolicy(nullptr);
    ProgramFixture::TearDown();
  }
  std::string port(const std::string& name) { return tmp.file("install/Port/" + name); }
  size_t blocks() const { return p->world.scene.nodes.size(); }
  // Answers the file dialogs with these names in turn (an empty one cancels) and confirms the other dialogs;
  // proposals gets the name each file dialog showed.
  void answerFileDialogs(std::vector<std::string> names) {
    proposals.clear();
    headlessSetDialogPolicy([this, names, next = size_t(0)](Dialog& dialog, const std::string& name) mutable {
      if (name != filedialog::kOpenTemplate && name != filedialog::kSaveTemplate) return IDOK;
      proposals.push_back(dialog.text(filedialog::kName));
      if (next >= names.size() || names[next].empty()) return IDCANCEL;
      dialog.setText(filedialog::kName, names[next++]);
      return IDOK;
    });
  }
  std::vector<std::string> proposals;
};

TEST_F(Exchange, SendingOverAFileAsksAndNoChoosesAgainCancelWritesNothingYesOverwrites) {
  tmp.write("install/Port/old.lml", "kept");
  answerFileDialogs({"old.lml", "old.lml"});
  std::vector<int> answers = {IDNO, IDCANCEL};
  headlessSetMessageBoxPolicy([&answers](const MessageBoxShown&) {
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  });
  p->shell.sceneUnchanged = 1;
  EXPECT_FALSE(exportScene(*p, p->shell.ViewWindow));
  ASSERT_EQ(headlessMessageBoxes().size(), 2u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, loadString(21));
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "보내기");
  EXPECT_EQ(headlessMessageBoxes()[0].type, MB_YESNOCANCEL | MB_ICONWARNING | MB_TASKMODAL);
  const auto& opened = headlessDialogsOpened();
  EXPECT_EQ(std::count(opened.begin(), opened.end(), std::string(filedialog::kSaveTemplate)), 2);
  EXPECT_EQ(proposals, (std::vector<std::string>{"", "old.lml"}));  // chosen again, starting from the same name
  EXPECT_EQ(std::count(opened.begin(), opened.end(), std::string(fileinfo::kFormTemplate)), 0);
  EXPECT_EQ(tmp.read("install/Port/old.lml"), "kept");
  EXPECT_EQ(p->shell.sceneUnchanged, 0);
  EXPECT_TRUE(isWindowEnabled(p->shell.BottomPanel));

  // Yes writes the scene over it; a bare name is a scene file and asks nothing.
  headlessClearMessageBoxes();
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDYES; });
  answerFileDialogs({"old.lml"});
  EXPECT_TRUE(exportScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(p->shell.sceneUnchanged, 1);
  EXPECT_EQ(tmp.read("install/Port/old.lml"), sceneText(p->sceneFile, p->world));
  answerFileDialogs({"새 장면"});
  EXPECT_TRUE(exportScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_TRUE(fileExists(port("새 장면.lml")));
}

TEST_F(Exchange, SendingWritesTheFormsAuthorAndWorkIntoTheHeaderAndStoresTheProfile) {
  p->sceneFile.author = SceneAuthor{"김철수", "11", "서울", "cs@example.kr"};
  p->sceneFile.info.title = "예전 제목\r\n";
  p->sceneFile.fixedDate = std::array<int, 3>{2026, 8, 12};
  std::string shownTitle;
  int formAsked = 0;
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string& name) -> int {
    if (name != fileinfo::kFormTemplate) {
      dialog.setText(filedialog::kName, "house");
      return IDOK;
    }
    if (formAsked++ > 0) return IDOK;
    shownTitle = dialog.text(fileinfo::kTitle);
    EXPECT_EQ(dialog.text(fileinfo::kName), "김철수");
    dialog.setText(fileinfo::kAge, "12");
    dialog.setText(fileinfo::kDescription, "빨간 지붕");
    // The title typed anew, syllable by syllable as the input method composes it.
    dialog.setFocus(fileinfo::kTitle);
    dialog.setText(fileinfo::kTitle, "");
    for (const char* step : {"ㅎ", "하", "한"}) headlessComposition(step);
    headlessText("한");
    for (const char* step : {"ㄱ", "그", "글"}) headlessComposition(step);
    headlessComposition("");
    headlessText("글");
    return 0;
  });
  EXPECT_TRUE(sendScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(shownTitle, "예전 제목");  // one line, without the line end it was read with
  EXPECT_FALSE(p->sceneFile.writeInfoFlag);

  const std::string written = tmp.read("install/Port/house.lml");
  const std::string header =
      "//김철수\r\n//12\r\n//서울\r\n//cs@example.kr\r\n//2026 8 12\r\n//한글\r\n//빨간 지붕\r\n";
  EXPECT_EQ(written.substr(0, header.size()), header);
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, loadString(15));
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "보내기");
  EXPECT_EQ(headlessMessageBoxes()[0].type, MB_OK | MB_ICONWARNING);
  // The age typed in the form is the profile's from now on.
  p->sceneFile.author = SceneAuthor{};
  readProfile(*p);
  EXPECT_EQ(p->sceneFile.author.age, "12");
  EXPECT_EQ(p->sceneFile.author.name, "김철수");
}

TEST_F(Exchange, ReceivingShowsTheFilesAuthorKeepsTheProfileAndTheSendDialogProposesTheFile) {
  World friendWorld;
  SceneFileState friendFile;
  friendFile.writeInfoFlag = true;
  friendFile.author = SceneAuthor{"박영희", "10", "부산", "yh@example.kr"};
  friendFile.info.title = "배";
  friendFile.fixedDate = std::array<int, 3>{2026, 8, 12};
  for (int i = 0; i < 3; ++i) putBlockInScene(friendWorld, plainBlock(Brick, 2, 2, {i * 8.f, 4, 0}, {0, 0, 1, 1}));
  ASSERT_TRUE(WriteSceneFile(friendFile, friendWorld, port("friend.lml")));
  sceneClear(friendWorld);
  p->sceneFile.author = SceneAuthor{"김철수", "11", "서울", ""};
  ASSERT_TRUE(writeProfile(*p));

  std::map<int, std::string> shown;
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string& name) -> int {
    if (name == fileinfo::kDisplayTemplate) {
      for (int id : {fileinfo::kShownName, fileinfo::kShownDate, fileinfo::kShownTitle}) shown[id] = dialog.text(id);
      return IDOK;
    }
    dialog.setText(filedialog::kName, "friend.lml");
    return IDOK;
  });
  p->shell.screenState = OptionsScreen;
  EXPECT_TRUE(receiveScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(shown[fileinfo::kShownName], "박영희");
  EXPECT_EQ(shown[fileinfo::kShownDate], "8. 12. 2026.");
  EXPECT_EQ(shown[fileinfo::kShownTitle], "배");
  EXPECT_EQ(blocks(), 3u);
  EXPECT_EQ(p->shell.screenState, EditScreen);
  EXPECT_FALSE(p->sceneFile.readInfoFlag);
  EXPECT_EQ(p->sceneFile.author.name, "김철수");
  p->sceneFile.author = SceneAuthor{};
  readProfile(*p);
  EXPECT_EQ(p->sceneFile.author.name, "김철수");

  // Sending next: the dialog proposes the file received, the form the user's own profile and the title read.
  std::string proposed, author, title;
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string& name) -> int {
    if (name == filedialog::kSaveTemplate) {
      proposed = dialog.text(filedialog::kName);
      return IDCANCEL;
    }
    return IDOK;
  });
  EXPECT_FALSE(exportScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(proposed, "friend.lml");
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string& name) -> int {
    if (name == filedialog::kSaveTemplate) dialog.setText(filedialog::kName, "mine.lml");
    if (name == fileinfo::kFormTemplate) author = dialog.text(fileinfo::kName), title = dialog.text(fileinfo::kTitle);
    return IDOK;
  });
  EXPECT_TRUE(exportScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(author, "김철수");
  EXPECT_EQ(title, "배");
}

TEST_F(Exchange, AnUnsavedSceneIsKeptUnlessTheUserLetsItGoAndAnUnreadableFileLeavesItCleared) {
  p->shell.sceneUnchanged = 0;
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDNO; });
  answerFileDialogs({});
  headlessClearDialogsOpened();
  EXPECT_FALSE(importScene(*p, p->shell.ViewWindow));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, loadString(10));
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "받기");
  EXPECT_EQ(headlessMessageBoxes()[0].type, MB_YESNO | MB_ICONWARNING);
  EXPECT_TRUE(headlessDialogsOpened().empty());
  EXPECT_EQ(blocks(), 2u);

  // Yes, then cancelling the file dialog: the scene stays, still counted as unsaved.
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDYES; });
  EXPECT_FALSE(importScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(p->shell.sceneUnchanged, 0);
  EXPECT_EQ(blocks(), 2u);

  // A file that ends before its count line: the scene the user gave up is gone, and the user is told.
  tmp.write("install/Port/short.lml", "//./scene\\sky.ppm\r\n1 2 3 4 5 6\r\n");
  headlessClearMessageBoxes();
  answerFileDialogs({"short.lml"});
  EXPECT_FALSE(receiveScene(*p, p->shell.ViewWindow));
  EXPECT_EQ(blocks(), 0u);
  ASSERT_EQ(headlessMessageBoxes().size(), 2u);
  EXPECT_NE(headlessMessageBoxes()[1].text.find("short.lml"), std::string::npos);
  EXPECT_NE(headlessDialogsOpened().back(), std::string(fileinfo::kDisplayTemplate));
}

TEST_F(Exchange, TheFileDialogFollowsFoldersFiltersNamesAndRefusesWhatIsMissing) {
  tmp.write("install/Port/b.lml", "x");
  tmp.write("install/Port/A.LML", "x");
  tmp.write("install/Port/notes.txt", "x");
  tmp.write("install/Port/.hidden.lml", "x");
  tmp.write("install/Port/sub/inner.lml", "x");
  auto names = [](const std::vector<FolderEntry>& entries) {
    std::vector<std::string> all;
    for (const FolderEntry& e : entries) all.push_back(e.name + (e.folder ? "/" : ""));
    return all;
  };
  EXPECT_EQ(names(listFolderEntries(port(""), false)), (std::vector<std::string>{"../", "sub/", "A.LML", "b.lml"}));
  EXPECT_EQ(names(listFolderEntries(port(""), true)),
            (std::vector<std::string>{"../", "sub/", "A.LML", "b.lml", "notes.txt"}));

  // A missing name is refused and the dialog stays; a folder's row chosen twice lists it, a file's row
  // chosen twice is the answer.
  const std::vector<int> commands = {IDOK, filedialog::kFirstRow + 1, filedialog::kFirstRow + 1,
                                     filedialog::kFirstRow + 1, filedialog::kFirstRow + 1};
  std::vector<std::string> fieldSeen;
  headlessSetDialogPolicy([&, next = size_t(0)](Dialog& dialog, const std::string&) mutable {
    if (next == 0) dialog.setText(filedialog::kName, "missing.lml");
    fieldSeen.push_back(dialog.text(filedialog::kName));
    return next < commands.size() ? commands[next++] : IDCANCEL;
  });
  FileDialogRequest request{FileDialogMode::Open, "받기", tmp.file("install/port"), ""};
  EXPECT_EQ(runFileDialog(nullptr, request), tmp.file("install/Port/sub/inner.lml"));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "missing.lml\n파일을 찾을 수 없습니다. 파일 이름을 확인해 주십시오.");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "받기");
  // The name typed before the folder's row was chosen comes back once the folder is listed.
  EXPECT_EQ(fieldSeen, (std::vector<std::string>{"missing.lml", "missing.lml", "sub", "missing.lml", "inner.lml"}));

  // Saving: typed paths reach sub-folders and ".." leads back; a missing folder is refused.
  std::vector<std::string> typed = {"nowhere/x", "..", "Port\\sub\\새것"};
  headlessClearMessageBoxes();
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string&) {
    if (typed.empty()) return IDCANCEL;
    dialog.setText(filedialog::kName, typed.front());
    typed.erase(typed.begin());
    return IDOK;
  });
  request.mode = FileDialogMode::Save;
  EXPECT_EQ(runFileDialog(nullptr, request), tmp.file("install/Port/sub/새것.lml"));
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_NE(headlessMessageBoxes()[0].text.find("폴더를 찾을 수 없습니다"), std::string::npos);
}

}  // namespace
