// Sound banks on the headless output: slot numbering, the rules for slot 0 and unknown slots, restarting,
// what counts as playing, and the 101st sound.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "sound/SoundBank.h"
#include "sound/WaveFile.h"
#include "support/TestSupport.h"
#include "WaveBuilder.h"

namespace {

// A mono 16-bit wave of `ms` milliseconds at 22,050 Hz.
std::string waveOf(uint32_t ms) {
  WaveBuilder b;
  b.data = std::string(static_cast<size_t>(ms) * 22050 / 1000 * 2, '\x10');
  return b.file();
}

class SoundBankTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.write("one.wav", waveOf(1000)));
    ASSERT_TRUE(folder.write("two.wav", waveOf(200)));
    ASSERT_TRUE(folder.write("bad.wav", "RIFF....WAVEnothing"));
  }
  TempFolder folder;
};

}  // namespace

TEST_F(SoundBankTest, SlotsAreNumberedInLoadOrderAndFailuresUseNoNumber) {
  SoundBank bank(nullptr);
  ASSERT_TRUE(bank.isReady());
  EXPECT_EQ(loadSound(bank, folder.file("one.wav")), 1u);
  EXPECT_EQ(loadSound(bank, folder.file("missing.wav")), 0u);
  EXPECT_EQ(loadSound(bank, folder.file("bad.wav")), 0u);
  EXPECT_EQ(loadSound(bank, folder.file("two.wav")), 2u);
  EXPECT_EQ(bank.soundCount(), 2u);
}

TEST_F(SoundBankTest, SlotZeroAndSlotsPastTheCountDoNothing) {
  SoundBank bank(nullptr);
  ASSERT_EQ(loadSound(bank, folder.file("one.wav")), 1u);
  for (uint32_t slot : {0u, 2u, 100u, 101u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(bank.play(slot)) << slot;
    EXPECT_FALSE(bank.playLooping(slot)) << slot;
    EXPECT_FALSE(bank.stop(slot)) << slot;
    EXPECT_FALSE(bank.isPlaying(slot)) << slot;
    EXPECT_FALSE(bank.setPanAndVolume(slot, 0, 0)) << slot;
  }
  EXPECT_FALSE(bank.isPlaying(1));  // untouched by the calls above
}

TEST_F(SoundBankTest, PlayRestartsFromTheBeginningAndStopKeepsThePosition) {
  SoundBank bank(nullptr);
  uint32_t slot = loadSound(bank, folder.file("one.wav"));
  ASSERT_TRUE(bank.play(slot));
  EXPECT_TRUE(bank.isPlaying(slot));  // even before the output has moved on
  headlessAdvanceClock(400);
  EXPECT_EQ(bank.position(slot), 400u * 22050 / 1000 * 2);
  ASSERT_TRUE(bank.play(slot));
  EXPECT_EQ(bank.position(slot), 0u);
  headlessAdvanceClock(100);
  ASSERT_TRUE(bank.stop(slot));
  uint32_t stoppedAt = bank.position(slot);
  EXPECT_EQ(stoppedAt, 100u * 22050 / 1000 * 2);
  headlessAdvanceClock(300);
  EXPECT_EQ(bank.position(slot), stoppedAt);
  EXPECT_FALSE(bank.isPlaying(slot));  // a stopped sound is not playing, wherever it stopped
}

TEST_F(SoundBankTest, ASinglePlayEndsAtItsSizeAndALoopGoesOn) {
  SoundBank bank(nullptr);
  uint32_t shortSlot = loadSound(bank, folder.file("two.wav"));
  uint32_t longSlot = loadSound(bank, folder.file("one.wav"));
  EXPECT_EQ(bank.duration(shortSlot), 200u);
  ASSERT_TRUE(bank.play(shortSlot));
  ASSERT_TRUE(bank.playLooping(longSlot));
  headlessAdvanceClock(250);
  EXPECT_FALSE(bank.isPlaying(shortSlot));
  EXPECT_EQ(bank.position(shortSlot), 200u * 22050 / 1000 * 2);
  headlessAdvanceClock(1000);
  EXPECT_TRUE(bank.isPlaying(longSlot));
  EXPECT_EQ(bank.position(longSlot), 250u * 22050 / 1000 * 2);  // 1250 ms into a 1000 ms loop
  // Resuming a stopped loop goes on from where it stopped.
  ASSERT_TRUE(bank.stop(longSlot));
  ASSERT_TRUE(bank.resumeLooping(longSlot));
  EXPECT_EQ(bank.position(longSlot), 250u * 22050 / 1000 * 2);
  EXPECT_TRUE(bank.isPlaying(longSlot));
}

TEST_F(SoundBankTest, PanAndVolumeOutsideTheScaleAreRefused) {
  SoundBank bank(nullptr);
  uint32_t slot = loadSound(bank, folder.file("one.wav"));
  EXPECT_TRUE(bank.setPanAndVolume(slot, -10000, -10000));
  EXPECT_TRUE(bank.setPanAndVolume(slot, 10000, 0));
  EXPECT_FALSE(bank.setPanAndVolume(slot, 10001, 0));
  EXPECT_FALSE(bank.setPanAndVolume(slot, 0, 1));
  EXPECT_FALSE(bank.setPanAndVolume(slot, 0, -10001));
}

TEST_F(SoundBankTest, TheHundredAndFirstSoundGetsNoSlot) {
  SoundBank bank(nullptr);
  WaveFile wave(folder.file("two.wav"));
  ASSERT_TRUE(wave.loaded);
  for (uint32_t i = 1; i <= SoundBank::kMaxSounds; ++i) ASSERT_EQ(bank.addSound(wave), i);
  EXPECT_EQ(bank.addSound(wave), 0u);
  EXPECT_EQ(loadSound(bank, folder.file("one.wav")), 0u);
  EXPECT_TRUE(bank.fillSound(wave, 100));
  EXPECT_FALSE(bank.fillSound(wave, 101));
  EXPECT_TRUE(bank.play(100));
}

TEST_F(SoundBankTest, AFilledSlotRefusesAWaveLargerThanItsBuffer) {
  SoundBank bank(nullptr);
  WaveFile small(folder.file("two.wav"));
  WaveFile large(folder.file("one.wav"));
  uint32_t slot = bank.addSound(small);
  ASSERT_NE(slot, 0u);
  EXPECT_FALSE(bank.fillSound(large, slot));
  EXPECT_TRUE(bank.fillSound(small, slot));
}

TEST_F(SoundBankTest, ReleasedBankPlaysNothing) {
  SoundBank bank(nullptr);
  uint32_t slot = loadSound(bank, folder.file("one.wav"));
  ASSERT_TRUE(bank.playLooping(slot));
  bank.releaseAll();
  EXPECT_FALSE(bank.isReady());
  EXPECT_FALSE(bank.isPlaying(slot));
  EXPECT_FALSE(bank.play(slot));
  EXPECT_EQ(loadSound(bank, folder.file("one.wav")), 0u);
  bank.releaseAll();  // twice is harmless
}

TEST_F(SoundBankTest, WithoutASoundCardNoBankIsReady) {
  audioHeadlessSetNoDevice(true);
  {
    SoundBank bank(nullptr);
    EXPECT_FALSE(bank.isReady());
    EXPECT_EQ(loadSound(bank, folder.file("one.wav")), 0u);
    EXPECT_FALSE(bank.play(1));
  }
  audioHeadlessSetNoDevice(false);
  SoundBank bank(nullptr);
  EXPECT_TRUE(bank.isReady());
}
