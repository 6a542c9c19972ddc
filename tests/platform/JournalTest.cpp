// The session journal: its line format, where its screenshots may go, a recorded session replayed headless
// to the same screen, and replays that end however their times are written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/Backend.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "support/TestSupport.h"

TEST(Journal, LinesRoundTripAndMalformedOnesAreRefused) {
  InputEvent e;
  e.type = InputEvent::Type::Button;
  e.time = 1234;
  e.button = 3;
  e.down = true;
  e.x = 17;
  e.y = 400;
  InputEvent back;
  ASSERT_TRUE(journalParseLine(journalFormatLine(e), back));
  EXPECT_EQ(back.type, e.type);
  EXPECT_EQ(back.time, 1234u);
  EXPECT_EQ(back.button, 3);
  EXPECT_TRUE(back.down);
  EXPECT_EQ(back.y, 400);
  ASSERT_TRUE(journalParseLine("5 text 한글 입력", back));
  EXPECT_EQ(back.text, "한글 입력");
  // What the input method is still composing, and the end of a composition, which has no text.
  ASSERT_TRUE(journalParseLine("6 compose 하", back));
  EXPECT_EQ(back.type, InputEvent::Type::Composition);
  EXPECT_EQ(back.text, "하");
  back.text.clear();
  ASSERT_TRUE(journalParseLine(journalFormatLine(back), back));
  EXPECT_EQ(back.type, InputEvent::Type::Composition);
  EXPECT_EQ(back.text, "");
  ASSERT_TRUE(journalParseLine("9 answer 7", back));
  EXPECT_EQ(back.type, InputEvent::Type::Answer);
  // The end of a session (a termination signal) can be written down and played back like any event.
  e = InputEvent{};
  e.type = InputEvent::Type::Terminate;
  e.time = 77;
  ASSERT_TRUE(journalParseLine(journalFormatLine(e), back));
  EXPECT_EQ(back.type, InputEvent::Type::Terminate);
  EXPECT_EQ(back.time, 77u);
  for (const char* bad : {"", "x move 1 2", "-5 move 1 2", "5 move 1", "5 button 2 down 1 1", "5 key 300 down",
                          "5 key 65 sideways", "5 text", "5 dance"})
    EXPECT_FALSE(journalParseLine(bad, back)) << bad;
  // A session lasts a day at most.
  EXPECT_TRUE(journalParseLine("86400000 move 1 2", back));
  EXPECT_EQ(back.time, kJournalMaxTime);
  for (const char* late : {"86400001 move 1 2", "4294967295 move 1 2", "4294967296 close", "99999999999999999999 close"})
    EXPECT_FALSE(journalParseLine(late, back)) << late;
}

TEST(Journal, ScreenshotsAreSavedOnlyInsideTheJournalsFolder) {
  std::string path;
  ASSERT_TRUE(journalScreenshotPath("/home/kim/runs/a.journal", "shot.bmp", path));
  EXPECT_EQ(path, "/home/kim/runs/shot.bmp");
  ASSERT_TRUE(journalScreenshotPath("/home/kim/runs/a.journal", "sub/..shot..bmp", path));
  EXPECT_EQ(path, "/home/kim/runs/sub/..shot..bmp");
  ASSERT_TRUE(journalScreenshotPath("a.journal", "shot.bmp", path));
  EXPECT_EQ(path, "shot.bmp");
  ASSERT_TRUE(journalScreenshotPath("/a.journal", "shot.bmp", path));
  EXPECT_EQ(path, "/shot.bmp");
  path = "untouched";
  for (const char* outside : {"/home/kim/.bashrc", "\\etc\\passwd", "..", "../shot.bmp", "sub/../../shot.bmp",
                              "sub\\..\\..\\shot.bmp", "sub/..", ""})
    EXPECT_FALSE(journalScreenshotPath("/home/kim/runs/a.journal", outside, path)) << outside;
  EXPECT_EQ(path, "untouched");
}

