// Pure geometry and readout arithmetic of the four scope windows: where each graticule line,
// label, trace rectangle and target lies for a client size, and what the hover readouts say.
// No window and no drawing here, so every rule is checked without pixels.
#pragma once
#include <cstddef>
#include <vector>

#include "foundation/Coord.h"
#include "foundation/Export.h"
#include "winport/base/CString.h"
#include "winport/base/geometry.h"
#include "winport/base/types.h"

namespace scopewnd {

// The scope windows' coordinates: the shared family at its default limit.
using coord::Nearest;
using coord::Trunc;

// The composition rule of the scope windows: the trace at full strength on black background,
// the graticule where there is no trace, the channel-wise mean where both have colour.
inline DWORD BlendScopePixel(DWORD bk, DWORD graph) {
  if (bk == 0 || graph == 0) return bk | graph;
  // Per-byte floor of the mean without carries between bytes.
  return ((bk & graph) + (((bk ^ graph) >> 1) & 0x7F7F7F7Fu)) & 0x00FFFFFFu;
}
// graph[i] = BlendScopePixel(bk[i], graph[i]) for n pixels.
PARVANEU_API void ComposeScope(const DWORD* bk, DWORD* graph, std::size_t n);

// Legal video levels in 8-bit codes: what the traces mark as out of range and the graticules
// box or rule.
constexpr int kLegalLumaLow = 16, kLegalLumaHigh = 235;
constexpr int kLegalChromaLow = 16, kLegalChromaHigh = 240;

// ---- Waveform monitor: H spans 135 % at the top down to -35 % at the bottom.
constexpr double kWaveformTop = 135;   // percent of the video range at row 0
constexpr double kWaveformSpan = 170;  // percent over the whole height
constexpr int kWaveformMargin = 25;    // label column left of the lines and the trace
// Percent of a code level: 0 % at code 0, 100 % at code 255.
constexpr double WaveformPercent(int nCode) { return 100.0 * nCode / 255; }
enum class LineKind { Minor, Labelled, Major };
struct ScaleLine {
  double k;             // row = Nearest(H * k / 170)
  const wchar_t* label;  // null for minor lines
  LineKind kind;
};
// Lines of scale type 0 (code values), 1 (percent), 2 (millivolts), in drawing order; none for
// any other type.
PARVANEU_API std::vector<ScaleLine> WaveformScale(int nScaleType);
PARVANEU_API int WaveformRow(int H, double k);
// 135 - y * 170 / H; 0 for an empty height.
PARVANEU_API double WaveformValue(int H, double y);
// The trace: left 25, top Nearest(H * 35 / 170) + 1, right W - 1, bottom Nearest(H * 135 / 170).
PARVANEU_API CRect WaveformTraceRect(int W, int H);
// Top rows of the two-pixel legal-limit lines: code levels 16 and 235 for luma; for Y/C one line
// at 800 mV whose second row lies above (first row, first row - 1).
struct LegalLines {
  int nCount;
  int rows[2];
};
PARVANEU_API LegalLines WaveformLegalLines(int H, bool bShowAsY);
// Readout text at cursor row y; empty for an unknown scale type.
PARVANEU_API CString WaveformReadout(int nScaleType, int H, int y);
// The row the readout is centred on (v = 130).
PARVANEU_API int WaveformReadoutRow(int H);

// ---- Histogram: level L at x = l + Nearest((L + 16) * W / 288).
PARVANEU_API int HistogramX(const RECT& rcClient, double L);
// Plot columns [X(0)... X(255)) as left Nearest(16 s), right Nearest(271 s).
PARVANEU_API CRect HistogramSingleRect(const RECT& rcClient);
// Band 0 luma, 1 red, 2 green, 3 blue of the stacked display.
PARVANEU_API CRect HistogramBandRect(const RECT& rcClient, int nBand);
// Level under client column x.
PARVANEU_API int HistogramLevelAt(const RECT& rcClient, int x);

// ---- Vector scope.
// V is stretched against U by this factor, in the trace and in the colour targets alike.
constexpr float kVectorStretch = 1.41f;
struct VectorGeometry {
  int cx = 0, cy = 0, r = 0;
};
PARVANEU_API VectorGeometry VectorGeometryFor(int W, int H);
// Radius of the scale circle i = 0..4 (20 % ... 100 %).
PARVANEU_API int VectorCircleRadius(int r, int i);
PARVANEU_API int VectorAxisGap(int r);
// Centre of the target of a colour whose chroma (centred on 0) is u, v.
PARVANEU_API POINT VectorTarget(const VectorGeometry& g, int u, int v);
// The chroma of two pixels of an RGB colour as the companion converts them (centred on 0).
PARVANEU_API void TargetChroma(BYTE red, BYTE green, BYTE blue, int& u, int& v);
struct VectorReadout {
  int nDistance;  // pixels from the centre, nearest
  int nPercent;   // of the 100 % circle, rounded up; 0 while the radius is 0
  int nAngle;     // degrees, 0 right, counter-clockwise
};
PARVANEU_API VectorReadout VectorReadoutAt(const VectorGeometry& g, POINT p);
// Lightning plot area and grid.
struct LightningGeometry {
  int mx, my, pw, ph, hx, hy, xstep, ystep;
};
PARVANEU_API LightningGeometry LightningGeometryFor(int W, int H);
// The rectangle handed to the lightning trace: the plot area, with the bottom row kept inside a
// buffer too small for a margin (the lower half would otherwise reach one row past it).
PARVANEU_API CRect LightningTraceRect(int W, int H);

// ---- RGB parade: H spans code -32 at the bottom to 272 at the top.
constexpr double kParadeTopCode = 272, kParadeBottomCode = -32;
constexpr int kParadeMargin = 21;  // label column left of the lines and the columns
PARVANEU_API int ParadeCodeRow(const RECT& rcClient, double v);
PARVANEU_API int ParadeMvRow(const RECT& rcClient, double mv);
// Column c = 0 red, 1 green, 2 blue.
PARVANEU_API CRect ParadeColumn(const RECT& rcClient, int c);
// Code value at cursor row y.
PARVANEU_API int ParadeValueAt(const RECT& rcClient, int y);
PARVANEU_API CString ParadeReadout(int nScaleType, const RECT& rcClient, int y);

}  // namespace scopewnd
