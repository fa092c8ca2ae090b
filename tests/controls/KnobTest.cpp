// The knob: angle <-> position both ways (wide, inverted and non-finite inputs included), the
// drag rate and its notifications in order, the double click, and the indicator on screen.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "ControlsTestUtil.h"
#include "controls/Knob.h"
#include "controls/KnobLogic.h"
#include "support/HostWindow.h"
#include "support/Recorder.h"

namespace hl = winport::headless;
using controlstest::Px;

namespace {

TEST(KnobMapping, PositionToAngleAndBack) {
  EXPECT_DOUBLE_EQ(knob::AngleFromPos(150, 0, 100), knob::kFullAngle);
  EXPECT_DOUBLE_EQ(knob::AngleFromPos(-5, 0, 100), 0.0);
  EXPECT_NEAR(knob::AngleFromPos(50, 0, 100), 2.35619449, 1e-9);
  EXPECT_EQ(knob::PosFromAngle(knob::AngleFromPos(50, 0, 100), 0, 100), 50);
  EXPECT_EQ(knob::PosFromAngle(knob::kFullAngle, 0, 100), 100);
  EXPECT_EQ(knob::PosFromAngle(knob::kFullAngle * 2, 0, 100), 100) << "at most the maximum";
  // Halves go to the even neighbour.
  EXPECT_EQ(knob::PosFromAngle(knob::kFullAngle / 2, 0, 1), 0);
  EXPECT_EQ(knob::PosFromAngle(knob::kFullAngle / 2, 0, 3), 2);
  EXPECT_EQ(knob::PosFromAngle(knob::kFullAngle / 2, -10, 10), 0);
}

TEST(KnobMapping, WideInvertedAndEmptyRanges) {
  // The whole int range: no overflow, both ends and the middle survive the round trip.
  for (int pos : {INT_MIN, -1000, 0, 12345, INT_MAX})
    EXPECT_EQ(knob::PosFromAngle(knob::AngleFromPos(pos, INT_MIN, INT_MAX), INT_MIN, INT_MAX), pos);
  EXPECT_NEAR(knob::AngleFromPos(0, INT_MIN, INT_MAX), knob::kFullAngle / 2, 1e-9);
  // Empty and inverted ranges have only angle 0 and report their minimum.
  EXPECT_EQ(knob::AngleFromPos(7, 5, 5), 0.0);
  EXPECT_EQ(knob::AngleFromPos(7, 10, 0), 0.0);
  EXPECT_EQ(knob::PosFromAngle(2.0, 10, 0), 10);
  EXPECT_EQ(knob::PosFromAngle(std::nan(""), 0, 100), 0);
}

TEST(KnobMapping, DragRateAndTip) {
  EXPECT_NEAR(knob::DragAngle(0.0, 10, 55), 45 * 3.1415926536 / 90, 1e-12) << "2 degrees per pixel";
  EXPECT_GT(knob::DragAngle(0.0, 0, 135), knob::kFullAngle) << "135 pixels pass the full angle";
  EXPECT_LT(knob::DragAngle(1.0, 100, 90), 1.0) << "left turns back";
  // Angle 0 points down-left, the middle straight up, the full angle down-right.
  EXPECT_EQ(knob::TipPoint(20, 20, 0.0, 8).x, 14);
  EXPECT_EQ(knob::TipPoint(20, 20, 0.0, 8).y, 26);
  EXPECT_EQ(knob::TipPoint(20, 20, 2.35619449, 8).x, 20);
  EXPECT_EQ(knob::TipPoint(20, 20, 2.35619449, 8).y, 12);
  EXPECT_EQ(knob::TipPoint(20, 20, knob::kFullAngle, 8).x, 26);
  EXPECT_EQ(knob::TipPoint(20, 20, knob::kFullAngle, 8).y, 26);
  EXPECT_EQ(knob::TipPoint(0, 0, 2.35619449, INT_MAX).y, -(1 << 30)) << "saturates";
}

class CTestKnob : public CKnob {
 public:
  using CKnob::SetAngle;
  double Angle() const { return m_dAngle; }
};

constexpr UINT kId = 77;

class KnobWindow : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(m_parent.CreateTop(CRect(0, 0, 200, 200)));
    ASSERT_TRUE(m_knob.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 51, 51), &m_parent, kId));
    hl::Pump();
    m_parent.log.clear();
  }
  void TearDown() override {
    m_knob.DestroyWindow();
    m_parent.DestroyWindow();
    HostWindowTest::TearDown();
  }
  // The parent's WM_COMMAND codes from the knob, in order.
  std::vector<UINT> Codes() const {
    std::vector<UINT> out;
    for (const Logged& l : m_parent.log) {
      if (l.msg != WM_COMMAND) continue;
      EXPECT_EQ(LOWORD(l.wParam), kId);
      EXPECT_EQ(reinterpret_cast<HWND>(l.lParam), m_knob.GetSafeHwnd());
      out.push_back(HIWORD(l.wParam));
    }
    return out;
  }

  CRecorderWnd m_parent;
  CTestKnob m_knob;
};

