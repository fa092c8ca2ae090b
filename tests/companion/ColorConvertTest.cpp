#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "companion/ColorConvert.h"

namespace {

std::uint32_t Argb(int r, int g, int b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

struct Yuv {
  int y1, u, y2, v;
};
Yuv Unpack(std::uint32_t w) {
  return {int(w & 0xFF), int((w >> 8) & 0xFF), int((w >> 16) & 0xFF), int(w >> 24)};
}
std::uint32_t Pack(int y1, int u, int y2, int v) {
  return std::uint32_t(y1) | (std::uint32_t(u) << 8) | (std::uint32_t(y2) << 16) | (std::uint32_t(v) << 24);
}

Yuv ToYuv(int r, int g, int b) {
  const std::uint32_t px[2] = {Argb(r, g, b), Argb(r, g, b)};
  std::uint32_t out = 0;
  ARGB2VYUY(px, 2, 1, 8, 0, &out);
  return Unpack(out);
}

}  // namespace

TEST(ColorConvert, KnownColoursGiveBt601CodeValues) {
  // 75 % bars from 8-bit RGB 191 (74.9 %): yellow's luma is 161.34, one below the 162 of exact 75 %.
  struct Case {
    int r, g, b, y, u, v;
  } cases[] = {
      {0, 0, 0, 16, 128, 128},       {255, 255, 255, 235, 128, 128},
      {191, 191, 191, 180, 128, 128}, {191, 191, 0, 161, 44, 142},
      {0, 191, 191, 131, 156, 44},    {0, 191, 0, 112, 72, 58},
      {191, 0, 191, 84, 184, 198},    {191, 0, 0, 65, 100, 212},
      {0, 0, 191, 35, 212, 114},      {255, 0, 0, 81, 90, 240},
      {0, 0, 255, 41, 240, 110},
  };
  for (const Case& c : cases) {
    const Yuv yuv = ToYuv(c.r, c.g, c.b);
    EXPECT_EQ(yuv.y1, c.y) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(yuv.y2, c.y);
    EXPECT_EQ(yuv.u, c.u) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(yuv.v, c.v) << c.r << "," << c.g << "," << c.b;
  }
  // The pair's chroma is the mean of its two pixels.
  const std::uint32_t px[2] = {Argb(0, 0, 0), Argb(0, 0, 255)};
  std::uint32_t out = 0;
  ARGB2VYUY(px, 2, 1, 8, 0, &out);
  EXPECT_EQ(Unpack(out).y1, 16);
  EXPECT_EQ(Unpack(out).y2, 41);
  EXPECT_EQ(Unpack(out).u, 184);
}

TEST(ColorConvert, VyuyToArgbToVyuyRoundTripsWithinOne) {
  // Every luma/chroma code whose colour lies inside the RGB cube.
  std::vector<std::uint32_t> src(220), argb(440), back(220);
  int worst = 0, checked = 0;
  for (int u = 16; u <= 240; ++u) {
    for (int v = 16; v <= 240; ++v) {
      for (int y = 16; y <= 235; ++y) src[y - 16] = Pack(y, u, y, v);
      VYUY2ARGB(src.data(), 440, 1, 880, 0, argb.data());
      ARGB2VYUY(argb.data(), 440, 1, 1760, 0, back.data());
      for (int y = 16; y <= 235; ++y) {
        const double l = 1.164383 * (y - 16), cb = u - 128.0, cr = v - 128.0;
        const double r = l + 1.596027 * cr, g = l - 0.391762 * cb - 0.812968 * cr, b = l + 2.017232 * cb;
        if (std::min({r, g, b}) < 0.0 || std::max({r, g, b}) > 255.0) continue;
        const Yuv o = Unpack(src[y - 16]), t = Unpack(back[y - 16]);
        worst = std::max({worst, std::abs(o.y1 - t.y1), std::abs(o.y2 - t.y2), std::abs(o.u - t.u),
                          std::abs(o.v - t.v)});
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000000);
  EXPECT_LE(worst, 1);
}

TEST(ColorConvert, ArgbToVyuyToArgbRoundTripsWithinTwo) {
  std::vector<std::uint32_t> src(512), yuv(256), back(512);
  int worst = 0;
  for (int r = 0; r < 256; r += 3) {
    for (int g = 0; g < 256; g += 1) {
      for (int b = 0; b < 256; ++b) src[2 * b] = src[2 * b + 1] = Argb(r, g, b);
      ARGB2VYUY(src.data(), 512, 1, 2048, 0, yuv.data());
      VYUY2ARGB(yuv.data(), 512, 1, 1024, 0, back.data());
      for (int i = 0; i < 512; ++i) {
        const std::uint32_t a = src[i], c = back[i];
        for (int shift = 0; shift < 24; shift += 8)
          worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((c >> shift) & 0xFF)));
        ASSERT_EQ(c >> 24, 0xFFu);
      }
    }
  }
  EXPECT_LE(worst, 2);
}

TEST(ColorConvert, RowSkipPitchAndPackedOutput) {
  // 6 x 10 ARGB frame with 8 bytes of padding per row; skip 2 samples rows 0, 3, 6.
  const long w = 6, h = 10, pitch = w * 4 + 8;
  std::vector<unsigned char> frame(pitch * h, 0);
  for (long y = 0; y < h; ++y)
    for (long x = 0; x < w; ++x) {
      const std::uint32_t px = Argb(int(y * 20), int(x * 30), 0);
      std::memcpy(&frame[y * pitch + x * 4], &px, 4);
    }
  std::vector<std::uint32_t> out(3 * 3 + 1, 0xDEADBEEF);
  ARGB2VYUY(frame.data(), w, h, pitch, 2, out.data());
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < 3; ++i) {
      const Yuv expect = ToYuv(r * 3 * 20, 2 * i * 30, 0);
      EXPECT_EQ(Unpack(out[r * 3 + i]).y1, expect.y1) << r << " " << i;
    }
  EXPECT_EQ(out[9], 0xDEADBEEFu);

