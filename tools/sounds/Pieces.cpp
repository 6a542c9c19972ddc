// The tunes, written out bar by bar, with the accompaniments that carry them: oom-pah-pah for the waltz,
// oom-pah for the polka, plucked bass and off-beat chords for the string piece, a walking bass for the
// ballroom, chip bass and drums for the game, arpeggios for the cast.
//
// Index: [SECTION] Accompaniment  [SECTION] Background tunes  [SECTION] Game tunes  [SECTION] Cast and jingles

#include "Pieces.h"

#include "Score.h"

// [SECTION] Accompaniment

namespace {

enum class Hit { Root, Fifth, RootOrFifth, Chord, HighChord };

struct Step {
  double beat;     // within the chord's slot
  Hit hit;
  double beats;    // how long it sounds
};

// Play a pattern over every chord of the chart; a slot shorter than a bar plays the pattern's steps that
// fall inside it.
void accompany(Track& track, const std::vector<ChordSlot>& chart, Tempo tempo, const std::vector<Step>& pattern,
               const Instrument& low, const Instrument& chords, float bassLevel, float chordLevel, int chordOctave = 1) {
  for (size_t i = 0; i < chart.size(); ++i) {
    const ChordSlot& slot = chart[i];
    for (const Step& step : pattern) {
      if (step.beat >= slot.beats - 1e-9) continue;
      double start = tempo.seconds(slot.beat + step.beat);
      double length = tempo.seconds(step.beats);
      switch (step.hit) {
        case Hit::Root:
          low(track, start, length, midiToHz(slot.chord.root - 12), bassLevel);
          break;
        case Hit::Fifth:
          low(track, start, length, midiToHz(slot.chord.root - 5), bassLevel * 0.9f);
          break;
        case Hit::RootOrFifth:  // the root on odd bars, the fifth below on even ones
          low(track, start, length, midiToHz(slot.chord.root - (i % 2 ? 5 : 12)), bassLevel);
          break;
        case Hit::Chord:
          playChord(track, slot.chord, {2, 3, 4}, start, length, chords, chordLevel, chordOctave - 1);
          break;
        case Hit::HighChord:
          playChord(track, slot.chord, {2, 3, 4}, start, length, chords, chordLevel, chordOctave);
          break;
      }
    }
  }
}

// A walking bass: root, third, fifth, then a step into the next chord's root from a semitone away.
void walkingBass(Track& track, const std::vector<ChordSlot>& chart, Tempo tempo, const Instrument& low, float level) {
  for (size_t i = 0; i < chart.size(); ++i) {
    const ChordSlot& slot = chart[i];
    const Chord& chord = slot.chord;
    int nextRoot = chart[(i + 1) % chart.size()].chord.root;
    std::vector<int> notes;
    if (slot.beats >= 4) notes = {chord.root, chord.tone(1), chord.tone(2), nextRoot + (nextRoot > chord.root ? -1 : 1)};
    else notes = {chord.root, nextRoot + (nextRoot > chord.root ? -1 : 1)};
    for (size_t n = 0; n < notes.size(); ++n)
      low(track, tempo.seconds(slot.beat + static_cast<double>(n)), tempo.seconds(0.85), midiToHz(notes[n] - 12), level);
  }
}

enum class Drum { Kick, Snare, Hat };

struct DrumHit {
  double beat;
  Drum drum;
  float level;
};

void drums(Track& track, Tempo tempo, int bars, int beatsPerBar, const std::vector<DrumHit>& pattern, float level) {
  uint32_t seed = 0x1234567u;
  for (int bar = 0; bar < bars; ++bar) {
    for (const DrumHit& hit : pattern) {
      double start = tempo.seconds(bar * beatsPerBar + hit.beat);
      seed = seed * 1664525u + 1013904223u;
      switch (hit.drum) {
        case Drum::Kick: playKick(track, start, level * hit.level); break;
        case Drum::Snare: playSnare(track, start, level * hit.level, seed); break;
        case Drum::Hat: playHat(track, start, level * hit.level, seed); break;
      }
    }
  }
}

// A tune's loop: its own length exactly, so the last bar runs straight into the first.
Track loopFor(const char* name, const std::vector<NoteEvent>& melody, const std::vector<ChordSlot>& chart, Tempo tempo,
              int bars, int beatsPerBar) {
  double beats = static_cast<double>(bars * beatsPerBar);
  requireBeats(name, "melody", totalBeats(melody), beats);
  double chartBeats = chart.empty() ? 0.0 : chart.back().beat + chart.back().beats;
  requireBeats(name, "chords", chartBeats, beats);
  return Track(tempo.seconds(beats), true);
}

void finish(Track& track, float wet) {
  highPass(track, 35.0);
  reverb(track, wet, 0.03);
  track.normalise(0.42f);  // background music stays under the effects
}

}  // namespace

