// Dialogs driven as a user would: clicks and keys queued before the dialog opens, Korean typed and
// composed into fields, the headless policy answering, and the owner disabled while the dialog lives.
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "support/WindowTestSupport.h"

namespace {

enum : int { kAutoView = 1042, kSound = 1043, kName = 1050, kNote = 1051, kApply = 1070 };

DialogTemplate settingsTemplate() {
  DialogTemplate t;
  t.name = "SETTINGS";
  t.title = "설정";
  t.width = 300;
  t.height = 160;
  t.controls = {
      {kAutoView, ControlKind::CheckBox, "시점 자동 변경", {10, 10, 200, 28}},
      {kSound, ControlKind::CheckBox, "소리", {10, 34, 200, 52}, 0, true},
      {kName, ControlKind::Edit, "", {10, 60, 200, 82}, 12},
      {kNote, ControlKind::Edit, "", {10, 88, 200, 110}},
      {kApply, ControlKind::PushButton, "적용", {210, 10, 290, 36}},
      {IDOK, ControlKind::DefaultButton, "확인", {120, 124, 200, 150}},
      {IDCANCEL, ControlKind::PushButton, "취소", {210, 124, 290, 150}},
  };
  return t;
}

class DialogTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    owner = make("Recorder", 0, 0, 640, 480);
  }
  // Screen point of a client point of the settings dialog, centred over the 640x480 owner with its
  // 22-pixel caption bar.
  static Point at(int x, int y) { return Point{170 + x, 149 + 22 + y}; }
  static void click(int x, int y) { headlessClick(at(x, y).x, at(x, y).y); }
  // The screen's pixels inside the name field.
  static std::vector<uint16_t> nameField() {
    const Surface& screen = composeScreen();
    std::vector<uint16_t> pixels;
    for (int y = at(0, 60).y; y < at(0, 82).y; ++y)
      for (int x = at(10, 0).x; x < at(200, 0).x; ++x) pixels.push_back(screen.at(x, y));
    return pixels;
  }

  HWindow owner = nullptr;
};

}  // namespace

TEST_F(DialogTest, ClicksQueuedBeforeOpeningTickBoxesAndPressButtonsReleasedOnThem) {
  click(100, 19);  // the text of the first box
  click(15, 43);  // the notifying box itself
  headlessMouseMove(at(250, 20).x, at(250, 20).y);  // pressed on "적용", released beside it: nothing
  headlessMouseButton(1, true);
  headlessMouseMove(at(250, 60).x, at(250, 60).y);
  headlessMouseButton(1, false);
  click(160, 137);
  HWindow previousFocus = focusWindow();
  {
    Dialog dialog(settingsTemplate(), owner);
    ASSERT_TRUE(dialog.isOpen());
    EXPECT_EQ(windowRect(dialog.window()), (Rect{170, 149, 470, 331}));
    EXPECT_FALSE(isWindowEnabled(owner));
    EXPECT_EQ(headlessDialogsOpened(), std::vector<std::string>{"SETTINGS"});
    EXPECT_EQ(dialog.nextCommand(), kSound);
    EXPECT_TRUE(dialog.checked(kAutoView));
    EXPECT_TRUE(dialog.checked(kSound));
    EXPECT_EQ(dialog.nextCommand(), IDOK);
    EXPECT_EQ(dialog.focusedControl(), IDOK);
    EXPECT_TRUE(isWindow(dialog.window()));  // open until destroyed
  }
  EXPECT_TRUE(isWindowEnabled(owner));
  EXPECT_EQ(focusWindow(), previousFocus);
}

TEST_F(DialogTest, TabWalksTheEnabledShownControlsBothWays) {
  Dialog dialog(settingsTemplate(), owner);
  dialog.enable(kSound, false);
  dialog.show(kNote, false);
  EXPECT_EQ(dialog.focusedControl(), kAutoView);
  std::vector<int> visited;
  for (int i = 0; i < 5; ++i) {
    headlessKeyPress(VK_TAB);
    pump();
    visited.push_back(dialog.focusedControl());
  }
  EXPECT_EQ(visited, (std::vector<int>{kName, kApply, IDOK, IDCANCEL, kAutoView}));
  headlessKey(VK_SHIFT, true);
  headlessKeyPress(VK_TAB);
  headlessKey(VK_SHIFT, false);
  pump();
  EXPECT_EQ(dialog.focusedControl(), IDCANCEL);
  dialog.setFocus(kSound);  // disabled: the focus stays
  EXPECT_EQ(dialog.focusedControl(), IDCANCEL);
  dialog.enable(IDCANCEL, false);  // the focus moves on, round to the first control
  EXPECT_EQ(dialog.focusedControl(), kAutoView);
  click(100, 43);  // a disabled box ignores clicks
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(dialog.nextCommand(), IDOK);
  EXPECT_FALSE(dialog.checked(kSound));
}

