// Sizes that lie: frame headers whose pitch, width or skip make the arithmetic wrap, frames too
// narrow to hold what a trace reads, and gains that overflow. Frames sit right before an
// inaccessible page, so a read past them stops the program even without a sanitizer.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>
#include <vector>

#include "companion/ColorConvert.h"
#include "scopes/ScopePalette.h"
#include "scopes/VideoScopeGraph.h"
#include "support/GuardedBuffer.h"

namespace {

using testsupport::GuardedBuffer;

TEST(ScopeCallerInput, PitchTimesHeightThatWrapsIsRefused) {
  GuardedBuffer frame(64, 0x80);
  for (int fmt = 0; fmt <= 4; ++fmt) {
    CVideoScopeGraph g;
    g.UpdateGraph(frame.data(), 2, 4, (1L << 62) + 1000, 0, CVideoScopeGraph::ColFmt(fmt));
    EXPECT_EQ(g.GetHistoPixelCount(), 0) << fmt;
    EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr) << fmt;
    // The same with a width that only wraps once multiplied by the bytes of a pixel.
    g.UpdateGraph(frame.data(), (1L << 62) + 2, 1, 64, 0, CVideoScopeGraph::ColFmt(fmt));
    EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr) << fmt;
  }
  // The sides on their own check the same way.
  CARGBGraph rgb;
  rgb.UpdateGraph(frame.data(), 2, 4, (1L << 62) + 1000, 0);
  rgb.UpdateGraphVYUY(frame.data(), 4, 4, (1L << 62) + 1000, 0);
  EXPECT_EQ(rgb.GetPixelCount(), 0);
  CYVYUGraph yuv;
  yuv.UpdateGraph(frame.data(), 4, 4, (1L << 62) + 1000, 0);
  yuv.UpdateGraph(frame.data(), (1L << 62) + 2, 1, 64, 0);
  EXPECT_EQ(yuv.GetFrame(), nullptr);
  // A frame that fits is still taken: 4 x 4 VYUY, 8 bytes a row, 2 rows of skip 1 -> 2 rows.
  yuv.UpdateGraph(frame.data() + 32, 4, 4, 8, 1);
  EXPECT_EQ(yuv.GetRows(), 2);
}

TEST(ScopeCallerInput, ConversionsRefuseWrappingWidthsPitchesAndSkips) {
  GuardedBuffer src(16, 0x40);
  std::vector<uint8_t> dst(64, 0xEE);
  // Width 2^62 + 2: width * 4 wraps to 8, which a pitch of 8 would seem to cover.
  ARGB2VYUY(src.data(), (1L << 62) + 2, 1, 8, 0, dst.data());
  VYUY2ARGB(src.data(), (1L << 62) + 2, 1, 8, 0, dst.data());
  // Three rows 2^62 bytes apart: no buffer is that large.
  ARGB2VYUY(src.data(), 2, 3, 1L << 62, 0, dst.data());
  VYUY2ARGB(src.data(), 2, 3, 1L << 62, 0, dst.data());
  for (uint8_t b : dst) ASSERT_EQ(b, 0xEE);
  // The largest skip samples the first row only (skip + 1 must not overflow on the way).
  ARGB2VYUY(src.data(), 2, 2, 8, LONG_MAX, dst.data());
  uint8_t want[4];
  ARGB2VYUY(src.data(), 2, 1, 8, 0, want);
  EXPECT_EQ(0, std::memcmp(dst.data(), want, 4));
  EXPECT_EQ(dst[4], 0xEE);
  VYUY2ARGB(src.data(), 2, 2, 4, LONG_MAX, dst.data());
  EXPECT_EQ(dst[8], 0xEE);
  // A row that reads nothing (one pixel, no pair) with endless rows still writes a pixel per row:
  // no destination is that large.
  GuardedBuffer out(4, 0xEE);
  VYUY2ARGB(src.data(), 1, LONG_MAX, 0, 0, out.data());
  EXPECT_EQ(out.data()[0], 0xEE);
}

TEST(ScopeCallerInput, OnePixelWideTVYUFrameIsNeverReadForTheTrace) {
  // One pixel has no pair: a row reads no bytes, so the frame may be empty.
  GuardedBuffer frame(0);
  CVideoScopeGraph g;
  for (int i = 0; i < 150; ++i) g.UpdateGraph(frame.data(), 1, 1, 0, 0, CVideoScopeGraph::TVYU);
  EXPECT_EQ(g.GetYUVGraph().GetPairs(), 0);
}

TEST(ScopeCallerInput, HugeVectorGainKeepsNeutralChromaAtTheCentre) {
  std::vector<uint8_t> f(4 * 4 * 4);
  for (size_t i = 0; i < f.size(); i += 4) f[i] = 100, f[i + 1] = 128, f[i + 2] = 100, f[i + 3] = 128;
  CVideoScopeGraph g;
  g.UpdateGraph(f.data(), 8, 4, 16, 0, CVideoScopeGraph::VYUY);
  for (float gain : {FLT_MAX, -FLT_MAX, 1e30f}) {
    std::vector<DWORD> buf(64 * 64, 0);
    g.DrawVector(buf.data(), 64, 64, gain);
    // Zero chroma stays at the centre whatever the gain; every other point leaves the target.
    EXPECT_EQ(buf[32 * 64 + 32], ScopePalette[255]) << gain;
  }
}

}  // namespace
