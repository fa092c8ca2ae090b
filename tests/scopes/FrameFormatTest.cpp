// Each format's rows, sampled with a skip and a padded pitch, land packed in the pair form.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "companion/ColorConvert.h"
#include "scopes/VideoScopeGraph.h"

namespace {

constexpr long kWidth = 4, kHeight = 4, kSkip = 1;  // rows 0 and 2 are sampled

std::vector<uint8_t> Packed(const CVideoScopeGraph& g) {
  const auto* p = reinterpret_cast<const uint8_t*>(g.GetYUVGraph().GetFrame());
  return {p, p + 2 * kWidth * 2};
}

// Pairs (Y1, U, Y2, V) of every row, distinct per row and pair.
uint8_t Sample(long row, long pair, int k) { return uint8_t(40 * row + 10 * pair + k + 16); }

TEST(ScopeFrameFormats, SkippedRowsOfEveryFormatLandPacked) {
  std::vector<uint8_t> expect;
  for (long r = 0; r < kHeight; r += kSkip + 1)
    for (long i = 0; i < kWidth / 2; ++i)
      for (int k = 0; k < 4; ++k) expect.push_back(Sample(r, i, k));

  CVideoScopeGraph g;
  const long pairPitch = kWidth * 2 + 6;
  std::vector<uint8_t> yvyu(pairPitch * kHeight, 0xEE);
  for (long r = 0; r < kHeight; ++r)
    for (long i = 0; i < kWidth / 2; ++i) {
      uint8_t* u = &yvyu[r * pairPitch + 4 * i];
      u[0] = Sample(r, i, 1), u[1] = Sample(r, i, 0), u[2] = Sample(r, i, 3), u[3] = Sample(r, i, 2);
    }
  g.UpdateGraph(yvyu.data(), kWidth, kHeight, pairPitch, kSkip, CVideoScopeGraph::YVYU);
  EXPECT_EQ(Packed(g), expect);

  const long pixelPitch = kWidth * 4 + 12;
  std::vector<uint8_t> tvyu(pixelPitch * kHeight, 0xEE);
  for (long r = 0; r < kHeight; ++r)
    for (long x = 0; x < kWidth; ++x) {
      uint8_t* p = &tvyu[r * pixelPitch + 4 * x];
      p[0] = Sample(r, x / 2, 1), p[1] = Sample(r, x / 2, (x & 1) ? 2 : 0), p[2] = Sample(r, x / 2, 3), p[3] = 0;
    }
  g.UpdateGraph(tvyu.data(), kWidth, kHeight, pixelPitch, kSkip, CVideoScopeGraph::TVYU);
  EXPECT_EQ(Packed(g), expect);

  std::vector<uint8_t> argb(pixelPitch * kHeight);
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] = uint8_t(i * 37);
  g.UpdateGraph(argb.data(), kWidth, kHeight, pixelPitch, kSkip, CVideoScopeGraph::ARGB);
  std::vector<uint8_t> converted(expect.size());
  ARGB2VYUY(argb.data(), kWidth, kHeight, pixelPitch, kSkip, converted.data());
  EXPECT_EQ(Packed(g), converted);
}

}  // namespace
