#include "scopes/displays/RGBParade.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "companion/ColorMath.h"
#include "companion/SimdDispatch.h"
#include "scopes/ScopeGeometry.h"

namespace scopes_detail {

namespace {

// Round to nearest, halves to even (the default rounding mode).
inline long long RoundEven(double v) { return std::llrint(v); }

struct PairTables {
  int32_t l[256];           // luma part
  int32_t r[256], b[256];   // chroma parts of red (by V) and blue (by U), rounding included
  int32_t gu[256], gv[256];  // chroma parts of green
  BYTE clamp[2048];          // sum >> 16, offset by 1024, clamped to 0..255
};

const PairTables& Tables() {
  static const PairTables t = [] {
    PairTables p{};
    for (int c = 0; c < 256; ++c) {
      const auto terms = kestrune::PairChroma(c, c);
      p.l[c] = kestrune::LumaTerm(c);
      p.r[c] = terms.r;
      p.b[c] = terms.b;
      p.gu[c] = -kestrune::kGfromU * (c - 128);
      p.gv[c] = -kestrune::kGfromV * (c - 128) + kestrune::kHalf;
    }
    for (int i = 0; i < 2048; ++i) p.clamp[i] = static_cast<BYTE>(std::clamp(i - 1024, 0, 255));
    return p;
  }();
  return t;
}

// Every sum lies within -1.3e7 .. 3.6e7, so sum >> 16 + 1024 stays inside the table.
inline int Clamp8(const PairTables& t, int32_t v) { return t.clamp[(v >> 16) + 1024]; }

// Eight pairs at a time in 32-bit lanes on machines with AVX2. Saturating packs do the clamping:
// a sum >> 16 lies within -200 .. 560, so the 16-bit pack is exact and the 8-bit one clamps.
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
#define SH16(a) _mm256_srai_epi32((a), 16)
// Bytes of 8 pairs into out[64]: for pairs k = 0..3 and 4..7 (h = 0, 1; j = k mod 4), out[16h + j]
// blue, [16h + 4 + j] green, [16h + 8 + j] red of the left pixel, [16h + 12 + j] blue of the
// right one, [32 + 16h + j] its green and [32 + 16h + 4 + j] its red.
KESTRUNE_TARGET_AVX2 inline void EightPairs(const BYTE* p, BYTE* out) {
  const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i byte = _mm256_set1_epi32(0xFF);
  const __m256i y1 = _mm256_sub_epi32(_mm256_and_si256(w, byte), _mm256_set1_epi32(16));
  const __m256i u = _mm256_sub_epi32(_mm256_and_si256(_mm256_srli_epi32(w, 8), byte), _mm256_set1_epi32(128));
  const __m256i y2 = _mm256_sub_epi32(_mm256_and_si256(_mm256_srli_epi32(w, 16), byte), _mm256_set1_epi32(16));
  const __m256i v = _mm256_sub_epi32(_mm256_srli_epi32(w, 24), _mm256_set1_epi32(128));
  const __m256i half = _mm256_set1_epi32(32768);
  const __m256i dr = _mm256_add_epi32(_mm256_mullo_epi32(v, _mm256_set1_epi32(kestrune::kRfromV)), half);
  const __m256i dg = _mm256_sub_epi32(
      half, _mm256_add_epi32(_mm256_mullo_epi32(u, _mm256_set1_epi32(kestrune::kGfromU)), _mm256_mullo_epi32(v, _mm256_set1_epi32(kestrune::kGfromV))));
  const __m256i db = _mm256_add_epi32(_mm256_mullo_epi32(u, _mm256_set1_epi32(kestrune::kBfromU)), half);
  const __m256i k = _mm256_set1_epi32(kestrune::kYScale);
  const __m256i l1 = _mm256_mullo_epi32(y1, k), l2 = _mm256_mullo_epi32(y2, k);
  const __m256i p0 = _mm256_packs_epi32(SH16(_mm256_add_epi32(l1, db)), SH16(_mm256_add_epi32(l1, dg)));
  const __m256i p1 = _mm256_packs_epi32(SH16(_mm256_add_epi32(l1, dr)), SH16(_mm256_add_epi32(l2, db)));
  const __m256i p2 = _mm256_packs_epi32(SH16(_mm256_add_epi32(l2, dg)), SH16(_mm256_add_epi32(l2, dr)));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_packus_epi16(p0, p1));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_packus_epi16(p2, p2));
}

