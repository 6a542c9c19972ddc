// The synthesis kit: tracks, voices, FM, sweeps, noise, drums, filters, reverb and the WAV writer.
//
// Index: [SECTION] Tracks  [SECTION] Voices  [SECTION] Sweeps and noise  [SECTION] Drums
//        [SECTION] Filters  [SECTION] Writing

#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

// [SECTION] Tracks

double midiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

Track::Track(double seconds, bool isCircular)
    : samples(static_cast<size_t>(std::lround(std::max(0.0, seconds) * kRate)), 0.0f), circular(isCircular) {}

void Track::add(long long index, float value) {
  long long n = static_cast<long long>(samples.size());
  if (n == 0) return;
  if (circular) {
    index %= n;
    if (index < 0) index += n;
  } else if (index < 0 || index >= n) {
    return;
  }
  samples[static_cast<size_t>(index)] += value;
}

void Track::mix(const Track& other, double atSeconds, float gain) {
  long long offset = std::llround(atSeconds * kRate);
  for (size_t i = 0; i < other.samples.size(); ++i) add(offset + static_cast<long long>(i), other.samples[i] * gain);
}

float Track::peak() const {
  float top = 0.0f;
  for (float s : samples) top = std::max(top, std::fabs(s));
  return top;
}

void Track::scale(float factor) {
  for (float& s : samples) s *= factor;
}

void Track::normalise(float target) {
  float top = peak();
  if (top > 0.0f) scale(target / top);
}

void Track::trim(float threshold, double fadeSeconds) {
  if (circular) return;
  size_t last = 0;
  for (size_t i = 0; i < samples.size(); ++i)
    if (std::fabs(samples[i]) > threshold) last = i;
  size_t fade = static_cast<size_t>(fadeSeconds * kRate);
  size_t end = std::min(samples.size(), last + fade);
  samples.resize(end);
  for (size_t i = 0; i < fade && i < end; ++i) {
    float t = static_cast<float>(i) / static_cast<float>(fade);
    samples[end - 1 - i] *= 0.5f - 0.5f * std::cos(static_cast<float>(kPi) * t);
  }
}

float Noise::next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

// [SECTION] Voices

namespace {

// The level of a note's envelope at time t: a raised-cosine attack, full level for the note's length, a
// raised-cosine release after it.
double envelope(double t, double attack, double length, double release) {
  double level = 1.0;
  if (attack > 0.0 && t < attack) level = 0.5 - 0.5 * std::cos(kPi * t / attack);
  if (t > length) {
    if (release <= 0.0 || t >= length + release) return 0.0;
    level *= 0.5 + 0.5 * std::cos(kPi * (t - length) / release);
  }
  return level;
}

// How long a note is worth rendering: its length and release, but no longer than its decay takes to fall
// below audibility.
double renderLength(double length, double release, double decay) {
  double total = length + release;
  if (decay > 0.0) total = std::min(total, decay * 9.0);
  return total;
}

}  // namespace

void playVoice(Track& track, const Voice& voice, double start, double length, double hz, float level) {
  if (hz <= 0.0 || level <= 0.0f) return;
  double total = renderLength(length, voice.release, voice.decay);
  long long first = std::llround(start * kRate);
  long long count = static_cast<long long>(total * kRate);
  double detuneRatio = std::pow(2.0, voice.detune / 1200.0);
  int copies = voice.detune != 0.0 ? 2 : 1;
  struct Running {
    double step;       // phase step without vibrato
    double amplitude;
    double perSample;  // decay per sample
    double phase = 0.0;
  };
  std::vector<Running> running;
  for (int copy = 0; copy < copies; ++copy) {
    double base = hz * (copy == 0 ? 1.0 : detuneRatio);
    for (size_t k = 0; k < voice.partials.size(); ++k) {
      const Partial& partial = voice.partials[k];
      if (base * partial.ratio >= 0.45 * kRate) continue;
      double amplitude = partial.amplitude * level / copies * std::pow(voice.brightness, static_cast<double>(k));
      double perSample = 1.0;
      if (voice.decay > 0.0) perSample *= std::exp(-partial.decayFactor / (voice.decay * kRate));
      if (voice.brightnessDecay > 0.0) perSample *= std::exp(-static_cast<double>(k) / (voice.brightnessDecay * kRate));
      running.push_back({2.0 * kPi * base * partial.ratio / kRate, amplitude, perSample});
    }
  }
  for (long long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double vibrato = 1.0;
    if (voice.vibratoDepth > 0.0 && t > voice.vibratoDelay)
      vibrato += voice.vibratoDepth * std::sin(2.0 * kPi * voice.vibratoRate * (t - voice.vibratoDelay));
    double shape = envelope(t, voice.attack, length, voice.release);
    double value = 0.0;
    for (Running& r : running) {
      r.phase += r.step * vibrato;
      value += r.amplitude * std::sin(r.phase);
      r.amplitude *= r.perSample;
    }
    track.add(first + i, static_cast<float>(value * shape));
  }
}

