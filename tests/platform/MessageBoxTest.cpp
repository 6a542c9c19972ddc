// Message boxes: answers by policy and by keyboard, the disabled owner, and the other windows' paint
// messages arriving while a box is open.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "support/WindowTestSupport.h"

TEST_F(WindowTest, MessageBoxReportsWhatItShowedAndAnswersByPolicy) {
  HWindow owner = make("Recorder", 0, 0, 300, 200);
  headlessSetMessageBoxPolicy([](const MessageBoxShown& box) { return box.caption == "저장" ? IDNO : IDOK; });
  EXPECT_EQ(messageBox(owner, loadString(22), loadString(23), MB_YESNOCANCEL | MB_ICONWARNING), IDNO);
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "저장 하시겠습니까?");
  EXPECT_EQ(headlessMessageBoxes()[0].ownerClass, "Recorder");
  EXPECT_TRUE(isWindowEnabled(owner));
  headlessAnswerNext(IDCANCEL);  // a forced answer beats the policy
  EXPECT_EQ(messageBox(owner, "x", "저장", MB_YESNOCANCEL), IDCANCEL);
}

TEST_F(WindowTest, OtherWindowsArePaintedWhileABoxIsOpenAndTheOwnerIsNot) {
  HWindow owner = make("Recorder", 0, 0, 300, 200);
  HWindow other = make("Recorder", 320, 0, 300, 200);
  pump();
  log.clear();
  bool ownerDisabledDuringPaint = false;
  headlessSetMessageBoxPolicy([&](const MessageBoxShown&) {
    invalidateRect(other, nullptr);
    return IDOK;
  });
  // The policy runs as the box opens; the paint it causes must be delivered before the box closes.
  registerClass(WindowClass{"PaintWatcher", CS_REDRAW, "", [&](HWindow w, const Message& m) -> intptr_t {
                              if (m.msg == Msg::Paint) ownerDisabledDuringPaint = !isWindowEnabled(owner);
                              return defWindowProc(w, m);
                            }});
  HWindow watcher = make("PaintWatcher", 0, 300, 100, 100);
  pump();
  headlessSetMessageBoxPolicy([&](const MessageBoxShown&) {
    invalidateRect(watcher, nullptr);
    return IDOK;
  });
  EXPECT_EQ(messageBox(owner, "text", "", MB_OK), IDOK);
  EXPECT_TRUE(ownerDisabledDuringPaint);
  EXPECT_TRUE(isWindowEnabled(owner));
  // Clicks on the disabled owner while the box is open are not delivered to it.
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) {
    headlessClick(10, 10);
    return IDOK;
  });
  log.clear();
  messageBox(owner, "text", "", MB_OK);
  EXPECT_EQ(count(Msg::LButtonDown, owner), 0);
}

TEST_F(WindowTest, MessageBoxAnswersTheKeyboard) {
  HWindow owner = make("Recorder", 0, 0, 300, 200);
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return 0; });  // wait for input
  headlessKeyPress(VK_ESCAPE);
  EXPECT_EQ(messageBox(owner, "text", "caption", MB_YESNOCANCEL), IDCANCEL);
  headlessKeyPress(VK_TAB);
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(messageBox(owner, "text", "caption", MB_YESNO), IDNO);
  headlessKeyPress(VK_ESCAPE);  // Yes/No has no way out but its buttons
  headlessKeyPress(VK_RETURN);
  EXPECT_EQ(messageBox(owner, "text", "caption", MB_YESNO), IDYES);
  EXPECT_EQ(focusWindow(), owner);
}

TEST_F(WindowTest, MessageBoxButtonsAnswerClicksReleasedOnThem) {
  HWindow owner = make("Recorder", 0, 0, 640, 480);
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return 0; });
  // Find the box on the screen: the "아니요" button is the second of two, centred at the bottom.
  int answer = 0;
  headlessAnswerNext(IDOK);
  messageBox(owner, "measure", "", MB_YESNO);
  headlessSetMessageBoxPolicy([&](const MessageBoxShown&) {
    Rect box = windowRect(windowFromPoint(320, 240));
    int buttonY = box.bottom - 14 - 13;
    headlessMouseMove(320 + 5 + 42, buttonY);  // right of centre: the second button
    headlessMouseButton(1, true);
    headlessMouseMove(10, 10);  // pressed, moved away, back again, released inside
    headlessMouseMove(320 + 5 + 42, buttonY);
    headlessMouseButton(1, false);
    return 0;
  });
  answer = messageBox(owner, "measure", "", MB_YESNO);
  EXPECT_EQ(answer, IDNO);
}
