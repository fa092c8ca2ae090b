// The segmented meter as a window: layout, lit cells and zone colours read from the screen,
// peak hold and fall over virtual time, marker flashes, the tooltip, and bad input.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "support/HostWindow.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "foundation/AudioScale.h"
#include "audio/VUMeter.h"

namespace hl = winport::headless;

namespace {

// Gives the tests the tooltip and layout the meter keeps to itself.
class CTestVUMeter : public CVUMeter {
 public:
  CString TipText() {
    CString s;
    m_ToolTip.GetText(s, this, TIP_ID);
    return s;
  }
  bool TipShown() const { return m_ToolTip.IsTipShown(); }
  int BarWidth() const { return m_nBarWidth; }
  int CellHeight() const { return m_nCellHeight; }
  int HighIndex() const { return m_nHighIndex; }
  int LowIndex() const { return m_nLowIndex; }
  int TipMeter() const { return m_nTipMeter; }
  bool PeakTimerRuns() const { return m_bPeakTimer != 0; }
};

class VUMeterWindow : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_meter.GetSafeHwnd()) m_meter.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(int cx, int cy, int count, CAudioScale* pScale = nullptr) {
    m_param.nVUCount = count;
    m_param.pScale = pScale;
    ASSERT_TRUE(m_meter.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), &m_top, m_param));
    hl::Pump();
  }
  hl::Image Shot() { return HostWindowTest::Shot(m_meter); }
  // Centre pixel of cell k of bar i, and the separator row above cell k.
  int BarX(int i) const { return i * (m_meter.BarWidth() + 3) + 1 + m_meter.BarWidth() / 2; }
  int CellY(int k) const { return 4 + (m_meter.GetGridCount() - 1 - k) * (m_meter.CellHeight() + 1) + 1; }
  int SepY(int k) const { return CellY(k) - 1; }
  static uint32_t Px(COLORREF cr) { return winport::ToPixel(cr); }

  CTestVUMeter m_meter;
  SVUMeterInitParam m_param;
};

TEST_F(VUMeterWindow, LayoutFollowsClientSizeAndChannelCount) {
  Make(200, 150, 2);
  EXPECT_EQ(m_meter.GetGridCount(), 48);
  EXPECT_EQ(m_meter.GetGridHeigh(), 3);
  EXPECT_EQ(m_meter.GetAllGridHeigh(), 144);
  EXPECT_EQ(m_meter.BarWidth(), 96);

  m_meter.SetVUCount(8);
  EXPECT_EQ(m_meter.BarWidth(), (200 - 1) / 8 - 3);
  m_meter.MoveWindow(0, 0, 401, 404);
  hl::Pump();
  EXPECT_EQ(m_meter.GetGridCount(), 79);
  EXPECT_EQ(m_meter.GetGridHeigh(), 5);
  EXPECT_EQ(m_meter.BarWidth(), 47);

  // Frames on screen: left line of bar 1, top line, bottom line; background right of the bars.
  const hl::Image img = Shot();
  const int x1 = 1 * (47 + 3);
  EXPECT_EQ(img.At(x1, 100), Px(m_param.crFrame));
  EXPECT_EQ(img.At(x1 + 10, 4), Px(m_param.crFrame));
  EXPECT_EQ(img.At(x1 + 10, 4 + 79 * 5), Px(m_param.crFrame));
  EXPECT_EQ(img.At(x1 + 10, 2), Px(m_param.crBack)) << "the 4-pixel margin above the bars";
  EXPECT_EQ(img.At(399, 200), Px(m_param.crBack));
}

TEST_F(VUMeterWindow, LitCellsWithDefaultScaleAndZoneColours) {
  CAudioScale scale(1);
  Make(200, 150, 2, &scale);
  ASSERT_EQ(m_meter.HighIndex(), 34);
  ASSERT_EQ(m_meter.LowIndex(), 29);
  double dB[2] = {0.0, -60.0};
  m_meter.SetDBValue(dB);
  hl::Image img = Shot();
  // Bar 0: cells 0..38 lit in their zones, 39 up dimmed.
  EXPECT_EQ(img.At(BarX(0), CellY(38)), Px(m_param.crHigh));
  EXPECT_EQ(img.At(BarX(0), CellY(34)), Px(m_param.crHigh));
  EXPECT_EQ(img.At(BarX(0), CellY(33)), Px(m_param.crMid));
  EXPECT_EQ(img.At(BarX(0), CellY(29)), Px(m_param.crMid));
  EXPECT_EQ(img.At(BarX(0), CellY(28)), Px(m_param.crLow));
  EXPECT_EQ(img.At(BarX(0), CellY(0)), Px(m_param.crLow));
  EXPECT_EQ(img.At(BarX(0), CellY(39)), Px(vumeter::DimColor(m_param.crHigh)));
  EXPECT_EQ(img.At(BarX(0), SepY(38)), Px(m_param.crPeak)) << "peak line above the top lit cell";
  // Bar 1 at -60 dB: cells 0..2; unlit cells show the dimmed zones and the off colour.
  EXPECT_EQ(img.At(BarX(1), CellY(2)), Px(m_param.crLow));
  EXPECT_EQ(img.At(BarX(1), CellY(3)), Px(m_param.crOff));
  EXPECT_EQ(img.At(BarX(1), CellY(30)), Px(vumeter::DimColor(m_param.crMid)));
  EXPECT_EQ(img.At(BarX(1), CellY(47)), Px(vumeter::DimColor(m_param.crHigh)));
  EXPECT_EQ(img.At(BarX(1), SepY(20)), Px(m_param.crFrame)) << "separators in the frame colour";

  double top[2] = {12.0, -110.0};
  m_meter.SetDBValue(top);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), CellY(47)), Px(m_param.crHigh)) << "+12 dB fills the bar";
  EXPECT_EQ(img.At(BarX(1), CellY(0)), Px(m_param.crOff)) << "-110 dB lights nothing";
  EXPECT_EQ(img.At(BarX(1), SepY(2)), Px(m_param.crPeak)) << "the -60 dB peak still shows above cell 2";
}

