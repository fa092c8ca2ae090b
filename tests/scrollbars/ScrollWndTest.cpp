// The scroll window on the platform's own bars: bars shown and ranged for the content, bar
// messages, the wheel rules, centring, scroll modes and verification of the sending bar.
#include <gtest/gtest.h>

#include <climits>

#include "GridContent.h"
#include "scrollbars/ScrollWnd.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;

namespace {

class CTestScrollWnd : public CGridContent<CScrollWnd> {
 public:
  // Content changed without an invalidation: whatever repaints from then on shows red.
  bool bChanged = false;
  void OnDraw(CDC* pDC) override {
    if (bChanged)
      pDC->FillSolidRect(0, 0, 100000, 100000, RGB(255, 0, 0));
    else
      CGridContent<CScrollWnd>::OnDraw(pDC);
  }
};

class ScrollWndTest : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(m_wnd.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 210), &m_top, 1));
  }
  void TearDown() override {
    m_wnd.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Sizes(int cx, int cy, SIZE page = {0, 0}, SIZE line = {0, 0}) {
    m_wnd.SetScrollSizes(SIZE{cx, cy}, page, line);
  }
  CTestScrollWnd m_wnd;
};

TEST_F(ScrollWndTest, DefaultStepsAndBarsRangedForTheContent) {
  Sizes(1000, 500);
  EXPECT_EQ(m_wnd.m_sizePage, CSize(100, 50));
  EXPECT_EQ(m_wnd.m_sizeLine, CSize(10, 5));
  EXPECT_EQ(m_wnd.GetStyle() & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL));
  CRect rc;
  m_wnd.GetClientRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(283, 183));
  SCROLLINFO si{};
  m_wnd.GetScrollInfo(SB_HORZ, &si, SIF_ALL);
  EXPECT_EQ(si.nMax, 999);
  EXPECT_EQ(si.nPage, 283u);
  EXPECT_EQ(m_wnd.GetScrollLimit(SB_HORZ), 1000 - 283);
  // Content that fits hides both bars again.
  Sizes(200, 100);
  EXPECT_EQ(m_wnd.GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
  // A client lower than a bar hides them.
  Sizes(100, 1000);
  ASSERT_NE(m_wnd.GetStyle() & WS_VSCROLL, 0u);
  m_wnd.SetWindowPos(nullptr, 0, 0, 40, 12, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(m_wnd.GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
}

TEST_F(ScrollWndTest, ScrollByClampsAndSkipsAxesWithoutABar) {
  Sizes(1000, 100);  // horizontal bar only
  ASSERT_EQ(m_wnd.GetStyle() & WS_VSCROLL, 0u);
  EXPECT_FALSE(m_wnd.ScrollBy(0, 50));
  EXPECT_TRUE(m_wnd.ScrollBy(5000, 0));
  EXPECT_EQ(m_wnd.GetHScrollPos(), 700);
  EXPECT_FALSE(m_wnd.ScrollTo(700, 0));
  m_wnd.ScrollToClientCenter(20, 20);  // near the origin: 0, not negative
  EXPECT_EQ(m_wnd.GetHScrollPos(), 0);
  m_wnd.ScrollToClientCenter(500, 0);
  EXPECT_EQ(m_wnd.GetHScrollPos(), 500 - 150);
  m_wnd.CenterViewPort();
  EXPECT_EQ(m_wnd.GetHScrollPos(), 350);
  CPoint pt(1, 2);
  m_wnd.DPtoLP(&pt);
  EXPECT_EQ(pt, CPoint(351, 2));
}

TEST_F(ScrollWndTest, AFarTargetScrollsToTheNearEndNotRoundToTheFarOne) {
  Sizes(100, 1000);
  ASSERT_TRUE(m_wnd.ScrollTo(0, 500));
  EXPECT_TRUE(m_wnd.ScrollTo(0, INT_MIN));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  EXPECT_TRUE(m_wnd.ScrollTo(0, INT_MAX));
  EXPECT_EQ(m_wnd.GetVScrollPos(), m_wnd.GetScrollLimit(SB_VERT));
}

TEST_F(ScrollWndTest, ScrollModesDecideWhatRepaints) {
  Sizes(1000, 1000);
  hl::Pump();
  m_wnd.ScrollBy(0, 10);
  CRect upd;
  m_wnd.GetUpdateRect(&upd);
  EXPECT_EQ(upd, CRect(0, 173, 283, 183));  // the uncovered strip
  auto img = Shot(m_wnd);
  EXPECT_EQ(img.At(5, 0), winport::ToPixel(CellColour(5, 10)));
  m_wnd.m_nScrollMode = 2;
  m_wnd.ScrollBy(0, 10);
  m_wnd.GetUpdateRect(&upd);
  EXPECT_EQ(upd, CRect(0, 0, 283, 183));
  m_wnd.m_nScrollMode = 0;
  hl::Pump();
  m_wnd.ScrollBy(0, 10);
  EXPECT_FALSE(m_wnd.GetUpdateRect(&upd));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 30);
}

TEST_F(ScrollWndTest, ADiagonalScrollRepaintsOnlyTheUncoveredColumnAndRow) {
  Sizes(1000, 1000);
  hl::Pump();
  m_wnd.bChanged = true;
  ASSERT_TRUE(m_wnd.ScrollBy(30, 40));
  hl::Pump();
  const auto img = Shot(m_wnd);  // client 283 x 183
  const uint32_t red = winport::ToPixel(RGB(255, 0, 0));
  for (int y = 0; y < 183; y += 7)
    for (int x = 0; x < 283; x += 7) {
      const bool uncovered = x >= 283 - 30 || y >= 183 - 40;
      const uint32_t want = uncovered ? red : winport::ToPixel(CellColour(x + 30, y + 40));
      ASSERT_EQ(img.At(x, y), want) << "(" << x << "," << y << ")";
    }
  EXPECT_EQ(img.At(252, 142), winport::ToPixel(CellColour(282, 182)));  // the corner of what moved
  EXPECT_EQ(img.At(253, 0), red);
  EXPECT_EQ(img.At(0, 143), red);
}

TEST_F(ScrollWndTest, WheelNotchesLinesAndPages) {
  Sizes(1000, 1000, SIZE{100, 100}, SIZE{10, 10});
  m_wnd.ScrollTo(0, 300);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, 120);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 270);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, -120);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 300);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, 40);  // a third of a notch: one page up
  EXPECT_EQ(m_wnd.GetVScrollPos(), 200);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, -1200);  // ten notches down, capped at a page
  EXPECT_EQ(m_wnd.GetVScrollPos(), 300);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, 1200);  // upward is not capped
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  // Only a horizontal bar: the wheel scrolls sideways.
  Sizes(1000, 100, SIZE{100, 100}, SIZE{10, 10});
  hl::Wheel(m_wnd.m_hWnd, 50, 50, -120);
  EXPECT_EQ(m_wnd.GetHScrollPos(), 30);
}

