// The spectrum display's arithmetic without a window: grid rows and level rows on a scale,
// bucket maxima, spreading, the warped axis both ways at 44.1 and 48 kHz, bins and knots, the
// natural spline on knots worked by hand, and the linear axis' grid spacing.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FigMapping.h"
#include "spectrum/FreqAxis.h"
#include "spectrum/NaturalSpline.h"

using namespace spectrum;

namespace {

CAudioScale MakeScale(std::vector<ScaleItem> items) {
  CAudioScale s;
  s.SetScale(items.data(), static_cast<int>(items.size()));
  return s;
}

}  // namespace

TEST(FigMapping, GridRowsAndLevelRowsOnTheDefaultScale) {
  const CAudioScale scale(1);
  const SScaleMap map = SScaleMap::Make(&scale, 100);
  std::vector<int> rows;
  for (int i = 0; i < scale.m_arrScale.GetSize(); ++i) rows.push_back(map.GridRow(scale.m_arrScale[i].nValue));
  EXPECT_EQ(rows, (std::vector<int>{0, 12, 20, 28, 39, 55, 68, 82, 94, 100}));
  EXPECT_FLOAT_EQ(map.LevelToRow(0.0f), 20.0f);
  EXPECT_FLOAT_EQ(map.LevelToRow(12.0f), 0.0f);
  EXPECT_FLOAT_EQ(map.LevelToRow(-3.0f), 24.0f);  // value 76
  EXPECT_FLOAT_EQ(map.LevelToRow(-110.0f), 100.0f);
  // Silence (-inf), undefined levels and levels beyond the top stay on the scale's rows.
  EXPECT_FLOAT_EQ(map.LevelToRow(-INFINITY), 100.0f);
  EXPECT_FLOAT_EQ(map.LevelToRow(NAN), 100.0f);
  EXPECT_FLOAT_EQ(map.LevelToRow(INFINITY), 0.0f);
}

TEST(FigMapping, ScaleWithoutHeightMapsEverythingToOneRow) {
  const CAudioScale one = MakeScale({{0, 50}});
  const CAudioScale equal = MakeScale({{0, 40}, {-60, 40}});
  const CAudioScale empty;
  for (const CAudioScale* s : {&one, &equal, &empty}) {
    const SScaleMap map = SScaleMap::Make(s, 80);
    EXPECT_TRUE(map.IsFlat());
    EXPECT_EQ(map.GridRow(40), 80);
    for (float level : {20.0f, 0.0f, -60.0f, -200.0f}) EXPECT_FLOAT_EQ(map.LevelToRow(level), 80.0f);
  }
  EXPECT_TRUE(SScaleMap::Make(nullptr, 10).IsFlat());
}

TEST(FigMapping, GridRowProductDoesNotOverflow) {
  // (value - min) x H = 1.5e9 x 1000 is far beyond 32 bits.
  const CAudioScale big = MakeScale({{0, 2000000000}, {-100, -1000000000}});
  const SScaleMap map = SScaleMap::Make(&big, 1000);
  EXPECT_EQ(map.GridRow(500000000), 500);
  EXPECT_EQ(map.GridRow(2000000000), 0);
  EXPECT_EQ(map.GridRow(-1000000000), 1000);
}

TEST(FigMapping, BucketMaximaCoverEveryValue) {
  std::vector<float> v(1000);
  for (int i = 0; i < 1000; ++i) v[i] = static_cast<float>((i * 37) % 101);
  std::vector<float> out(200);
  ASSERT_TRUE(BucketMax(v.data(), 0, 1000, 200, out.data()));
  for (int k = 0; k < 200; ++k) {
    float best = v[5 * k];
    for (int j = 5 * k; j < 5 * k + 5; ++j) best = std::max(best, v[j]);
    ASSERT_EQ(out[k], best) << k;
  }
  // 1000 over 300 and 512 over 400: the running position ends at 999 and 511; the last
  // value, the only loud one, must still be read.
  for (auto [n, m] : {std::pair{1000, 300}, std::pair{512, 400}}) {
    std::vector<float> quiet(n, -90.0f), o(m, 0.0f);
    quiet[n - 1] = 0.0f;
    ASSERT_TRUE(BucketMax(quiet.data(), 0, n, m, o.data()));
    EXPECT_EQ(o[m - 1], 0.0f) << n << " over " << m;
    EXPECT_EQ(o[m - 2], -90.0f);
  }
  // Equal values keep the first; the start offset is honoured.
  std::vector<float> w = {9, 1, 2, 3, 4, 5, 6, 7};
  std::vector<float> o2(2);
  ASSERT_TRUE(BucketMax(w.data(), 2, 6, 2, o2.data()));
  EXPECT_EQ(o2, (std::vector<float>{4, 7}));
  EXPECT_FALSE(BucketMax(w.data(), 0, 2, 2, o2.data()));
  EXPECT_FALSE(BucketMax(w.data(), 0, 4, 0, o2.data()));
}

