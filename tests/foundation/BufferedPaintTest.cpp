// The shared double-buffered paint: what reaches the window when the two buffers agree, and the
// empty colour, never a stale buffer, when they do not.
#include <gtest/gtest.h>

#include "foundation/BufferedPaint.h"

namespace {

constexpr COLORREF kBack = RGB(200, 0, 0), kLive = RGB(0, 0, 220), kEmpty = RGB(10, 20, 30);

COLORREF PaintAndRead(CMemBitDC& back, CMemBitDC& draw, int x, int y) {
  CMemBitDC target;
  EXPECT_TRUE(target.SetSize(20, 20));
  target.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
  const RECT rc{0, 0, 20, 20};
  foundation::PaintBuffered(&target, rc, back, draw, kEmpty, [](CDC* pDC) { pDC->FillSolidRect(0, 0, 4, 4, kLive); });
  return target.GetPixel(x, y);
}

TEST(BufferedPaint, ComposesBackAndLivePartsOrShowsTheEmptyColour) {
  CMemBitDC back, draw;
  EXPECT_EQ(PaintAndRead(back, draw, 10, 10), kEmpty);  // no buffers yet

  ASSERT_TRUE(foundation::SizeBuffers(back, draw, 20, 20));
  back.FillSolidRect(0, 0, 20, 20, kBack);
  EXPECT_EQ(PaintAndRead(back, draw, 10, 10), kBack);
  EXPECT_EQ(PaintAndRead(back, draw, 1, 1), kLive);

  // Only one buffer took the new size, as when the second allocation fails.
  ASSERT_TRUE(draw.SetSize(30, 30));
  EXPECT_EQ(PaintAndRead(back, draw, 10, 10), kEmpty);
  EXPECT_EQ(PaintAndRead(back, draw, 1, 1), kEmpty);

  ASSERT_TRUE(foundation::SizeBuffers(back, draw, 30, 30));
  back.FillSolidRect(0, 0, 30, 30, kBack);
  EXPECT_EQ(PaintAndRead(back, draw, 10, 10), kBack);
}

}  // namespace
