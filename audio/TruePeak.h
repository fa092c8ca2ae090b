// True-peak estimate of one channel: 4x oversampling through the 48-tap interpolating filter of
// ITU-R BS.1770-4 Annex 2, four phases of 12 taps, and the largest magnitude of the four.
#pragma once
#include <algorithm>
#include <array>

namespace levelmeasure {

class CTruePeakFilter {
 public:
  static constexpr int TAPS = 12;

  // Largest |value| among the four interpolated points that end at sample x.
  float Push(float x) {
    m_hist[m_pos] = x;
    m_hist[m_pos + TAPS] = x;
    const float* h = &m_hist[m_pos + 1];  // oldest .. newest, contiguous thanks to the mirror
    m_pos = m_pos + 1 == TAPS ? 0 : m_pos + 1;
    float best = 0;
    for (const auto& phase : kPhases) {
      float acc = 0;
      for (int j = 0; j < TAPS; ++j) acc += phase[j] * h[j];
      best = std::max(best, acc < 0 ? -acc : acc);
    }
    return best;
  }
  void Reset() { m_hist.fill(0); m_pos = 0; }

 private:
  // Coefficients of the standard, each phase reversed so it runs oldest to newest.
  static const std::array<std::array<float, TAPS>, 4> kPhases;
  std::array<float, 2 * TAPS> m_hist{};
  int m_pos = 0;
};

}  // namespace levelmeasure
