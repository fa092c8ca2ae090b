// The time display: the glyph each cell shows for a time, every cell on screen against the
// strip's own glyph pixels, the transparent key, sizing, the border, and the mends (hours past
// 99, 64-bit sums, creation before a strip, failed loads that change nothing).
#include <gtest/gtest.h>

#include <climits>

#include "ControlsTestUtil.h"
#include "controls/TimerLogic.h"
#include "controls/TimerWnd.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using controlstest::Px;
using Cells = std::array<int, 8>;

namespace {

constexpr int C = timerwnd::kColon;

TEST(TimerCells, HoursMinutesSeconds) {
  EXPECT_EQ(timerwnd::Cells(3661), (Cells{0, 1, C, 0, 1, C, 0, 1}));
  EXPECT_EQ(timerwnd::Cells(86399), (Cells{2, 3, C, 5, 9, C, 5, 9}));
  EXPECT_EQ(timerwnd::Cells(86400), (Cells{0, 0, C, 0, 0, C, 0, 0}));
  EXPECT_EQ(timerwnd::Cells(90000), (Cells{0, 1, C, 0, 0, C, 0, 0})) << "25 h";
  EXPECT_EQ(timerwnd::Cells(48 * 3600), (Cells{2, 4, C, 0, 0, C, 0, 0})) << "24 taken off once";
  EXPECT_EQ(timerwnd::Cells(123 * 3600 + 59), (Cells{9, 9, C, 0, 0, C, 5, 9}));
  // Past 99 the hours wrap, so the tens cell is always a digit.
  EXPECT_EQ(timerwnd::Cells(124 * 3600), (Cells{0, 0, C, 0, 0, C, 0, 0}));
  EXPECT_EQ(timerwnd::Cells(134 * 3600 + 61), (Cells{1, 0, C, 0, 1, C, 0, 1}));
  for (DWORD s : {0u, 446399u, 446400u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu})
    for (int g : timerwnd::Cells(s)) EXPECT_TRUE(g >= 0 && g <= C) << s;
}

TEST(TimerCells, SumsAndSizes) {
  EXPECT_EQ(timerwnd::TotalSeconds(1, 2, 3), 3723u);
  EXPECT_EQ(timerwnd::TotalSeconds(0, 0, -1), 0u) << "negative totals clamp to zero";
  EXPECT_EQ(timerwnd::TotalSeconds(INT_MIN, INT_MIN, INT_MIN), 0u);
  EXPECT_EQ(timerwnd::TotalSeconds(INT_MAX, INT_MAX, INT_MAX), 0xFFFFFFFEu) << "never 'no time'";
  EXPECT_EQ(timerwnd::TotalSeconds(600000, 0, 0), 2160000000u) << "beyond int, still exact";
  SIZE sz{};
  ASSERT_TRUE(timerwnd::FitSize(20, 30, 3, sz));
  EXPECT_EQ(sz.cx, 166);
  EXPECT_EQ(sz.cy, 36);
  EXPECT_FALSE(timerwnd::FitSize(0, 30, 0, sz));
  EXPECT_FALSE(timerwnd::FitSize(INT_MAX, 30, 0, sz));
  EXPECT_FALSE(timerwnd::FitSize(20, 30, INT_MIN, sz));
  const RECT r = timerwnd::InitialRect(POINT{40, 5});
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.right, 40) << "no inverted rectangle right of (10, 10)";
  EXPECT_EQ(r.bottom, 10);
}

// Glyph k of the strip: its own colour with a key-coloured 4 x 4 block at (2, 2).
constexpr COLORREF kKey = RGB(255, 0, 255);
COLORREF GlyphColor(int k) { return RGB(20 * k + 10, 200 - 15 * k, 60); }
std::shared_ptr<winport::Surface> Strip(int glyphWidth, int height) {
  return controlstest::Picture(glyphWidth * 11, height, [=](int x, int y) {
    const int gx = x % glyphWidth;
    return gx >= 2 && gx < 6 && y >= 2 && y < 6 ? kKey : GlyphColor(x / glyphWidth);
  });
}

