#include "scopes/YVYUAccumulate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "companion/ColorMath.h"
#include "scopes/ChromaMagnitude.h"
#include "scopes/ScopeGeometry.h"

namespace scopes_detail {

namespace {

// Columns are accumulated in tiles: a tile's counters stay in cache while all sampled rows pass,
// and each row contributes one short contiguous read. Luma: 64 columns of 16-bit counters
// (34 KiB with padding); Y/C: 32 columns of 538 difference counters (69 KiB).

unsigned char g_byChromaSpan[256 * 256];

// The one walk over column tiles: for each tile of up to tilePairs pair columns within [p0, p1),
// start(t0, np) clears its counters, row(ptr, np) counts one sampled row of it (ptr at the
// tile's first pair), finish(t0, np) turns its counters into results.
// With a sink, each tile's piece of every row is also written there in VYUY form while it is at
// hand, so a YVYU frame is read from memory once for both.
template <bool kSink = false, class Start, class CountRow, class Finish>
void WalkColumnTiles(const RowSource& src, int tilePairs, int p0, int p1, Start start, CountRow row, Finish finish,
                     const RowSink& sink = {}) {
  for (int t0 = p0; t0 < p1; t0 += tilePairs) {
    const int np = std::min(tilePairs, p1 - t0);
    start(t0, np);
    const BYTE* r = src.base + 4 * t0;
    BYTE* d = kSink ? sink.base + 4 * t0 : nullptr;
    for (int k = 0; k < src.rows; ++k, r += src.step) {
      if (k + kPrefetchRows < src.rows) {
        PrefetchRow(r + kPrefetchRows * src.step, 4 * np);
        if constexpr (kSink) PrefetchRow<true>(d + kPrefetchRows * sink.step, 4 * np);
      }
      row(r, np);
      if constexpr (kSink) {
        kestrune::SwapPairsInline(r, d, np);
        d += sink.step;
      }
    }
    finish(t0, np);
  }
}

// out[L] = map[n[L]] for 256 levels, and bit L of bits[0..3] set where out[L] is not zero (a
// count can map to zero). Most levels of a column are empty and map[0] is 0: groups of eight
// empty levels are written as zeros without looking them up.
void MapCounts(const uint16_t* n, const SHORT* map, LONG* out, uint64_t* bits) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  uint64_t word = 0;
  for (int L = 0; L < 256; L += 8) {
    if ((L & 63) == 0) word = 0;
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + L));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(x, zero)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + L), zero);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + L + 4), zero);
    } else {
      for (int k = 0; k < 8; ++k) out[L + k] = map[n[L + k]];
      const __m128i lo = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out + L)), zero);
      const __m128i hi = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out + L + 4)), zero);
      const unsigned isZero = _mm_movemask_epi8(_mm_packs_epi16(_mm_packs_epi32(lo, hi), zero));
      word |= static_cast<uint64_t>(~isZero & 0xFFu) << (L & 63);
    }
    if ((L & 63) == 56) bits[L >> 6] = word;
  }
#else
  bits[0] = bits[1] = bits[2] = bits[3] = 0;
  for (int L = 0; L < 256; ++L) {
    out[L] = map[n[L]];
    bits[L >> 6] |= static_cast<uint64_t>(out[L] != 0) << (L & 63);
  }
#endif
}

template <bool kYVYU, bool kSink>
void LumaColumns(const RowSource& src, int p0, int p1, const SHORT* map, GrayLevel* out, uint64_t* bits,
                 DWORD* histo, const RowSink& sink) {
  constexpr int sh = kYVYU ? 8 : 0;  // YVYU keeps its luma one byte further into each half
  // Columns padded to 544 bytes: the same level of two columns is never a multiple of 4 KiB
  // apart, where a load would wait on an unrelated store.
  constexpr int kStride = 272;
  alignas(64) uint16_t cnt[2 * kLumaTilePairs][kStride];
  WalkColumnTiles<kSink>(
      src, kLumaTilePairs, p0, p1, [&](int, int np) { std::memset(cnt, 0, sizeof(cnt[0]) * 2 * np); },
      [&](const BYTE* u, int np) {
        uint16_t* c = cnt[0];
        int i = 0;
        for (; i + 4 <= np; i += 4, u += 16, c += 8 * kStride) {  // four pairs, eight columns at a time
          uint64_t w0, w1;
          std::memcpy(&w0, u, 8);
          std::memcpy(&w1, u + 8, 8);
          w0 >>= sh;
          w1 >>= sh;
          ++c[w0 & 0xFF];
          ++c[kStride + ((w0 >> 16) & 0xFF)];
          ++c[2 * kStride + ((w0 >> 32) & 0xFF)];
          ++c[3 * kStride + ((w0 >> 48) & 0xFF)];
          ++c[4 * kStride + (w1 & 0xFF)];
          ++c[5 * kStride + ((w1 >> 16) & 0xFF)];
          ++c[6 * kStride + ((w1 >> 32) & 0xFF)];
          ++c[7 * kStride + ((w1 >> 48) & 0xFF)];
        }
        for (; i + 2 <= np; i += 2, u += 8, c += 4 * kStride) {  // two pairs, four columns
          uint64_t w;
          std::memcpy(&w, u, 8);
          w >>= sh;
          ++c[w & 0xFF];
          ++c[kStride + ((w >> 16) & 0xFF)];
          ++c[2 * kStride + ((w >> 32) & 0xFF)];
          ++c[3 * kStride + ((w >> 48) & 0xFF)];
        }
        if (i < np) {
          ++c[u[sh / 8]];
          ++c[kStride + u[2 + sh / 8]];
        }
      },
      [&](int t0, int np) {
        for (int c = 0; c < 2 * np; ++c) {
          const uint16_t* n = cnt[c];
          if (histo) WidenAndSum(n, nullptr, histo);
          MapCounts(n, map, out[2 * t0 + c].nLevel, bits + 4 * (2 * t0 + c));
        }
      },
      sink);
}

