#include "spectrum/NaturalSpline.h"

namespace spectrum {

bool NaturalSpline(const int* pX, const float* pY, int nKnots, double* pWork, float* pOut) {
  if (!pX || !pY || !pWork || !pOut || nKnots <= 0) return false;
  for (int i = 1; i < nKnots; ++i)
    if (pX[i] <= pX[i - 1]) return false;
  if (nKnots == 1) {
    pOut[0] = pY[0];
    return true;
  }
  const int n = nKnots - 1;
  double* p = pWork;           // forward elimination, then the second derivatives M
  double* q = pWork + nKnots;
  const auto h = [&](int i) { return static_cast<double>(pX[i]) - pX[i - 1]; };
  const auto y = [&](int i) { return static_cast<double>(pY[i]); };
  p[0] = 0.0;  // d0 = 0, lambda0 = 0: the natural end
  q[0] = 0.0;
  for (int i = 1; i <= n; ++i) {
    double mu = 0.0, d = 0.0, lambda = 0.0;
    if (i < n) {
      const double hi = h(i), hn = h(i + 1), sum = hi + hn;
      lambda = hn / sum;
      mu = hi / sum;
      d = 6.0 / sum * ((y(i + 1) - y(i)) / hn - (y(i) - y(i - 1)) / hi);
    }
    const double den = mu * q[i - 1] + 2.0;
    p[i] = (d - mu * p[i - 1]) / den;
    q[i] = -lambda / den;
  }
  for (int i = n - 1; i >= 0; --i) p[i] = q[i] * p[i + 1] + p[i];
  const double* M = p;
  int i = 1;
  for (long long x = pX[0]; x <= pX[n]; ++x) {
    while (x > pX[i]) ++i;
    const double hh = h(i), a = static_cast<double>(x - pX[i - 1]), b = static_cast<double>(pX[i] - x);
    const double s = M[i] * a * a * a / (6.0 * hh) + M[i - 1] * b * b * b / (6.0 * hh) +
                     (y(i - 1) / hh - hh * M[i - 1] / 6.0) * b + (y(i) / hh - hh * M[i] / 6.0) * a;
    pOut[x - pX[0]] = static_cast<float>(s);
  }
  return true;
}

}  // namespace spectrum
