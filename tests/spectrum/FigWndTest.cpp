// The figure window on screen: grid lines from the scale and the interval count, curves with
// bucket maxima and spreading, the bitmaps' life over resizes, and the mouse notifications.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "support/HostWindow.h"
#include "support/Recorder.h"

#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FigWnd.h"

namespace hl = winport::headless;

namespace {

constexpr COLORREF kCurve = RGB(0, 255, 0);

uint32_t Px(COLORREF cr) { return winport::ToPixel(cr); }

class FigWindow : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_fig.GetSafeHwnd()) m_fig.DestroyWindow();
    if (m_parent.GetSafeHwnd()) m_parent.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(int cx, int cy, const CAudioScale* pScale) {
    ASSERT_TRUE(m_parent.CreateChild(&m_top, CRect(0, 0, 600, 400), WS_VISIBLE, 7, AfxRegisterWndClass(0)));
    ASSERT_TRUE(m_fig.Create(WS_CHILD | WS_VISIBLE, CRect(10, 20, 10 + cx, 20 + cy), pScale, &m_parent, 42));
    hl::Pump();
  }
  hl::Image Shot() { return HostWindowTest::Shot(m_fig); }
  // Rows of column x painted in colour cr.
  static std::vector<int> RowsOf(const hl::Image& img, int x, COLORREF cr) {
    std::vector<int> rows;
    for (int y = 0; y < img.height; ++y)
      if (img.At(x, y) == Px(cr)) rows.push_back(y);
    return rows;
  }
  static std::vector<int> ColumnsOf(const hl::Image& img, int y, COLORREF cr) {
    std::vector<int> cols;
    for (int x = 0; x < img.width; ++x)
      if (img.At(x, y) == Px(cr)) cols.push_back(x);
    return cols;
  }

  CAudioScale m_scale{1};
  CRecorderWnd m_parent;
  CFigWnd m_fig;
};

TEST_F(FigWindow, GridFromScaleAndIntervals) {
  Make(205, 100, &m_scale);
  ASSERT_EQ(m_fig.GetWidth(), 205);
  ASSERT_EQ(m_fig.GetHeight(), 100);
  hl::Image img = Shot();
  // Horizontal lines at the scale's points; the bottom point (row 100) lies outside.
  EXPECT_EQ(RowsOf(img, 3, m_fig.m_crGrid), (std::vector<int>{0, 12, 20, 28, 39, 55, 68, 82, 94}));
  // Ten intervals of 20 columns; the last line falls short of the right edge.
  EXPECT_EQ(ColumnsOf(img, 5, m_fig.m_crGrid), (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200}));
  EXPECT_EQ(img.At(204, 5), Px(m_fig.m_crBack));

  for (int n : {0, -4}) {
    m_fig.SetXScaleCount(n);
    EXPECT_EQ(m_fig.GetXScaleCount(), n);
    img = Shot();
    EXPECT_EQ(ColumnsOf(img, 5, m_fig.m_crGrid), std::vector<int>{}) << n;
    EXPECT_EQ(img.At(3, 12), Px(m_fig.m_crGrid));
  }
  // More intervals than columns: one line at column 0, drawn at once.
  m_fig.SetXScaleCount(1 << 30);
  img = Shot();
  EXPECT_EQ(ColumnsOf(img, 5, m_fig.m_crGrid), std::vector<int>{0});
}

TEST_F(FigWindow, CurvesMapLevelsToRowsAndIndexesToColumns) {
  Make(200, 100, &m_scale);
  // 0 dB lies on row 20.
  std::vector<float> flat(50, 0.0f);
  m_fig.DrawDBValue(flat.data(), 50, kCurve);
  m_fig.Show();
  hl::Image img = Shot();
  EXPECT_EQ(RowsOf(img, 50, kCurve), std::vector<int>{20});
  EXPECT_EQ(RowsOf(img, 150, kCurve), std::vector<int>{20});

  // 1000 values over 200 columns: each column the loudest of 5. One loud value at 503 (column
  // 100), one at the very end (column 199).
  m_fig.Clear();
  std::vector<float> many(1000, -110.0f);
  many[503] = 12.0f;
  many[999] = -3.0f;
  m_fig.DrawDBValue(many.data(), 1000, kCurve);
  m_fig.Show();
  img = Shot();
  EXPECT_EQ(img.At(100, 0), Px(kCurve));  // the line from column 99 up to column 100 at row 0
  EXPECT_EQ(RowsOf(img, 60, kCurve), std::vector<int>{});  // -110 dB: row 100, just outside
  // The rise to the last column's -3 dB (row 24), its end point left out as lines do.
  const std::vector<int> last = RowsOf(img, 199, kCurve);
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(last.front(), 25);

  // 100 values over 400 columns: value i at column 4i, the curve ends at 396.
  m_fig.MoveWindow(10, 20, 400, 100);
  m_fig.Clear();
  std::vector<float> hundred(100, -12.0f);  // row 39
  m_fig.DrawDBValue(hundred.data(), 100, kCurve);
  m_fig.Show();
  img = Shot();
  EXPECT_EQ(img.At(395, 39), Px(kCurve));
  EXPECT_NE(img.At(397, 39), Px(kCurve));
  // Clear erases every curve.
  m_fig.Clear();
  m_fig.Show();
  img = Shot();
  EXPECT_EQ(RowsOf(img, 200, kCurve), std::vector<int>{});
}

