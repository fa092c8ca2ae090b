// The gallery's built-in programmes share one noise source: white noise from a fixed seed, so
// every run shows the same pictures, and pink noise drawn from it.
#pragma once
#include <array>
#include <cstdint>

namespace gallery {

class TestNoise {
 public:
  explicit TestNoise(std::uint32_t seed = 12345) : m_nSeed(seed) {}

  // Uniform in [-1, 1).
  double White() {
    m_nSeed = m_nSeed * 1664525u + 1013904223u;
    return (static_cast<double>(m_nSeed >> 8) / (1u << 24)) * 2 - 1;
  }

  // White noise through a three-pole approximation of a -3 dB/octave filter.
  double Pink() {
    const double white = White();
    m_fPole[0] = 0.99765 * m_fPole[0] + white * 0.0990460;
    m_fPole[1] = 0.96300 * m_fPole[1] + white * 0.2965164;
    m_fPole[2] = 0.57000 * m_fPole[2] + white * 1.0526913;
    return (m_fPole[0] + m_fPole[1] + m_fPole[2] + white * 0.1848) * 0.25;
  }

 private:
  std::uint32_t m_nSeed;
  std::array<double, 3> m_fPole{};
};

}  // namespace gallery