namespace {

// A window that paints a dot wherever it is clicked and a bar for every key.
intptr_t sketchProc(HWindow window, const Message& m) {
  Surface& s = windowSurface(window);
  if (m.msg == Msg::LButtonDown) fillSurfaceRect(s, Rect{m.x - 2, m.y - 2, m.x + 3, m.y + 3}, rgb565(255, 255, 0));
  if (m.msg == Msg::KeyDown) fillSurfaceRect(s, Rect{m.key, 0, m.key + 1, 20}, rgb565(0, 255, 0));
  // The user's close, and the end of the session a replay that runs out brings, both end the sketch.
  if (m.msg == Msg::Close || m.msg == Msg::EndSession) {
    postQuitMessage(0);
    return 0;
  }
  return defWindowProc(window, m);
}

// Run the sketch window until it is closed; return the final screen.
Surface runSketchSession(const std::function<void()>& inject) {
  registerClass(WindowClass{"Sketch", CS_REDRAW, "", sketchProc});
  HWindow w = createWindow("Sketch", "sketch", false, 20, 20, 600, 440, nullptr);
  showWindow(w, ShowCmd::Show);
  inject();
  Message m;
  for (int guard = 0; guard < 100000; ++guard) {
    if (!peekMessage(m)) continue;
    if (m.msg == Msg::Quit) break;
    dispatchMessage(m);
  }
  Surface screen = composeScreen();
  destroyWindow(w);
  return screen;
}

}  // namespace

TEST(Journal, ARecordedSessionReplaysToTheSameScreen) {
  TempFolder tmp;
  std::string journal = tmp.file("session.journal");
  platformStop();
  setenv("TOLVANE_RECORD", journal.c_str(), 1);
  platformStart(Backend::Headless);
  Surface recorded = runSketchSession([] {
    headlessClick(100, 100);
    headlessAdvanceClock(250);
    headlessKeyPress('Q');
    headlessClick(300, 200);
    headlessClick(500, 50, 3);
    headlessCloseRequest();
  });
  platformStop();
  unsetenv("TOLVANE_RECORD");

  setenv("TOLVANE_REPLAY", journal.c_str(), 1);
  std::string bytes;
  ASSERT_TRUE(readWholeFile(journal, bytes));
  ASSERT_TRUE(writeFileAtomically(journal, bytes + "999999 screenshot never.bmp\n"));
  ASSERT_TRUE(platformStart(Backend::Headless));
  Surface replayed = runSketchSession([] {});
  platformStop();
  unsetenv("TOLVANE_REPLAY");
  platformStart(Backend::Headless);

  EXPECT_NE(bytes.find("button 1 down 100 100"), std::string::npos);
  EXPECT_EQ(recorded.pixels, replayed.pixels);
  EXPECT_EQ(recorded.at(100, 100), rgb565(255, 255, 0));
  EXPECT_FALSE(fileExists(tmp.file("never.bmp")));  // the session closed before that command came due
}

namespace {

// Replay a journal on the sketch window until the program quits; the virtual time it took, or 0 when it
// did not quit within the guard.
uint32_t replayUntilQuit(const std::string& journal) {
  platformStop();
  setenv("TOLVANE_REPLAY", journal.c_str(), 1);
  uint32_t took = 0;
  if (platformStart(Backend::Headless)) {
    registerClass(WindowClass{"Sketch", CS_REDRAW, "", sketchProc});
    HWindow w = createWindow("Sketch", "sketch", false, 20, 20, 600, 440, nullptr);
    showWindow(w, ShowCmd::Show);
    Message m;
    for (int guard = 0; guard < 100000; ++guard) {
      if (!peekMessage(m)) continue;
      if (m.msg == Msg::Quit) {
        took = tickCount();
        break;
      }
      dispatchMessage(m);
    }
  }
  platformStop();
  unsetenv("TOLVANE_REPLAY");
  platformStart(Backend::Headless);
  return took;
}

}  // namespace

TEST(Journal, AReplayEndsAGracePeriodAfterTheLatestTimeItAccepts) {
  // Times past a day are refused; the latest accepted one (200) stands before the last line.
  const uint32_t took = replayUntilQuit(testDataPath("platform/huge-timestamp.journal"));
  EXPECT_GT(took, 2200u) << "the replay did not end the session itself";
  EXPECT_LT(took, 2500u);
}

TEST(Journal, AReplayedScreenshotLandsBesideTheJournalAndNowhereElse) {
  TempFolder tmp;
  tmp.write("runs/shots.journal",
            "10 move 100 100\n20 button 1 down 100 100\n30 button 1 up 100 100\n"
            "40 screenshot shot.bmp\n50 screenshot ../escaped.bmp\n60 close\n");
  EXPECT_GT(replayUntilQuit(tmp.file("runs/shots.journal")), 0u);
  std::string bmp;
  ASSERT_TRUE(readWholeFile(tmp.file("runs/shot.bmp"), bmp));
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_FALSE(fileExists(tmp.file("escaped.bmp")));
}
