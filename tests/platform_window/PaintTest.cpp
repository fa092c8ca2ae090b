// The paint cycle: update regions, erase then paint, UpdateWindow, scrolling, composition.
#include <gtest/gtest.h>

#include <string>

#include "support/Recorder.h"

using namespace winport;

namespace {

class Paint : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  static void Save(const headless::Image& img, const char* name) {
    const std::string path = PARVANEU_TEST_OUTPUT_DIR "/" + std::string(name);
    headless::SavePng(img, path.c_str());
  }
};

// Paints its client in one colour and remembers each PAINTSTRUCT.
class CFillWnd : public CWnd {
 public:
  COLORREF color = RGB(255, 0, 0);
  std::vector<PAINTSTRUCT> paints;
  std::vector<UINT> order;

 protected:
  afx_msg void OnPaint() {
    order.push_back(WM_PAINT);
    CPaintDC dc(this);
    paints.push_back(dc.m_ps);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, color);
  }
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
    order.push_back(WM_ERASEBKGND);
    return CWnd::OnEraseBkgnd(pDC);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFillWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TEST_F(Paint, EraseWithClassBrushThenPaintAndCoalescing) {
  LPCWSTR blueClass = AfxRegisterWndClass(0, nullptr, CreateSolidBrush(RGB(0, 0, 255)));
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 40, 30), WS_VISIBLE, blueClass));
  headless::Pump();
  // The default erase fills with the class brush and reports it erased.
  headless::Image img = headless::Capture(top.m_hWnd);
  ASSERT_EQ(img.width, 40);
  EXPECT_EQ(img.At(0, 0), 0x0000FFu);
  EXPECT_EQ(img.At(39, 29), 0x0000FFu);

  CFillWnd w;
  ASSERT_TRUE(w.Create(blueClass, L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 25, 25), &top, 1));
  headless::Pump();
  EXPECT_EQ(w.order, (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));  // erase comes from BeginPaint
  ASSERT_EQ(w.paints.size(), 1u);
  EXPECT_FALSE(w.paints[0].fErase);
  EXPECT_EQ(CRect(w.paints[0].rcPaint), CRect(0, 0, 20, 20));

  // Several invalidations before the queue empties make one paint of their union.
  w.paints.clear();
  w.order.clear();
  w.InvalidateRect(CRect(1, 1, 3, 3), FALSE);
  w.InvalidateRect(CRect(10, 12, 14, 15), FALSE);
  w.InvalidateRect(CRect(-5, -5, 0, 0), FALSE);  // outside the client: nothing
  headless::Pump();
  ASSERT_EQ(w.paints.size(), 1u);
  EXPECT_EQ(CRect(w.paints[0].rcPaint), CRect(1, 1, 14, 15));
  EXPECT_EQ(w.order, (std::vector<UINT>{WM_PAINT}));  // no erase was asked for

  // ValidateRect takes back what needs no paint; UpdateWindow paints at once.
  w.paints.clear();
  w.Invalidate(FALSE);
  w.ValidateRect(nullptr);
  headless::Pump();
  EXPECT_TRUE(w.paints.empty());
  w.color = RGB(0, 255, 0);
  w.Invalidate();
  w.UpdateWindow();
  EXPECT_EQ(w.paints.size(), 1u);
  img = headless::Capture(top.m_hWnd);
  EXPECT_EQ(img.At(5, 5), 0x00FF00u);
  EXPECT_EQ(img.At(24, 24), 0x00FF00u);
  EXPECT_EQ(img.At(25, 25), 0x0000FFu);
  EXPECT_EQ(img.At(4, 4), 0x0000FFu);
  if (HasFailure()) Save(img, "paint-erase.png");
}

TEST_F(Paint, APaintDrawsOnlyWhereTheWindowWasInvalid) {
  CFillWnd w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 20, 20), nullptr, 0));
  headless::Pump();  // all red
  w.color = RGB(0, 255, 0);
  w.paints.clear();
  // Two separate pieces: one paint whose rcPaint is their bounding box, pixels only in the pieces.
  w.InvalidateRect(CRect(1, 1, 3, 3), FALSE);
  w.InvalidateRect(CRect(10, 12, 14, 15), FALSE);
  headless::Pump();
  ASSERT_EQ(w.paints.size(), 1u);
  EXPECT_EQ(CRect(w.paints[0].rcPaint), CRect(1, 1, 14, 15));
  headless::Image img = headless::Capture(w.m_hWnd);
  EXPECT_EQ(img.At(2, 2), 0x00FF00u);
  EXPECT_EQ(img.At(13, 14), 0x00FF00u);
  EXPECT_EQ(img.At(5, 5), 0xFF0000u);  // inside the box, never invalid
  EXPECT_EQ(img.At(14, 14), 0xFF0000u);
  // Validating a hole out of the middle keeps the frame around it, and only that.
  w.color = RGB(0, 0, 255);
  w.Invalidate(FALSE);
  w.ValidateRect(CRect(5, 5, 15, 15));
  headless::Pump();
  img = headless::Capture(w.m_hWnd);
  EXPECT_EQ(img.At(0, 0), 0x0000FFu);
  EXPECT_EQ(img.At(19, 10), 0x0000FFu);
  EXPECT_EQ(img.At(12, 13), 0x00FF00u);  // the hole keeps what it showed
  EXPECT_EQ(img.At(7, 7), 0xFF0000u);
  if (HasFailure()) Save(img, "paint-region.png");
}

