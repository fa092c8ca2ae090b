// Spectrum refreshes per second: one block of samples handed in and one figure drawn into a
// 1000 x 400 window, per FFT size, channel count and axis; beside it the analyser alone (the
// same block and query without drawing), so the share the drawing adds shows.
#include <benchmark/benchmark.h>

#include <winport/afx.h>
#include <winport/headless.h>

#include <cmath>
#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FreqMagnWnd.h"

namespace {

constexpr long kBlock = 1024;  // about 21 ms at 48 kHz: one display refresh

struct Signal {
  explicit Signal(int channels) : data(channels, std::vector<float>(kBlock)), ptrs(channels) {
    for (int c = 0; c < channels; ++c) ptrs[c] = data[c].data();
  }
  // Tones at a few frequencies per channel plus a little noise, so every bin has a level.
  void Make(unsigned long pos) {
    for (size_t c = 0; c < data.size(); ++c)
      for (long i = 0; i < kBlock; ++i) {
        const double t = double(pos + i) / 48000.0;
        seed = seed * 1664525u + 1013904223u;
        data[c][i] = static_cast<float>(0.3 * std::sin(2 * 3.14159265 * (440.0 * (c + 1)) * t) +
                                        0.1 * std::sin(2 * 3.14159265 * 5000.0 * t) +
                                        1e-3 * (double(seed >> 8) / (1u << 24) - 0.5));
      }
  }
  std::vector<std::vector<float>> data;
  std::vector<float*> ptrs;
  unsigned seed = 1;
};

// range(0): FFT size, range(1): channels, range(2): 0 linear, 1 warped, 2 warped with the
// loudest of the spanned bins.
void BM_SpectrumRefresh(benchmark::State& state) {
  const unsigned long n = static_cast<unsigned long>(state.range(0));
  const int channels = static_cast<int>(state.range(1));
  winport::headless::Reset();
  CWnd top;
  top.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 400), nullptr, 0);
  CAudioScale scale(1);
  CFreqMagnWnd wnd;
  wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 400), &scale, &top, 1);
  const AFmt fmt{static_cast<WORD>(channels), 32, 48000, AFMT_TAG_FLOAT, 0};
  wnd.Initial(&fmt, nullptr, FFTWND_HANN, n, 2 * n + kBlock);
  wnd.SetLinear(state.range(2) == 0 ? 1 : 0);
  wnd.SetSpanMax(state.range(2) == 2);
  Signal sig(channels);
  unsigned long pos = 0;
  for (; pos < n; pos += kBlock) {
    sig.Make(pos);
    wnd.FillData(sig.ptrs.data(), kBlock, pos);
  }
  for (auto _ : state) {
    wnd.FillData(sig.ptrs.data(), kBlock, pos);
    pos += kBlock;
    wnd.RefreshFig(static_cast<DWORD>(pos), -1);
  }
  state.counters["refreshes/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  wnd.DestroyWindow();
  top.DestroyWindow();
}

// The analyser's part of the same work.
void BM_AnalyserOnly(benchmark::State& state) {
  const unsigned long n = static_cast<unsigned long>(state.range(0));
  const int channels = static_cast<int>(state.range(1));
  CWaveDataFreqMagn a;
  a.Initial(channels, nullptr, n, FFTWND_HANN, 2 * n + kBlock, 1);
  Signal sig(channels);
  unsigned long pos = 0;
  for (; pos < n; pos += kBlock) {
    sig.Make(pos);
    a.FillData(sig.ptrs.data(), kBlock, pos);
  }
  SMagnFreq smf{nullptr, 0};
  for (auto _ : state) {
    a.FillData(sig.ptrs.data(), kBlock, pos);
    pos += kBlock;
    benchmark::DoNotOptimize(a.GetMagnFreqData(pos, smf));
  }
  state.counters["queries/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void Sizes(benchmark::internal::Benchmark* b, bool axes) {
  for (long size = 1024; size <= 32768; size *= 2)
    for (long ch : {2, 8})
      if (axes)
        for (long axis : {0, 1, 2}) b->Args({size, ch, axis});
      else
        b->Args({size, ch});
}

BENCHMARK(BM_SpectrumRefresh)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, true); })->ArgNames({"fft", "ch", "axis"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalyserOnly)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, false); })->ArgNames({"fft", "ch"})->Unit(benchmark::kMicrosecond);

}  // namespace
