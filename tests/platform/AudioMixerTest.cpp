// The mixer's core without a device: looping and single plays, the pan and volume law, several voices
// summed and clipped, resampling, and 8-bit and stereo sources.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/audio/Mixer.h"

namespace {

struct Source {
  std::vector<uint8_t> bytes;
  MixVoice voice;
};

// A 16-bit mono source of the given samples, playing from the start.
Source mono16(const std::vector<int16_t>& values, uint32_t rate, bool looping) {
  Source s;
  for (int16_t v : values) {
    s.bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    s.bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  s.voice.format = PcmFormat{rate, 1, 16};
  s.voice.frames = static_cast<uint32_t>(values.size());
  s.voice.playing = true;
  s.voice.looping = looping;
  return s;
}

std::vector<int16_t> mix(std::vector<MixVoice*> voices, size_t frames, uint32_t rate) {
  std::vector<int16_t> out(frames * 2, 12345);
  mixVoices(voices, out.data(), frames, rate);
  return out;
}

}  // namespace

TEST(AudioMixer, ASinglePlayStopsAtItsEndAndLeavesSilence) {
  Source s = mono16({1000, 2000, 3000}, 22050, false);
  s.voice.data = s.bytes.data();
  auto out = mix({&s.voice}, 5, 22050);
  std::vector<int16_t> expected = {1000, 1000, 2000, 2000, 3000, 3000, 0, 0, 0, 0};
  EXPECT_EQ(out, expected);
  EXPECT_FALSE(s.voice.playing);
  EXPECT_EQ(voiceFrame(s.voice), 3u);
}

TEST(AudioMixer, ALoopWrapsToItsStart) {
  Source s = mono16({100, 200, 300}, 22050, true);
  s.voice.data = s.bytes.data();
  auto out = mix({&s.voice}, 7, 22050);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(out[i * 2], 100 * static_cast<int>(i % 3 + 1)) << i;
  EXPECT_TRUE(s.voice.playing);
  EXPECT_EQ(voiceFrame(s.voice), 1u);
}

TEST(AudioMixer, VolumeAndPanFollowTheDecibelScale) {
  float left, right;
  panVolumeGains(0, 0, left, right);
  EXPECT_FLOAT_EQ(left, 1.0f);
  EXPECT_FLOAT_EQ(right, 1.0f);
  panVolumeGains(0, -600, left, right);  // -6 dB is about half the amplitude
  EXPECT_NEAR(left, 0.501f, 0.001f);
  EXPECT_NEAR(right, 0.501f, 0.001f);
  panVolumeGains(0, -10000, left, right);
  EXPECT_EQ(left, 0.0f);
  EXPECT_EQ(right, 0.0f);
  panVolumeGains(10000, 0, left, right);  // hard right silences the left
  EXPECT_EQ(left, 0.0f);
  EXPECT_FLOAT_EQ(right, 1.0f);
  panVolumeGains(-2000, 0, left, right);  // 20 dB off the right
  EXPECT_FLOAT_EQ(left, 1.0f);
  EXPECT_NEAR(right, 0.1f, 0.0005f);
  panVolumeGains(-2000, -600, left, right);  // the two attenuations add
  EXPECT_NEAR(left, 0.501f, 0.001f);
  EXPECT_NEAR(right, 0.0501f, 0.0005f);
}

TEST(AudioMixer, GainsApplyPerChannel) {
  Source s = mono16({10000, 10000}, 22050, false);
  s.voice.data = s.bytes.data();
  panVolumeGains(-2000, 0, s.voice.leftGain, s.voice.rightGain);
  auto out = mix({&s.voice}, 1, 22050);
  EXPECT_EQ(out[0], 10000);
  EXPECT_NEAR(out[1], 1000, 1);
}

TEST(AudioMixer, TwoVoicesAddAndTheSumClipsAtFullScale) {
  Source a = mono16({1000, 30000}, 22050, false);
  Source b = mono16({-300, 30000}, 22050, false);
  a.voice.data = a.bytes.data();
  b.voice.data = b.bytes.data();
  auto out = mix({&a.voice, &b.voice}, 2, 22050);
  EXPECT_EQ(out[0], 700);
  EXPECT_EQ(out[1], 700);
  EXPECT_EQ(out[2], 32767);  // clipped, not wrapped round to negative
  Source c = mono16({-30000}, 22050, false);
  Source d = mono16({-30000}, 22050, false);
  c.voice.data = c.bytes.data();
  d.voice.data = d.bytes.data();
  out = mix({&c.voice, &d.voice}, 1, 22050);
  EXPECT_EQ(out[0], -32768);
}

TEST(AudioMixer, SlowerSourcesAreInterpolatedToTheOutputRate) {
  Source s = mono16({0, 1000, 2000, 3000}, 11025, false);
  s.voice.data = s.bytes.data();
  auto out = mix({&s.voice}, 8, 22050);
  std::vector<int16_t> left;
  for (size_t i = 0; i < 8; ++i) left.push_back(out[i * 2]);
  // Half a source frame per output frame; after the last frame the single play fades to silence.
  std::vector<int16_t> expected = {0, 500, 1000, 1500, 2000, 2500, 3000, 1500};
  EXPECT_EQ(left, expected);
  EXPECT_FALSE(s.voice.playing);
}

TEST(AudioMixer, FasterSourcesSkipFrames) {
  Source s = mono16({0, 100, 200, 300, 400, 500}, 44100, true);
  s.voice.data = s.bytes.data();
  auto out = mix({&s.voice}, 4, 22050);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 200);
  EXPECT_EQ(out[4], 400);
  EXPECT_EQ(out[6], 0);  // wrapped
}

