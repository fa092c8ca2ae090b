#include "companion/ColorConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "companion/ColorMath.h"
#include "companion/SimdDispatch.h"

namespace {

// Frames come from hosts at any byte alignment; words are read through an alias-safe,
// unaligned type so that the row loops stay plain word loops the compiler vectorises.
typedef std::uint32_t WordU __attribute__((may_alias, aligned(1)));

using namespace kestrune;

// Row kernels: one body, built for the baseline and for AVX2 (eight 32-bit lanes with a real
// 32-bit multiply); each conversion picks its kernel once.
using RowFn = void (*)(const WordU* __restrict, WordU* __restrict, long);

inline std::uint32_t Clamp8U(std::int32_t fixed) { return static_cast<std::uint32_t>(Clamp8(fixed)); }

inline std::uint32_t PackPixel(std::int32_t r, std::int32_t g, std::int32_t b) {
  return 0xFF000000u | (Clamp8U(r) << 16) | (Clamp8U(g) << 8) | Clamp8U(b);
}

__attribute__((always_inline)) inline void ArgbRowToVyuyBody(const WordU* __restrict src, WordU* __restrict dst,
                                                              long pairs) {
  for (long i = 0; i < pairs; ++i) {
    const std::uint32_t p = src[2 * i];
    const std::uint32_t q = src[2 * i + 1];
    const std::int32_t b1 = p & 0xFF, g1 = (p >> 8) & 0xFF, r1 = (p >> 16) & 0xFF;
    const std::int32_t b2 = q & 0xFF, g2 = (q >> 8) & 0xFF, r2 = (q >> 16) & 0xFF;
    const std::uint32_t y1 = static_cast<std::uint32_t>(Luma(r1, g1, b1));
    const std::uint32_t y2 = static_cast<std::uint32_t>(Luma(r2, g2, b2));
    const std::uint32_t u = static_cast<std::uint32_t>(ChromaU2(r1 + r2, g1 + g2, b1 + b2));
    const std::uint32_t v = static_cast<std::uint32_t>(ChromaV2(r1 + r2, g1 + g2, b1 + b2));
    dst[i] = y1 | (u << 8) | (y2 << 16) | (v << 24);
  }
}

__attribute__((always_inline)) inline void VyuyRowToArgbBody(const WordU* __restrict src, WordU* __restrict dst,
                                                              long pairs) {
  for (long i = 0; i < pairs; ++i) {
    const std::uint32_t w = src[i];
    const std::int32_t y1 = static_cast<std::int32_t>(w & 0xFF) - 16;
    const std::int32_t u = static_cast<std::int32_t>((w >> 8) & 0xFF) - 128;
    const std::int32_t y2 = static_cast<std::int32_t>((w >> 16) & 0xFF) - 16;
    const std::int32_t v = static_cast<std::int32_t>(w >> 24) - 128;
    const std::int32_t dr = kRfromV * v + kHalf;
    const std::int32_t dg = -kGfromU * u - kGfromV * v + kHalf;
    const std::int32_t db = kBfromU * u + kHalf;
    const std::int32_t l1 = kYScale * y1, l2 = kYScale * y2;
    dst[2 * i] = PackPixel(l1 + dr, l1 + dg, l1 + db);
    dst[2 * i + 1] = PackPixel(l2 + dr, l2 + dg, l2 + db);
  }
}

void ArgbRowToVyuyBase(const WordU* __restrict s, WordU* __restrict d, long n) { ArgbRowToVyuyBody(s, d, n); }
void VyuyRowToArgbBase(const WordU* __restrict s, WordU* __restrict d, long n) { VyuyRowToArgbBody(s, d, n); }
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
KESTRUNE_TARGET_AVX2 void ArgbRowToVyuyAVX2(const WordU* __restrict s, WordU* __restrict d, long n) {
  ArgbRowToVyuyBody(s, d, n);
}
KESTRUNE_TARGET_AVX2 void VyuyRowToArgbAVX2(const WordU* __restrict s, WordU* __restrict d, long n) {
  VyuyRowToArgbBody(s, d, n);
}
#else
constexpr RowFn ArgbRowToVyuyAVX2 = nullptr, VyuyRowToArgbAVX2 = nullptr;
#endif

RowFn ArgbRowKernel() {
  static const RowFn fn = PickKernel<RowFn>(ArgbRowToVyuyAVX2, ArgbRowToVyuyBase);
  return fn;
}
RowFn VyuyRowKernel() {
  static const RowFn fn = PickKernel<RowFn>(VyuyRowToArgbAVX2, VyuyRowToArgbBase);
  return fn;
}

void SwapPairsBase(const unsigned char* s, unsigned char* d, long n) { SwapPairsInline(s, d, n); }
using SwapFn = void (*)(const unsigned char*, unsigned char*, long);
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
KESTRUNE_TARGET_AVX2 void SwapPairsAVX2(const unsigned char* s, unsigned char* d, long n) {
  long i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i),
                        _mm256_or_si256(_mm256_slli_epi16(x, 8), _mm256_srli_epi16(x, 8)));
  }
  SwapPairsInline(s + 4 * i, d + 4 * i, n - i);
}
#else
constexpr SwapFn SwapPairsAVX2 = nullptr;
#endif

struct FrameWalk {
  long rows = 0;
  std::ptrdiff_t step = 0;  // bytes between sampled source rows
};