// Counts n pairs (a multiple of 8, at most 32) of one tile row. The bytes are read back from
// memory one by one: extracting them from vector registers costs more.
// cnt: channel b, g, r planes kCh counters apart, columns kCol apart.
template <int kCol, int kCh>
KESTRUNE_TARGET_AVX2 void CountPairsAVX2(const BYTE* p, int n, uint16_t* c) {
  alignas(32) BYTE t[4][64];  // up to 32 pairs
  for (int i = 0; i < n; i += 8) EightPairs(p + 4 * i, t[i / 8]);
  asm volatile("" ::: "memory");
  constexpr int kG = kCh, kR = 2 * kCh;
  for (int blk = 0; blk < n / 8; ++blk)
    for (int h = 0; h < 2; ++h)
      for (int j = 0; j < 4; ++j, c += 2 * kCol) {
        const BYTE* b = t[blk] + 16 * h + j;
        ++c[b[0]];
        ++c[kG + b[4]];
        ++c[kR + b[8]];
        ++c[kCol + b[12]];
        ++c[kCol + kG + b[32]];
        ++c[kCol + kR + b[36]];
      }
}

#undef SH16
#endif

// One tile row of pairs into the tile's counters (channel planes kCh apart, columns kCol apart).
using PairRowFn = void (*)(const BYTE* p, int units, uint16_t* cnt);

template <int kCol, int kCh>
void CountPairsBase(const BYTE* p, int units, uint16_t* c) {
  const PairTables& t = Tables();
  for (int i = 0; i < units; ++i, p += 4, c += 2 * kCol) {
    uint32_t w;
    std::memcpy(&w, p, 4);
    const int u = (w >> 8) & 0xFF, v = w >> 24;
    const int32_t cr = t.r[v], cg = t.gu[u] + t.gv[v], cb = t.b[u];
    const int32_t l1 = t.l[w & 0xFF], l2 = t.l[(w >> 16) & 0xFF];
    ++c[Clamp8(t, l1 + cb)];
    ++c[kCh + Clamp8(t, l1 + cg)];
    ++c[2 * kCh + Clamp8(t, l1 + cr)];
    ++c[kCol + Clamp8(t, l2 + cb)];
    ++c[kCol + kCh + Clamp8(t, l2 + cg)];
    ++c[kCol + 2 * kCh + Clamp8(t, l2 + cr)];
  }
}

#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
template <int kCol, int kCh>
KESTRUNE_TARGET_AVX2 void CountPairsRowAVX2(const BYTE* p, int units, uint16_t* c) {
  const int blocks = units & ~7;
  for (int i = 0; i < blocks; i += 32) CountPairsAVX2<kCol, kCh>(p + 4 * i, std::min(32, blocks - i), c + 2 * kCol * i);
  CountPairsBase<kCol, kCh>(p + 4 * blocks, units - blocks, c + 2 * kCol * blocks);
}
#endif

template <int kCol, int kCh>
PairRowFn PairRowKernel() {
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
  static const PairRowFn fn = kestrune::PickKernel<PairRowFn>(CountPairsRowAVX2<kCol, kCh>, CountPairsBase<kCol, kCh>);
#else
  static const PairRowFn fn = CountPairsBase<kCol, kCh>;
#endif
  return fn;
}

}  // namespace

bool RGBParade::Begin(long nWidth) {
  const int width = static_cast<int>(nWidth);
  if (m_levels[0].GetSize() != width) {
    for (auto& levels : m_levels) levels.SetSize(width, -1);
    for (auto& bits : m_bits) bits.assign(4 * static_cast<std::size_t>(std::max(width, 0)), 0);
  }
  for (auto& levels : m_levels)
    if (levels.GetSize() != width) {
      Reset();
      return false;
    }
  return true;
}

