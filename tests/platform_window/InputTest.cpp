// Input routing: hit test, capture, double clicks, wheel, context menu, keys, focus.
#include <gtest/gtest.h>

#include "support/Recorder.h"

using namespace winport;

namespace {

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    ASSERT_TRUE(top.CreateTop(CRect(100, 100, 300, 300), WS_VISIBLE, AfxRegisterWndClass(CS_DBLCLKS)));
    ASSERT_TRUE(left.CreateChild(&top, CRect(0, 0, 100, 100), WS_VISIBLE, 1, AfxRegisterWndClass(CS_DBLCLKS)));
    ASSERT_TRUE(right.CreateChild(&top, CRect(100, 0, 200, 100), WS_VISIBLE, 2, AfxRegisterWndClass(0)));
    headless::Pump();
    top.log.clear();
    left.log.clear();
    right.log.clear();
  }
  static std::vector<Logged> Mouse(const CRecorderWnd& w) {
    std::vector<Logged> out;
    for (const Logged& l : w.log)
      if ((l.msg >= WM_MOUSEFIRST && l.msg <= WM_MOUSELAST) || l.msg == WM_CONTEXTMENU) out.push_back(l);
    return out;
  }
  CRecorderWnd top, left, right;
};

TEST_F(Input, MessagesGoToTheWindowUnderThePointerWithPackedClientCoordinates) {
  headless::MouseMove(top.m_hWnd, 150, 20);
  auto r = Mouse(right);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].msg, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(GET_X_LPARAM(r[0].lParam), 50);
  EXPECT_EQ(GET_Y_LPARAM(r[0].lParam), 20);
  EXPECT_TRUE(Mouse(left).empty());
  EXPECT_GE(right.Count(WM_SETCURSOR), 1);
  // Button flags travel in wParam while a button is down.
  headless::MouseDown(top.m_hWnd, 150, 20, 1);
  headless::MouseMove(top.m_hWnd, 151, 20);
  r = Mouse(right);
  EXPECT_EQ(r.back().wParam, static_cast<WPARAM>(MK_RBUTTON));
  // Right button up brings WM_CONTEXTMENU in screen coordinates, after the button message.
  right.log.clear();
  headless::MouseUp(top.m_hWnd, 151, 20, 1);
  r = Mouse(right);
  ASSERT_GE(r.size(), 2u);
  EXPECT_EQ(r[r.size() - 2].msg, static_cast<UINT>(WM_RBUTTONUP));
  EXPECT_EQ(r.back().msg, static_cast<UINT>(WM_CONTEXTMENU));
  EXPECT_EQ(GET_X_LPARAM(r.back().lParam), 251);
  EXPECT_EQ(GET_Y_LPARAM(r.back().lParam), 120);
  // Unhandled, the child's context menu goes on to its parent.
  EXPECT_EQ(top.Count(WM_CONTEXTMENU), 1);
  // Disabled children let the pointer through to their parent.
  right.EnableWindow(FALSE);
  top.log.clear();
  headless::MouseDown(top.m_hWnd, 150, 20);
  EXPECT_EQ(top.Count(WM_LBUTTONDOWN), 1);
}