  // Back to ARGB from a packed VYUY frame with its own pitch, skip 1 over 5 rows -> 2 rows.
  std::vector<std::uint32_t> yuv = {Pack(16, 128, 235, 128), 0, Pack(235, 128, 16, 128), 0,
                                    Pack(16, 128, 16, 128),  0, Pack(1, 2, 3, 4),        0,
                                    Pack(9, 9, 9, 9),        0};
  std::vector<std::uint32_t> argb(2 * 3 + 1, 0xDEADBEEF);
  VYUY2ARGB(yuv.data(), 3, 5, 8, 1, argb.data());  // odd width: last pixel repeats the pair's right one
  EXPECT_EQ(argb[0], Argb(0, 0, 0));
  EXPECT_EQ(argb[1], Argb(255, 255, 255));
  EXPECT_EQ(argb[2], Argb(255, 255, 255));
  EXPECT_EQ(argb[3], Argb(0, 0, 0));  // row 2 of the source
  EXPECT_EQ(argb[6], 0xDEADBEEFu);

  // Height below skip + 1 still converts row 0; a one-pixel row has no pair and is black.
  std::uint32_t one[2] = {0, 0xDEADBEEF};
  VYUY2ARGB(yuv.data(), 1, 2, 4, 5, one);
  EXPECT_EQ(one[0], 0xFF000000u);
  EXPECT_EQ(one[1], 0xDEADBEEFu);
}

TEST(ColorConvert, BadGeometryIsRefused) {
  std::vector<std::uint32_t> src(64, Argb(255, 0, 0)), dst(64, 0xDEADBEEF);
  const auto untouched = [&] {
    for (auto w : dst)
      if (w != 0xDEADBEEFu) return false;
    return true;
  };
  ARGB2VYUY(nullptr, 4, 4, 16, 0, dst.data());
  ARGB2VYUY(src.data(), 4, 4, 16, 0, nullptr);
  ARGB2VYUY(src.data(), 0, 4, 16, 0, dst.data());
  ARGB2VYUY(src.data(), -4, 4, 16, 0, dst.data());
  ARGB2VYUY(src.data(), 4, 0, 16, 0, dst.data());
  ARGB2VYUY(src.data(), 4, -3, 16, 0, dst.data());
  ARGB2VYUY(src.data(), 4, 4, 15, 0, dst.data());   // pitch below a row
  ARGB2VYUY(src.data(), 4, 4, -16, 0, dst.data());
  VYUY2ARGB(src.data(), 4, 4, 7, 0, dst.data());    // two pairs need 8 bytes
  VYUY2ARGB(nullptr, 4, 4, 8, 0, dst.data());
  VYUY2ARGB(src.data(), 4, -1, 8, 0, dst.data());
  ARGB2YVYU(nullptr, 2, dst.data());
  ARGB2YVYU(src.data(), 1, dst.data());
  ARGB2YVYU(src.data(), -2, dst.data());
  EXPECT_TRUE(untouched());
  // A negative skip counts as none: 4 rows of 2 units.
  ARGB2VYUY(src.data(), 4, 4, 16, -3, dst.data());
  EXPECT_NE(dst[7], 0xDEADBEEFu);
  EXPECT_EQ(dst[8], 0xDEADBEEFu);
}