void RGBParade::Reset() {
  for (auto& levels : m_levels) levels.SetSize(0, -1);
  for (auto& bits : m_bits) bits.clear();
}

const uint64_t* RGBParade::Bits(int nChannel) const {
  const std::vector<uint64_t>& v = m_bits[2 - nChannel];
  return v.size() == 4 * static_cast<std::size_t>(m_levels[2 - nChannel].GetSize()) ? v.data() : nullptr;
}

// The one walk over column tiles: count(row, t0, nc, cnt) adds one sampled row's pixels
// t0 .. t0 + nc - 1 into the tile's 16-bit counters cnt[channel B, G, R][column][level].
template <class CountRow>
void RGBParade::Walk(int x0, int x1, int rows, SliceCounts& histo, CountRow count) {
  GrayLevel* out[3] = {m_levels[0].GetData(), m_levels[1].GetData(), m_levels[2].GetData()};
  uint64_t* bits[3] = {m_bits[0].data(), m_bits[1].data(), m_bits[2].data()};
  uint16_t cnt[3][kTileColumns][kLevelStride];
  for (int t0 = x0; t0 < x1; t0 += kTileColumns) {
    const int nc = std::min(kTileColumns, x1 - t0);
    for (auto& ch : cnt) std::memset(ch, 0, sizeof(ch[0]) * nc);
    for (int r = 0; r < rows; ++r) count(r, t0, nc, cnt);
    // Parade records keep raw counts; the histograms are the columns summed.
    for (int ch = 0; ch < 3; ++ch)
      for (int c = 0; c < nc; ++c) WidenAndSum(cnt[ch][c], out[ch][t0 + c].nLevel, histo[ch], bits[ch] + 4 * (t0 + c));
  }
}

void RGBParade::Accumulate(const FrameView& frame, bool bPairs, int x0, int x1, SliceCounts& histo) {
  if (bPairs)
    CountPairs(frame, x0, x1, histo);
  else
    CountPixels(frame, x0, x1, histo);
}

void RGBParade::CountPixels(const FrameView& frame, int x0, int x1, SliceCounts& histo) {
  const int rowStep = static_cast<int>(frame.rowStep), rows = static_cast<int>(frame.rows);
  const BYTE* base = frame.base;
  Walk(x0, x1, rows, histo, [&](int r, int t0, int nc, uint16_t (*cnt)[kTileColumns][kLevelStride]) {
    const BYTE* row = base + static_cast<long long>(r) * rowStep + 4L * t0;
    if (r + kPrefetchRows < rows)
      PrefetchRow(row + kPrefetchRows * rowStep, 4 * nc);
    const BYTE* p = row;
    int c = 0;
    for (; c + 2 <= nc; c += 2, p += 8) {  // two pixels at a time
      uint64_t w;
      std::memcpy(&w, p, 8);
      ++cnt[0][c][w & 0xFF];
      ++cnt[1][c][(w >> 8) & 0xFF];
      ++cnt[2][c][(w >> 16) & 0xFF];
      ++cnt[0][c + 1][(w >> 32) & 0xFF];
      ++cnt[1][c + 1][(w >> 40) & 0xFF];
      ++cnt[2][c + 1][(w >> 48) & 0xFF];
    }
    if (c < nc) {
      ++cnt[0][c][p[0]];
      ++cnt[1][c][p[1]];
      ++cnt[2][c][p[2]];
    }
  });
}

