// Bitmaps past the surface cap are refused (null), not thrown for or allocated.
#include <gtest/gtest.h>

#include <climits>

#include "support/Canvas.h"

using namespace testsupport;

TEST(GdiLimits, BitmapsPastTheCapAreRefused) {
  Canvas c(8, 8);
  EXPECT_EQ(::CreateBitmap(32768, 32768, 1, 32, nullptr), nullptr);
  EXPECT_EQ(::CreateCompatibleBitmap(c.dc, 32768, 32768), nullptr);
  EXPECT_EQ(::CreateCompatibleBitmap(c.dc, 32769, 1), nullptr);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 4;
  bmi.bmiHeader.biHeight = INT_MIN;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(::CreateDIBSection(c.dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  std::uint32_t pixel = 0x00FF0000;
  EXPECT_EQ(::StretchDIBits(c.dc, 0, 0, 4, 4, 0, 0, 1, 1, &pixel, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  bmi.bmiHeader.biHeight = -1;
  bmi.bmiHeader.biWidth = 1;
  EXPECT_NE(::StretchDIBits(c.dc, 0, 0, 4, 4, 0, 0, 1, 1, &pixel, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(c.At(2, 2), RGB(255, 0, 0));
}
