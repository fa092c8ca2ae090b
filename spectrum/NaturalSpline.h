// Natural cubic spline (second derivative 0 at both ends) through integer knots, evaluated at
// every integer between the first and the last knot. Pure arithmetic in double precision.
#pragma once
#include "foundation/Export.h"

namespace spectrum {

// Knots pX[0] < pX[1] < ... < pX[nKnots - 1] with values pY. Writes pX[last] - pX[0] + 1 values,
// the value at x into pOut[x - pX[0]]. pWork holds 2 x nKnots doubles of scratch. A single knot
// gives its own value. Returns false, writing nothing, for no knots or columns that do not rise.
PARVANEU_API bool NaturalSpline(const int* pX, const float* pY, int nKnots, double* pWork, float* pOut);

}  // namespace spectrum
