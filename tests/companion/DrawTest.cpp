#include <gtest/gtest.h>

#include <winport/afx.h>
#include <winport/headless.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "companion/Buf32Draw.h"
#include "companion/MemBitDC.h"
#include "companion/VDraw.h"

namespace {

void Fill(CDC& dc, int w, int h, COLORREF c) { dc.FillSolidRect(0, 0, w, h, c); }

// A 24-bit bottom-up BMP file, w x h, whose pixel (x, y) is RGB(x * 40, y * 40, 7).
std::vector<std::uint8_t> MakeBmp(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<std::uint8_t> f(54 + std::size_t(stride) * h, 0);
  const auto put32 = [&](int at, std::uint32_t v) { std::memcpy(&f[at], &v, 4); };
  f[0] = 'B', f[1] = 'M';
  put32(2, std::uint32_t(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, std::uint32_t(w));
  put32(22, std::uint32_t(h));
  f[26] = 1, f[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = &f[54 + std::size_t(h - 1 - y) * stride + 3 * x];
      px[0] = 7, px[1] = std::uint8_t(y * 40), px[2] = std::uint8_t(x * 40);
    }
  return f;
}

}  // namespace

TEST(MemBitDC, SizeCopyAndLifetime) {
  CMemBitDC dc;
  EXPECT_EQ(dc.m_hDC, nullptr);
  EXPECT_EQ(dc.GetWidth(), 0);
  EXPECT_EQ(dc.GetHeight(), 0);
  EXPECT_EQ(dc.GetBitmap(), nullptr);
  EXPECT_FALSE(dc.SetSize(0, 5));
  EXPECT_FALSE(dc.SetSize(5, -1));
  EXPECT_EQ(dc.m_hDC, nullptr);

  ASSERT_TRUE(dc.SetSize(12, 7));
  EXPECT_NE(dc.m_hDC, nullptr);
  EXPECT_EQ(dc.GetWidth(), 12);
  EXPECT_EQ(dc.GetHeight(), 7);
  ASSERT_NE(dc.GetBitmap(), nullptr);
  BITMAP bm{};
  ASSERT_TRUE(dc.GetBitmap()->GetBitmap(&bm));
  EXPECT_EQ(bm.bmWidth, 12);
  EXPECT_EQ(bm.bmHeight, 7);
  EXPECT_EQ(dc.GetPixel(11, 6), RGB(0, 0, 0));
  Fill(dc, 12, 7, RGB(10, 20, 30));
  EXPECT_EQ(dc.GetPixel(11, 6), RGB(10, 20, 30));
  EXPECT_TRUE(dc.SetSize(12, 7));  // same size keeps the image
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(10, 20, 30));
  EXPECT_FALSE(dc.SetSize(0, 0));  // refused: nothing changes
  EXPECT_FALSE(dc.SetSize(32768, 32768));  // past the surface cap: refused, not thrown
  EXPECT_EQ(dc.GetWidth(), 12);
  EXPECT_EQ(dc.GetWidth(), 12);
  ASSERT_TRUE(dc.SetSize(20, 9));
  EXPECT_EQ(dc.GetWidth(), 20);
  EXPECT_EQ(dc.GetPixel(19, 8), RGB(0, 0, 0));

  CMemBitDC ref, copy;
  ASSERT_TRUE(ref.SetSize(4, 4));
  ASSERT_TRUE(copy.SetSize(20, 9, &ref));
  dc.FillSolidRect(2, 3, 5, 2, RGB(200, 100, 50));
  EXPECT_FALSE(copy.Copy(nullptr));
  EXPECT_FALSE(copy.Copy(&copy));
  CMemBitDC empty;
  EXPECT_FALSE(copy.Copy(&empty));
  EXPECT_FALSE(empty.Copy(&dc));
  ASSERT_TRUE(copy.Copy(&dc));
  EXPECT_EQ(copy.GetPixel(2, 3), RGB(200, 100, 50));
  EXPECT_EQ(copy.GetPixel(6, 4), RGB(200, 100, 50));
  EXPECT_EQ(copy.GetPixel(7, 4), RGB(0, 0, 0));
  EXPECT_EQ(copy.GetPixel(2, 5), RGB(0, 0, 0));
}

TEST(MemBitDC, LoadsBitmapsFromTheResourceChain) {
  static const std::vector<std::uint8_t> bmp = MakeBmp(5, 3);
  HINSTANCE module = winport::AddResourceModule(L"companion-test");
  winport::AddResource(module, L"IDB_COMP_TEST", RT_BITMAP, bmp);
  winport::AddResource(module, MAKEINTRESOURCEW(321), RT_BITMAP, bmp);
  CMemBitDC dc;
  ASSERT_TRUE(dc.SetSize(2, 2));
  EXPECT_FALSE(dc.LoadBitmapW(L"IDB_MISSING"));
  EXPECT_EQ(dc.GetWidth(), 2);  // a failed load changes nothing
  ASSERT_TRUE(dc.LoadBitmapW(L"IDB_COMP_TEST"));
  EXPECT_EQ(dc.GetWidth(), 5);
  EXPECT_EQ(dc.GetHeight(), 3);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 7));
  EXPECT_EQ(dc.GetPixel(4, 2), RGB(160, 80, 7));
  CMemBitDC byId;
  ASSERT_TRUE(byId.LoadBitmapW(321u));
  EXPECT_EQ(byId.GetPixel(2, 1), RGB(80, 40, 7));
  winport::RemoveResourceModule(module);
}

