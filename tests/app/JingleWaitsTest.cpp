// The shell's waits for the start and quit jingles: how long they last, what ends them early, and that the
// jingle is released afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "app/Shell.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "sound/Sounds.h"
#include "sound/WaveBuilder.h"
#include "support/TestSupport.h"

namespace {

std::string waveOf(uint32_t ms) {
  WaveBuilder b;
  b.data = std::string(static_cast<size_t>(ms) * 22050 / 1000 * 2, '\x08');
  return b.file();
}

// A data folder with a 3 s start jingle, a 1.5 s quit jingle and one tune, made the current directory.
class JingleWaits : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.write("sound/start.wav", waveOf(3000)));
    ASSERT_TRUE(folder.write("sound/quit.wav", waveOf(1500)));
    ASSERT_TRUE(folder.write("sound/sting.wav", waveOf(2000)));
    previousDirectory = currentDirectory();
    p->sound.dataRoot = folder.path() + "/";
    ASSERT_TRUE(setCurrentDirectory(p->sound.dataRoot));
  }
  void TearDown() override {
    audioHeadlessSetNoDevice(false);
    setCurrentDirectory(previousDirectory);
  }

  TempFolder folder;
  std::string previousDirectory;
  std::unique_ptr<Program> p = std::make_unique<Program>();
  SoundState& sound = p->sound;
};

}  // namespace

TEST_F(JingleWaits, StartUpWaitsForTheWholeStartJingleThenReleasesIt) {
  ASSERT_TRUE(loadJingle(sound, JingleKind::Start));
  ASSERT_TRUE(playJingle(sound));
  uint32_t before = tickCount();
  waitForStartJingle(sound);
  uint32_t waited = tickCount() - before;
  EXPECT_GE(waited, 2990u);
  EXPECT_LE(waited, 3020u);
  EXPECT_EQ(sound.jingleBank, nullptr);
}

TEST_F(JingleWaits, AStartJingleThatCannotPlayIsNoWait) {
  ASSERT_TRUE(removeFile(folder.file("sound/start.wav")));
  loadJingle(sound, JingleKind::Start);
  playJingle(sound);
  uint32_t before = tickCount();
  waitForStartJingle(sound);
  EXPECT_EQ(tickCount(), before);
  EXPECT_EQ(sound.jingleBank, nullptr);

  audioHeadlessSetNoDevice(true);
  ASSERT_TRUE(folder.write("sound/start.wav", waveOf(3000)));
  loadJingle(sound, JingleKind::Start);
  playJingle(sound);
  before = tickCount();
  waitForStartJingle(sound);
  EXPECT_EQ(tickCount(), before);
}

TEST_F(JingleWaits, TheQuitJingleStopsTheMusicAndPlaysToItsEnd) {
  ASSERT_TRUE(startTune(sound, 1, true));
  uint32_t before = tickCount();
  playQuitJingleAndWait(*p);
  uint32_t waited = tickCount() - before;
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.musicBank, nullptr);
  EXPECT_EQ(sound.jingleBank, nullptr);
  EXPECT_GE(waited, 1490u);
  EXPECT_LE(waited, 1520u);
}

TEST_F(JingleWaits, EscapeAlreadyPressedEndsTheQuitWaitAfterItsFirstStep) {
  p->shell.exitWaitCancelled = 1;
  uint32_t before = tickCount();
  playQuitJingleAndWait(*p);
  uint32_t waited = tickCount() - before;
  EXPECT_GE(waited, 100u);
  EXPECT_LT(waited, 200u);
  EXPECT_EQ(sound.jingleBank, nullptr);
}

TEST_F(JingleWaits, AMissingQuitJingleWaitsOnlyTheFirstStep) {
  ASSERT_TRUE(removeFile(folder.file("sound/quit.wav")));
  uint32_t before = tickCount();
  playQuitJingleAndWait(*p);
  EXPECT_EQ(tickCount() - before, 100u);
}
