// Records and pure logic of the gradient level meter: the five-point level curve, the per-call
// ballistics of level, peak and over mark, and the bar geometry. No window, no drawing.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

// The level curve: dB at the empty and full ends and three breakpoints with their bar fractions.
struct SExVUMParam {
  float fMinDB = -80.0f;
  float fMaxDB = 0.0f;
  float fDB1 = -16.8f;
  float fDB2 = -7.5f;
  float fDB3 = 0.0f;
  float fPos1 = 0.79f;
  float fPos2 = 0.90625f;
  float fPos3 = 1.0f;
};

// Colours, COLORREF 0x00BBGGRR.
struct SExVUMColor {
  COLORREF crCover = 0;
  COLORREF crBack = 0xFFFFFF;
  COLORREF crFrameBR = 0;
  COLORREF crFrameTL = 0;
  COLORREF crGrad0 = 0x147800;
  COLORREF crGrad1 = 0x14FF00;
  COLORREF crGrad2 = 0x14FFFF;
  COLORREF crGrad3 = 0x1413FF;
  COLORREF crPeak = 0x00FFFF;
};

// Per-channel peak state.
struct SExVUMPeak {
  float fPeak;  // peak level in dB
  int nHold;    // calls left to hold; negative while falling
  int nOver;    // calls left to show the over mark
};

namespace exvumeter {

constexpr int kPeakHoldCalls = 15;
constexpr int kOverCalls = 80;

// Fraction of the bar for a level; not clamped above 1 when the last segment is a real one.
PARVANEU_API float LevelFraction(const SExVUMParam& param, float v);
// Level to pixel length along a usable length of nUsable pixels; 0 for a degenerate curve.
PARVANEU_API int ValueToLeng(const SExVUMParam& param, int nUsable, float v);
// The length clamped to the bar, for drawing.
inline int ClampLeng(int nLen, int nUsable) { return nLen < 0 ? 0 : (nLen > nUsable ? nUsable : nLen); }

// Per-call fall of the shown level and the peak's gravity, both in dB.
struct SFall {
  float fFall;
  float fGrav;
};
PARVANEU_API SFall FallFor(const SExVUMParam& param);

// One SetValue call for one channel: the shown level falls by a fixed step and rises at once;
// the peak holds kPeakHoldCalls calls, then falls with growing speed; a peak at or above fDB3
// shows the over mark for kOverCalls calls.
PARVANEU_API void StepChannel(const SExVUMParam& param, const SFall& fall, float& fShown, SExVUMPeak& peak, float v);

// Widest gap between bars SetMeterDist accepts; wider ones are cut to it.
constexpr int kMaxMeterDist = 1 << 24;
// Position of bar i across the bars, saturating far outside any window.
PARVANEU_API int BarPos(int i, int nBarSize, int nDist);
// Bar thickness for an extent across the bars: (extent + gap) / count - gap, at least 3. A count
// below one leaves the current size.
PARVANEU_API int BarSizeFor(int nExtent, int nDist, int nCount, int nCurrent);
// Index of the bar at a position across the bars, clamped to 0 .. count - 1.
PARVANEU_API int BarFromPos(int nPos, int nBarSize, int nDist, int nCount);

}  // namespace exvumeter
