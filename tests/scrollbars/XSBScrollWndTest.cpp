// The skinned scroll window: bar need and placement outside the window, notifications, scrolling
// by program, and the mended rules (client-only need, clamped pixel scroll, foreign notes).
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "GridContent.h"
#include "scrollbars/XSBScrollWnd.h"
#include "scrollbars/XSBSkinNormal.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;

namespace {

class CTestXSBWnd : public CGridContent<CXSBScrollWnd> {
 public:
  CXScrollBar& HBar() { return m_wndHBar; }
  CXScrollBar& VBar() { return m_wndVBar; }
  BOOL HasH() const { return IsHBarEnabled(); }
  BOOL HasV() const { return IsVBarEnabled(); }
};

class XSBScrollWndTest : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(m_wnd.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 410, 310), &m_top, 1));
    m_wnd.SetScrollBtnSize(SIZE{16, 16});
    m_wnd.SetScrollBarSkin(CXSBSkinNormal::GetTheSkin());
  }
  void TearDown() override {
    m_wnd.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Sizes(int cx, int cy) { m_wnd.SetScrollSizes(SIZE{cx, cy}, SIZE{0, 0}, SIZE{0, 0}); }
  // True when device pixel (x, y) of the scroll window shows the content the origin says it should.
  ::testing::AssertionResult Shows(const hl::Image& img, int x, int y) {
    const uint32_t want = winport::ToPixel(CellColour(x + m_wnd.GetHScrollPos(), y + m_wnd.GetVScrollPos()));
    if (img.At(x, y) == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << img.At(x, y)
                                         << ", want " << want;
  }
  static CRect InParent(CWnd& w) {
    CRect rc;
    w.GetWindowRect(&rc);
    w.GetParent()->ScreenToClient(&rc);
    return rc;
  }
  CTestXSBWnd m_wnd;
};

TEST_F(XSBScrollWndTest, NeverHasPlatformBars) {
  EXPECT_EQ(m_wnd.GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
  CRect rc;
  m_wnd.GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 400);
  EXPECT_FALSE(m_wnd.HasH() || m_wnd.HasV());  // total (0, 0): no bars
}

TEST_F(XSBScrollWndTest, SetWindowSizeLeavesRoomForTheNeededBarOnly) {
  Sizes(1000, 300);
  m_wnd.SetWindowSize(400, 400);
  CRect rc = InParent(m_wnd);
  EXPECT_EQ(rc.Width(), 400);
  EXPECT_EQ(rc.Height(), 384);
  ASSERT_TRUE(m_wnd.HasH());
  EXPECT_FALSE(m_wnd.HasV());
  CRect bar = InParent(m_wnd.HBar());
  EXPECT_EQ(bar, CRect(10, 10 + 384, 410, 10 + 400));  // flush below the window, outside it
  EXPECT_EQ(m_wnd.HBar().GetParent(), &m_top);
  EXPECT_EQ(m_wnd.HBar().GetScrollSize(), 1000);
  EXPECT_EQ(m_wnd.HBar().GetPageSize(), 400);
  EXPECT_EQ(m_wnd.HBar().GetDlgCtrlID(), 101);
}

TEST_F(XSBScrollWndTest, NeedAndPagesComeFromTheClientAloneAndStaySettled) {
  // Content within a bar's thickness of the 400 x 300 client.
  Sizes(410, 310);
  for (int i = 0; i < 3; ++i) {
    m_wnd.UpdateBars();
    ASSERT_TRUE(m_wnd.HasH() && m_wnd.HasV()) << i;
    EXPECT_EQ(m_wnd.HBar().GetPageSize(), 400);
    EXPECT_EQ(m_wnd.VBar().GetPageSize(), 300);
  }
  CRect v = InParent(m_wnd.VBar());
  EXPECT_EQ(v, CRect(410, 10, 426, 310));
  // Many sizes: each axis needs its bar exactly when the content is longer than the client.
  for (int cx = 380; cx <= 430; cx += 5)
    for (int cy = 280; cy <= 330; cy += 5) {
      Sizes(cx, cy);
      m_wnd.UpdateBars();
      EXPECT_EQ(m_wnd.HasH() != FALSE, cx > 400) << cx << "x" << cy;
      EXPECT_EQ(m_wnd.HasV() != FALSE, cy > 300) << cx << "x" << cy;
    }
}

TEST_F(XSBScrollWndTest, ShrinkingTheContentRemovesTheBarAndScrollsBack) {
  Sizes(1000, 300);
  EXPECT_TRUE(m_wnd.ScrollTo(200, 0, TRUE));
  EXPECT_EQ(m_wnd.GetHScrollPos(), 200);
  Sizes(300, 300);
  EXPECT_FALSE(m_wnd.HasH());
  EXPECT_EQ(m_wnd.GetHScrollPos(), 0);
  EXPECT_TRUE(Shows(Shot(m_wnd), 5, 5));
}

TEST_F(XSBScrollWndTest, ScrollByMovesThePictureByTheClampedChange) {
  Sizes(400, 320);  // vertical range 20
  hl::Pump();
  EXPECT_TRUE(m_wnd.ScrollBy(0, 50, TRUE));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 20);
  auto img = Shot(m_wnd);
  for (int y : {0, 100, 250, 279, 290}) EXPECT_TRUE(Shows(img, 5, y));
  EXPECT_FALSE(m_wnd.ScrollBy(0, 50, TRUE));  // already at the end
  EXPECT_FALSE(m_wnd.ScrollBy(30, 0, TRUE));  // no horizontal bar
  EXPECT_EQ(m_wnd.GetHScrollPos(), 0);
  EXPECT_FALSE(m_wnd.ScrollTo(0, 20, TRUE));
  EXPECT_TRUE(Shows(Shot(m_wnd), 5, 5));
}