TEST_F(VUMeterWindow, LitCellsWithoutScale) {
  Make(200, 150, 2);
  ASSERT_EQ(m_meter.HighIndex(), 45);
  ASSERT_EQ(m_meter.LowIndex(), 42);
  double dB[2] = {-50.0, 0.0};
  m_meter.SetDBValue(dB);
  const hl::Image img = Shot();
  EXPECT_EQ(img.At(BarX(0), CellY(24)), Px(m_param.crLow));
  EXPECT_EQ(img.At(BarX(0), CellY(25)), Px(m_param.crOff));
  EXPECT_EQ(img.At(BarX(1), CellY(47)), Px(m_param.crHigh));
  EXPECT_EQ(img.At(BarX(1), CellY(44)), Px(m_param.crMid));
  EXPECT_EQ(img.At(BarX(1), CellY(41)), Px(m_param.crLow));
}

TEST_F(VUMeterWindow, PeakHoldsThenFallsAndTimerStops) {
  Make(200, 150, 1);
  double loud = 0.0, quiet = -100.0;
  m_meter.SetDBValue(&loud);
  m_meter.SetDBValue(&quiet);  // the bar drops at once, the peak stays
  EXPECT_TRUE(m_meter.PeakTimerRuns());
  hl::Image img = Shot();
  EXPECT_EQ(img.At(BarX(0), SepY(47)), Px(m_param.crPeak));
  EXPECT_EQ(img.At(BarX(0), CellY(47)), Px(vumeter::DimColor(m_param.crHigh)));

  hl::Advance(1250);  // twelve ticks: the hold count runs out
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), SepY(47)), Px(m_param.crPeak)) << "held for four third-ticks";
  hl::Advance(100);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), SepY(47)), Px(m_param.crFrame));
  EXPECT_EQ(img.At(BarX(0), SepY(46)), Px(m_param.crPeak)) << "one cell per tick near the top";

  hl::Advance(3000);
  img = Shot();
  for (int k = 0; k < 48; ++k) ASSERT_NE(img.At(BarX(0), SepY(k)), Px(m_param.crPeak)) << k;
  EXPECT_FALSE(m_meter.PeakTimerRuns()) << "the tick that finds no peak stops the timer";
}

TEST_F(VUMeterWindow, MarkerFlashesOnPassingChannelsForItsDuration) {
  const COLORREF yellow = RGB(255, 255, 0);
  m_meter.AddVUMarker(-6, yellow);  // before Create: kept and sized to the channels
  Make(200, 150, 2);
  const int y = 4 + (48 - 45) * 3;  // the line under cell 45 (-6 dB)
  double dB[2] = {-3.0, -20.0};
  m_meter.SetDBValue(dB);
  hl::Image img = Shot();
  EXPECT_EQ(img.At(BarX(0), y), Px(RGB(255, 0, 0))) << "passed: red";
  EXPECT_EQ(img.At(BarX(1), y), Px(yellow)) << "not passed: own colour";
  hl::Advance(2500);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), y), Px(RGB(255, 0, 0))) << "3000 ms: still red after two ticks";
  hl::Advance(600);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), y), Px(yellow));

  // A duration that is an exact multiple of the tick still ends on screen; the peaks are gone
  // by then, so only the countdown itself can ask for the repaint.
  m_meter.SetMarkerDuration(5005);
  m_meter.SetDBValue(dB);
  hl::Advance(4100);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), y), Px(RGB(255, 0, 0)));
  EXPECT_FALSE(m_meter.PeakTimerRuns());
  hl::Advance(1000);
  img = Shot();
  EXPECT_EQ(img.At(BarX(0), y), Px(yellow));

  m_meter.DeleteVUMarker(-6);
  m_meter.SetDBValue(dB);
  img = Shot();
  EXPECT_NE(img.At(BarX(0), y), Px(RGB(255, 0, 0)));
}