TEST_F(Paint, CaptureComposesVisibleChildrenInZOrderClipped) {
  CFillWnd top, under, over, hidden, grandchild;
  top.color = RGB(255, 255, 255);
  under.color = RGB(255, 0, 0);
  over.color = RGB(0, 255, 0);
  hidden.color = RGB(0, 0, 0);
  grandchild.color = RGB(0, 0, 255);
  ASSERT_TRUE(top.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
  ASSERT_TRUE(over.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 30), &top, 1));
  ASSERT_TRUE(under.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 70, 70), &top, 2));
  ASSERT_TRUE(hidden.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &top, 3));
  ASSERT_TRUE(grandchild.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, -2, 16, 4), &under, 4));
  headless::Pump();
  headless::Image img = headless::Capture(top.m_hWnd);
  EXPECT_EQ(img.At(0, 0), 0xFFFFFFu);       // hidden child not shown
  EXPECT_EQ(img.At(15, 15), 0x00FF00u);     // first created is on top
  EXPECT_EQ(img.At(25, 25), 0x00FF00u);     // overlap: the top one wins
  EXPECT_EQ(img.At(35, 35), 0xFF0000u);
  EXPECT_EQ(img.At(49, 49), 0xFF0000u);     // clipped at the parent's edge
  EXPECT_EQ(img.At(33, 19), 0xFFFFFFu);     // grandchild clipped to its parent
  EXPECT_EQ(img.At(30, 21), ToPixel(GetSysColor(COLOR_WINDOWFRAME)));  // its border, then client
  EXPECT_EQ(img.At(32, 21), 0x0000FFu);
  EXPECT_EQ(img.At(36, 21), 0xFF0000u);
  // Capture runs no paint: a change shows only after Pump.
  over.color = RGB(9, 9, 9);
  over.Invalidate();
  EXPECT_EQ(headless::Capture(top.m_hWnd).At(15, 15), 0x00FF00u);
  headless::Pump();
  EXPECT_EQ(headless::Capture(top.m_hWnd).At(15, 15), 0x090909u);
  if (HasFailure()) Save(img, "paint-compose.png");
}

TEST_F(Paint, ResizeKeepsContentAndInvalidatesPerClassStyle) {
  CFillWnd plain, redraw;
  ASSERT_TRUE(plain.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 20, 20), nullptr, 0));
  ASSERT_TRUE(redraw.CreateEx(0, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW), L"", WS_POPUP | WS_VISIBLE,
                              CRect(0, 0, 20, 20), nullptr, 0));
  headless::Pump();
  plain.paints.clear();
  redraw.paints.clear();
  plain.MoveWindow(0, 0, 30, 20);
  redraw.MoveWindow(0, 0, 30, 20);
  headless::Pump();
  ASSERT_EQ(plain.paints.size(), 1u);
  EXPECT_EQ(CRect(plain.paints[0].rcPaint), CRect(20, 0, 30, 20));  // only the uncovered strip
  ASSERT_EQ(redraw.paints.size(), 1u);
  EXPECT_EQ(CRect(redraw.paints[0].rcPaint), CRect(0, 0, 30, 20));
  // Shrinking without redraw styles paints nothing; the surface keeps its pixels.
  plain.paints.clear();
  plain.MoveWindow(0, 0, 10, 10);
  headless::Pump();
  EXPECT_TRUE(plain.paints.empty());
  EXPECT_EQ(headless::Capture(plain.m_hWnd).At(9, 9), 0xFF0000u);
}

TEST_F(Paint, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredPart) {
  CFillWnd w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0));
  headless::Pump();
  {
    CClientDC dc(&w);
    dc.FillSolidRect(0, 0, 1, 10, RGB(0, 0, 255));  // a blue first column
  }
  w.paints.clear();
  w.ScrollWindow(3, 0);
  headless::Image img = headless::Capture(w.m_hWnd);
  EXPECT_EQ(img.At(3, 5), 0x0000FFu);  // the column moved right by 3
  EXPECT_EQ(img.At(4, 5), 0xFF0000u);
  headless::Pump();
  ASSERT_EQ(w.paints.size(), 1u);
  EXPECT_EQ(CRect(w.paints[0].rcPaint), CRect(0, 0, 3, 10));
}

}  // namespace

namespace {

TEST(StaticControl, DrawsItsBitmapAtNaturalSizeOverTheDialogColour) {
  headless::Reset();
  CRecorderWnd top;
  ASSERT_TRUE(top.CreateTop(CRect(0, 0, 60, 40)));
  CStatic pic;
  ASSERT_TRUE(pic.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(10, 10, 30, 30), &top));
  headless::Pump();
  const uint32_t face = ToPixel(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(headless::Capture(pic.m_hWnd).At(5, 5), face);  // no bitmap: the erased background
  EXPECT_EQ(pic.GetBitmap(), nullptr);
  std::vector<DWORD> bits(8 * 6, 0x00FF8000u);  // orange, 0x00RRGGBB
  HBITMAP bmp = CreateBitmap(8, 6, 1, 32, bits.data());
  EXPECT_EQ(pic.SetBitmap(bmp), nullptr);
  EXPECT_EQ(pic.GetBitmap(), bmp);
  headless::Pump();
  headless::Image img = headless::Capture(pic.m_hWnd);
  EXPECT_EQ(img.At(0, 0), 0xFF8000u);
  EXPECT_EQ(img.At(7, 5), 0xFF8000u);
  EXPECT_EQ(img.At(8, 5), face);
  EXPECT_EQ(img.At(7, 6), face);
  pic.DestroyWindow();
  DeleteObject(bmp);
}

}  // namespace
