#include <gtest/gtest.h>

#include <vector>

#include "support/Canvas.h"

using namespace testsupport;

TEST(GdiBlit, MemoryDcBitBltCopiesAndRasterOpsCombine) {
  Canvas dst(20, 20);
  Canvas src(8, 8, kBlue);
  src.dc.FillSolidRect(0, 0, 2, 2, kRed);
  EXPECT_TRUE(dst.dc.BitBlt(5, 6, 4, 3, &src.dc, 1, 1, SRCCOPY));
  EXPECT_EQ(dst.At(5, 6), kRed);  // source (1,1)
  EXPECT_EQ(dst.At(6, 6), kBlue);
  EXPECT_EQ(dst.At(8, 8), kBlue);
  EXPECT_EQ(dst.At(9, 8), kWhite);
  EXPECT_EQ(dst.At(8, 9), kWhite);
  EXPECT_EQ(dst.CountNot(0, 0, 20, 20, kWhite), 12);

  // Source pixels beyond the source bitmap leave the destination alone.
  dst.dc.BitBlt(0, 0, 4, 4, &src.dc, 6, 6, SRCCOPY);
  EXPECT_EQ(dst.At(1, 1), kBlue);
  EXPECT_EQ(dst.At(2, 2), kWhite);

  dst.dc.PatBlt(10, 0, 2, 2, BLACKNESS);
  EXPECT_EQ(dst.At(11, 1), kBlack);
  dst.dc.PatBlt(10, 0, 1, 1, WHITENESS);
  EXPECT_EQ(dst.At(10, 0), kWhite);
  dst.dc.BitBlt(10, 0, 2, 1, &src.dc, 4, 4, SRCINVERT);  // white ^ blue, black ^ blue
  EXPECT_EQ(dst.At(10, 0), RGB(255, 255, 0));
  EXPECT_EQ(dst.At(11, 0), kBlue);
  CBrush green(kGreen);
  dst.dc.SelectObject(&green);
  dst.dc.PatBlt(14, 14, 2, 2, PATCOPY);
  EXPECT_EQ(dst.Count(14, 14, 16, 16, kGreen), 4);
  dst.dc.SelectStockObject(WHITE_BRUSH);

  // Raster operations combine per channel.
  Canvas ops(4, 1, RGB(0xF0, 0x0F, 0x33));
  Canvas opsSrc(4, 1, RGB(0x3C, 0x3C, 0x0F));
  ops.dc.BitBlt(0, 0, 1, 1, &opsSrc.dc, 0, 0, SRCAND);
  ops.dc.BitBlt(1, 0, 1, 1, &opsSrc.dc, 0, 0, SRCPAINT);
  ops.dc.BitBlt(2, 0, 1, 1, &opsSrc.dc, 0, 0, NOTSRCCOPY);
  RECT last{3, 0, 4, 1};
  ops.dc.InvertRect(&last);
  EXPECT_EQ(ops.At(0, 0), RGB(0x30, 0x0C, 0x03));
  EXPECT_EQ(ops.At(1, 0), RGB(0xFC, 0x3F, 0x3F));
  EXPECT_EQ(ops.At(2, 0), RGB(0xC3, 0xC3, 0xF0));
  EXPECT_EQ(ops.At(3, 0), RGB(0x0F, 0xF0, 0xCC));

  // Overlapping copy within one surface reads what was there before.
  Canvas self(10, 1);
  for (int x = 0; x < 5; ++x) self.dc.SetPixel(x, 0, RGB(x * 10, 0, 0));
  self.dc.BitBlt(2, 0, 5, 1, &self.dc, 0, 0, SRCCOPY);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(self.At(x + 2, 0), RGB(x * 10, 0, 0)) << x;
}

