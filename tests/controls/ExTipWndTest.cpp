// The tip: lazy window, text sizing, line layout and colours, placement with and without a
// position at every screen edge, hover polling on the virtual clock, owner ids, and hover
// tracking surviving a window destroyed from outside.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsTestUtil.h"
#include "controls/ExTipWnd.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using controlstest::Px;

namespace {

constexpr GUID kOwner{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

class TipWindow : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    CExTipWnd::SetText(L"Level -6.0 dB");
    CExTipWnd::SetBackColor(0xE0FFFF);
    CExTipWnd::SetTextColor(0);
    CExTipWnd::SetActID(GUID{});
  }
  static CExTipWnd& Tip() { return *CExTipWnd::GetWnd(); }
  static CRect TipRect() {
    CRect rc;
    Tip().GetWindowRect(&rc);
    return rc;
  }
  // The text's own measure in the tip's font.
  static CSize Measure(LPCWSTR text) {
    CFont font;
    font.CreatePointFont(90, L"Times New Roman");
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* pOld = dc.SelectObject(&font);
    CRect rc(0, 0, 0, 0);
    dc.DrawText(text, -1, &rc, DT_CALCRECT);
    dc.SelectObject(pOld);
    return CSize(rc.right, rc.bottom);
  }
  static bool Visible() { return Tip().GetSafeHwnd() && Tip().IsWindowVisible(); }
};

TEST_F(TipWindow, WindowIsMadeOnFirstShowOnly) {
  EXPECT_EQ(Tip().GetSafeHwnd(), nullptr);
  CExTipWnd::SetBackColor(RGB(1, 2, 3));
  CExTipWnd::SetText(L"x");
  CExTipWnd::Hide();
  EXPECT_EQ(Tip().GetSafeHwnd(), nullptr) << "setters store values only";
  POINT pt{50, 60};
  CExTipWnd::Show(nullptr, &pt);
  ASSERT_NE(Tip().GetSafeHwnd(), nullptr);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(Tip().GetStyle() & WS_POPUP, static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(Tip().GetExStyle(), static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE));
  EXPECT_NE(::GetActiveWindow(), Tip().GetSafeHwnd()) << "never activated";
}

TEST_F(TipWindow, SizeIsTheMeasuredTextPlusEightByFour) {
  POINT pt{50, 60};
  CExTipWnd::Show(nullptr, &pt);
  const CSize one = Measure(L"Level -6.0 dB");
  EXPECT_EQ(TipRect(), CRect(50, 60, 50 + one.cx + 8, 60 + one.cy + 4));

  CStringArray lines;
  lines.Add(L"Left  -6.0 dB");
  lines.Add(L"Right -12.5 dB, the longer line");
  CExTipWnd::SetText(lines);
  CExTipWnd::Show(nullptr, &pt);
  const CSize a = Measure(L"Left  -6.0 dB"), b = Measure(L"Right -12.5 dB, the longer line");
  EXPECT_EQ(TipRect().Size(), CSize(std::max(a.cx, b.cx) + 8, a.cy + b.cy + 4));

  CExTipWnd::SetText(static_cast<const wchar_t*>(nullptr));
  CExTipWnd::Show(nullptr, &pt);
  EXPECT_EQ(TipRect().Size(), CSize(8, 4)) << "no lines: frame and interior only";
}

TEST_F(TipWindow, PaintsFrameInteriorAndOneTextLinePerRow) {
  CStringArray lines;
  lines.Add(L"WWWW");
  lines.Add(L"MMMMMMMM");
  CExTipWnd::SetText(lines);
  CExTipWnd::SetBackColor(RGB(255, 255, 224));
  POINT pt{10, 10};
  CExTipWnd::Show(nullptr, &pt);
  const hl::Image img = Shot(Tip());
  const int w = img.width, h = img.height;
  ASSERT_GT(h, 10);
  for (int x : {0, w / 2, w - 1}) {
    EXPECT_EQ(img.At(x, 0), 0u);
    EXPECT_EQ(img.At(x, h - 1), 0u);
  }
  EXPECT_EQ(img.At(0, h / 2), 0u);
  EXPECT_EQ(img.At(w - 1, h / 2), 0u);
  EXPECT_EQ(img.At(1, 1), Px(RGB(255, 255, 224)));
  EXPECT_EQ(img.At(w - 2, h - 2), Px(RGB(255, 255, 224)));
  // Ink per line: each line's text starts at x = 4 within its own band of rows.
  const int lineH = (h - 2) / 2;
  auto inkIn = [&](int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += img.At(x, y) != Px(RGB(255, 255, 224));
    return n;
  };
  EXPECT_EQ(inkIn(1, 4, 1, h - 1), 0) << "nothing left of x = 4";
  EXPECT_GT(inkIn(4, w - 1, 2, 1 + lineH), 0);
  EXPECT_GT(inkIn(4, w - 1, 2 + lineH, h - 1), 0);
  const int firstRight = [&] {
    int r = 0;
    for (int y = 2; y < 1 + lineH; ++y)
      for (int x = 4; x < w - 1; ++x)
        if (img.At(x, y) != Px(RGB(255, 255, 224))) r = std::max(r, x);
    return r;
  }();
  EXPECT_LT(firstRight, w / 2 + 4) << "the short line ends well before the long one";
}