// The same counts as converting the pairs with VYUY2ARGB and counting the pixels, in one pass
// and without the converted frame. An odd last pixel repeats its pair's right pixel; a row of
// one pixel, having no pair, is black.
void RGBParade::CountPairs(const FrameView& frame, int x0, int x1, SliceCounts& histo) {
  const long nWidth = frame.width;
  const long pairs = nWidth / 2;
  const BYTE* base = frame.base;
  const int rowStep = static_cast<int>(frame.rowStep), rows = static_cast<int>(frame.rows);
  const PairRowFn countPairs = PairRowKernel<kLevelStride, kTileColumns * kLevelStride>();
  Walk(x0, x1, rows, histo, [&](int r, int t0, int nc, uint16_t (*cnt)[kTileColumns][kLevelStride]) {
    const BYTE* row = base + static_cast<long long>(r) * rowStep;
    const int unitsInTile = std::min<long>(nc / 2, pairs - t0 / 2);
    const BYTE* p = row + 2L * t0;
    if (r + kPrefetchRows < rows && unitsInTile > 0)
      PrefetchRow(p + kPrefetchRows * rowStep, 4 * unitsInTile);
    countPairs(p, unitsInTile, cnt[0][0]);
    if (t0 + nc == nWidth && (nWidth & 1)) {  // the odd last column closes the last tile
      const int c = nc - 1;
      int b = 0, g = 0, rr = 0;
      if (pairs > 0) {
        const BYTE* last = row + 4 * (pairs - 1);
        kestrune::PixelRGB(last[2], kestrune::PairChroma(last[1], last[3]), b, g, rr);
      }
      ++cnt[0][c][b];
      ++cnt[1][c][g];
      ++cnt[2][c][rr];
    }
  });
}

void RGBParade::Draw(const DrawTarget& t, const GrayLevel* pLevels, long nCount, double dTop, double dBottom,
                     int nChannel, const uint64_t* pNonZero) {
  if (!pLevels || nCount <= 0 || nChannel < 0 || nChannel > 2) return;
  const CRect& rc = t.rc;
  DWORD* pBuf = t.buf;
  const int nStep = t.step, nRows = t.rows;
  const double ys = (rc.bottom - rc.top) / (dTop - dBottom);
  if (!std::isfinite(ys) || !(std::fabs(dBottom) < 1e6) || std::fabs(ys) > kMaxCoord) return;
  const double xs = static_cast<double>(rc.right - rc.left) / nCount;
  // Level rows depend on the level only: one table for all columns.
  // Rows [rowBegin, rowEnd) of each level, clipped to the buffer.
  int rowBegin[256], rowEnd[256];
  for (int i = 0; i < 256; ++i) {
    const long long yA = RoundEven((i - dBottom) * ys);
    const long long yB = RoundEven((i + 1 - dBottom) * ys);
    const long long hh = std::max<long long>(1, yB - yA);
    const long long top = std::clamp<long long>(rc.bottom - yA - hh / 2, INT_MIN / 2, INT_MAX / 2);
    const long long height = std::min<long long>(hh, INT_MAX / 2);
    rowBegin[i] = static_cast<int>(std::max<long long>(top, 0));
    rowEnd[i] = static_cast<int>(std::min<long long>(top + height, nRows));
  }
  const int byteIndex = 2 - nChannel;
  for (long e = 0; e < nCount; ++e) {
    const long long x0 = rc.left + RoundEven(e * xs);
    const long long w = std::max<long long>(1, rc.left + RoundEven((e + 1) * xs) - x0);
    // Every write is clipped to the buffer, whatever the levels shown.
    const int c0 = static_cast<int>(std::max<long long>(x0, 0));
    const int c1 = static_cast<int>(std::min<long long>(x0 + w, nStep));
    if (c0 >= c1) continue;
    const LONG* n = pLevels[e].nLevel;
    const auto level = [&](int i) {
      const int r0 = rowBegin[i], r1 = rowEnd[i];
      if (r0 >= r1) return;
      if (i < 5 || i > 246) {
        for (int y = r0; y < r1; ++y)
          for (int c = c0; c < c1; ++c) pBuf[static_cast<long long>(y) * nStep + c] |= 0x00FFFFFF;
      } else {
        const BYTE b = static_cast<BYTE>(std::min<long long>(128 + 4LL * n[i], 255));
        for (int y = r0; y < r1; ++y)
          for (int c = c0; c < c1; ++c) reinterpret_cast<BYTE*>(&pBuf[static_cast<long long>(y) * nStep + c])[byteIndex] = b;
      }
    };
    if (pNonZero)
      ForEachSetBit(pNonZero + 4 * e, 0, 256, level);
    else
      ForEachNonZero(n, 0, 256, level);
  }
}


}  // namespace scopes_detail
