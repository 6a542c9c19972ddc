// Effects made from sweeps, noise and short tuned notes, each shaped after its action (a lift rises, a
// drop knocks, a removal crashes), and the note sets the blocks and number keys play.
//
// Index: [SECTION] Building  [SECTION] Blocks  [SECTION] Interface  [SECTION] Game  [SECTION] Notes

#include "Effects.h"

#include <cmath>

#include "Score.h"

namespace {

// [SECTION] Building

Track finished(Track track, float peak = 0.7f) {
  highPass(track, 40.0);
  track.trim(0.0005f, 0.02);
  track.normalise(peak);
  return track;
}

// A short knock of plastic on plastic: a damped low tone and a click of noise.
void knock(Track& track, double start, double hz, float level) {
  Voice body;
  body.partials = {{1.0, 1.0f, 1.0}, {2.3, 0.5f, 2.0}, {4.1, 0.25f, 3.0}};
  body.attack = 0.001;
  body.decay = 0.035;
  body.release = 0.01;
  playVoice(track, body, start, 0.12, hz, level);
  playNoiseBand(track, 91, start, 0.03, 3500.0, 2500.0, 1.2, level * 0.8f, 0.0005, 0.02);
}

// [SECTION] Blocks

Track pickUp() {
  Track t(0.25, false);
  playSweep(t, Wave::Sine, 0.0, 0.12, 330.0, 880.0, 0.8f, 0.004, 0.05);
  playSweep(t, Wave::Triangle, 0.02, 0.1, 660.0, 1320.0, 0.25f, 0.004, 0.05);
  knock(t, 0.0, 900.0, 0.3f);
  return finished(t);
}

Track putDown() {
  Track t(0.3, false);
  knock(t, 0.0, 260.0, 1.0f);
  knock(t, 0.045, 420.0, 0.6f);  // the studs click home a moment later
  return finished(t);
}

Track blockIn() {
  Track t(0.5, false);
  playNoiseBand(t, 5, 0.0, 0.3, 500.0, 3000.0, 2.0, 0.7f, 0.03, 0.1);
  bell()(t, 0.22, 0.2, midiToHz(84), 0.5f);
  bell()(t, 0.28, 0.2, midiToHz(91), 0.35f);
  return finished(t);
}

Track blockOut() {
  Track t(0.8, false);
  // A small crash: a burst of noise with crackle, and a tone that falls away.
  playNoiseBand(t, 17, 0.0, 0.45, 2500.0, 400.0, 0.7, 1.0f, 0.001, 0.35);
  Noise crackle(23);
  for (int i = 0; i < 14; ++i) {
    double when = 0.02 + 0.03 * i + 0.01 * (crackle.next() + 1.0);
    knock(t, when, 500.0 + 900.0 * (crackle.next() + 1.0), 0.35f * static_cast<float>(std::exp(-i / 6.0)));
  }
  playSweep(t, Wave::Square, 0.0, 0.35, 300.0, 80.0, 0.3f, 0.002, 0.2);
  return finished(t);
}

Track grow() {
  Track t(0.4, false);
  playSweep(t, Wave::Triangle, 0.0, 0.3, 220.0, 660.0, 0.8f, 0.01, 0.08);
  playSweep(t, Wave::Sine, 0.05, 0.25, 440.0, 1320.0, 0.3f, 0.01, 0.08);
  return finished(t);
}

Track shrink() {
  Track t(0.4, false);
  playSweep(t, Wave::Triangle, 0.0, 0.3, 660.0, 220.0, 0.8f, 0.01, 0.08);
  playSweep(t, Wave::Sine, 0.05, 0.25, 1320.0, 440.0, 0.3f, 0.01, 0.08);
  return finished(t);
}

Track rotate() {
  Track t(0.35, false);
  // A ratchet: three quick clicks and a little swish.
  for (int i = 0; i < 3; ++i) knock(t, 0.05 * i, 1200.0 + 200.0 * i, 0.6f);
  playNoiseBand(t, 31, 0.0, 0.2, 1500.0, 4000.0, 1.5, 0.35f, 0.02, 0.08);
  return finished(t);
}

Track paintLoop() {
  // A brush on paper: breathy noise that swells twice a second. The track is circular and every part of it
  // repeats exactly in its length, so the loop has no seam.
  Track t(1.0, true);
  Noise noise(77);
  for (size_t i = 0; i < t.size(); ++i) {
    double phase = static_cast<double>(i) / static_cast<double>(t.size());
    double swell = 0.55 + 0.45 * std::sin(2.0 * kPi * 2.0 * phase);
    t.samples[i] = static_cast<float>(noise.next() * swell);
  }
  lowPass(t, 2200.0);
  highPass(t, 500.0);
  t.normalise(0.45f);
  return t;
}

// [SECTION] Interface

Track iconClick() {
  Track t(0.12, false);
  playSweep(t, Wave::Sine, 0.0, 0.05, 1800.0, 1400.0, 0.8f, 0.001, 0.04);
  knock(t, 0.0, 1500.0, 0.3f);
  return finished(t, 0.6f);
}

Track menuClick() {
  Track t(0.12, false);
  // A wood block.
  Voice wood;
  wood.partials = {{1.0, 1.0f, 1.0}, {2.76, 0.4f, 2.5}};
  wood.attack = 0.001;
  wood.decay = 0.03;
  wood.release = 0.01;
  playVoice(t, wood, 0.0, 0.08, 880.0, 1.0f);
  return finished(t, 0.6f);
}

Track viewChange() {
  Track t(0.6, false);
  playNoiseBand(t, 41, 0.0, 0.5, 300.0, 2500.0, 1.5, 0.9f, 0.15, 0.25);
  playSweep(t, Wave::Sine, 0.0, 0.45, 200.0, 500.0, 0.2f, 0.1, 0.2);
  return finished(t, 0.6f);
}

Track cameraTurn() {
  // Played on every step of an orbit: short and soft, a tick with a breath of air.
  Track t(0.1, false);
  playNoiseBand(t, 43, 0.0, 0.08, 1200.0, 1800.0, 2.0, 0.6f, 0.01, 0.05);
  knock(t, 0.0, 2000.0, 0.15f);
  return finished(t, 0.45f);
}

Track undo() {
  Track t(0.35, false);
  // Two notes stepping back down.
  Voice blip;
  blip.partials = {{1.0, 1.0f, 1.0}, {3.0, 0.2f, 1.5}};
  blip.attack = 0.003;
  blip.decay = 0.12;
  blip.release = 0.03;
  playVoice(t, blip, 0.0, 0.1, midiToHz(79), 0.8f);
  playVoice(t, blip, 0.1, 0.15, midiToHz(72), 0.8f);
  return finished(t);
}

Track colours() {
  Track t(0.7, false);
  bell()(t, 0.0, 0.3, midiToHz(88), 0.6f);
  bell()(t, 0.07, 0.3, midiToHz(91), 0.5f);
  bell()(t, 0.14, 0.3, midiToHz(96), 0.4f);
  return finished(t);
}

Track pause() {
  Track t(0.5, false);
  Voice tone;
  tone.partials = {{1.0, 1.0f, 1.0}, {2.0, 0.3f, 1.0}, {3.0, 0.15f, 1.0}};
  tone.attack = 0.005;
  tone.decay = 0.4;
  tone.release = 0.05;
  playVoice(t, tone, 0.0, 0.15, midiToHz(79), 0.7f);
  playVoice(t, tone, 0.17, 0.22, midiToHz(74), 0.7f);
  return finished(t);
}

// [SECTION] Game

Track collision() {
  Track t(0.45, false);
  playSweep(t, Wave::Square, 0.0, 0.3, 180.0, 70.0, 0.6f, 0.002, 0.12);
  knock(t, 0.0, 150.0, 1.0f);
  playNoiseBand(t, 53, 0.0, 0.12, 900.0, 300.0, 0.8, 0.5f, 0.001, 0.08);
  return finished(t);
}

Track climb() {
  Track t(0.3, false);
  const int steps[3] = {72, 76, 79};
  for (int i = 0; i < 3; ++i) chip(0.6f)(t, 0.06 * i, 0.05, midiToHz(steps[i]), 0.6f);
  return finished(t);
}

Track fanfare() {
  Track t(2.4, false);
  Tempo tempo{200};
  auto line = parseMelody("c5:0.5 c5:0.5 c5:0.5 e5:1 c5:0.5 e5:0.5 g5:4");
  playLine(t, line, tempo, brass(), 0.45f, 0.85);
  Chord major = parseChords("C", 4)[0].chord;
  playChord(t, major, {0, 1, 2}, tempo.seconds(3.5), tempo.seconds(3.5), brass(), 0.22f, 1);
  playKick(t, tempo.seconds(3.5), 0.7f);
  playSnare(t, tempo.seconds(3.5), 0.4f, 9);
  reverb(t, 0.25f, 0.03);
  return finished(t);
}

Track takeOff() {
  Track t(1.6, false);
  // An engine winding up and away.
  playSweep(t, Wave::Saw, 0.0, 1.5, 60.0, 240.0, 0.45f, 0.3, 0.4);
  playNoiseBand(t, 61, 0.0, 1.5, 400.0, 2500.0, 1.0, 0.6f, 0.2, 0.5);
  playSweep(t, Wave::Sine, 0.3, 1.2, 400.0, 1200.0, 0.15f, 0.3, 0.4);
  return finished(t);
}

Track gameCollisionNote() {
  Track t(0.3, false);
  chip(0.7f)(t, 0.0, 0.08, midiToHz(76), 0.7f);
  playSweep(t, Wave::Sine, 0.0, 0.15, 700.0, 350.0, 0.4f, 0.002, 0.08);
  return finished(t);
}

// [SECTION] Notes

// Do, high Do, Re, Mi, Fa, Sol, La, Si of C major, from C5.
constexpr int kScale[8] = {72, 84, 74, 76, 77, 79, 81, 83};
const char* const kDegreeNames[8] = {"Do", "Do2", "Re", "Mi", "Fa", "Sol", "La", "Si"};
const char* const kPlainNames[8] = {"Note_c1", "Note_c2", "Note_d1", "Note_e1", "Note_f1", "Note_g1", "Note_a1", "Note_b1"};

Track noteOn(const Instrument& instrument, double length, int midi, double tail) {
  Track t(length + tail, false);
  instrument(t, 0.0, length, midiToHz(midi), 0.8f);
  return finished(t, 0.65f);
}

}  // namespace

