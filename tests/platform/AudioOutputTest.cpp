// The audio output on the headless back end: devices share one output, buffers play on the virtual clock,
// and every handle and range is checked.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "platform/audio/Backends.h"
#include "platform/headless.h"

namespace {

constexpr PcmFormat kMono16{22050, 1, 16};

}  // namespace

TEST(AudioOutput, DevicesShareTheOutputAndClosingReleasesTheirBuffers) {
  AudioDevice first = audioOpenDevice();
  AudioDevice second = audioOpenDevice();
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(audioOutputRate(), 44100u);
  AudioBuffer a = audioCreateBuffer(first, kMono16, 4410);
  AudioBuffer b = audioCreateBuffer(second, kMono16, 4410);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  audioCloseDevice(first);
  AudioStatus status;
  EXPECT_FALSE(audioStatus(a, status));
  EXPECT_TRUE(audioStatus(b, status));
  EXPECT_EQ(audioCreateBuffer(first, kMono16, 4410), 0);  // a closed device makes nothing
  audioCloseDevice(second);
  EXPECT_EQ(audioOutputRate(), 0u);
  audioCloseDevice(second);  // closing twice is harmless
}

TEST(AudioOutput, BuffersRefuseFormatsAndSizesTheOutputCannotPlay) {
  AudioDevice device = audioOpenDevice();
  ASSERT_NE(device, 0);
  EXPECT_EQ(audioCreateBuffer(device, PcmFormat{22050, 3, 16}, 600), 0);
  EXPECT_EQ(audioCreateBuffer(device, PcmFormat{22050, 1, 24}, 600), 0);
  EXPECT_EQ(audioCreateBuffer(device, PcmFormat{99, 1, 16}, 600), 0);
  EXPECT_EQ(audioCreateBuffer(device, PcmFormat{200001, 1, 16}, 600), 0);
  EXPECT_EQ(audioCreateBuffer(device, kMono16, 3), 0);
  EXPECT_EQ(audioCreateBuffer(device, kMono16, kAudioMaxBufferBytes + 1), 0);
  EXPECT_NE(audioCreateBuffer(device, PcmFormat{100, 2, 8}, 4), 0);
  audioCloseDevice(device);
}

TEST(AudioOutput, WritesMustFitTheBuffer) {
  AudioDevice device = audioOpenDevice();
  AudioBuffer buffer = audioCreateBuffer(device, kMono16, 8);
  std::vector<uint8_t> bytes(9, 1);
  EXPECT_TRUE(audioWriteBuffer(buffer, 0, bytes.data(), 8));
  EXPECT_TRUE(audioWriteBuffer(buffer, 6, bytes.data(), 2));
  EXPECT_FALSE(audioWriteBuffer(buffer, 0, bytes.data(), 9));
  EXPECT_FALSE(audioWriteBuffer(buffer, 7, bytes.data(), 2));
  EXPECT_FALSE(audioWriteBuffer(buffer, 0xFFFFFFFFu, bytes.data(), 2));
  EXPECT_FALSE(audioWriteBuffer(buffer, 0, nullptr, 2));
  EXPECT_FALSE(audioWriteBuffer(0, 0, bytes.data(), 2));
  audioCloseDevice(device);
}

TEST(AudioOutput, PlayingFollowsTheVirtualClock) {
  AudioDevice device = audioOpenDevice();
  AudioBuffer buffer = audioCreateBuffer(device, PcmFormat{44100, 2, 16}, 44100 * 4);  // one second
  ASSERT_NE(buffer, 0);
  EXPECT_EQ(audioBufferDuration(buffer), 1000u);
  ASSERT_TRUE(audioPlay(buffer, AudioLoop::Once));
  headlessAdvanceClock(500);
  AudioStatus status;
  ASSERT_TRUE(audioStatus(buffer, status));
  EXPECT_TRUE(status.playing);
  EXPECT_EQ(status.position, 44100u * 4 / 2);
  headlessAdvanceClock(600);
  ASSERT_TRUE(audioStatus(buffer, status));
  EXPECT_FALSE(status.playing);
  EXPECT_EQ(status.position, 44100u * 4);
  // Playing a buffer that ran out starts it again.
  ASSERT_TRUE(audioPlay(buffer, AudioLoop::Once));
  headlessAdvanceClock(10);
  ASSERT_TRUE(audioStatus(buffer, status));
  EXPECT_TRUE(status.playing);
  EXPECT_EQ(status.position, 441u * 4);
  audioCloseDevice(device);
}

TEST(AudioOutput, PositionsAndLevelsAreChecked) {
  AudioDevice device = audioOpenDevice();
  AudioBuffer buffer = audioCreateBuffer(device, kMono16, 100);
  EXPECT_TRUE(audioSetPosition(buffer, 51));  // rounded down to a whole frame
  AudioStatus status;
  ASSERT_TRUE(audioStatus(buffer, status));
  EXPECT_EQ(status.position, 50u);
  EXPECT_FALSE(audioSetPosition(buffer, 101));
  EXPECT_TRUE(audioSetPan(buffer, kAudioPanLeft));
  EXPECT_FALSE(audioSetPan(buffer, kAudioPanRight + 1));
  EXPECT_TRUE(audioSetVolume(buffer, kAudioVolumeSilent));
  EXPECT_FALSE(audioSetVolume(buffer, 1));
  EXPECT_FALSE(audioPlay(0, AudioLoop::Once));
  EXPECT_FALSE(audioStop(12345));
  audioReleaseBuffer(buffer);
  EXPECT_FALSE(audioStatus(buffer, status));
  audioCloseDevice(device);
}

TEST(AudioOutput, NoSoundCardMeansNoDevice) {
  audioHeadlessSetNoDevice(true);
  EXPECT_EQ(audioOpenDevice(), 0);
  audioHeadlessSetNoDevice(false);
  AudioDevice device = audioOpenDevice();
  EXPECT_NE(device, 0);
  audioCloseDevice(device);
}

// The real output on SDL's silent driver: it opens, reports its rate and pulls blocks from its caller.

namespace {
std::atomic<size_t> framesPulled{0};
void countFrames(int16_t* out, size_t frames) {
  for (size_t i = 0; i < frames * 2; ++i) out[i] = 0;
  framesPulled += frames;
}
}  // namespace

TEST(AudioOutput, TheSdlOutputPullsBlocks) {
  uint32_t rate = 0;
  if (!sdlAudioOpen(countFrames, rate)) GTEST_SKIP() << "no SDL audio driver here";
  EXPECT_GT(rate, 0u);
  uint32_t secondRate = 0;
  EXPECT_FALSE(sdlAudioOpen(countFrames, secondRate));  // one output at a time
  for (int i = 0; i < 400 && framesPulled == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  sdlAudioClose();
  EXPECT_GT(framesPulled.load(), 0u);
  sdlAudioClose();  // closing twice is harmless
}
