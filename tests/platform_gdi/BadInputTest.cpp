#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/Canvas.h"

using namespace testsupport;

TEST(GdiBadInput, NullAndDeadDcsFailQuietly) {
  auto dead = winport::CreateDCForSurface(std::make_shared<winport::Surface>(4, 4));
  ASSERT_TRUE(::DeleteDC(dead));
  const HDC fake = reinterpret_cast<HDC>(0x12345);
  for (HDC hdc : {static_cast<HDC>(nullptr), dead, fake}) {
    RECT r{0, 0, 4, 4};
    POINT pts[2] = {{0, 0}, {3, 3}};
    TRIVERTEX v[2] = {};
    GRADIENT_RECT g{0, 1};
    EXPECT_EQ(::SetBkColor(hdc, kRed), CLR_INVALID);
    EXPECT_EQ(::GetPixel(hdc, 0, 0), CLR_INVALID);
    EXPECT_FALSE(::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &r, L"x", 1, nullptr));
    EXPECT_FALSE(::LineTo(hdc, 3, 3));
    EXPECT_FALSE(::Polyline(hdc, pts, 2));
    EXPECT_FALSE(::BitBlt(hdc, 0, 0, 4, 4, hdc, 0, 0, SRCCOPY));
    EXPECT_FALSE(::GradientFill(hdc, v, 2, &g, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(::DrawTextW(hdc, L"x", 1, &r, 0), 0);
    EXPECT_EQ(::SaveDC(hdc), 0);
    EXPECT_FALSE(::RestoreDC(hdc, -1));
    EXPECT_EQ(::SelectObject(hdc, ::GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(::GetClipBox(hdc, &r), ERROR);
    EXPECT_EQ(::FillRect(hdc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(::CreateCompatibleBitmap(hdc, 4, 4), nullptr);
    EXPECT_FALSE(::DeleteDC(hdc));
  }
  EXPECT_EQ(::CreateCompatibleDC(fake), nullptr);

  // The framework wrappers over nothing.
  CDC empty;
  empty.FillSolidRect(0, 0, 4, 4, kRed);
  empty.Draw3dRect(0, 0, 4, 4, kRed, kBlue);
  empty.TextOut(0, 0, CString(L"x"));
  EXPECT_EQ(empty.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
  EXPECT_EQ(empty.GetTextExtent(CString(L"abc")), CSize(0, 0));
  EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
  EXPECT_FALSE(empty.DeleteDC());
}

TEST(GdiBadInput, BadObjectsRectanglesAndSizes) {
  Canvas c(8, 8);
  // Deleted, made-up and wrong-kind handles.
  HBRUSH brush = ::CreateSolidBrush(kRed);
  ASSERT_TRUE(::DeleteObject(brush));
  EXPECT_FALSE(::DeleteObject(brush));
  RECT r{0, 0, 8, 8};
  EXPECT_EQ(::FillRect(c.dc, &r, brush), 0);
  EXPECT_EQ(::FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(::GetStockObject(BLACK_PEN))), 0);
  EXPECT_EQ(::FillRect(c.dc, nullptr, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(::SelectObject(c.dc, brush), nullptr);
  EXPECT_EQ(::GetObjectW(brush, 0, nullptr), 0);
  EXPECT_EQ(::CombineRgn(nullptr, nullptr, nullptr, RGN_AND), ERROR);
  CRgn rgn;
  rgn.CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(rgn.CombineRgn(&rgn, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(::CreatePatternBrush(nullptr), nullptr);
  EXPECT_FALSE(::DeleteObject(c.dc.m_hDC));  // a DC is not an object

  // Zero, negative and absurd sizes.
  CBitmap bmp;
  EXPECT_FALSE(bmp.CreateCompatibleBitmap(&c.dc, 0, 5));
  EXPECT_FALSE(bmp.CreateCompatibleBitmap(&c.dc, -3, 5));
  EXPECT_FALSE(bmp.CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr));
  EXPECT_FALSE(bmp.CreateBitmap(2, 2, 1, 16, nullptr));
  EXPECT_EQ(bmp.GetBitmapBits(16, nullptr), 0u);
  EXPECT_EQ(::GetBitmapBits(nullptr, 4, &r), 0);
  EXPECT_EQ(::CreateDIBSection(c.dc, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);

  // Empty and inverted shapes draw nothing; nothing crashes at the surface edges.
  c.dc.FillSolidRect(3, 3, 0, 0, kRed);
  c.dc.Rectangle(5, 5, 5, 9);
  c.dc.Ellipse(4, 4, 4, 4);
  c.dc.Arc(0, 0, 0, 0, 0, 0, 0, 0);
  c.dc.MoveTo(-100, -100);
  c.dc.LineTo(100, 100);
  c.dc.FillSolidRect(-5, -5, 100, 2, kBlue);
  c.dc.BitBlt(-10, -10, 100, 100, &c.dc, -20, 30, SRCCOPY);
  c.dc.StretchBlt(0, 0, 8, 8, &c.dc, 0, 0, 0, 8, SRCCOPY);
  EXPECT_FALSE(c.dc.TransparentBlt(0, 0, 0, 8, &c.dc, 0, 0, 8, 8, kRed));
  EXPECT_FALSE(c.dc.AlphaBlend(0, 0, 8, 8, &c.dc, -1, 0, 8, 8, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  EXPECT_EQ(c.Count(0, 0, 8, 8, kRed), 0);
  EXPECT_EQ(c.dc.SetPixel(100, 100, kRed), CLR_INVALID);
  EXPECT_EQ(c.dc.GetPixel(-1, 0), CLR_INVALID);
  EXPECT_FALSE(c.dc.TextOut(0, 0, nullptr, 3));
  EXPECT_EQ(c.dc.DrawText(nullptr, 3, nullptr, 0), 0);
}

TEST(GdiBadInput, HandleTableIsSafeAcrossThreads) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        CPen pen(PS_SOLID, 1, RGB(i, 0, 0));
        HDC dc = ::CreateCompatibleDC(nullptr);
        CPen* old = CDC::FromHandle(dc)->SelectObject(&pen);
        if (!old || ::GetObjectType(pen) != OBJ_PEN) ++failures;
        ::SelectObject(dc, *old);
        ::DeleteDC(dc);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);
}

TEST(GdiBadInput, ExtremeCoordinatesStayCheap) {
  Canvas c(16, 16);
  CPen pen(PS_SOLID, 1, kRed);
  CBrush brush(kBlue);
  c.dc.SelectObject(&pen);
  c.dc.SelectObject(&brush);
  c.dc.MoveTo(INT32_MIN + 1, 8);
  c.dc.LineTo(INT32_MAX - 1, 8);  // crosses the surface
  EXPECT_EQ(c.Count(0, 8, 16, 9, kRed), 16);
  c.dc.MoveTo(INT32_MAX - 5, INT32_MAX - 5);
  c.dc.LineTo(INT32_MAX, INT32_MAX);
  c.dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  c.dc.Ellipse(-20000, -20000, 20000, 20000);  // covers the canvas with the brush
  EXPECT_EQ(c.At(3, 3), kBlue);
  c.dc.FillSolidRect(INT32_MAX - 2, 0, INT32_MAX, 4, kRed);
  c.dc.SetViewportOrg(INT32_MAX - 1, 0);
  c.dc.FillSolidRect(10, 0, 5, 5, kGreen);
  c.dc.SetViewportOrg(0, 0);
  const POINT tri[] = {{0, -1000000000}, {1000000000, 1000000000}, {-1000000000, 1000000000}};
  c.dc.Polygon(tri, 3);
  EXPECT_EQ(c.Count(0, 0, 16, 16, kGreen), 0);
  c.dc.SelectStockObject(BLACK_PEN);
  c.dc.SelectStockObject(WHITE_BRUSH);
}