TEST_F(TipWindow, BesideThePointerAndPulledBackAtTheScreenEdges) {
  CExTipWnd::Show(nullptr, nullptr);  // size it
  const CSize sz = TipRect().Size();
  struct Case {
    POINT cursor;
    POINT expected;
  } cases[] = {
      {{100, 100}, {116, 116}},
      {{0, 500}, {16, 516}},                                  // left edge
      {{700, 0}, {716, 16}},                                  // top edge
      {{1915, 500}, {1920 - sz.cx, 516}},                     // right edge
      {{700, 1079}, {716, 1080 - sz.cy}},                     // bottom edge
      {{1919, 1079}, {1920 - sz.cx, 1080 - sz.cy}},           // bottom-right corner
  };
  for (const Case& c : cases) {
    ::SetCursorPos(c.cursor.x, c.cursor.y);
    CExTipWnd::Show(nullptr, nullptr);
    EXPECT_EQ(TipRect().TopLeft(), CPoint(c.expected)) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(TipRect().Size(), sz);
  }
  POINT pos{1910, 1075};
  CExTipWnd::Show(nullptr, &pos);
  EXPECT_EQ(TipRect().TopLeft(), CPoint(1910, 1075)) << "a given position is used as it stands";
}

TEST_F(TipWindow, ScreenSizeComesFromTheHarness) {
  hl::Reset({800, 600});
  ::SetCursorPos(790, 590);
  CExTipWnd::Show(nullptr, nullptr);
  const CRect rc = TipRect();
  EXPECT_EQ(rc.right, 800);
  EXPECT_EQ(rc.bottom, 600);
}

TEST_F(TipWindow, HoverRectangleIsPolledEveryHundredMilliseconds) {
  ::SetCursorPos(100, 100);
  const RECT hover{90, 90, 111, 111};
  CExTipWnd::SetActID(kOwner);
  CExTipWnd::Show(&hover, nullptr);
  hl::Advance(250);
  EXPECT_TRUE(Visible());
  EXPECT_TRUE(CExTipWnd::GetActID() == kOwner);
  ::SetCursorPos(111, 100);  // just outside (right edge excluded)
  const unsigned left = hl::Now();
  hl::Advance(49);
  EXPECT_TRUE(Visible()) << "the next poll has not come yet";
  hl::Advance(100 - (hl::Now() - left));
  EXPECT_FALSE(Visible());
  EXPECT_TRUE(CExTipWnd::GetActID() == GUID{}) << "hiding a shown tip forgets its owner";
  CExTipWnd::SetActID(kOwner);
  CExTipWnd::Hide();
  EXPECT_TRUE(CExTipWnd::GetActID() == kOwner) << "hiding a hidden tip keeps the id";
}

TEST_F(TipWindow, Show2HoversAroundThePointer) {
  ::SetCursorPos(300, 300);
  CExTipWnd::Show2(SIZE{5, 5}, nullptr);
  ::SetCursorPos(304, 296);
  hl::Advance(300);
  EXPECT_TRUE(Visible());
  ::SetCursorPos(306, 300);
  hl::Advance(100);
  EXPECT_FALSE(Visible());
}

TEST_F(TipWindow, ShowWithoutRectangleStopsTracking) {
  ::SetCursorPos(100, 100);
  const RECT hover{90, 90, 110, 110};
  CExTipWnd::Show(&hover, nullptr);
  CExTipWnd::Show(nullptr, nullptr);
  ::SetCursorPos(500, 500);
  hl::Advance(1000);
  EXPECT_TRUE(Visible()) << "stays up until Hide";
  CExTipWnd::Hide();
  EXPECT_FALSE(Visible());
}

TEST_F(TipWindow, NewTextResizesOnThePaintThatFindsItDirty) {
  POINT pt{20, 20};
  CExTipWnd::Show(nullptr, &pt);
  hl::Pump();
  const CSize before = TipRect().Size();
  CExTipWnd::SetText(L"A much longer line of tip text than before");
  EXPECT_EQ(TipRect().Size(), before) << "nothing happens before the paint";
  hl::Pump();
  const CSize m = Measure(L"A much longer line of tip text than before");
  EXPECT_EQ(TipRect().Size(), CSize(m.cx + 8, m.cy + 4));
  const hl::Image img = Shot(Tip());
  EXPECT_EQ(img.At(img.width - 1, 3), 0u) << "the frame at the new right edge";
  EXPECT_EQ(img.At(img.width - 2, img.height - 2), Px(0xE0FFFF));
}

TEST_F(TipWindow, HoverTrackingRestartsAfterTheWindowWasDestroyedOutside) {
  ::SetCursorPos(100, 100);
  const RECT hover{90, 90, 110, 110};
  CExTipWnd::Show(&hover, nullptr);
  Tip().DestroyWindow();  // e.g. the host tearing down its windows
  EXPECT_EQ(Tip().GetSafeHwnd(), nullptr);
  CExTipWnd::Show(&hover, nullptr);
  ASSERT_TRUE(Visible());
  ::SetCursorPos(400, 400);
  hl::Advance(200);
  EXPECT_FALSE(Visible()) << "the hover timer runs again";
}

}  // namespace
