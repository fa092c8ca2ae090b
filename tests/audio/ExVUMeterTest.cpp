// The gradient meter as a window: vertical and horizontal layout read from the screen, the
// ballistics over long call sequences, the tooltip, bad input, and SetValue on another thread
// while the window thread paints.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "support/FeedRace.h"
#include "support/HostWindow.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "audio/ExVUMeter.h"

namespace hl = winport::headless;

namespace {

class CTestExVUMeter : public CExVUMeter {
 public:
  CString TipText() {
    CString s;
    m_ToolTip.GetText(s, this, TIP_ID);
    return s;
  }
  int Leng(float v) { return ValueToLeng(v); }
};

class ExVUMeterWindow : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_meter.GetSafeHwnd()) m_meter.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(int count, BOOL vertical, int cx, int cy) {
    ASSERT_TRUE(m_meter.Create(count, vertical, WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), &m_top));
    hl::Pump();
  }
  hl::Image Shot() { return HostWindowTest::Shot(m_meter); }
  void Feed(int count, float v, int times = 1) {
    std::vector<float> values(static_cast<size_t>(count), v);
    for (int i = 0; i < times; ++i) m_meter.SetValue(values.data());
  }
  static uint32_t Px(COLORREF cr) { return winport::ToPixel(cr); }
  static bool Near(uint32_t px, COLORREF cr, int tol) {
    const uint32_t want = Px(cr);
    for (int shift : {0, 8, 16}) {
      const int a = static_cast<int>((px >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
      if (std::abs(a - b) > tol) return false;
    }
    return true;
  }

  CTestExVUMeter m_meter;
};

TEST_F(ExVUMeterWindow, VerticalBarsGradientCoverAndPeak) {
  Make(2, TRUE, 20, 202);
  EXPECT_EQ(m_meter.GetBarSize(), 9);
  EXPECT_EQ(m_meter.GetBarPos(1), 10);
  const SExVUMColor& c = m_meter.GetColor();
  const int L = 202, S = 200;
  hl::Image img = Shot();
  // Empty bars: frame, cover over the whole level area, the peak line on the bottom row.
  EXPECT_EQ(img.At(0, 100), Px(c.crFrameTL));
  EXPECT_EQ(img.At(8, 100), Px(c.crFrameBR));
  EXPECT_EQ(img.At(9, 100), Px(c.crBack)) << "the gap between the bars";
  EXPECT_EQ(img.At(4, 100), Px(c.crCover));
  EXPECT_EQ(img.At(4, L - 1), Px(c.crPeak));

  Feed(2, -7.5f);  // 0.90625 of the bar
  const int len = m_meter.Leng(-7.5f);
  ASSERT_EQ(len, 181);
  img = Shot();
  EXPECT_EQ(img.At(4, 1 + S - len - 1), Px(c.crCover));
  EXPECT_EQ(img.At(4, L - len - 1), Px(c.crPeak)) << "peak line at the top of the level";
  EXPECT_NE(img.At(4, L - len), Px(c.crCover));
  // Gradient: the bottom row is the empty-end colour, the first breakpoint's colour at fPos1.
  EXPECT_TRUE(Near(img.At(14, L - 2), c.crGrad0, 2)) << std::hex << img.At(14, L - 2);
  const int e1 = static_cast<int>(0.79f * S + 0.5) + 1;
  EXPECT_EQ(img.At(14, L - e1), Px(c.crGrad1));
  const uint32_t mid = img.At(14, L - 2 - (e1 - 2) / 2);
  EXPECT_GT((mid >> 8) & 0xFF, 120u) << "green rising between the two ends";
  EXPECT_LT((mid >> 8) & 0xFF, 255u);

  // Over mark: a peak at the top breakpoint shows the top two rows in crGrad3.
  Feed(2, 0.0f);
  img = Shot();
  EXPECT_EQ(img.At(4, 0), Px(c.crGrad3));
  EXPECT_EQ(img.At(4, 1), Px(c.crGrad3));
  Feed(2, -80.0f, 80);
  img = Shot();
  EXPECT_EQ(img.At(4, 0), Px(c.crFrameTL)) << "gone 80 calls after the last 0 dB input";
}

TEST_F(ExVUMeterWindow, HorizontalBarsGrowToTheRight) {
  Make(8, FALSE, 202, 60);
  EXPECT_EQ(m_meter.GetBarSize(), (60 + 1) / 8 - 1);
  const int bar = m_meter.GetBarSize();
  const SExVUMColor& c = m_meter.GetColor();
  std::vector<float> v(8);
  for (int i = 0; i < 8; ++i) v[static_cast<size_t>(i)] = -75.0f + 10.0f * static_cast<float>(i);
  m_meter.SetValue(v.data());
  const hl::Image img = Shot();
  for (int i = 0; i < 8; ++i) {
    const int y = m_meter.GetBarPos(i) + bar / 2;
    const int len = m_meter.Leng(v[static_cast<size_t>(i)]);
    EXPECT_EQ(img.At(len + 1, y), Px(c.crPeak)) << i;
    EXPECT_EQ(img.At(len + 2, y), Px(c.crCover)) << i;
    EXPECT_NE(img.At(len, y), Px(c.crCover)) << i;
    EXPECT_EQ(img.At(0, y), Px(c.crFrameTL)) << i;
  }
  EXPECT_EQ(img.At(2, m_meter.GetBarPos(0) + bar / 2), Px(c.crGrad0)) << "gradient starts at the left";

  // Turning the meter keeps the bar size until the next size change.
  m_meter.SetVertical(TRUE);
  EXPECT_EQ(m_meter.GetBarSize(), bar);
  m_meter.MoveWindow(0, 0, 202, 61);
  EXPECT_EQ(m_meter.GetBarSize(), (202 + 1) / 8 - 1);
}

TEST_F(ExVUMeterWindow, BallisticsOverLongSequences) {
  Make(2, TRUE, 20, 202);
  Feed(2, -20.0f, 1000);
  EXPECT_EQ(m_meter.GetShownValue(0), -20.0f);
  EXPECT_EQ(m_meter.GetPeakRec(1).fPeak, -20.0f);
  EXPECT_EQ(m_meter.GetPeakRec(1).nHold, 15);

  Feed(2, 0.0f);
  std::vector<float> shown, peak;
  for (int i = 0; i < 100; ++i) {
    Feed(2, -80.0f);
    shown.push_back(m_meter.GetShownValue(0));
    peak.push_back(m_meter.GetPeakRec(0).fPeak);
  }
  EXPECT_EQ(shown[5], -80.0f) << "six calls to the bottom";
  EXPECT_GT(shown[4], -80.0f);
  EXPECT_EQ(peak[14], 0.0f);
  EXPECT_FLOAT_EQ(peak[15], -1.0f);
  EXPECT_FLOAT_EQ(peak[16], -3.0f);

  // A reset by size or by new parameters.
  m_meter.GetParam().fMinDB = -60.0f;
  m_meter.ParamChanged();
  EXPECT_EQ(m_meter.GetShownValue(0), -60.0f);
  EXPECT_EQ(m_meter.GetPeakRec(0).nOver, 0);
  Feed(2, -10.0f, 3);
  m_meter.MoveWindow(0, 0, 30, 202);
  EXPECT_EQ(m_meter.GetShownValue(1), -60.0f);
}

TEST_F(ExVUMeterWindow, TooltipShowsShownLevelOfHoveredBar) {
  Make(2, TRUE, 20, 202);
  m_meter.SetTipPostText(L"dB");
  hl::MouseMove(m_meter.GetSafeHwnd(), 15, 50);
  EXPECT_EQ(m_meter.GetTipMeter(), 1);
  std::vector<float> v = {-3.0f, -20.0f};
  m_meter.SetValue(v.data());
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L"-20.0 dB");
  hl::MouseMove(m_meter.GetSafeHwnd(), 0, 50);
  EXPECT_EQ(m_meter.GetTipMeter(), 0);
  m_meter.SetValue(v.data());
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L" -3.0 dB");
  Feed(2, -200.0f, 10);
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L"") << "below the empty end: no text";
  hl::MouseMove(m_meter.GetSafeHwnd(), 19, 50);
  EXPECT_EQ(m_meter.GetTipMeter(), 1);
}

