#include "companion/ColorConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Frames come from hosts at any byte alignment; words are read through an alias-safe,
// unaligned type so that the row loops stay plain word loops the compiler vectorises.
typedef std::uint32_t WordU __attribute__((may_alias, aligned(1)));

constexpr std::int32_t kYR = 16829, kYG = 33039, kYB = 6416;
constexpr std::int32_t kUR = -9714, kUG = -19070, kUB = 28784;
constexpr std::int32_t kVR = 28784, kVG = -24103, kVB = -4681;
constexpr std::int32_t kYScale = 76309;
constexpr std::int32_t kRfromV = 104597, kGfromU = 25675, kGfromV = 53279, kBfromU = 132201;
constexpr std::int32_t kHalf = 1 << 15;

// The row loops are built twice on x86-64: for AVX2 (eight 32-bit lanes with a real 32-bit
// multiply) and for the baseline; the loader picks one per machine.
#if defined(__x86_64__) && defined(__ELF__)
#define ROW_CLONES __attribute__((target_clones("avx2", "default"), noinline))
#else
#define ROW_CLONES
#endif

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

inline std::uint32_t Clamp8(std::int32_t fixed) {
  return static_cast<std::uint32_t>(std::min(std::max(fixed >> 16, 0), 255));
}

inline std::uint32_t PackPixel(std::int32_t r, std::int32_t g, std::int32_t b) {
  return 0xFF000000u | (Clamp8(r) << 16) | (Clamp8(g) << 8) | Clamp8(b);
}

ROW_CLONES void ArgbRowToVyuy(const WordU* __restrict src, WordU* __restrict dst, long pairs) {
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

ROW_CLONES void VyuyRowToArgb(const WordU* __restrict src, WordU* __restrict dst, long pairs) {
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

struct FrameWalk {
  long rows = 0;
  std::ptrdiff_t step = 0;  // bytes between sampled source rows
};

// Validates the geometry shared by both frame conversions; rows = 0 means refused.
FrameWalk PlanFrame(const void* pSrc, void* pDst, long nWidth, long nHeight, long nPitch, long nSkip,
                    long bytesReadPerRow) {
  FrameWalk walk;
  if (!pSrc || !pDst || nWidth <= 0 || nHeight <= 0 || nPitch < bytesReadPerRow) return walk;
  const long every = std::max(nSkip, 0L) + 1;
  walk.rows = std::max(nHeight / every, 1L);
  walk.step = static_cast<std::ptrdiff_t>(every) * nPitch;
  return walk;
}

}  // namespace

void ARGB2VYUY(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip, void* pDst) {
  const long pairs = nWidth / 2;
  const FrameWalk walk = PlanFrame(pSrc, pDst, nWidth, nHeight, nPitch, nSkip, nWidth * 4);
  if (walk.rows == 0 || pairs == 0) return;
  auto* src = static_cast<const unsigned char*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  for (long r = 0; r < walk.rows; ++r, src += walk.step, dst += pairs)
    ArgbRowToVyuy(reinterpret_cast<const WordU*>(src), dst, pairs);
}

void VYUY2ARGB(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip, void* pDst) {
  const long pairs = nWidth / 2;
  const FrameWalk walk = PlanFrame(pSrc, pDst, nWidth, nHeight, nPitch, nSkip, pairs * 4);
  if (walk.rows == 0) return;
  auto* src = static_cast<const unsigned char*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  const bool odd = (nWidth & 1) != 0;
  for (long r = 0; r < walk.rows; ++r, src += walk.step, dst += nWidth) {
    VyuyRowToArgb(reinterpret_cast<const WordU*>(src), dst, pairs);
    if (odd) dst[nWidth - 1] = pairs > 0 ? dst[nWidth - 2] : 0xFF000000u;
  }
}

void ARGB2YVYU(const void* pSrc, int nCount, void* pDst) {
  if (!pSrc || !pDst || nCount < 2) return;
  auto* src = static_cast<const WordU*>(pSrc);
  auto* dst = static_cast<WordU*>(pDst);
  const int pairs = nCount / 2;
  ArgbRowToVyuy(src, dst, pairs);
  // VYUY (Y1, U, Y2, V) -> YVYU (U, Y1, V, Y2): swap the bytes of each half-word.
  for (int i = 0; i < pairs; ++i) {
    const std::uint32_t w = dst[i];
    dst[i] = ((w & 0x00FF00FFu) << 8) | ((w >> 8) & 0x00FF00FFu);
  }
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
