// The docking framework: where a drop lands, bars stacked in dock bars, RecalcLayout around the
// view, the layout modes bars are asked with, and docking, floating, redocking and resizing by
// mouse, down to tearing the frame down with a bar still floating.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include <winport/afx.h>
#include <winport/frame/DockLayout.h>
#include <winport/headless.h>

namespace hl = winport::headless;
namespace dock = winport::dock;

namespace {

TEST(DockRules, DropSideByBandAndNearestEdge) {
  const RECT rc{0, 0, 400, 300};
  const std::array<int, 4> none{0, 0, 0, 0};
  EXPECT_EQ(dock::DropSide({200, 5}, rc, none, CBRS_ALIGN_ANY, 24), dock::kTop);
  EXPECT_EQ(dock::DropSide({200, 290}, rc, none, CBRS_ALIGN_ANY, 24), dock::kBottom);
  EXPECT_EQ(dock::DropSide({3, 150}, rc, none, CBRS_ALIGN_ANY, 24), dock::kLeft);
  EXPECT_EQ(dock::DropSide({390, 150}, rc, none, CBRS_ALIGN_ANY, 24), dock::kRight);
  EXPECT_EQ(dock::DropSide({200, 150}, rc, none, CBRS_ALIGN_ANY, 24), dock::kNoSide) << "the middle floats";
  EXPECT_EQ(dock::DropSide({5, 10}, rc, none, CBRS_ALIGN_ANY, 24), dock::kLeft) << "corner: nearest edge";
  EXPECT_EQ(dock::DropSide({5, 10}, rc, none, CBRS_ALIGN_TOP, 24), dock::kTop) << "only allowed sides";
  EXPECT_EQ(dock::DropSide({200, 5}, rc, none, 0, 24), dock::kNoSide);
  // A thick dock bar widens its band.
  const std::array<int, 4> thick{60, 0, 0, 0};
  EXPECT_EQ(dock::DropSide({200, 70}, rc, thick, CBRS_ALIGN_ANY, 24), dock::kTop);
  EXPECT_EQ(dock::DropSide({200, 90}, rc, thick, CBRS_ALIGN_ANY, 24), dock::kNoSide);
  EXPECT_EQ(dock::DropSide({-5, 10}, rc, none, CBRS_ALIGN_ANY, 24), dock::kNoSide) << "outside the frame";
  EXPECT_EQ(dock::DropSide({INT_MAX, INT_MIN}, RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, none, CBRS_ALIGN_ANY, 24),
            dock::kNoSide);
}

TEST(DockRules, StackingAndInsertion) {
  const std::vector<SIZE> sizes{{200, 30}, {120, 20}};
  const auto horz = dock::StackBars(sizes, true);
  EXPECT_EQ(CRect(horz[0]), CRect(0, 0, 200, 30));
  EXPECT_EQ(CRect(horz[1]), CRect(0, 30, 120, 50));
  EXPECT_EQ(dock::StackThickness(sizes, true), 50);
  const auto vert = dock::StackBars(sizes, false);
  EXPECT_EQ(CRect(vert[1]), CRect(200, 0, 320, 20));
  EXPECT_EQ(dock::StackThickness(sizes, false), 320);
  const std::vector<RECT> rows{{0, 0, 10, 30}, {0, 30, 10, 50}};
  EXPECT_EQ(dock::InsertIndex(rows, RECT{5, 5, 5, 5}, true), 0);
  EXPECT_EQ(dock::InsertIndex(rows, RECT{5, 20, 5, 20}, true), 1);
  EXPECT_EQ(dock::InsertIndex(rows, RECT{5, 99, 5, 99}, true), 2);
  EXPECT_EQ(dock::SideOfId(AFX_IDW_DOCKBAR_RIGHT), dock::kRight);
  EXPECT_EQ(dock::SideOfId(123), dock::kNoSide);
}

TEST(DockRules, RowsOfAnyHeightEndBelowWhereTheyStart) {
  const std::vector<SIZE> sizes{{200, 30}, {120, INT_MAX}, {80, 10}};
  for (bool bHorz : {true, false}) {
    const std::vector<SIZE> turned = bHorz ? sizes : std::vector<SIZE>{{30, 200}, {INT_MAX, 120}, {10, 80}};
    for (const RECT& r : dock::StackBars(turned, bHorz)) {
      EXPECT_GE(r.bottom, r.top) << bHorz;
      EXPECT_GE(r.right, r.left) << bHorz;
    }
  }
}

// A bar with fixed sizes per orientation that records how the framework asks.
class CProbeBar : public CControlBar {
 public:
  struct Call {
    int nLength;
    DWORD dwMode;
  };
  std::vector<Call> calls;
  CSize sizeHorz{200, 30}, sizeVert{40, 150}, sizeFloat{120, 80};