TEST_F(VUMeterWindow, TooltipShowsHoveredBarValue) {
  Make(200, 150, 2);
  double dB[2] = {-3.0, -20.3};
  hl::MouseMove(m_meter.GetSafeHwnd(), 150, 60);
  EXPECT_EQ(m_meter.TipMeter(), 1);
  m_meter.SetDBValue(dB);
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L"-20.3");
  m_meter.SetTipPostText(L"dB");
  hl::MouseMove(m_meter.GetSafeHwnd(), 5, 60);
  EXPECT_EQ(m_meter.TipMeter(), 0);
  m_meter.SetDBValue(dB);
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L" -3.0 dB");
  hl::MouseMove(m_meter.GetSafeHwnd(), 199, 60);
  EXPECT_EQ(m_meter.TipMeter(), 1) << "right of the last bar selects the last";
  hl::Advance(150);
  EXPECT_TRUE(m_meter.TipShown()) << "shown after the 100 ms initial delay";
  hl::Advance(5100);
  EXPECT_FALSE(m_meter.TipShown()) << "gone after 5 s";
}

TEST_F(VUMeterWindow, BadInputKeepsASanePicture) {
  Make(200, 150, 2);
  const double inf = std::numeric_limits<double>::infinity();
  double odd[2] = {std::nan(""), inf};
  m_meter.SetDBValue(odd);
  double far[2] = {-1e300, 1e300};
  m_meter.SetDBValue(far);
  double neg[2] = {-inf, -inf};
  m_meter.SetDBValue(neg);
  m_meter.SetDBValue(static_cast<double*>(nullptr));
  m_meter.SetDBValue(static_cast<float*>(nullptr));
  m_meter.SetDBValue(static_cast<int*>(nullptr));
  hl::Image img = Shot();
  EXPECT_EQ(img.At(BarX(1), SepY(47)), Px(m_param.crPeak)) << "+inf peaked at the top";
  EXPECT_EQ(img.At(BarX(0), CellY(0)), Px(m_param.crOff)) << "NaN and -inf light nothing";

  // Levels with a scale far outside it, and a scale with no points.
  CAudioScale empty;
  m_meter.DestroyWindow();
  Make(200, 150, 2, &empty);
  m_meter.SetDBValue(far);
  Shot();

  for (int count : {0, -3}) {
    m_meter.SetVUCount(count);
    EXPECT_EQ(m_meter.GetInitParam().nVUCount, 0);
    m_meter.SetDBValue(far);
    hl::MouseMove(m_meter.GetSafeHwnd(), 50, 50);
    img = Shot();
    EXPECT_EQ(img.At(10, 50), Px(m_param.crBack)) << "no channels: only the background";
    EXPECT_EQ(img.At(150, 100), Px(m_param.crBack));
  }
  m_meter.SetVUCount(8);
  double far8[8] = {-1e300, 1e300, inf, -inf, std::nan(""), 0, -50, 20};
  for (auto [cx, cy] : {std::pair{1, 1}, {5, 5}, {10, 3}, {30, 8}, {3, 300}}) {
    m_meter.MoveWindow(0, 0, cx, cy);
    m_meter.SetDBValue(far8);
    hl::MouseMove(m_meter.GetSafeHwnd(), cx - 1, cy - 1);
    img = Shot();
    EXPECT_GE(m_meter.GetGridCount(), 0);
    EXPECT_EQ(img.width, cx);
    EXPECT_EQ(img.height, cy);
  }
  hl::Advance(5000);
}

TEST_F(VUMeterWindow, MarkersSurviveCountChangesAndDestroy) {
  m_meter.AddVUMarker(-6, RGB(0, 0, 255));
  m_meter.AddVUMarker(-20, RGB(0, 255, 0));
  Make(200, 150, 2);
  m_meter.SetVUCount(6);
  double dB[6] = {0, 0, 0, 0, 0, 0};
  m_meter.SetDBValue(dB);
  m_meter.SetVUCount(1);
  m_meter.SetDBValue(dB);
  hl::Advance(4000);
  m_meter.DestroyWindow();
  m_meter.SetDBValue(dB);  // after destruction: no window, no crash
  m_meter.AddVUMarker(-3, RGB(1, 2, 3));
}

// A meter far taller than any surface, with a marker at the bottom of the int range: marker rows
// saturate instead of wrapping (UBSan checks the arithmetic), cells still light.
TEST_F(VUMeterWindow, TallMeterWithMarkerAtIntMin) {
  Make(60, 300000, 1);
  m_meter.AddVUMarker(INT_MIN, RGB(0, 0, 255));
  m_meter.AddVUMarker(INT_MAX, RGB(0, 0, 255));
  double level = -3.0;
  m_meter.SetDBValue(&level);
  const hl::Image img = Shot();
  EXPECT_GT(m_meter.GetGridCount(), 0);
  EXPECT_GT(img.height, 0);
}

}  // namespace