TEST_F(ExVUMeterWindow, BadInputKeepsASanePicture) {
  Make(4, TRUE, 40, 100);
  const float inf = std::numeric_limits<float>::infinity();
  float odd[4] = {std::nanf(""), inf, -inf, 1e30f};
  m_meter.SetValue(odd);
  m_meter.SetValue(nullptr);
  hl::Image img = Shot();
  const SExVUMColor& c = m_meter.GetColor();
  EXPECT_NE(img.At(m_meter.GetBarPos(1) + 2, 2), Px(c.crCover)) << "+inf: full bar";
  EXPECT_EQ(img.At(m_meter.GetBarPos(1) + 2, 0), Px(c.crGrad3)) << "+inf: over mark";
  EXPECT_EQ(img.At(m_meter.GetBarPos(0) + 2, 50), Px(c.crCover)) << "NaN: no level";
  float quiet[4] = {-80, -80, -80, -80};
  for (int i = 0; i < 100; ++i) m_meter.SetValue(quiet);
  EXPECT_LE(m_meter.GetShownValue(1), -80.0f) << "an infinite level does not pin the bar";
  EXPECT_LE(m_meter.GetPeakRec(3).fPeak, -80.0f);

  // Degenerate curve: empty bars.
  m_meter.GetParam().fMaxDB = -80.0f;
  m_meter.ParamChanged();
  m_meter.SetValue(odd);
  img = Shot();
  m_meter.GetParam() = SExVUMParam{};
  m_meter.GetParam().fPos1 = std::nanf("");
  m_meter.GetParam().fPos3 = 1e30f;
  m_meter.ParamChanged();
  m_meter.SetValue(odd);
  Shot();
  m_meter.GetParam() = SExVUMParam{};
  m_meter.ParamChanged();

  for (int n : {0, -5}) {
    m_meter.SetCount(n);
    EXPECT_EQ(m_meter.GetCount(), 0);
    m_meter.SetValue(odd);
    hl::MouseMove(m_meter.GetSafeHwnd(), 10, 10);
    img = Shot();
    EXPECT_EQ(img.At(5, 50), Px(c.crBack));
  }
  m_meter.SetCount(4);
  m_meter.SetMeterDist(-7);
  EXPECT_EQ(m_meter.GetMeterDist(), 0);
  for (auto [cx, cy] : {std::pair{1, 1}, {2, 2}, {3, 50}, {50, 3}, {0, 0}}) {
    m_meter.MoveWindow(0, 0, cx, cy);
    m_meter.SetValue(odd);
    if (cx > 0) hl::MouseMove(m_meter.GetSafeHwnd(), cx - 1, cy - 1);
    Shot();
  }
  m_meter.SetVertical(FALSE);
  m_meter.MoveWindow(0, 0, 2, 40);
  m_meter.SetValue(odd);
  Shot();
}

