// The real output: the default SDL audio device in 16-bit stereo, filled by the mixer from SDL's thread.
#include "platform/audio/Backends.h"

#include <SDL.h>

namespace {

SDL_AudioDeviceID openDevice = 0;
AudioFill fillBlock = nullptr;

void callback(void*, Uint8* stream, int length) {
  size_t frames = static_cast<size_t>(length) / (2 * sizeof(int16_t));
  if (fillBlock) fillBlock(reinterpret_cast<int16_t*>(stream), frames);
  else SDL_memset(stream, 0, static_cast<size_t>(length));
}

}  // namespace

bool sdlAudioOpen(AudioFill fill, uint32_t& rate) {
  if (openDevice != 0) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;  // about 23 ms: short enough that an effect follows its click at once
  want.callback = callback;
  SDL_AudioSpec have{};
  fillBlock = fill;
  // Only the rate may differ; SDL converts any other difference for us.
  openDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (openDevice == 0 || have.freq <= 0) {
    if (openDevice != 0) SDL_CloseAudioDevice(openDevice);
    openDevice = 0;
    fillBlock = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  rate = static_cast<uint32_t>(have.freq);
  SDL_PauseAudioDevice(openDevice, 0);
  return true;
}

void sdlAudioClose() {
  if (openDevice == 0) return;
  SDL_CloseAudioDevice(openDevice);  // waits for a running callback to finish
  openDevice = 0;
  fillBlock = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