  BOOL CreateIn(CFrameWnd* pFrame, UINT nID, LPCWSTR title) {
    SetBarStyle(CBRS_SIZE_DYNAMIC | CBRS_FLOATING | CBRS_TOP);
    return Create(AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), title,
                  WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame, nID);
  }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
    calls.push_back({nLength, dwMode});
    if (nLength > 0) {
      if (dwMode == LM_HORZ) sizeFloat.cx = nLength;
      if (dwMode == (LM_HORZ | LM_LENGTHY)) sizeFloat.cy = nLength;
      return sizeFloat;
    }
    if (dwMode & LM_HORZDOCK) return sizeHorz;
    if (dwMode & LM_VERTDOCK) return sizeVert;
    return sizeFloat;
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  bool AskedWith(DWORD dwMode) const {
    for (const Call& c : calls)
      if (c.dwMode == dwMode) return true;
    return false;
  }
  CRect RectIn(CWnd& w) const {
    CRect rc;
    GetWindowRect(&rc);
    w.ScreenToClient(&rc);
    return rc;
  }
};

class DockingFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    ASSERT_TRUE(m_frame.Create(nullptr, L"frame", WS_POPUP | WS_VISIBLE, CRect(100, 100, 500, 400)));
    ASSERT_TRUE(m_view.Create(AfxRegisterWndClass(0), L"view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_frame,
                              AFX_IDW_PANE_FIRST));
    m_frame.EnableDocking(CBRS_ALIGN_ANY);
    for (CProbeBar* p : {&m_a, &m_b, &m_c}) {
      ASSERT_TRUE(p->CreateIn(&m_frame, 200 + static_cast<UINT>(p - &m_a), L"probe"));
      p->EnableDocking(CBRS_ALIGN_ANY);
    }
    hl::Pump();
  }
  void TearDown() override {
    if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
  }
  CRect ViewRect() {
    CRect rc;
    m_view.GetWindowRect(&rc);
    m_frame.ScreenToClient(&rc);
    return rc;
  }
  // The floating frame of a bar, if it floats.
  static CWnd* MiniOf(CControlBar& bar) { return bar.IsFloating() ? bar.m_pDockBar->GetParent() : nullptr; }
  // A drag in frame client coordinates, the way a hand does it.
  void Drag(CPoint from, CPoint to, HWND over = nullptr) {
    HWND h = over ? over : m_frame.GetSafeHwnd();
    CPoint a = from, b = to;
    if (over) {
      m_frame.ClientToScreen(&a);
      m_frame.ClientToScreen(&b);
      ::ScreenToClient(over, &a);
      ::ScreenToClient(over, &b);
    }
    hl::MouseDown(h, a.x, a.y);
    hl::MouseMove(h, (a.x + b.x) / 2, (a.y + b.y) / 2);
    hl::MouseMove(h, b.x, b.y);
    hl::MouseUp(h, b.x, b.y);
  }

  CFrameWnd m_frame;
  CWnd m_view;
  CProbeBar m_a, m_b, m_c;
};

