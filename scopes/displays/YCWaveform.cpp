#include "scopes/displays/YCWaveform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "scopes/ScopeGeometry.h"

namespace scopes_detail {

bool YCWaveform::Begin(long nWidth, int nRows, const CFastLog& log) {
  if (!SizeRecords(m_levels, nWidth)) return false;
  if (m_map.GetSize() == nRows + 1) return true;
  m_map.SetSize(nRows + 1, -1);
  const float s = 256.f / log.Calc(nRows + kYCMapHeadroom);
  m_map[0] = 0;
  for (int k = 1; k <= nRows; ++k) m_map[k] = static_cast<SHORT>(std::min(255, static_cast<int>(log.Calc(k) * s) + 1));
  return true;
}

void YCWaveform::Accumulate(const RowSource& src, int p0, int p1, DWORD* histo) {
  CountYCColumns(src, p0, p1, m_map.GetData(), m_levels.GetData(), histo);
}

// Code level 16 (counter 141) lies on rc.bottom.
const int* YCWaveform::RowTable(const DrawTarget& t, bool bFullRange) {
  constexpr int k16 = 16 + kYCOffset;
  const int bottom = t.rc.bottom, h = t.rc.bottom - t.rc.top;
  return m_rows.For(t, bFullRange, kYCCounters, [&](int k) {
    return std::trunc(bFullRange ? bottom - (255.0 * (k - k16) / 219.0) * (h / 256.0) : bottom - double(k - k16) * h / 220.0);
  });
}

void YCWaveform::Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut) {
  const int count = m_levels.GetSize();
  if (count <= 0) return;
  const int* row = RowTable(t, bFullRange);
  if (!row) return;
  DWORD* pBuf = t.buf;
  const int nStep = t.step;
  const float cw = static_cast<float>(t.rc.right - t.rc.left) / count;
  float x = static_cast<float>(t.rc.left);
  const int lastPlain = bMarkOut ? kYCLastPlain : kYCLastDrawn;
  for (int e = 0; e < count; ++e, x += cw) {
    const LONG* V = m_levels[e].nLevel;
    int c0, c1;
    ColumnSpan(static_cast<int>(x), cw, nStep, c0, c1);
    if (c0 >= c1) continue;
    ForEachNonZero(V, 0, lastPlain + 1, [&](int k) {
      if (V[k] > 0) MaxBand(pBuf, nStep, row[k + 1], row[k], c0, c1, V[k]);
    });
    if (bMarkOut)
      ForEachNonZero(V, kYCFirstMark, kYCLastDrawn + 1, [&](int k) { MarkBand(pBuf, nStep, row[k + 1], row[k], c0, c1); });
  }
  ColourIntensities(t);
}

}  // namespace scopes_detail