// [SECTION] Background tunes

Track stingTune() {
  Tempo tempo{104};
  auto melody = parseMelody(
      "c5:0.5 e5:0.5 g5:0.5 e5:0.5 c6:1 g5:1 | a5:0.5 g5:0.5 e5:0.5 c5:0.5 a4:1 c5:1 |"
      "f5:0.5 a5:0.5 c6:0.5 a5:0.5 f5:1 a5:1 | g5:0.5 f5:0.5 e5:0.5 d5:0.5 b4:1 d5:1 |"
      "e5:0.5 g5:0.5 c6:0.5 g5:0.5 e5:1 c5:1 | c5:0.5 e5:0.5 a5:0.5 e5:0.5 c6:1 a5:1 |"
      "f5:0.5 e5:0.5 d5:0.5 f5:0.5 b5:0.5 a5:0.5 g5:0.5 f5:0.5 | e5:1 c5:1 g4:1 r:1 |"
      "a5:1 c6:0.5 a5:0.5 f5:1 c5:1 | g5:1 e5:0.5 g5:0.5 c6:1 g5:1 |"
      "f5:0.5 g5:0.5 a5:0.5 f5:0.5 d5:1 a5:1 | b5:0.5 a5:0.5 g5:0.5 f5:0.5 d5:2 |"
      "e5:0.5 g5:0.5 b5:0.5 g5:0.5 e5:1 b4:1 | c5:0.5 e5:0.5 a5:0.5 c6:0.5 e6:1 c6:1 |"
      "d6:0.5 c6:0.5 a5:0.5 f5:0.5 g5:0.5 f5:0.5 d5:0.5 b4:0.5 | c5:1 e5:1 c5:1 r:1");
  auto chart = parseChords("C Am F G C Am Dm,G C F C Dm G Em Am Dm,G7 C", 4);
  Track track = loopFor("sting", melody, chart, tempo, 16, 4);
  playLine(track, melody, tempo, pluck(), 0.55f, 0.9);
  // A second, lower desk doubles the tune a sixth below in the second half for warmth.
  auto counter = parseMelody("r:32 | e4:4 | e4:4 | d4:4 | d4:4 | c4:4 | c4:4 | a3:2 b3:2 | c4:4");
  requireBeats("sting", "counter", totalBeats(counter), 64);
  playLine(track, counter, tempo, softPad(), 0.12f, 0.95);
  accompany(track, chart, tempo,
            {{0, Hit::Root, 0.8}, {1, Hit::Chord, 0.4}, {2, Hit::Fifth, 0.8}, {3, Hit::Chord, 0.4}},
            pluck(), pluck(), 0.5f, 0.16f);
  finish(track, 0.25f);
  return track;
}

