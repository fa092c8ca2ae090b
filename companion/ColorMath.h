// BT.601 limited-range colour maths in integer fixed point (16 fractional bits, rounded), shared
// by the frame conversions and by everything that counts pixels straight from pairs. The
// formulas are spelled out in ColorConvert.h.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "companion/KestruneExport.h"

namespace kestrune {

// RGB -> Y, U, V weights.
inline constexpr std::int32_t kYR = 16829, kYG = 33039, kYB = 6416;
inline constexpr std::int32_t kUR = -9714, kUG = -19070, kUB = 28784;
inline constexpr std::int32_t kVR = 28784, kVG = -24103, kVB = -4681;
// Y, U, V -> RGB weights.
inline constexpr std::int32_t kYScale = 76309;
inline constexpr std::int32_t kRfromV = 104597, kGfromU = 25675, kGfromV = 53279, kBfromU = 132201;
inline constexpr std::int32_t kHalf = 1 << 15;

inline std::int32_t Luma(std::int32_t r, std::int32_t g, std::int32_t b) {
  return (kYR * r + kYG * g + kYB * b + (16 << 16) + kHalf) >> 16;
}

// Chroma from the sums of two pixels: one more fractional bit, rounded once.
inline std::int32_t ChromaU2(std::int32_t r2, std::int32_t g2, std::int32_t b2) {
  return (kUR * r2 + kUG * g2 + kUB * b2 + (128 << 17) + (1 << 16)) >> 17;
}
inline std::int32_t ChromaV2(std::int32_t r2, std::int32_t g2, std::int32_t b2) {
  return (kVR * r2 + kVG * g2 + kVB * b2 + (128 << 17) + (1 << 16)) >> 17;
}

// The luma part of the three sums.
inline constexpr std::int32_t LumaTerm(int y) { return kYScale * (y - 16); }

// The chroma parts of the three sums of a pair, rounding included.
struct ChromaTerms {
  std::int32_t r, g, b;
};
inline constexpr ChromaTerms PairChroma(int u, int v) {
  return {kRfromV * (v - 128) + kHalf, -kGfromU * (u - 128) - kGfromV * (v - 128) + kHalf, kBfromU * (u - 128) + kHalf};
}

inline int Clamp8(std::int32_t fixed) { return std::clamp(fixed >> 16, 0, 255); }

// Bytes B, G, R of the pixel with luma y and its pair's chroma terms.
inline void PixelRGB(int y, const ChromaTerms& c, int& b, int& g, int& r) {
  const std::int32_t l = LumaTerm(y);
  r = Clamp8(l + c.r);
  g = Clamp8(l + c.g);
  b = Clamp8(l + c.b);
}

// YVYU (U, Y1, V, Y2) <-> VYUY (Y1, U, Y2, V): the bytes of each 16-bit half exchanged; the
// swap is its own inverse.
inline constexpr std::uint32_t SwapPairWord(std::uint32_t w) { return ((w & 0x00FF00FFu) << 8) | ((w >> 8) & 0x00FF00FFu); }

// The swap of n pairs, inline for short pieces. Any alignment; d may be s.
inline void SwapPairsInline(const unsigned char* s, unsigned char* d, long n) {
  long i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= n; i += 4) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8)));
  }
#endif
  for (; i < n; ++i) {
    std::uint32_t x;
    std::memcpy(&x, s + 4 * i, 4);
    x = SwapPairWord(x);
    std::memcpy(d + 4 * i, &x, 4);
  }
}

// The same for whole rows. Frames are larger than the cache, and the copy runs at the speed of
// its loads: the widest vectors the machine has are used.
KESTRUNE_API void SwapPairs(const unsigned char* s, unsigned char* d, long n);

}  // namespace kestrune
