// The sound record's reset and the effects bank: loading the effects, playing them, and the notes chosen by
// key and by height.
//
// Index: [SECTION] State  [SECTION] Effects  [SECTION] Notes

#include <cmath>

#include "sound/Sounds.h"

// [SECTION] State

void resetSound(SoundState& sound) {
  for (auto* bank : {&sound.effectsBank, &sound.musicBank, &sound.jingleBank})
    if (*bank) (*bank)->releaseAll();
  sound = SoundState{};
}

// [SECTION] Effects

namespace {

struct EffectFile {
  const char* path;
  bool required;
};

// Without these five the program would lose the sounds that tell the player what happened, and loading
// stops at the first that is missing.
constexpr EffectFile kEffectFiles[kEffectCount] = {
    {"./sound\\Note_c1.wav", false}, {"./sound\\Note_c2.wav", false}, {"./sound\\Note_d1.wav", false},
    {"./sound\\Note_e1.wav", false}, {"./sound\\Note_f1.wav", false}, {"./sound\\Note_g1.wav", false},
    {"./sound\\Note_a1.wav", false}, {"./sound\\Note_b1.wav", false}, {"./sound\\w1.wav", false},
    {"./sound\\b_down.wav", false},  {"./sound\\coll.wav", true},     {"./sound\\climb.wav", false},
    {"./sound\\blockin.wav", true},  {"./sound\\blockout.wav", true}, {"./sound\\icon.wav", false},
    {"./sound\\ch_view.wav", false}, {"./sound\\ca_rot.wav", false},  {"./sound/undo.wav", false},
    {"./sound/colors.wav", false},   {"./sound\\fanfare4.wav", true}, {"./sound\\pause.wav", true},
    {"./sound\\takeoff.wav", false}, {"./sound/paint.wav", false},    {"./sound/b_inc.wav", false},
    {"./sound/b_dec.wav", false},    {"./sound/b_rotate.wav", false}, {"./sound/menu.wav", false},
};

uint32_t slotOf(const SoundState& sound, EffectId effect) {
  int index = static_cast<int>(effect);
  if (index < 0 || index >= kEffectCount) return 0;
  return sound.effects[static_cast<size_t>(index)];
}

}  // namespace

const char* effectPath(EffectId effect) {
  int index = static_cast<int>(effect);
  if (index < 0 || index >= kEffectCount) return "";
  return kEffectFiles[index].path;
}

uint32_t effectSlot(const SoundState& sound, EffectId effect) { return slotOf(sound, effect); }

bool loadEffects(SoundState& s, HWindow window) {
  if (s.effectsBank) s.effectsBank->releaseAll();
  s.effects.fill(0);
  s.effectsBank = std::make_unique<SoundBank>(window);
  if (!s.effectsBank->isReady()) return false;
  // The collision sound is judged only once the climb sound after it has loaded, so a missing collision
  // file still leaves the climb sound in place.
  bool collisionMissing = false;
  for (int i = 0; i < kEffectCount; ++i) {
    uint32_t slot = loadSound(*s.effectsBank, kEffectFiles[i].path);
    s.effects[static_cast<size_t>(i)] = slot;
    EffectId effect = static_cast<EffectId>(i);
    if (effect == EffectId::Collision) {
      collisionMissing = slot == 0;
      continue;
    }
    if (effect == EffectId::Climb && collisionMissing) return false;
    if (kEffectFiles[i].required && slot == 0) return false;
  }
  return true;
}

bool playEffect(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  return bank && bank->play(slotOf(sound, effect));
}

bool playEffectCentred(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  if (!bank) return false;
  bank->setPanAndVolume(slotOf(sound, effect), kAudioPanCentre, kAudioVolumeFull);
  return bank->play(slotOf(sound, effect));
}

bool playEffectLooping(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  return bank && bank->playLooping(slotOf(sound, effect));
}

bool stopEffect(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  return bank && bank->stop(slotOf(sound, effect));
}

bool isEffectPlaying(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  return bank && bank->isPlaying(slotOf(sound, effect));
}

void waitWhileEffectPlays(SoundState& sound, EffectId effect) {
  SoundBank* bank = sound.effectsBank.get();
  if (!bank) return;
  uint32_t slot = slotOf(sound, effect);
  // A stalled output must not hold the program forever: give up a second after the sound should have ended.
  uint32_t limit = bank->duration(slot) + 1000;
  for (uint32_t waited = 0; bank->isPlaying(slot) && waited < limit; waited += 10) sleepMs(10);
}

// [SECTION] Notes

int noteHeight(bool holding, float y) {
  if (!holding || !std::isfinite(y) || std::fabs(y) >= 1.0e9f) return 0;
  return static_cast<int>(y);  // truncates toward zero
}

std::optional<Note> landingNoteFor(int h) {
  if (h >= 52) h %= 52;
  if (h < 5) return Note::Do;
  if (h < 11) return Note::Re;
  if (h < 17) return Note::Mi;
  if (h < 23) return Note::Fa;
  if (h < 29) return Note::Sol;
  if (h < 35) return Note::La;
  if (h < 41) return Note::Si;
  if (h < 47) return Note::HighDo;
  return std::nullopt;
}

std::optional<Note> bumpNoteFor(int h) {
  if (h >= 58) h = h % 58 + 10;
  switch (h) {
    case 10: return Note::Do;
    case 16: return Note::Re;
    case 22: return Note::Mi;
    case 28: return Note::Fa;
    case 34: return Note::Sol;
    case 40: return Note::La;
    case 46: return Note::Si;
    case 52: return Note::HighDo;
    default: return std::nullopt;
  }
}

std::optional<Note> keyNoteFor(int n) {
  static constexpr Note kKeys[8] = {Note::Do, Note::Re, Note::Mi, Note::Fa, Note::Sol, Note::La, Note::Si, Note::HighDo};
  if (n < 1 || n > 8) return std::nullopt;
  return kKeys[n - 1];
}

bool playNote(SoundState& sound, Note note) {
  size_t index = static_cast<size_t>(note);
  if (index >= 8) return false;
  if (sound.musicOn && sound.musicBank) return sound.musicBank->play(sound.musicNotes[index]);
  // The plain notes are the first eight effects, stored in the same order.
  return playEffect(sound, static_cast<EffectId>(index));
}

bool playNoteKey(SoundState& sound, int n) {
  std::optional<Note> note = keyNoteFor(n);
  return note && playNote(sound, *note);
}

bool landingNote(SoundState& sound, int h) {
  std::optional<Note> note = landingNoteFor(h);
  return note && playNote(sound, *note);
}

bool bumpNote(SoundState& sound, int h) {
  std::optional<Note> note = bumpNoteFor(h);
  return note && playNote(sound, *note);
}
