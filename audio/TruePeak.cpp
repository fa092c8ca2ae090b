#include "audio/TruePeak.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "companion/SimdDispatch.h"

namespace levelmeasure {

// ITU-R BS.1770-4 Annex 2, Table 1, phases 0..3 (taps listed newest first there, so reversed).
const std::array<std::array<float, CTruePeakFilter::TAPS>, 4> CTruePeakFilter::kPhases = {{
    {-0.0083007812500f, 0.0148925781250f, -0.0266113281250f, 0.0476074218750f, -0.1022949218750f, 0.9721679687500f,
     0.1373291015625f, -0.0594482421875f, 0.0332031250000f, -0.0196533203125f, 0.0109863281250f, 0.0017089843750f},
    {-0.0189208984375f, 0.0330810546875f, -0.0582275390625f, 0.1015625000000f, -0.2003173828125f, 0.7797851562500f,
     0.4650878906250f, -0.1665039062500f, 0.0891113281250f, -0.0517578125000f, 0.0292968750000f, -0.0291748046875f},
    {-0.0291748046875f, 0.0292968750000f, -0.0517578125000f, 0.0891113281250f, -0.1665039062500f, 0.4650878906250f,
     0.7797851562500f, -0.2003173828125f, 0.1015625000000f, -0.0582275390625f, 0.0330810546875f, -0.0189208984375f},
    {0.0017089843750f, 0.0109863281250f, -0.0196533203125f, 0.0332031250000f, -0.0594482421875f, 0.1373291015625f,
     0.9721679687500f, -0.1022949218750f, 0.0476074218750f, -0.0266113281250f, 0.0148925781250f, -0.0083007812500f},
}};


namespace {

using Phases = std::array<std::array<float, CTruePeakFilter::TAPS>, 4>;

using V8 = float __attribute__((vector_size(32)));

// One phase at one output: the taps summed oldest first, in the same order as the vector lanes.
inline float Tap(const std::array<float, CTruePeakFilter::TAPS>& c, const float* x) {
  float acc = c[0] * x[0];
  for (int j = 1; j < CTruePeakFilter::TAPS; ++j) acc += c[j] * x[j];
  return acc;
}

// Compiled twice, for the baseline and for AVX2. Eight outputs at a time, the twelve inputs
// loaded once for all four phases and every sum kept in registers. Multiplies and adds stay
// separate (no fused multiply-add), so both builds and the scalar tail give the same bits.
[[gnu::always_inline]] inline float BlockMax(const Phases& phases, const float* line, size_t n) {
  constexpr int T = CTruePeakFilter::TAPS;
  V8 hi{};
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    V8 x[T];
    for (int j = 0; j < T; ++j) std::memcpy(&x[j], line + i + j, sizeof(V8));
    for (const auto& c : phases) {
      V8 acc = c[0] * x[0];
      for (int j = 1; j < T; ++j) acc += c[j] * x[j];
      const V8 mag = acc < 0 ? -acc : acc;
      hi = mag > hi ? mag : hi;
    }
  }
  float best = 0;
  for (int k = 0; k < 8; ++k) best = std::max(best, hi[k]);
  for (; i < n; ++i)
    for (const auto& c : phases) best = std::max(best, std::fabs(Tap(c, line + i)));
  return best;
}

float BlockMaxBaseline(const Phases& phases, const float* line, size_t n) { return BlockMax(phases, line, n); }
KESTRUNE_TARGET_AVX2 float BlockMaxAvx2(const Phases& phases, const float* line, size_t n) {
  return BlockMax(phases, line, n);
}

}  // namespace

float CTruePeakFilter::Block(std::span<float> line) {
  if (line.size() <= static_cast<size_t>(HISTORY)) return 0;
  static const auto kernel = kestrune::PickKernel(&BlockMaxAvx2, &BlockMaxBaseline);
  const float best = kernel(kPhases, line.data(), line.size() - HISTORY);
  std::copy(line.end() - HISTORY, line.end(), line.begin());
  return best;
}

}  // namespace levelmeasure
