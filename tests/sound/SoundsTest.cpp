// Which sound plays when: the effects bank and its required files, notes by key and by height, the music
// styles and their note sets, the music button, game tunes, dialogs, the jingles, and the sound record.
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "platform/headless.h"
#include "platform/paths.h"
#include "scene/BlockSounds.h"
#include "sound/Sounds.h"
#include "support/TestSupport.h"
#include "WaveBuilder.h"

namespace {

std::string waveOf(uint32_t ms) {
  WaveBuilder b;
  b.data = std::string(static_cast<size_t>(ms) * 22050 / 1000 * 2, '\x08');
  return b.file();
}

std::string fileName(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A data folder holding every sound file, each with a length of its own so a slot tells which file it holds.
class SoundsTest : public ::testing::Test {
protected:
  void SetUp() override {
    uint32_t ms = 100;
    auto add = [&](const std::string& name, uint32_t length) {
      if (lengths.count(name)) return;
      lengths[name] = length;
      ASSERT_TRUE(folder.write("sound/" + name, waveOf(length)));
    };
    for (int i = 0; i < kEffectCount; ++i) add(fileName(effectPath(static_cast<EffectId>(i))), ms += 20);
    for (int style = 1; style <= 9; ++style) {
      add(fileName(tuneFile(style)), 2000 + 20 * static_cast<uint32_t>(style));
      for (const std::string& note : noteFiles(style))
        if (!note.empty()) add(fileName(note), ms += 20);
    }
    add("start.wav", 3000);
    add("quit.wav", 1500);
    previousDirectory = currentDirectory();
    root = folder.path() + "/";
    ASSERT_TRUE(setCurrentDirectory(root));
    sound.dataRoot = root;
  }

  void TearDown() override {
    resetSound(sound);
    setCurrentDirectory(previousDirectory);
    audioHeadlessSetNoDevice(false);
  }

  void remove(const std::string& name) { ASSERT_TRUE(removeFile(folder.file("sound/" + name))); }

  // The file a slot of a bank holds, told by its length.
  std::string heldBy(SoundBank& bank, uint32_t slot) {
    for (const auto& [name, ms] : lengths)
      if (slot != 0 && bank.duration(slot) == ms) return name;
    return "";
  }

  TempFolder folder;
  std::string root, previousDirectory;
  std::map<std::string, uint32_t> lengths;
  SoundState sound;
};

}  // namespace

// [SECTION] Notes

TEST(NoteChoice, LandingNotesFollowTheHeightInBricks) {
  EXPECT_EQ(landingNoteFor(60), Note::Re);  // 60 mod 52 = 8
  EXPECT_EQ(landingNoteFor(100), std::nullopt);  // 100 mod 52 = 48: above the octave
  EXPECT_EQ(landingNoteFor(-7), Note::Do);
  EXPECT_EQ(landingNoteFor(0), Note::Do);
  EXPECT_EQ(landingNoteFor(4), Note::Do);
  EXPECT_EQ(landingNoteFor(5), Note::Re);
  EXPECT_EQ(landingNoteFor(22), Note::Fa);
  EXPECT_EQ(landingNoteFor(46), Note::HighDo);
  EXPECT_EQ(landingNoteFor(47), std::nullopt);
  EXPECT_EQ(landingNoteFor(51), std::nullopt);
  EXPECT_EQ(landingNoteFor(52), Note::Do);
}

TEST(NoteChoice, BumpNotesPlayOnlyOnExactBrickHeights) {
  EXPECT_EQ(bumpNoteFor(64), Note::Re);  // 64 mod 58 + 10 = 16
  EXPECT_EQ(bumpNoteFor(15), std::nullopt);
  EXPECT_EQ(bumpNoteFor(4), std::nullopt);
  EXPECT_EQ(bumpNoteFor(10), Note::Do);
  EXPECT_EQ(bumpNoteFor(46), Note::Si);
  EXPECT_EQ(bumpNoteFor(52), Note::HighDo);
  EXPECT_EQ(bumpNoteFor(57), std::nullopt);
  EXPECT_EQ(bumpNoteFor(58), Note::Do);
  EXPECT_EQ(bumpNoteFor(-10), std::nullopt);
}

TEST(NoteChoice, KeysOneToEightClimbTheScale) {
  const Note expected[8] = {Note::Do, Note::Re, Note::Mi, Note::Fa, Note::Sol, Note::La, Note::Si, Note::HighDo};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(keyNoteFor(n), expected[n - 1]) << n;
  EXPECT_EQ(keyNoteFor(0), std::nullopt);
  EXPECT_EQ(keyNoteFor(9), std::nullopt);
}

TEST(NoteChoice, HeightIsTheHeldBlocksTruncatedY) {
  EXPECT_EQ(noteHeight(false, 60.0f), 0);
  EXPECT_EQ(noteHeight(true, 60.9f), 60);
  EXPECT_EQ(noteHeight(true, -0.5f), 0);
  EXPECT_EQ(noteHeight(true, -6.7f), -6);
  EXPECT_EQ(noteHeight(true, std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(noteHeight(true, std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(noteHeight(true, 1.0e20f), 0);
}

// [SECTION] Effects

TEST_F(SoundsTest, EffectsLoadInTableOrder) {
  ASSERT_TRUE(loadEffects(sound));
  SoundBank& bank = *sound.effectsBank;
  for (int i = 0; i < kEffectCount; ++i) {
    EffectId effect = static_cast<EffectId>(i);
    EXPECT_EQ(effectSlot(sound, effect), static_cast<uint32_t>(i + 1));
    EXPECT_EQ(heldBy(bank, effectSlot(sound, effect)), fileName(effectPath(effect)));
  }
  EXPECT_EQ(fileName(effectPath(EffectId::Paint)), "paint.wav");
  EXPECT_TRUE(playEffect(sound, EffectId::Menu));
  EXPECT_TRUE(isEffectPlaying(sound, EffectId::Menu));
}

TEST_F(SoundsTest, AMissingCollisionSoundSilencesEveryEffectAfterTheClimb) {
  remove("coll.wav");
  EXPECT_FALSE(loadEffects(sound));
  EXPECT_EQ(effectSlot(sound, EffectId::Collision), 0u);
  EXPECT_NE(effectSlot(sound, EffectId::Climb), 0u);
  for (int i = static_cast<int>(EffectId::BlockIn); i < kEffectCount; ++i)
    EXPECT_EQ(effectSlot(sound, static_cast<EffectId>(i)), 0u) << i;
  EXPECT_FALSE(playEffect(sound, EffectId::Menu));
  EXPECT_TRUE(playEffect(sound, EffectId::PickUp));  // the ones before still play
}

TEST_F(SoundsTest, EachRequiredEffectStopsTheLoadingWhereItIsMissing) {
  for (EffectId required : {EffectId::BlockIn, EffectId::BlockOut, EffectId::Fanfare, EffectId::Pause}) {
    resetSound(sound);
    std::string name = fileName(effectPath(required));
    std::string kept = folder.read("sound/" + name);
    remove(name);
    EXPECT_FALSE(loadEffects(sound)) << name;
    EXPECT_NE(effectSlot(sound, static_cast<EffectId>(static_cast<int>(required) - 1)), 0u) << name;
    for (int i = static_cast<int>(required); i < kEffectCount; ++i)
      EXPECT_EQ(effectSlot(sound, static_cast<EffectId>(i)), 0u) << name << " " << i;
    ASSERT_TRUE(folder.write("sound/" + name, kept));
  }
}

TEST_F(SoundsTest, AMissingOrdinaryEffectIsSilentAlone) {
  remove("w1.wav");
  remove("menu.wav");
  EXPECT_TRUE(loadEffects(sound));
  EXPECT_EQ(effectSlot(sound, EffectId::PickUp), 0u);
  EXPECT_EQ(effectSlot(sound, EffectId::Menu), 0u);
  EXPECT_NE(effectSlot(sound, EffectId::PutDown), 0u);
  EXPECT_FALSE(playEffect(sound, EffectId::PickUp));
  EXPECT_TRUE(playEffect(sound, EffectId::PutDown));
}

TEST_F(SoundsTest, WithoutASoundCardEverythingIsSilent) {
  audioHeadlessSetNoDevice(true);
  EXPECT_FALSE(loadEffects(sound));
  EXPECT_FALSE(playEffect(sound, EffectId::Menu));
  EXPECT_FALSE(playNoteKey(sound, 1));
  EXPECT_FALSE(musicButton(sound));
  EXPECT_FALSE(sound.musicOn);
  EXPECT_FALSE(loadJingle(sound, JingleKind::Start));
  EXPECT_FALSE(playJingle(sound));
  EXPECT_FALSE(jingleIsPlaying(sound));
}

TEST_F(SoundsTest, CentredEffectsAndTheLoopingPaintSound) {
  ASSERT_TRUE(loadEffects(sound));
  EXPECT_TRUE(playEffectCentred(sound, EffectId::CameraTurn));
  EXPECT_TRUE(playEffectLooping(sound, EffectId::Paint));
  headlessAdvanceClock(5000);
  EXPECT_TRUE(isEffectPlaying(sound, EffectId::Paint));
  EXPECT_FALSE(isEffectPlaying(sound, EffectId::CameraTurn));
  EXPECT_TRUE(stopEffect(sound, EffectId::Paint));
  EXPECT_FALSE(isEffectPlaying(sound, EffectId::Paint));
}

TEST_F(SoundsTest, WaitingForTheFanfareLastsAsLongAsIt) {
  ASSERT_TRUE(loadEffects(sound));
  ASSERT_TRUE(playEffect(sound, EffectId::Fanfare));
  uint32_t before = tickCount();
  waitWhileEffectPlays(sound, EffectId::Fanfare);
  uint32_t waited = tickCount() - before;
  EXPECT_FALSE(isEffectPlaying(sound, EffectId::Fanfare));
  EXPECT_GE(waited, lengths["fanfare4.wav"] - 10);
  EXPECT_LE(waited, lengths["fanfare4.wav"] + 20);
}

// [SECTION] Notes from the banks

TEST_F(SoundsTest, NotesComeFromThePlainSetWithoutMusic) {
  ASSERT_TRUE(loadEffects(sound));
  EXPECT_TRUE(landingNote(sound, 60));
  EXPECT_TRUE(isEffectPlaying(sound, EffectId::NoteRe));
  EXPECT_FALSE(landingNote(sound, 100));
  EXPECT_TRUE(bumpNote(sound, 64));
  EXPECT_FALSE(bumpNote(sound, 15));
  EXPECT_TRUE(playNoteKey(sound, 8));
  EXPECT_TRUE(isEffectPlaying(sound, EffectId::NoteHighDo));
}

TEST_F(SoundsTest, NotesComeFromTheTunesSetWhileMusicPlays) {
  ASSERT_TRUE(loadEffects(sound));
  ASSERT_TRUE(startTune(sound, 1, true));
  EXPECT_EQ(heldBy(*sound.musicBank, sound.musicNotes[static_cast<size_t>(Note::Re)]), "stingRe.wav");
  EXPECT_TRUE(playNoteKey(sound, 2));
  EXPECT_TRUE(sound.musicBank->isPlaying(sound.musicNotes[static_cast<size_t>(Note::Re)]));
  EXPECT_FALSE(isEffectPlaying(sound, EffectId::NoteRe));
}

TEST_F(SoundsTest, TheBallroomStyleSharesOneFileForFaAndSol) {
  ASSERT_TRUE(startTune(sound, 4, true));
  uint32_t fa = sound.musicNotes[static_cast<size_t>(Note::Fa)];
  EXPECT_NE(fa, 0u);
  EXPECT_EQ(fa, sound.musicNotes[static_cast<size_t>(Note::Sol)]);
  EXPECT_EQ(heldBy(*sound.musicBank, fa), "Note_g1.wav");
  EXPECT_EQ(heldBy(*sound.musicBank, sound.musicNotes[static_cast<size_t>(Note::Mi)]), "Note_e1.wav");
  EXPECT_EQ(sound.musicBank->soundCount(), 8u);  // the tune and seven different notes
}

TEST_F(SoundsTest, EveryNoteOfAGameTuneIsTheGameSound) {
  for (int style : {5, 7, 8, 9}) {
    ASSERT_TRUE(startTune(sound, style, true)) << style;
    EXPECT_EQ(heldBy(*sound.musicBank, sound.tune), fileName(tuneFile(style)));
    for (uint32_t slot : sound.musicNotes) EXPECT_EQ(heldBy(*sound.musicBank, slot), "gamecoll.wav") << style;
    EXPECT_EQ(sound.musicBank->soundCount(), 2u);
  }
}

TEST_F(SoundsTest, AMissingNoteLeavesTheStyleWithOneSilentNote) {
  remove("waltzMi.wav");
  ASSERT_TRUE(startTune(sound, 2, true));
  EXPECT_EQ(sound.musicNotes[static_cast<size_t>(Note::Mi)], 0u);
  EXPECT_FALSE(playNoteKey(sound, 3));
  EXPECT_TRUE(playNoteKey(sound, 4));
}

// [SECTION] Music

TEST_F(SoundsTest, TheMusicButtonStopsAndSelectsTheNextStyleInTurn) {
  HCursor cursor = currentCursor();
  const int expected[] = {1, 2, 3, 4, 1};
  for (int round = 0; round < 5; ++round) {
    EXPECT_TRUE(musicButton(sound)) << round;
    ASSERT_TRUE(sound.musicOn);
    EXPECT_EQ(sound.tuneStyle, expected[round]);
    EXPECT_TRUE(sound.musicBank->isPlaying(sound.tune));
    headlessAdvanceClock(5000);
    EXPECT_TRUE(sound.musicBank->isPlaying(sound.tune));  // the tune loops
    EXPECT_FALSE(musicButton(sound));
    EXPECT_FALSE(sound.musicOn);
    EXPECT_EQ(sound.musicBank, nullptr);
  }
  EXPECT_EQ(sound.backMusicNo, 2);
  EXPECT_EQ(currentCursor(), cursor);  // the wait cursor is gone again
}

TEST_F(SoundsTest, AStyleWhoseTuneIsMissingLeavesTheMusicOff) {
  remove("waltz.wav");
  sound.backMusicNo = 2;
  EXPECT_FALSE(musicButton(sound));
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.backMusicNo, 2);
  EXPECT_FALSE(startTune(sound, 2, true));
  EXPECT_FALSE(sound.musicOn);
  EXPECT_TRUE(startTune(sound, 3, true));
  EXPECT_TRUE(startTune(sound, 3, false));  // stops without loading
  EXPECT_FALSE(sound.musicOn);
  EXPECT_FALSE(loadMusicStyle(sound, 0));
  EXPECT_FALSE(loadMusicStyle(sound, 10));
}

TEST_F(SoundsTest, MusicNeedsTheDataFolder) {
  sound.dataRoot.clear();
  EXPECT_FALSE(startTune(sound, 1, true));
  EXPECT_FALSE(sound.musicOn);
  sound.dataRoot = folder.path() + "/no such folder";
  EXPECT_FALSE(startTune(sound, 1, true));
  sound.dataRoot = root;
  ASSERT_TRUE(setCurrentDirectory(previousDirectory));
  EXPECT_TRUE(startTune(sound, 1, true));
  EXPECT_EQ(currentDirectory(), root);  // the tunes are opened from the data folder
}

TEST_F(SoundsTest, GameTunesFollowOneAnotherWhileGameMusicIsOn) {
  ASSERT_TRUE(startTune(sound, 5, true));
  resetGameTunes(sound);
  const int expected[] = {7, 8, 9, 5, 7};
  for (int tune : expected) {
    loadGameTune(sound);
    playGameTune(sound);
    EXPECT_TRUE(sound.musicOn);
    EXPECT_EQ(sound.tuneStyle, tune);
    EXPECT_TRUE(sound.musicBank->isPlaying(sound.tune));
  }
  toggleGameMusic(sound);
  loadGameTune(sound);
  playGameTune(sound);
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.nextGameTune, 8);  // unchanged while game music is off
  toggleGameMusic(sound);
  EXPECT_TRUE(sound.gameMusicOn);
}

TEST_F(SoundsTest, AGameTuneThatFailsToLoadDoesNotTurnTheMusicOn) {
  remove("game2.wav");
  sound.nextGameTune = 7;
  loadGameTune(sound);
  playGameTune(sound);
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.nextGameTune, 8);
}

TEST_F(SoundsTest, TheGameFileDialogRestoresOnlyMusicThatWasOn) {
  stopMusicForDialog(sound);
  restoreMusicAfterDialog(sound);
  EXPECT_FALSE(sound.musicOn);
  sound.backMusicNo = 3;
  ASSERT_TRUE(startBackgroundMusic(sound));
  stopMusicForDialog(sound);
  EXPECT_FALSE(sound.musicOn);
  EXPECT_TRUE(sound.musicWasOn);
  restoreMusicAfterDialog(sound);
  EXPECT_TRUE(sound.musicOn);
  EXPECT_EQ(sound.tuneStyle, 3);
}

TEST_F(SoundsTest, TheCastTuneHasNoNotesAndEndsWithTheDialog) {
  ASSERT_TRUE(loadEffects(sound));
  ASSERT_TRUE(startTune(sound, 1, true));
  ASSERT_TRUE(startCastMusic(sound));
  EXPECT_EQ(heldBy(*sound.musicBank, sound.tune), "cast.wav");
  for (uint32_t slot : sound.musicNotes) EXPECT_EQ(slot, 0u);
  stopCastMusic(sound);
  EXPECT_FALSE(sound.musicOn);
  EXPECT_TRUE(playNoteKey(sound, 1));  // back to the plain notes
}

TEST_F(SoundsTest, PausedMusicResumesWhereItStopped) {
  ASSERT_TRUE(startTune(sound, 1, true));
  headlessAdvanceClock(500);
  pauseMusic(sound);
  uint32_t at = sound.musicBank->position(sound.tune);
  EXPECT_FALSE(sound.musicBank->isPlaying(sound.tune));
  headlessAdvanceClock(700);
  resumeMusic(sound);
  EXPECT_TRUE(sound.musicBank->isPlaying(sound.tune));
  EXPECT_EQ(sound.musicBank->position(sound.tune), at);
}

// [SECTION] Jingles

TEST_F(SoundsTest, AJingleStopsTheMusicAndPlaysToItsEnd) {
  ASSERT_TRUE(startBackgroundMusic(sound));
  ASSERT_TRUE(loadJingle(sound, JingleKind::Start));
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.musicBank, nullptr);
  EXPECT_EQ(heldBy(*sound.jingleBank, sound.jingle), "start.wav");
  EXPECT_EQ(jingleWaitLimit(sound), 3000u + 1000u);
  ASSERT_TRUE(playJingle(sound));
  headlessAdvanceClock(2900);
  EXPECT_TRUE(jingleIsPlaying(sound));
  headlessAdvanceClock(200);
  EXPECT_FALSE(jingleIsPlaying(sound));
  releaseJingle(sound);
  EXPECT_EQ(sound.jingleBank, nullptr);
  EXPECT_EQ(jingleWaitLimit(sound), 0u);
  EXPECT_TRUE(startBackgroundMusic(sound));  // the music comes back on its own bank
}

TEST_F(SoundsTest, LoadingTheQuitJingleReplacesTheStartJingle) {
  ASSERT_TRUE(loadJingle(sound, JingleKind::Start));
  ASSERT_TRUE(playJingle(sound));
  ASSERT_TRUE(loadJingle(sound, JingleKind::Quit));
  EXPECT_EQ(sound.jingleBank->soundCount(), 1u);
  EXPECT_EQ(heldBy(*sound.jingleBank, sound.jingle), "quit.wav");
  EXPECT_FALSE(jingleIsPlaying(sound));
  EXPECT_EQ(jingleWaitLimit(sound), 1500u + 1000u);
}

TEST_F(SoundsTest, AMissingJingleIsNoWait) {
  remove("start.wav");
  EXPECT_FALSE(loadJingle(sound, JingleKind::Start));
  EXPECT_FALSE(playJingle(sound));
  EXPECT_FALSE(jingleIsPlaying(sound));
}

// [SECTION] The record

TEST_F(SoundsTest, ResettingReleasesEveryBankAndForgetsTheDataFolder) {
  ASSERT_TRUE(loadEffects(sound));
  ASSERT_TRUE(startTune(sound, 2, true));
  sound.backMusicNo = 3;
  toggleGameMusic(sound);
  resetSound(sound);
  EXPECT_EQ(sound.effectsBank, nullptr);
  EXPECT_EQ(sound.musicBank, nullptr);
  EXPECT_FALSE(sound.musicOn);
  EXPECT_EQ(sound.backMusicNo, 1);
  EXPECT_TRUE(sound.gameMusicOn);
  EXPECT_EQ(effectSlot(sound, EffectId::Menu), 0u);
  EXPECT_TRUE(sound.dataRoot.empty());
  EXPECT_FALSE(startTune(sound, 2, true));  // no data folder until the owner names one again
}

TEST_F(SoundsTest, TwoRecordsShareNothing) {
  SoundState other;
  other.dataRoot = root;
  ASSERT_TRUE(loadEffects(sound));
  ASSERT_TRUE(loadEffects(other));
  ASSERT_TRUE(startTune(sound, 1, true));
  EXPECT_FALSE(other.musicOn);
  // The other record has no music, so its notes come from its own plain set.
  EXPECT_TRUE(playNoteKey(other, 2));
  EXPECT_TRUE(isEffectPlaying(other, EffectId::NoteRe));
  EXPECT_FALSE(isEffectPlaying(sound, EffectId::NoteRe));
  EXPECT_FALSE(sound.musicBank->isPlaying(sound.musicNotes[static_cast<size_t>(Note::Re)]));
  stopMusic(other);
  EXPECT_TRUE(sound.musicOn);
  EXPECT_TRUE(sound.musicBank->isPlaying(sound.tune));
}

TEST_F(SoundsTest, BlockSoundsAreTheGrowAndShrinkEffects) {
  EXPECT_EQ(effectPath(EffectId::Grow), std::string(blockSoundFile(BlockSound::Grow)));
  EXPECT_EQ(effectPath(EffectId::Shrink), std::string(blockSoundFile(BlockSound::Shrink)));
}
