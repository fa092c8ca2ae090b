#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "companion/Buf32Draw.h"
#include "companion/FastLog.h"

TEST(FastLog, RatiosMatchTheTrueLogarithm) {
  const CFastLog log;
  EXPECT_EQ(log.Calc(0), 0.0f);
  EXPECT_EQ(log.Calc(1), 0.0f);
  EXPECT_EQ(log.Calc(-7), 0.0f);
  EXPECT_NEAR(log.Calc(2), std::log(2.0), 1e-6);
  std::vector<int> values = {2, 3, 5, 7, 1000, 4095, 4097, 8191, 8193, 65537, 1 << 30, 2147483647};
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) values.push_back(2 + int(rng() % 2147483645u));
  for (int i = 0; i < 2000; ++i) values.push_back(2 + int(rng() % 100000u));
  float prev = 0;
  for (int n = 2; n < 20000; ++n) {  // strictly increasing across the table's seams
    const float l = log.Calc(n);
    ASSERT_GT(l, prev) << n;
    prev = l;
  }
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    const int n = values[i], N = values[i + 1];
    const double truth = std::log(double(n)) / std::log(double(N));
    const double fast = double(log.Calc(n)) / double(log.Calc(N));
    ASSERT_NEAR(fast / truth, 1.0, 1e-3) << n << " / " << N;
  }
}

TEST(Buf32Draw, CreateFillLineAndClip) {
  CBuf32Draw buf;
  EXPECT_EQ(buf.Width(), 0);
  EXPECT_EQ(buf.Buf(), nullptr);
  buf.FillSolidRect(0, 0, 5, 5, 1);  // empty: nothing happens
  buf._VLine(0, 0, 5, 1);
  EXPECT_FALSE(buf.Create(0, 5));
  EXPECT_FALSE(buf.Create(5, -1));
  EXPECT_FALSE(buf.Create(1 << 16, 1 << 16));
  ASSERT_TRUE(buf.Create(8, 6));
  EXPECT_EQ(buf.Width(), 8);
  EXPECT_EQ(buf.Height(), 6);
  for (int i = 0; i < 48; ++i) ASSERT_EQ(buf.Buf()[i], 0u);

  buf.FillSolidRect(6, 4, 10, 10, 0x00FF0000);  // clipped at right and bottom
  EXPECT_EQ(buf.Buf()[4 * 8 + 6], 0x00FF0000u);
  EXPECT_EQ(buf.Buf()[5 * 8 + 7], 0x00FF0000u);
  EXPECT_EQ(buf.Buf()[4 * 8 + 5], 0u);
  EXPECT_EQ(buf.Buf()[3 * 8 + 7], 0u);
  buf.FillSolidRect(-3, -3, 4, 4, 0x11);  // clipped at left and top: only (0,0)
  EXPECT_EQ(buf.Buf()[0], 0x11u);
  EXPECT_EQ(buf.Buf()[1], 0u);
  EXPECT_EQ(buf.Buf()[8], 0u);
  buf.FillSolidRect(2, 2, 0, 3, 0x22);
  buf.FillSolidRect(2, 2, 3, -3, 0x22);
  buf.FillSolidRect(0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFF0, 0x22);

  buf._VLine(3, 4, 10, 0x33);  // runs off the bottom
  EXPECT_EQ(buf.Buf()[4 * 8 + 3], 0x33u);
  EXPECT_EQ(buf.Buf()[5 * 8 + 3], 0x33u);
  EXPECT_EQ(buf.Buf()[3 * 8 + 3], 0u);
  buf._VLine(2, -2, 3, 0x44);  // starts above the top
  EXPECT_EQ(buf.Buf()[2], 0x44u);
  EXPECT_EQ(buf.Buf()[8 + 2], 0u);
  buf._VLine(8, 0, 6, 0x55);
  buf._VLine(-1, 0, 6, 0x55);
  buf._VLine(1, 0, -6, 0x55);
  int count22or55 = 0;
  for (int i = 0; i < 48; ++i) count22or55 += (buf.Buf()[i] == 0x22 || buf.Buf()[i] == 0x55);
  EXPECT_EQ(count22or55, 0);

  ASSERT_TRUE(buf.Create(2, 2));  // a new image starts cleared
  EXPECT_EQ(buf.Buf()[0], 0u);
  buf.Release();
  EXPECT_EQ(buf.Width(), 0);
  EXPECT_EQ(buf.Height(), 0);
  EXPECT_EQ(buf.Buf(), nullptr);

  std::uint32_t words[4] = {1, 2, 3, 4};
  _MMX_ZeroMem(words + 1, 8);
  EXPECT_EQ(words[0], 1u);
  EXPECT_EQ(words[1], 0u);
  EXPECT_EQ(words[2], 0u);
  EXPECT_EQ(words[3], 4u);
  _MMX_ZeroMem(nullptr, 100);
  _MMX_ZeroMem(words, 0);
  EXPECT_EQ(words[0], 1u);
}