Track waltzTune() {
  Tempo tempo{156};
  std::string a = "e5:2 d5:1 | c5:2 e5:1 | f5:2 e5:1 | d5:3 | g5:2 f5:1 | e5:2 a5:1 | f#5:2 e5:1 | d5:3 |";
  std::string a2 = "e5:2 d5:1 | c5:2 e5:1 | a5:2 g5:1 | f5:2 d5:1 | e5:1 g5:1 c6:1 | a5:2 f5:1 | g5:1 f5:1 d5:1 |";
  std::string b = "c5:1 f5:1 a5:1 | c6:2 a5:1 | g5:1 e5:1 c5:1 | g5:3 | f#5:1 a5:1 c6:1 | a5:2 f#5:1 |"
                  "g5:1 b5:1 d6:1 | b4:1 d5:1 f5:1 |";
  auto melody = parseMelody(a + a2 + "c5:3 |" + b + a2 + "c5:2 g4:1");
  auto chart = parseChords("C Am Dm G7 C Am D7 G7  C Am Dm G7 C F G7 C  F F C C D7 D7 G G7  C Am Dm G7 C F G7 C", 3);
  Track track = loopFor("waltz", melody, chart, tempo, 32, 3);
  playLine(track, melody, tempo, electricPiano(), 0.5f, 0.95);
  // Oom-pah-pah: the bass on the downbeat, light chords on two and three.
  accompany(track, chart, tempo, {{0, Hit::RootOrFifth, 1.2}, {1, Hit::Chord, 0.5}, {2, Hit::Chord, 0.5}}, bass(),
            electricPiano(), 0.5f, 0.13f);
  auto strings = parseMelody("r:48 | c5:6 | c5:6 | b4:6 | b4:6 | c5:6 | d5:6 | c5:6 | b4:3 c5:3");
  requireBeats("waltz", "strings", totalBeats(strings), 96);
  playLine(track, strings, tempo, softPad(), 0.1f, 1.0);
  finish(track, 0.3f);
  return track;
}

Track polkaTune() {
  Tempo tempo{128};
  std::string a =
      "g4:0.5 c5:0.5 e5:0.5 g5:0.5 | e5:1 c5:1 | f5:0.5 d5:0.5 b4:0.5 d5:0.5 | f5:1 d5:1 |"
      "g5:0.5 f5:0.5 e5:0.5 d5:0.5 | b4:0.5 d5:0.5 f5:0.5 b5:0.5 | c6:0.5 g5:0.5 e5:0.5 g5:0.5 | c6:1 r:1 |";
  std::string a2 =
      "g4:0.5 c5:0.5 e5:0.5 g5:0.5 | a5:0.5 g5:0.5 e5:0.5 c5:0.5 | d5:0.5 f5:0.5 a5:0.5 g5:0.5 | f5:1 d5:1 |"
      "b4:0.5 c5:0.5 d5:0.5 e5:0.5 | f5:0.5 g5:0.5 a5:0.5 b5:0.5 | c6:0.5 e5:0.5 g5:0.5 e5:0.5 | c5:1 r:1 |";
  std::string b =
      "a5:0.5 a5:0.5 a5:0.5 g5:0.5 | f5:1 c5:1 | g5:0.5 g5:0.5 g5:0.5 f5:0.5 | e5:1 c5:1 |"
      "d5:0.5 e5:0.5 f5:0.5 g5:0.5 | a5:0.5 g5:0.5 f5:0.5 d5:0.5 | e5:0.5 g5:0.5 c6:0.5 g5:0.5 | e5:1 r:1 |";
  auto melody = parseMelody(a + a2 + b + a2);
  auto chart = parseChords("C C G7 G7 G7 G7 C C  C C G7 G7 G7 G7 C C  F F C C G7 G7 C C  C C G7 G7 G7 G7 C C", 2);
  Track track = loopFor("polka", melody, chart, tempo, 32, 2);
  playLine(track, melody, tempo, accordion(), 0.42f, 0.72);  // detached, as the dance wants
  // Oom-pah: bass on the beats (root, then fifth), short chords on the off-beats.
  accompany(track, chart, tempo,
            {{0, Hit::Root, 0.45}, {0.5, Hit::Chord, 0.22}, {1, Hit::Fifth, 0.45}, {1.5, Hit::Chord, 0.22}}, bass(),
            accordion(), 0.55f, 0.07f);
  drums(track, tempo, 32, 2, {{0, Drum::Kick, 0.5f}, {0.5, Drum::Hat, 0.35f}, {1, Drum::Kick, 0.4f}, {1.5, Drum::Hat, 0.35f}},
        0.6f);
  finish(track, 0.18f);
  return track;
}

