// Melody and chord parsing, and the instruments the pieces are played on.
//
// Index: [SECTION] Parsing  [SECTION] Playing  [SECTION] Instruments

#include "Score.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

// [SECTION] Parsing

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "sound generator: %s\n", what.c_str());
  std::exit(1);
}

int pitchClass(char letter) {
  switch (letter) {
    case 'c': case 'C': return 0;
    case 'd': case 'D': return 2;
    case 'e': case 'E': return 4;
    case 'f': case 'F': return 5;
    case 'g': case 'G': return 7;
    case 'a': case 'A': return 9;
    case 'b': case 'B': return 11;
    default: return -1;
  }
}

}  // namespace

int Chord::tone(int index, int octaveShift) const {
  int size = static_cast<int>(intervals.size());
  int octave = index / size;
  return root + intervals[static_cast<size_t>(index % size)] + 12 * (octave + octaveShift);
}

std::vector<NoteEvent> parseMelody(const std::string& text) {
  std::vector<NoteEvent> line;
  std::string spaced = text;
  for (char& c : spaced)
    if (c == '|') c = ' ';  // bar lines are for the reader
  std::istringstream words(spaced);
  std::string word;
  double beat = 0.0;
  while (words >> word) {
    size_t colon = word.find(':');
    if (colon == std::string::npos) fail("note without a length: " + word);
    std::string pitch = word.substr(0, colon);
    double beats = std::atof(word.c_str() + colon + 1);
    if (beats <= 0.0) fail("bad length: " + word);
    int midi = 0;
    if (pitch != "r") {
      int pc = pitchClass(pitch.empty() ? '?' : pitch[0]);
      size_t at = 1;
      if (pc < 0) fail("bad pitch: " + word);
      if (at < pitch.size() && pitch[at] == '#') { ++pc; ++at; }
      else if (at < pitch.size() && pitch[at] == 'b' && at + 1 < pitch.size()) { --pc; ++at; }
      if (at >= pitch.size() || pitch[at] < '0' || pitch[at] > '8') fail("bad octave: " + word);
      midi = 12 * (pitch[at] - '0' + 1) + pc;
    }
    line.push_back({beat, beats, midi});
    beat += beats;
  }
  return line;
}

namespace {

Chord parseChord(const std::string& name) {
  if (name.empty()) fail("empty chord");
  int pc = pitchClass(name[0]);
  if (pc < 0) fail("bad chord: " + name);
  size_t at = 1;
  if (at < name.size() && name[at] == '#') { ++pc; ++at; }
  else if (at < name.size() && name[at] == 'b') { --pc; ++at; }
  std::string kind = name.substr(at);
  Chord chord;
  chord.root = 48 + (pc + 12) % 12;
  if (kind.empty()) chord.intervals = {0, 4, 7};
  else if (kind == "m") chord.intervals = {0, 3, 7};
  else if (kind == "7") chord.intervals = {0, 4, 7, 10};
  else if (kind == "m7") chord.intervals = {0, 3, 7, 10};
  else if (kind == "maj7") chord.intervals = {0, 4, 7, 11};
  else if (kind == "6") chord.intervals = {0, 4, 7, 9};
  else if (kind == "m6") chord.intervals = {0, 3, 7, 9};
  else if (kind == "dim") chord.intervals = {0, 3, 6, 9};
  else if (kind == "sus4") chord.intervals = {0, 5, 7};
  else fail("unknown chord kind: " + name);
  return chord;
}

}  // namespace

std::vector<ChordSlot> parseChords(const std::string& text, int beatsPerBar) {
  std::vector<ChordSlot> chart;
  std::istringstream bars(text);
  std::string bar;
  double beat = 0.0;
  while (bars >> bar) {
    if (bar == "|") continue;
    std::vector<std::string> names;
    std::string name;
    std::istringstream parts(bar);
    while (std::getline(parts, name, ',')) names.push_back(name);
    double each = static_cast<double>(beatsPerBar) / static_cast<double>(names.size());
    for (const std::string& n : names) {
      chart.push_back({beat, each, parseChord(n)});
      beat += each;
    }
  }
  return chart;
}

double totalBeats(const std::vector<NoteEvent>& melody) {
  return melody.empty() ? 0.0 : melody.back().beat + melody.back().beats;
}

void requireBeats(const char* piece, const char* part, double beats, double expected) {
  if (std::fabs(beats - expected) > 1e-6) {
    std::fprintf(stderr, "sound generator: %s: %s has %.2f beats, expected %.2f\n", piece, part, beats, expected);
    std::exit(1);
  }
}

// [SECTION] Playing

void playLine(Track& track, const std::vector<NoteEvent>& line, Tempo tempo, const Instrument& instrument, float level,
              double legato, int transpose) {
  for (const NoteEvent& note : line) {
    if (note.midi == 0) continue;
    instrument(track, tempo.seconds(note.beat), tempo.seconds(note.beats) * legato, midiToHz(note.midi + transpose),
               level);
  }
}

void playChord(Track& track, const Chord& chord, const std::vector<int>& tones, double start, double length,
               const Instrument& instrument, float level, int octaveShift) {
  for (int index : tones) instrument(track, start, length, midiToHz(chord.tone(index, octaveShift)), level);
}

