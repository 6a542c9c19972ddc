// The buffers and devices behind platform/audio.h, shared between the program's thread and the audio
// thread under one lock. The SDL output pulls mixed blocks; in the headless back end every call first lets
// the voices catch up with the virtual clock.
//
// Index: [SECTION] Shared state  [SECTION] Devices  [SECTION] Buffers  [SECTION] Playing

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/audio.h"
#include "platform/audio/Backends.h"
#include "platform/audio/Mixer.h"
#include "platform/window.h"

// [SECTION] Shared state

namespace {

constexpr uint32_t kHeadlessRate = 44100;  // whole frames every 10 ms for the common rates

struct BufferRecord {
  AudioDevice owner = 0;
  std::vector<uint8_t> bytes;
  MixVoice voice;
  int pan = kAudioPanCentre;
  int volume = kAudioVolumeFull;
};

struct AudioState {
  std::mutex lock;
  std::unordered_map<AudioBuffer, std::unique_ptr<BufferRecord>> buffers;
  std::vector<AudioDevice> devices;  // the open handles
  AudioDevice nextDevice = 1;
  AudioBuffer nextBuffer = 1;
  bool outputOpen = false;
  bool headless = false;
  bool headlessNoDevice = false;
  uint32_t rate = 0;
  uint32_t headlessStart = 0;        // virtual tick at which the headless output opened
  uint64_t headlessFrames = 0;       // output frames played since then
  std::vector<MixVoice*> voices;     // scratch for the mixer, sized on the program's thread
};

AudioState& state() {
  static AudioState* audio = new AudioState;  // outlives static destruction: the audio thread may still ask
  return *audio;
}

void collectVoices(AudioState& audio) {
  audio.voices.clear();
  for (auto& [id, record] : audio.buffers)
    if (record->voice.playing) audio.voices.push_back(&record->voice);
}

// Runs on SDL's audio thread.
void fillFromVoices(int16_t* out, size_t frames) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  collectVoices(audio);
  mixVoices(audio.voices, out, frames, audio.rate);
}

// Headless: play on silently up to the virtual clock's present.
void catchUp(AudioState& audio) {
  if (!audio.outputOpen || !audio.headless) return;
  uint32_t elapsed = tickCount() - audio.headlessStart;
  uint64_t target = static_cast<uint64_t>(elapsed) * audio.rate / 1000;
  if (target <= audio.headlessFrames) return;
  collectVoices(audio);
  advanceVoices(audio.voices, target - audio.headlessFrames, audio.rate);
  audio.headlessFrames = target;
}

BufferRecord* find(AudioState& audio, AudioBuffer buffer) {
  auto it = audio.buffers.find(buffer);
  return it == audio.buffers.end() ? nullptr : it->second.get();
}

void reserveScratch(AudioState& audio) { audio.voices.reserve(audio.buffers.size() + 8); }

}  // namespace

bool pcmFormatSupported(const PcmFormat& format) {
  return (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.sampleRate >= kAudioMinRate &&
         format.sampleRate <= kAudioMaxRate;
}

uint32_t pcmBlockAlign(const PcmFormat& format) {
  if (!pcmFormatSupported(format)) return 0;
  return format.channels * (format.bitsPerSample / 8u);
}

// [SECTION] Devices

AudioDevice audioOpenDevice() {
  AudioState& audio = state();
  bool headless = platformBackend() == Backend::Headless;
  {
    std::lock_guard guard(audio.lock);
    if (headless && audio.headlessNoDevice) return 0;
    if (audio.outputOpen) {
      audio.devices.push_back(audio.nextDevice);
      return audio.nextDevice++;
    }
  }
  // Open the output outside the lock: SDL may call back at once.
  uint32_t rate = 0;
  if (headless) {
    rate = kHeadlessRate;
  } else {
    {
      std::lock_guard guard(audio.lock);
      audio.rate = 0;  // the callback mixes nothing until the rate is known
    }
    if (!sdlAudioOpen(fillFromVoices, rate)) return 0;
  }
  std::lock_guard guard(audio.lock);
  audio.outputOpen = true;
  audio.headless = headless;
  audio.rate = rate;
  audio.headlessStart = headless ? tickCount() : 0;
  audio.headlessFrames = 0;
  audio.devices.push_back(audio.nextDevice);
  return audio.nextDevice++;
}

void audioCloseDevice(AudioDevice device) {
  AudioState& audio = state();
  bool closeOutput = false;
  bool wasHeadless = false;
  {
    std::lock_guard guard(audio.lock);
    auto it = std::find(audio.devices.begin(), audio.devices.end(), device);
    if (it == audio.devices.end()) return;
    audio.devices.erase(it);
    std::erase_if(audio.buffers, [device](const auto& entry) { return entry.second->owner == device; });
    if (audio.devices.empty()) {
      closeOutput = true;
      wasHeadless = audio.headless;
      audio.outputOpen = false;
      audio.rate = 0;
    }
  }
  if (closeOutput && !wasHeadless) sdlAudioClose();
}

uint32_t audioOutputRate() {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  return audio.outputOpen ? audio.rate : 0;
}

void audioHeadlessSetNoDevice(bool noDevice) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  audio.headlessNoDevice = noDevice;
}

