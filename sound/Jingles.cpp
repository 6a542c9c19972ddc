// The start and quit jingles: the jingle bank exists only around them. Start-up and quitting wait for them
// to end, never longer than the limit given here.
#include "sound/Sounds.h"

namespace {

// However the output behaves, no jingle wait outlasts the jingle by more than this.
constexpr uint32_t kWaitMarginMs = 1000;

}  // namespace

uint32_t jingleWaitLimit(SoundState& s) {
  return s.jingleBank ? s.jingleBank->duration(s.jingle) + kWaitMarginMs : 0;
}

bool loadJingle(SoundState& s, JingleKind kind, HWindow window) {
  stopMusic(s);
  releaseJingle(s);
  s.jingleBank = std::make_unique<SoundBank>(window);
  const char* path = kind == JingleKind::Start ? "./sound\\start.wav" : "./sound\\quit.wav";
  s.jingle = loadSound(*s.jingleBank, path);
  return s.jingle != 0;
}

bool playJingle(SoundState& s) {
  return s.jingleBank && s.jingleBank->play(s.jingle);
}

bool jingleIsPlaying(SoundState& s) {
  return s.jingleBank && s.jingleBank->isPlaying(s.jingle);
}

void releaseJingle(SoundState& s) {
  if (s.jingleBank) s.jingleBank->releaseAll();
  s.jingleBank.reset();
  s.jingle = 0;
}
