#include "spectrum/FreqAxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace spectrum {

namespace {

constexpr double kKnee = 150.0;  // Hz where the axis turns from linear to logarithmic

double Base(int nNyquist, int nWidth) { return std::pow(1.0 + nNyquist / kKnee, 1.0 / nWidth); }

double IntPow(double base, long long n) {
  const bool negative = n < 0;
  unsigned long long e = negative ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
  double result = 1.0;
  while (e) {
    if (e & 1) result *= base;
    base *= base;
    e >>= 1;
  }
  return negative ? 1.0 / result : result;
}

}  // namespace

int WarpedX(int nNyquist, int nWidth, int nFreq) {
  if (nNyquist <= 0 || nWidth <= 0 || nFreq <= -kKnee) return 0;
  const double lnBase = std::log(Base(nNyquist, nWidth));
  if (!(lnBase > 0.0)) return 0;
  const double col = std::log(1.0 + nFreq / kKnee) / lnBase;
  constexpr double lim = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(col, -lim, lim));
}

double WarpedFrq(int nNyquist, int nWidth, int nX) {
  if (nNyquist <= 0 || nWidth <= 0) return 0.0;
  return kKnee * IntPow(Base(nNyquist, nWidth), nX) - kKnee;
}

int WarpedBin(int nNyquist, int nWidth, int nX, int nCount, DWORD nSampleRate) {
  if (nCount <= 0 || nSampleRate == 0) return 0;
  double d = WarpedFrq(nNyquist, nWidth, nX) * nCount * 2 / static_cast<double>(nSampleRate);
  if (!(d >= 0.0)) d = 0.0;  // NaN as well
  if (d >= nCount) d = nCount - 1;
  return static_cast<int>(d);
}

int SelectKnots(int nNyquist, int nWidth, int nCount, DWORD nSampleRate, SKnot* pOut) {
  if (!pOut || nWidth <= 0 || nCount <= 0) return 0;
  int n = 0;
  int bin = WarpedBin(nNyquist, nWidth, 0, nCount, nSampleRate);
  for (int i = 0; i < nWidth; ++i) {
    const int next = i + 1 < nWidth ? WarpedBin(nNyquist, nWidth, i + 1, nCount, nSampleRate) : nCount;
    if (i == 0 || i == nWidth - 1 || bin > pOut[n - 1].nBin) pOut[n++] = {i, bin, std::max(bin, next - 1)};
    bin = next;
  }
  return n;
}

DWORD XScaleFreqDist(DWORD nNyquist, int nWidth) {
  const int n = nWidth / 45;
  DWORD dist = n > 0 ? nNyquist / static_cast<DWORD>(n) : 1;
  // One significant digit, the digits counted in integers (a float log10 rounds 9 999 999 up).
  DWORD p = 1;
  while (dist / p >= 10) p *= 10;
  dist = dist / p * p;
  return std::max<DWORD>(dist, 1);
}

}  // namespace spectrum