TEST_F(DockingFrame, DockBarsLayOutAroundTheView) {
  for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
    ASSERT_NE(m_frame.GetDockBar(id), nullptr);
    EXPECT_EQ(m_frame.GetControlBar(id), m_frame.GetDockBar(id));
  }
  EXPECT_EQ(ViewRect(), CRect(0, 0, 400, 300)) << "empty dock bars take no room";
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
  m_frame.DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
  m_frame.DockControlBar(&m_c, AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(m_a.RectIn(m_frame), CRect(0, 0, 200, 30));
  EXPECT_EQ(m_c.RectIn(m_frame), CRect(0, 270, 200, 300)) << "bottom spans under the left side";
  EXPECT_EQ(m_b.RectIn(m_frame), CRect(0, 30, 40, 180));
  EXPECT_EQ(ViewRect(), CRect(40, 30, 400, 270));
  EXPECT_TRUE(m_a.AskedWith(LM_HORZ | LM_HORZDOCK));
  EXPECT_TRUE(m_b.AskedWith(LM_VERTDOCK));
  EXPECT_EQ(m_a.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), static_cast<DWORD>(CBRS_ALIGN_TOP));
  EXPECT_EQ(m_b.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), static_cast<DWORD>(CBRS_ALIGN_LEFT));
  EXPECT_FALSE(m_a.IsFloating());
  // A second bar on the same side takes the next row; the frame's size change lays out again.
  m_frame.DockControlBar(&m_c, AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(m_c.RectIn(m_frame), CRect(0, 30, 200, 60));
  m_frame.MoveWindow(100, 100, 500, 350);
  hl::Pump();
  EXPECT_EQ(ViewRect(), CRect(40, 60, 500, 350));
}

TEST_F(DockingFrame, DefaultSideAndRefusedSides) {
  m_a.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  m_frame.DockControlBar(&m_a);
  EXPECT_EQ(m_a.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);  // not allowed: stays
  EXPECT_EQ(m_a.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
}

TEST_F(DockingFrame, FloatingFrameFitsTheBar) {
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
  m_frame.FloatControlBar(&m_a, CPoint(600, 200));
  CWnd* mini = MiniOf(m_a);
  ASSERT_NE(mini, nullptr);
  EXPECT_TRUE(m_a.GetBarStyle() & CBRS_FLOATING);
  EXPECT_TRUE(m_a.AskedWith(LM_HORZ | LM_MRUWIDTH));
  CRect rc;
  mini->GetWindowRect(&rc);
  const int b = CMiniDockFrameWnd::kBorder, cap = CMiniDockFrameWnd::kCaption;
  EXPECT_EQ(rc, CRect(600, 200, 600 + 120 + 2 * b, 200 + 80 + 2 * b + cap));
  EXPECT_FALSE(mini->GetStyle() & WS_CHILD);
  EXPECT_EQ(::GetWindow(mini->GetSafeHwnd(), GW_OWNER), m_frame.GetSafeHwnd());
  CRect bar;
  m_a.GetWindowRect(&bar);
  EXPECT_EQ(bar, CRect(600 + b, 200 + b + cap, 600 + b + 120, 200 + b + cap + 80));
  EXPECT_EQ(ViewRect(), CRect(0, 0, 400, 300)) << "the top dock bar is empty again";
  // Floating again only moves it.
  m_frame.FloatControlBar(&m_a, CPoint(700, 250));
  EXPECT_EQ(MiniOf(m_a), mini);
  mini->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(700, 250));
}