void playFm(Track& track, const FmVoice& voice, double start, double length, double hz, float level) {
  double total = renderLength(length, voice.release, voice.decay);
  long long first = std::llround(start * kRate);
  long long count = static_cast<long long>(total * kRate);
  double carrier = 0.0, modulator = 0.0;
  for (long long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double index = voice.indexFloor + (voice.index - voice.indexFloor) * std::exp(-t / voice.indexDecay);
    double amplitude = level * std::exp(-t / voice.decay) * envelope(t, voice.attack, length, voice.release);
    carrier += 2.0 * kPi * hz / kRate;
    modulator += 2.0 * kPi * hz * voice.ratio / kRate;
    track.add(first + i, static_cast<float>(amplitude * std::sin(carrier + index * std::sin(modulator))));
  }
}

// [SECTION] Sweeps and noise

void playSweep(Track& track, Wave wave, double start, double length, double fromHz, double toHz, float level,
               double attack, double release) {
  if (fromHz <= 0.0 || toHz <= 0.0 || length <= 0.0) return;
  long long first = std::llround(start * kRate);
  long long count = static_cast<long long>(length * kRate);
  double phase = 0.0;
  for (long long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double hz = fromHz * std::pow(toHz / fromHz, t / length);
    phase += 2.0 * kPi * hz / kRate;
    double value = 0.0;
    if (wave == Wave::Sine) {
      value = std::sin(phase);
    } else {
      // Band-limited from partials: only harmonics below the output's limit.
      int harmonics = std::clamp(static_cast<int>(0.45 * kRate / hz), 1, 40);
      for (int h = 1; h <= harmonics; ++h) {
        if (wave == Wave::Square && h % 2 == 0) continue;
        if (wave == Wave::Triangle) {
          if (h % 2 == 0) continue;
          double sign = ((h - 1) / 2) % 2 == 0 ? 1.0 : -1.0;
          value += sign * std::sin(h * phase) / (h * h) * 0.8;
        } else {
          value += std::sin(h * phase) / h * (wave == Wave::Square ? 0.8 : 0.55);
        }
      }
    }
    double shape = envelope(t, attack, length - release, release);
    track.add(first + i, static_cast<float>(level * shape * value));
  }
}

void playNoiseBand(Track& track, uint32_t seed, double start, double length, double fromHz, double toHz,
                   double q, float level, double attack, double release) {
  if (length <= 0.0) return;
  Noise noise(seed);
  long long first = std::llround(start * kRate);
  long long count = static_cast<long long>(length * kRate);
  double low = 0.0, band = 0.0;
  double damping = 1.0 / std::max(0.5, q);
  for (long long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double centre = fromHz * std::pow(toHz / fromHz, t / length);
    double f = 2.0 * std::sin(kPi * std::min(centre, 0.2 * kRate) / kRate);
    double high = noise.next() - low - damping * band;
    band += f * high;
    low += f * band;
    double shape = envelope(t, attack, length - release, release);
    track.add(first + i, static_cast<float>(level * shape * band));
  }
}

// [SECTION] Drums

void playKick(Track& track, double start, float level) {
  long long first = std::llround(start * kRate);
  double phase = 0.0;
  for (long long i = 0; i < kRate * 3 / 10; ++i) {
    double t = static_cast<double>(i) / kRate;
    double hz = 45.0 + 110.0 * std::exp(-t / 0.03);
    phase += 2.0 * kPi * hz / kRate;
    double shape = std::exp(-t / 0.11) * envelope(t, 0.002, 0.25, 0.05);
    track.add(first + i, static_cast<float>(level * shape * std::sin(phase)));
  }
}

