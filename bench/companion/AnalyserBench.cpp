// Spectrum queries per second for a stereo stream at the FFT sizes the display offers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "companion/WaveDataFreqMagn.h"

namespace {

void BM_AnalyserQuery(benchmark::State& state) {
  const unsigned long n = static_cast<unsigned long>(state.range(0));
  CFFT_RC_Calc calc;
  CWaveDataFreqMagn a;
  a.Initial(2, &calc, n, FFTWND_HANN, 4 * n, 1);
  a.SetAgility(0.5f);
  std::vector<float> l(4 * n), r(4 * n);
  for (std::size_t i = 0; i < l.size(); ++i) {
    l[i] = std::sin(0.01f * float(i));
    r[i] = std::cos(0.013f * float(i));
  }
  float* ch[2] = {l.data(), r.data()};
  a.FillData(ch, long(4 * n), 0);
  unsigned long pos = n;
  SMagnFreq smf{nullptr, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(a.GetMagnFreqData(pos, smf));
    pos = pos + 64 > 4 * n ? n : pos + 64;  // walk through the buffer, crossing the ring's end
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["queries/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_AnalyserQuery)->Arg(1024)->Arg(4096)->Arg(32768);

}  // namespace
