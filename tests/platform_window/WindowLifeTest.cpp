// Window life: creation and destruction order, geometry, handles that die, bad input.
#include <gtest/gtest.h>

#include "support/Recorder.h"

using namespace winport;

namespace {

class WindowLife : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
};

TEST_F(WindowLife, CreateShowPaintDestroyMessageOrder) {
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(10, 20, 210, 120)));
  EXPECT_EQ(top.Only({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}));
  // WM_SIZE carries the client size.
  for (const Logged& l : top.log) {
    if (l.msg == WM_SIZE) {
      EXPECT_EQ(l.lParam, MAKELPARAM(200, 100));
    }
  }
  EXPECT_EQ(top.Count(WM_PAINT), 0);  // painting waits for an empty queue
  headless::Pump();
  EXPECT_EQ(top.Only({WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));

  CRecorderWnd child;
  ASSERT_TRUE(child.CreateChild(&top, CRect(5, 5, 50, 40)));
  HWND h = child.m_hWnd;
  top.log.clear();
  child.log.clear();
  child.SetWindowPos(nullptr, 0, 0, 60, 30, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(child.Only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}));
  child.log.clear();
  top.DestroyWindow();
  EXPECT_EQ(child.Only({WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  // The parent's WM_DESTROY comes before the child's; its WM_NCDESTROY after.
  EXPECT_EQ(top.Only({WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_EQ(top.m_hWnd, nullptr);
}

TEST_F(WindowLife, GeometryAndTree) {
  CRecorderWnd top, a, b;
  ASSERT_TRUE(top.CreateTop(CRect(100, 50, 400, 250), WS_VISIBLE | WS_BORDER));
  CRect rc;
  top.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(0, 0, 298, 198));
  ASSERT_TRUE(a.CreateChild(&top, CRect(10, 10, 60, 40), WS_VISIBLE, 7));
  ASSERT_TRUE(b.CreateChild(&top, CRect(20, 20, 80, 50), WS_VISIBLE | WS_VSCROLL, 8));
  b.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(0, 0, 60 - 17, 30));
  CPoint p(0, 0);
  a.ClientToScreen(&p);
  EXPECT_EQ(p, CPoint(111, 61));
  a.ScreenToClient(&p);
  EXPECT_EQ(p, CPoint(0, 0));
  EXPECT_EQ(a.GetDlgCtrlID(), 7);
  a.SetDlgCtrlID(9);
  EXPECT_EQ(top.GetDlgItem(9), &a);
  EXPECT_EQ(a.GetParent(), &top);
  EXPECT_EQ(a.GetOwner(), &top);
  // First created child is on top; the hit test finds it where the two overlap.
  EXPECT_EQ(::GetWindow(top.m_hWnd, GW_CHILD), a.m_hWnd);
  EXPECT_EQ(::WindowFromPoint(CPoint(101 + 25, 51 + 25)), a.m_hWnd);
  a.ModifyStyle(0, WS_DISABLED);
  EXPECT_FALSE(a.IsWindowEnabled());
  EXPECT_EQ(::WindowFromPoint(CPoint(101 + 25, 51 + 25)), b.m_hWnd);
  a.ShowWindow(SW_HIDE);
  EXPECT_FALSE(a.IsWindowVisible());
  top.ShowWindow(SW_HIDE);
  EXPECT_FALSE(b.IsWindowVisible());
  EXPECT_TRUE(b.GetStyle() & WS_VISIBLE);

  // A foreign handle maps to a temporary wrapper that never owns the window.
  HWND raw = CreateWindowExW(0, AfxRegisterWndClass(0), L"raw", WS_CHILD, 0, 0, 5, 5, top.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  CWnd* temp = CWnd::FromHandle(raw);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  EXPECT_EQ(temp->m_hWnd, raw);
  wchar_t text[8];
  EXPECT_EQ(::GetWindowTextW(raw, text, 8), 3);
  EXPECT_STREQ(text, L"raw");
  DestroyWindow(raw);
  EXPECT_EQ(CWnd::FromHandle(raw), nullptr);
}

TEST_F(WindowLife, ClassRegistrationIsCachedAndSeparatesStyles) {
  LPCWSTR a = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
  LPCWSTR b = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
  LPCWSTR c = AfxRegisterWndClass(CS_DBLCLKS);
  EXPECT_EQ(std::wstring(a), std::wstring(b));
  EXPECT_NE(std::wstring(a), std::wstring(c));
  WNDCLASSW wc{};
  EXPECT_TRUE(GetClassInfoW(nullptr, c, &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_FALSE(GetClassInfoW(nullptr, L"no such class", &wc));
  CRecorderWnd w;
  EXPECT_FALSE(w.CreateTop(CRect(0, 0, 10, 10), WS_VISIBLE, L"no such class"));
  EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST_F(WindowLife, DeadHandlesAndBadInputAreHarmless) {
  HWND none = nullptr;
  EXPECT_FALSE(IsWindow(none));
  EXPECT_EQ(SendMessageW(none, WM_USER, 1, 2), 0);
  EXPECT_FALSE(DestroyWindow(none));
  EXPECT_FALSE(InvalidateRect(none, nullptr, TRUE));
  EXPECT_EQ(SetTimer(none, 0, 10, nullptr) != 0, true);  // a thread timer is fine
  RECT r;
  EXPECT_FALSE(GetClientRect(none, &r));
  EXPECT_EQ(BeginPaint(none, nullptr), nullptr);
  EXPECT_EQ(GetDC(none), nullptr);
  EXPECT_EQ(ReleaseDC(none, nullptr), 0);

  CRecorderWnd w;
  ASSERT_TRUE(w.CreateTop(CRect(0, 0, 50, 50)));
  HWND h = w.m_hWnd;
  w.DestroyWindow();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(h, WM_USER, 0, 0));
  EXPECT_FALSE(ShowWindow(h, SW_SHOW));
  EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 1, 1, 0));
  EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
  EXPECT_FALSE(KillTimer(h, 1));
  EXPECT_EQ(SetCapture(h), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(headless::Capture(h).pixels.empty());
  headless::MouseMove(h, 1, 1);
  headless::KeyDown(h, VK_LEFT);
  // A new window never gets the old handle back.
  CRecorderWnd again;
  ASSERT_TRUE(again.CreateTop(CRect(0, 0, 50, 50)));
  EXPECT_NE(again.m_hWnd, h);
  headless::Pump();
}

TEST_F(WindowLife, DestroyingInsideOwnHandlerAndZeroSize) {
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 0, 0)));  // zero-size windows exist and paint nothing
  CRect rc;
  top.GetClientRect(&rc);
  EXPECT_TRUE(rc.IsRectEmpty());
  top.Invalidate();
  headless::Pump();
  EXPECT_EQ(headless::Capture(top.m_hWnd).width, 0);
  top.MoveWindow(0, 0, -5, -5);  // negative sizes clamp to zero
  top.GetClientRect(&rc);
  EXPECT_EQ(rc, CRect(0, 0, 0, 0));

  CRecorderWnd inner;
  ASSERT_TRUE(inner.CreateChild(&top, CRect(0, 0, 10, 10)));
  HWND h = inner.m_hWnd;
  inner.hook = [&inner](UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_USER + 1) {
      inner.DestroyWindow();
      EXPECT_FALSE(inner.DestroyWindow());  // the second call finds no window
      return true;
    }
    return false;
  };
  ::PostMessageW(h, WM_USER + 1, 0, 0);
  ::PostMessageW(h, WM_USER + 2, 0, 0);  // queued for a window that will be gone: dropped
  headless::Pump();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(inner.Count(WM_USER + 2), 0);

  // A heap window that deletes itself after WM_NCDESTROY, closed from its own queue.
  struct SelfDeleting : CWnd {
    bool* gone;
    explicit SelfDeleting(bool* g) : gone(g) {}
    void PostNcDestroy() override {
      *gone = true;
      delete this;
    }
  };
  bool gone = false;
  auto* self = new SelfDeleting(&gone);
  ASSERT_TRUE(self->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &top, 3));
  HWND hs = self->m_hWnd;
  ::PostMessageW(hs, WM_CLOSE, 0, 0);
  headless::Pump();
  EXPECT_TRUE(gone);
  EXPECT_FALSE(IsWindow(hs));

  // A window whose WM_CREATE fails is never seen by the caller.
  CRecorderWnd failing;
  failing.hook = [](UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m == WM_CREATE) {
      r = -1;
      return true;
    }
    return false;
  };
  EXPECT_FALSE(failing.CreateTop(CRect(0, 0, 10, 10)));
  EXPECT_EQ(failing.m_hWnd, nullptr);
  EXPECT_EQ(failing.Count(WM_NCDESTROY), 1);
}

}  // namespace
