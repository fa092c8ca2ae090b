// The queue: timers on the virtual clock, filters, cross-thread sends, quit, scheduled actions.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/Recorder.h"

using namespace winport;

namespace {

class Queue : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
};

class CTimerWnd : public CWnd {
 public:
  std::vector<std::pair<UINT_PTR, unsigned>> fired;
  UINT_PTR killOn = 0;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    fired.emplace_back(nIDEvent, headless::Now());
    if (nIDEvent == killOn) KillTimer(nIDEvent);
    CWnd::OnTimer(nIDEvent);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerWnd, CWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(Queue, TimersFireAtTheirVirtualTimesAndStop) {
  CTimerWnd w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  w.SetTimer(1, 100, nullptr);
  w.SetTimer(2, 250, nullptr);
  headless::Advance(99);
  EXPECT_TRUE(w.fired.empty());
  headless::Advance(1);
  ASSERT_EQ(w.fired.size(), 1u);
  EXPECT_EQ(w.fired[0], std::make_pair(UINT_PTR{1}, 100u));
  headless::Advance(400);  // to 500; equal due times fire in the order the timers were set
  std::vector<std::pair<UINT_PTR, unsigned>> expect{{1, 100}, {1, 200}, {2, 250}, {1, 300}, {1, 400}, {1, 500}, {2, 500}};
  EXPECT_EQ(w.fired, expect);
  // Setting an existing id again replaces its period and restarts it.
  w.fired.clear();
  w.SetTimer(1, 1000, nullptr);
  w.KillTimer(2);
  headless::Advance(999);
  EXPECT_TRUE(w.fired.empty());
  headless::Advance(1);
  EXPECT_EQ(w.fired.size(), 1u);
  // Killing from inside the handler stops it; a timer of a destroyed window never fires.
  w.fired.clear();
  w.killOn = 1;
  headless::Advance(5000);
  EXPECT_EQ(w.fired.size(), 1u);
  w.SetTimer(3, 10, nullptr);
  w.DestroyWindow();
  headless::Advance(100);
  EXPECT_EQ(w.fired.size(), 1u);
  EXPECT_EQ(GetTickCount(), 6600u);
}

TEST_F(Queue, PeekFiltersAndPriorities) {
  CRecorderWnd a, b;
  ASSERT_TRUE(a.CreateTop(CRect(0, 0, 10, 10)));
  ASSERT_TRUE(b.CreateTop(CRect(0, 0, 10, 10)));
  headless::Pump();
  PostMessageW(a.m_hWnd, WM_USER + 1, 1, 0);
  PostMessageW(b.m_hWnd, WM_USER + 2, 2, 0);
  PostMessageW(a.m_hWnd, WM_USER + 3, 3, 0);
  a.Invalidate();
  MSG m;
  // Window filter.
  ASSERT_TRUE(PeekMessageW(&m, b.m_hWnd, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  // Range filter, and PM_NOREMOVE leaves it queued.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  // Posted messages come before paint; paint only when nothing is posted.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(m.hwnd, a.m_hWnd);
  // WM_PAINT stays until the window validates.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
  DispatchMessageW(&m);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  // Thread messages (null window) and the -1 filter.
  PostMessageW(nullptr, WM_USER + 9, 0, 0);
  EXPECT_FALSE(PeekMessageW(&m, a.m_hWnd, 0, 0, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  // A filtered wait is not ended by messages for other windows.
  PostMessageW(b.m_hWnd, WM_USER + 4, 0, 0);
  headless::At(headless::Now() + 500, [&] { PostMessageW(a.m_hWnd, WM_USER + 5, 0, 0); });
  ASSERT_TRUE(GetMessageW(&m, a.m_hWnd, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(headless::Now(), 500u);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 4));
  // Quit: GetMessage returns FALSE with the code.
  PostQuitMessage(7);
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 7u);
}

TEST_F(Queue, SendFromAnotherThreadRunsOnTheOwnerAndReturnsItsAnswer) {
  CRecorderWnd w;
  std::thread::id ownerThread = std::this_thread::get_id();
  std::atomic<bool> ranOnOwner{false};
  w.hook = [&](UINT m, WPARAM wp, LPARAM, LRESULT& r) {
    if (m != WM_USER + 5) return false;
    ranOnOwner = std::this_thread::get_id() == ownerThread;
    r = static_cast<LRESULT>(wp * 2);
    return true;
  };
  ASSERT_TRUE(w.CreateTop(CRect(0, 0, 10, 10)));
  HWND h = w.m_hWnd;
  std::atomic<LRESULT> answer{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    answer = SendMessageW(h, WM_USER + 5, 21, 0);
    PostMessageW(h, WM_USER + 6, 0, 0);  // posting and invalidating are fine from any thread
    InvalidateRect(h, nullptr, FALSE);
    done = true;
  });
  // The owner handles incoming sends while it waits for messages.
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0)) {
    DispatchMessageW(&m);
    if (m.message == WM_USER + 6) break;
  }
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(answer.load(), 42);
  EXPECT_TRUE(ranOnOwner);
  // A send to a window that is gone answers 0 at once.
  w.DestroyWindow();
  std::thread late([&] { answer = SendMessageW(h, WM_USER + 5, 1, 0); });
  late.join();
  EXPECT_EQ(answer.load(), 0);
}

TEST_F(Queue, WaitsMoveTheClockToScheduledActions) {
  CRecorderWnd w;
  ASSERT_TRUE(w.CreateTop(CRect(0, 0, 100, 100)));
  headless::Pump();
  // A handler's own loop waits with GetMessage; the press lasts until the scheduled release.
  headless::At(1200, [&] { PostMessageW(w.m_hWnd, WM_USER + 1, 0, 0); });
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(headless::Now(), 1200u);
  // Actions run in time order during Advance.
  std::vector<int> order;
  headless::At(1500, [&] { order.push_back(2); });
  headless::At(1300, [&] { order.push_back(1); });
  headless::Advance(1000);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(headless::Now(), 2200u);
}

// A held arrow: the handler polls its own messages without waiting until the button goes up.
class CHeldWnd : public CWnd {
 public:
  std::vector<unsigned> steps;