Track ballroomTune() {
  Tempo tempo{92};
  auto melody = parseMelody(
      "e5:1.5 g5:0.5 b5:1 a5:1 | g5:2 e5:1 c5:1 | f5:1.5 a5:0.5 c6:1 b5:1 | a5:2 g5:1 f5:1 |"
      "e5:1.5 g5:0.5 b5:1 d6:1 | c#6:2 a5:1 g5:1 | f5:1 a5:1 g5:1 b4:1 | c5:3 r:1 |"
      "a5:1.5 c6:0.5 e6:1 c6:1 | ab5:2 f5:1 d5:1 | g5:1.5 e5:0.5 b5:1 g5:1 | e5:2 c#5:1 e5:1 |"
      "f5:1 a5:1 d6:1 c6:1 | b5:1 g5:1 f5:1 d5:1 | e5:1 g5:1 a5:1 c6:1 | d6:1 c6:1 b5:1 g5:1");
  auto chart = parseChords("Cmaj7 Am7 Dm7 G7 Em7 A7 Dm7,G7 Cmaj7 Fmaj7 Fm6 Em7 A7 Dm7 G7 C6 Dm7,G7", 4);
  Track track = loopFor("bal", melody, chart, tempo, 16, 4);
  playLine(track, melody, tempo, marimba(), 0.55f, 0.9);
  walkingBass(track, chart, tempo, bass(), 0.5f);
  // Soft chords on one and the "and" of two.
  accompany(track, chart, tempo, {{0, Hit::Chord, 1.2}, {1.5, Hit::Chord, 1.0}}, bass(), softPad(), 0.0f, 0.07f);
  drums(track, tempo, 16, 4, {{1, Drum::Hat, 0.5f}, {3, Drum::Hat, 0.5f}, {2.5, Drum::Hat, 0.25f}, {3.5, Drum::Hat, 0.25f}},
        0.5f);
  finish(track, 0.28f);
  return track;
}

// [SECTION] Game tunes

namespace {

struct GamePiece {
  const char* name;
  double bpm;
  const char* melody;
  const char* chords;
  float brightness;
  std::vector<DrumHit> beat;
};

Track playGamePiece(const GamePiece& piece) {
  Tempo tempo{piece.bpm};
  auto melody = parseMelody(piece.melody);
  auto chart = parseChords(piece.chords, 4);
  Track track = loopFor(piece.name, melody, chart, tempo, 16, 4);
  playLine(track, melody, tempo, chip(piece.brightness), 0.4f, 0.8);
  // An echo of the tune an octave down and a little late fills the second voice.
  playLine(track, melody, tempo, chip(0.5f), 0.1f, 0.6, -12);
  // Chip bass: root and octave in eighths.
  std::vector<Step> bassLine;
  for (int i = 0; i < 8; ++i) bassLine.push_back({i * 0.5, i % 2 ? Hit::Fifth : Hit::Root, 0.4});
  accompany(track, chart, tempo, bassLine, bass(), chip(0.3f), 0.45f, 0.0f);
  accompany(track, chart, tempo, {{0, Hit::Chord, 1.8}, {2, Hit::Chord, 1.8}}, bass(), softPad(), 0.0f, 0.06f);
  drums(track, tempo, 16, 4, piece.beat, 0.7f);
  finish(track, 0.15f);
  return track;
}

}  // namespace

