// Which sound plays when: the effects bank and its required files, notes by key and by height, the music
// styles and their note sets, the music button, game tunes, dialogs, and the jingle waits.
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "platform/headless.h"
#include "platform/paths.h"
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
    setDataRootResolver([this] { return root; });
    resetSound();
  }

  void TearDown() override {
    resetSound();
    setDataRootResolver(nullptr);
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
  ASSERT_TRUE(loadEffects());
  SoundBank& bank = *soundState().effectsBank;
  for (int i = 0; i < kEffectCount; ++i) {
    EffectId effect = static_cast<EffectId>(i);
    EXPECT_EQ(effectSlot(effect), static_cast<uint32_t>(i + 1));
    EXPECT_EQ(heldBy(bank, effectSlot(effect)), fileName(effectPath(effect)));
  }
  EXPECT_EQ(fileName(effectPath(EffectId::Paint)), "paint.wav");
  EXPECT_TRUE(playEffect(EffectId::Menu));
  EXPECT_TRUE(isEffectPlaying(EffectId::Menu));
}

TEST_F(SoundsTest, AMissingCollisionSoundSilencesEveryEffectAfterTheClimb) {
  remove("coll.wav");
  EXPECT_FALSE(loadEffects());
  EXPECT_EQ(effectSlot(EffectId::Collision), 0u);
  EXPECT_NE(effectSlot(EffectId::Climb), 0u);
  for (int i = static_cast<int>(EffectId::BlockIn); i < kEffectCount; ++i)
    EXPECT_EQ(effectSlot(static_cast<EffectId>(i)), 0u) << i;
  EXPECT_FALSE(playEffect(EffectId::Menu));
  EXPECT_TRUE(playEffect(EffectId::PickUp));  // the ones before still play
}

TEST_F(SoundsTest, EachRequiredEffectStopsTheLoadingWhereItIsMissing) {
  for (EffectId required : {EffectId::BlockIn, EffectId::BlockOut, EffectId::Fanfare, EffectId::Pause}) {
    resetSound();
    std::string name = fileName(effectPath(required));
    std::string kept = folder.read("sound/" + name);
    remove(name);
    EXPECT_FALSE(loadEffects()) << name;
    EXPECT_NE(effectSlot(static_cast<EffectId>(static_cast<int>(required) - 1)), 0u) << name;
    for (int i = static_cast<int>(required); i < kEffectCount; ++i)
      EXPECT_EQ(effectSlot(static_cast<EffectId>(i)), 0u) << name << " " << i;
    ASSERT_TRUE(folder.write("sound/" + name, kept));
  }
}

TEST_F(SoundsTest, AMissingOrdinaryEffectIsSilentAlone) {
  remove("w1.wav");
  remove("menu.wav");
  EXPECT_TRUE(loadEffects());
  EXPECT_EQ(effectSlot(EffectId::PickUp), 0u);
  EXPECT_EQ(effectSlot(EffectId::Menu), 0u);
  EXPECT_NE(effectSlot(EffectId::PutDown), 0u);
  EXPECT_FALSE(playEffect(EffectId::PickUp));
  EXPECT_TRUE(playEffect(EffectId::PutDown));
}

TEST_F(SoundsTest, WithoutASoundCardEverythingIsSilent) {
  audioHeadlessSetNoDevice(true);
  EXPECT_FALSE(loadEffects());
  EXPECT_FALSE(playEffect(EffectId::Menu));
  EXPECT_FALSE(playNoteKey(1));
  EXPECT_FALSE(musicButton());
  EXPECT_FALSE(soundState().musicOn);
  uint32_t before = tickCount();
  loadJingle(JingleKind::Start);
  playJingle();
  waitForStartJingle();
  EXPECT_EQ(tickCount(), before);  // no wait for a jingle that cannot play
}

TEST_F(SoundsTest, CentredEffectsAndTheLoopingPaintSound) {
  ASSERT_TRUE(loadEffects());
  EXPECT_TRUE(playEffectCentred(EffectId::CameraTurn));
  EXPECT_TRUE(playEffectLooping(EffectId::Paint));
  headlessAdvanceClock(5000);
  EXPECT_TRUE(isEffectPlaying(EffectId::Paint));
  EXPECT_FALSE(isEffectPlaying(EffectId::CameraTurn));
  EXPECT_TRUE(stopEffect(EffectId::Paint));
  EXPECT_FALSE(isEffectPlaying(EffectId::Paint));
}

TEST_F(SoundsTest, WaitingForTheFanfareLastsAsLongAsIt) {
  ASSERT_TRUE(loadEffects());
  ASSERT_TRUE(playEffect(EffectId::Fanfare));
  uint32_t before = tickCount();
  waitWhileEffectPlays(EffectId::Fanfare);
  uint32_t waited = tickCount() - before;
  EXPECT_FALSE(isEffectPlaying(EffectId::Fanfare));
  EXPECT_GE(waited, lengths["fanfare4.wav"] - 10);
  EXPECT_LE(waited, lengths["fanfare4.wav"] + 20);
}

// [SECTION] Notes from the banks