TEST_F(ScrollWndTest, PlatformBarClicksAndThumbDragsScroll) {
  Sizes(1000, 1000, SIZE{100, 100}, SIZE{10, 10});
  // Client 283 x 183; the vertical bar's lower arrow is at x 283..299, y 166..182.
  hl::At(hl::Now() + 10, [this] { hl::MouseUp(m_wnd.m_hWnd, 290, 175); });
  hl::MouseDown(m_wnd.m_hWnd, 290, 175);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 10);
  // Drag the thumb (at the top of the track) 20 pixels down: the position follows the track.
  const unsigned t = hl::Now();
  hl::At(t + 10, [this] { hl::MouseMove(m_wnd.m_hWnd, 290, 45); });
  hl::At(t + 20, [this] { hl::MouseUp(m_wnd.m_hWnd, 290, 45); });
  hl::MouseDown(m_wnd.m_hWnd, 290, 25);
  const int pos = m_wnd.GetVScrollPos();
  EXPECT_GT(pos, 100);
  SCROLLINFO si{};
  m_wnd.GetScrollInfo(SB_VERT, &si, SIF_ALL);
  EXPECT_EQ(si.nPos, pos);
  auto img = Shot(m_wnd);
  EXPECT_EQ(img.At(5, 5), winport::ToPixel(CellColour(5, 5 + pos)));
}

TEST_F(ScrollWndTest, ForeignBarMessagesNeedVerificationOff) {
  Sizes(1000, 1000, SIZE{100, 100}, SIZE{10, 10});
  CWnd other;
  ASSERT_TRUE(other.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &m_wnd, 2));
  m_wnd.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(other.m_hWnd));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  EXPECT_TRUE(m_wnd.IsVerifyScrollBar());
  m_wnd.SetVerifyScrollBar(FALSE);
  m_wnd.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(other.m_hWnd));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 10);
  // Thumb position and end codes move nothing further.
  m_wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500), 0);
  m_wnd.SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 10);
  m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), 0);
  EXPECT_EQ(m_wnd.GetHScrollPos(), 77);
  other.DestroyWindow();
}

}  // namespace
