#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <limits>
#include <vector>

#include "audio/VUMeterLogic.h"

namespace {

using namespace vumeter;

TEST(VUMeterLayout, BarsAndCellsFollowClientSizeAndChannelCount) {
  SLayout l;
  ASSERT_TRUE(ComputeLayout(200, 150, 2, l));
  EXPECT_EQ(l.nOriginX, 0);
  EXPECT_EQ(l.nOriginY, 4);
  EXPECT_EQ(l.nBarWidth, 96);
  EXPECT_EQ(l.nCellHeight, 2);
  EXPECT_EQ(l.nGridCount, 48);

  ASSERT_TRUE(ComputeLayout(401, 404, 8, l));
  EXPECT_EQ(l.nBarWidth, 47);
  EXPECT_EQ(l.nCellHeight, 4);
  EXPECT_EQ(l.nGridCount, 79);

  ASSERT_TRUE(ComputeLayout(30, 60, 1, l));
  EXPECT_EQ(l.nBarWidth, 26);
  EXPECT_EQ(l.nCellHeight, 1);
  EXPECT_EQ(l.nGridCount, 27);

  // Height thresholds of the cell size, client height = usable + 4.
  EXPECT_EQ(CellHeightFor(83 - 4), 1);
  EXPECT_EQ(CellHeightFor(84 - 4), 2);
  EXPECT_EQ(CellHeightFor(303 - 4), 2);
  EXPECT_EQ(CellHeightFor(304 - 4), 3);
  EXPECT_EQ(CellHeightFor(403 - 4), 3);
  EXPECT_EQ(CellHeightFor(404 - 4), 4);
}

TEST(VUMeterLayout, DegenerateClientsAndCountsStayNonNegative) {
  SLayout l;
  l.nGridCount = 77;
  EXPECT_FALSE(ComputeLayout(200, 150, 0, l));
  EXPECT_FALSE(ComputeLayout(200, 150, -3, l));
  EXPECT_FALSE(ComputeLayout(0, 150, 2, l));
  EXPECT_FALSE(ComputeLayout(200, -1, 2, l));
  EXPECT_EQ(l.nGridCount, 77) << "a refused layout leaves the old one";

  for (int cy : {1, 2, 3, 4, 5, 6}) {
    ASSERT_TRUE(ComputeLayout(1, cy, 8, l));
    EXPECT_GE(l.nBarWidth, 0);
    EXPECT_GE(l.nGridCount, 0) << cy;
  }
  ASSERT_TRUE(ComputeLayout(1, 1, 8, l));
  // A bar of no width must still give a usable hit test.
  EXPECT_EQ(BarFromX(100, l, 8), 7);
}

TEST(VUMeterLayout, HoverSelectsBarClampedToExistingBars) {
  SLayout l;
  ASSERT_TRUE(ComputeLayout(200, 150, 2, l));  // pitch 99
  EXPECT_EQ(BarFromX(-40, l, 2), 0);
  EXPECT_EQ(BarFromX(0, l, 2), 0);
  EXPECT_EQ(BarFromX(98, l, 2), 0);
  EXPECT_EQ(BarFromX(99, l, 2), 1);
  EXPECT_EQ(BarFromX(5000, l, 2), 1);
  EXPECT_EQ(BarFromX(50, l, 0), 0);
}

TEST(VUMeterCells, LinearMappingWithoutScale) {
  const SCellMap m = SCellMap::Make(48, false, 0, 0);
  EXPECT_FLOAT_EQ(m.fValueScale, 1.0f);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(-100)), -1);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(-150)), -1);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(-50)), 24);
  EXPECT_EQ(m.FromLinearDB(0), 48);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(0)), 47);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(9)), 47);
  EXPECT_EQ(m.FromLinearDB(-6), 45);
  EXPECT_EQ(m.FromLinearDB(-12), 42);
  EXPECT_EQ(m.LevelFromIndex(0), -1) << "cell 0 alone is never lit";
  EXPECT_EQ(m.LevelFromIndex(1), 1);
}

TEST(VUMeterCells, ScaledMappingUsesSinglePrecisionCellsPerUnit) {
  // Default scale: 0..100 value units; the caller passes the scale's value of each level.
  const SCellMap m = SCellMap::Make(48, true, 100, 0);
  EXPECT_EQ(m.fValueScale, 0.48f);
  EXPECT_EQ(m.LevelFromIndex(m.FromScaleValue(80)), 38);   // 0 dB
  EXPECT_EQ(m.LevelFromIndex(m.FromScaleValue(100)), 47);  // +12 dB, the whole bar
  EXPECT_EQ(m.LevelFromIndex(m.FromScaleValue(6)), 2);     // -60 dB
  EXPECT_EQ(m.LevelFromIndex(m.FromScaleValue(0)), -1);    // -110 dB
  EXPECT_EQ(m.FromScaleValue(72), 34);                     // -6 dB zone boundary
  EXPECT_EQ(m.FromScaleValue(61), 29);                     // -12 dB zone boundary

  const SCellMap shifted = SCellMap::Make(40, true, 50, 10);
  EXPECT_EQ(shifted.FromScaleValue(35), 20);
  const SCellMap flat = SCellMap::Make(40, true, 0, 5);
  EXPECT_FLOAT_EQ(flat.fValueScale, 1.0f) << "an empty range keeps one cell per unit";
}

