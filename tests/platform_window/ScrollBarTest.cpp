// The window's own scroll bars: part geometry, clicks, held arrows, thumb drags, the client
// area they take, and what they look like.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/Recorder.h"
#include "winport/window/ScrollBarParts.h"

using namespace winport;

namespace {

TEST(ScrollBarParts, ThumbSpansTheTrackInProportionToThePage) {
  BarRange r{0, 99, 10, 0};
  BarParts p = LayoutBar(RECT{0, 0, 17, 133}, true, r, 0);
  EXPECT_EQ(p.up.bottom, 17);
  EXPECT_EQ(p.down.top, 116);
  EXPECT_EQ(p.thumbLen, 9);  // 99 * 10 / 100
  EXPECT_EQ(p.thumb.top, 17);
  EXPECT_EQ(BarLimit(r), 90);
  p = LayoutBar(RECT{0, 0, 17, 133}, true, r, 90);
  EXPECT_EQ(p.thumb.bottom, 116);
  p = LayoutBar(RECT{0, 0, 17, 133}, true, r, 5000);  // clamped, never past the track
  EXPECT_EQ(p.thumb.bottom, 116);
  // A tiny page keeps a grabbable thumb; a huge range does not overflow.
  BarRange big{0, 2000000000, 1, 1000000000};
  p = LayoutBar(RECT{0, 0, 300, 17}, false, big, big.nPos);
  EXPECT_EQ(p.thumbLen, kBarMinThumb);
  EXPECT_GT(p.thumb.left, 17 + 100);
  EXPECT_LT(p.thumb.right, 300 - 17 - 100);
  // Too short for a thumb: arrows split the bar, the track has none.
  p = LayoutBar(RECT{0, 0, 20, 17}, false, r, 0);
  EXPECT_EQ(p.up.right, 10);
  EXPECT_EQ(p.thumbLen, 0);
}

TEST(ScrollBarParts, HitTestAndDragInverseAgree) {
  BarRange r{0, 99, 10, 30};
  BarParts p = LayoutBar(RECT{0, 0, 17, 133}, true, r, 30);
  EXPECT_EQ(HitBar(p, true, POINT{5, 3}), BarPart::LineUp);
  EXPECT_EQ(HitBar(p, true, POINT{5, 130}), BarPart::LineDown);
  EXPECT_EQ(HitBar(p, true, POINT{5, p.thumb.top}), BarPart::Thumb);
  EXPECT_EQ(HitBar(p, true, POINT{5, p.thumb.top - 1}), BarPart::PageUp);
  EXPECT_EQ(HitBar(p, true, POINT{5, p.thumb.bottom}), BarPart::PageDown);
  EXPECT_EQ(HitBar(p, true, POINT{17, 50}), BarPart::None);
  // Every position the thumb can show maps back to itself.
  for (int pos = 0; pos <= BarLimit(r); ++pos) {
    BarParts q = LayoutBar(p.bar, true, r, pos);
    int back = BarPosFromThumb(q, true, r, q.thumb.top);
    EXPECT_EQ(LayoutBar(p.bar, true, r, back).thumb.top, q.thumb.top) << pos;
  }
  EXPECT_EQ(BarPosFromThumb(p, true, r, -1000), 0);
  EXPECT_EQ(BarPosFromThumb(p, true, r, 1000), 90);
}

// A child with both bars that scrolls as an application would on each message.
class WindowBars : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    ASSERT_TRUE(top.CreateTop(CRect(0, 0, 400, 400)));
    ASSERT_TRUE(view.CreateChild(&top, CRect(10, 10, 210, 160), WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    ::SetScrollInfo(view.m_hWnd, SB_VERT, &si, TRUE);
    view.hook = [this](UINT m, WPARAM wp, LPARAM, LRESULT&) {
      if (m != WM_VSCROLL) return false;
      codes.push_back(LOWORD(wp));
      times.push_back(headless::Now());
      int pos = ::GetScrollPos(view.m_hWnd, SB_VERT);
      switch (LOWORD(wp)) {
        case SB_LINEDOWN: pos += 1; break;
        case SB_LINEUP: pos -= 1; break;
        case SB_PAGEDOWN: pos += 10; break;
        case SB_PAGEUP: pos -= 10; break;
        case SB_THUMBTRACK: pos = HIWORD(wp); tracks.push_back(pos); break;
        default: break;
      }
      ::SetScrollPos(view.m_hWnd, SB_VERT, pos, TRUE);
      return true;
    };
    headless::Pump();
  }
  CRecorderWnd top, view;
  std::vector<unsigned> codes, times;
  std::vector<int> tracks;
};

TEST_F(WindowBars, BarsTakeTheirThicknessFromTheClientArea) {
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
  CRect c;
  view.GetClientRect(&c);
  EXPECT_EQ(c.Width(), 183);
  EXPECT_EQ(c.Height(), 133);
  view.ShowScrollBar(SB_HORZ, FALSE);
  view.GetClientRect(&c);
  EXPECT_EQ(c.Height(), 150);
  view.EnableScrollBarCtrl(SB_BOTH, FALSE);
  view.GetClientRect(&c);
  EXPECT_EQ(c.Width(), 200);
  EXPECT_EQ(view.GetScrollBarCtrl(SB_VERT), nullptr);
}

TEST_F(WindowBars, RangePagePositionAndLimit) {
  EXPECT_EQ(view.GetScrollLimit(SB_VERT), 90);  // maximum - page + 1
  EXPECT_EQ(view.SetScrollPos(SB_VERT, 500), 0);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 90);
  SCROLLINFO si{};
  view.GetScrollInfo(SB_VERT, &si, SIF_ALL);
  EXPECT_EQ(si.nMax, 99);
  EXPECT_EQ(si.nPage, 10u);
  EXPECT_EQ(si.nTrackPos, 90);
  view.SetScrollRange(SB_VERT, 0, 49);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 40);
}

