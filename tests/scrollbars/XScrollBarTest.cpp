// The skinned bar as a window: creation and size, notifications, held pushes with auto-repeat in
// virtual time, drags from the press point, double clicks, disabled bars and its painting.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <thread>

#include "scrollbars/XSBSkinFlat.h"
#include "scrollbars/XScrollBar.h"
#include "support/HostWindow.h"
#include "support/Recorder.h"

namespace hl = winport::headless;

namespace {

struct Note {
  unsigned time;
  HWND from;
  UINT id;
  int type, oldPos, newPos;
};

class XScrollBarTest : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(m_host.CreateChild(&m_top, CRect(0, 0, 400, 300)));
    m_host.hook = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
      if (msg != WM_NOTIFY) return false;
      const auto* n = reinterpret_cast<const XSBNotify*>(lp);
      EXPECT_EQ(wp, static_cast<WPARAM>(n->hdr.idFrom));
      m_notes.push_back({hl::Now(), n->hdr.hwndFrom, static_cast<UINT>(n->hdr.idFrom), n->nType, n->nOldPos, n->nNewPos});
      return true;
    };
    // 200 x 16 after AutoSize, 16 x 16 buttons; size 1000, page 100, line 5.
    ASSERT_TRUE(m_bar.Create(TRUE, dirHorz, CRect(10, 10, 210, 50), &m_host, CXSBSkinFlat::GetTheSkin(), 7));
    m_bar.SetScrollBtnSize(SIZE{16, 16}, TRUE);
    m_bar.SetScrollSize(1000, 100);
    hl::Pump();
  }
  void TearDown() override {
    m_bar.DestroyWindow();
    m_host.DestroyWindow();
    HostWindowTest::TearDown();
  }
  // Presses at x and holds for ms, the release scheduled before the press runs its loop.
  void Hold(int x, unsigned ms) {
    hl::At(hl::Now() + ms, [this, x] { hl::MouseUp(m_bar.m_hWnd, x, 8); });
    hl::MouseDown(m_bar.m_hWnd, x, 8);
  }
  std::vector<unsigned> Times() const {
    std::vector<unsigned> t;
    for (const Note& n : m_notes) t.push_back(n.time);
    return t;
  }
  CRecorderWnd m_host;
  CXScrollBar m_bar;
  std::vector<Note> m_notes;
};

TEST_F(XScrollBarTest, CreationSizesTheBarAndNotesGoToTheOwner) {
  CRect rc;
  m_bar.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 200);
  EXPECT_EQ(rc.Height(), 16);
  EXPECT_EQ(m_bar.GetStyle() & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(m_bar.GetPageSize(), 100);
  EXPECT_EQ(m_bar.GetScrollBtnSize().cx, 16);
  Hold(190, 10);
  ASSERT_EQ(m_notes.size(), 1u);
  EXPECT_EQ(m_notes[0].from, m_bar.m_hWnd);
  EXPECT_EQ(m_notes[0].id, 7u);
  EXPECT_EQ(m_notes[0].type, XSBN_PUSH);
  EXPECT_EQ(m_notes[0].oldPos, 0);
  EXPECT_EQ(m_notes[0].newPos, 5);
  EXPECT_EQ(GetCapture(), nullptr);  // the release ran after the loop
  // A second bar, created hidden with the default button size.
  CXScrollBar hidden;
  ASSERT_TRUE(hidden.Create(FALSE, dirVert, CRect(0, 0, 50, 100), &m_host, 8));
  EXPECT_FALSE(hidden.IsWindowVisible());
  hidden.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_EQ(hidden.GetBarSkin(), nullptr);
}

TEST_F(XScrollBarTest, HeldArrowStepsAtOnceAfter500ThenEvery50UntilReleased) {
  const unsigned t0 = hl::Now();
  Hold(190, 720);
  std::vector<unsigned> want{t0, t0 + 500, t0 + 550, t0 + 600, t0 + 650, t0 + 700};
  EXPECT_EQ(Times(), want);
  EXPECT_EQ(m_bar.GetScrollPos(), 30);
  hl::Advance(500);  // the timers died with the release
  EXPECT_EQ(m_notes.size(), want.size());
}