// One thread feeds 100 000 level sets while the window thread paints. Every channel gets the
// same level, so a frame painted while values change would show bars of different lengths.
TEST_F(ExVUMeterWindow, SetValueOnAnotherThreadWhilePainting) {
  constexpr int kChannels = 8;
  Make(kChannels, TRUE, 8 * 7, 300);
  m_meter.SetMeterDist(1);
  m_meter.MoveWindow(0, 0, 8 * 7, 300);
  hl::Pump();
  std::atomic<bool> done{false};
  std::thread feeder([&] {
    float v[kChannels];
    for (int k = 0; k < 100000; ++k) {
      const float level = -80.0f + static_cast<float>(k % 97) * 0.85f;
      for (float& x : v) x = level;
      m_meter.SetValue(v);
    }
    done = true;
  });
  int frames = 0, torn = 0;
  const int bar = m_meter.GetBarSize();
  while (!done || frames < 5) {
    hl::Pump();  // serves the feeder's tooltip updates
    m_meter.Invalidate(FALSE);
    m_meter.UpdateWindow();
    const hl::Image img = hl::Capture(m_meter.GetSafeHwnd());
    ++frames;
    for (int y = 0; y < img.height; ++y) {
      const uint32_t ref = img.At(1 + bar / 2, y);
      for (int i = 1; i < kChannels; ++i)
        if (img.At(m_meter.GetBarPos(i) + 1 + bar / 2, y) != ref) {
          ++torn;
          break;
        }
    }
    if (done && frames >= 5) break;
  }
  feeder.join();
  hl::Pump();
  EXPECT_GT(frames, 0);
  EXPECT_EQ(torn, 0);
  // The flags are free again: a paint after the feeder shows levels.
  m_meter.Clear();
  float last[kChannels];
  for (float& x : last) x = -7.5f;
  m_meter.SetValue(last);
  const hl::Image img = Shot();
  EXPECT_EQ(img.At(1 + bar / 2, 300 - m_meter.Leng(-7.5f) - 1), Px(m_meter.GetColor().crPeak))
      << m_meter.GetShownValue(0) << " " << m_meter.GetPeakRec(0).fPeak << " frames " << frames << " bar " << bar
      << " now " << m_meter.GetBarSize() << " cover " << std::hex << img.At(1 + bar / 2, 10);
}