class CTestTimerWnd : public CTimerWnd {
 public:
  COLORREF Back() const { return m_crBack; }
  int NumWidth() const { return m_nNumWidth; }
  DWORD Time() const { return m_dwTime; }
};

class TimerWindow : public testsupport::HostWindowTest {
 protected:
  static void SetUpTestSuite() {
    controlstest::RegisterBitmap(L"IDB_TEST_DIGITS", *Strip(20, 30));
    controlstest::RegisterBitmap(L"IDB_TEST_DIGITS_SMALL", *Strip(10, 14));
  }
  void TearDown() override {
    m_timer.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(POINT pt = {5, 5}) {
    ASSERT_TRUE(m_timer.Create(WS_CHILD | WS_VISIBLE, pt, &m_top, 1));
    hl::Pump();
  }
  CSize WindowSize() {
    CRect rc;
    m_timer.GetWindowRect(&rc);
    return rc.Size();
  }
  // Checks every cell's glyph against the strip: its colour, and the key block as keyShows.
  void ExpectCells(const hl::Image& img, const Cells& cells, int frame, COLORREF keyShows) {
    for (int k = 0; k < 8; ++k) {
      const int x0 = frame + k * 20, y0 = frame;
      EXPECT_EQ(img.At(x0 + 10, y0 + 15), Px(GlyphColor(cells[static_cast<size_t>(k)]))) << "cell " << k;
      EXPECT_EQ(img.At(x0 + 19, y0 + 29), Px(GlyphColor(cells[static_cast<size_t>(k)]))) << "cell " << k;
      EXPECT_EQ(img.At(x0 + 3, y0 + 3), Px(keyShows)) << "cell " << k;
      EXPECT_EQ(img.At(x0 + 6, y0 + 3), Px(GlyphColor(cells[static_cast<size_t>(k)]))) << "cell " << k;
    }
  }

  CTestTimerWnd m_timer;
};

TEST_F(TimerWindow, CellsShowTheStripsGlyphsWithTheKeyReplaced) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 80)));
  m_timer.SetFrameWidth(3);
  EXPECT_EQ(WindowSize(), CSize(166, 36));
  m_timer.SetTime(3661);
  hl::Image img = Shot(m_timer);
  ExpectCells(img, {0, 1, C, 0, 1, C, 0, 1}, 3, RGB(0, 0, 80));
  EXPECT_EQ(img.At(1, 1), Px(RGB(0, 0, 80))) << "the frame margin in the back colour";
  m_timer.SetTime(86399);
  ExpectCells(Shot(m_timer), {2, 3, C, 5, 9, C, 5, 9}, 3, RGB(0, 0, 80));
  m_timer.SetTime(1, 2, 3);
  ExpectCells(Shot(m_timer), {0, 1, C, 0, 2, C, 0, 3}, 3, RGB(0, 0, 80));
  m_timer.SetTime(45 * 60 + 7 + 8 * 3600);
  ExpectCells(Shot(m_timer), {0, 8, C, 4, 5, C, 0, 7}, 3, RGB(0, 0, 80));
  m_timer.SetTime(6 * 3600 + 6);
  ExpectCells(Shot(m_timer), {0, 6, C, 0, 0, C, 0, 6}, 3, RGB(0, 0, 80));
}

TEST_F(TimerWindow, StripWithoutKeyShowsTheKeyColour) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", RGB(0, 0, 0)));
  EXPECT_EQ(WindowSize(), CSize(160, 30));
  m_timer.SetTime(90000);
  ExpectCells(Shot(m_timer), {0, 1, C, 0, 0, C, 0, 0}, 0, kKey);
}

TEST_F(TimerWindow, StripBeforeCreateSizesTheWindow) {
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS_SMALL", kKey, RGB(0, 0, 0)));
  Make({40, 50});
  EXPECT_EQ(WindowSize(), CSize(80, 14));
  CRect rc;
  m_timer.GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(40, 50));
}

TEST_F(TimerWindow, CreatedBeforeAStripRightOfTheCorner) {
  Make({40, 50});
  const CSize sz = WindowSize();
  EXPECT_GE(sz.cx, 0);
  EXPECT_GE(sz.cy, 0);
  CRect rc;
  m_timer.GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(40, 50));
  m_timer.SetTime(5);  // no image yet: nothing drawn, nothing remembered
  EXPECT_EQ(m_timer.Time(), 0xFFFFFFFFu);
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 0)));
  EXPECT_EQ(WindowSize(), CSize(160, 30));
}