TEST_F(SoundsTest, NotesComeFromThePlainSetWithoutMusic) {
  ASSERT_TRUE(loadEffects());
  EXPECT_TRUE(landingNote(60));
  EXPECT_TRUE(isEffectPlaying(EffectId::NoteRe));
  EXPECT_FALSE(landingNote(100));
  EXPECT_TRUE(bumpNote(64));
  EXPECT_FALSE(bumpNote(15));
  EXPECT_TRUE(playNoteKey(8));
  EXPECT_TRUE(isEffectPlaying(EffectId::NoteHighDo));
}

TEST_F(SoundsTest, NotesComeFromTheTunesSetWhileMusicPlays) {
  ASSERT_TRUE(loadEffects());
  ASSERT_TRUE(startTune(1, true));
  SoundState& s = soundState();
  EXPECT_EQ(heldBy(*s.musicBank, s.musicNotes[static_cast<size_t>(Note::Re)]), "stingRe.wav");
  EXPECT_TRUE(playNoteKey(2));
  EXPECT_TRUE(s.musicBank->isPlaying(s.musicNotes[static_cast<size_t>(Note::Re)]));
  EXPECT_FALSE(isEffectPlaying(EffectId::NoteRe));
}

TEST_F(SoundsTest, TheBallroomStyleSharesOneFileForFaAndSol) {
  ASSERT_TRUE(startTune(4, true));
  SoundState& s = soundState();
  uint32_t fa = s.musicNotes[static_cast<size_t>(Note::Fa)];
  EXPECT_NE(fa, 0u);
  EXPECT_EQ(fa, s.musicNotes[static_cast<size_t>(Note::Sol)]);
  EXPECT_EQ(heldBy(*s.musicBank, fa), "Note_g1.wav");
  EXPECT_EQ(heldBy(*s.musicBank, s.musicNotes[static_cast<size_t>(Note::Mi)]), "Note_e1.wav");
  EXPECT_EQ(s.musicBank->soundCount(), 8u);  // the tune and seven different notes
}

TEST_F(SoundsTest, EveryNoteOfAGameTuneIsTheGameSound) {
  for (int style : {5, 7, 8, 9}) {
    ASSERT_TRUE(startTune(style, true)) << style;
    SoundState& s = soundState();
    EXPECT_EQ(heldBy(*s.musicBank, s.tune), fileName(tuneFile(style)));
    for (uint32_t slot : s.musicNotes) EXPECT_EQ(heldBy(*s.musicBank, slot), "gamecoll.wav") << style;
    EXPECT_EQ(s.musicBank->soundCount(), 2u);
  }
}

TEST_F(SoundsTest, AMissingNoteLeavesTheStyleWithOneSilentNote) {
  remove("waltzMi.wav");
  ASSERT_TRUE(startTune(2, true));
  SoundState& s = soundState();
  EXPECT_EQ(s.musicNotes[static_cast<size_t>(Note::Mi)], 0u);
  EXPECT_FALSE(playNoteKey(3));
  EXPECT_TRUE(playNoteKey(4));
}

// [SECTION] Music

TEST_F(SoundsTest, TheMusicButtonStopsAndSelectsTheNextStyleInTurn) {
  SoundState& s = soundState();
  HCursor cursor = currentCursor();
  const int expected[] = {1, 2, 3, 4, 1};
  for (int round = 0; round < 5; ++round) {
    EXPECT_TRUE(musicButton()) << round;
    ASSERT_TRUE(s.musicOn);
    EXPECT_EQ(s.tuneStyle, expected[round]);
    EXPECT_TRUE(s.musicBank->isPlaying(s.tune));
    headlessAdvanceClock(5000);
    EXPECT_TRUE(s.musicBank->isPlaying(s.tune));  // the tune loops
    EXPECT_FALSE(musicButton());
    EXPECT_FALSE(s.musicOn);
    EXPECT_EQ(s.musicBank, nullptr);
  }
  EXPECT_EQ(s.backMusicNo, 2);
  EXPECT_EQ(currentCursor(), cursor);  // the wait cursor is gone again
}

TEST_F(SoundsTest, AStyleWhoseTuneIsMissingLeavesTheMusicOff) {
  remove("waltz.wav");
  SoundState& s = soundState();
  s.backMusicNo = 2;
  EXPECT_FALSE(musicButton());
  EXPECT_FALSE(s.musicOn);
  EXPECT_EQ(s.backMusicNo, 2);
  EXPECT_FALSE(startTune(2, true));
  EXPECT_FALSE(s.musicOn);
  EXPECT_TRUE(startTune(3, true));
  EXPECT_TRUE(startTune(3, false));  // stops without loading
  EXPECT_FALSE(s.musicOn);
  EXPECT_FALSE(loadMusicStyle(0));
  EXPECT_FALSE(loadMusicStyle(10));
}

TEST_F(SoundsTest, MusicNeedsTheDataFolder) {
  setDataRootResolver([] { return std::string(); });
  EXPECT_FALSE(startTune(1, true));
  EXPECT_FALSE(soundState().musicOn);
  setDataRootResolver([this] { return folder.path() + "/no such folder"; });
  EXPECT_FALSE(startTune(1, true));
  setDataRootResolver([this] { return root; });
  EXPECT_TRUE(startTune(1, true));
}