Track gameTune(int number) {
  std::vector<DrumHit> straight = {{0, Drum::Kick, 1.0f}, {1, Drum::Snare, 0.7f}, {2, Drum::Kick, 1.0f},
                                   {3, Drum::Snare, 0.7f}};
  for (int i = 0; i < 8; ++i) straight.push_back({i * 0.5, Drum::Hat, i % 2 ? 0.45f : 0.3f});
  std::vector<DrumHit> bouncy = {{0, Drum::Kick, 1.0f}, {1, Drum::Snare, 0.7f}, {1.5, Drum::Kick, 0.6f},
                                 {2.5, Drum::Kick, 0.8f}, {3, Drum::Snare, 0.7f}};
  for (int i = 0; i < 4; ++i) bouncy.push_back({i + 0.5, Drum::Hat, 0.45f});
  std::vector<DrumHit> driving = {{0, Drum::Kick, 1.0f}, {1, Drum::Snare, 0.7f}, {1.5, Drum::Kick, 0.7f},
                                  {2, Drum::Kick, 1.0f}, {3, Drum::Snare, 0.8f}, {3.75, Drum::Snare, 0.3f}};
  for (int i = 0; i < 8; ++i) driving.push_back({i * 0.5, Drum::Hat, 0.35f});

  switch (number) {
    case 1:
      return playGamePiece({"game1", 140,
                            "c5:0.5 e5:0.5 g5:1 e5:0.5 g5:0.5 c6:1 | a5:0.5 g5:0.5 f5:0.5 a5:0.5 c6:2 |"
                            "g5:0.5 e5:0.5 c5:0.5 e5:0.5 g5:1 e5:1 | d5:0.5 e5:0.5 f5:0.5 g5:0.5 b4:1 g4:1 |"
                            "c5:0.5 e5:0.5 g5:1 e5:0.5 g5:0.5 c6:1 | d6:0.5 c6:0.5 a5:0.5 f5:0.5 c6:2 |"
                            "b5:0.5 a5:0.5 g5:0.5 f5:0.5 d5:1 b4:1 | c5:1 g4:1 c5:2 |"
                            "e5:1 a5:1 c6:1 a5:1 | g5:1 e5:0.5 g5:0.5 b5:2 |"
                            "a5:0.5 g5:0.5 f5:0.5 e5:0.5 f5:1 a5:1 | g5:0.5 f5:0.5 e5:0.5 d5:0.5 c5:2 |"
                            "d5:0.5 f5:0.5 a5:1 f5:0.5 a5:0.5 d6:1 | b5:0.5 a5:0.5 g5:0.5 f5:0.5 e5:1 d5:1 |"
                            "e5:0.5 g5:0.5 c6:1 b5:0.5 a5:0.5 g5:0.5 f5:0.5 | e5:1 c5:1 g4:1 r:1",
                            "C F C G C F G C Am Em F C Dm G C,G7 C", 0.75f, straight});
    case 2:
      return playGamePiece({"game2", 150,
                            "f5:0.5 a5:1 c6:0.5 r:0.5 a5:0.5 c6:1 | d6:0.5 c6:1 a5:0.5 r:0.5 f5:0.5 a5:1 |"
                            "bb5:0.5 a5:0.5 g5:0.5 f5:0.5 d5:1 f5:1 | e5:0.5 g5:1 c6:0.5 r:0.5 bb5:0.5 g5:1 |"
                            "f5:0.5 a5:1 c6:0.5 r:0.5 a5:0.5 f6:1 | e6:0.5 d6:1 a5:0.5 r:0.5 f5:0.5 d5:1 |"
                            "g5:0.5 bb5:0.5 d6:1 c6:0.5 bb5:0.5 g5:0.5 e5:0.5 | f5:1.5 c5:0.5 f5:1 r:1 |"
                            "d6:1 bb5:0.5 f5:0.5 r:0.5 f5:0.5 bb5:1 | c6:1 g5:0.5 e5:0.5 r:0.5 e5:0.5 g5:1 |"
                            "a5:0.5 c6:0.5 e6:1 c6:0.5 a5:0.5 e5:1 | f5:0.5 a5:0.5 d6:1 a5:1 f5:1 |"
                            "bb5:0.5 a5:0.5 bb5:0.5 d6:0.5 f6:1 d6:1 | g5:0.5 a5:0.5 bb5:0.5 g5:0.5 d6:2 |"
                            "c6:0.5 bb5:0.5 g5:0.5 e5:0.5 c5:0.5 e5:0.5 g5:0.5 bb5:0.5 | a5:1 f5:1 c5:1 r:1",
                            "F Dm Bb C F Dm Gm,C F Bb C Am Dm Bb Gm C7 F", 0.6f, bouncy});
    case 3:
      return playGamePiece({"game3", 132,
                            "a4:0.5 c5:0.5 e5:0.5 a5:0.5 g5:0.5 e5:0.5 c5:1 | d5:0.5 e5:0.5 c5:0.5 a4:0.5 e5:2 |"
                            "f5:0.5 e5:0.5 d5:0.5 c5:0.5 a4:1 c5:1 | b4:0.5 c5:0.5 d5:0.5 g5:0.5 b5:2 |"
                            "a5:0.5 c6:0.5 b5:0.5 a5:0.5 e5:1 a5:1 | g5:0.5 a5:0.5 e5:0.5 c5:0.5 a4:2 |"
                            "d5:0.5 f5:0.5 a5:1 g5:0.5 f5:0.5 d5:1 | e5:0.5 g#5:0.5 b5:1 e5:2 |"
                            "c6:1.5 a5:0.5 f5:1 a5:1 | b5:1.5 g5:0.5 d5:1 g5:1 |"
                            "e5:0.5 g5:0.5 b5:0.5 e6:0.5 d6:1 b5:1 | c6:1.5 b5:0.5 a5:2 |"
                            "f5:0.5 a5:0.5 d6:0.5 a5:0.5 f5:0.5 d5:0.5 f5:1 | e5:0.5 g#5:0.5 b5:0.5 d6:0.5 e6:2 |"
                            "c6:0.5 b5:0.5 a5:0.5 e5:0.5 c5:0.5 e5:0.5 a5:1 | g#5:1 b5:1 e5:1 e4:1",
                            "Am Am F G Am Am Dm E F G Em Am Dm E7 Am E7", 0.85f, driving});
    default:
      return playGamePiece({"game4", 160,
                            "g5:0.5 g5:0.5 b5:0.5 d6:0.5 b5:0.5 g5:0.5 d5:1 | e5:0.5 f#5:0.5 g5:0.5 a5:0.5 b5:2 |"
                            "c6:0.5 b5:0.5 a5:0.5 g5:0.5 e5:1 g5:1 | f#5:0.5 e5:0.5 d5:0.5 e5:0.5 f#5:1 a5:1 |"
                            "g5:0.5 g5:0.5 b5:0.5 d6:0.5 g6:1 d6:1 | e6:0.5 d6:0.5 b5:0.5 g5:0.5 e5:2 |"
                            "a5:0.5 b5:0.5 c6:0.5 a5:0.5 e5:1 c6:1 | b5:0.5 a5:0.5 f#5:0.5 e5:0.5 d5:2 |"
                            "e5:0.5 g5:0.5 c6:1 e6:1 c6:1 | f#5:0.5 a5:0.5 d6:1 f#6:1 d6:1 |"
                            "d6:0.5 c#6:0.5 b5:0.5 f#5:0.5 d5:1 f#5:1 | g5:0.5 f#5:0.5 e5:0.5 b4:0.5 e5:2 |"
                            "c6:1 b5:0.5 a5:0.5 g5:1 e5:1 | d5:0.5 e5:0.5 f#5:0.5 g5:0.5 a5:1 d6:1 |"
                            "b5:0.5 d6:0.5 g6:1 f#6:0.5 e6:0.5 d6:0.5 c6:0.5 | b5:1 g5:1 d5:1 r:1",
                            "G G C D G Em Am D C D Bm Em C D G,D G", 0.7f, straight});
  }
}