TEST_F(XScrollBarTest, SteppingPausesOffThePartAndResumesWithoutANewDelay) {
  const unsigned t0 = hl::Now();
  hl::At(t0 + 520, [this] { hl::MouseMove(m_bar.m_hWnd, 150, 8); });  // onto the track
  hl::At(t0 + 690, [this] { hl::MouseMove(m_bar.m_hWnd, 190, 8); });  // back on the arrow
  Hold(190, 760);
  std::vector<unsigned> want{t0, t0 + 500, t0 + 700, t0 + 750};
  EXPECT_EQ(Times(), want);
}

TEST_F(XScrollBarTest, PushAtTheEndSendsOneEqualNoteAndNoRepeats) {
  m_bar.SetScrollPos(900);
  Hold(190, 800);
  ASSERT_EQ(m_notes.size(), 1u);
  EXPECT_EQ(m_notes[0].oldPos, 900);
  EXPECT_EQ(m_notes[0].newPos, 900);
}

TEST_F(XScrollBarTest, TrackPushPagesTowardThePress) {
  Hold(150, 10);  // after the thumb at 16..33
  ASSERT_EQ(m_notes.size(), 1u);
  EXPECT_EQ(m_notes[0].newPos, 100);
  Hold(20, 10);  // before the thumb, now at 32..
  EXPECT_EQ(m_notes.back().newPos, 0);
}