// [SECTION] Instruments

Instrument marimba() {
  Voice v;
  // A wooden bar: the fundamental, its fourth partial near four times up, and a bright tenth that dies fast.
  v.partials = {{1.0, 1.0f, 1.0}, {3.93, 0.28f, 2.6}, {9.2, 0.06f, 6.0}, {2.0, 0.05f, 1.5}};
  v.attack = 0.003;
  v.decay = 0.42;
  v.release = 0.08;
  return [v](Track& t, double start, double length, double hz, float level) {
    Voice scaled = v;
    scaled.decay = v.decay * std::clamp(523.0 / hz, 0.6, 1.8);  // low bars ring longer
    playVoice(t, scaled, start, std::max(length, 0.6), hz, level);
  };
}

Instrument pluck() {
  Voice v;
  for (int k = 1; k <= 10; ++k)
    v.partials.push_back({static_cast<double>(k), static_cast<float>(1.0 / std::pow(k, 1.25)), 1.0 + 0.55 * (k - 1)});
  v.attack = 0.002;
  v.decay = 0.32;
  v.release = 0.06;
  return [v](Track& t, double start, double length, double hz, float level) {
    Voice scaled = v;
    scaled.decay = v.decay * std::clamp(440.0 / hz, 0.5, 2.2);
    playVoice(t, scaled, start, std::max(length, 0.25), hz, level);
  };
}

Instrument electricPiano() {
  FmVoice v;
  v.ratio = 1.0;
  v.index = 1.9;
  v.indexFloor = 0.25;
  v.indexDecay = 0.25;
  v.attack = 0.003;
  v.decay = 1.1;
  v.release = 0.12;
  return [v](Track& t, double start, double length, double hz, float level) {
    playFm(t, v, start, length, hz, level);
    FmVoice tine = v;  // a faint metallic tine on top
    tine.ratio = 14.0;
    tine.index = 0.6;
    tine.indexDecay = 0.05;
    tine.decay = 0.12;
    playFm(t, tine, start, length, hz, level * 0.12f);
  };
}

Instrument accordion() {
  Voice v;
  // Reeds: strong odd harmonics, a second reed tuned a little sharp for the musette beat.
  for (int k = 1; k <= 9; ++k)
    v.partials.push_back({static_cast<double>(k), static_cast<float>((k % 2 ? 1.0 : 0.55) / k), 1.0});
  v.attack = 0.025;
  v.decay = 0.0;
  v.release = 0.06;
  v.detune = 9.0;
  return [v](Track& t, double start, double length, double hz, float level) { playVoice(t, v, start, length, hz, level); };
}

Instrument chip(float pulseBrightness) {
  Voice v;
  for (int k = 1; k <= 11; k += 2) v.partials.push_back({static_cast<double>(k), 1.0f / static_cast<float>(k), 1.0});
  v.partials.push_back({2.0, 0.25f, 1.0});
  v.attack = 0.004;
  v.decay = 0.9;
  v.release = 0.03;
  v.brightness = pulseBrightness;
  v.vibratoRate = 5.5;
  v.vibratoDepth = 0.004;
  v.vibratoDelay = 0.18;
  return [v](Track& t, double start, double length, double hz, float level) { playVoice(t, v, start, length, hz, level); };
}

Instrument bell() {
  Voice v;
  v.partials = {{1.0, 1.0f, 1.0}, {2.0, 0.45f, 1.3}, {2.76, 0.35f, 1.8}, {5.4, 0.18f, 3.0}, {8.93, 0.08f, 4.5}};
  v.attack = 0.002;
  v.decay = 0.9;
  v.release = 0.2;
  return [v](Track& t, double start, double length, double hz, float level) {
    playVoice(t, v, start, std::max(length, 1.2), hz, level);
  };
}

Instrument brass() {
  Voice v;
  for (int k = 1; k <= 12; ++k) v.partials.push_back({static_cast<double>(k), 1.0f / static_cast<float>(k), 1.0});
  v.attack = 0.04;
  v.decay = 0.0;
  v.release = 0.1;
  v.brightness = 0.82f;
  v.vibratoRate = 5.0;
  v.vibratoDepth = 0.005;
  v.vibratoDelay = 0.25;
  return [v](Track& t, double start, double length, double hz, float level) { playVoice(t, v, start, length, hz, level); };
}

Instrument bass() {
  Voice v;
  v.partials = {{1.0, 1.0f, 1.0}, {2.0, 0.35f, 1.6}, {3.0, 0.12f, 2.2}};
  v.attack = 0.006;
  v.decay = 0.55;
  v.release = 0.06;
  return [v](Track& t, double start, double length, double hz, float level) { playVoice(t, v, start, length, hz, level); };
}

Instrument softPad() {
  Voice v;
  v.partials = {{1.0, 1.0f, 1.0}, {2.0, 0.3f, 1.0}, {3.0, 0.12f, 1.0}, {4.0, 0.05f, 1.0}};
  v.attack = 0.12;
  v.decay = 0.0;
  v.release = 0.3;
  v.detune = 6.0;
  v.vibratoRate = 4.0;
  v.vibratoDepth = 0.002;
  return [v](Track& t, double start, double length, double hz, float level) { playVoice(t, v, start, length, hz, level); };
}
