#include "scopes/displays/RGBHistogram.h"

#include <algorithm>
#include <climits>

namespace scopes_detail {

void RGBHistogram::Collect(const SliceCounts* slices, int nSlices, long nPixels) {
  m_nPixels = nPixels;
  for (int ch = 0; ch < 3; ++ch) {
    CTArray<LONG>& counts = m_counts[ch];
    if (counts.GetSize() != 256) counts.SetSize(256, -1);
    if (counts.GetSize() != 256) continue;
    LONG* dst = counts.GetData();
    for (int L = 0; L < 256; ++L) {
      DWORD sum = 0;
      for (int s = 0; s < nSlices; ++s) sum += slices[s][ch][L];
      dst[L] = static_cast<LONG>(sum);
    }
  }
}

void RGBHistogram::Reset() {
  for (auto& counts : m_counts) counts.SetSize(0, -1);
  m_nPixels = 0;
}

long RGBHistogram::Value(int nChannel, int nLevel) const {
  if (nChannel < 0 || nChannel > 2) return 0;
  const CTArray<LONG>& counts = Counts(nChannel);
  return nLevel >= 0 && nLevel < 256 && counts.GetSize() == 256 ? counts[nLevel] : 0;
}

void RGBHistogram::Draw(const DrawTarget& t, const LONG* pValues, long nCount, DWORD colour, long nPixels,
                        const CFastLog& log) {
  if (nCount <= 0 || !pValues) return;
  const CRect& rc = t.rc;
  const int levels = static_cast<int>(std::min<long>(nCount, 256));
  const double xw = (rc.right - rc.left) / 256.0;
  const float d = log.Calc(static_cast<int>(std::min<long>(nPixels, INT_MAX)));
  const float hs = d > 0.f ? static_cast<float>(rc.bottom - rc.top) / d : 0.f;
  const CRect clip(0, 0, t.step, t.rows);
  for (int i = 0; i < levels; ++i) {
    const LONG v = pValues[i];
    if (v == 0) continue;
    const int x = static_cast<int>(i * xw) + rc.left;
    // A frame of one pixel has a zero logarithm: its single count fills the height.
    const int hh = d > 0.f ? static_cast<int>(log.Calc(std::max<LONG>(v, 1)) * hs) : rc.bottom - rc.top;
    const int w = xw > 1 ? static_cast<int>(xw + 1) : 1;
    CRect r(x, rc.bottom - hh, x + w, rc.bottom);
    if (hh <= 0 || !r.IntersectRect(&r, &clip)) continue;
    for (int y = r.top; y < r.bottom; ++y) std::fill(t.Row(y) + r.left, t.Row(y) + r.right, colour);
  }
}

}  // namespace scopes_detail