// [SECTION] Cast and jingles

Track castTune() {
  Tempo tempo{84};
  auto melody = parseMelody(
      "e5:2 g5:1 e5:1 | d5:3 b4:1 | c5:2 e5:1 a5:1 | g5:3 r:1 | a5:2 c6:1 a5:1 | g5:2 e5:1 c5:1 |"
      "f5:1 a5:1 c6:1 a5:1 | g5:3 r:1 | e6:2 d6:1 c6:1 | b5:2 d6:1 b5:1 | c6:2 a5:1 e5:1 | g5:2 b5:1 g5:1 |"
      "a5:1.5 g5:0.5 f5:1 a5:1 | g5:1.5 f5:0.5 e5:1 c5:1 | d5:1 f5:1 b4:1 d5:1 | c5:3 r:1");
  auto chart = parseChords("C G Am Em F C F G C G Am Em F C Dm,G C", 4);
  Track track = loopFor("cast", melody, chart, tempo, 16, 4);
  playLine(track, melody, tempo, bell(), 0.45f, 0.95);
  // Rolling arpeggios in eighths on the electric piano.
  for (const ChordSlot& slot : chart) {
    for (int i = 0; i < 8 && i * 0.5 < slot.beats - 1e-9; ++i) {
      int tone = slot.chord.tone(i % 4 == 0 ? 0 : (i % 2 ? 1 : 2), 1);
      if (i == 2 || i == 6) tone = slot.chord.tone(0, 2);
      electricPiano()(track, tempo.seconds(slot.beat + i * 0.5), tempo.seconds(0.45), midiToHz(tone), 0.13f);
    }
    bass()(track, tempo.seconds(slot.beat), tempo.seconds(slot.beats * 0.9), midiToHz(slot.chord.root - 12), 0.4f);
  }
  accompany(track, chart, tempo, {{0, Hit::Chord, 3.9}}, bass(), softPad(), 0.0f, 0.06f);
  finish(track, 0.35f);
  return track;
}