TEST_F(DockingFrame, DraggedToAnEdgeDocksThere) {
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
  Drag({10, 10}, {5, 150});
  EXPECT_EQ(m_a.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), static_cast<DWORD>(CBRS_ALIGN_LEFT));
  EXPECT_EQ(m_a.RectIn(m_frame), CRect(0, 0, 40, 150));
  EXPECT_EQ(ViewRect(), CRect(40, 0, 400, 300));
  Drag({20, 20}, {390, 150});
  EXPECT_EQ(m_a.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_RIGHT));
  EXPECT_EQ(m_a.RectIn(m_frame), CRect(360, 0, 400, 150));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DockingFrame, ShortPressesAndEscapeChangeNothing) {
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
  Drag({10, 10}, {12, 11});
  EXPECT_EQ(m_a.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP)) << "under the drag distance";
  hl::MouseDown(m_frame, 10, 10);
  hl::MouseMove(m_frame, 200, 150);
  hl::KeyDown(m_a, VK_ESCAPE);
  hl::MouseUp(m_frame, 200, 150);
  EXPECT_EQ(m_a.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), static_cast<DWORD>(CBRS_ALIGN_TOP));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DockingFrame, DraggedToTheMiddleFloatsAndRedocksByItsCaption) {
  m_frame.DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
  Drag({10, 10}, {200, 150});  // grabbed 10, 10 into the bar
  CWnd* mini = MiniOf(m_a);
  ASSERT_NE(mini, nullptr);
  CRect rc;
  mini->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(100 + 200 - 10, 100 + 150 - 10));
  EXPECT_EQ(ViewRect(), CRect(0, 0, 400, 300));
  const HWND hMini = mini->GetSafeHwnd();
  // Its caption dragged onto the bottom edge docks it there; the floating frame goes away.
  const CPoint caption(rc.left + 20 - 100, rc.top + 8 - 100);  // frame client coordinates
  Drag(caption, {150, 295}, hMini);
  EXPECT_FALSE(::IsWindow(hMini));
  EXPECT_EQ(m_a.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
  EXPECT_EQ(m_a.RectIn(m_frame), CRect(0, 270, 200, 300));
  EXPECT_EQ(ViewRect(), CRect(0, 0, 400, 270));
  // Floated and dragged by the caption into the middle: it only moves.
  m_frame.FloatControlBar(&m_a, CPoint(300, 300));
  mini = MiniOf(m_a);
  ASSERT_NE(mini, nullptr);
  Drag({300 + 20 - 100, 300 + 8 - 100}, {250, 150}, mini->GetSafeHwnd());
  EXPECT_EQ(MiniOf(m_a), mini);
  mini->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(100 + 250 - 20, 100 + 150 - 8));
}

TEST_F(DockingFrame, FloatingFrameResizesTheBarWithTheLayoutModes) {
  m_frame.FloatControlBar(&m_a, CPoint(600, 200));
  CWnd* mini = MiniOf(m_a);
  ASSERT_NE(mini, nullptr);
  CRect rc;
  mini->GetWindowRect(&rc);
  m_a.calls.clear();
  const HWND h = mini->GetSafeHwnd();
  const int b = CMiniDockFrameWnd::kBorder, cap = CMiniDockFrameWnd::kCaption;
  // The right border, dragged 40 pixels right.
  hl::MouseDown(h, rc.Width() - 1, 50);
  hl::MouseMove(h, rc.Width() + 39, 50);
  hl::MouseUp(h, rc.Width() + 39, 50);
  ASSERT_GE(m_a.calls.size(), 2u);
  EXPECT_EQ(m_a.calls.front().dwMode, static_cast<DWORD>(LM_HORZ));
  EXPECT_EQ(m_a.calls.front().nLength, 120 + 40 - 1);
  bool committed = false;
  for (const auto& c : m_a.calls) committed = committed || c.dwMode == (LM_HORZ | LM_COMMIT);
  EXPECT_TRUE(committed);
  mini->GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 159 + 2 * b);
  // The bottom border: the height with LM_LENGTHY.
  m_a.calls.clear();
  hl::MouseDown(h, 30, rc.Height() - 1);
  hl::MouseUp(h, 30, rc.Height() + 19);
  EXPECT_EQ(m_a.calls.front().dwMode, static_cast<DWORD>(LM_HORZ | LM_LENGTHY));
  mini->GetWindowRect(&rc);
  EXPECT_EQ(rc.Height(), 80 + 20 - 1 + 2 * b + cap);
}

TEST_F(DockingFrame, FrameTornDownWithABarFloating) {
  m_frame.FloatControlBar(&m_a, CPoint(600, 200));
  m_frame.DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
  const HWND hMini = MiniOf(m_a)->GetSafeHwnd();
  m_frame.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hMini));
  EXPECT_EQ(m_a.GetSafeHwnd(), nullptr);
  EXPECT_EQ(m_b.GetSafeHwnd(), nullptr);
  EXPECT_EQ(m_a.m_pDockSite, nullptr);
  EXPECT_EQ(m_a.m_pDockBar, nullptr);
}

}  // namespace
