// Internal: drawing-target checks and small walking helpers of the scope graphs (not exported).
#pragma once
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "winport/base/geometry.h"
#include "winport/base/types.h"

namespace scopes_detail {

// A drawing target: a buffer of nStep x nRows pixels and a non-empty rectangle of sane size.
inline bool TargetOk(const DWORD* pBuf, int nStep, int nRows) {
  return pBuf && nStep > 0 && nRows > 0 && static_cast<long long>(nStep) * nRows <= INT_MAX;
}
constexpr int kMaxCoord = 1 << 20;
inline bool RectOk(const RECT& rc) {
  auto sane = [](LONG v) { return v > -kMaxCoord && v < kMaxCoord; };
  return sane(rc.left) && sane(rc.top) && sane(rc.right) && sane(rc.bottom) && rc.right > rc.left &&
         rc.bottom > rc.top;
}

// Rows are far apart in memory, one page or more: the hardware's stream prefetch stops at page
// ends, so column tiles fetch the rows ahead of use themselves.
constexpr int kPrefetchRows = 8;
// nBytes is at most 128: the row piece spans at most three cache lines.
// A piece about to be written is fetched for writing, and kept close.
template <bool kWrite = false>
inline void PrefetchRow(const BYTE* p, int nBytes) {
  constexpr int rw = kWrite ? 1 : 0, keep = kWrite ? 3 : 0;
  __builtin_prefetch(p, rw, keep);
  __builtin_prefetch(p + (nBytes - 1) / 2, rw, keep);
  __builtin_prefetch(p + nBytes - 1, rw, keep);
}

// For 256 levels: out[L] = n[L] (when out is not null) and histo[L] += n[L]; the flush of a
// column tile, as wide as the baseline instruction set allows. With nonZero, bit L of its four
// words tells whether n[L] is non-zero: drawing then visits the levels present without reading
// the whole record again.
inline void WidenAndSum(const uint16_t* n, LONG* out, DWORD* histo, uint64_t* nonZero = nullptr) {
  int L = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  uint64_t word = 0;
  for (; L < 256; L += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + L));
    const __m128i lo = _mm_unpacklo_epi16(x, zero), hi = _mm_unpackhi_epi16(x, zero);
    if (out) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + L), lo);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + L + 4), hi);
    }
    __m128i* h = reinterpret_cast<__m128i*>(histo + L);
    _mm_storeu_si128(h, _mm_add_epi32(_mm_loadu_si128(h), lo));
    _mm_storeu_si128(h + 1, _mm_add_epi32(_mm_loadu_si128(h + 1), hi));
    if (nonZero) {
      const int isZero = _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(x, zero), zero)) & 0xFF;
      word |= static_cast<uint64_t>(~isZero & 0xFF) << (L & 63);
      if ((L & 63) == 56) {
        nonZero[L >> 6] = word;
        word = 0;
      }
    }
  }
#endif
  for (; L < 256; ++L) {
    if (out) out[L] = n[L];
    histo[L] += n[L];
    if (nonZero) {
      if ((L & 63) == 0) nonZero[L >> 6] = 0;
      nonZero[L >> 6] |= static_cast<uint64_t>(n[L] != 0) << (L & 63);
    }
  }
}

// Calls f(i) for every bit i set in bits within [first, last), in increasing order.
template <class F>
inline void ForEachSetBit(const uint64_t* bits, int first, int last, F f) {
  for (int w = first >> 6; w << 6 < last; ++w) {
    uint64_t b = bits[w];
    const int base = w << 6;
    if (first > base) b &= ~uint64_t{0} << (first - base);
    if (last - base < 64) b &= (uint64_t{1} << (last - base)) - 1;
    while (b) {
      f(base + std::countr_zero(b));
      b &= b - 1;
    }
  }
}

// Calls f(i) for every i in [first, last) with v[i] != 0, in increasing order. Level counters
// are sparse and scattered: collecting a bit mask first spares a mispredicted branch per level.
// Bit b set where v[b] != 0, for b < m <= 64.
inline uint64_t NonZeroMask(const LONG* v, int m) {
  uint64_t bits = 0;
  int b = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; b + 4 <= m; b += 4) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + b));
    const int isZero = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(x, zero)));
    bits |= static_cast<uint64_t>(~isZero & 0xF) << b;
  }
#endif
  for (; b < m; ++b) bits |= static_cast<uint64_t>(v[b] != 0) << b;
  return bits;
}

template <class F>
inline void ForEachNonZero(const LONG* v, int first, int last, F f) {
  for (int base = first; base < last; base += 64) {
    uint64_t bits = NonZeroMask(v + base, std::min(64, last - base));
    while (bits) {
      f(base + std::countr_zero(bits));
      bits &= bits - 1;
    }
  }
}

}  // namespace scopes_detail
