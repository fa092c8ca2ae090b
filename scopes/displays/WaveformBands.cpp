#include "scopes/displays/WaveformBands.h"

#include <algorithm>
#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "scopes/ScopePalette.h"

namespace scopes_detail {

void ColourIntensities(const DrawTarget& t) {
  static const auto colours = [] {  // 0 stays 0
    std::array<DWORD, 256> c{};
    std::copy(ScopePalette + 1, ScopePalette + 256, c.begin() + 1);
    return c;
  }();
  const auto colour = [&](DWORD v) -> DWORD {
    return v <= 255 ? colours[v] : static_cast<LONG>(v) < 0 ? SCOPE_MARK_COLOR : ScopePalette[255];
  };
  DWORD* pBuf = t.buf;
  const long long nPixels = t.Pixels();
  long long i = 0;
#if defined(__SSE2__)
  // Most of a waveform is background, and 0 stays 0: runs of eight are skipped in one test.
  for (; i + 8 <= nPixels; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBuf + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBuf + i + 4));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(a, b), _mm_setzero_si128())) == 0xFFFF) continue;
    for (int k = 0; k < 8; ++k) pBuf[i + k] = colour(pBuf[i + k]);
  }
#endif
  for (; i < nPixels; ++i) pBuf[i] = colour(pBuf[i]);
}

}  // namespace scopes_detail
