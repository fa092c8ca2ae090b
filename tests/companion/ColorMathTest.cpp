// Whoever counts pixels straight from VYUY pairs uses the pair maths of ColorMath.h: it must give
// the frame conversion's colours for every luma and chroma, and the pair swap must invert itself.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "companion/ColorConvert.h"
#include "companion/ColorMath.h"

TEST(ColorMath, PairsToRGBEqualTheFrameConversionForEveryCode) {
  std::vector<uint8_t> frame(256 * 256 * 2), argb(256 * 256 * 4);
  for (int u = 0; u < 256; ++u) {
    for (int v = 0; v < 256; ++v)
      for (int k = 0; k < 128; ++k) {
        uint8_t* p = &frame[(v * 128 + k) * 4];
        p[0] = uint8_t(2 * k), p[1] = uint8_t(u), p[2] = uint8_t(2 * k + 1), p[3] = uint8_t(v);
      }
    VYUY2ARGB(frame.data(), 256, 256, 512, 0, argb.data());
    for (int v = 0; v < 256; ++v) {
      const auto c = kestrune::PairChroma(u, v);
      for (int y = 0; y < 256; ++y) {
        int b, g, r;
        kestrune::PixelRGB(y, c, b, g, r);
        const uint8_t* px = &argb[(v * 256 + y) * 4];
        ASSERT_EQ(b, px[0]) << y << " " << u << " " << v;
        ASSERT_EQ(g, px[1]) << y << " " << u << " " << v;
        ASSERT_EQ(r, px[2]) << y << " " << u << " " << v;
      }
    }
  }
}

TEST(ColorMath, PairSwapExchangesTheBytesOfEachHalfBothWays) {
  uint8_t yvyu[52], vyuy[52], back[52];
  for (int i = 0; i < 52; ++i) yvyu[i] = uint8_t(i * 11 + 3);
  kestrune::SwapPairs(yvyu, vyuy, 13);  // through the eight-, four- and one-pair loops
  for (int i = 0; i < 52; i += 4) {
    EXPECT_EQ(vyuy[i], yvyu[i + 1]);      // Y1
    EXPECT_EQ(vyuy[i + 1], yvyu[i]);      // U
    EXPECT_EQ(vyuy[i + 2], yvyu[i + 3]);  // Y2
    EXPECT_EQ(vyuy[i + 3], yvyu[i + 2]);  // V
  }
  kestrune::SwapPairs(vyuy, back, 13);
  EXPECT_EQ(0, std::memcmp(back, yvyu, 52));
  std::vector<uint8_t> argb(8 * 4), viaSwap(16), direct(16);
  for (size_t i = 0; i < argb.size(); ++i) argb[i] = uint8_t(i * 37);
  ARGB2VYUY(argb.data(), 8, 1, 32, 0, viaSwap.data());
  ARGB2YVYU(argb.data(), 8, direct.data());
  kestrune::SwapPairs(viaSwap.data(), viaSwap.data(), 4);
  EXPECT_EQ(viaSwap, direct);
}