TEST_F(WindowBars, HugeAndStalePagesStillBoundThePosition) {
  // A page above INT_MAX on the whole int range: the limit is max - page + 1, not max.
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, INT_MIN, INT_MAX, 3000000000u, 0, 0};
  ::SetScrollInfo(view.m_hWnd, SB_VERT, &si, TRUE);
  const int limit = static_cast<int>(INT_MAX - 3000000000LL + 1);
  EXPECT_EQ(view.GetScrollLimit(SB_VERT), limit);
  view.SetScrollPos(SB_VERT, INT_MAX);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), limit);
  // Page UINT_MAX on 0..INT_MAX is cut to the range: nowhere to scroll.
  si = SCROLLINFO{sizeof(si), SIF_RANGE | SIF_PAGE, 0, INT_MAX, UINT_MAX, 0, 0};
  ::SetScrollInfo(view.m_hWnd, SB_VERT, &si, TRUE);
  EXPECT_EQ(view.GetScrollLimit(SB_VERT), 0);
  view.SetScrollPos(SB_VERT, 5);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);
  // A range shrunk under an older, larger page: the page shrinks too, the position stays inside.
  si = SCROLLINFO{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 50, 40, 0};
  ::SetScrollInfo(view.m_hWnd, SB_VERT, &si, TRUE);
  view.SetScrollRange(SB_VERT, INT_MIN, INT_MIN + 5);
  view.GetScrollInfo(SB_VERT, &si, SIF_ALL);
  EXPECT_EQ(si.nPage, 6u);
  EXPECT_EQ(si.nPos, INT_MIN);
  EXPECT_EQ(view.GetScrollLimit(SB_VERT), INT_MIN);
}

TEST_F(WindowBars, ArrowClickStepsOnceThenEnds) {
  // The press runs the bar's loop until the release, so the release is scheduled first.
  headless::At(headless::Now() + 10, [this] { headless::MouseUp(view.m_hWnd, 190, 125); });
  headless::MouseDown(view.m_hWnd, 190, 125);
  EXPECT_EQ(codes, (std::vector<unsigned>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  headless::At(headless::Now() + 10, [this] { headless::MouseUp(view.m_hWnd, 190, 100); });
  headless::MouseDown(view.m_hWnd, 190, 100);  // the track below the thumb
  EXPECT_EQ(codes[2], static_cast<unsigned>(SB_PAGEDOWN));
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 11);
}

TEST_F(WindowBars, HeldArrowRepeatsAfterTheFirstDelayThenAtItsPeriod) {
  unsigned t0 = headless::Now();
  headless::At(t0 + 320, [this] { headless::MouseUp(view.m_hWnd, 190, 125); });
  headless::MouseDown(view.m_hWnd, 190, 125);
  ASSERT_EQ(codes.size(), 5u);
  EXPECT_EQ(codes.back(), static_cast<unsigned>(SB_ENDSCROLL));
  EXPECT_EQ(times[0], t0);
  EXPECT_EQ(times[1], t0 + kBarFirstRepeatMs);
  EXPECT_EQ(times[2], t0 + kBarFirstRepeatMs + kBarRepeatMs);
  EXPECT_EQ(times[3], t0 + kBarFirstRepeatMs + 2 * kBarRepeatMs);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 4);
}

