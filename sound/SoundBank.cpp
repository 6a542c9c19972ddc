// The sound bank: slots of whole-file buffers on the audio output, and loading one WAV file into a slot.
#include "sound/SoundBank.h"

#include "sound/WaveFile.h"

SoundBank::SoundBank(HWindow owner) : window(owner) {
  device = audioOpenDevice();
}

SoundBank::~SoundBank() { releaseAll(); }

AudioBuffer SoundBank::bufferFor(uint32_t slot) const {
  if (slot == 0 || slot > count) return 0;
  return buffers[slot];
}

uint32_t SoundBank::addSound(const WaveFile& wave) {
  if (!isReady() || !wave.loaded || count >= kMaxSounds) return 0;
  AudioBuffer buffer = audioCreateBuffer(device, wave.pcmFormat(), wave.dataSize);
  if (buffer == 0) return 0;
  uint32_t slot = count + 1;
  buffers[slot] = buffer;
  sizes[slot] = wave.dataSize;
  count = slot;
  return slot;
}

bool SoundBank::fillSound(const WaveFile& wave, uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  if (buffer == 0 || wave.data.size() < wave.dataSize || wave.dataSize > sizes[slot]) return false;
  return audioWriteBuffer(buffer, 0, wave.data.data(), wave.dataSize);
}

bool SoundBank::play(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  return buffer != 0 && audioSetPosition(buffer, 0) && audioPlay(buffer, AudioLoop::Once);
}

bool SoundBank::playLooping(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  return buffer != 0 && audioSetPosition(buffer, 0) && audioPlay(buffer, AudioLoop::Looping);
}

bool SoundBank::resumeLooping(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  return buffer != 0 && audioPlay(buffer, AudioLoop::Looping);
}

bool SoundBank::stop(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  return buffer != 0 && audioStop(buffer);
}

// A sound plays while it has been started and has neither been stopped nor run out. Asking the output
// rather than comparing play positions means a sound that was just started counts as playing even before
// the output has taken its first block, and a stopped one never does.
bool SoundBank::isPlaying(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  AudioStatus status;
  if (buffer == 0 || !audioStatus(buffer, status)) return false;
  return status.playing && status.position < sizes[slot];
}

bool SoundBank::setPanAndVolume(uint32_t slot, int pan, int volume) {
  AudioBuffer buffer = bufferFor(slot);
  if (buffer == 0) return false;
  bool panned = audioSetPan(buffer, pan);
  return audioSetVolume(buffer, volume) && panned;
}

uint32_t SoundBank::position(uint32_t slot) {
  AudioBuffer buffer = bufferFor(slot);
  AudioStatus status;
  if (buffer == 0 || !audioStatus(buffer, status)) return 0;
  return status.position;
}

uint32_t SoundBank::duration(uint32_t slot) { return audioBufferDuration(bufferFor(slot)); }

void SoundBank::releaseAll() {
  for (uint32_t slot = 1; slot <= count; ++slot) {
    if (buffers[slot] != 0) audioReleaseBuffer(buffers[slot]);
    buffers[slot] = 0;
    sizes[slot] = 0;
  }
  count = 0;
  if (device != 0) audioCloseDevice(device);
  device = 0;
}

uint32_t loadSound(SoundBank& bank, const std::string& path) {
  if (!bank.isReady()) return 0;
  WaveFile wave(path);
  if (!wave.loaded) return 0;
  uint32_t slot = bank.addSound(wave);
  if (slot == 0) return 0;
  bool filled = bank.fillSound(wave, slot);
  wave.discard();
  return filled ? slot : 0;
}