void playSnare(Track& track, double start, float level, uint32_t seed) {
  playNoiseBand(track, seed, start, 0.22, 2600.0, 1800.0, 0.8, level * 0.9f, 0.001, 0.15);
  Voice body;
  body.partials = {{1.0, 1.0f, 1.0}, {1.6, 0.5f, 1.5}};
  body.attack = 0.001;
  body.decay = 0.05;
  body.release = 0.02;
  playVoice(track, body, start, 0.15, 190.0, level * 0.5f);
}

void playHat(Track& track, double start, float level, uint32_t seed) {
  Noise noise(seed);
  long long first = std::llround(start * kRate);
  float previous = 0.0f;
  for (long long i = 0; i < kRate / 12; ++i) {
    double t = static_cast<double>(i) / kRate;
    float white = noise.next();
    float high = white - previous;  // a first difference keeps only the hiss
    previous = white;
    double shape = std::exp(-t / 0.02) * envelope(t, 0.0005, 0.06, 0.02);
    track.add(first + i, static_cast<float>(level * 0.5 * shape * high));
  }
}

// [SECTION] Filters

namespace {

// Run a filter step over the track; a circular track goes round twice so the state at its start is the
// state its end leaves.
template <typename Step>
void runFilter(Track& track, Step step) {
  std::vector<float> input = track.samples;
  if (track.circular) {
    for (float s : input) step(s);
  }
  for (size_t i = 0; i < input.size(); ++i) track.samples[i] = step(input[i]);
}

}  // namespace

void lowPass(Track& track, double cutoffHz) {
  double a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate);
  double state = 0.0;
  runFilter(track, [&](float x) {
    state += a * (x - state);
    return static_cast<float>(state);
  });
}

void highPass(Track& track, double cutoffHz) {
  double a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate);
  double low = 0.0;
  runFilter(track, [&](float x) {
    low += a * (x - low);
    return static_cast<float>(x - low);
  });
}

void reverb(Track& track, float wet, double roomSeconds) {
  struct Comb {
    std::vector<float> line;
    size_t at = 0;
    float store = 0.0f;
  };
  struct AllPass {
    std::vector<float> line;
    size_t at = 0;
  };
  const double combTimes[4] = {0.0253, 0.0269, 0.0290, 0.0307};
  const double allPassTimes[2] = {0.0051, 0.0126};
  double stretch = roomSeconds / 0.03;
  Comb combs[4];
  AllPass allPasses[2];
  for (int i = 0; i < 4; ++i) combs[i].line.assign(static_cast<size_t>(combTimes[i] * stretch * kRate) + 1, 0.0f);
  for (int i = 0; i < 2; ++i) allPasses[i].line.assign(static_cast<size_t>(allPassTimes[i] * kRate) + 1, 0.0f);
  const float feedback = 0.8f, damp = 0.35f;
  runFilter(track, [&](float x) {
    float sum = 0.0f;
    for (Comb& c : combs) {
      float out = c.line[c.at];
      c.store = out * (1.0f - damp) + c.store * damp;
      c.line[c.at] = x * 0.25f + c.store * feedback;
      c.at = (c.at + 1) % c.line.size();
      sum += out;
    }
    for (AllPass& a : allPasses) {
      float delayed = a.line[a.at];
      float in = sum + delayed * 0.5f;
      a.line[a.at] = in;
      a.at = (a.at + 1) % a.line.size();
      sum = delayed - in * 0.5f;
    }
    return x + wet * sum;
  });
}

// [SECTION] Writing

bool writeWav(const std::string& path, const Track& track) {
  auto put16 = [](std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto put32 = [&](std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
  };
  uint32_t dataBytes = static_cast<uint32_t>(track.samples.size() * 2);
  std::string bytes = "RIFF";
  put32(bytes, 36 + dataBytes);
  bytes += "WAVEfmt ";
  put32(bytes, 16);
  put16(bytes, 1);  // PCM
  put16(bytes, 1);  // mono
  put32(bytes, kRate);
  put32(bytes, kRate * 2);
  put16(bytes, 2);
  put16(bytes, 16);
  bytes += "data";
  put32(bytes, dataBytes);
  for (float s : track.samples) {
    long value = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(bytes, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xFFFF);
  }
  std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  return !error;
}
