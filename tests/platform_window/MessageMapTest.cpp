// Message maps: handler signatures, base-class chaining, commands, notifications and reflection.
#include <gtest/gtest.h>

#include <thread>

#include "support/Recorder.h"

using namespace winport;

namespace {

class MessageMap : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
};

struct Seen {
  int createCx = 0;
  CSize size;
  CPoint move, lbutton;
  UINT flags = 0;
  short wheel = 0;
  UINT key = 0, repeat = 0;
  UINT_PTR timer = 0;
  UINT sbCode = 0, sbPos = 0;
  bool sbNull = false;
  LRESULT custom = 0;
  int commands = 0, clicked = 0, notified = 0, reflected = 0;
  UINT notifyCode = 0;
};

class CBaseWnd : public CWnd {
 public:
  Seen seen;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    seen.size = CSize(cx, cy);
  }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
    seen.flags = nFlags;
    seen.lbutton = point;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

constexpr UINT WM_CUSTOM = WM_APP + 3;
constexpr UINT NM_PING = 0xFFFFFF00u;
constexpr UINT NM_SELF = 0xFFFFFF01u;

class CDerivedWnd : public CBaseWnd {
 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    seen.createCx = cs->cx;
    return CBaseWnd::OnCreate(cs);
  }
  afx_msg void OnMove(int x, int y) { seen.move = CPoint(x, y); }
  afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint) {
    seen.wheel = zDelta;
    return TRUE;
  }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT) {
    seen.key = nChar;
    seen.repeat = nRepCnt;
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { seen.timer = nIDEvent; }
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    seen.sbCode = nSBCode;
    seen.sbPos = nPos;
    seen.sbNull = pScrollBar == nullptr;
  }
  afx_msg LRESULT OnCustom(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
  afx_msg void OnCmd() { ++seen.commands; }
  afx_msg void OnClicked() { ++seen.clicked; }
  afx_msg void OnPing(NMHDR* pNMHDR, LRESULT* pResult) {
    ++seen.notified;
    seen.notifyCode = pNMHDR->code;
    *pResult = 5;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_WM_CREATE()
  ON_WM_MOVE()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_WM_HSCROLL()
  ON_MESSAGE(WM_CUSTOM, OnCustom)
  ON_COMMAND(40001, OnCmd)
  ON_BN_CLICKED(12, OnClicked)
  ON_NOTIFY(NM_PING, 12, OnPing)
END_MESSAGE_MAP()

// A child that handles one of its own notifications before the parent sees it.
class CReflectingWnd : public CWnd {
 public:
  int reflected = 0;

 protected:
  afx_msg void OnSelf(NMHDR*, LRESULT* pResult) {
    ++reflected;
    *pResult = 9;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingWnd, CWnd)
  ON_NOTIFY_REFLECT(NM_SELF, OnSelf)
END_MESSAGE_MAP()

TEST_F(MessageMap, HandlersGetUnpackedArgumentsAndBaseMapsChain) {
  CDerivedWnd w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(30, 40, 130, 90), nullptr, 0));
  EXPECT_EQ(w.seen.createCx, 100);
  EXPECT_EQ(w.seen.size, CSize(100, 50));  // from the base class's map
  EXPECT_EQ(w.seen.move, CPoint(30, 40));
  headless::MouseDown(w.m_hWnd, 7, 8);
  EXPECT_EQ(w.seen.lbutton, CPoint(7, 8));
  EXPECT_EQ(w.seen.flags, static_cast<UINT>(MK_LBUTTON));
  headless::Wheel(w.m_hWnd, 1, 1, -240);
  EXPECT_EQ(w.seen.wheel, -240);
  headless::KeyDown(w.m_hWnd, VK_DOWN);
  EXPECT_EQ(w.seen.key, static_cast<UINT>(VK_DOWN));
  EXPECT_EQ(w.seen.repeat, 1u);
  w.SetTimer(77, 50, nullptr);
  headless::Advance(50);
  EXPECT_EQ(w.seen.timer, 77u);
  w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 33), 0);
  EXPECT_EQ(w.seen.sbCode, static_cast<UINT>(SB_THUMBTRACK));
  EXPECT_EQ(w.seen.sbPos, 33u);
  EXPECT_TRUE(w.seen.sbNull);
  EXPECT_EQ(w.SendMessage(WM_CUSTOM, 40, 2), 42);
  EXPECT_EQ(w.SendMessage(WM_CUSTOM + 1, 40, 2), 0);  // unmapped: DefWindowProc
}

TEST_F(MessageMap, CommandsNotificationsAndReflection) {
  CDerivedWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  CReflectingWnd child;
  ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &parent, 12));
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(40001, 0), 0);
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(child.m_hWnd));
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(13, BN_CLICKED), 0);  // no entry: ignored
  EXPECT_EQ(parent.seen.commands, 1);
  EXPECT_EQ(parent.seen.clicked, 1);
  NMHDR ping{child.m_hWnd, 12, NM_PING};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&ping)), 5);
  EXPECT_EQ(parent.seen.notified, 1);
  EXPECT_EQ(parent.seen.notifyCode, NM_PING);
  NMHDR self{child.m_hWnd, 12, NM_SELF};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&self)), 9);
  EXPECT_EQ(child.reflected, 1);
  EXPECT_EQ(parent.seen.notified, 1);
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 12, 0), 0);  // a null record is ignored
}

TEST_F(MessageMap, TextFontStylesAndThreadSafeInvalidation) {
  CRecorderWnd w;
  ASSERT_TRUE(w.CreateTop(CRect(0, 0, 20, 20)));
  w.SetWindowText(L"Level");
  CString text;
  w.GetWindowText(text);
  EXPECT_EQ(std::wstring(text.GetString()), L"Level");
  EXPECT_EQ(w.GetWindowTextLength(), 5);
  CFont font;
  font.CreatePointFont(80, L"Tahoma");
  w.SetFont(&font, FALSE);
  ASSERT_NE(w.GetFont(), nullptr);
  EXPECT_EQ(w.GetFont()->m_hObject, font.m_hObject);
  EXPECT_TRUE(w.ModifyStyle(0, WS_BORDER));
  EXPECT_FALSE(w.ModifyStyle(0, WS_BORDER));  // nothing to change
  EXPECT_TRUE(w.GetStyle() & WS_BORDER);
  EXPECT_TRUE(w.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
  EXPECT_TRUE(w.GetExStyle() & WS_EX_TOOLWINDOW);
  headless::Pump();
  w.log.clear();
  std::thread([h = w.m_hWnd] {
    for (int i = 0; i < 100; ++i) InvalidateRect(h, nullptr, FALSE);
    EXPECT_TRUE(IsWindow(h));
  }).join();
  headless::Pump();
  EXPECT_EQ(w.Count(WM_PAINT), 1);
}

}  // namespace
