// Pure mappings of the figure window: scale value to grid row, level to row, value index to
// column, many values reduced to one per column, vertical grid spacing. No window, no DC.
#pragma once
#include "foundation/Coord.h"
#include "foundation/Export.h"

class CAudioScale;

namespace spectrum {

// The figure's coordinates truncate toward zero and saturate at this limit.
constexpr int kCoordLimit = 1 << 24;
inline int TruncCoord(double v) { return coord::Trunc(v, kCoordLimit); }

// The vertical axis of a figure of height H on a scale. A scale with fewer than two points, or
// whose top and bottom values are equal, has no height: it draws no horizontal grid line and
// maps every level onto the bottom row H.
struct PARVANEU_API SScaleMap {
  const CAudioScale* pScale = nullptr;
  int nMin = 0;          // bottom value of the scale
  long long nRange = 0;  // top value minus bottom value (64 bits: any two int values)
  int nHeight = 0;       // H
  float fScaleY = 0.0f;  // H / range, single precision

  static SScaleMap Make(const CAudioScale* pScale, int nHeight);
  bool IsFlat() const { return nRange == 0 || pScale == nullptr; }
  // Row of a grid line at scale value nValue: H - ((nValue - min) x H) / range in 64 bits, the
  // division truncating toward zero; saturated to the coordinate limit.
  int GridRow(int nValue) const;
  // Row of a level in dB: H - (DB2Value(level) - min) x scaleY in single precision. The top of
  // the scale lands on row 0, its bottom on row H.
  float LevelToRow(float fLevel) const;
};

// Column of value i when nCount values spread over W columns (nCount <= W): trunc(i x stepX)
// with stepX = W / nCount in single precision.
PARVANEU_API int SpreadColumn(int i, int nCount, int nWidth);

// Reduces n values from pValues[start] to m outputs (n > m > 0), each the largest value of its
// run of about n / m consecutive values (single-precision run ends, as the display always
// drew them). The last run always ends at the last value, so no value is left unread.
// Returns false (out untouched) for arguments outside n > m > 0, start >= 0.
PARVANEU_API bool BucketMax(const float* pValues, int start, int n, int m, float* pOut);

// Vertical grid: nCount equal intervals over W columns, lines at k x step for k = 0 .. nCount.
// Returns the step W / nCount, or -1 when no line is drawn (nCount <= 0). A step of 0 (more
// intervals than columns) puts every line on column 0: callers draw it once.
PARVANEU_API int XGridStep(int nWidth, int nCount);

}  // namespace spectrum
