#include "audio/VUMeterLogic.h"

#include <cmath>

#include "companion/ColorConvert.h"
#include "foundation/Coord.h"

namespace vumeter {

namespace {

// Cell indexes far outside any bar.
constexpr int kIndexLimit = 1 << 20;

// An unknown level reads as silence, below every cell.
int CellIndex(double x) { return std::isnan(x) ? -1 : coord::Trunc(x, kIndexLimit); }

}  // namespace

int CellHeightFor(int nHeight) {
  if (nHeight < 80) return 1;
  if (nHeight < 300) return 2;
  return 3 + (nHeight - 300) / 100;
}

bool ComputeLayout(int cx, int cy, int nCount, SLayout& out) {
  if (nCount <= 0 || cx <= 0 || cy <= 0) return false;
  out.nOriginX = 0;
  out.nOriginY = 4;
  out.nBarWidth = (cx - 1) / nCount - 3;
  if (out.nBarWidth < 0) out.nBarWidth = 0;
  out.nCellHeight = CellHeightFor(cy - 4);
  out.nGridCount = (cy - 5) / (out.nCellHeight + 1);
  if (out.nGridCount < 0) out.nGridCount = 0;
  return true;
}

int BarFromX(int x, const SLayout& layout, int nCount) {
  const int pitch = layout.nBarWidth + 3 > 0 ? layout.nBarWidth + 3 : 1;
  int n = (x - layout.nOriginX) / pitch;
  if (n > nCount - 1) n = nCount - 1;
  if (n < 0) n = 0;
  return n;
}

int SCellMap::FromScaleValue(double value) const {
  return CellIndex((value - nMinValue) * static_cast<double>(fValueScale));
}

int SCellMap::FromLinearDB(double dB) const {
  return CellIndex(nGridCount + dB * nGridCount / 100);
}

void FeedPeak(int& nWord, int nLevel) {
  const int p = PeakIndex(nWord);
  if (nLevel < p) return;
  int hold = nLevel - p;
  if (hold > kMaxHold) hold = kMaxHold;
  nWord = MakePeak(nLevel, hold);
}

bool FallPeak(int& nWord, int nTick, int nGridCount) {
  const int p = PeakIndex(nWord);
  if (p < 0) return false;
  const int hold = PeakHold(nWord);
  if (hold > 0) {
    if (nTick % 3 != 0) return false;
    nWord = MakePeak(p, hold - 1);
    return true;
  }
  int step = (nGridCount - p) / 5;
  if (step < 1) step = 1;
  nWord = MakePeak(p - step, 0);  // below cell 0 becomes no peak
  return true;
}

bool CountDownFlash(int& nRemaining, int nPeriod) {
  if (nRemaining <= 0) return false;
  nRemaining = nRemaining > nPeriod ? nRemaining - nPeriod : 0;
  return nRemaining == 0;
}

COLORREF DimColor(COLORREF cr) {
  float h = 0, s = 0, v = 0;
  RGB2HSV(cr, h, s, v);
  int r = 0, g = 0, b = 0;
  HSV2RGB(h, s * 2 / 3, 0.4f, r, g, b);
  return RGB(r, g, b);
}

}  // namespace vumeter
