#include "controls/KnobLogic.h"

#include <algorithm>
#include <cmath>

#include "foundation/Coord.h"

namespace knob {

double AngleFromPos(int nPos, int nMin, int nMax) {
  if (nMax <= nMin) return 0.0;
  const double pos = std::clamp(nPos, nMin, nMax);
  return (pos - nMin) / (static_cast<double>(nMax) - nMin) * kFullAngle;
}

int PosFromAngle(double dAngle, int nMin, int nMax) {
  if (nMax <= nMin || !std::isfinite(dAngle)) return nMin;
  const double span = static_cast<double>(nMax) - nMin;
  const double pos = std::nearbyint(span * (dAngle / kFullAngle) + nMin);
  return static_cast<int>(std::clamp(pos, static_cast<double>(nMin), static_cast<double>(nMax)));
}

double ClampAngle(double dAngle) { return std::clamp(dAngle, 0.0, kFullAngle); }

double DragAngle(double dStartAngle, int xStart, int x) {
  const double dx = static_cast<double>(xStart) - x;
  return dStartAngle - dx * 3.1415926536 * 2 / 180;
}

POINT TipPoint(int cx, int cy, double dAngle, int nRadius) {
  const double a = dAngle + kAngleOffset;
  const double dx = std::nearbyint(std::sin(a) * nRadius);
  const double dy = std::nearbyint(std::cos(a) * nRadius);
  return POINT{coord::Trunc(cx - dx), coord::Trunc(cy + dy)};
}

}  // namespace knob