TEST_F(XScrollBarTest, DragMeasuresFromThePressPointWithoutCreep) {
  m_bar.SetScrollPos(450);  // thumb (91, 0, 108, 16)
  const unsigned t = hl::Now();
  hl::At(t + 10, [this] { hl::MouseMove(m_bar.m_hWnd, 110, 8); });
  hl::At(t + 20, [this] { hl::MouseMove(m_bar.m_hWnd, 111, 8); });
  hl::At(t + 30, [this] { hl::MouseMove(m_bar.m_hWnd, 100, 8); });
  hl::MouseDown(m_bar.m_hWnd, 100, 8);  // no loop for the thumb: returns at once
  hl::Advance(40);
  hl::MouseUp(m_bar.m_hWnd, 100, 8);
  ASSERT_EQ(m_notes.size(), 3u);
  EXPECT_EQ(m_notes[0].type, XSBN_DRAG);
  EXPECT_EQ(m_notes[0].newPos, 450 + 59);  // 10 px x 5.952381
  EXPECT_EQ(m_notes[1].newPos, 450 + 65);  // 11 px, measured from the press again
  EXPECT_EQ(m_notes[2].newPos, 450);       // back at the press point: exactly where it began
  EXPECT_EQ(m_bar.GetScrollPos(), 450);
  // After a release capture returns only with a change of part; then a drag far off the bar
  // keeps following and clamps.
  hl::MouseMove(m_bar.m_hWnd, 150, 8);
  hl::MouseMove(m_bar.m_hWnd, 100, 8);
  hl::MouseDown(m_bar.m_hWnd, 100, 8);
  hl::MouseMove(m_bar.m_hWnd, 900, 200);
  EXPECT_EQ(m_bar.GetScrollPos(), 900);
  hl::MouseUp(m_bar.m_hWnd, 900, 200);
  hl::MouseMove(m_bar.m_hWnd, 950, 200);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(XScrollBarTest, DoubleClickOnAnArrowIsASecondPress) {
  Hold(190, 10);
  Hold(190, 10);  // within the double-click time: WM_LBUTTONDBLCLK
  EXPECT_EQ(m_notes.size(), 2u);
  EXPECT_EQ(m_bar.GetScrollPos(), 10);
}

TEST_F(XScrollBarTest, DisabledBarIgnoresTheMouse) {
  m_bar.EnableWindow(FALSE);
  hl::MouseMove(m_bar.m_hWnd, 190, 8);
  hl::MouseDown(m_bar.m_hWnd, 190, 8);
  hl::MouseUp(m_bar.m_hWnd, 190, 8);
  EXPECT_TRUE(m_notes.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(XScrollBarTest, HeldPushEndsWhenTheBarLosesTheMouse) {
  // Disabled mid-hold: the capture goes, so no release will come; the loop must not wait for one.
  const unsigned t0 = hl::Now();
  hl::At(t0 + 520, [this] { m_bar.EnableWindow(FALSE); });
  hl::MouseDown(m_bar.m_hWnd, 190, 8);
  EXPECT_LE(hl::Now(), t0 + 600);
  EXPECT_EQ(Times(), (std::vector<unsigned>{t0, t0 + 500}));
  hl::Advance(500);
  EXPECT_EQ(m_notes.size(), 2u);
}

TEST_F(XScrollBarTest, ASecondPressAtTheSamePointRepeatsLikeTheFirst) {
  for (int press = 0; press < 2; ++press) {
    m_notes.clear();
    const unsigned t0 = hl::Now();
    Hold(190, 690);  // no move between the presses: the hover part does not change
    EXPECT_EQ(Times(), (std::vector<unsigned>{t0, t0 + 500, t0 + 550, t0 + 600, t0 + 650})) << "press " << press;
    EXPECT_EQ(GetCapture(), nullptr);
  }
  EXPECT_EQ(m_bar.GetScrollPos(), 50);
}

TEST_F(XScrollBarTest, HeldPushEndsWhenAnotherThreadDestroysTheBar) {
  const HWND hBar = m_bar.m_hWnd;
  std::thread closer;
  hl::At(hl::Now() + 520, [&] {
    closer = std::thread([hBar] { ::SendMessageW(hBar, WM_CLOSE, 0, 0); });
    // Let the send reach the queue, so it lands while the loop waits for the next repeat.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  });
  hl::MouseDown(hBar, 190, 8);  // returns only once the loop has ended
  closer.join();
  EXPECT_FALSE(::IsWindow(hBar));
  EXPECT_GE(m_notes.size(), 2u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(XScrollBarTest, HugeButtonsPaintOnlyWhatTheBarShows) {
  for (LONG btn : {1 << 30, INT_MAX, INT_MIN}) {
    m_bar.SetScrollBtnSize(SIZE{btn, btn}, FALSE);  // the bar keeps its 200 x 16
    m_bar.SetWindowPos(nullptr, 0, 0, 200, 17, SWP_NOMOVE | SWP_NOZORDER);
    m_bar.SetWindowPos(nullptr, 0, 0, 200, 16, SWP_NOMOVE | SWP_NOZORDER);
    const auto t0 = std::chrono::steady_clock::now();
    m_bar.Invalidate();
    m_bar.UpdateWindow();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2)) << btn;
    hl::MouseMove(m_bar.m_hWnd, 100, 8);
    hl::MouseMove(m_bar.m_hWnd, 300, 8);
  }
}

TEST_F(XScrollBarTest, HoverCapturesAndReleasesAsThePartChanges) {
  hl::MouseMove(m_bar.m_hWnd, 190, 8);
  EXPECT_EQ(GetCapture(), m_bar.m_hWnd);
  hl::MouseMove(m_bar.m_hWnd, 300, 8);  // off the bar: no part, no button
  EXPECT_EQ(GetCapture(), nullptr);
  XSBHitTest h{};
  EXPECT_EQ(m_bar.HitTest(CPoint(0, 8), &h), hitNone);
}

TEST_F(XScrollBarTest, PaintsThroughItsSkinAndNothingWithout) {
  auto img = Shot(m_host);
  // Flat skin at rest: face colour inside the arrow frame, shadow frame, black arrow mark.
  const uint32_t face = winport::ToPixel(GetSysColor(COLOR_SCROLLBAR));
  const uint32_t shadow = winport::ToPixel(GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(img.At(10 + 1, 10 + 14), face);
  EXPECT_EQ(img.At(10 + 0, 10 + 5), shadow);
  EXPECT_EQ(img.At(10 + 8, 10 + 7), 0u);  // dirLeft mark: column 8 spans rows 4..10
  // Hot arrow once the mouse is over it.
  hl::MouseMove(m_bar.m_hWnd, 190, 8);
  img = Shot(m_host);
  EXPECT_EQ(img.At(10 + 185, 10 + 14), shadow);
  // Without a skin the bar leaves its surface alone.
  CXScrollBar bare;
  ASSERT_TRUE(bare.Create(TRUE, dirHorz, CRect(10, 100, 210, 116), &m_host, 9));
  img = Shot(m_host);
  EXPECT_EQ(img.At(20, 105), 0x00FFFFFFu);
}

}  // namespace