 protected:
  afx_msg void OnLButtonDown(UINT, CPoint) {
    steps.push_back(headless::Now());
    SetTimer(10119, 500, nullptr);
    MSG msg;
    for (;;) {
      if (!::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE)) continue;
      if (msg.message == WM_TIMER && msg.wParam == 10119) {
        KillTimer(10119);
        SetTimer(10120, 50, nullptr);
        steps.push_back(headless::Now());
      } else if (msg.message == WM_TIMER && msg.wParam == 10120) {
        steps.push_back(headless::Now());
      } else if (msg.message == WM_LBUTTONUP) {
        break;
      } else {
        ::DispatchMessageW(&msg);
      }
    }
    KillTimer(10120);
    KillTimer(10119);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHeldWnd, CWnd)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST_F(Queue, PollingLoopInAHandlerSeesTimeAndTheRelease) {
  CHeldWnd w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 40), nullptr, 0));
  headless::Pump();
  headless::At(1200, [&] { headless::MouseUp(w.m_hWnd, 5, 5); });
  headless::MouseDown(w.m_hWnd, 5, 5);
  ASSERT_EQ(w.steps.size(), 15u);  // at once, after 500 ms, then every 50 ms until the release
  EXPECT_EQ(w.steps[0], 0u);
  EXPECT_EQ(w.steps[1], 500u);
  EXPECT_EQ(w.steps[2], 550u);
  EXPECT_EQ(w.steps.back(), 1150u);
  EXPECT_EQ(headless::Now(), 1200u);
}

TEST_F(Queue, WaitWithNothingDueAborts) {
  EXPECT_DEATH(
      {
        headless::Reset();
        MSG m;
        GetMessageW(&m, nullptr, 0, 0);
      },
      "would never end");
}

}  // namespace
