#include "scopes/displays/LumaHistogram.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "scopes/ScopeGeometry.h"

namespace scopes_detail {

void LumaHistogram::Collect(const SliceCounts* slices, int nSlices) {
  if (m_counts.GetSize() != 256) m_counts.SetSize(256, -1);
  if (m_counts.GetSize() != 256) return;
  DWORD* h = m_counts.GetData();
  for (int L = 0; L < 256; ++L) {
    DWORD sum = 0;
    for (int s = 0; s < nSlices; ++s) sum += slices[s][L];
    h[L] = sum;
  }
}

long LumaHistogram::Value(int nLevel) const {
  if (nLevel < 0 || nLevel > 255 || !HasCounts()) return 0;
  return static_cast<long>(m_counts[nLevel]);
}

// Fewer bins keep the greatest count that lands on each; more bins interpolate.
const DWORD* LumaHistogram::Bins(int n) {
  const DWORD* src = m_counts.GetData();
  if (n == 256) return src;
  m_scaled.SetSize(n, -1);
  if (m_scaled.GetSize() != n) return nullptr;
  DWORD* dst = m_scaled.GetData();
  std::memset(dst, 0, sizeof(DWORD) * static_cast<unsigned>(n));
  if (n < 256) {
    float p = 0.000001f;
    const float step = static_cast<float>(n) / 256;
    int last = -1;
    for (int j = 0; j < 256; ++j, p += step) {
      const int t = std::min(static_cast<int>(p), n - 1);
      if (t != last) {
        dst[t] = src[j];
        last = t;
      } else {
        dst[t] = std::max(dst[t], src[j]);
      }
    }
    return dst;
  }
  float p = 0.f;
  const float step = 255.f / n;
  for (int i = 0; i < n; ++i, p += step) {
    const int t = std::min(static_cast<int>(p), 255);
    if (t + 1 >= 256) {
      dst[i] = src[t];
    } else {
      const float a = static_cast<float>(src[t]);
      const float d = static_cast<float>(static_cast<long long>(src[t + 1]) - static_cast<long long>(src[t]));
      dst[i] = static_cast<DWORD>(a + d * (p - static_cast<float>(t)));
    }
  }
  return dst;
}

void LumaHistogram::Draw(const DrawTarget& t, long long nPixels, const CFastLog& log) {
  if (!HasCounts()) return;
  const CRect& rc = t.rc;
  const float f = log.Calc(static_cast<int>(std::min<long long>(nPixels, INT_MAX)));
  const int limit = std::min<int>(rc.bottom, t.rows - 1);
  const int n = rc.right - rc.left;
  if (n <= 0 || n > kMaxCoord) return;
  const DWORD* bins = Bins(n);
  if (!bins) return;
  // A frame of a single pixel has a zero logarithm; its one count then fills the height.
  const float scale = f > 0.f ? static_cast<float>(rc.bottom - rc.top) / f : 0.f;
  for (int i = 0; i < n; ++i) {
    const DWORD v = bins[i];
    const long long x = static_cast<long long>(rc.left) + i;
    if (v == 0 || x < 0 || x >= t.step) continue;
    const int hh = f > 0.f ? static_cast<int>(scale * log.Calc(static_cast<int>(std::min<DWORD>(v, INT_MAX))))
                           : rc.bottom - rc.top;
    const int y = rc.bottom - hh;
    for (int yy = std::max(y, 0); yy <= limit; ++yy) t.Row(yy)[x] = 0xFFFFFFFF;
  }
}

}  // namespace scopes_detail
