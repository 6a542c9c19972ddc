// Audio output: whole PCM buffers that play once or looped, mixed by our own mixer into one stereo output,
// with pan and volume in hundredths of a decibel (0 full, -10000 silent; pan -10000 left .. 10000 right).
// SDL audio plays them for real; the headless back end plays silently on the virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>

using AudioDevice = int;  // 0 is no device
using AudioBuffer = int;  // 0 is no buffer

// Linear PCM: 8-bit unsigned or 16-bit signed little-endian samples, one or two interleaved channels.
struct PcmFormat {
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;
  bool operator==(const PcmFormat&) const = default;
};

constexpr uint32_t kAudioMinRate = 100;
constexpr uint32_t kAudioMaxRate = 200000;
constexpr uint32_t kAudioMinBufferBytes = 4;
constexpr uint32_t kAudioMaxBufferBytes = 0x0FFFFFFF;
constexpr int kAudioVolumeFull = 0;
constexpr int kAudioVolumeSilent = -10000;
constexpr int kAudioPanLeft = -10000;
constexpr int kAudioPanCentre = 0;
constexpr int kAudioPanRight = 10000;

bool pcmFormatSupported(const PcmFormat& format);
uint32_t pcmBlockAlign(const PcmFormat& format);  // bytes per frame; 0 for an unsupported format

enum class AudioLoop { Once, Looping };

struct AudioStatus {
  uint32_t position = 0;  // play position in bytes; the buffer's size once a single play has run out
  bool playing = false;   // started and neither stopped nor run out
};

// A device is a handle on the one shared output; the first opens it and the last close shuts it. 0 when no
// output can be opened (no sound card): the program then runs silently.
AudioDevice audioOpenDevice();
// Closes the handle and releases every buffer created on it.
void audioCloseDevice(AudioDevice device);

// A silent buffer of `bytes` bytes; 0 when the device is unknown, the format unsupported or the size out of
// range. New buffers play at full volume, centred, from position 0.
AudioBuffer audioCreateBuffer(AudioDevice device, const PcmFormat& format, uint32_t bytes);
void audioReleaseBuffer(AudioBuffer buffer);
// Copy bytes into the buffer at offset; false when they do not fit.
bool audioWriteBuffer(AudioBuffer buffer, uint32_t offset, const void* data, uint32_t bytes);

// Start playing from the current position (a buffer that ran out starts again from the beginning).
bool audioPlay(AudioBuffer buffer, AudioLoop loop);
// Stop; the position stays where it stopped.
bool audioStop(AudioBuffer buffer);
bool audioSetPosition(AudioBuffer buffer, uint32_t byteOffset);
bool audioStatus(AudioBuffer buffer, AudioStatus& status);
// Out-of-range values are refused and change nothing.
bool audioSetPan(AudioBuffer buffer, int pan);
bool audioSetVolume(AudioBuffer buffer, int volume);
// The buffer's length in milliseconds of playing time; 0 for an unknown buffer.
uint32_t audioBufferDuration(AudioBuffer buffer);

// The output's sample rate while a device is open, else 0.
uint32_t audioOutputRate();

// Headless back end only: pretend there is no sound card (true) so that opening a device fails.
void audioHeadlessSetNoDevice(bool noDevice);