TEST_F(KnobWindow, PositionsAndRange) {
  m_knob.SetPos(150, FALSE);
  EXPECT_EQ(m_knob.GetPos(), 100);
  m_knob.SetPos(-5, FALSE);
  EXPECT_EQ(m_knob.Angle(), 0.0);
  m_knob.SetPos(50, FALSE);
  EXPECT_NEAR(m_knob.Angle(), 2.35619449, 1e-9);
  EXPECT_TRUE(Codes().empty()) << "no notification asked for";
  // The range alone does not move the indicator; the position read back follows it.
  m_knob.SetRange(0, 200);
  EXPECT_NEAR(m_knob.Angle(), 2.35619449, 1e-9);
  EXPECT_EQ(m_knob.GetPos(), 100);
  m_knob.SetRange(INT_MIN, INT_MAX);
  m_knob.SetPos(INT_MAX, FALSE);
  EXPECT_EQ(m_knob.GetPos(), INT_MAX);
  m_knob.SetRange(10, 0);
  m_knob.SetPos(5, TRUE);
  EXPECT_EQ(m_knob.Angle(), 0.0) << "an inverted range is empty";
  EXPECT_EQ(m_knob.GetPos(), 10);
}

TEST_F(KnobWindow, NonFiniteAnglesAreIgnored) {
  m_knob.SetPos(30, FALSE);
  const double before = m_knob.Angle();
  m_knob.SetAngle(std::numeric_limits<double>::quiet_NaN(), TRUE);
  m_knob.SetAngle(std::numeric_limits<double>::infinity(), TRUE);
  m_knob.SetAngle(-std::numeric_limits<double>::infinity(), TRUE);
  EXPECT_EQ(m_knob.Angle(), before);
  EXPECT_EQ(m_knob.GetPos(), 30);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(KnobWindow, DragTurnsTwoDegreesPerPixelAndNotifiesInOrder) {
  hl::MouseDown(m_knob, 5, 20);
  EXPECT_TRUE(m_knob.IsDraging());
  hl::MouseMove(m_knob, 50, 20);  // 45 px: a quarter turn
  EXPECT_NEAR(m_knob.Angle(), 3.1415926536 / 2, 1e-9);
  EXPECT_EQ(m_knob.GetPos(), 33);
  hl::MouseMove(m_knob, 140, 20);  // 135 px from the start: the full angle
  EXPECT_DOUBLE_EQ(m_knob.Angle(), knob::kFullAngle);
  hl::MouseMove(m_knob, 150, 20);  // beyond: clamped, yet reported
  hl::MouseMove(m_knob, 160, 20);
  EXPECT_DOUBLE_EQ(m_knob.Angle(), knob::kFullAngle);
  hl::MouseUp(m_knob, 160, 20);
  EXPECT_FALSE(m_knob.IsDraging());
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_CHANGE, EN_CHANGE, EN_CHANGE, EN_CHANGE, EN_UPDATE}));
  // Moving back to the left turns the knob back; moves after release do nothing.
  m_parent.log.clear();
  hl::MouseMove(m_knob, 0, 20);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(KnobWindow, PressWithoutMovementOnlyUpdates) {
  hl::MouseMove(m_knob, 20, 20);
  hl::MouseDown(m_knob, 20, 20);
  hl::MouseUp(m_knob, 20, 20);
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE}));
}