// [SECTION] Buffers

AudioBuffer audioCreateBuffer(AudioDevice device, const PcmFormat& format, uint32_t bytes) {
  if (!pcmFormatSupported(format) || bytes < kAudioMinBufferBytes || bytes > kAudioMaxBufferBytes) return 0;
  auto record = std::make_unique<BufferRecord>();
  record->owner = device;
  record->bytes.assign(bytes, format.bitsPerSample == 8 ? uint8_t{0x80} : uint8_t{0});
  record->voice.data = record->bytes.data();
  record->voice.format = format;
  record->voice.frames = bytes / pcmBlockAlign(format);
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  if (std::find(audio.devices.begin(), audio.devices.end(), device) == audio.devices.end()) return 0;
  AudioBuffer id = audio.nextBuffer++;
  audio.buffers.emplace(id, std::move(record));
  reserveScratch(audio);
  return id;
}

void audioReleaseBuffer(AudioBuffer buffer) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  audio.buffers.erase(buffer);
}

bool audioWriteBuffer(AudioBuffer buffer, uint32_t offset, const void* data, uint32_t bytes) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  BufferRecord* record = find(audio, buffer);
  if (!record || (bytes > 0 && !data)) return false;
  if (offset > record->bytes.size() || bytes > record->bytes.size() - offset) return false;
  if (bytes > 0) std::memcpy(record->bytes.data() + offset, data, bytes);
  return true;
}

uint32_t audioBufferDuration(AudioBuffer buffer) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  BufferRecord* record = find(audio, buffer);
  if (!record) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(record->voice.frames) * 1000 / record->voice.format.sampleRate);
}

// [SECTION] Playing

bool audioPlay(AudioBuffer buffer, AudioLoop loop) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  catchUp(audio);
  BufferRecord* record = find(audio, buffer);
  if (!record) return false;
  MixVoice& voice = record->voice;
  if (voice.position >= (static_cast<uint64_t>(voice.frames) << 32)) voice.position = 0;
  voice.looping = loop == AudioLoop::Looping;
  voice.playing = voice.frames > 0;
  return true;
}

bool audioStop(AudioBuffer buffer) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  catchUp(audio);
  BufferRecord* record = find(audio, buffer);
  if (!record) return false;
  record->voice.playing = false;
  return true;
}

bool audioSetPosition(AudioBuffer buffer, uint32_t byteOffset) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  catchUp(audio);
  BufferRecord* record = find(audio, buffer);
  if (!record || byteOffset > record->bytes.size()) return false;
  uint32_t frame = std::min(byteOffset / pcmBlockAlign(record->voice.format), record->voice.frames);
  record->voice.position = static_cast<uint64_t>(frame) << 32;
  return true;
}

bool audioStatus(AudioBuffer buffer, AudioStatus& status) {
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  catchUp(audio);
  BufferRecord* record = find(audio, buffer);
  if (!record) return false;
  const MixVoice& voice = record->voice;
  uint32_t frame = voiceFrame(voice);
  status.playing = voice.playing;
  // A single play that ran out reads as the whole buffer, trailing partial frame included.
  status.position = frame >= voice.frames ? static_cast<uint32_t>(record->bytes.size())
                                          : frame * pcmBlockAlign(voice.format);
  return true;
}

bool audioSetPan(AudioBuffer buffer, int pan) {
  if (pan < kAudioPanLeft || pan > kAudioPanRight) return false;
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  BufferRecord* record = find(audio, buffer);
  if (!record) return false;
  record->pan = pan;
  panVolumeGains(record->pan, record->volume, record->voice.leftGain, record->voice.rightGain);
  return true;
}

bool audioSetVolume(AudioBuffer buffer, int volume) {
  if (volume < kAudioVolumeSilent || volume > kAudioVolumeFull) return false;
  AudioState& audio = state();
  std::lock_guard guard(audio.lock);
  BufferRecord* record = find(audio, buffer);
  if (!record) return false;
  record->volume = volume;
  panVolumeGains(record->pan, record->volume, record->voice.leftGain, record->voice.rightGain);
  return true;
}