TEST(GdiBlit, StretchAndTransparentBlt) {
  Canvas src(2, 2, kRed);
  src.dc.SetPixel(1, 0, kGreen);
  src.dc.SetPixel(0, 1, kBlue);
  Canvas dst(10, 10);
  dst.dc.StretchBlt(0, 0, 4, 4, &src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dst.Count(0, 0, 2, 2, kRed), 4);
  EXPECT_EQ(dst.Count(2, 0, 4, 2, kGreen), 4);
  EXPECT_EQ(dst.Count(0, 2, 2, 4, kBlue), 4);
  // Mirrored by a negative source width.
  dst.dc.StretchBlt(6, 0, 2, 1, &src.dc, 2, 0, -2, 1, SRCCOPY);  // columns 1, 0
  EXPECT_EQ(dst.At(6, 0), kGreen);
  EXPECT_EQ(dst.At(7, 0), kRed);

  // The key colour is exact: a near miss is copied.
  Canvas key(3, 1, kGreen);
  key.dc.SetPixel(1, 0, RGB(0, 254, 0));
  key.dc.SetPixel(2, 0, kRed);
  Canvas t(3, 1, kBlue);
  EXPECT_TRUE(t.dc.TransparentBlt(0, 0, 3, 1, &key.dc, 0, 0, 3, 1, kGreen));
  EXPECT_EQ(t.At(0, 0), kBlue);
  EXPECT_EQ(t.At(1, 0), RGB(0, 254, 0));
  EXPECT_EQ(t.At(2, 0), kRed);
}

TEST(GdiBlit, AlphaBlendConstantAndPremultipliedAlpha) {
  Canvas src(2, 1);
  Canvas dst(4, 1, kBlack);
  // Constant alpha only: halfway between white and black.
  const BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  EXPECT_TRUE(dst.dc.AlphaBlend(0, 0, 1, 1, &src.dc, 0, 0, 1, 1, half));
  EXPECT_EQ(dst.At(0, 0), RGB(128, 128, 128));

  // Per-pixel premultiplied alpha: a = 0x80 red premultiplied is 0x80 red; over blue.
  src.surface->Set(0, 0, 0x80800000u);
  src.surface->Set(1, 0, 0x00000000u);  // fully transparent
  dst.dc.FillSolidRect(0, 0, 4, 1, kBlue);
  const BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_TRUE(dst.dc.AlphaBlend(0, 0, 2, 1, &src.dc, 0, 0, 2, 1, perPixel));
  EXPECT_EQ(dst.At(0, 0), RGB(128, 0, 127));
  EXPECT_EQ(dst.At(1, 0), kBlue);
  // Constant alpha scales the premultiplied source too.
  dst.dc.FillSolidRect(0, 0, 4, 1, kBlack);
  src.surface->Set(0, 0, 0xFFFF0000u);
  const BLENDFUNCTION both{AC_SRC_OVER, 0, 64, AC_SRC_ALPHA};
  dst.dc.AlphaBlend(2, 0, 1, 1, &src.dc, 0, 0, 1, 1, both);
  EXPECT_EQ(dst.At(2, 0), RGB(64, 0, 0));
  // A source rectangle outside the source bitmap fails.
  EXPECT_FALSE(dst.dc.AlphaBlend(0, 0, 2, 1, &src.dc, 1, 0, 2, 1, both));
}