TEST_F(WindowBars, HeldPageAreaStopsWhenTheThumbReachesThePointer) {
  headless::At(headless::Now() + 2000, [this] { headless::MouseUp(view.m_hWnd, 190, 60); });
  headless::MouseDown(view.m_hWnd, 190, 60);
  int pos = view.GetScrollPos(SB_VERT);
  BarParts p = LayoutBar(RECT{0, 0, 17, 133}, true, BarRange{0, 99, 10, pos}, pos);
  EXPECT_LE(p.thumb.top, 60);  // the thumb sits under the pointer, not past it
  EXPECT_GT(p.thumb.bottom + 10 * 99 / 90, 60);
  EXPECT_EQ(codes.back(), static_cast<unsigned>(SB_ENDSCROLL));
}

TEST_F(WindowBars, ThumbDragTracksFromTheGrabPointAndEndsWithItsPosition) {
  unsigned t = headless::Now();
  headless::At(t + 10, [this] { headless::MouseMove(view.m_hWnd, 190, 30); });
  headless::At(t + 20, [this] { headless::MouseMove(view.m_hWnd, 190, 300); });  // far past the end
  headless::At(t + 30, [this] { headless::MouseUp(view.m_hWnd, 190, 300); });
  headless::MouseDown(view.m_hWnd, 190, 20);  // thumb at 17..26
  ASSERT_GE(tracks.size(), 2u);
  EXPECT_EQ(tracks[0], 10);  // 90 free pixels for 90 positions: one per pixel
  EXPECT_EQ(tracks.back(), 90);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[codes.size() - 2], static_cast<unsigned>(SB_THUMBPOSITION));
  EXPECT_EQ(codes.back(), static_cast<unsigned>(SB_ENDSCROLL));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowBars, HeldArrowEndsWhenAnotherThreadDestroysTheWindow) {
  const HWND hView = view.m_hWnd;
  std::thread closer;
  headless::At(headless::Now() + 260, [&] {
    closer = std::thread([hView] { ::SendMessageW(hView, WM_CLOSE, 0, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the send is queued
  });
  headless::MouseDown(hView, 190, 125);  // returns only once the tracking loop has ended
  closer.join();
  EXPECT_FALSE(::IsWindow(hView));
  EXPECT_GE(codes.size(), 2u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowBars, DisabledBarIgnoresPresses) {
  EnableScrollBar(view.m_hWnd, SB_VERT, ESB_DISABLE_BOTH);
  headless::MouseDown(view.m_hWnd, 190, 125);  // returns at once: no loop runs
  headless::MouseUp(view.m_hWnd, 190, 125);
  EXPECT_TRUE(codes.empty());
}

TEST_F(WindowBars, BarsAreDrawnInTheNonClientArea) {
  view.SetScrollPos(SB_VERT, 90);
  headless::Pump();
  auto img = headless::Capture(top.m_hWnd);
  // Window at (10, 10): vertical bar x 193..209, thumb at the end of the track (rows 107..115).
  const uint32_t face = ToPixel(GetSysColor(COLOR_BTNFACE)), track = ToPixel(GetSysColor(COLOR_SCROLLBAR));
  EXPECT_EQ(img.At(201, 10 + 111), face);
  EXPECT_EQ(img.At(201, 10 + 60), track);
  // Arrow mark: dark pixels in the middle of the first arrow.
  EXPECT_EQ(img.At(201, 10 + 8) & 0xFFFFFF, 0u);
  // The corner square between the bars.
  EXPECT_EQ(img.At(201, 10 + 140), face);
}

}  // namespace
