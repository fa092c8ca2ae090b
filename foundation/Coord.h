// Doubles become pixel coordinates, lengths and cell indexes here and nowhere else. One rule for
// every control: NaN is 0, and every other value saturates at +-nLimit before the conversion, so
// the conversion is always defined and a sum or difference of two results still fits an int.
// A caller whose NaN means something else (an unknown level is silence) says so before it asks.
#pragma once
#include "foundation/Export.h"

namespace coord {

inline constexpr int kLimit = 1 << 30;

// Toward zero.
PARVANEU_API int Trunc(double v, int nLimit = kLimit);
// Nearest integer, halves to even.
PARVANEU_API int Nearest(double v, int nLimit = kLimit);

}  // namespace coord