// Each sample lights a span of levels around its luma. Spans are recorded as +1/-1 at their ends
// and a prefix sum per column turns them into counts: two writes per sample instead of up to 385.
template <bool kYVYU>
void YCColumns(const RowSource& src, int p0, int p1, const SHORT* map, YCLevel* out, DWORD* histo) {
  constexpr int y1o = kYVYU ? 1 : 0, uo = kYVYU ? 0 : 1, y2o = kYVYU ? 3 : 2, vo = kYVYU ? 2 : 3;
  static thread_local LONG diff[2 * kYCTilePairs][kYCDiffSize];
  const unsigned char* span = g_byChromaSpan;
  WalkColumnTiles(
      src, kYCTilePairs, p0, p1, [&](int, int np) { std::memset(diff, 0, sizeof(diff[0]) * 2 * np); },
      [&](const BYTE* u, int np) {
        for (int i = 0; i < np; ++i, u += 4) {
          const int m = span[(u[uo] << 8) | u[vo]];
          const int y1 = u[y1o], y2 = u[y2o];
          LONG* d1 = diff[2 * i];
          LONG* d2 = diff[2 * i + 1];
          ++d1[std::max(kYCFirst, y1 - m + kYCOffset)];
          --d1[std::min(kYCLast, y1 + m + kYCOffset) + 1];
          ++d2[std::max(kYCFirst, y2 - m + kYCOffset)];
          --d2[std::min(kYCLast, y2 + m + kYCOffset) + 1];
          if (histo) {
            ++histo[y1];
            ++histo[y2];
          }
        }
      },
      [&](int t0, int np) {
        for (int c = 0; c < 2 * np; ++c) {
          const LONG* d = diff[c];
          LONG* o = out[2 * t0 + c].nLevel;
          LONG run = 0;
          for (int k = 0; k < kYCCounters; ++k) {
            run += d[k];
            o[k] = map[run];
          }
        }
      });
}

// Luma bytes of 16 pairs all equal to the first one (flat areas are common in video).
inline bool FlatLuma16(const BYTE* u) {
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(0x00FF00FF);
  const __m128i first = _mm_set1_epi16(static_cast<short>(u[0]));
  __m128i eq = _mm_cmpeq_epi16(_mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(u)), mask), first);
  for (int k = 16; k < 64; k += 16)
    eq = _mm_and_si128(eq, _mm_cmpeq_epi16(
                               _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(u + k)), mask), first));
  return _mm_movemask_epi8(eq) == 0xFFFF;
#else
  for (int k = 2; k < 64; k += 2)
    if (u[k] != u[0]) return false;
  return true;
#endif
}

// Row r of the source in VYUY form: a YVYU row is swapped into the sink first. The one place
// where a row pass converts.
inline const BYTE* VYUYRow(const RowSource& src, const RowSink& sink, int r) {
  if (!src.yvyu) return src.Row(r);
  BYTE* d = sink.base + static_cast<std::ptrdiff_t>(r) * sink.step;
  kestrune::SwapPairs(src.Row(r), d, src.pairs);
  return d;
}

// Calls flush(unit, n) for every run of n consecutive units of a row equal in the bits of mask.
// Flat picture areas repeat units, and adding a run once avoids a chain of increments of one
// counter.
template <class Flush>
void ForEachUnitRun(const RowSource& src, int r0, int r1, const RowSink& sink, uint32_t mask, Flush flush) {
  const int pairs = src.pairs;
  for (int r = r0; r < r1 && pairs > 0; ++r) {
    const BYTE* row = VYUYRow(src, sink, r);
    uint32_t prev;
    std::memcpy(&prev, row, 4);
    prev &= mask;
    uint32_t run = 1;
    for (int i = 1; i < pairs; ++i) {
      uint32_t cur;
      std::memcpy(&cur, row + 4 * i, 4);
      cur &= mask;
      if (cur == prev) {
        ++run;
        continue;
      }
      flush(prev, run);
      prev = cur;
      run = 1;
    }
    flush(prev, run);
  }
}

}  // namespace