// The feeding thread keeps going while the window thread destroys the meter: the feed must not
// touch the window objects whose handles the destroy clears (TSan checks this), its tooltip text
// reaches the tooltip through the next paint, and levels still step after the window is gone.
TEST_F(ExVUMeterWindow, SetValueOnAnotherThreadWhileDestroyed) {
  Make(2, TRUE, 20, 202);
  m_meter.SetTipPostText(L"dB");
  hl::MouseMove(m_meter.GetSafeHwnd(), 15, 50);
  std::thread once([&] {
    std::vector<float> v = {-3.0f, -20.0f};
    m_meter.SetValue(v.data());
  });
  once.join();
  hl::Pump();
  EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(m_meter.TipText())), L"-20.0 dB");

  int k = 0;  // the feeder's alone
  testsupport::FeedAcross(
      [&] {
        float v[2];
        v[0] = v[1] = -60.0f + static_cast<float>(k++ % 50);
        m_meter.SetValue(v);
      },
      [&] { m_meter.DestroyWindow(); }, 200, 200);
  EXPECT_EQ(m_meter.GetSafeHwnd(), nullptr);
  float top[2] = {-1.0f, -1.0f};
  m_meter.SetValue(top);
  EXPECT_EQ(m_meter.GetShownValue(0), -1.0f);
}

TEST_F(ExVUMeterWindow, NullDCAndHugeGapsDrawNothingAndStayInRange) {
  Make(3, TRUE, 40, 100);
  m_meter.DrawOneValue(nullptr, 1, 2, -10.0f);
  m_meter.SetMeterDist(INT_MAX);
  EXPECT_EQ(m_meter.GetMeterDist(), exvumeter::kMaxMeterDist);
  m_meter.MoveWindow(0, 0, 41, 100);
  EXPECT_EQ(m_meter.GetBarSize(), 3);
  EXPECT_GT(m_meter.GetBarPos(2), m_meter.GetBarPos(1));
  hl::MouseMove(m_meter.GetSafeHwnd(), 39, 50);
  EXPECT_EQ(m_meter.GetTipMeter(), 0);
  m_meter.SetVertical(FALSE);
  Feed(3, -10.0f);
  Shot();
}

}  // namespace
