// The mixer's core: resampling, pan and volume, looping and the end of a single play.
#include "platform/audio/Mixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint64_t kOne = uint64_t{1} << 32;

uint64_t stepFor(const MixVoice& voice, uint32_t outputRate) {
  if (outputRate == 0) return 0;
  return (static_cast<uint64_t>(voice.format.sampleRate) << 32) / outputRate;
}

// One channel's sample of frame `frame` as a float in [-1, 1).
float sampleAt(const MixVoice& voice, uint32_t frame, int channel) {
  if (voice.format.bitsPerSample == 8) {
    uint8_t byte = voice.data[static_cast<size_t>(frame) * voice.format.channels + channel];
    return (static_cast<int>(byte) - 128) / 128.0f;
  }
  size_t at = (static_cast<size_t>(frame) * voice.format.channels + channel) * 2;
  int16_t value = static_cast<int16_t>(voice.data[at] | (voice.data[at + 1] << 8));
  return value / 32768.0f;
}

// Linear interpolation between this frame and the next; the next of the last frame is the first again for a
// looping voice and silence for a single play, so a loop joins without a step.
void frameAt(const MixVoice& voice, float& left, float& right) {
  uint32_t frame = static_cast<uint32_t>(voice.position >> 32);
  float fraction = static_cast<float>(voice.position & (kOne - 1)) / static_cast<float>(kOne);
  uint32_t next = frame + 1;
  bool nextSilent = false;
  if (next >= voice.frames) {
    if (voice.looping) next = 0;
    else nextSilent = true;
  }
  int rightChannel = voice.format.channels > 1 ? 1 : 0;
  float l0 = sampleAt(voice, frame, 0), r0 = sampleAt(voice, frame, rightChannel);
  float l1 = nextSilent ? 0.0f : sampleAt(voice, next, 0);
  float r1 = nextSilent ? 0.0f : sampleAt(voice, next, rightChannel);
  if (fraction == 0.0f) {
    left = l0;
    right = r0;
  } else {
    left = l0 + (l1 - l0) * fraction;
    right = r0 + (r1 - r0) * fraction;
  }
}

// Move a voice on by `count` output frames of `step` each.
void advanceVoice(MixVoice& voice, uint64_t count, uint64_t step) {
  if (!voice.playing) return;
  uint64_t end = static_cast<uint64_t>(voice.frames) << 32;
  if (voice.frames == 0 || step == 0) {
    if (voice.frames == 0) voice.playing = false;
    return;
  }
  // Guard the multiplication: a huge jump of the clock only needs to know where the voice ends up.
  uint64_t distance;
  if (count > 0 && step > UINT64_MAX / count) distance = UINT64_MAX;
  else distance = count * step;
  if (voice.looping) {
    uint64_t remaining = end - voice.position;
    if (distance < remaining) voice.position += distance;
    else voice.position = (distance - remaining) % end;
  } else if (distance >= end - voice.position) {
    voice.position = end;
    voice.playing = false;
  } else {
    voice.position += distance;
  }
}

bool usable(const MixVoice* voice) {
  return voice && voice->playing && voice->data && pcmFormatSupported(voice->format);
}

}  // namespace

float hundredthsOfDecibelToGain(int attenuation) {
  if (attenuation <= kAudioVolumeSilent) return 0.0f;
  if (attenuation >= 0) return 1.0f;
  return std::pow(10.0f, static_cast<float>(attenuation) / 2000.0f);
}

void panVolumeGains(int pan, int volume, float& leftGain, float& rightGain) {
  pan = std::clamp(pan, kAudioPanLeft, kAudioPanRight);
  volume = std::clamp(volume, kAudioVolumeSilent, kAudioVolumeFull);
  // Attenuations add in decibels: a right pan takes its amount off the left channel, and the other way.
  int left = volume - std::max(pan, 0);
  int right = volume + std::min(pan, 0);
  leftGain = hundredthsOfDecibelToGain(left);
  rightGain = hundredthsOfDecibelToGain(right);
}

void mixVoices(std::span<MixVoice* const> voices, int16_t* out, size_t frames, uint32_t outputRate) {
  if (!out) return;
  constexpr size_t kChunk = 256;
  float mix[kChunk * 2];
  size_t done = 0;
  while (done < frames) {
    size_t chunk = std::min(kChunk, frames - done);
    std::fill(mix, mix + chunk * 2, 0.0f);
    for (MixVoice* voice : voices) {
      if (!usable(voice)) continue;
      uint64_t step = stepFor(*voice, outputRate);
      uint64_t end = static_cast<uint64_t>(voice->frames) << 32;
      if (voice->frames == 0) voice->playing = false;
      if (!voice->playing || step == 0) continue;
      for (size_t i = 0; i < chunk && voice->playing; ++i) {
        float left, right;
        frameAt(*voice, left, right);
        mix[i * 2] += left * voice->leftGain;
        mix[i * 2 + 1] += right * voice->rightGain;
        voice->position += step;
        if (voice->position >= end) {
          if (voice->looping) {
            voice->position %= end;
          } else {
            voice->position = end;
            voice->playing = false;
          }
        }
      }
    }
    for (size_t i = 0; i < chunk * 2; ++i) {
      float value = std::clamp(mix[i] * 32768.0f, -32768.0f, 32767.0f);
      out[(done * 2) + i] = static_cast<int16_t>(std::lrint(value));
    }
    done += chunk;
  }
}

void advanceVoices(std::span<MixVoice* const> voices, uint64_t frames, uint32_t outputRate) {
  for (MixVoice* voice : voices) {
    if (!usable(voice)) continue;
    advanceVoice(*voice, frames, stepFor(*voice, outputRate));
  }
}

uint32_t voiceFrame(const MixVoice& voice) {
  return static_cast<uint32_t>(std::min<uint64_t>(voice.position >> 32, voice.frames));
}