TEST(FigMapping, SpreadColumnsAndVerticalGridStep) {
  EXPECT_EQ(SpreadColumn(1, 100, 400), 4);
  EXPECT_EQ(SpreadColumn(99, 100, 400), 396);
  EXPECT_EQ(SpreadColumn(2, 3, 10), 6);  // 2 x 3.333 truncates
  EXPECT_EQ(XGridStep(205, 10), 20);
  EXPECT_EQ(XGridStep(205, 0), -1);
  EXPECT_EQ(XGridStep(205, -3), -1);
  EXPECT_EQ(XGridStep(10, INT_MAX), 0);
  EXPECT_EQ(TruncCoord(1e300), kCoordLimit);
  EXPECT_EQ(TruncCoord(-2.7), -2);
  EXPECT_EQ(TruncCoord(NAN), 0);
}

TEST(WarpedAxis, ColumnsAt441kHz) {
  const int freqs[] = {200, 300, 400, 500, 600, 700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};
  const int cols[] = {84, 109, 130, 146, 161, 173, 184, 194, 203, 266, 304, 332, 353, 371, 386, 399, 411, 421, 490};
  for (size_t i = 0; i < std::size(freqs); ++i) EXPECT_EQ(WarpedX(22050, 500, freqs[i]), cols[i]) << freqs[i];
  EXPECT_EQ(WarpedX(22050, 500, 0), 0);
  EXPECT_NEAR(WarpedFrq(22050, 500, 0), 0.0, 1e-9);
  EXPECT_NEAR(WarpedFrq(22050, 500, 1), 1.507, 0.001);
  EXPECT_NEAR(WarpedFrq(22050, 500, 499), 21829.2, 0.1);
  EXPECT_NEAR(WarpedFrq(22050, 500, 500), 22050.0, 1e-6);
}

TEST(WarpedAxis, ColumnsAt48kHzBothWays) {
  // 600 columns: column = 600 ln(1 + f/150) / ln(161).
  EXPECT_EQ(WarpedX(24000, 600, 150), 81);    // 600 ln 2 / ln 161 = 81.8
  EXPECT_EQ(WarpedX(24000, 600, 1000), 240);  // 240.5
  EXPECT_EQ(WarpedX(24000, 600, 10000), 497);
  EXPECT_EQ(WarpedX(24000, 600, 24000), 599);  // 600 - rounding: the edge itself is not reached
  EXPECT_NEAR(WarpedFrq(24000, 600, 100), 199.861, 0.001);
  EXPECT_NEAR(WarpedFrq(24000, 600, 300), 1753.287, 0.001);
  EXPECT_NEAR(WarpedFrq(24000, 600, 600), 24000.0, 1e-6);
  // There and back: a column's frequency maps into that column (or the one before, where the
  // float rounding falls just short).
  for (int x = 0; x < 600; x += 7) {
    const int back = WarpedX(24000, 600, static_cast<int>(std::ceil(WarpedFrq(24000, 600, x))));
    EXPECT_TRUE(back == x || back == x - 1 || (back == x + 1 && x < 2)) << x << " -> " << back;
  }
  EXPECT_LT(WarpedFrq(24000, 600, -5), 0.0);  // below 0 Hz, reciprocal power
}

TEST(WarpedAxis, UndefinedInputsGiveColumnZero) {
  EXPECT_EQ(WarpedX(22050, 500, -150), 0);
  EXPECT_EQ(WarpedX(22050, 500, INT_MIN), 0);
  EXPECT_EQ(WarpedX(0, 500, 1000), 0);
  EXPECT_EQ(WarpedX(-44100, 500, 1000), 0);
  EXPECT_EQ(WarpedX(22050, 0, 1000), 0);
  EXPECT_EQ(WarpedX(1, INT_MAX, INT_MAX), INT_MAX);  // saturates
  EXPECT_LT(WarpedX(22050, 500, -100), 0);         // below 0 Hz, still defined
  EXPECT_EQ(WarpedFrq(0, 500, 3), 0.0);
  EXPECT_EQ(WarpedFrq(22050, -1, 3), 0.0);
}

