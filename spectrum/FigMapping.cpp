#include "spectrum/FigMapping.h"

#include <algorithm>
#include <cmath>

#include "foundation/AudioScale.h"

namespace spectrum {

SScaleMap SScaleMap::Make(const CAudioScale* pScale, int nHeight) {
  SScaleMap m;
  m.pScale = pScale;
  m.nHeight = nHeight;
  if (!pScale || pScale->m_arrScale.GetSize() < 2) return m;
  const CTArray<ScaleItem>& a = pScale->m_arrScale;
  m.nMin = a[a.GetUpperBound()].nValue;
  m.nRange = static_cast<long long>(a[0].nValue) - m.nMin;
  if (m.nRange != 0) m.fScaleY = static_cast<float>(nHeight) / static_cast<float>(m.nRange);
  return m;
}

int SScaleMap::GridRow(int nValue) const {
  if (IsFlat()) return nHeight;
  // (value - min) x H can pass 32 bits for large scale values.
  const long long q = (static_cast<long long>(nValue) - nMin) * nHeight / nRange;
  return static_cast<int>(std::clamp<long long>(nHeight - q, -kCoordLimit, kCoordLimit));
}

float SScaleMap::LevelToRow(float fLevel) const {
  if (IsFlat()) return static_cast<float>(nHeight);
  const float diff = static_cast<float>(pScale->DB2Value(static_cast<double>(fLevel)) - nMin);
  return static_cast<float>(nHeight) - diff * fScaleY;
}

int SpreadColumn(int i, int nCount, int nWidth) {
  if (nCount <= 0) return 0;
  const float stepX = static_cast<float>(nWidth) / static_cast<float>(nCount);
  return TruncCoord(static_cast<float>(i) * stepX);
}

bool BucketMax(const float* pValues, int start, int n, int m, float* pOut) {
  if (!pValues || !pOut || start < 0 || m <= 0 || n <= m) return false;
  const float step = static_cast<float>(static_cast<unsigned>(n)) / static_cast<float>(static_cast<unsigned>(m));
  const long long last = static_cast<long long>(start) + n;
  float acc = 0.0f;
  long long pos = start;
  for (int k = 0; k < m; ++k) {
    acc += step;
    long long end = std::min<long long>(start + static_cast<long long>(acc), last);
    // The running sum can end short of n: the last run takes the values left over.
    if (k == m - 1) end = last;
    if (end <= pos) end = std::min(pos + 1, last);
    const long long from = std::min(pos, last - 1);
    float best = pValues[from];
    for (long long j = from + 1; j < end; ++j)
      if (pValues[j] > best) best = pValues[j];
    pOut[k] = best;
    pos = end;
  }
  return true;
}

int XGridStep(int nWidth, int nCount) {
  if (nCount <= 0 || nWidth < 0) return -1;
  return nWidth / nCount;
}

}  // namespace spectrum
