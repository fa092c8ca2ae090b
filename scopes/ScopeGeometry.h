// Internal: sanitising frame and target geometry for the scope graphs (not exported).
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

// Frames wider or taller than this are refused: far beyond any video size; it keeps every
// offset inside 32 bits and every per-column count inside 16 bits.
constexpr long kMaxFrameSide = 1 << 15;

struct FrameWalk {
  bool ok = false;
  long width = 0;
  long height = 0;
  long pitch = 0;  // at least the bytes read per row
  long skip = 0;   // 0 .. height - 1
  long rows = 0;   // sampled rows, at least 1
  long rowStep = 0;
};

// Null data, non-positive sizes and absurd frames give ok = false. A skip below 0 reads every
// row; a skip past the frame reads the first row only; a pitch below minPitch is raised to it.
inline FrameWalk WalkFrame(const void* pData, long nWidth, long nHeight, long nPitch, long nSkip, long minPitch) {
  FrameWalk w;
  if (!pData || nWidth <= 0 || nHeight <= 0 || nWidth > kMaxFrameSide || nHeight > kMaxFrameSide) return w;
  w.width = nWidth;
  w.height = nHeight;
  w.skip = std::clamp(nSkip, 0L, nHeight - 1);
  w.pitch = std::max(nPitch, minPitch);
  if (static_cast<long long>(w.pitch) * nHeight > INT_MAX) return w;
  w.rows = std::max(1L, nHeight / (w.skip + 1));
  w.rowStep = (w.skip + 1) * w.pitch;
  w.ok = true;
  return w;
}

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
inline void PrefetchRow(const BYTE* p, int nBytes) {
  __builtin_prefetch(p, 0, 0);
  __builtin_prefetch(p + (nBytes - 1) / 2, 0, 0);
  __builtin_prefetch(p + nBytes - 1, 0, 0);
}

// Calls f(i) for every i in [first, last) with v[i] != 0, in increasing order. Level counters
// are sparse and scattered: collecting a bit mask first spares a mispredicted branch per level.
template <class F>
inline void ForEachNonZero(const LONG* v, int first, int last, F f) {
  for (int base = first; base < last; base += 64) {
    const int m = std::min(64, last - base);
    uint64_t bits = 0;
    int b = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; b + 4 <= m; b += 4) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + base + b));
      const int isZero = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(x, zero)));
      bits |= static_cast<uint64_t>(~isZero & 0xF) << b;
    }
#endif
    for (; b < m; ++b) bits |= static_cast<uint64_t>(v[base + b] != 0) << b;
    while (bits) {
      f(base + std::countr_zero(bits));
      bits &= bits - 1;
    }
  }
}

}  // namespace scopes_detail
