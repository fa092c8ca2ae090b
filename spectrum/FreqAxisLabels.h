// Labels for the axes of the spectrum display: which grid lines get a frequency (Hz, kHz) or a
// level (dB), where, and in what words; and their drawing into the grid. The placement is pure
// and tested without pixels; CFreqMagnWnd draws the labels when its host asks for them.
#pragma once
#include <vector>

#include <winport/afx.h>

#include "foundation/Export.h"

class CAudioScale;

namespace spectrum {

// A labelled grid line: its pixel along the axis and its value (Hz, or dB).
struct SAxisMark {
  int nPos;
  long long nValue;
};

// Warped axis: lines at 1, 2 and 5 times the powers of ten from 200 Hz below nNyquist, the
// decades first, each kept only when it is at least nMinGap pixels from every one kept before.
// In order of position.
PARVANEU_API std::vector<SAxisMark> WarpedFreqMarks(int nNyquist, int nWidth, int nMinGap);
// Linear axis: the nCount + 1 grid lines k x nStep pixels, k x nFreqDist Hz apart, from the left,
// each at least nMinGap pixels from the last one kept.
PARVANEU_API std::vector<SAxisMark> LinearFreqMarks(DWORD nFreqDist, int nCount, int nStep, int nMinGap);
// Level axis: the scale's points on a figure nHeight rows high, from the top, each at least
// nMinGap rows below the last one kept.
PARVANEU_API std::vector<SAxisMark> LevelMarks(const CAudioScale* pScale, int nHeight, int nMinGap);
// "0", "200", "1k", "1.5k", "20k".
PARVANEU_API CString FreqText(long long nHz);

// Frequencies along the bottom, right of their lines (the last one with its unit, "Hz"; one that
// would touch its right neighbour is left out), and
// levels at the left, above their lines (the top one with "dB"), in the DC's font and text colour,
// kept inside nWidth x nHeight.
PARVANEU_API void DrawAxisLabels(CDC* pDC, const std::vector<SAxisMark>& freq, const std::vector<SAxisMark>& level,
                                 int nWidth, int nHeight);

}  // namespace spectrum
