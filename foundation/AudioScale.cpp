#include "foundation/AudioScale.h"

#include <climits>

#include <cmath>

namespace {

constexpr double kTolerance = 0.00001;

constexpr ScaleItem kDefaultScale[] = {
    {12, 100}, {6, 88}, {0, 80}, {-6, 72}, {-12, 61}, {-24, 45}, {-36, 32}, {-48, 18}, {-60, 6}, {-110, 0},
};

}  // namespace

CAudioScale::CAudioScale(int bFillDefault) {
  if (bFillDefault) FillDeftValue();
}

CAudioScale::~CAudioScale() = default;

CAudioScale::CAudioScale(const CAudioScale& other) { m_arrScale.Copy(other.m_arrScale); }

CAudioScale& CAudioScale::operator=(const CAudioScale& other) {
  if (this != &other) m_arrScale.Copy(other.m_arrScale);
  return *this;
}

void CAudioScale::SetScale(ScaleItem* const pItems, int nCount) {
  m_arrScale.RemoveAll();
  if (!pItems || nCount <= 0) return;  // nothing to copy from: the scale stays empty
  m_arrScale.SetSize(nCount, -1);
  for (int i = 0; i < nCount; ++i) m_arrScale[i] = pItems[i];
}

void CAudioScale::FillDeftValue() {
  const int n = static_cast<int>(sizeof(kDefaultScale) / sizeof(kDefaultScale[0]));
  m_arrScale.SetSize(n, -1);
  for (int i = 0; i < n; ++i) m_arrScale[i] = kDefaultScale[i];
}

int CAudioScale::GetMaxDB() const { return m_arrScale.GetSize() > 0 ? m_arrScale[0].nDB : 0; }
int CAudioScale::GetMinDB() const {
  return m_arrScale.GetSize() > 0 ? m_arrScale[m_arrScale.GetUpperBound()].nDB : 0;
}
namespace {
// A difference of two points, saturated: points near the int limits give the widest range.
int SatDiff(int a, int b) {
  const long long d = static_cast<long long>(a) - b;
  return d > INT_MAX ? INT_MAX : (d < INT_MIN ? INT_MIN : static_cast<int>(d));
}
}  // namespace

int CAudioScale::GetDBRange() const { return SatDiff(GetMaxDB(), GetMinDB()); }
int CAudioScale::GetMaxValue() const { return m_arrScale.GetSize() > 0 ? m_arrScale[0].nValue : 0; }
int CAudioScale::GetMinValue() const {
  return m_arrScale.GetSize() > 0 ? m_arrScale[m_arrScale.GetUpperBound()].nValue : 0;
}
int CAudioScale::GetValueRange() const { return SatDiff(GetMaxValue(), GetMinValue()); }

double CAudioScale::DB2Value(double dB) const {
  const int n = m_arrScale.GetSize();
  if (n <= 0) return 0;
  if (n < 2) return m_arrScale[0].nValue;
  // NaN compares false everywhere and would fall through to the floor; that is the quiet end.
  const ScaleItem* u = &m_arrScale[0];
  for (int i = 1; i < n; ++i) {
    const ScaleItem& l = m_arrScale[i];
    if (dB > u->nDB - kTolerance) return u->nValue;
    if (l.nDB < dB) {
      const double uDB = u->nDB, uV = u->nValue, lDB = l.nDB, lV = l.nValue;
      return uV + (lV - uV) * (dB - uDB) / (lDB - uDB);
    }
    u = &l;
  }
  return m_arrScale[n - 1].nValue;
}

double CAudioScale::Value2DB(double value) const {
  const int n = m_arrScale.GetSize();
  if (n <= 0) return 0;
  if (n < 2) return m_arrScale[0].nDB;
  const ScaleItem* u = &m_arrScale[0];
  for (int i = 1; i < n; ++i) {
    const ScaleItem& l = m_arrScale[i];
    if (value > u->nValue - kTolerance) return u->nDB;
    if (value > l.nValue) {
      const double uDB = u->nDB, uV = u->nValue, lDB = l.nDB, lV = l.nValue;
      return uDB + (value - uV) * (lDB - uDB) / (lV - uV);
    }
    u = &l;
  }
  return m_arrScale[n - 1].nDB;
}
