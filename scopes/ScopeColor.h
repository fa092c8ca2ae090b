// Internal: one pixel of a VYUY pair to RGB, exactly as the companion's VYUY2ARGB computes it
// (BT.601 limited range, 16 fractional bits, rounded; the tests compare every Y, U, V against
// it). The RGB side counts straight from the pairs with it, without a converted frame.
#pragma once
#include <algorithm>
#include <cstdint>

namespace scopes_detail {

struct ChromaTerms {
  int32_t r, g, b;  // the chroma parts of the three sums, rounding included
};

inline ChromaTerms PairChroma(int u, int v) {
  return {104597 * (v - 128) + 32768, -25675 * (u - 128) - 53279 * (v - 128) + 32768, 132201 * (u - 128) + 32768};
}

// Bytes B, G, R of the pixel with luma y and the pair's chroma terms.
inline void PixelRGB(int y, const ChromaTerms& c, int& b, int& g, int& r) {
  const int32_t l = 76309 * (y - 16);
  r = std::clamp((l + c.r) >> 16, 0, 255);
  g = std::clamp((l + c.g) >> 16, 0, 255);
  b = std::clamp((l + c.b) >> 16, 0, 255);
}

}  // namespace scopes_detail