const unsigned char* ChromaSpanTable() {
  static std::once_flag once;
  std::call_once(once, [] {
    FillChromaMagnitude();
    int a[256], b[256];
    for (int c = 0; c < 256; ++c) {
      a[c] = std::abs(static_cast<int>((c - 128) / 0.564 * 0.493));
      b[c] = std::abs(static_cast<int>((c - 128) / 0.713 * 0.877));
    }
    for (int u = 0; u < 256; ++u)
      for (int v = 0; v < 256; ++v) g_byChromaSpan[u * 256 + v] = static_cast<unsigned char>(ChromaMagnitude[a[u]][b[v]]);
  });
  return g_byChromaSpan;
}

void CountLumaColumns(const RowSource& src, int p0, int p1, const SHORT* map, GrayLevel* out, uint64_t* bits,
                      DWORD* histo, const RowSink& sink) {
  if (src.yvyu && sink.base)
    LumaColumns<true, true>(src, p0, p1, map, out, bits, histo, sink);
  else if (src.yvyu)
    LumaColumns<true, false>(src, p0, p1, map, out, bits, histo, sink);
  else
    LumaColumns<false, false>(src, p0, p1, map, out, bits, histo, sink);
}

void CountYCColumns(const RowSource& src, int p0, int p1, const SHORT* map, YCLevel* out, DWORD* histo) {
  ChromaSpanTable();
  if (src.yvyu)
    YCColumns<true>(src, p0, p1, map, out, histo);
  else
    YCColumns<false>(src, p0, p1, map, out, histo);
}

// Eight small tables taken in turn, all in the first-level cache: equal neighbours do not wait
// on each other's counts. Flat stretches of 32 pixels count at once.
void CountLumaRows(const RowSource& src, int r0, int r1, DWORD* histo, const RowSink& sink) {
  DWORD t[8][256] = {};
  const int pairs = src.pairs;
  for (int r = r0; r < r1; ++r) {
    const BYTE* u = VYUYRow(src, sink, r);
    int i = 0;
    for (; i + 16 <= pairs; i += 16, u += 64) {
      if (FlatLuma16(u)) {
        t[0][u[0]] += 32;
        continue;
      }
      for (int k = 0; k < 64; k += 16) {
        uint64_t w0, w1;
        std::memcpy(&w0, u + k, 8);
        std::memcpy(&w1, u + k + 8, 8);
        ++t[0][w0 & 0xFF];
        ++t[1][(w0 >> 16) & 0xFF];
        ++t[2][(w0 >> 32) & 0xFF];
        ++t[3][(w0 >> 48) & 0xFF];
        ++t[4][w1 & 0xFF];
        ++t[5][(w1 >> 16) & 0xFF];
        ++t[6][(w1 >> 32) & 0xFF];
        ++t[7][(w1 >> 48) & 0xFF];
      }
    }
    for (; i < pairs; ++i, u += 4) {
      ++t[0][u[0]];
      ++t[1][u[2]];
    }
  }
  for (int L = 0; L < 256; ++L)
    histo[L] += t[0][L] + t[1][L] + t[2][L] + t[3][L] + t[4][L] + t[5][L] + t[6][L] + t[7][L];
}

void CountChromaRows(const RowSource& src, int r0, int r1, DWORD* uv, DWORD* yu, DWORD* yv, const RowSink& sink) {
  if (!yu) {
    ForEachUnitRun(src, r0, r1, sink, 0xFF00FF00u,
                   [uv](uint32_t unit, uint32_t run) { uv[(unit & 0xFF00) | (unit >> 24)] += run; });
    return;
  }
  ForEachUnitRun(src, r0, r1, sink, 0xFFFFFFFFu, [uv, yu, yv](uint32_t unit, uint32_t run) {
    const uint32_t y1 = (unit & 0xFF) << 8, u = (unit >> 8) & 0xFF, y2 = (unit >> 8) & 0xFF00, v = unit >> 24;
    if (uv) uv[(u << 8) | v] += run;
    yu[y1 | u] += run;
    yu[y2 | u] += run;
    yv[y1 | v] += run;
    yv[y2 | v] += run;
  });
}

void ConvertRows(const RowSource& src, int r0, int r1, const RowSink& sink) {
  for (int r = r0; r < r1; ++r)
    kestrune::SwapPairs(src.Row(r), sink.base + static_cast<std::ptrdiff_t>(r) * sink.step, src.pairs);
}

}  // namespace scopes_detail
