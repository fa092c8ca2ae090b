// Cost of all the level readings (peaks, true peak, RMS, ballistic, loudness with momentary and
// short-term every 10 ms of audio) per second of audio at 48 kHz, fed in 10 ms blocks as an audio
// callback would. Reported: per-channel samples per second, and the share of one core that
// real-time feeding takes (core%, from CPU time; the budget is under 1 % for 8 channels).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "audio/LevelMeasure.h"

namespace {

void BM_LevelMeasure(benchmark::State& state) {
  const auto mode = static_cast<LevelMeterMode>(state.range(0));
  const int channels = static_cast<int>(state.range(1));
  constexpr int kRate = 48000, kBlock = 480;
  CLevelMeasure m;
  if (!m.Initial(channels, kRate, mode)) {
    state.SkipWithError("Initial failed");
    return;
  }
  m.SetPeakHold(1500);
  // One second of a noisy tone, interleaved.
  std::vector<float> second(static_cast<size_t>(kRate) * channels);
  unsigned seed = 1;
  for (size_t i = 0; i < second.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    second[i] = 0.3f * std::sin(0.05f * static_cast<float>(i / channels)) + 0.1f * (static_cast<float>(seed >> 8) / 16777216.0f - 0.5f);
  }
  for (auto _ : state) {
    for (int f = 0; f < kRate; f += kBlock) m.Feed(&second[static_cast<size_t>(f) * channels], kBlock);
    benchmark::DoNotOptimize(m.GetMomentary());
  }
  state.counters["samples/s/ch"] = benchmark::Counter(kRate, benchmark::Counter::kIsIterationInvariantRate);
  // One iteration is one second of audio: CPU seconds per iteration x 100 is the share of one core
  // (an inverted rate, which Google Benchmark prints with a trailing "s").
  state.counters["core%"] =
      benchmark::Counter(0.01, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_LevelMeasure)
    ->ArgNames({"mode", "ch"})
    ->ArgsProduct({{LMM_DIGITAL_PEAK, LMM_VU, LMM_PPM_TYPE_I, LMM_PPM_TYPE_II}, {2, 8}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