TEST_F(Input, CaptureTakesMovesOutsideTheWindow) {
  left.hook = [this](UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_LBUTTONDOWN) left.SetCapture();
    if (m == WM_LBUTTONUP) ReleaseCapture();
    return false;
  };
  headless::MouseDown(left.m_hWnd, 10, 10);
  EXPECT_EQ(GetCapture(), left.m_hWnd);
  headless::MouseMove(top.m_hWnd, 150, 50);    // over the right child
  headless::MouseMove(top.m_hWnd, -30, -40);   // outside every window
  std::vector<Logged> l;
  for (const Logged& m : left.log)
    if (m.msg == WM_MOUSEMOVE) l.push_back(m);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(GET_X_LPARAM(l[1].lParam), 150);
  EXPECT_EQ(GET_X_LPARAM(l[2].lParam), -30);  // negative client coordinates survive packing
  EXPECT_EQ(GET_Y_LPARAM(l[2].lParam), -40);
  EXPECT_TRUE(Mouse(right).empty());
  headless::MouseUp(top.m_hWnd, -30, -40);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(left.Count(WM_CAPTURECHANGED), 1);
  EXPECT_EQ(Mouse(left).back().msg, static_cast<UINT>(WM_LBUTTONUP));
  headless::MouseMove(top.m_hWnd, 150, 50);
  EXPECT_EQ(Mouse(right).size(), 1u);
  // Destroying the capture window releases the capture.
  right.SetCapture();
  right.DestroyWindow();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, DoubleClickNeedsClassStyleTimeAndDistance) {
  auto clicks = [](const CRecorderWnd& w) {
    std::vector<UINT> v;
    for (const Logged& l : w.log)
      if (l.msg == WM_LBUTTONDOWN || l.msg == WM_LBUTTONDBLCLK) v.push_back(l.msg);
    return v;
  };
  // Within 500 ms and 2 px: a double click; the third click starts over.
  headless::MouseDown(left.m_hWnd, 10, 10);
  headless::MouseUp(left.m_hWnd, 10, 10);
  headless::Advance(499);
  headless::MouseDown(left.m_hWnd, 12, 11);
  headless::MouseUp(left.m_hWnd, 12, 11);
  headless::MouseDown(left.m_hWnd, 12, 11);
  EXPECT_EQ(clicks(left), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
  // Too late, too far: two plain presses.
  left.log.clear();
  headless::Advance(1000);
  headless::MouseDown(left.m_hWnd, 10, 10);
  headless::Advance(500);
  headless::MouseDown(left.m_hWnd, 10, 10);
  headless::Advance(100);
  headless::MouseDown(left.m_hWnd, 15, 10);
  EXPECT_EQ(clicks(left), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
  // A class without CS_DBLCLKS never sees one.
  headless::MouseDown(right.m_hWnd, 10, 10);
  headless::MouseDown(right.m_hWnd, 10, 10);
  EXPECT_EQ(right.Count(WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(right.Count(WM_LBUTTONDOWN), 2);
}

TEST_F(Input, WheelKeysAndFocus) {
  headless::Wheel(left.m_hWnd, 10, 20, -120);
  ASSERT_EQ(left.Count(WM_MOUSEWHEEL), 1);
  for (const Logged& l : left.log) {
    if (l.msg != WM_MOUSEWHEEL) continue;
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(l.wParam), -120);
    EXPECT_EQ(GET_X_LPARAM(l.lParam), 110);  // screen coordinates
    EXPECT_EQ(GET_Y_LPARAM(l.lParam), 120);
  }
  EXPECT_EQ(top.Count(WM_MOUSEWHEEL), 1);  // unhandled wheel goes to the parent
  headless::KeyDown(right.m_hWnd, 'A');
  EXPECT_EQ(GetFocus(), right.m_hWnd);
  EXPECT_EQ(right.Only({WM_SETFOCUS, WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<UINT>{WM_SETFOCUS, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  headless::KeyDown(left.m_hWnd, VK_LEFT);
  EXPECT_EQ(right.Count(WM_KILLFOCUS), 1);
  EXPECT_EQ(left.Count(WM_KEYDOWN), 1);
  EXPECT_EQ(left.Count(WM_CHAR), 0);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 110);
  SetCursorPos(5, 6);
  GetCursorPos(&p);
  EXPECT_EQ(p.y, 6);
}

TEST_F(Input, PlatformScrollBarStateAndClicks) {
  CRecorderWnd s;
  ASSERT_TRUE(s.CreateChild(&top, CRect(0, 100, 100, 200), WS_VISIBLE | WS_VSCROLL, 3));
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
  s.SetScrollInfo(SB_VERT, &si);
  EXPECT_EQ(s.GetScrollPos(SB_VERT), 90);  // clamped to max - page + 1
  EXPECT_EQ(s.GetScrollLimit(SB_VERT), 90);
  s.SetScrollPos(SB_VERT, -4);
  EXPECT_EQ(s.GetScrollPos(SB_VERT), 0);
  // A click on the lower arrow asks the window to scroll a line; the press holds until released.
  headless::At(headless::Now() + 10, [&s] { headless::MouseUp(s.m_hWnd, 83 + 8, 95); });
  headless::MouseDown(s.m_hWnd, 83 + 8, 95);  // client is 83 wide; the bar is to its right
  std::vector<WPARAM> codes;
  for (const Logged& l : s.log)
    if (l.msg == WM_VSCROLL) codes.push_back(LOWORD(l.wParam));
  EXPECT_EQ(codes, (std::vector<WPARAM>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

}  // namespace
