#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/ExVUMeterLogic.h"

namespace {

using namespace exvumeter;

TEST(ExVUMeterCurve, InitialCurveAcrossAllSegments) {
  const SExVUMParam p;
  const int S = 200;
  EXPECT_EQ(ValueToLeng(p, S, -80.0f), 0);
  EXPECT_EQ(ValueToLeng(p, S, -200.0f), 0);
  EXPECT_EQ(ValueToLeng(p, S, -16.8f), 158);  // 0.79 x 200
  EXPECT_EQ(ValueToLeng(p, S, -7.5f), 181);   // 0.90625 x 200 = 181.25
  EXPECT_EQ(ValueToLeng(p, S, 0.0f), 200);
  EXPECT_EQ(ValueToLeng(p, S, 6.0f), 200) << "fDB3 = fMaxDB: above it stays at fPos3";
  // Mid-segment points.
  EXPECT_EQ(ValueToLeng(p, S, -48.4f), 79);                             // half of the first
  EXPECT_EQ(ValueToLeng(p, S, -12.15f), static_cast<int>(200 * 0.848125f + 0.5));
  EXPECT_EQ(ValueToLeng(p, S, -3.75f), static_cast<int>(200 * 0.953125f + 0.5));
  // Monotonic across the whole range.
  int prev = 0;
  for (float v = -90.0f; v <= 3.0f; v += 0.25f) {
    const int len = ValueToLeng(p, S, v);
    EXPECT_GE(len, prev) << v;
    prev = len;
  }
}

TEST(ExVUMeterCurve, LastSegmentAndDegenerateSegments) {
  SExVUMParam p;
  p.fDB3 = -3.0f;
  p.fPos3 = 0.95f;
  EXPECT_EQ(ValueToLeng(p, 100, -3.0f), 95);
  EXPECT_EQ(ValueToLeng(p, 100, -1.5f), static_cast<int>(100 * 0.975f + 0.5));
  EXPECT_EQ(ValueToLeng(p, 100, 3.0f), 105) << "above fMaxDB the length is not clamped";
  EXPECT_EQ(ClampLeng(ValueToLeng(p, 100, 3.0f), 100), 100);

  // Two breakpoints at one level: the segment between them is a step to the lower fraction.
  SExVUMParam q;
  q.fDB2 = q.fDB1;
  EXPECT_FLOAT_EQ(LevelFraction(q, -16.8f), 0.79f);
  EXPECT_GT(LevelFraction(q, -16.7f), 0.90625f) << "just above it the next segment starts from fPos2";
  q.fDB1 = q.fMinDB;
  EXPECT_FLOAT_EQ(LevelFraction(q, -80.0f), 0.0f);
  // fMaxDB below fDB3: no negative slope, the last segment holds fPos3.
  SExVUMParam r;
  r.fDB3 = -2.0f;
  r.fPos3 = 0.97f;
  r.fMaxDB = -4.0f;
  EXPECT_FLOAT_EQ(LevelFraction(r, -1.0f), 0.97f);

  // Empty or inverted range, or no usable length: everything is length 0.
  SExVUMParam z;
  z.fMaxDB = z.fMinDB;
  EXPECT_EQ(ValueToLeng(z, 100, 0.0f), 0);
  z.fMaxDB = -90.0f;
  EXPECT_EQ(ValueToLeng(z, 100, 0.0f), 0);
  EXPECT_EQ(ValueToLeng(SExVUMParam{}, 0, 0.0f), 0);
  EXPECT_EQ(ValueToLeng(SExVUMParam{}, -5, 0.0f), 0);
}

TEST(ExVUMeterCurve, NonFiniteLevelsAndParameters) {
  const SExVUMParam p;
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(ValueToLeng(p, 100, std::nanf("")), 0);
  EXPECT_EQ(ValueToLeng(p, 100, -inf), 0);
  EXPECT_EQ(ValueToLeng(p, 100, inf), 100);
  SExVUMParam w;
  w.fDB3 = -1.0f;
  w.fMaxDB = -0.9999f;  // a 1e-4 dB last segment: huge slope
  w.fPos3 = 0.9f;
  const int len = ValueToLeng(w, 100, 1e30f);
  EXPECT_GT(len, 100);
  EXPECT_EQ(ClampLeng(len, 100), 100);
  SExVUMParam n;
  n.fPos1 = std::nanf("");
  EXPECT_EQ(ValueToLeng(n, 100, -40.0f), 0);
  EXPECT_EQ(ClampLeng(-7, 100), 0);
}

struct Channel {
  float shown = -80.0f;
  SExVUMPeak peak{-80.0f, 0, 0};
};

TEST(ExVUMeterBallistics, SteadyInputHoldsLevelAndPeak) {
  const SExVUMParam p;
  const SFall f = FallFor(p);
  EXPECT_FLOAT_EQ(f.fFall, 80.0f * 50 / 300);
  EXPECT_FLOAT_EQ(f.fGrav, 2.0f);
  Channel c;
  for (int i = 0; i < 500; ++i) {
    StepChannel(p, f, c.shown, c.peak, -20.0f);
    ASSERT_EQ(c.shown, -20.0f) << i;
    ASSERT_EQ(c.peak.fPeak, -20.0f) << i;
    ASSERT_EQ(c.peak.nHold, kPeakHoldCalls) << i;
    ASSERT_EQ(c.peak.nOver, 0);
  }
}

TEST(ExVUMeterBallistics, DropFromFullScaleFallsHoldsAndClearsOverMark) {
  const SExVUMParam p;
  const SFall f = FallFor(p);
  Channel c;
  for (int i = 0; i < 3; ++i) StepChannel(p, f, c.shown, c.peak, 0.0f);
  EXPECT_EQ(c.peak.nOver, kOverCalls);

  std::vector<float> shown, peak;
  std::vector<int> over;
  for (int i = 0; i < 200; ++i) {
    StepChannel(p, f, c.shown, c.peak, -80.0f);
    shown.push_back(c.shown);
    peak.push_back(c.peak.fPeak);
    over.push_back(c.peak.nOver);
  }
  // The bar: 13.333 dB per call, at the bottom after six calls.
  EXPECT_NEAR(shown[0], -13.333f, 1e-3);
  EXPECT_NEAR(shown[4], -66.667f, 1e-3);
  EXPECT_EQ(shown[5], -80.0f) << "input -80 meets the falling bar";
  // The peak: 15 calls of hold, then 1, 2, 3, ... dB.
  for (int i = 0; i < 15; ++i) EXPECT_EQ(peak[i], 0.0f) << i;
  EXPECT_FLOAT_EQ(peak[15], -1.0f);
  EXPECT_FLOAT_EQ(peak[16], -3.0f);
  EXPECT_FLOAT_EQ(peak[17], -6.0f);
  EXPECT_FLOAT_EQ(peak[18], -10.0f);
  // Once at the bottom it rests at the input level and holds again.
  EXPECT_EQ(peak.back(), -80.0f);
  // The over mark: gone 80 calls after the last 0 dB input.
  EXPECT_EQ(over[78], 1);
  EXPECT_EQ(over[79], 0);

  // Long sequence: the shown level never climbs above its input and never sinks far below fMinDB.
  Channel d;
  for (int i = 0; i < 100000; ++i) {
    const float v = (i % 97 < 10) ? -3.0f - static_cast<float>(i % 7) : -120.0f;
    StepChannel(p, f, d.shown, d.peak, v);
    ASSERT_GE(d.shown, p.fMinDB - 2 * f.fFall - 1e-3f);
    ASSERT_GE(d.peak.fPeak, d.shown - 1e-3f) << i;
    ASSERT_LE(d.peak.nOver, kOverCalls);
  }
}

TEST(ExVUMeterBallistics, NonFiniteInputDoesNotPinTheBar) {
  const SExVUMParam p;
  const SFall f = FallFor(p);
  const float inf = std::numeric_limits<float>::infinity();
  Channel c;
  StepChannel(p, f, c.shown, c.peak, std::nanf(""));
  EXPECT_FLOAT_EQ(c.shown, -80.0f - f.fFall) << "NaN is no level: the bar just falls";
  StepChannel(p, f, c.shown, c.peak, inf);
  EXPECT_TRUE(std::isfinite(c.shown));
  EXPECT_TRUE(std::isfinite(c.peak.fPeak));
  for (int i = 0; i < 200; ++i) StepChannel(p, f, c.shown, c.peak, -inf);
  EXPECT_LE(c.shown, p.fMinDB) << "the bar falls back after an infinite level";
  EXPECT_LE(c.peak.fPeak, p.fMinDB);

  // Degenerate curve: counters stay bounded over very long runs.
  SExVUMParam z;
  z.fMaxDB = -100.0f;
  const SFall fz = FallFor(z);
  Channel d;
  for (int i = 0; i < 3000000; ++i) StepChannel(z, fz, d.shown, d.peak, -200.0f);
  EXPECT_GE(d.peak.nHold, -(1 << 20));
}

TEST(ExVUMeterGeometry, BarSizeAndHitTest) {
  EXPECT_EQ(BarSizeFor(20, 1, 2, 4), 9);
  EXPECT_EQ(BarSizeFor(20, 1, 10, 4), 3);
  EXPECT_EQ(BarSizeFor(0, 1, 2, 4), 3);
  EXPECT_EQ(BarSizeFor(20, 1, 0, 7), 7) << "no bar to size";
  EXPECT_EQ(BarSizeFor(20, 1, -4, 7), 7);
  EXPECT_EQ(BarFromPos(-5, 9, 1, 2), 0);
  EXPECT_EQ(BarFromPos(9, 9, 1, 2), 0);
  EXPECT_EQ(BarFromPos(10, 9, 1, 2), 1);
  EXPECT_EQ(BarFromPos(500, 9, 1, 2), 1);
  EXPECT_EQ(BarFromPos(5, 0, 0, 3), 2) << "no division by zero";
  EXPECT_EQ(BarFromPos(5, 9, 1, 0), 0);
}

}  // namespace