TEST(MemBitDC, AttachedBitmapIsGivenBackUntouched) {
  CBitmap mine;
  {
    CMemBitDC dc;
    ASSERT_TRUE(dc.SetSize(3, 3));
    Fill(dc, 3, 3, RGB(1, 2, 3));
    ASSERT_TRUE(mine.CreateBitmap(5, 2, 1, 32, nullptr));
    EXPECT_FALSE(dc.AttachBitmap(nullptr));
    CBitmap none;
    EXPECT_FALSE(dc.AttachBitmap(&none));
    ASSERT_TRUE(dc.AttachBitmap(&mine));
    EXPECT_EQ(dc.GetBitmap(), &mine);
    EXPECT_EQ(dc.GetWidth(), 5);
    EXPECT_EQ(dc.GetHeight(), 2);
    dc.SetPixelV(4, 1, RGB(9, 8, 7));  // drawing reaches the attached bitmap
    EXPECT_EQ(dc.DetachBitmap(), &mine);
    EXPECT_EQ(dc.DetachBitmap(), nullptr);
    EXPECT_EQ(dc.GetWidth(), 3);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(1, 2, 3));  // own image back
    ASSERT_TRUE(dc.AttachBitmap(&mine));  // still attached when the DC dies
  }
  ASSERT_NE(mine.m_hObject, nullptr);
  CMemBitDC reader;
  ASSERT_TRUE(reader.AttachBitmap(&mine));
  EXPECT_EQ(reader.GetPixel(4, 1), RGB(9, 8, 7));
  EXPECT_EQ(reader.DetachBitmap(), &mine);
  // A DC that only ever held an attached bitmap is empty again afterwards.
  EXPECT_EQ(reader.GetWidth(), 0);
  EXPECT_EQ(reader.GetBitmap(), nullptr);
  EXPECT_FALSE(reader.LoadBitmapW(static_cast<LPCWSTR>(nullptr)));
  EXPECT_FALSE(reader.LoadBitmapW(L"NO_SUCH_BITMAP"));
  EXPECT_FALSE(reader.LoadBitmapW(4711u));
}

