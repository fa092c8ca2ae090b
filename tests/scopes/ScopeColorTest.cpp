// The RGB side counts pixels straight from VYUY pairs: its per-pixel colour must be the
// companion's, for every luma and chroma.
#include <gtest/gtest.h>

#include <vector>

#include "companion/ColorConvert.h"
#include "scopes/ScopeColor.h"

TEST(ScopeColor, PairsToRGBEqualTheCompanionForEveryCode) {
  std::vector<uint8_t> frame(256 * 256 * 2), argb(256 * 256 * 4);
  for (int u = 0; u < 256; ++u) {
    for (int v = 0; v < 256; ++v)
      for (int k = 0; k < 128; ++k) {
        uint8_t* p = &frame[(v * 128 + k) * 4];
        p[0] = uint8_t(2 * k), p[1] = uint8_t(u), p[2] = uint8_t(2 * k + 1), p[3] = uint8_t(v);
      }
    VYUY2ARGB(frame.data(), 256, 256, 512, 0, argb.data());
    for (int v = 0; v < 256; ++v) {
      const auto c = scopes_detail::PairChroma(u, v);
      for (int y = 0; y < 256; ++y) {
        int b, g, r;
        scopes_detail::PixelRGB(y, c, b, g, r);
        const uint8_t* px = &argb[(v * 256 + y) * 4];
        ASSERT_EQ(b, px[0]) << y << " " << u << " " << v;
        ASSERT_EQ(g, px[1]) << y << " " << u << " " << v;
        ASSERT_EQ(r, px[2]) << y << " " << u << " " << v;
      }
    }
  }
}