TEST_F(SoundsTest, GameTunesFollowOneAnotherWhileGameMusicIsOn) {
  SoundState& s = soundState();
  ASSERT_TRUE(startTune(5, true));
  resetGameTunes();
  const int expected[] = {7, 8, 9, 5, 7};
  for (int tune : expected) {
    loadGameTune();
    playGameTune();
    EXPECT_TRUE(s.musicOn);
    EXPECT_EQ(s.tuneStyle, tune);
    EXPECT_TRUE(s.musicBank->isPlaying(s.tune));
  }
  toggleGameMusic();
  loadGameTune();
  playGameTune();
  EXPECT_FALSE(s.musicOn);
  EXPECT_EQ(s.nextGameTune, 8);  // unchanged while game music is off
  toggleGameMusic();
  EXPECT_TRUE(s.gameMusicOn);
}

TEST_F(SoundsTest, AGameTuneThatFailsToLoadDoesNotTurnTheMusicOn) {
  remove("game2.wav");
  SoundState& s = soundState();
  s.nextGameTune = 7;
  loadGameTune();
  playGameTune();
  EXPECT_FALSE(s.musicOn);
  EXPECT_EQ(s.nextGameTune, 8);
}

TEST_F(SoundsTest, TheGameFileDialogRestoresOnlyMusicThatWasOn) {
  SoundState& s = soundState();
  stopMusicForDialog();
  restoreMusicAfterDialog();
  EXPECT_FALSE(s.musicOn);
  s.backMusicNo = 3;
  ASSERT_TRUE(startBackgroundMusic());
  stopMusicForDialog();
  EXPECT_FALSE(s.musicOn);
  EXPECT_TRUE(s.musicWasOn);
  restoreMusicAfterDialog();
  EXPECT_TRUE(s.musicOn);
  EXPECT_EQ(s.tuneStyle, 3);
}

TEST_F(SoundsTest, TheCastTuneHasNoNotesAndEndsWithTheDialog) {
  ASSERT_TRUE(loadEffects());
  ASSERT_TRUE(startTune(1, true));
  ASSERT_TRUE(startCastMusic());
  SoundState& s = soundState();
  EXPECT_EQ(heldBy(*s.musicBank, s.tune), "cast.wav");
  for (uint32_t slot : s.musicNotes) EXPECT_EQ(slot, 0u);
  stopCastMusic();
  EXPECT_FALSE(s.musicOn);
  EXPECT_TRUE(playNoteKey(1));  // back to the plain notes
}

TEST_F(SoundsTest, PausedMusicResumesWhereItStopped) {
  SoundState& s = soundState();
  ASSERT_TRUE(startTune(1, true));
  headlessAdvanceClock(500);
  pauseMusic();
  uint32_t at = s.musicBank->position(s.tune);
  EXPECT_FALSE(s.musicBank->isPlaying(s.tune));
  headlessAdvanceClock(700);
  resumeMusic();
  EXPECT_TRUE(s.musicBank->isPlaying(s.tune));
  EXPECT_EQ(s.musicBank->position(s.tune), at);
}

// [SECTION] Jingles

TEST_F(SoundsTest, StartUpWaitsForTheWholeStartJingle) {
  ASSERT_TRUE(loadJingle(JingleKind::Start));
  ASSERT_TRUE(playJingle());
  EXPECT_TRUE(jingleIsPlaying());
  uint32_t before = tickCount();
  waitForStartJingle();
  uint32_t waited = tickCount() - before;
  EXPECT_GE(waited, 2990u);
  EXPECT_LE(waited, 3020u);
  EXPECT_EQ(soundState().jingleBank, nullptr);
  EXPECT_TRUE(startBackgroundMusic());
  EXPECT_EQ(soundState().tuneStyle, 1);
}

TEST_F(SoundsTest, TheQuitJingleStopsTheMusicAndEndsOnEscape) {
  SoundState& s = soundState();
  ASSERT_TRUE(startBackgroundMusic());
  uint32_t before = tickCount();
  int asked = 0;
  playQuitJingleAndWait([&] { return ++asked > 20; });
  uint32_t waited = tickCount() - before;
  EXPECT_FALSE(s.musicOn);
  EXPECT_EQ(s.jingleBank, nullptr);
  EXPECT_GE(waited, 300u);
  EXPECT_LT(waited, 1000u);

  before = tickCount();
  playQuitJingleAndWait([] { return false; });
  waited = tickCount() - before;
  EXPECT_GE(waited, 1490u);
  EXPECT_LE(waited, 1520u);
}

TEST_F(SoundsTest, AMissingJingleIsNoWait) {
  remove("start.wav");
  EXPECT_FALSE(loadJingle(JingleKind::Start));
  EXPECT_FALSE(playJingle());
  uint32_t before = tickCount();
  waitForStartJingle();
  EXPECT_EQ(tickCount(), before);
}