TEST(Buf32Draw, DrawOutCopiesTheBufferToTheDC) {
  CBuf32Draw buf;
  CMemBitDC dc;
  ASSERT_TRUE(dc.SetSize(10, 8));
  buf.DrawOut(&dc, 0, 0, 10, 8, 0, 0);  // empty buffer: nothing
  ASSERT_TRUE(buf.Create(6, 4));
  buf.FillSolidRect(0, 0, 6, 4, 0x00102030);
  buf.FillSolidRect(5, 3, 1, 1, 0x00FF0000);  // pixel order 0x00RRGGBB: red
  buf.DrawOut(static_cast<CDC*>(nullptr), 0, 0, 6, 4, 0, 0);
  buf.DrawOut(static_cast<HDC>(nullptr), 0, 0, 6, 4, 0, 0);
  buf.DrawOut(&dc, 0, 0, 6, 4, 0, 0);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(dc.GetPixel(5, 3), RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(6, 3), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(5, 4), RGB(0, 0, 0));
  // A block reaching past the buffer is clipped to it.
  Fill(dc, 10, 8, RGB(0, 0, 0));
  buf.DrawOut(&dc, 2, 1, 100, 100, 4, 2);
  EXPECT_EQ(dc.GetPixel(3, 2), RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(2, 1), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(dc.GetPixel(4, 2), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(2, 3), RGB(0, 0, 0));
  buf.DrawOut(dc.m_hDC, 0, 0, 1, 1, 5, 3);  // by handle
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
  buf.DrawOut(&dc, 0, 0, 5, 5, 6, 0);  // source block outside: nothing
  buf.DrawOut(&dc, 0, 0, -5, 5, 0, 0);
}

TEST(VDraw, AntiLineEndpointsCoverageAndSymmetry) {
  CMemBitDC a, b;
  ASSERT_TRUE(a.SetSize(24, 24));
  ASSERT_TRUE(b.SetSize(24, 24));
  const COLORREF white = RGB(255, 255, 255);
  CVDraw::AntiLine(&a, 2, 3, 20, 11, white);
  EXPECT_EQ(a.GetPixel(2, 3), white);
  EXPECT_EQ(a.GetPixel(20, 11), white);
  // Each column's coverage adds up to one full pixel.
  for (int x = 2; x <= 20; ++x) {
    int sum = 0;
    for (int y = 0; y < 24; ++y) sum += GetGValue(a.GetPixel(x, y));
    EXPECT_NEAR(sum, 255, 1) << x;
  }
  // Drawn from the other end: the same pixels.
  CVDraw::AntiLine(&b, 20, 11, 2, 3, white);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
  // Mirrored line: mirrored pixels.
  Fill(b, 24, 24, 0);
  CVDraw::AntiLine(&b, 2, 20, 20, 12, white);  // y -> 23 - y
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, 23 - y)) << x << "," << y;
  // Steep lines swap the roles of the axes.
  Fill(b, 24, 24, 0);
  CVDraw::AntiLine(&b, 3, 2, 11, 20, white);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(y, x)) << x << "," << y;

  // Axis-parallel and diagonal lines are solid, with nothing beside them; colour blends over.
  Fill(a, 24, 24, RGB(0, 0, 200));
  CVDraw::AntiLine(&a, 4, 5, 4, 15, RGB(255, 0, 0));
  CVDraw::AntiLine(&a, 6, 6, 16, 16, RGB(255, 0, 0));
  for (int y = 5; y <= 15; ++y) EXPECT_EQ(a.GetPixel(4, y), RGB(255, 0, 0));
  EXPECT_EQ(a.GetPixel(4, 16), RGB(0, 0, 200));
  EXPECT_EQ(a.GetPixel(3, 10), RGB(0, 0, 200));
  EXPECT_EQ(a.GetPixel(11, 11), RGB(255, 0, 0));
  EXPECT_EQ(a.GetPixel(12, 11), RGB(0, 0, 200));
  Fill(a, 24, 24, RGB(0, 0, 0));
  CVDraw::AntiLine(&a, 0, 0, 2, 1, RGB(255, 255, 255));  // mid step splits evenly
  EXPECT_NEAR(GetRValue(a.GetPixel(1, 0)), 128, 1);
  EXPECT_EQ(GetRValue(a.GetPixel(1, 0)) + GetRValue(a.GetPixel(1, 1)), 255);
  // A point; far-away and null targets are harmless.
  CVDraw::AntiLine(&a, 9, 9, 9, 9, RGB(1, 2, 3));
  EXPECT_EQ(a.GetPixel(9, 9), RGB(1, 2, 3));
  CVDraw::AntiLine(&a, -2000000000, -5, 2000000000, 7, RGB(9, 9, 9));
  EXPECT_EQ(a.GetPixel(12, 1), RGB(9, 9, 9));
  CVDraw::AntiLine(static_cast<CDC*>(nullptr), 0, 0, 5, 5, 0);
  CMemBitDC empty;
  CVDraw::AntiLine(&empty, 0, 0, 5, 5, 0);
}

TEST(VDraw, DrawFrameRectOutlinesTheBox) {
  CMemBitDC dc;
  ASSERT_TRUE(dc.SetSize(12, 10));
  dc.SetBkColor(RGB(7, 7, 7));
  const COLORREF c = RGB(0xDC, 0x0F, 0x1D);
  DrawFrameRect(&dc, 2, 3, 6, 4, c);
  EXPECT_EQ(dc.GetBkColor(), RGB(7, 7, 7));
  for (int x = 2; x < 8; ++x) {
    EXPECT_EQ(dc.GetPixel(x, 3), c);
    EXPECT_EQ(dc.GetPixel(x, 6), c);
  }
  for (int y = 3; y < 7; ++y) {
    EXPECT_EQ(dc.GetPixel(2, y), c);
    EXPECT_EQ(dc.GetPixel(7, y), c);
  }
  EXPECT_EQ(dc.GetPixel(8, 3), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(2, 7), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(4, 5), RGB(0, 0, 0));  // inside stays
  DrawFrameRect(&dc, 0, 0, 0, 5, c);
  DrawFrameRect(&dc, 0, 0, 5, -1, c);
  DrawFrameRect(static_cast<CDC*>(nullptr), 0, 0, 5, 5, c);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0));
  DrawFrameRect(&dc, 9, 9, 1, 1, c);
  EXPECT_EQ(dc.GetPixel(9, 9), c);
}

TEST(VDraw, NullBackWindowClassHasNoBrush) {
  winport::headless::Reset();
  LPCWSTR name = GetNullBackWndClass();
  ASSERT_NE(name, nullptr);
  ASSERT_NE(name[0], L'\0');
  EXPECT_EQ(CString(name), CString(GetNullBackWndClass()));
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(AfxGetInstanceHandle(), name, &wc));
  EXPECT_EQ(wc.hbrBackground, nullptr);
  HWND top = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  HWND child = CreateWindowExW(0, name, L"", WS_CHILD | WS_VISIBLE, 5, 5, 20, 10, top, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsWindow(child));
  DestroyWindow(top);
  EXPECT_FALSE(IsWindow(child));
}
