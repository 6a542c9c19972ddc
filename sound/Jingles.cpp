// The start and quit jingles: the jingle bank exists only around them, and start-up and quitting wait for
// them to end.
#include "sound/Sounds.h"

namespace {

// However the output behaves, no jingle wait outlasts the jingle by more than this.
constexpr uint32_t kWaitMarginMs = 1000;

uint32_t jingleWaitLimit() {
  SoundState& s = soundState();
  return s.jingleBank ? s.jingleBank->duration(s.jingle) + kWaitMarginMs : 0;
}

}  // namespace

bool loadJingle(JingleKind kind, HWindow window) {
  SoundState& s = soundState();
  stopMusic();
  releaseJingle();
  s.jingleBank = std::make_unique<SoundBank>(window);
  const char* path = kind == JingleKind::Start ? "./sound\\start.wav" : "./sound\\quit.wav";
  s.jingle = loadSound(*s.jingleBank, path);
  return s.jingle != 0;
}

bool playJingle() {
  SoundState& s = soundState();
  return s.jingleBank && s.jingleBank->play(s.jingle);
}

bool jingleIsPlaying() {
  SoundState& s = soundState();
  return s.jingleBank && s.jingleBank->isPlaying(s.jingle);
}

void releaseJingle() {
  SoundState& s = soundState();
  if (s.jingleBank) s.jingleBank->releaseAll();
  s.jingleBank.reset();
  s.jingle = 0;
}

void waitForStartJingle() {
  uint32_t limit = jingleWaitLimit();
  for (uint32_t waited = 0; jingleIsPlaying() && waited < limit; waited += 10) sleepMs(10);
  releaseJingle();
}

void playQuitJingleAndWait(const std::function<bool()>& cancelled) {
  loadJingle(JingleKind::Quit);
  playJingle();
  // Counted in the waits' own steps as well as on the clock, so that a clock that stands still cannot hold
  // the program here.
  uint32_t limit = jingleWaitLimit();
  uint32_t start = tickCount();
  sleepMs(100);
  uint32_t waited = 100;
  // Only key presses are handled while the jingle plays: Escape ends the wait, everything else is dropped.
  while (jingleIsPlaying() && !(cancelled && cancelled()) && waited < limit && tickCount() - start < limit) {
    Message message;
    if (peekMessage(message)) {
      if (message.msg == Msg::KeyDown) {
        translateMessage(message);
        dispatchMessage(message);
      }
    } else {
      sleepMs(10);
      waited += 10;
    }
  }
  releaseJingle();
}