TEST_F(DialogTest, EnterPressesTheFocusedButtonElseTheDefaultAndEscapeGivesTheEscapeCommand) {
  Dialog dialog(settingsTemplate(), owner);
  dialog.setFocus(kName);
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(dialog.nextCommand(), IDOK);
  dialog.setFocus(kApply);
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(dialog.nextCommand(), kApply);
  dialog.setFocus(kAutoView);
  headlessKeyPress(VK_SPACE);  // flips the box, which is no command
  headlessKeyPress(VK_ESCAPE);
  EXPECT_EQ(dialog.nextCommand(), IDCANCEL);
  EXPECT_TRUE(dialog.checked(kAutoView));
  postMessage(dialog.window(), Msg::Close);
  EXPECT_EQ(dialog.nextCommand(), IDCANCEL);

  DialogTemplate noWayOut = settingsTemplate();
  noWayOut.escapeCommand = 0;
  Dialog second(noWayOut, owner);
  headlessKeyPress(VK_ESCAPE);
  postMessage(second.window(), Msg::Close);
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(second.nextCommand(), IDOK);
}

TEST_F(DialogTest, KoreanIsTypedAndDeletedAWholeSyllableAtATime) {
  Dialog dialog(settingsTemplate(), owner);
  click(100, 97);  // into the second field
  headlessText("홍길동");
  headlessKeyPress(VK_BACK);
  headlessKeyPress(VK_LEFT);
  headlessKeyPress(VK_DELETE);
  headlessKeyPress(VK_HOME);
  headlessText("김");
  headlessKeyPress(VK_END);
  headlessText("님");
  click(12, 97);  // before the first syllable
  headlessText("A");
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(dialog.nextCommand(), IDOK);
  EXPECT_EQ(dialog.focusedControl(), kNote);
  EXPECT_EQ(dialog.text(kNote), "A김홍님");
}

TEST_F(DialogTest, AFieldKeepsItsByteLimitWithoutSplittingACharacter) {
  Dialog dialog(settingsTemplate(), owner);  // the name field keeps 12 bytes
  dialog.setText(kName, "abcdefghijk가");
  EXPECT_EQ(dialog.text(kName), "abcdefghijk");
  dialog.setText(kName, "");
  dialog.setFocus(kName);
  headlessText("가나다라마");
  headlessText("a");
  pump();
  EXPECT_EQ(dialog.text(kName), "가나다라");
  headlessKeyPress(VK_BACK);
  headlessText("ab가");
  pump();
  EXPECT_EQ(dialog.text(kName), "가나다ab");
  // Malformed text is still walked and cut without reading past it.
  dialog.setText(kName, std::string("\xEA\xB0\x80\x80\x80\x80\xFF", 7));
  headlessKeyPress(VK_BACK);
  headlessKeyPress(VK_HOME);
  headlessKeyPress(VK_DELETE);
  pump();
  EXPECT_EQ(dialog.text(kName), std::string("\x80\x80\x80", 3));
}

TEST_F(DialogTest, ACompositionShowsAtTheCaretUntilItsSyllableIsTyped) {
  Dialog dialog(settingsTemplate(), owner);
  dialog.setFocus(kName);
  pump();
  std::vector<uint16_t> empty = nameField();
  headlessComposition("하");
  pump();
  EXPECT_NE(nameField(), empty);
  EXPECT_EQ(dialog.text(kName), "");
  headlessComposition("");  // given up: nothing typed
  pump();
  EXPECT_EQ(nameField(), empty);

  headlessComposition("한");
  pump();
  std::vector<uint16_t> composing = nameField();
  headlessComposition("");
  headlessText("한");
  pump();
  std::vector<uint16_t> typed = nameField();
  EXPECT_EQ(dialog.text(kName), "한");
  EXPECT_NE(typed, composing);  // the underline is gone
  // Typed text ends a composition also when the input method does not say so.
  dialog.setText(kName, "");
  headlessComposition("한");
  headlessText("한");
  pump();
  EXPECT_EQ(nameField(), typed);
  // A composition with no field focused shows nowhere.
  dialog.setFocus(kApply);
  headlessComposition("한");
  pump();
  dialog.setFocus(kName);
  pump();
  EXPECT_EQ(nameField(), typed);
}