TEST(AudioMixer, EightBitAndStereoSourcesAreRead) {
  std::vector<uint8_t> eight = {0x80, 0xC0, 0x40, 0x00};
  MixVoice v;
  v.data = eight.data();
  v.format = PcmFormat{22050, 1, 8};
  v.frames = 4;
  v.playing = true;
  auto out = mix({&v}, 4, 22050);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 16384);
  EXPECT_EQ(out[4], -16384);
  EXPECT_EQ(out[6], -32768);

  std::vector<uint8_t> stereo = {0x10, 0x00, 0xF0, 0xFF};  // left 16, right -16
  MixVoice s;
  s.data = stereo.data();
  s.format = PcmFormat{22050, 2, 16};
  s.frames = 1;
  s.playing = true;
  out = mix({&s}, 1, 22050);
  EXPECT_EQ(out[0], 16);
  EXPECT_EQ(out[1], -16);
}

TEST(AudioMixer, StoppedEmptyAndUnsupportedVoicesAddNothing) {
  Source stopped = mono16({5000}, 22050, false);
  stopped.voice.data = stopped.bytes.data();
  stopped.voice.playing = false;
  MixVoice empty;
  empty.format = PcmFormat{22050, 1, 16};
  empty.playing = true;
  std::vector<uint8_t> bytes(8, 0x7F);
  MixVoice odd;
  odd.data = bytes.data();
  odd.format = PcmFormat{22050, 3, 24};
  odd.frames = 1;
  odd.playing = true;
  auto out = mix({&stopped.voice, &empty, &odd, nullptr}, 2, 22050);
  for (int16_t sample : out) EXPECT_EQ(sample, 0);
  EXPECT_EQ(voiceFrame(stopped.voice), 0u);
}

TEST(AudioMixer, AdvancingWithoutOutputEndsWhereMixingWould) {
  std::vector<int16_t> values(1000, 7);
  for (bool looping : {false, true}) {
    for (uint32_t rate : {8000u, 22050u, 44100u, 48000u}) {
      Source a = mono16(values, rate, looping);
      Source b = mono16(values, rate, looping);
      a.voice.data = a.bytes.data();
      b.voice.data = b.bytes.data();
      std::vector<int16_t> out(1500 * 2);
      mixVoices(std::vector<MixVoice*>{&a.voice}, out.data(), 1500, 22050);
      advanceVoices(std::vector<MixVoice*>{&b.voice}, 1500, 22050);
      EXPECT_EQ(a.voice.position, b.voice.position) << rate << " " << looping;
      EXPECT_EQ(a.voice.playing, b.voice.playing) << rate << " " << looping;
    }
  }
}

TEST(AudioMixer, AHugeJumpOfTheClockLandsInsideTheLoop) {
  Source s = mono16(std::vector<int16_t>(441, 1), 44100, true);
  s.voice.data = s.bytes.data();
  advanceVoices(std::vector<MixVoice*>{&s.voice}, uint64_t{1} << 40, 22050);
  EXPECT_TRUE(s.voice.playing);
  EXPECT_LT(voiceFrame(s.voice), 441u);
}
