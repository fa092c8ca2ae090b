// The dock control bar: sizes per orientation and per layout mode, the state its style gives,
// the content rectangle, the etched frame and gripper pixels, each bar's own background, and
// docking, floating and redocking in a frame by mouse.
#include <gtest/gtest.h>

#include "ControlsTestUtil.h"
#include "controls/DockBarLogic.h"
#include "controls/DockCtrlBar.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using controlstest::Px;

namespace {

constexpr COLORREF kLight = RGB(255, 255, 0), kShadow = RGB(0, 0, 255), kBack = RGB(40, 40, 40);
constexpr COLORREF kContent = RGB(0, 200, 0);

TEST(DockBarRules, SizesPerOrientationAndMode) {
  dockbar::SSizes s = dockbar::InitialSizes(SIZE{200, 30}, CBRS_ALIGN_TOP);
  const dockbar::SDockState floating = dockbar::StateOf(CBRS_FLOATING | CBRS_ALIGN_TOP);
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, -1, LM_HORZDOCK, floating)), CSize(200, 30));
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, -1, LM_VERTDOCK, floating)), CSize(30, 200));
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 0, LM_HORZ | LM_MRUWIDTH, floating)), CSize(200, 30));
  s = dockbar::InitialSizes(SIZE{30, 200}, CBRS_ALIGN_LEFT);
  EXPECT_EQ(CSize(s.sizeHorz), CSize(200, 30));
  EXPECT_EQ(CSize(s.sizeVert), CSize(30, 200));
  s = dockbar::InitialSizes(SIZE{30, 200}, CBRS_ALIGN_TOP | CBRS_BORDER_RIGHT);
  EXPECT_EQ(CSize(s.sizeHorz), CSize(200, 30)) << "a left or right border bit counts as vertical";
}

TEST(DockBarRules, FloatingLengthsClampAtFiftyDockedOnesChangeNothing) {
  dockbar::SSizes s = dockbar::InitialSizes(SIZE{200, 30}, CBRS_ALIGN_TOP);
  const dockbar::SDockState floating = dockbar::StateOf(CBRS_FLOATING);
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 20, LM_HORZ, floating)), CSize(50, 30));
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 300, LM_HORZ, floating)), CSize(300, 30));
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 10, LM_HORZ | LM_LENGTHY, floating)), CSize(300, 50));
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 90, LM_HORZ | LM_COMMIT, floating)), CSize(300, 50)) << "only exact modes";
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 90, LM_HORZ | LM_LENGTHY | LM_COMMIT, floating)), CSize(300, 50));
  const dockbar::SDockState docked = dockbar::StateOf(CBRS_ALIGN_TOP);
  EXPECT_EQ(CSize(dockbar::DynamicSize(s, 120, LM_HORZ, docked)), CSize(300, 50)) << "docked: the floating size";
  EXPECT_EQ(CSize(s.sizeHorz), CSize(200, 30));
}

TEST(DockBarRules, StateContentAndGripper) {
  const auto st = dockbar::StateOf(CBRS_ALIGN_TOP | CBRS_FLOATING);
  EXPECT_TRUE(st.bFloating);
  EXPECT_FALSE(st.bTop || st.Horz() || st.Vert());
  EXPECT_TRUE(dockbar::StateOf(CBRS_ALIGN_RIGHT).Vert());
  EXPECT_TRUE(dockbar::StateOf(CBRS_ALIGN_BOTTOM).bBottom);
  const RECT rc{0, 0, 200, 30};
  EXPECT_EQ(CRect(dockbar::ContentRect(rc, dockbar::StateOf(CBRS_ALIGN_TOP))), CRect(19, 5, 195, 25));
  EXPECT_EQ(CRect(dockbar::ContentRect(rc, dockbar::StateOf(CBRS_ALIGN_LEFT))), CRect(5, 19, 195, 25));
  EXPECT_EQ(CRect(dockbar::ContentRect(rc, dockbar::StateOf(CBRS_FLOATING))), CRect(5, 5, 195, 25));
  EXPECT_EQ(CRect(dockbar::ContentRect(rc, dockbar::StateOf(0))), CRect(5, 5, 195, 25)) << "docked nowhere";
}

// A bar whose content fills the content rectangle.
class CFilledBar : public CDockCtrlBar {
 public:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, kContent);
  }
};

