// The mixer's core: plays PCM voices into a block of 16-bit stereo output, resampling each voice to the
// output rate by linear interpolation. Pure functions over plain records, so they run without any device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/audio.h"

struct MixVoice {
  const uint8_t* data = nullptr;
  uint32_t frames = 0;       // whole frames in data (a trailing partial frame is never played)
  PcmFormat format;
  uint64_t position = 0;     // in frames, 32.32 fixed point
  bool playing = false;
  bool looping = false;
  float leftGain = 1.0f;
  float rightGain = 1.0f;
};

// Amplitude factor of an attenuation in hundredths of a decibel; -10000 and below is exactly silent.
float hundredthsOfDecibelToGain(int attenuation);
// Channel gains for a pan and volume: the side away from the pan is attenuated by the pan's amount.
void panVolumeGains(int pan, int volume, float& leftGain, float& rightGain);

// Mix every playing voice into out (frames stereo frames, interleaved left/right), replacing what out held,
// and advance the voices: a looping voice wraps, a single play stops at its end.
void mixVoices(std::span<MixVoice* const> voices, int16_t* out, size_t frames, uint32_t outputRate);
// Advance the voices as mixVoices would, without producing output.
void advanceVoices(std::span<MixVoice* const> voices, uint64_t frames, uint32_t outputRate);
// The voice's play position in whole frames (frames once a single play ran out).
uint32_t voiceFrame(const MixVoice& voice);