TEST(GdiBlit, GradientFillFirstAndLastColumnsAndRows) {
  Canvas c(10, 10);
  TRIVERTEX v[2] = {{0, 0, 0x0000, 0x0000, 0xFF00, 0}, {8, 4, 0xFF00, 0x0000, 0x0000, 0}};
  GRADIENT_RECT r{0, 1};
  EXPECT_TRUE(c.dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(c.At(0, 0), kBlue);  // first column exactly the first colour
  EXPECT_EQ(c.At(0, 3), kBlue);
  // Last column: first + (last - first) * 7 / 8 in 16 bits.
  EXPECT_EQ(c.At(7, 0), RGB(0xDF, 0, 0xFF - 0xDF - 1));
  EXPECT_EQ(c.At(8, 0), kWhite);
  EXPECT_EQ(c.At(0, 4), kWhite);
  // Red rises monotonically left to right.
  for (int x = 1; x < 8; ++x) EXPECT_GT(GetRValue(c.At(x, 1)), GetRValue(c.At(x - 1, 1))) << x;

  TRIVERTEX w[2] = {{0, 5, 0xFF00, 0xFF00, 0xFF00, 0}, {10, 9, 0x0000, 0x0000, 0x0000, 0}};
  EXPECT_TRUE(c.dc.GradientFill(w, 2, &r, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(c.At(3, 5), kWhite);  // first row exact
  EXPECT_EQ(c.At(3, 8), RGB(0x3F, 0x3F, 0x3F));  // 0xFF00 * 1/4
  EXPECT_EQ(c.At(0, 6), c.At(9, 6));

  GRADIENT_RECT bad{0, 5};
  EXPECT_FALSE(c.dc.GradientFill(v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(GdiBlit, DibsTopDownAndBottomUp) {
  // 2 x 2 image: rows red/green over blue/white in memory order.
  const DWORD bits[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 2;
  bmi.bmiHeader.biHeight = -2;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  Canvas c(6, 6, kBlack);
  EXPECT_EQ(c.dc.SetDIBitsToDevice(1, 1, 2, 2, 0, 0, 0, 2, bits, &bmi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(c.At(2, 1), kGreen);
  EXPECT_EQ(c.At(1, 2), kBlue);
  EXPECT_EQ(c.At(2, 2), kWhite);
  EXPECT_EQ(c.At(3, 3), kBlack);

  bmi.bmiHeader.biHeight = 2;  // bottom-up: the first row in memory is the bottom one
  c.dc.SetDIBitsToDevice(3, 3, 2, 2, 0, 0, 0, 2, bits, &bmi, DIB_RGB_COLORS);
  EXPECT_EQ(c.At(3, 4), kRed);
  EXPECT_EQ(c.At(3, 3), kBlue);

  bmi.bmiHeader.biHeight = -2;
  c.dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, bits, &bmi, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(c.Count(0, 0, 2, 2, kRed), 4);
  EXPECT_EQ(c.Count(2, 2, 4, 4, kWhite), 4);

  // A band of a bottom-up image: stored rows 2 and 3 are the image's top two rows.
  const DWORD band[2] = {0x00FF0000, 0x0000FF00};  // stored row 2 (image row 1), row 3 (image row 0)
  BITMAPINFO tall = bmi;
  tall.bmiHeader.biWidth = 1;
  tall.bmiHeader.biHeight = 4;
  Canvas b(1, 4, kBlack);
  EXPECT_EQ(b.dc.SetDIBitsToDevice(0, 0, 1, 4, 0, 0, 2, 2, band, &tall, DIB_RGB_COLORS), 2);
  EXPECT_EQ(b.At(0, 0), kGreen);
  EXPECT_EQ(b.At(0, 1), kRed);
  EXPECT_EQ(b.At(0, 2), kBlack);  // rows not in the band stay

  // 24-bit rows: B, G, R bytes, padded to four bytes.
  const BYTE rgb24[8] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0, 0};
  BITMAPINFO wide = bmi;
  wide.bmiHeader.biHeight = -1;
  wide.bmiHeader.biBitCount = 24;
  Canvas w24(2, 1);
  EXPECT_EQ(w24.dc.SetDIBitsToDevice(0, 0, 2, 1, 0, 0, 0, 1, rgb24, &wide, DIB_RGB_COLORS), 1);
  EXPECT_EQ(w24.At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(w24.At(1, 0), RGB(0x40, 0x50, 0x60));

  bmi.bmiHeader.biBitCount = 16;  // unsupported formats fail cleanly
  EXPECT_EQ(c.dc.SetDIBitsToDevice(0, 0, 2, 2, 0, 0, 0, 2, bits, &bmi, DIB_RGB_COLORS), 0);
  EXPECT_EQ(c.dc.SetDIBitsToDevice(0, 0, 2, 2, 0, 0, 0, 2, nullptr, &bmi, DIB_RGB_COLORS), 0);
}

TEST(GdiBlit, PatternBrushAlignsToTheBrushOrigin) {
  // 2 x 2 checker: red at (0,0) and (1,1).
  const DWORD bits[4] = {0x00FF0000, 0x000000FF, 0x000000FF, 0x00FF0000};
  CBitmap pattern;
  ASSERT_TRUE(pattern.CreateBitmap(2, 2, 1, 32, bits));
  CBrush brush;
  ASSERT_TRUE(brush.CreatePatternBrush(&pattern));
  Canvas c(8, 8);
  CRect r(1, 1, 5, 5);
  c.dc.FillRect(&r, &brush);
  // Aligned to device (0, 0): the pixel at (1, 1) takes pattern (1, 1).
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(c.At(2, 1), kBlue);
  c.dc.SetBrushOrg(1, 0);
  c.dc.FillRect(&r, &brush);
  EXPECT_EQ(c.At(1, 1), kBlue);
  EXPECT_EQ(c.At(2, 1), kRed);
  // The origin is in device space: moving the viewport does not move the pattern.
  c.dc.SetBrushOrg(0, 0);
  c.dc.SetViewportOrg(1, 0);
  c.dc.FillRect(&r, &brush);
  EXPECT_EQ(c.At(2, 1), kBlue);
  EXPECT_EQ(c.At(3, 1), kRed);
}
