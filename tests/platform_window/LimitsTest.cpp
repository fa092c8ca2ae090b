// Window sizes and positions from a caller at the int limits: a client larger than a surface
// can be is kept only up to the surface cap, and rectangles never wrap.
#include <gtest/gtest.h>

#include <climits>

#include "support/Recorder.h"

using namespace winport;

namespace {

class WindowLimits : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
};

TEST_F(WindowLimits, HugeClientGetsACappedSurfaceAndStillPaints) {
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 100, 100)));
  CRecorderWnd big;
  ASSERT_TRUE(big.CreateChild(&top, CRect(0, 0, 100000, 100000)));  // 40 GB if it were kept whole
  CRect rc;
  big.GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 100000);
  CDC* pDC = big.GetDC();
  ASSERT_NE(pDC, nullptr);
  pDC->FillSolidRect(10, 10, 5, 5, RGB(255, 0, 0));
  pDC->FillSolidRect(99990, 99990, 5, 5, RGB(255, 0, 0));  // beyond the surface: dropped
  big.ReleaseDC(pDC);
  const headless::Image img = headless::Capture(big.m_hWnd);
  EXPECT_LE(static_cast<std::int64_t>(img.width) * img.height, kMaxSurfacePixels);
  EXPECT_EQ(img.At(12, 12), 0xFF0000u);
  top.Invalidate();
  headless::Pump();
  big.DestroyWindow();
}

TEST_F(WindowLimits, PositionsAndSizesAtTheIntLimitsDoNotWrap) {
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 100, 100)));
  CRecorderWnd child;
  ASSERT_TRUE(child.CreateChild(&top, CRect(0, 0, 10, 10)));
  for (auto [x, y, cx, cy] : {std::array{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, std::array{INT_MIN, INT_MIN, INT_MAX, 5},
                              std::array{-5, -5, INT_MAX, INT_MAX}}) {
    child.MoveWindow(x, y, cx, cy);
    CRect wr, cr;
    child.GetWindowRect(&wr);
    child.GetClientRect(&cr);
    EXPECT_GE(wr.right, wr.left);
    EXPECT_GE(wr.bottom, wr.top);
    EXPECT_GE(cr.Width(), 0);
    top.Invalidate();
    headless::Pump();
    (void)headless::Capture(top.m_hWnd);
  }
  wchar_t cls[64] = {};
  ::GetClassNameW(child.m_hWnd, cls, 64);
  HWND h = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, INT_MAX, INT_MIN, INT_MAX, INT_MAX,
                             top.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  RECT r;
  ::GetWindowRect(h, &r);
  EXPECT_GE(r.right, r.left);
  headless::Pump();
  ::DestroyWindow(h);
}

TEST_F(WindowLimits, CreateFromARectangleAtTheIntLimitsKeepsItsSizePositive) {
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 100, 100)));
  CRecorderWnd wide, tall;
  ASSERT_TRUE(wide.CreateChild(&top, RECT{-10, 0, INT_MAX, 50}));
  ASSERT_TRUE(tall.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, RECT{0, INT_MIN, 50, 10}, &top, 2));
  RECT r;
  ::GetWindowRect(wide.m_hWnd, &r);
  EXPECT_GT(static_cast<long long>(r.right) - r.left, 100);
  ::GetWindowRect(tall.m_hWnd, &r);
  EXPECT_GT(static_cast<long long>(r.bottom) - r.top, 100);
}

}  // namespace
