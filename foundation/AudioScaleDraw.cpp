// The drawing side of CAudioScale, kept apart from the mapping so that stays platform-free.
#include <cmath>
#include <cstdint>

#include "foundation/AudioScale.h"

namespace {

struct ScaleColumns {
  int tickLeft, tickRight, labelLeft, labelRight;
  UINT format;
};

using winport::SatCoord;
using i64 = std::int64_t;

ScaleColumns ColumnsFor(ASDSStyle style, const RECT& rc, int tickLen) {
  if (style == ASDS_TEXTLEFT) {
    return {SatCoord(i64{rc.right} - tickLen), rc.right, rc.left, SatCoord(i64{rc.right} - tickLen - 2),
            DT_SINGLELINE | DT_VCENTER | DT_RIGHT};
  }
  return {rc.left, SatCoord(i64{rc.left} + tickLen), SatCoord(i64{rc.left} + tickLen + 2), rc.right,
          DT_SINGLELINE | DT_VCENTER | DT_LEFT};
}

}  // namespace

void CAudioScale::Draw(CDC* pDC, const RECT& rect, int nInfDB, ASDSStyle nStyle, int nDBHigh, int nDBLow,
                       int nTickLen) const {
  if (!pDC || !pDC->GetSafeHdc()) return;
  if (nStyle != ASDS_TEXTLEFT && nStyle != ASDS_TEXTRIGHT) return;
  const int count = m_arrScale.GetSize();
  if (count <= 0) return;
  const int maxValue = GetMaxValue();
  const int minValue = GetMinValue();
  if (maxValue == minValue) return;

  const ScaleColumns cols = ColumnsFor(nStyle, rect, nTickLen);
  TEXTMETRICW tm{};
  pDC->GetTextMetrics(&tm);
  const double pixelsPerValue =
      static_cast<double>(i64{rect.bottom} - rect.top) / static_cast<double>(i64{maxValue} - minValue);
  const bool dbWindow = nDBHigh > nDBLow;

  for (int i = 0; i < count; ++i) {
    const ScaleItem& point = m_arrScale[i];
    if (dbWindow) {
      if (point.nDB > nDBHigh) continue;
      if (point.nDB < nDBLow) break;
    }
    // Points and rectangles near the int limits place ticks far off the DC; they saturate there.
    const double offset = std::nearbyint(static_cast<double>(i64{point.nValue} - minValue) * pixelsPerValue);
    const double yExact = static_cast<double>(rect.bottom) - offset;
    const int y = yExact >= winport::kCoordLimit ? winport::kCoordLimit
                  : yExact <= -winport::kCoordLimit ? -winport::kCoordLimit
                                                     : static_cast<int>(yExact);

    RECT tick{cols.tickLeft, y, cols.tickRight, y + 1};
    ::ExtTextOutW(pDC->m_hDC, tick.left, tick.top, ETO_OPAQUE, &tick, nullptr, 0, nullptr);

    RECT label{cols.labelLeft, SatCoord(i64{y} - tm.tmHeight / 2), cols.labelRight, 0};
    label.bottom = SatCoord(i64{label.top} + tm.tmHeight);
    if (point.nDB < nInfDB) {
      pDC->DrawText(L"-\u221E", 2, &label, cols.format);
      break;
    }
    CString text;
    text.Format(point.nDB < 0 ? L"%d" : L" %d", point.nDB);
    pDC->DrawText(text, text.GetLength(), &label, cols.format);
  }
}