std::vector<NamedSound> effectSounds() {
  std::vector<NamedSound> sounds;
  sounds.push_back({"w1.wav", pickUp()});
  sounds.push_back({"b_down.wav", putDown()});
  sounds.push_back({"coll.wav", collision()});
  sounds.push_back({"climb.wav", climb()});
  sounds.push_back({"blockin.wav", blockIn()});
  sounds.push_back({"blockout.wav", blockOut()});
  sounds.push_back({"icon.wav", iconClick()});
  sounds.push_back({"ch_view.wav", viewChange()});
  sounds.push_back({"ca_rot.wav", cameraTurn()});
  sounds.push_back({"undo.wav", undo()});
  sounds.push_back({"colors.wav", colours()});
  sounds.push_back({"fanfare4.wav", fanfare()});
  sounds.push_back({"pause.wav", pause()});
  sounds.push_back({"takeoff.wav", takeOff()});
  sounds.push_back({"paint.wav", paintLoop()});
  sounds.push_back({"b_inc.wav", grow()});
  sounds.push_back({"b_dec.wav", shrink()});
  sounds.push_back({"b_rotate.wav", rotate()});
  sounds.push_back({"menu.wav", menuClick()});
  sounds.push_back({"gamecoll.wav", gameCollisionNote()});
  return sounds;
}

std::vector<NamedSound> noteSounds() {
  std::vector<NamedSound> sounds;
  for (int i = 0; i < 8; ++i) {
    sounds.push_back({std::string(kPlainNames[i]) + ".wav", noteOn(marimba(), 0.6, kScale[i], 0.6)});
    sounds.push_back({std::string("sting") + kDegreeNames[i] + ".wav", noteOn(pluck(), 0.5, kScale[i], 0.5)});
    sounds.push_back({std::string("waltz") + kDegreeNames[i] + ".wav", noteOn(electricPiano(), 0.6, kScale[i], 0.6)});
    sounds.push_back({std::string("polka") + kDegreeNames[i] + ".wav", noteOn(accordion(), 0.35, kScale[i], 0.15)});
  }
  return sounds;
}
