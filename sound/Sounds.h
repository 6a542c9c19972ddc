// Which sound plays when: the three banks (effects, music, jingle), every effect of the program, the notes
// played by the number keys and by the height of a moved block, the background and game tunes, and the
// start and quit jingles.
//
// Index: [SECTION] Effects  [SECTION] Notes  [SECTION] Music  [SECTION] Jingles  [SECTION] State
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/window.h"
#include "sound/SoundBank.h"

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
constexpr int kEffectCount = 27;

// The file of each effect, as the program opens it (relative to the data folder).
const char* effectPath(EffectId effect);

// Build the effects bank and load its files in order. Loading stops at the first required file that does
// not load (the sounds after it stay silent) and the result is false; false also when there is no output.
bool loadEffects(HWindow window = nullptr);
bool playEffect(EffectId effect);
bool playEffectCentred(EffectId effect);  // centre pan, full volume first
bool playEffectLooping(EffectId effect);
bool stopEffect(EffectId effect);
bool isEffectPlaying(EffectId effect);
// Sleep in 10 ms steps while the effect plays (never longer than its own length and a second).
void waitWhileEffectPlays(EffectId effect);
// The effects bank's slot of an effect; 0 when it did not load.
uint32_t effectSlot(EffectId effect);


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
bool playNote(Note note);
bool playNoteKey(int n);
bool landingNote(int h);
bool bumpNote(int h);

// [SECTION] Music

constexpr int kStyleCast = 6;
// The tune file of a style (1-9) as the program opens it; empty for any other number.
std::string tuneFile(int style);
// The note files of a style in note-slot order (a file named twice is loaded once and shared); all empty
// for the cast tune, which brings no notes, and for unknown styles.
std::array<std::string, 8> noteFiles(int style);

// Build a new music bank and load the style's tune and note set; does not start the tune.
bool loadMusicStyle(int style, HWindow window = nullptr);
// Stop the music; with load, load the style and start its tune looping.
bool startTune(int style, bool load);
// The options screen's music button: stop and select the next style, or start the selected style.
// True when the music is on afterwards.
bool musicButton();
void loadGameTune();
void playGameTune();
void resetGameTunes();
void toggleGameMusic();
void stopMusic();                 // release the music bank, music off
// Start the background style `backMusicNo` looping; false when it does not load (music stays off).
bool startBackgroundMusic();
// The game-file dialog: stopping remembers whether music was on; restoring after the dialog closed
// without a game starts the background style again only then.
void stopMusicForDialog();
void restoreMusicAfterDialog();
// The cast dialog: its tune while it is open, silence after.
bool startCastMusic();
void stopCastMusic();
// The game pauses its tune while the fanfare plays and resumes it where it stopped.
void pauseMusic();
void resumeMusic();

// How the music finds the data folder: the resolver returns the folder (and may check the install) or an
// empty text when it cannot be used. By default the platform's data folder.
void setDataRootResolver(std::function<std::string()> resolver);

// [SECTION] Jingles

enum class JingleKind { Start = 1, Quit = 2 };
// Build the jingle bank with start.wav or quit.wav (releasing the music first).
bool loadJingle(JingleKind kind, HWindow window = nullptr);
bool playJingle();
bool jingleIsPlaying();
void releaseJingle();
// Start-up: sleep in 10 ms steps while the start jingle plays, then release it.
void waitForStartJingle();
// Quit: play quit.wav and wait until it ends or `cancelled` says Escape was pressed, dispatching key presses
// meanwhile; then release it.
void playQuitJingleAndWait(const std::function<bool()>& cancelled);

// [SECTION] State

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
};

SoundState& soundState();
// Release every bank and return to the initial state.
void resetSound();
