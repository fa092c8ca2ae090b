// The message-box symbols against the strip's own pixels: each chosen image appears where it is
// drawn, with the strip's teal key showing the background instead.
#include <gtest/gtest.h>

#include <vector>

#include "ParvaneU.h"
#include "support/Canvas.h"

namespace {

constexpr winport::Pixel kTeal = 0x008080;  // 0x808000 as a COLORREF
constexpr int kSize = 32;

std::vector<winport::Pixel> StripPixels() {
  CBitmap strip;
  std::vector<winport::Pixel> px;
  if (!strip.LoadBitmap(L"IDB_MB_IMAGE")) return px;
  BITMAP bm{};
  strip.GetBitmap(&bm);
  if (bm.bmWidth != 4 * kSize || bm.bmHeight != kSize) return px;
  px.resize(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
  strip.GetBitmapBits(static_cast<DWORD>(px.size() * 4), px.data());
  return px;
}

// Mismatching pixels between the canvas at (x0, y0) and strip image `image`.
int Mismatches(const testsupport::Canvas& c, int x0, int y0, int image, COLORREF back,
               const std::vector<winport::Pixel>& strip) {
  int bad = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const winport::Pixel s = strip[static_cast<std::size_t>(y) * 4 * kSize + image * kSize + x] & 0xFFFFFF;
      const COLORREF want = s == kTeal ? back : winport::ToColorref(s);
      bad += c.At(x0 + x, y0 + y) != want;
    }
  }
  return bad;
}

}  // namespace

TEST(SysMbIcons, EachFlagDrawsItsSymbolWithTheKeyTransparent) {
  const std::vector<winport::Pixel> strip = StripPixels();
  ASSERT_EQ(strip.size(), 4u * kSize * kSize);
  struct Case {
    int flag, image;
  };
  const Case cases[] = {{0, 0},    {0x10, 0}, {0x20, 1}, {0x30, 2},
                        {0x40, 3}, {0x50, 0}, {0x21, 0}};  // whole-value match: 0x21 is not a question
  CSysMbIcons icons;
  for (COLORREF back : {RGB(255, 255, 255), RGB(30, 60, 90)}) {
    testsupport::Canvas canvas(40, 40, back);
    for (const Case& c : cases) {
      canvas.dc.FillSolidRect(0, 0, 40, 40, back);
      icons.Draw(&canvas.dc, CPoint(5, 3), c.flag, RGB(255, 0, 255));
      EXPECT_EQ(Mismatches(canvas, 5, 3, c.image, back, strip), 0) << "flag " << c.flag;
      // Nothing is drawn outside the symbol's box.
      EXPECT_EQ(canvas.CountNot(0, 0, 40, 3, back) + canvas.CountNot(0, 35, 40, 40, back), 0);
    }
  }
}

TEST(SysMbIcons, FourInARowAndANullDC) {
  const std::vector<winport::Pixel> strip = StripPixels();
  ASSERT_EQ(strip.size(), 4u * kSize * kSize);
  CSysMbIcons icons;
  testsupport::Canvas canvas(4 * kSize, kSize, RGB(255, 255, 255));
  for (int i = 0; i < 4; ++i) icons.Draw(&canvas.dc, CPoint(i * kSize, 0), 0x10 * (i + 1), RGB(0, 0, 0));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Mismatches(canvas, i * kSize, 0, i, RGB(255, 255, 255), strip), 0);
  icons.Draw(nullptr, CPoint(0, 0), 0x10, 0);  // a null DC draws nothing and does not fail hard
}