class DockCtrlBarWindow : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(m_frame.Create(nullptr, L"frame", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_top));
    m_frame.EnableDocking(CBRS_ALIGN_ANY);
    m_brush.CreateSolidBrush(kBack);
  }
  void TearDown() override {
    m_frame.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(CDockCtrlBar& bar, CSize size, DWORD style, UINT id = 300) {
    ASSERT_TRUE(bar.Create(&m_frame, id, L"Panel", size, WS_CHILD | WS_VISIBLE | style, m_brush));
    bar.Set3DColor(kLight, kShadow);
    bar.EnableDocking(CBRS_ALIGN_ANY);
  }
  CRect InFrame(CWnd& w) {
    CRect rc;
    w.GetWindowRect(&rc);
    m_frame.ScreenToClient(&rc);
    return rc;
  }

  CFrameWnd m_frame;
  CBrush m_brush;
};

TEST_F(DockCtrlBarWindow, AfterCreateTheBarFloatsByItsStyle) {
  CFilledBar bar;
  Make(bar, CSize(200, 30), CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS);
  EXPECT_EQ(bar.GetBarStyle(), static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | 0x4D));
  EXPECT_TRUE(bar.IsFloating());
  EXPECT_FALSE(bar.IsTopDocked() || bar.IsLeftDocked() || bar.IsRightDocked() || bar.IsBottomDocked() ||
               bar.IsVertDocked() || bar.IsHorzDocked());
  const DWORD ws = bar.GetStyle();
  EXPECT_EQ(ws & 0xFFFF, 0u);
  EXPECT_EQ(ws & CBRS_GRIPPER, 0u);
  EXPECT_EQ(ws & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  CRect rc;
  bar.CWnd::GetClientRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(200, 30));
  bar.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(5, 5, 195, 25));
  EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_VERTDOCK), CSize(30, 200));
  EXPECT_EQ(bar.CalcDynamicLayout(20, LM_HORZ), CSize(50, 30));
}

TEST_F(DockCtrlBarWindow, DockedTopEtchedFrameAndVerticalRidges) {
  CFilledBar bar;
  Make(bar, CSize(200, 30), CBRS_ALIGN_TOP);
  m_frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
  ASSERT_TRUE(bar.IsTopDocked());
  EXPECT_TRUE(bar.IsHorzDocked());
  EXPECT_EQ(InFrame(bar), CRect(0, 0, 200, 30));
  const hl::Image img = Shot(bar);
  // Outer etch: shadow top-left, light bottom-right; inner the other way round.
  EXPECT_EQ(img.At(100, 0), Px(kShadow));
  EXPECT_EQ(img.At(0, 15), Px(kShadow));
  EXPECT_EQ(img.At(199, 15), Px(kLight));
  EXPECT_EQ(img.At(100, 29), Px(kLight));
  EXPECT_EQ(img.At(100, 1), Px(kLight));
  EXPECT_EQ(img.At(1, 15), Px(kLight));
  EXPECT_EQ(img.At(198, 15), Px(kShadow));
  EXPECT_EQ(img.At(100, 28), Px(kShadow));
  // Ridges at x = 7 and 11, 3 wide, from y = 5 for height - 10 rows.
  for (int x0 : {7, 11}) {
    EXPECT_EQ(img.At(x0, 15), Px(kLight)) << x0;
    EXPECT_EQ(img.At(x0 + 1, 5), Px(kLight)) << x0;
    EXPECT_EQ(img.At(x0 + 2, 15), Px(kShadow)) << x0;
    EXPECT_EQ(img.At(x0 + 1, 24), Px(kShadow)) << x0;
    EXPECT_EQ(img.At(x0 + 1, 15), Px(kBack)) << x0;
    EXPECT_EQ(img.At(x0 + 1, 25), Px(kBack)) << x0;
  }
  EXPECT_EQ(img.At(15, 15), Px(kBack));
  EXPECT_EQ(img.At(19, 5), Px(kContent)) << "content from x = 19";
  EXPECT_EQ(img.At(194, 24), Px(kContent));
  EXPECT_EQ(img.At(195, 15), Px(kBack));
  EXPECT_EQ(img.At(18, 15), Px(kBack));
}

TEST_F(DockCtrlBarWindow, DockedLeftHorizontalRidges) {
  CFilledBar bar;
  Make(bar, CSize(30, 200), CBRS_ALIGN_LEFT);
  m_frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_TRUE(bar.IsLeftDocked());
  EXPECT_EQ(InFrame(bar), CRect(0, 0, 30, 200));
  const hl::Image img = Shot(bar);
  for (int y0 : {7, 11}) {
    EXPECT_EQ(img.At(15, y0), Px(kLight)) << y0;
    EXPECT_EQ(img.At(15, y0 + 2), Px(kShadow)) << y0;
    EXPECT_EQ(img.At(5, y0 + 1), Px(kLight)) << y0;
    EXPECT_EQ(img.At(24, y0 + 1), Px(kShadow)) << y0;
    EXPECT_EQ(img.At(15, y0 + 1), Px(kBack)) << y0;
  }
  EXPECT_EQ(img.At(5, 19), Px(kContent));
  EXPECT_EQ(img.At(5, 18), Px(kBack));
}