TEST(ColorConvert, ArgbToYvyuOrdersChromaFirst) {
  const std::uint32_t px[2] = {Argb(191, 0, 0), Argb(191, 0, 0)};
  unsigned char out[4] = {};
  ARGB2YVYU(px, 2, out);
  EXPECT_EQ(out[0], 100);  // U
  EXPECT_EQ(out[1], 65);   // Y1
  EXPECT_EQ(out[2], 212);  // V
  EXPECT_EQ(out[3], 65);   // Y2
  const std::uint32_t grey[2] = {Argb(128, 128, 128), Argb(128, 128, 128)};
  ARGB2YVYU(grey, 2, out);
  EXPECT_EQ(out[0], 128);
  EXPECT_EQ(out[2], 128);
}

TEST(ColorConvert, HsvOfPrimariesAndGreys) {
  float h, s, v;
  RGB2HSV(RGB(255, 0, 0), h, s, v);
  EXPECT_FLOAT_EQ(h, 0.0f); EXPECT_FLOAT_EQ(s, 1.0f); EXPECT_FLOAT_EQ(v, 1.0f);
  RGB2HSV(RGB(0, 255, 0), h, s, v);
  EXPECT_FLOAT_EQ(h, 120.0f);
  RGB2HSV(RGB(0, 0, 255), h, s, v);
  EXPECT_FLOAT_EQ(h, 240.0f);
  RGB2HSV(RGB(255, 0, 128), h, s, v);
  EXPECT_NEAR(h, 330.0f, 0.5f);
  for (int g : {0, 1, 128, 255}) {
    RGB2HSV(RGB(g, g, g), h, s, v);
    EXPECT_EQ(h, 0.0f); EXPECT_EQ(s, 0.0f); EXPECT_FLOAT_EQ(v, g / 255.0f);
  }

  int r, g, b;
  HSV2RGB(0, 1, 1, r, g, b);
  EXPECT_EQ(r, 255); EXPECT_EQ(g, 0); EXPECT_EQ(b, 0);
  HSV2RGB(120, 1, 1, r, g, b);
  EXPECT_EQ(r, 0); EXPECT_EQ(g, 255); EXPECT_EQ(b, 0);
  HSV2RGB(600, 1, 1, r, g, b);  // 240 degrees
  EXPECT_EQ(r, 0); EXPECT_EQ(g, 0); EXPECT_EQ(b, 255);
  HSV2RGB(-60, 1, 0.5f, r, g, b);  // 300 degrees
  EXPECT_EQ(r, 128); EXPECT_EQ(g, 0); EXPECT_EQ(b, 128);
  HSV2RGB(77, 0, 0.4f, r, g, b);
  EXPECT_EQ(r, 102); EXPECT_EQ(g, 102); EXPECT_EQ(b, 102);
  HSV2RGB(NAN, NAN, 7.0f, r, g, b);
  EXPECT_EQ(r, 255); EXPECT_EQ(g, 255); EXPECT_EQ(b, 255);

  // Every colour survives RGB -> HSV -> RGB exactly.
  for (int c = 0; c < (1 << 24); c += 4099) {
    RGB2HSV(COLORREF(c), h, s, v);
    HSV2RGB(h, s, v, r, g, b);
    EXPECT_EQ(RGB(BYTE(r), BYTE(g), BYTE(b)), COLORREF(c));
  }
  // The meter's dimmed zone colour: same hue, paler and darker.
  RGB2HSV(RGB(0, 255, 0), h, s, v);
  HSV2RGB(h, s * 2 / 3, 0.4f, r, g, b);
  EXPECT_EQ(r, 34); EXPECT_EQ(g, 102); EXPECT_EQ(b, 34);
}