TEST_F(DialogTest, ThePolicySeesTheDialogAndItsDefaultIsTheDefaultButton) {
  headlessSetDialogPolicy([](Dialog& dialog, const std::string& name) -> int {
    if (name != "SETTINGS") return 0;
    dialog.setChecked(kAutoView, true);
    dialog.setText(kName, "정");
    return kApply;
  });
  {
    Dialog dialog(settingsTemplate(), owner);
    EXPECT_EQ(dialog.nextCommand(), kApply);
    EXPECT_TRUE(dialog.checked(kAutoView));
    EXPECT_EQ(dialog.text(kName), "정");
  }
  headlessSetDialogPolicy(nullptr);
  DialogTemplate t = settingsTemplate();
  EXPECT_EQ(Dialog(t, owner).nextCommand(), IDOK);
  t.controls.pop_back();
  t.controls.pop_back();  // no default button
  EXPECT_EQ(Dialog(t, owner).nextCommand(), IDCANCEL);
  t.escapeCommand = 0;
  EXPECT_EQ(Dialog(t, owner).nextCommand(), IDOK);
  EXPECT_EQ(headlessDialogsOpened().size(), 4u);
}

TEST_F(DialogTest, APolicyThatWaitsIsAskedAgainAfterItsInputAndGivesUpHeadless) {
  int asked = 0;
  headlessSetDialogPolicy([&](Dialog& dialog, const std::string&) -> int {
    if (++asked == 1) {  // the user types a name, then thinks it over
      dialog.setFocus(kName);
      headlessText("이름");
      return 0;
    }
    return asked == 2 && dialog.text(kName) == "이름" ? kApply : 0;
  });
  Dialog dialog(settingsTemplate(), owner);
  EXPECT_EQ(dialog.nextCommand(), kApply);
  EXPECT_EQ(asked, 2);
  uint32_t waited = tickCount();
  EXPECT_EQ(dialog.nextCommand(), IDCANCEL);  // nobody answers: the escape command
  EXPECT_GE(tickCount() - waited, 10u * 60 * 1000 - 1000);
  EXPECT_EQ(asked, 3);
}

TEST_F(DialogTest, AQuitEndsTheWaitAndIsPostedAgain) {
  {
    Dialog dialog(settingsTemplate(), owner);
    postQuitMessage(3);
    EXPECT_EQ(dialog.nextCommand(), IDCANCEL);
  }
  Message m;
  bool quit = false;
  for (int guard = 0; !quit && guard < 1000 && peekMessage(m); ++guard)
    if (!(quit = m.msg == Msg::Quit && m.code == 3)) dispatchMessage(m);
  EXPECT_TRUE(quit);
}

TEST_F(DialogTest, APictureThatAnyInputEndsCoversTheScreenWithoutACaption) {
  DialogTemplate credits;
  credits.name = "CREDITS";
  credits.width = 640;
  credits.height = 480;
  credits.anyInputEnds = true;
  credits.controls = {{5, ControlKind::Picture, "", {0, 0, 640, 480}},
                      {6, ControlKind::PictureButton, "", {600, 440, 640, 480}}};
  Dialog dialog(credits, owner);
  EXPECT_EQ(windowRect(dialog.window()), (Rect{0, 0, 640, 480}));
  Surface picture(700, 500, rgb565(0, 0, 255));
  picture.row(300)[639] = rgb565(255, 0, 0);
  dialog.setPicture(5, picture);
  headlessKeyPress('A');
  EXPECT_EQ(dialog.nextCommand(), IDOK);
  EXPECT_EQ(composeScreen().at(639, 300), rgb565(255, 0, 0));  // one to one, clipped
  EXPECT_EQ(composeScreen().at(0, 0), rgb565(0, 0, 255));
  headlessClick(10, 10);
  EXPECT_EQ(dialog.nextCommand(), IDOK);

  credits.anyInputEnds = false;
  Dialog buttons(credits, owner);
  headlessClick(10, 10);  // a picture is no command
  headlessClick(620, 460);
  EXPECT_EQ(buttons.nextCommand(), 6);
}

TEST_F(DialogTest, ADialogWithoutAWindowKeepsItsValuesAndAnswersAtOnce) {
  {
    Dialog dialog(settingsTemplate(), owner);
    destroyWindow(dialog.window());  // gone under the dialog: the owner is free again at once
    EXPECT_TRUE(isWindowEnabled(owner));
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(dialog.nextCommand(), IDCANCEL);
  }
  platformStop();
  {
    Dialog dialog(settingsTemplate(), nullptr);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(dialog.nextCommand(), IDCANCEL);
    dialog.setChecked(kSound, true);
    EXPECT_TRUE(dialog.checked(kSound));
    EXPECT_EQ(dialog.text(999), "");
  }
  ASSERT_TRUE(platformStart(Backend::Headless));
  windows.clear();
}
