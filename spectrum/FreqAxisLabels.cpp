#include "spectrum/FreqAxisLabels.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/AudioScale.h"
#include "spectrum/FigMapping.h"
#include "spectrum/FreqAxis.h"

namespace spectrum {

namespace {

bool FarFromAll(const std::vector<SAxisMark>& kept, int pos, int gap) {
  return std::all_of(kept.begin(), kept.end(), [&](const SAxisMark& m) { return std::abs(m.nPos - pos) >= gap; });
}

}  // namespace

std::vector<SAxisMark> WarpedFreqMarks(int nNyquist, int nWidth, int nMinGap) {
  std::vector<SAxisMark> kept;
  if (nNyquist <= 0 || nWidth <= 0) return kept;
  // Decades first, then their doubles, then their fives: the round numbers win the room.
  for (int mantissa : {1, 2, 5}) {
    for (long long f = 100LL * mantissa; f < nNyquist; f *= 10) {
      if (f < 200) continue;  // the warped grid starts at 200 Hz
      const int x = WarpedX(nNyquist, nWidth, static_cast<int>(f));
      if (x < nWidth && FarFromAll(kept, x, nMinGap)) kept.push_back({x, f});
    }
  }
  std::sort(kept.begin(), kept.end(), [](const SAxisMark& a, const SAxisMark& b) { return a.nPos < b.nPos; });
  return kept;
}

std::vector<SAxisMark> LinearFreqMarks(DWORD nFreqDist, int nCount, int nStep, int nMinGap) {
  std::vector<SAxisMark> kept;
  if (nStep <= 0 || nCount < 0) return kept;
  for (long long k = 0; k <= nCount; ++k) {
    const long long x = k * nStep;
    if (kept.empty() || x - kept.back().nPos >= nMinGap) kept.push_back({static_cast<int>(x), k * nFreqDist});
  }
  return kept;
}

std::vector<SAxisMark> LevelMarks(const CAudioScale* pScale, int nHeight, int nMinGap) {
  std::vector<SAxisMark> kept;
  const SScaleMap map = SScaleMap::Make(pScale, nHeight);
  if (map.IsFlat()) return kept;
  for (int i = 0; i < pScale->m_arrScale.GetSize(); ++i) {
    const ScaleItem& p = pScale->m_arrScale[i];
    const int y = map.GridRow(p.nValue);
    if (y < 0 || y > nHeight) continue;
    if (kept.empty() || y - kept.back().nPos >= nMinGap) kept.push_back({y, p.nDB});
  }
  return kept;
}

CString FreqText(long long nHz) {
  CString s;
  if (nHz < 1000 || nHz % 100 != 0)
    s.Format(L"%lld", nHz);
  else if (nHz % 1000 == 0)
    s.Format(L"%lldk", nHz / 1000);
  else
    s.Format(L"%lld.%lldk", nHz / 1000, nHz % 1000 / 100);
  return s;
}

void DrawAxisLabels(CDC* pDC, const std::vector<SAxisMark>& freq, const std::vector<SAxisMark>& level, int nWidth,
                    int nHeight) {
  if (!pDC) return;
  TEXTMETRICW tm{};
  pDC->GetTextMetrics(&tm);
  const int h = tm.tmHeight;
  // Right to left, so the last label (with the unit) stays and a neighbour it would touch goes.
  int limit = nWidth;
  for (size_t i = freq.size(); i-- > 0;) {
    const CString text = FreqText(freq[i].nValue) + (i + 1 == freq.size() ? L" Hz" : L"");
    const int w = pDC->GetTextExtent(text).cx;
    const int left = std::clamp(freq[i].nPos + 2, 0, std::max(nWidth - w - 1, 0));
    if (i + 1 != freq.size() && left + w + 4 > limit) continue;
    pDC->TextOut(left, nHeight - h - 1, text);
    limit = left;
  }
  for (size_t i = 0; i < level.size(); ++i) {
    CString text;
    text.Format(i == 0 ? L"%lld dB" : L"%lld", level[i].nValue);
    // Above its line, or below it where the line is too near the top.
    const int y = level[i].nPos - h >= 0 ? level[i].nPos - h : level[i].nPos + 1;
    if (y + h > nHeight - h - 1) continue;  // the frequencies own the bottom row of text
    pDC->TextOut(3, y, text);
  }
}

}  // namespace spectrum
