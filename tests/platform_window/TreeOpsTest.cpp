// Operations on the tree: z-order, re-parenting, centring, enabling, scroll bars appearing.
#include <gtest/gtest.h>

#include "support/Recorder.h"

using namespace winport;

namespace {

class TreeOps : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset({800, 600});
    ASSERT_TRUE(top.CreateTop(CRect(0, 0, 200, 100)));
  }
  CRecorderWnd top;
};

TEST_F(TreeOps, ZOrderMovesWithSetWindowPos) {
  CRecorderWnd a, b, c;
  ASSERT_TRUE(a.CreateChild(&top, CRect(0, 0, 50, 50), WS_VISIBLE, 1));
  ASSERT_TRUE(b.CreateChild(&top, CRect(0, 0, 50, 50), WS_VISIBLE, 2));
  ASSERT_TRUE(c.CreateChild(&top, CRect(0, 0, 50, 50), WS_VISIBLE, 3));
  EXPECT_EQ(::WindowFromPoint(CPoint(10, 10)), a.m_hWnd);
  a.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(::WindowFromPoint(CPoint(10, 10)), b.m_hWnd);
  EXPECT_EQ(::GetWindow(b.m_hWnd, GW_HWNDLAST), a.m_hWnd);
  c.BringWindowToTop();
  EXPECT_EQ(::WindowFromPoint(CPoint(10, 10)), c.m_hWnd);
  // Inserting after a sibling puts the window right below it.
  a.SetWindowPos(&c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(::GetWindow(c.m_hWnd, GW_HWNDNEXT), a.m_hWnd);
  EXPECT_EQ(::GetWindow(a.m_hWnd, GW_HWNDNEXT), b.m_hWnd);
  EXPECT_EQ(::GetWindow(a.m_hWnd, GW_HWNDPREV), c.m_hWnd);
}

TEST_F(TreeOps, ReparentCentreAndOwnership) {
  CRecorderWnd other, child;
  ASSERT_TRUE(other.CreateTop(CRect(300, 300, 400, 400)));
  ASSERT_TRUE(child.CreateChild(&top, CRect(10, 10, 30, 30), WS_VISIBLE, 5));
  EXPECT_EQ(top.Count(WM_PARENTNOTIFY), 1);
  EXPECT_EQ(child.SetParent(&other), &top);
  EXPECT_EQ(child.GetParent(), &other);
  EXPECT_TRUE(other.IsChild(&child));
  EXPECT_FALSE(top.IsChild(&child));
  CPoint p(0, 0);
  child.ClientToScreen(&p);
  EXPECT_EQ(p, CPoint(310, 310));
  child.CenterWindow();
  CRect r;
  child.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(340, 340, 360, 360));
  top.CenterWindow();  // a top-level window centres on the screen
  top.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(300, 250, 500, 350));
  // The owner of a popup is the top-level window of what was given; it goes first.
  CRecorderWnd popup;
  ASSERT_TRUE(popup.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 5, 5), &child, 0));
  EXPECT_EQ(popup.GetOwner(), &other);
  EXPECT_EQ(popup.GetParent(), &other);
  child.SetOwner(&top);
  EXPECT_EQ(child.GetOwner(), &top);
  other.DestroyWindow();
  EXPECT_EQ(popup.m_hWnd, nullptr);
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_EQ(top.GetTopLevelParent(), &top);
}

TEST_F(TreeOps, EnableAndScrollBarsChangeTheClient) {
  CRecorderWnd w;
  ASSERT_TRUE(w.CreateChild(&top, CRect(0, 0, 100, 80), WS_VISIBLE, 1));
  w.SetFocus();
  w.SetCapture();
  w.EnableWindow(FALSE);
  EXPECT_EQ(::GetFocus(), nullptr);   // a disabled window keeps neither focus nor capture
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(w.Count(WM_ENABLE), 1);
  EXPECT_EQ(::SetFocus(w.m_hWnd), nullptr);
  EXPECT_EQ(::GetFocus(), nullptr);
  w.EnableWindow(TRUE);
  w.log.clear();
  w.ShowScrollBar(SB_BOTH, TRUE);
  CRect rc;
  w.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(0, 0, 83, 63));
  bool sized = false;
  for (const Logged& l : w.log) sized = sized || (l.msg == WM_SIZE && l.lParam == MAKELPARAM(83, 63));
  EXPECT_TRUE(sized);
  headless::Pump();
  EXPECT_EQ(headless::Capture(w.m_hWnd).width, 83);
  // The bars are drawn beside the client in the parent's picture.
  headless::Image img = headless::Capture(top.m_hWnd);
  EXPECT_EQ(img.At(90, 40), ToPixel(GetSysColor(COLOR_SCROLLBAR)));  // the track below the thumb
  EXPECT_EQ(img.At(95, 75), ToPixel(GetSysColor(COLOR_BTNFACE)));  // the corner square
}

TEST_F(TreeOps, RedrawWindowFlagsAndUpdateOfChildren) {
  CRecorderWnd child;
  ASSERT_TRUE(child.CreateChild(&top, CRect(0, 0, 50, 50), WS_VISIBLE, 1));
  headless::Pump();
  top.log.clear();
  child.log.clear();
  top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(top.Only({WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_EQ(child.Count(WM_PAINT), 1);
  // With WS_CLIPCHILDREN, invalidating the parent leaves the children alone.
  top.ModifyStyle(0, WS_CLIPCHILDREN);
  top.log.clear();
  child.log.clear();
  top.Invalidate();
  headless::Pump();
  EXPECT_EQ(top.Count(WM_PAINT), 1);
  EXPECT_EQ(child.Count(WM_PAINT), 0);
  // Hidden windows keep their update region until shown.
  child.ShowWindow(SW_HIDE);
  child.Invalidate();
  child.log.clear();
  headless::Pump();
  EXPECT_EQ(child.Count(WM_PAINT), 0);
  child.ShowWindow(SW_SHOW);
  headless::Pump();
  EXPECT_EQ(child.Count(WM_PAINT), 1);
  CRect u;
  EXPECT_FALSE(child.GetUpdateRect(&u));
}

}  // namespace
