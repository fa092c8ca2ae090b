#include "audio/ExVUMeterLogic.h"

#include <cmath>
#include <cstdint>

#include "foundation/Coord.h"
#include "winport/base/geometry.h"

namespace exvumeter {

namespace {

constexpr float kTiny = 0.00001f;
// Lengths and positions far beyond any window.
constexpr int kPixelLimit = 1 << 24;

// Linear between (lo, fLo) and (hi, fHi); a segment of (almost) no width is a step to fLo.
float Segment(float v, float lo, float hi, float fLo, float fHi) {
  if (hi - lo < kTiny) return fLo;
  return fLo + (fHi - fLo) * (v - lo) / (hi - lo);
}

}  // namespace

float LevelFraction(const SExVUMParam& p, float v) {
  if (std::isnan(v) || v <= p.fMinDB) return 0.0f;
  if (v <= p.fDB1) return Segment(v, p.fMinDB, p.fDB1, 0.0f, p.fPos1);
  if (v <= p.fDB2) return Segment(v, p.fDB1, p.fDB2, p.fPos1, p.fPos2);
  if (v <= p.fDB3) return Segment(v, p.fDB2, p.fDB3, p.fPos2, p.fPos3);
  return Segment(v, p.fDB3, p.fMaxDB, p.fPos3, 1.0f);
}

int ValueToLeng(const SExVUMParam& p, int nUsable, float v) {
  if (!(p.fMaxDB - p.fMinDB > 0) || nUsable <= 0) return 0;
  const float d = LevelFraction(p, v);
  return coord::Trunc(nUsable * d + 0.5, kPixelLimit);
}

SFall FallFor(const SExVUMParam& p) {
  const float r = p.fMaxDB - p.fMinDB;
  return {r * 50 / 300, r * 50 / 2000};
}

void StepChannel(const SExVUMParam& p, const SFall& f, float& fShown, SExVUMPeak& peak, float v) {
  // A level beyond any sane top (or +inf) would otherwise pin the bar and the peak for good.
  const float r = p.fMaxDB - p.fMinDB;
  const float top = p.fMaxDB + (r > 0 ? r : 0.0f);
  if (v > top) v = top;

  if (fShown > p.fMinDB - f.fFall) fShown -= f.fFall;
  if (v >= fShown) fShown = v;
  if (peak.fPeak > p.fMinDB - f.fGrav) {
    if (peak.nHold > -(1 << 20)) peak.nHold -= 1;
    if (peak.nHold < 0) peak.fPeak += static_cast<float>(0.5 * f.fGrav * peak.nHold);
  }
  if (peak.nOver > 0) peak.nOver -= 1;
  if (v >= peak.fPeak) {
    peak.fPeak = v;
    peak.nHold = kPeakHoldCalls;
    if (peak.fPeak >= p.fDB3) peak.nOver = kOverCalls;
  }
}

int BarPos(int i, int nBarSize, int nDist) {
  return winport::SatCoord(static_cast<std::int64_t>(i) * (std::int64_t{nBarSize} + nDist));
}

int BarSizeFor(int nExtent, int nDist, int nCount, int nCurrent) {
  if (nCount < 1) return nCurrent;
  const std::int64_t n = (std::int64_t{nExtent} + nDist) / nCount - nDist;
  return n < 3 ? 3 : winport::SatCoord(n);
}

int BarFromPos(int nPos, int nBarSize, int nDist, int nCount) {
  const std::int64_t sum = std::int64_t{nBarSize} + nDist;
  const std::int64_t pitch = sum > 0 ? sum : 1;
  std::int64_t n = nPos / pitch;
  if (n > nCount - 1) n = nCount - 1;
  if (n < 0) n = 0;
  return static_cast<int>(n);
}

}  // namespace exvumeter