// Validates the geometry shared by both frame conversions, every product overflow-checked before
// it is used; rows = 0 means refused. bytesPerUnit / pixelsPerUnit give the bytes read per row,
// dstBytesPerPixel the bytes written per source pixel.
FrameWalk PlanFrame(const void* pSrc, void* pDst, long nWidth, long nHeight, long nPitch, long nSkip,
                    long bytesPerUnit, long pixelsPerUnit, long dstBytesPerPixel) {
  FrameWalk walk;
  if (!pSrc || !pDst || nWidth <= 0 || nHeight <= 0 || nWidth > kMaxConvertWidth) return walk;
  const long bytesReadPerRow = (nWidth / pixelsPerUnit) * bytesPerUnit;  // at most 2^30
  if (nPitch < bytesReadPerRow) return walk;
  // A skip at or past the frame's height samples the first row only.
  const long every = nSkip < 0 ? 1 : nSkip >= nHeight ? nHeight : nSkip + 1;
  const long rows = std::max(nHeight / every, 1L);
  long step = 0, span = 0, extent = 0;
  if (__builtin_mul_overflow(every, nPitch, &step) || __builtin_mul_overflow(rows - 1, step, &span) ||
      __builtin_add_overflow(span, bytesReadPerRow, &extent) || extent > kMaxConvertFrameBytes)
    return walk;
  // The packed output must be a real buffer too (a row that reads nothing may repeat forever).
  long written = 0;
  if (__builtin_mul_overflow(rows, nWidth * dstBytesPerPixel, &written) || written > kMaxConvertFrameBytes) return walk;
  walk.rows = rows;
  walk.step = step;
  return walk;
}

}  // namespace

void ARGB2VYUY(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip, void* pDst) {
  const long pairs = nWidth / 2;
  const FrameWalk walk = PlanFrame(pSrc, pDst, nWidth, nHeight, nPitch, nSkip, 4, 1, 2);
  if (walk.rows == 0 || pairs == 0) return;
  auto* src = static_cast<const unsigned char*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  const RowFn row = ArgbRowKernel();
  for (long r = 0; r < walk.rows; ++r, src += walk.step, dst += pairs) row(reinterpret_cast<const WordU*>(src), dst, pairs);
}

void VYUY2ARGB(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip, void* pDst) {
  const long pairs = nWidth / 2;
  const FrameWalk walk = PlanFrame(pSrc, pDst, nWidth, nHeight, nPitch, nSkip, 4, 2, 4);
  if (walk.rows == 0) return;
  auto* src = static_cast<const unsigned char*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  const bool odd = (nWidth & 1) != 0;
  const RowFn row = VyuyRowKernel();
  for (long r = 0; r < walk.rows; ++r, src += walk.step, dst += nWidth) {
    row(reinterpret_cast<const WordU*>(src), dst, pairs);
    if (odd) dst[nWidth - 1] = pairs > 0 ? dst[nWidth - 2] : 0xFF000000u;
  }
}

void ARGB2YVYU(const void* pSrc, int nCount, void* pDst) {
  if (!pSrc || !pDst || nCount < 2 || nCount > kMaxConvertWidth) return;
  auto* src = static_cast<const WordU*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  const int pairs = nCount / 2;
  ArgbRowKernel()(src, dst, pairs);
  for (int i = 0; i < pairs; ++i) dst[i] = SwapPairWord(dst[i]);
}

void RGB2HSV(COLORREF cr, float& h, float& s, float& v) {
  const int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const int delta = mx - mn;
  v = static_cast<float>(mx) / 255.0f;
  if (delta == 0) {
    h = 0.0f;
    s = 0.0f;
    return;
  }
  s = static_cast<float>(delta) / static_cast<float>(mx);
  float sector;
  if (mx == r)
    sector = static_cast<float>(g - b) / static_cast<float>(delta);
  else if (mx == g)
    sector = 2.0f + static_cast<float>(b - r) / static_cast<float>(delta);
  else
    sector = 4.0f + static_cast<float>(r - g) / static_cast<float>(delta);
  h = sector * 60.0f;
  if (h < 0.0f) h += 360.0f;
  if (h >= 360.0f) h -= 360.0f;
}

namespace {
float Unit(float x) { return std::isnan(x) ? 0.0f : std::clamp(x, 0.0f, 1.0f); }
int To255(double x) { return static_cast<int>(std::lround(std::clamp(x, 0.0, 1.0) * 255.0)); }
}  // namespace

void HSV2RGB(float h, float s, float v, int& r, int& g, int& b) {
  const double sat = Unit(s), val = Unit(v);
  double hue = std::isfinite(h) ? std::fmod(static_cast<double>(h), 360.0) : 0.0;
  if (hue < 0.0) hue += 360.0;
  const double sector = hue / 60.0;
  const int i = std::min(static_cast<int>(sector), 5);
  const double f = sector - i;
  const double p = val * (1.0 - sat), q = val * (1.0 - sat * f), t = val * (1.0 - sat * (1.0 - f));
  double rr, gg, bb;
  switch (i) {
    case 0: rr = val, gg = t, bb = p; break;
    case 1: rr = q, gg = val, bb = p; break;
    case 2: rr = p, gg = val, bb = t; break;
    case 3: rr = p, gg = q, bb = val; break;
    case 4: rr = t, gg = p, bb = val; break;
    default: rr = val, gg = p, bb = q; break;
  }
  r = To255(rr);
  g = To255(gg);
  b = To255(bb);
}

namespace kestrune {

void SwapPairs(const unsigned char* s, unsigned char* d, long n) {
  static const SwapFn fn = PickKernel<SwapFn>(SwapPairsAVX2, SwapPairsBase);
  fn(s, d, n);
}

}  // namespace kestrune
