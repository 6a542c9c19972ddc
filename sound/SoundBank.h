// A bank of up to 100 sounds on the audio output, each a whole WAV file in its own buffer, named by the slot
// number it got when it was added (1, 2, ... in order of loading; 0 is no sound and every operation on it
// fails quietly).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/audio.h"
#include "platform/window.h"

class WaveFile;

class SoundBank {
public:
  static constexpr uint32_t kMaxSounds = 100;

  explicit SoundBank(HWindow window);
  ~SoundBank();
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;

  bool isReady() const { return device != 0; }
  uint32_t soundCount() const { return count; }
  HWindow ownerWindow() const { return window; }

  // A silent buffer shaped for the wave; its slot number, or 0 when the bank is full or the buffer cannot
  // be made (the number is then not used up).
  uint32_t addSound(const WaveFile& wave);
  bool fillSound(const WaveFile& wave, uint32_t slot);

  bool play(uint32_t slot);            // from the beginning, once
  bool playLooping(uint32_t slot);     // from the beginning, looped
  bool resumeLooping(uint32_t slot);   // looped, from where it stopped
  bool stop(uint32_t slot);            // the position stays where it stopped
  bool isPlaying(uint32_t slot);
  bool setPanAndVolume(uint32_t slot, int pan, int volume);
  // Play position in bytes (0 for an unknown slot).
  uint32_t position(uint32_t slot);
  // Playing time of the slot's sound in milliseconds.
  uint32_t duration(uint32_t slot);

  // Release every buffer and the device; the bank plays nothing afterwards.
  void releaseAll();

private:
  AudioBuffer bufferFor(uint32_t slot) const;

  AudioDevice device = 0;
  HWindow window = nullptr;
  uint32_t count = 0;
  std::array<AudioBuffer, kMaxSounds + 1> buffers{};
  std::array<uint32_t, kMaxSounds + 1> sizes{};
};

// Read a WAV file into a new slot of the bank: the slot number, or 0 when the file is missing or malformed,
// the bank is full or not ready.
uint32_t loadSound(SoundBank& bank, const std::string& path);