TEST_F(XSBScrollWndTest, ADiagonalScrollShowsTheContentEverywhere) {
  Sizes(1000, 1000);
  hl::Pump();
  ASSERT_TRUE(m_wnd.ScrollBy(30, 40, TRUE));
  ASSERT_TRUE(m_wnd.ScrollBy(-10, 5, TRUE));  // both ways at once, back on one axis
  const auto img = Shot(m_wnd);
  for (int y = 0; y < 300; y += 13)
    for (int x = 0; x < 400; x += 13) ASSERT_TRUE(Shows(img, x, y));
  EXPECT_TRUE(Shows(img, 399, 299));
}

TEST_F(XSBScrollWndTest, FarTargetsAndSizesSaturateInsteadOfWrapping) {
  Sizes(400, 1000);
  ASSERT_TRUE(m_wnd.ScrollTo(0, 500, TRUE));
  EXPECT_TRUE(m_wnd.ScrollTo(0, INT_MIN, TRUE));  // far above: the top, not the far end
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  m_wnd.ScrollTo(0, INT_MAX, TRUE);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 700);
  Sizes(1000, 1000);
  m_wnd.SetWindowSize(INT_MIN, INT_MIN);  // both bars wanted: their thickness comes off INT_MIN
  CRect rc = InParent(m_wnd);
  EXPECT_GE(rc.Width(), 0);
  EXPECT_GE(rc.Height(), 0);
}

TEST_F(XSBScrollWndTest, ABarDragScrollsByNewMinusOldAndLeavesTheOtherBar) {
  Sizes(1000, 1000);
  m_wnd.ScrollTo(30, 0, TRUE);
  hl::Pump();
  // Vertical bar 16 x 300, thumb from 16; drag it 3 pixels down.
  HWND bar = m_wnd.VBar().m_hWnd;
  hl::MouseMove(bar, 8, 30);
  hl::MouseDown(bar, 8, 30);
  hl::MouseMove(bar, 8, 33);
  hl::MouseUp(bar, 8, 33);
  const int pos = m_wnd.GetVScrollPos();
  EXPECT_EQ(pos, static_cast<int>(3 * (1000.0f / 268.0f)));
  EXPECT_EQ(m_wnd.GetHScrollPos(), 30);
  auto img = testsupport::HostWindowTest::Shot(m_wnd);
  for (int y : {0, 5, 150, 299 - pos, 299}) EXPECT_TRUE(Shows(img, 5, y));
}

TEST_F(XSBScrollWndTest, NotesFromOtherWindowsAreNotReadAsBarNotes) {
  Sizes(1000, 1000);
  // A bare header on the heap, so that reading an XSBNotify from it would run past its end.
  auto hdr = std::make_unique<NMHDR>();
  hdr->hwndFrom = m_top.m_hWnd;
  hdr->idFrom = 100;
  m_wnd.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(hdr.get()));
  m_wnd.SendMessage(WM_NOTIFY, 101, reinterpret_cast<LPARAM>(hdr.get()));
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  EXPECT_EQ(m_wnd.GetHScrollPos(), 0);
}

TEST_F(XSBScrollWndTest, WheelEmptyClientAndCoordinates) {
  Sizes(1000, 1000);
  hl::Wheel(m_wnd.m_hWnd, 50, 50, -120);
  EXPECT_EQ(m_wnd.GetVScrollPos(), 0);
  m_wnd.ScrollTo(40, 70, TRUE);
  CPoint pt(5, 6);
  m_wnd.DPtoLP(&pt);
  EXPECT_EQ(pt, CPoint(45, 76));
  CRect rc(0, 0, 10, 10);
  m_wnd.LPtoDP(&rc);
  EXPECT_EQ(rc, CRect(-40, -70, -30, -60));
  CPoint dev;
  m_wnd.GetDeviceScrollPosition(&dev);
  EXPECT_EQ(dev, CPoint(40, 70));
  // An empty client area changes nothing.
  m_wnd.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(m_wnd.HasH() && m_wnd.HasV());
  EXPECT_EQ(m_wnd.GetVScrollPos(), 70);
}

TEST_F(XSBScrollWndTest, DestroyTakesTheBarsWithIt) {
  Sizes(1000, 1000);
  HWND h = m_wnd.HBar().m_hWnd, v = m_wnd.VBar().m_hWnd;
  ASSERT_TRUE(IsWindow(h) && IsWindow(v));
  m_wnd.DestroyWindow();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(IsWindow(v));
}

}  // namespace
