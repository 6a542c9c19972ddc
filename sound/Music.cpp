// The music bank: background styles 1-4, the game tunes, the cast tune, the music button and the pauses
// around dialogs and the game's fanfare.
//
// Index: [SECTION] Styles  [SECTION] Loading  [SECTION] Starting and stopping  [SECTION] Game tunes

#include "platform/paths.h"
#include "sound/Sounds.h"

// [SECTION] Styles

namespace {

std::array<std::string, 8> themedNotes(const std::string& theme) {
  std::array<std::string, 8> files;
  static const char* const kDegrees[8] = {"Do", "Do2", "Re", "Mi", "Fa", "Sol", "La", "Si"};
  for (size_t i = 0; i < 8; ++i) files[i] = "./sound\\" + theme + kDegrees[i] + ".wav";
  return files;
}

// The wait cursor while a tune loads, and the previous cursor back afterwards.
class WaitCursor {
public:
  WaitCursor() : previous(setCursor(loadCursor("wait"))) {}
  ~WaitCursor() { setCursor(previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

private:
  HCursor previous;
};

}  // namespace

std::string tuneFile(int style) {
  switch (style) {
    case 1: return "sound\\sting.wav";
    case 2: return "sound\\waltz.wav";
    case 3: return "sound\\polka.wav";
    case 4: return "sound\\bal.wav";
    case 5: return "sound\\game1.wav";
    case 6: return "sound\\cast.wav";
    case 7: return "sound\\game2.wav";
    case 8: return "sound\\game3.wav";
    case 9: return "sound\\game4.wav";
    default: return {};
  }
}

std::array<std::string, 8> noteFiles(int style) {
  switch (style) {
    case 1: return themedNotes("sting");
    case 2: return themedNotes("waltz");
    case 3: return themedNotes("polka");
    case 4:
      // The ball-room style borrows the plain notes, with Sol standing in for Fa.
      return {"./sound\\Note_c1.wav", "./sound\\Note_c2.wav", "./sound\\Note_d1.wav", "./sound\\Note_e1.wav",
              "./sound\\Note_g1.wav", "./sound\\Note_g1.wav", "./sound\\Note_a1.wav", "./sound\\Note_b1.wav"};
    case 5:
    case 7:
    case 8:
    case 9: {
      std::array<std::string, 8> files;
      files.fill("./sound\\gamecoll.wav");
      return files;
    }
    default: return {};
  }
}

// [SECTION] Loading

bool loadMusicStyle(SoundState& s, int style, HWindow window) {
  if (s.musicBank) s.musicBank->releaseAll();
  s.musicOn = false;
  s.tune = 0;
  s.tuneStyle = 0;
  s.musicNotes.fill(0);
  s.musicBank = std::make_unique<SoundBank>(window);
  if (!s.musicBank->isReady()) return false;
  std::string tune = tuneFile(style);
  if (tune.empty()) return false;
  if (s.dataRoot.empty() || !setCurrentDirectory(s.dataRoot)) return false;
  s.tune = loadSound(*s.musicBank, tune);
  if (s.tune == 0) return false;
  s.tuneStyle = style;
  // A file named for several notes is loaded once and its slot shared.
  std::array<std::string, 8> files = noteFiles(style);
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) continue;
    size_t first = 0;
    while (files[first] != files[i]) ++first;
    s.musicNotes[i] = first < i ? s.musicNotes[first] : loadSound(*s.musicBank, files[i]);
  }
  return true;
}

// [SECTION] Starting and stopping

void stopMusic(SoundState& s) {
  if (s.musicBank) s.musicBank->releaseAll();
  s.musicBank.reset();
  s.musicOn = false;
  s.tune = 0;
  s.tuneStyle = 0;
  s.musicNotes.fill(0);
}

namespace {

// Load a style and start its tune looping; music is on only when the tune really started.
bool loadAndPlay(SoundState& s, int style) {
  bool loaded;
  {
    WaitCursor wait;
    loaded = loadMusicStyle(s, style);
  }
  if (!loaded || !s.musicBank->playLooping(s.tune)) {
    stopMusic(s);
    return false;
  }
  s.musicOn = true;
  return true;
}

}  // namespace

bool startTune(SoundState& s, int style, bool load) {
  if (s.musicOn) stopMusic(s);
  if (!load) return true;
  return loadAndPlay(s, style);
}

bool musicButton(SoundState& s) {
  if (s.musicOn) {
    stopMusic(s);
    s.backMusicNo = s.backMusicNo % 4 + 1;
    return false;
  }
  if (s.backMusicNo < 1 || s.backMusicNo > 4) s.backMusicNo = 1;
  return loadAndPlay(s, s.backMusicNo);
}

bool startBackgroundMusic(SoundState& s) {
  if (s.backMusicNo < 1 || s.backMusicNo > 4) s.backMusicNo = 1;
  return loadAndPlay(s, s.backMusicNo);
}

void stopMusicForDialog(SoundState& s) {
  s.musicWasOn = s.musicOn;
  stopMusic(s);
}

void restoreMusicAfterDialog(SoundState& s) {
  if (s.musicWasOn) startBackgroundMusic(s);
}

bool startCastMusic(SoundState& s) { return startTune(s, kStyleCast, true); }

void stopCastMusic(SoundState& s) { stopMusic(s); }

void pauseMusic(SoundState& s) {
  if (s.musicOn && s.musicBank) s.musicBank->stop(s.tune);
}

void resumeMusic(SoundState& s) {
  if (s.musicOn && s.musicBank) s.musicBank->resumeLooping(s.tune);
}

// [SECTION] Game tunes

void loadGameTune(SoundState& s) {
  if (s.musicOn) stopMusic(s);
  WaitCursor wait;
  if (!loadMusicStyle(s, s.nextGameTune)) stopMusic(s);
}

void playGameTune(SoundState& s) {
  if (!s.gameMusicOn) return;
  // Only a tune that loaded can play; music stays off when loading failed.
  if (s.musicBank && s.tune != 0 && s.musicBank->playLooping(s.tune)) s.musicOn = true;
  switch (s.nextGameTune) {
    case 5: s.nextGameTune = 7; break;
    case 7: s.nextGameTune = 8; break;
    case 8: s.nextGameTune = 9; break;
    default: s.nextGameTune = 5; break;
  }
}

void resetGameTunes(SoundState& s) { s.nextGameTune = 7; }

void toggleGameMusic(SoundState& s) {
  s.gameMusicOn = !s.gameMusicOn;
}
