#include <gtest/gtest.h>

#include "support/Canvas.h"

using namespace testsupport;

TEST(GdiRegion, SetOperationsKeepPixelsExact) {
  winport::Region a(RECT{0, 0, 10, 10});
  winport::Region b(RECT{5, 5, 15, 15});
  winport::Region u = a;
  u.Union(b);
  EXPECT_TRUE(u.Contains(0, 0));
  EXPECT_TRUE(u.Contains(14, 14));
  EXPECT_FALSE(u.Contains(12, 2));
  EXPECT_EQ(u.Bounds().right, 15);
  winport::Region i = a;
  i.Intersect(b);
  EXPECT_TRUE(i == winport::Region(RECT{5, 5, 10, 10}));
  winport::Region d = a;
  d.Subtract(b);
  EXPECT_TRUE(d.Contains(4, 9));
  EXPECT_FALSE(d.Contains(5, 5));
  EXPECT_TRUE(d.Contains(9, 4));
  winport::Region x = a;
  x.Xor(b);
  EXPECT_FALSE(x.Contains(7, 7));
  EXPECT_TRUE(x.Contains(12, 12));
  EXPECT_TRUE(x.Contains(2, 2));
  x.Offset(100, 0);
  EXPECT_TRUE(x.Contains(102, 2));
  // Pixel count of the union: 100 + 100 - 25.
  int n = 0;
  for (const RECT& r : u.Rects()) n += (r.right - r.left) * (r.bottom - r.top);
  EXPECT_EQ(n, 175);

  CRgn r1, r2, out;
  r1.CreateRectRgn(0, 0, 10, 10);
  r2.CreateRectRgn(5, 5, 15, 15);
  out.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(out.CombineRgn(&r1, &r2, RGN_AND), SIMPLEREGION);
  CRect box;
  EXPECT_EQ(out.GetRgnBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(5, 5, 10, 10));
  EXPECT_EQ(out.CombineRgn(&r1, &r2, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(out.PtInRegion(14, 14));
  EXPECT_EQ(out.CombineRgn(&r1, &r1, RGN_DIFF), NULLREGION);
  EXPECT_EQ(out.CombineRgn(&r2, nullptr, RGN_COPY), SIMPLEREGION);
  out.OffsetRgn(-5, -5);
  EXPECT_TRUE(out.PtInRegion(0, 0));
  EXPECT_FALSE(out.PtInRegion(10, 10));
  // Two halves of a rectangle make a simple region again.
  CRgn half1, half2;
  half1.CreateRectRgn(0, 0, 4, 6);
  half2.CreateRectRgn(4, 0, 9, 6);
  EXPECT_EQ(out.CombineRgn(&half1, &half2, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(out.CombineRgn(&r1, &half1, RGN_DIFF), COMPLEXREGION);  // an L
  out.SetRectRgn(8, 8, 2, 2);  // corners ordered
  EXPECT_TRUE(out.PtInRegion(2, 2));

  // Filling an L-shaped region touches exactly its pixels.
  Canvas c(16, 16);
  out.CombineRgn(&r1, &r2, RGN_DIFF);
  CBrush red(kRed);
  EXPECT_TRUE(c.dc.FillRgn(&out, &red));
  EXPECT_EQ(c.Count(0, 0, 16, 16, kRed), 75);
  EXPECT_EQ(c.At(7, 7), kWhite);
}

TEST(GdiClip, ClipRegionsRestrictDrawingAndCombineWithAnd) {
  Canvas c(20, 20);
  CRgn left;
  left.CreateRectRgn(0, 0, 10, 20);
  c.dc.SelectClipRgn(&left);
  c.dc.FillSolidRect(0, 0, 20, 20, kRed);
  EXPECT_EQ(c.Count(0, 0, 20, 20, kRed), 200);
  EXPECT_EQ(c.At(10, 0), kWhite);

  CRgn top;
  top.CreateRectRgn(0, 0, 20, 5);
  c.dc.SelectClipRgn(&top, RGN_AND);
  c.dc.FillSolidRect(0, 0, 20, 20, kBlue);
  EXPECT_EQ(c.Count(0, 0, 20, 20, kBlue), 50);
  CRect box;
  EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(0, 0, 10, 5));
  EXPECT_TRUE(c.dc.PtVisible(9, 4));
  EXPECT_FALSE(c.dc.PtVisible(9, 5));

  c.dc.ExcludeClipRect(0, 0, 5, 5);
  c.dc.FillSolidRect(0, 0, 20, 20, kGreen);
  EXPECT_EQ(c.Count(0, 0, 20, 20, kGreen), 25);
  EXPECT_EQ(c.At(4, 4), kBlue);

  c.dc.SelectClipRgn(nullptr);  // lifts the clip
  c.dc.IntersectClipRect(18, 18, 25, 25);
  c.dc.FillSolidRect(0, 0, 20, 20, kBlack);
  EXPECT_EQ(c.Count(0, 0, 20, 20, kBlack), 4);

  // A clip region is device space: the viewport origin does not move it.
  c.dc.SelectClipRgn(&top);
  c.dc.SetViewportOrg(0, 3);
  c.dc.FillSolidRect(0, 0, 20, 20, kGreen);
  EXPECT_EQ(c.Count(0, 3, 20, 5, kGreen), 40);
  EXPECT_EQ(c.At(0, 2), kBlue);
  EXPECT_EQ(c.At(0, 5), kRed);
}

TEST(GdiState, ViewportOriginAndSaveRestore) {
  Canvas c(20, 20);
  EXPECT_EQ(c.dc.SetViewportOrg(5, 6), CPoint(0, 0));
  c.dc.FillSolidRect(0, 0, 2, 2, kRed);
  EXPECT_EQ(c.Count(5, 6, 7, 8, kRed), 4);
  c.dc.OffsetViewportOrg(-5, -6);
  EXPECT_EQ(c.dc.GetViewportOrg(), CPoint(0, 0));
  c.dc.SetPixel(0, 0, kBlue);
  EXPECT_EQ(c.At(0, 0), kBlue);
  EXPECT_EQ(c.dc.GetPixel(0, 0), kBlue);

  c.dc.SetBkColor(kRed);
  c.dc.SetTextColor(kGreen);
  const int level1 = c.dc.SaveDC();
  CPen pen(PS_SOLID, 1, kBlue);
  CPen* oldPen = c.dc.SelectObject(&pen);
  ASSERT_NE(oldPen, nullptr);
  EXPECT_EQ(oldPen->m_hObject, ::GetStockObject(BLACK_PEN));
  c.dc.SetBkColor(kBlue);
  c.dc.SetViewportOrg(3, 3);
  CRgn clip;
  clip.CreateRectRgn(0, 0, 1, 1);
  c.dc.SelectClipRgn(&clip);
  const int level2 = c.dc.SaveDC();
  EXPECT_EQ(level2, level1 + 1);
  c.dc.SetBkColor(kWhite);
  EXPECT_TRUE(c.dc.RestoreDC(-1));  // back to level 2's state
  EXPECT_EQ(c.dc.GetBkColor(), kBlue);
  EXPECT_TRUE(c.dc.RestoreDC(level1));
  EXPECT_EQ(c.dc.GetBkColor(), kRed);
  EXPECT_EQ(c.dc.GetTextColor(), kGreen);
  EXPECT_EQ(c.dc.GetViewportOrg(), CPoint(0, 0));
  EXPECT_EQ(::GetCurrentObject(c.dc, OBJ_PEN), ::GetStockObject(BLACK_PEN));
  c.dc.FillSolidRect(10, 10, 1, 1, kRed);  // clip gone again
  EXPECT_EQ(c.At(10, 10), kRed);
  EXPECT_FALSE(c.dc.RestoreDC(-1));  // nothing saved any more
  EXPECT_FALSE(c.dc.RestoreDC(5));
}

TEST(GdiState, SelectObjectReturnsThePreviousObjectAndKeepsItAlive) {
  Canvas c(4, 4);
  CBrush red(kRed);
  CBrush* old = c.dc.SelectObject(&red);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->m_hObject, ::GetStockObject(WHITE_BRUSH));
  CBrush blue(kBlue);
  EXPECT_EQ(c.dc.SelectObject(&blue), &red);  // the attached object itself
  EXPECT_EQ(c.dc.SelectObject(&red), &blue);

  // Deleting a selected object does not pull the pixels from under the DC.
  CBitmap bmp;
  ASSERT_TRUE(bmp.CreateCompatibleBitmap(&c.dc, 3, 3));
  CDC mem;
  ASSERT_TRUE(mem.CreateCompatibleDC(&c.dc));
  CBitmap* defaultBitmap = mem.SelectObject(&bmp);
  ASSERT_NE(defaultBitmap, nullptr);
  BITMAP info{};
  EXPECT_EQ(defaultBitmap->GetBitmap(&info), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(info.bmWidth, 1);
  bmp.DeleteObject();
  mem.FillSolidRect(0, 0, 3, 3, kGreen);
  EXPECT_EQ(mem.GetPixel(2, 2), kGreen);
  // The wrapper of a deleted handle still has the class asked for.
  CBitmap* stale = mem.SelectObject(defaultBitmap);
  ASSERT_NE(stale, nullptr);
  EXPECT_NE(dynamic_cast<CBitmap*>(static_cast<CGdiObject*>(stale)), nullptr);
  EXPECT_EQ(stale->GetBitmap(&info), 0);

  // Stock objects survive DeleteObject.
  HGDIOBJ black = ::GetStockObject(BLACK_BRUSH);
  EXPECT_TRUE(::DeleteObject(black));
  EXPECT_EQ(::GetObjectType(black), OBJ_BRUSH);
  LOGBRUSH lb{};
  EXPECT_EQ(::GetObjectW(black, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, kBlack);
  EXPECT_EQ(::GetStockObject(HOLLOW_BRUSH), ::GetStockObject(NULL_BRUSH));
  LOGFONTW lf{};
  EXPECT_GT(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), 0);

  CFont font;
  ASSERT_TRUE(font.CreatePointFont(80, L"Tahoma"));
  ASSERT_TRUE(font.GetLogFont(&lf));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(c.dc, BITSPIXEL), 32);
  // Every DC describes the display, not its bitmap.
  EXPECT_EQ(GetDeviceCaps(c.dc, HORZRES), 1920);
  winport::SetDisplaySize(800, 600);
  EXPECT_EQ(GetDeviceCaps(c.dc, VERTRES), 600);
  winport::SetDisplaySize(1920, 1080);
}

TEST(GdiState, BitmapsHoldRgbPixelsAndTheirBits) {
  const DWORD bits[6] = {0x00112233, 0x00445566, 0x00778899, 0x00AABBCC, 0, 0x00FFFFFF};
  CBitmap bmp;
  ASSERT_TRUE(bmp.CreateBitmap(3, 2, 1, 32, bits));
  BITMAP bm{};
  bmp.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidthBytes, 12);
  DWORD back[6] = {};
  EXPECT_EQ(bmp.GetBitmapBits(sizeof back, back), sizeof back);
  EXPECT_EQ(back[3], 0x00AABBCCu);
  CDC mem;
  mem.CreateCompatibleDC(nullptr);
  CBitmap* old = mem.SelectObject(&bmp);
  EXPECT_EQ(mem.GetPixel(0, 0), RGB(0x11, 0x22, 0x33));
  mem.SetPixel(2, 1, RGB(1, 2, 3));
  bmp.GetBitmapBits(sizeof back, back);
  EXPECT_EQ(back[5], 0x00010203u);
  back[0] = 0x00FF0000;
  EXPECT_EQ(bmp.SetBitmapBits(4, back), 4u);
  EXPECT_EQ(mem.GetPixel(0, 0), kRed);
  mem.SelectObject(old);

  // A device DC over a window surface takes no bitmap.
  auto surface = std::make_shared<winport::Surface>(5, 5, 0);
  HDC window = winport::CreateDCForSurface(surface);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::SelectObject(window, bmp), nullptr);
  EXPECT_EQ(winport::GetDCSurface(window), surface);
  winport::Region visible(RECT{0, 0, 2, 2});
  winport::SetDCVisibleRegion(window, &visible);
  CDC* wrapped = CDC::FromHandle(window);
  ASSERT_NE(wrapped, nullptr);
  wrapped->FillSolidRect(0, 0, 5, 5, kRed);
  EXPECT_EQ(surface->At(1, 1), 0x00FF0000u);
  EXPECT_EQ(surface->At(2, 2), 0u);  // the owner's visible region holds
  EXPECT_TRUE(::DeleteDC(window));
  EXPECT_FALSE(::DeleteDC(window));
}
