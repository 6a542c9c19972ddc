// Writing music down for the generator: melodies as text ("c5:1 e5:0.5 r:0.5 f#4:2", lengths in beats,
// bar lines "|" for the eye), chord charts ("C Am Dm,G7": one chord per bar, a comma halves the bar), and
// the instruments that play them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Synth.h"

struct NoteEvent {
  double beat = 0.0;
  double beats = 0.0;
  int midi = 0;  // 0 is a rest
};

struct Chord {
  int root = 0;                 // midi number of the root in octave 3 (C3 = 48)
  std::vector<int> intervals;   // semitones above the root, root first
  int tone(int index, int octaveShift = 0) const;  // chord tones by index, rising through octaves
};

struct ChordSlot {
  double beat = 0.0;
  double beats = 0.0;
  Chord chord;
};

// Parsing stops the generator with a message on a malformed token: a score is part of the source.
std::vector<NoteEvent> parseMelody(const std::string& text);
std::vector<ChordSlot> parseChords(const std::string& text, int beatsPerBar);
double totalBeats(const std::vector<NoteEvent>& melody);
// Stop the generator when a part does not fill the piece exactly.
void requireBeats(const char* piece, const char* part, double beats, double expected);

struct Tempo {
  double bpm = 120.0;
  double seconds(double beats) const { return beats * 60.0 / bpm; }
};

// An instrument plays one note: start and length in seconds, frequency in Hz, level 0..1.
using Instrument = std::function<void(Track&, double, double, double, float)>;

// Play a melody line; `legato` is the fraction of each note's length that sounds.
void playLine(Track& track, const std::vector<NoteEvent>& line, Tempo tempo, const Instrument& instrument, float level,
              double legato = 0.9, int transpose = 0);
// Play a chord's tones (the given indices) together.
void playChord(Track& track, const Chord& chord, const std::vector<int>& tones, double start, double length,
               const Instrument& instrument, float level, int octaveShift = 0);

// The timbres.
Instrument marimba();
Instrument pluck();
Instrument electricPiano();
Instrument accordion();
Instrument chip(float pulseBrightness);
Instrument bell();
Instrument brass();
Instrument bass();
Instrument softPad();
