#include "foundation/Coord.h"

#include <algorithm>
#include <cmath>

namespace coord {

namespace {
double Saturate(double v, int nLimit) {
  const double lim = nLimit > 0 ? nLimit : 0;
  return std::isnan(v) ? 0.0 : std::clamp(v, -lim, lim);
}
}  // namespace

int Trunc(double v, int nLimit) { return static_cast<int>(Saturate(v, nLimit)); }

int Nearest(double v, int nLimit) { return static_cast<int>(std::nearbyint(Saturate(v, nLimit))); }

}  // namespace coord
