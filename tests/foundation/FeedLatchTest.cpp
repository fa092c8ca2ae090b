// The latch a control shares with the worker feeding it: the worker reaches the window while it
// lives and never after the window thread destroys it, and the marks it leaves are taken by the
// next paint. The destroy race runs under ThreadSanitizer in the test command.
#include <gtest/gtest.h>

#include <thread>

#include <winport/headless.h>

#include "foundation/FeedLatch.h"
#include "support/FeedRace.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;

namespace {

class CFedWnd : public CWnd {
 public:
  CFeedLatch m_feed;
  int m_nPaints = 0;
  int m_nApplied = 0;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_feed.Open(m_hWnd);
    return 0;
  }
  afx_msg void OnDestroy() {
    m_feed.Close();
    CWnd::OnDestroy();
  }
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++m_nPaints;
    if (m_feed.TakeDeferred()) ++m_nApplied;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFedWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
END_MESSAGE_MAP()

using FeedLatch = testsupport::HostWindowTest;

TEST_F(FeedLatch, WorkerReachesTheWindowOnlyWhileItLives) {
  CFedWnd wnd;
  EXPECT_EQ(wnd.m_feed.Handle(), nullptr);
  wnd.m_feed.Invalidate(TRUE);  // before creation: nothing to reach
  ASSERT_TRUE(wnd.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &m_top, 1));
  hl::Pump();
  EXPECT_EQ(wnd.m_feed.Handle(), wnd.GetSafeHwnd());
  EXPECT_TRUE(wnd.m_feed.OnWindowThread());
  const int paints = wnd.m_nPaints;

  bool workerOnWindowThread = true;
  std::thread([&] {
    workerOnWindowThread = wnd.m_feed.OnWindowThread();
    wnd.m_feed.Defer();
    wnd.m_feed.Invalidate(FALSE);
  }).join();
  EXPECT_FALSE(workerOnWindowThread);
  hl::Pump();
  EXPECT_EQ(wnd.m_nPaints, paints + 1);
  EXPECT_EQ(wnd.m_nApplied, 1);
  hl::Pump();
  wnd.Invalidate(FALSE);
  hl::Pump();
  EXPECT_EQ(wnd.m_nApplied, 1);  // a mark is taken once

  testsupport::FeedAcross([&] { wnd.m_feed.Invalidate(TRUE); },
                          [&] {
                            wnd.DestroyWindow();
                            EXPECT_EQ(wnd.m_feed.Handle(), nullptr);
                            EXPECT_FALSE(wnd.m_feed.OnWindowThread());
                          },
                          100, 100);
}

}  // namespace
