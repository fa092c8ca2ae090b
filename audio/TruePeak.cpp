#include "audio/TruePeak.h"

#include <algorithm>
#include <cmath>

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


float CTruePeakFilter::Block(std::span<float> line) {
  if (line.size() <= static_cast<size_t>(HISTORY)) return 0;
  const size_t n = line.size() - HISTORY;
  constexpr size_t kStrip = 256;  // outputs summed at once, tap by tap, in straight loops
  float best = 0;
  for (size_t base = 0; base < n; base += kStrip) {
    const size_t m = std::min(kStrip, n - base);
    const float* x = line.data() + base;
    for (const auto& phase : kPhases) {
      std::array<float, kStrip> acc;
      for (size_t i = 0; i < m; ++i) acc[i] = phase[0] * x[i];
      for (int j = 1; j < TAPS; ++j) {
        const float c = phase[j];
        const float* xj = x + j;
        for (size_t i = 0; i < m; ++i) acc[i] += c * xj[i];
      }
      for (size_t i = 0; i < m; ++i) best = std::max(best, std::fabs(acc[i]));
    }
  }
  std::copy(line.end() - HISTORY, line.end(), line.begin());
  return best;
}

}  // namespace levelmeasure
