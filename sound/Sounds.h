// Which sound plays when: the sound record with its three banks (effects, music, jingle), every effect of the
// program, the notes played by the number keys and by the height of a moved block, the background and game
// tunes, and the start and quit jingles. Every operation works on the SoundState it is given.
//
// Index: [SECTION] State  [SECTION] Effects  [SECTION] Notes  [SECTION] Music  [SECTION] Jingles
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/window.h"
#include "sound/SoundBank.h"

// [SECTION] State

constexpr int kEffectCount = 27;

// Everything the sounds keep between calls. A default-constructed record is the initial state: no banks,
// music off, background style 1, game music on. Its owner sets `dataRoot`; the banks are released when the
// record is reset or destroyed.
struct SoundState {
  std::unique_ptr<SoundBank> effectsBank;
  std::unique_ptr<SoundBank> musicBank;
  std::unique_ptr<SoundBank> jingleBank;
  std::array<uint32_t, kEffectCount> effects{};  // slot of each effect, 0 when silent
  std::array<uint32_t, 8> musicNotes{};          // the music bank's note slots, Note order
  uint32_t tune = 0;                              // the music bank's tune slot
  uint32_t jingle = 0;
  int tuneStyle = 0;                              // the style the music bank holds
  bool musicOn = false;
  int backMusicNo = 1;
  bool gameMusicOn = true;
  int nextGameTune = 5;
  bool musicWasOn = false;
  // The data folder the music loads its tunes from (it is made the current directory first); empty when the
  // install cannot be used, and no tune loads then.
  std::string dataRoot;
};

// Release every bank and return to the initial state (the data folder is forgotten too).
void resetSound(SoundState& sound);

// [SECTION] Effects

// The effects bank's sounds, in load order.
enum class EffectId : int {
  NoteDo, NoteHighDo, NoteRe, NoteMi, NoteFa, NoteSol, NoteLa, NoteSi,
  PickUp,       // w1.wav: a block is picked up
  PutDown,      // b_down.wav: a held block is let go
  Collision,    // coll.wav: the aeroplane is blocked
  Climb,        // climb.wav: the aeroplane steps on
  BlockIn,      // blockin.wav: a block comes in from the side panel
  BlockOut,     // blockout.wav: a block is removed
  Icon,         // icon.wav
  ViewChange,   // ch_view.wav
  CameraTurn,   // ca_rot.wav
  Undo,         // undo.wav, also the panels' refusal
  Colours,      // colors.wav
  Fanfare,      // fanfare4.wav: the aeroplane reached the target
  Pause,        // pause.wav
  TakeOff,      // takeoff.wav
  Paint,        // paint.wav, looped while painting
  Grow,         // b_inc.wav
  Shrink,       // b_dec.wav
  Rotate,       // b_rotate.wav
  Menu,         // menu.wav
};
static_assert(static_cast<int>(EffectId::Menu) + 1 == kEffectCount);

// The file of each effect, as the program opens it (relative to the data folder).
const char* effectPath(EffectId effect);

// Build the effects bank and load its files in order. Loading stops at the first required file that does
// not load (the sounds after it stay silent) and the result is false; false also when there is no output.
bool loadEffects(SoundState& sound, HWindow window = nullptr);
bool playEffect(SoundState& sound, EffectId effect);
bool playEffectCentred(SoundState& sound, EffectId effect);  // centre pan, full volume first
bool playEffectLooping(SoundState& sound, EffectId effect);
bool stopEffect(SoundState& sound, EffectId effect);
bool isEffectPlaying(SoundState& sound, EffectId effect);
// Sleep in 10 ms steps while the effect plays (never longer than its own length and a second).
void waitWhileEffectPlays(SoundState& sound, EffectId effect);
// The effects bank's slot of an effect; 0 when it did not load.
uint32_t effectSlot(const SoundState& sound, EffectId effect);

// [SECTION] Notes

// Scale degrees in note-slot order: the slots of a note set are Do, high Do, Re, Mi, Fa, Sol, La, Si.
enum class Note : int { Do, HighDo, Re, Mi, Fa, Sol, La, Si };

// The height the note rules use: the held block's y truncated toward zero; 0 when nothing is held or the
// height is not a usable number.
int noteHeight(bool holding, float y);
// The note a lowered block plays when it lands at height h, or none.
std::optional<Note> landingNoteFor(int h);
// The note a block moved sideways plays when it is stopped at height h, or none.
std::optional<Note> bumpNoteFor(int h);
// The note of number key n (1-8: Do Re Mi Fa Sol La Si high Do), or none.
std::optional<Note> keyNoteFor(int n);

// Play a note from the current tune's note set while music is on, else from the plain notes.
bool playNote(SoundState& sound, Note note);
bool playNoteKey(SoundState& sound, int n);
bool landingNote(SoundState& sound, int h);
bool bumpNote(SoundState& sound, int h);

// [SECTION] Music

constexpr int kStyleCast = 6;
// The tune file of a style (1-9) as the program opens it; empty for any other number.
std::string tuneFile(int style);
// The note files of a style in note-slot order (a file named twice is loaded once and shared); all empty
// for the cast tune, which brings no notes, and for unknown styles.
std::array<std::string, 8> noteFiles(int style);

// Build a new music bank and load the style's tune and note set; does not start the tune.
bool loadMusicStyle(SoundState& sound, int style, HWindow window = nullptr);
// Stop the music; with load, load the style and start its tune looping.
bool startTune(SoundState& sound, int style, bool load);
// The options screen's music button: stop and select the next style, or start the selected style.
// True when the music is on afterwards.
bool musicButton(SoundState& sound);
void loadGameTune(SoundState& sound);
void playGameTune(SoundState& sound);
void resetGameTunes(SoundState& sound);
void toggleGameMusic(SoundState& sound);
void stopMusic(SoundState& sound);  // release the music bank, music off
// Start the background style `backMusicNo` looping; false when it does not load (music stays off).
bool startBackgroundMusic(SoundState& sound);
// The game-file dialog: stopping remembers whether music was on; restoring after the dialog closed
// without a game starts the background style again only then.
void stopMusicForDialog(SoundState& sound);
void restoreMusicAfterDialog(SoundState& sound);
// The cast dialog: its tune while it is open, silence after.
bool startCastMusic(SoundState& sound);
void stopCastMusic(SoundState& sound);
// The game pauses its tune while the fanfare plays and resumes it where it stopped.
void pauseMusic(SoundState& sound);
void resumeMusic(SoundState& sound);

// [SECTION] Jingles

enum class JingleKind { Start = 1, Quit = 2 };
// Build the jingle bank with start.wav or quit.wav (releasing the music first).
bool loadJingle(SoundState& sound, JingleKind kind, HWindow window = nullptr);
bool playJingle(SoundState& sound);
bool jingleIsPlaying(SoundState& sound);
void releaseJingle(SoundState& sound);
// How long a wait for the jingle may last however the output behaves: its length and a second; 0 without a
// jingle bank.
uint32_t jingleWaitLimit(SoundState& sound);
