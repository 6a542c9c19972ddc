// How much of the audio thread's time the mixer takes: mixing one second of output from 1 to 32 voices
// (22,050 Hz mono sources resampled to 44,100 Hz stereo), reported as the fraction of a second it costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "platform/audio/Mixer.h"

static void MixOneSecond(benchmark::State& state) {
  const size_t voices = static_cast<size_t>(state.range(0));
  std::vector<int16_t> source(22050);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
  std::vector<MixVoice> pool(voices);
  std::vector<MixVoice*> playing;
  for (MixVoice& v : pool) {
    v.data = reinterpret_cast<const uint8_t*>(source.data());
    v.frames = static_cast<uint32_t>(source.size());
    v.format = PcmFormat{22050, 1, 16};
    v.playing = true;
    v.looping = true;
    v.leftGain = v.rightGain = 0.1f;
    playing.push_back(&v);
  }
  std::vector<int16_t> out(1024 * 2);
  double seconds = 0.0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < 44100 / 1024; ++block) mixVoices(playing, out.data(), 1024, 44100);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["share_of_real_time"] = seconds / static_cast<double>(state.iterations());
}
BENCHMARK(MixOneSecond)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