TEST_F(TimerWindow, SameTimeTwiceDrawsNothing) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 0)));
  m_timer.SetTime(42);
  hl::Pump();
  m_timer.SetTime(42);
  CRect upd;
  EXPECT_FALSE(m_timer.GetUpdateRect(&upd)) << "no invalidation";
}

TEST_F(TimerWindow, BorderAppearsAtTheNextResize) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 80)));
  m_timer.SetFrameWidth(2);
  m_timer.SetTime(1);
  m_timer.ShowBorder(TRUE);
  hl::Image img = Shot(m_timer);
  EXPECT_EQ(img.At(0, 15), Px(RGB(0, 0, 80))) << "same size: no WM_SIZE, no border yet";
  m_timer.SetFrameWidth(3);  // 166 x 36: the image is rebuilt with the border, digits cleared
  img = Shot(m_timer);
  const uint32_t shadow = Px(::GetSysColor(COLOR_BTNSHADOW)), light = Px(::GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(img.At(0, 15), shadow);
  EXPECT_EQ(img.At(0, 35), shadow);
  EXPECT_EQ(img.At(80, 0), shadow);
  EXPECT_EQ(img.At(165, 15), light);
  EXPECT_EQ(img.At(165, 0), light);
  EXPECT_EQ(img.At(80, 35), light);
  EXPECT_EQ(img.At(13, 18), Px(RGB(0, 0, 80))) << "digits gone until the next SetTime";
  m_timer.SetTime(1);
  ExpectCells(Shot(m_timer), {0, 0, C, 0, 0, C, 0, 1}, 3, RGB(0, 0, 80));
}

TEST_F(TimerWindow, FailedLoadsChangeNothing) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 80)));
  m_timer.SetTime(3661);
  const hl::Image before = Shot(m_timer);
  EXPECT_FALSE(m_timer.SetNumBitmap(L"IDB_NO_SUCH_STRIP", kKey, RGB(255, 255, 0)));
  EXPECT_FALSE(m_timer.SetNumBitmap(L"IDB_NO_SUCH_STRIP", RGB(255, 255, 0)));
  EXPECT_FALSE(m_timer.SetNumBitmap(nullptr, RGB(255, 255, 0)));
  EXPECT_EQ(m_timer.Back(), RGB(0, 0, 80));
  EXPECT_EQ(m_timer.Time(), 3661u);
  EXPECT_EQ(m_timer.NumWidth(), 20);
  m_timer.Invalidate();
  EXPECT_EQ(Shot(m_timer).pixels, before.pixels);
  // A good strip still replaces it afterwards.
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS_SMALL", RGB(1, 2, 3)));
  EXPECT_EQ(WindowSize(), CSize(80, 14));
}

TEST_F(TimerWindow, AFrameWidthAtTheIntLimitPutsEveryCellPastTheImage) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 80)));
  m_timer.SetFrameWidth(INT_MAX);  // too wide to fit: the window keeps its size
  EXPECT_EQ(WindowSize(), CSize(160, 30));
  m_timer.SetTime(3661);
  const hl::Image img = Shot(m_timer);
  for (int x : {0, 10, 80, 159}) EXPECT_EQ(img.At(x, 15), Px(RGB(0, 0, 80))) << x;
}

TEST_F(TimerWindow, HundredsOfHoursStayOnTheStrip) {
  Make();
  ASSERT_TRUE(m_timer.SetNumBitmap(L"IDB_TEST_DIGITS", kKey, RGB(0, 0, 80)));
  m_timer.SetTime(134 * 3600 + 61);
  ExpectCells(Shot(m_timer), {1, 0, C, 0, 1, C, 0, 1}, 0, RGB(0, 0, 80));
  m_timer.SetTime(-1, 0, 0);
  ExpectCells(Shot(m_timer), {0, 0, C, 0, 0, C, 0, 0}, 0, RGB(0, 0, 80));
}

}  // namespace