Track startJingle() {
  Track track(3.4, false);
  Tempo tempo{150};
  // A rising call on the horn, a bright chord held, and a sparkle of bells above it.
  auto call = parseMelody("g4:0.5 c5:0.5 e5:0.5 g5:0.5 c6:4");
  playLine(track, call, tempo, brass(), 0.35f, 0.95);
  Chord major = parseChords("C", 4)[0].chord;
  playChord(track, major, {0, 1, 2}, tempo.seconds(2), tempo.seconds(3.5), brass(), 0.2f, 1);
  bass()(track, tempo.seconds(2), tempo.seconds(3.5), midiToHz(36), 0.5f);
  auto sparkle = parseMelody("r:2.25 c6:0.25 e6:0.25 g6:0.25 c7:2");
  playLine(track, sparkle, tempo, bell(), 0.22f, 1.0);
  playKick(track, tempo.seconds(2), 0.6f);
  reverb(track, 0.3f, 0.03);
  track.trim(0.0008f, 0.25);
  track.normalise(0.7f);
  return track;
}

Track quitJingle() {
  Track track(1.9, false);
  Tempo tempo{160};
  // Good-bye: three falling bell notes settling on a soft chord.
  auto farewell = parseMelody("g5:0.5 e5:0.5 c5:2.5");
  playLine(track, farewell, tempo, bell(), 0.4f, 1.0);
  Chord major = parseChords("C", 4)[0].chord;
  playChord(track, major, {0, 1, 2}, tempo.seconds(1), tempo.seconds(1.8), electricPiano(), 0.18f, 1);
  bass()(track, tempo.seconds(1), tempo.seconds(1.8), midiToHz(36), 0.35f);
  reverb(track, 0.3f, 0.03);
  track.trim(0.0008f, 0.25);
  track.normalise(0.7f);
  return track;
}