TEST_F(KnobWindow, DoubleClickRestoresTheDefault) {
  m_knob.SetDeftPos(50);
  m_knob.SetPos(10, FALSE);
  hl::MouseDown(m_knob, 20, 20);
  hl::MouseUp(m_knob, 20, 20);
  hl::MouseDown(m_knob, 20, 20);
  hl::MouseUp(m_knob, 20, 20);
  EXPECT_EQ(m_knob.GetPos(), 50);
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE}));
  // Already at the default: the double click only updates.
  hl::Advance(1000);
  m_parent.log.clear();
  hl::MouseDown(m_knob, 20, 20);
  hl::MouseUp(m_knob, 20, 20);
  hl::MouseDown(m_knob, 20, 20);
  hl::MouseUp(m_knob, 20, 20);
  EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_UPDATE}));
}

TEST_F(KnobWindow, LineIndicatorWhiteIdleRedWhileDragging) {
  m_knob.SetPos(50, FALSE);  // straight up from the centre (20, 20) to (20, 12)
  hl::Image img = Shot(m_knob);
  EXPECT_EQ(img.At(20, 15), Px(RGB(255, 255, 255)));
  EXPECT_EQ(img.At(20, 12), Px(RGB(255, 255, 255))) << "the tip";
  EXPECT_EQ(img.At(20, 10), Px(RGB(0, 0, 0)));
  EXPECT_EQ(img.At(25, 15), Px(RGB(0, 0, 0))) << "black without a background bitmap";
  EXPECT_EQ(img.At(20, 25), Px(RGB(0, 0, 0)));
  hl::MouseDown(m_knob, 20, 30);
  img = Shot(m_knob);
  EXPECT_EQ(img.At(20, 15), Px(RGB(255, 0, 0)));
  hl::MouseUp(m_knob, 20, 30);
  m_knob.SetPos(0, FALSE);  // down-left, tip (14, 26)
  img = Shot(m_knob);
  EXPECT_EQ(img.At(14, 26), Px(RGB(255, 255, 255)));
  EXPECT_EQ(img.At(20, 15), Px(RGB(0, 0, 0)));
}

TEST_F(KnobWindow, BackgroundAndAlphaIndicatorBitmaps) {
  auto back = controlstest::Picture(30, 30, [](int, int) { return RGB(0, 0, 160); });
  CBitmap bmpBack;
  bmpBack.Attach(winport::CreateBitmapFromSurface(back));
  m_knob.SetBackBitmap(&bmpBack, TRUE);
  CRect rc;
  m_knob.GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 30);
  EXPECT_EQ(rc.Height(), 30);
  // A 4 x 4 indicator: opaque green on the left half, half-transparent premultiplied red right.
  auto ind = std::make_shared<winport::Surface>(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ind->Set(x, y, x < 2 ? 0xFF00FF00u : 0x80800000u);
  CBitmap bmpInd;
  bmpInd.Attach(winport::CreateBitmapFromSurface(ind));
  m_knob.SetIndicatorBitmap(&bmpInd);
  m_knob.SetPos(50, FALSE);  // tip (15, 7): the indicator covers (13..16, 5..8)
  const hl::Image img = Shot(m_knob);
  EXPECT_EQ(img.At(13, 5) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(img.At(14, 8) & 0xFFFFFF, 0x00FF00u);
  const uint32_t half = img.At(16, 6);
  EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 128, 2);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 80, 2) << "160 blue behind, halved";
  EXPECT_EQ(img.At(12, 6), 0x0000A0u) << "background beside the indicator";
  EXPECT_EQ(img.At(15, 11), 0x0000A0u) << "no line with an indicator bitmap";
}

TEST_F(KnobWindow, ResourceBackgroundFitsTheWindow) {
  controlstest::RegisterBitmap(L"IDB_TEST_KNOB", *controlstest::Picture(24, 36, [](int, int) { return RGB(9, 99, 9); }));
  m_knob.LoadBackBitmap(L"IDB_TEST_KNOB", TRUE);
  CRect rc;
  m_knob.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 24);
  EXPECT_EQ(rc.Height(), 36);
  EXPECT_EQ(Shot(m_knob).At(2, 2), Px(RGB(9, 99, 9)));
  // A missing bitmap leaves the knob black and its size alone.
  m_knob.LoadBackBitmap(L"IDB_NO_SUCH_KNOB", TRUE);
  m_knob.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 24);
  m_knob.Invalidate();  // loading does not repaint by itself
  EXPECT_EQ(Shot(m_knob).At(2, 2), Px(RGB(0, 0, 0)));
}

}  // namespace