TEST_F(DockCtrlBarWindow, FloatingDrawsNoFrameOrGripper) {
  CFilledBar bar;
  Make(bar, CSize(200, 30), CBRS_ALIGN_TOP);
  m_frame.FloatControlBar(&bar, CPoint(700, 300));
  ASSERT_TRUE(bar.IsFloating());
  const hl::Image img = Shot(bar);
  EXPECT_EQ(img.At(0, 0), Px(kBack));
  EXPECT_EQ(img.At(1, 1), Px(kBack));
  EXPECT_EQ(img.At(4, 15), Px(kBack)) << "no etch, no ridge";
  EXPECT_EQ(img.At(100, 1), Px(kBack));
  EXPECT_EQ(img.At(199, 29), Px(kBack));
  EXPECT_EQ(img.At(198, 28), Px(kBack));
  EXPECT_EQ(img.At(5, 5), Px(kContent));
  EXPECT_EQ(img.At(4, 5), Px(kBack));
}

TEST_F(DockCtrlBarWindow, EachBarPaintsItsOwnBackground) {
  CFilledBar first, second;
  {
    CBrush red;
    red.CreateSolidBrush(RGB(200, 0, 0));
    ASSERT_TRUE(first.Create(&m_frame, 1, L"one", CSize(100, 30), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, red));
  }  // the caller's brush is gone
  CBrush blue;
  blue.CreateSolidBrush(RGB(0, 0, 200));
  ASSERT_TRUE(second.Create(&m_frame, 2, L"two", CSize(100, 30), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, blue));
  CDockCtrlBar third;
  ASSERT_TRUE(third.Create(&m_frame, 3, L"three", CSize(100, 30), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
  for (CDockCtrlBar* p : {static_cast<CDockCtrlBar*>(&first), static_cast<CDockCtrlBar*>(&second), &third}) {
    p->EnableDocking(CBRS_ALIGN_ANY);
    m_frame.DockControlBar(p, AFX_IDW_DOCKBAR_TOP);
  }
  EXPECT_EQ(Shot(first).At(15, 15), Px(RGB(200, 0, 0)));
  EXPECT_EQ(Shot(second).At(15, 15), Px(RGB(0, 0, 200)));
  EXPECT_EQ(Shot(third).At(15, 15), Px(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(DockCtrlBarWindow, DockedFloatedAndRedockedByMouse) {
  CFilledBar bar;
  Make(bar, CSize(30, 200), CBRS_ALIGN_LEFT);
  m_frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  auto drag = [&](HWND h, CPoint from, CPoint to) {
    hl::MouseDown(h, from.x, from.y);
    hl::MouseMove(h, (from.x + to.x) / 2, (from.y + to.y) / 2);
    hl::MouseUp(h, to.x, to.y);
  };
  // Grip at the top of the left bar, dropped at the top edge: docked horizontally at its
  // horizontal size.
  drag(m_frame, {15, 9}, {200, 4});
  ASSERT_TRUE(bar.IsTopDocked());
  EXPECT_EQ(InFrame(bar), CRect(0, 0, 200, 30));
  CRect rc;
  bar.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(19, 5, 195, 25));
  // Into the middle: it floats at its floating size.
  drag(m_frame, {9, 15}, {200, 150});
  ASSERT_TRUE(bar.IsFloating());
  bar.CWnd::GetClientRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(30, 200));
  // By the floating frame's caption onto the right edge.
  CWnd* mini = bar.m_pDockBar->GetParent();
  ASSERT_NE(mini, nullptr);
  CRect rcMini;
  mini->GetWindowRect(&rcMini);
  CPoint right(395, 100);
  m_frame.ClientToScreen(&right);
  mini->ScreenToClient(&right);
  drag(mini->GetSafeHwnd(), {10, 8}, right);
  ASSERT_TRUE(bar.IsRightDocked());
  EXPECT_EQ(InFrame(bar), CRect(370, 0, 400, 200));
  EXPECT_EQ(Shot(bar).At(15, 7), Px(kLight)) << "the gripper is back";
}

}  // namespace
