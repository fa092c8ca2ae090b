#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/AudioScale.h"

namespace {

TEST(AudioScaleMapping, DefaultScaleWorkedValues) {
  CAudioScale s(1);
  EXPECT_DOUBLE_EQ(s.DB2Value(0), 80);
  EXPECT_DOUBLE_EQ(s.DB2Value(-3), 76);
  EXPECT_DOUBLE_EQ(s.DB2Value(-18), 53);
  EXPECT_DOUBLE_EQ(s.DB2Value(20), 100);
  EXPECT_DOUBLE_EQ(s.DB2Value(-200), 0);
  EXPECT_DOUBLE_EQ(s.Value2DB(90), 7);
  EXPECT_DOUBLE_EQ(s.Value2DB(0), -110);
  EXPECT_DOUBLE_EQ(s.Value2DB(120), 12);
  EXPECT_DOUBLE_EQ(s.Value2DB(-5), -110);
  EXPECT_EQ(s.GetDBRange(), 122);
  EXPECT_EQ(s.GetValueRange(), 100);
  EXPECT_EQ(s.GetMaxDB(), 12);
  EXPECT_EQ(s.GetMinValue(), 0);
}

TEST(AudioScaleMapping, PointsAndTheToleranceBelowThemMapExactly) {
  CAudioScale s(1);
  for (int i = 0; i < s.m_arrScale.GetSize(); ++i) {
    const ScaleItem& p = s.m_arrScale[i];
    EXPECT_DOUBLE_EQ(s.DB2Value(p.nDB), p.nValue) << p.nDB;
    EXPECT_DOUBLE_EQ(s.DB2Value(p.nDB - 0.000009), p.nValue) << p.nDB;
    EXPECT_DOUBLE_EQ(s.Value2DB(p.nValue), p.nDB) << p.nValue;
  }
  // Mapping there and back is the identity between the points.
  for (double dB = -109.5; dB < 12; dB += 0.75) EXPECT_NEAR(s.Value2DB(s.DB2Value(dB)), dB, 1e-9);
}

TEST(AudioScaleMapping, DegenerateScales) {
  CAudioScale empty;
  EXPECT_EQ(empty.DB2Value(-10), 0);
  EXPECT_EQ(empty.Value2DB(50), 0);
  EXPECT_EQ(empty.GetMaxDB(), 0);
  EXPECT_EQ(empty.GetDBRange(), 0);

  ScaleItem one{-20, 33};
  CAudioScale single;
  single.SetScale(&one, 1);
  for (double v : {-1000.0, -20.0, 0.0, 50.0}) {
    EXPECT_EQ(single.DB2Value(v), 33);
    EXPECT_EQ(single.Value2DB(v), -20);
  }
  EXPECT_EQ(single.GetDBRange(), 0);
  EXPECT_EQ(single.GetValueRange(), 0);

  CAudioScale s(1);
  s.SetScale(nullptr, 5);  // nothing to copy: empty, not garbage
  EXPECT_EQ(s.m_arrScale.GetSize(), 0);
  EXPECT_TRUE(std::isfinite(CAudioScale(1).DB2Value(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(CAudioScale(1).DB2Value(std::numeric_limits<double>::infinity()), 100);
  EXPECT_EQ(CAudioScale(1).DB2Value(-std::numeric_limits<double>::infinity()), 0);
}

TEST(AudioScaleCopy, CopiesOwnTheirPoints) {
  CAudioScale a(1);
  CAudioScale b;
  b = a;
  b.m_arrScale[0].nValue = 120;
  EXPECT_EQ(a.GetMaxValue(), 100);
  EXPECT_EQ(b.GetMaxValue(), 120);
  CAudioScale c(a);
  EXPECT_NE(c.m_arrScale.GetData(), a.m_arrScale.GetData());
  EXPECT_EQ(c.DB2Value(-3), 76);
}

}  // namespace
