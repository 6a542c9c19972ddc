// The sound generator's synthesis kit: a mono track of float samples (straight or circular, so that a loop's
// tails wrap round to its start), tuned voices built from partials and envelopes, FM, noise, filters,
// drums, a small reverb and the WAV writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

double midiToHz(double midi);

// A track of samples. A circular track adds whatever runs past its end back at its start, which is what a
// looping tune needs for its ringing notes and its reverb.
struct Track {
  std::vector<float> samples;
  bool circular = false;

  Track() = default;
  Track(double seconds, bool isCircular);
  size_t size() const { return samples.size(); }
  void add(long long index, float value);
  void mix(const Track& other, double atSeconds, float gain);
  float peak() const;
  void scale(float factor);
  // Scale so that the loudest sample reaches `target` (0..1).
  void normalise(float target);
  // Cut a straight track short after its last audible sample, keeping a short fade.
  void trim(float threshold, double fadeSeconds);
};

// Deterministic white noise in [-1, 1).
class Noise {
public:
  explicit Noise(uint32_t seed) : state(seed ? seed : 1u) {}
  float next();

private:
  uint32_t state;
};

// One partial of a tuned voice: frequency ratio, amplitude, and how much faster than the voice it decays.
struct Partial {
  double ratio = 1.0;
  float amplitude = 1.0f;
  double decayFactor = 1.0;
};

struct Voice {
  std::vector<Partial> partials;
  double attack = 0.005;     // seconds, raised-cosine rise
  double decay = 0.0;        // time constant of the exponential fall; 0 holds the level
  double release = 0.05;     // fade after the note's length
  double vibratoRate = 0.0;  // Hz
  double vibratoDepth = 0.0; // fraction of the frequency
  double vibratoDelay = 0.0;
  double detune = 0.0;       // cents; a second copy a little sharp makes the reed's beating
  float brightness = 1.0f;   // partial k is scaled by brightness^(k-1) at the start...
  double brightnessDecay = 0.0; // ...and darkens with this time constant (0: stays)
};

// Render a note of the voice into the track: start and length in seconds, frequency in Hz, level 0..1.
void playVoice(Track& track, const Voice& voice, double start, double length, double hz, float level);

// Two-operator FM: a sine carrier modulated by a sine at `ratio` times its frequency, the index falling from
// `index` toward `indexFloor` with time constant `indexDecay`.
struct FmVoice {
  double ratio = 1.0;
  double index = 2.0;
  double indexFloor = 0.3;
  double indexDecay = 0.3;
  double attack = 0.004;
  double decay = 1.0;
  double release = 0.08;
};
void playFm(Track& track, const FmVoice& voice, double start, double length, double hz, float level);

// A pitch sweep from one frequency to another (exponentially), sine or band-limited square, with a
// percussive envelope.
enum class Wave { Sine, Square, Saw, Triangle };
void playSweep(Track& track, Wave wave, double start, double length, double fromHz, double toHz, float level,
               double attack, double release);

// Noise through a band-pass whose centre sweeps from one frequency to another.
void playNoiseBand(Track& track, uint32_t seed, double start, double length, double fromHz, double toHz,
                   double q, float level, double attack, double release);

// Drums.
void playKick(Track& track, double start, float level);
void playSnare(Track& track, double start, float level, uint32_t seed);
void playHat(Track& track, double start, float level, uint32_t seed);

// Filters over a whole track.
void lowPass(Track& track, double cutoffHz);
void highPass(Track& track, double cutoffHz);
// A small room: parallel combs and series all-passes. On a circular track it runs twice round so that the
// loop point sees the same reverb as everywhere else.
void reverb(Track& track, float wet, double roomSeconds);

// 16-bit mono PCM at kRate, written through a temporary file and renamed into place.
bool writeWav(const std::string& path, const Track& track);