TEST(VUMeterCells, NonFiniteAndHugeLevelsMapSafely) {
  const SCellMap m = SCellMap::Make(48, false, 0, 0);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(std::nan(""))), -1);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(inf)), 47);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(-inf)), -1);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(1e300)), 47);
  EXPECT_EQ(m.LevelFromIndex(m.FromLinearDB(-1e300)), -1);
  EXPECT_GT(m.FromLinearDB(1e300), 48);
  const SCellMap s = SCellMap::Make(48, true, 100, 0);
  EXPECT_EQ(s.LevelFromIndex(s.FromScaleValue(std::nan(""))), -1);
  const SCellMap none = SCellMap::Make(0, false, 0, 0);
  EXPECT_EQ(none.LevelFromIndex(none.FromLinearDB(0)), -1) << "no cells, nothing lit";
}

TEST(VUMeterPeak, WordPacksIndexAndHold) {
  EXPECT_EQ(PeakIndex(kNoPeak), static_cast<int>(0x8000FFFFu));
  EXPECT_LT(PeakIndex(kNoPeak), 0);
  EXPECT_EQ(MakePeak(30, 4), (4 << 16) | 30);
  EXPECT_EQ(PeakIndex(MakePeak(30, 4)), 30);
  EXPECT_EQ(PeakHold(MakePeak(30, 4)), 4);
  EXPECT_EQ(MakePeak(-1, 0), kNoPeak);

  int w = kNoPeak;
  FeedPeak(w, -1);
  EXPECT_EQ(w, kNoPeak) << "silence leaves no peak";
  FeedPeak(w, 10);
  EXPECT_EQ(PeakIndex(w), 10);
  EXPECT_EQ(PeakHold(w), 4) << "the first peak holds longest";
  FeedPeak(w, 12);
  EXPECT_EQ(PeakHold(w), 2) << "hold is the size of the rise";
  FeedPeak(w, 12);
  EXPECT_EQ(PeakHold(w), 0) << "a steady level refreshes the peak without hold";
  FeedPeak(w, 5);
  EXPECT_EQ(PeakIndex(w), 12) << "a lower level leaves the peak";
}

TEST(VUMeterPeak, HoldsFourThirdTicksThenFallsFasterLowerDown) {
  const int grid = 48;
  int w = kNoPeak;
  FeedPeak(w, 47);
  int tick = 0;
  int heldTicks = 0;
  while (PeakIndex(w) == 47) {
    ++tick;
    FallPeak(w, tick, grid);
    if (PeakIndex(w) == 47) ++heldTicks;
    ASSERT_LT(tick, 100);
  }
  EXPECT_EQ(heldTicks, 12) << "four hold steps on ticks 3, 6, 9, 12";
  EXPECT_EQ(PeakIndex(w), 46) << "falls one cell per tick near the top";

  std::vector<int> steps;
  int prev = PeakIndex(w);
  while (PeakIndex(w) >= 0) {
    ++tick;
    EXPECT_TRUE(FallPeak(w, tick, grid));
    const int now = PeakIndex(w);
    if (now >= 0) steps.push_back(prev - now);
    prev = now;
  }
  EXPECT_EQ(w, kNoPeak) << "a peak falling below cell 0 is no peak";
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.front(), 1);
  EXPECT_GT(*std::max_element(steps.begin(), steps.end()), 5);
  int low = MakePeak(2, 0);
  FallPeak(low, 1, grid);
  EXPECT_EQ(low, kNoPeak) << "9 cells per tick at the bottom";
  int mid = MakePeak(23, 0);
  FallPeak(mid, 1, grid);
  EXPECT_EQ(PeakIndex(mid), 18);
  EXPECT_FALSE(FallPeak(w, ++tick, grid)) << "no peak, no change";

  int held = MakePeak(20, 1);
  EXPECT_FALSE(FallPeak(held, 4, grid)) << "hold drops only on ticks divisible by 3";
  EXPECT_TRUE(FallPeak(held, 6, grid));
  EXPECT_EQ(held, MakePeak(20, 0));
}

TEST(VUMeterMarker, FlashCountdownEndsWithRepaintForAnyDuration) {
  // 3000 ms: red for three ticks, repaint when it returns to its colour.
  int t = 3000;
  EXPECT_FALSE(CountDownFlash(t, 1001));
  EXPECT_FALSE(CountDownFlash(t, 1001));
  EXPECT_TRUE(CountDownFlash(t, 1001));
  EXPECT_EQ(t, 0);
  EXPECT_FALSE(CountDownFlash(t, 1001)) << "an idle marker asks for nothing";

  // Exact multiples of the period must still end with a repaint.
  for (int ms : {1001, 2002, 3003}) {
    int r = ms;
    int ticks = 0;
    bool repaint = false;
    while (r > 0) {
      repaint = CountDownFlash(r, 1001);
      ++ticks;
    }
    EXPECT_TRUE(repaint) << ms;
    EXPECT_EQ(ticks, ms / 1001);
  }
  int neg = -5;
  EXPECT_FALSE(CountDownFlash(neg, 1001));
  EXPECT_EQ(neg, -5);
}

}  // namespace

namespace {

TEST(VUMeterColours, DimKeepsHueLowersSaturationAndValue) {
  // crHigh R 251, G 96, B 44: hue ~15 deg, saturation 0.825 -> 0.55, value 0.4 (102).
  const COLORREF dim = vumeter::DimColor(RGB(251, 96, 44));
  EXPECT_EQ(GetRValue(dim), 102);
  EXPECT_NEAR(GetGValue(dim), 60, 1);
  EXPECT_NEAR(GetBValue(dim), 46, 1);
  const COLORREF grey = vumeter::DimColor(RGB(200, 200, 200));
  EXPECT_EQ(grey, RGB(102, 102, 102));
  EXPECT_EQ(vumeter::DimColor(0), RGB(102, 102, 102));
}

}  // namespace
