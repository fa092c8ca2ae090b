// Pure frequency mappings of the spectrum display: the warped logarithmic axis both ways (nearly
// linear below 150 Hz, logarithmic above), the FFT bin under each column with the knots the
// curve is drawn through, and the grid spacing of the linear axis. No window, no analyser.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

namespace spectrum {

// Column of nFreq on an axis of nWidth columns whose right edge is nNyquist:
// trunc(nWidth x ln(1 + f / 150) / ln(1 + nNyquist / 150)), 0 Hz at column 0. Column 0 for a
// frequency at or below -150 Hz, a Nyquist frequency or width <= 0; saturated otherwise.
PARVANEU_API int WarpedX(int nNyquist, int nWidth, int nFreq);
// Frequency of column nX: 150 x base^nX - 150 with base = (1 + nNyquist / 150)^(1 / nWidth),
// the power taken by repeated squaring. 0 for a Nyquist frequency or width <= 0.
PARVANEU_API double WarpedFrq(int nNyquist, int nWidth, int nX);

// FFT bin shown by column nX on the warped axis: trunc(f x nCount x 2 / rate) kept within
// 0 .. nCount - 1 (nCount bins drawn, bin k at k x rate / (2 nCount) Hz). 0 without bins, without
// a sample rate, or where the frequency is undefined.
PARVANEU_API int WarpedBin(int nNyquist, int nWidth, int nX, int nCount, DWORD nSampleRate);

// A point the warped curve passes through: the first column of each bin, plus the last column.
// nBinLast is the last bin the column spans (bins up to the next column's bin, or the last bin
// for the last column); the peak-of-span display reads the bins nBin .. nBinLast.
struct SKnot {
  int nColumn;
  int nBin;
  int nBinLast;
};

// Knots for columns 0 .. nWidth - 1 into pOut (room for nWidth knots); returns their count,
// 0 when nWidth or nCount is not positive. Columns rise strictly.
PARVANEU_API int SelectKnots(int nNyquist, int nWidth, int nCount, DWORD nSampleRate, SKnot* pOut);

// Linear axis: the frequency distance of the vertical grid lines, at least 45 pixels apart,
// rounded down to one significant digit, never below 1 Hz. nNyquist / result intervals follow.
PARVANEU_API DWORD XScaleFreqDist(DWORD nNyquist, int nWidth);

}  // namespace spectrum