TEST(WarpedAxis, BinsAndKnots) {
  // 44.1 kHz, 1024-point FFT: 512 bins drawn over 500 columns.
  EXPECT_EQ(WarpedBin(22050, 500, 0, 512, 44100), 0);
  EXPECT_EQ(WarpedBin(22050, 500, 203, 512, 44100), static_cast<int>(WarpedFrq(22050, 500, 203) * 1024 / 44100));
  EXPECT_EQ(WarpedBin(22050, 500, 499, 512, 44100), 506);
  EXPECT_EQ(WarpedBin(22050, 500, 600, 512, 44100), 511);  // beyond the edge: the last bin
  EXPECT_EQ(WarpedBin(22050, 500, 10, 512, 0), 0);         // no sample rate: undefined -> 0
  EXPECT_EQ(WarpedBin(22050, 500, 10, 0, 44100), 0);

  std::vector<SKnot> k(500);
  const int n = SelectKnots(22050, 500, 512, 44100, k.data());
  ASSERT_GT(n, 2);
  EXPECT_EQ(k[0].nColumn, 0);
  EXPECT_EQ(k[n - 1].nColumn, 499);
  EXPECT_EQ(k[n - 1].nBinLast, 511);
  for (int j = 1; j < n; ++j) {
    EXPECT_LT(k[j - 1].nColumn, k[j].nColumn);
    // Each knot is the first column of its bin (the last column aside) ...
    if (j < n - 1) {
      EXPECT_GT(k[j].nBin, k[j - 1].nBin);
      EXPECT_LT(WarpedBin(22050, 500, k[j].nColumn - 1, 512, 44100), k[j].nBin);
    }
    // ... and spans reach up to the next column's bin.
    const int next = WarpedBin(22050, 500, k[j].nColumn + 1, 512, 44100);
    if (j < n - 1) {
      EXPECT_EQ(k[j].nBinLast, std::max(k[j].nBin, next - 1));
    }
  }
  // Every bin is covered by exactly the knots' spans at the high end, where columns skip bins.
  EXPECT_GT(k[n - 2].nBinLast, k[n - 2].nBin);
  EXPECT_EQ(SelectKnots(22050, 0, 512, 44100, k.data()), 0);
  EXPECT_EQ(SelectKnots(22050, 1, 512, 44100, k.data()), 1);
}

TEST(NaturalSpline, KnotsWorkedByHand) {
  // (0,0) (2,2) (4,0): M1 = -1.5, so S(1) = S(3) = -1.5/12 + 1 + 0.5 = 1.375.
  const int x[] = {0, 2, 4};
  const float y[] = {0, 2, 0};
  double work[6];
  float out[5];
  ASSERT_TRUE(NaturalSpline(x, y, 3, work, out));
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  EXPECT_FLOAT_EQ(out[1], 1.375f);
  EXPECT_FLOAT_EQ(out[2], 2.0f);
  EXPECT_FLOAT_EQ(out[3], 1.375f);
  EXPECT_FLOAT_EQ(out[4], 0.0f);

  // Knots on a straight line give the line; the first knot need not be at 0.
  const int lx[] = {10, 13, 20, 21};
  const float ly[] = {5, 11, 25, 27};
  double w2[8];
  float line[12];
  ASSERT_TRUE(NaturalSpline(lx, ly, 4, w2, line));
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(line[i], 5.0f + 2.0f * i, 1e-4f) << i;

  // Two knots: the straight segment between them.
  const int tx[] = {0, 4};
  const float ty[] = {8, 0};
  float seg[5];
  ASSERT_TRUE(NaturalSpline(tx, ty, 2, w2, seg));
  EXPECT_FLOAT_EQ(seg[1], 6.0f);

  float one = 0;
  ASSERT_TRUE(NaturalSpline(tx, ty, 1, w2, &one));
  EXPECT_EQ(one, 8.0f);
  const int bad[] = {0, 0};
  EXPECT_FALSE(NaturalSpline(bad, ty, 2, w2, seg));
  EXPECT_FALSE(NaturalSpline(tx, ty, 0, w2, seg));
}

TEST(LinearAxis, GridSpacing) {
  EXPECT_EQ(XScaleFreqDist(22050, 450), 2000u);  // 2205 -> 2000; 11 intervals of 40 px
  EXPECT_EQ(22050u / XScaleFreqDist(22050, 450), 11u);
  EXPECT_EQ(XScaleFreqDist(24000, 600), 1000u);  // 1846 -> 1000; 24 intervals of 25 px
  EXPECT_EQ(XScaleFreqDist(24000, 40), 1u);      // narrower than 45 px
  // Nyquist below the interval count and a raw distance that a float digit count rounds to
  // 10^7: never 0.
  EXPECT_EQ(XScaleFreqDist(5, 450), 1u);
  EXPECT_EQ(XScaleFreqDist(0, 450), 1u);
  EXPECT_EQ(XScaleFreqDist(9999999, 45), 9000000u);
  EXPECT_EQ(XScaleFreqDist(9, 45), 9u);
  EXPECT_EQ(XScaleFreqDist(22050, -90), 1u);
}
