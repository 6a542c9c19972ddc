// The two outputs behind platform/audio.h: SDL audio, whose callback asks the shared voices for each block,
// and nothing more for the headless back end, whose voices advance with the virtual clock instead.
#pragma once

#include <cstddef>
#include <cstdint>

// Called from the SDL audio thread for every output block (stereo frames, interleaved 16-bit).
using AudioFill = void (*)(int16_t* out, size_t frames);

// Open the default output device and start it; rate receives the device's sample rate.
bool sdlAudioOpen(AudioFill fill, uint32_t& rate);
void sdlAudioClose();
