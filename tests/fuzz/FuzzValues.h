// Inputs the harnesses draw from the fuzzer's bytes: numbers biased toward the limits where
// arithmetic wraps, and floats with their special values.
#pragma once
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace fuzzvalues {

// An int: small most of the time, often at or next to a limit, sometimes anything.
inline int Int(FuzzedDataProvider& in) {
  static constexpr int kEdges[] = {0,       1,        -1,          2,           INT_MAX,      INT_MIN,
                                   INT_MAX - 1, INT_MIN + 1, 1 << 30,  -(1 << 30), 32767,  32768,
                                   -32768,  65535,    65536,       1 << 24,     -(1 << 24),   100000};
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegralInRange(-64, 64);
    case 1: return in.PickValueInArray(kEdges);
    case 2: return in.ConsumeIntegralInRange(-4096, 4096);
    default: return in.ConsumeIntegral<int>();
  }
}

inline float Float(FuzzedDataProvider& in) {
  static constexpr float kEdges[] = {0.0f,
                                     -0.0f,
                                     1.0f,
                                     -1.0f,
                                     std::numeric_limits<float>::max(),
                                     -std::numeric_limits<float>::max(),
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::denorm_min(),
                                     1e30f,
                                     -1e30f};
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: return in.ConsumeFloatingPointInRange(-200.0f, 200.0f);
    case 1: return in.PickValueInArray(kEdges);
    default: return in.ConsumeFloatingPoint<float>();
  }
}

}  // namespace fuzzvalues
