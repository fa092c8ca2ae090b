#include "companion/FastLog.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kIndexBits = 12;
constexpr int kTableSize = (1 << kIndexBits) + 1;  // the extra entry serves interpolation at the top

const std::array<double, kTableSize>& Table() {
  static const std::array<double, kTableSize> table = [] {
    std::array<double, kTableSize> t{};
    for (int i = 0; i < kTableSize; ++i) t[i] = std::log1p(static_cast<double>(i) / (1 << kIndexBits));
    return t;
  }();
  return table;
}

constexpr double kLn2 = 0.693147180559945309417;

}  // namespace

float CFastLog::Calc(int n) const {
  if (n <= 1) return 0.0f;
  const auto u = static_cast<std::uint32_t>(n);
  const int e = 31 - std::countl_zero(u);               // n = 2^e * (1 + f)
  const std::uint32_t m = (u << (31 - e)) << 1;         // f as a 32-bit fraction
  const std::uint32_t index = m >> (32 - kIndexBits);
  const std::uint32_t rest = m << kIndexBits;           // bits below the index
  const auto& t = Table();
  const double frac = static_cast<double>(rest) * (1.0 / 4294967296.0);
  const double lnMantissa = t[index] + (t[index + 1] - t[index]) * frac;
  return static_cast<float>(e * kLn2 + lnMantissa);
}
