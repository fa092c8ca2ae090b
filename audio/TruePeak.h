// True-peak estimate of one channel: 4x oversampling through the 48-tap interpolating filter of
// ITU-R BS.1770-4 Annex 2, four phases of 12 taps, and the largest magnitude among them.
#pragma once
#include <array>
#include <span>

namespace levelmeasure {

class CTruePeakFilter {
 public:
  static constexpr int TAPS = 12;
  static constexpr int HISTORY = TAPS - 1;

  // line holds HISTORY samples of history followed by the new block; returns the block's
  // largest interpolated |value| and leaves the block's last HISTORY samples at the front of
  // line for the next call. Laid out this way the four phases run over the block in straight,
  // vectorisable loops.
  static float Block(std::span<float> line);

 private:
  // Coefficients of the standard, each phase reversed so it runs oldest to newest.
  static const std::array<std::array<float, TAPS>, 4> kPhases;
};

}  // namespace levelmeasure