TEST_F(FigWindow, BitmapsFollowAcceptedSizesOnly) {
  Make(0, 0, &m_scale);
  EXPECT_EQ(m_fig.GetWidth(), 0);
  std::vector<float> v(10, 0.0f);
  m_fig.DrawDBValue(v.data(), 10, kCurve);  // no bitmap yet: nothing, no failure
  m_fig.SetXScaleCount(4);
  m_fig.Clear();
  hl::Pump();

  m_fig.MoveWindow(0, 0, 120, 60);
  EXPECT_EQ(m_fig.GetWidth(), 120);
  m_fig.DrawDBValue(v.data(), 10, kCurve);
  m_fig.Show();
  // Too small in either direction: the old bitmaps, grid and curve stay.
  m_fig.MoveWindow(0, 0, 4, 300);
  m_fig.MoveWindow(0, 0, 300, 1);
  EXPECT_EQ(m_fig.GetWidth(), 120);
  EXPECT_EQ(m_fig.GetHeight(), 60);
  m_fig.MoveWindow(0, 0, 120, 60);  // accepted again: the grid is redrawn, the curve is gone
  const hl::Image img = Shot();
  EXPECT_EQ(RowsOf(img, 40, kCurve), std::vector<int>{});
  EXPECT_EQ(img.At(31, 12), Px(m_fig.m_crGrid));  // the 0 dB line: 60 - 80 x 60 / 100 = 12
}

TEST_F(FigWindow, ScaleWithoutHeightDrawsNoRowsAndDoesNotFail) {
  CAudioScale one;
  ScaleItem item{0, 30};
  one.SetScale(&item, 1);
  Make(100, 50, &one);
  std::vector<float> v(300, 0.0f);
  m_fig.DrawDBValue(v.data(), 300, kCurve);
  m_fig.Show();
  const hl::Image img = Shot();
  EXPECT_EQ(ColumnsOf(img, 25, m_fig.m_crGrid), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
  EXPECT_EQ(RowsOf(img, 5, m_fig.m_crGrid), std::vector<int>{});
  EXPECT_EQ(RowsOf(img, 5, kCurve), std::vector<int>{});  // every level on row 50, outside
}

TEST_F(FigWindow, MouseEventsReachTheParentInOrder) {
  Make(200, 100, &m_scale);
  std::vector<NMFIGWND> notes;
  m_parent.hook = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (msg == WM_NOTIFY) {
      EXPECT_EQ(wParam, 42u);
      notes.push_back(*reinterpret_cast<const NMFIGWND*>(lParam));
    }
    return false;
  };
  hl::MouseMove(m_fig.GetSafeHwnd(), 15, 25);
  hl::MouseDown(m_fig.GetSafeHwnd(), 30, 40);
  hl::MouseUp(m_fig.GetSafeHwnd(), 30, 40);
  ::SendMessageW(m_fig.GetSafeHwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_fig.GetSafeHwnd()), MAKELPARAM(700, 650));
  // The press at a new place moves the pointer there first; the release sends nothing.
  ASSERT_EQ(notes.size(), 4u);
  const FIGWNDNote order[] = {FWN_MOUSEMOVE, FWN_MOUSEMOVE, FWN_LBUTTONDOWN, FWN_CONTEXTMENU};
  const POINT pts[] = {{15, 25}, {30, 40}, {30, 40}, {700, 650}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(notes[i].note, order[i]);
    EXPECT_EQ(notes[i].hdr.hwndFrom, m_fig.GetSafeHwnd());
    EXPECT_EQ(notes[i].hdr.idFrom, 42u);
    EXPECT_EQ(notes[i].hdr.code, 0u);
    EXPECT_EQ(notes[i].x, pts[i].x);
    EXPECT_EQ(notes[i].y, pts[i].y);
  }
}

}  // namespace
