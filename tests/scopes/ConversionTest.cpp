// Each source format into the internal pair form, odd widths, and the diagnostic trace.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "companion/ColorConvert.h"
#include "scopes/VideoScopeGraph.h"
#include "winport/base/debug.h"

namespace {

std::vector<uint8_t> Unit0(const CVideoScopeGraph& g) {
  const auto* p = reinterpret_cast<const uint8_t*>(g.GetYUVGraph().GetFrame());
  return {p[0], p[1], p[2], p[3]};
}

TEST(ScopeConversion, EachFormatBecomesVYUYPairs) {
  CVideoScopeGraph g;
  // YVYU (U Y1 V Y2) is rearranged.
  uint8_t yvyu[8] = {10, 20, 30, 40, 1, 2, 3, 4};
  g.UpdateGraph(yvyu, 4, 1, 8, 0, CVideoScopeGraph::YVYU);
  EXPECT_EQ(Unit0(g), (std::vector<uint8_t>{20, 10, 40, 30}));
  EXPECT_EQ(static_cast<const void*>(g.GetYUVGraph().GetFrame()), g.GetVYUYBuffer().GetData());
  // Two TVYU pixels (U Y V T) make one pair with the mean chroma.
  uint8_t tvyu[8] = {10, 20, 30, 0, 12, 22, 33, 0};
  g.UpdateGraph(tvyu, 2, 1, 8, 0, CVideoScopeGraph::TVYU);
  EXPECT_EQ(Unit0(g), (std::vector<uint8_t>{20, 11, 22, 31}));
  // VYUY is read in place.
  uint8_t vyuy[8] = {5, 6, 7, 8, 9, 10, 11, 12};
  g.UpdateGraph(vyuy, 4, 1, 8, 0, CVideoScopeGraph::VYUY);
  EXPECT_EQ(static_cast<const void*>(g.GetYUVGraph().GetFrame()), vyuy);
  // The 10-bit blocks: each 160-byte block opens with 128 bytes of 8-bit samples.
  const int width = 100;  // 200 bytes of pairs: 128 from block 0, 72 from block 1
  std::vector<uint8_t> m101(320, 0xEE);
  for (int i = 0; i < 128; ++i) m101[i] = uint8_t(i);
  for (int i = 0; i < 72; ++i) m101[160 + i] = uint8_t(128 + i);
  g.UpdateGraph(m101.data(), width, 1, 320, 0, CVideoScopeGraph::M101_10BIT);
  const auto* p = reinterpret_cast<const uint8_t*>(g.GetYUVGraph().GetFrame());
  for (int i = 0; i < 200; ++i) ASSERT_EQ(p[i], uint8_t(i)) << i;
  // ARGB goes through the companion's conversion, unchanged.
  std::vector<SARGB> argb(8);
  for (int i = 0; i < 8; ++i) argb[i] = SARGB{BYTE(30 * i), BYTE(200 - 20 * i), BYTE(7 * i), 0};
  g.UpdateGraph(argb.data(), 4, 2, 16, 0, CVideoScopeGraph::ARGB);
  uint8_t expect[16];
  ARGB2VYUY(argb.data(), 4, 2, 16, 0, expect);
  EXPECT_EQ(0, std::memcmp(g.GetYUVGraph().GetFrame(), expect, 16));
  // An unknown format changes nothing.
  const VYUY* before = g.GetYUVGraph().GetFrame();
  g.UpdateGraph(vyuy, 4, 1, 8, 0, CVideoScopeGraph::ColFmt(9));
  g.UpdateGraph(vyuy, 4, 1, 8, 0, CVideoScopeGraph::ColFmt(-1));
  EXPECT_EQ(g.GetYUVGraph().GetFrame(), before);
}

TEST(ScopeConversion, OnlyLightningFeedsNoLumaChromaFromConvertedFrames) {
  CVideoScopeGraph g;
  g.EnableVector(0);
  g.EnableYParade(0);
  g.EnableYHisto(0);
  std::vector<SARGB> argb(4, SARGB{1, 2, 3, 0});
  g.UpdateGraph(argb.data(), 2, 2, 8, 0, CVideoScopeGraph::ARGB);
  EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr);
  EXPECT_EQ(g.GetHistoPixelCount(), 4);  // the RGB side still counts
  uint8_t yvyu[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  g.UpdateGraph(yvyu, 2, 2, 4, 0, CVideoScopeGraph::YVYU);
  EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr);
  // The RGB side can be switched off on its own.
  g.EnableRGBAnalyse(0);
  g.EnableYHisto(1);
  g.UpdateGraph(argb.data(), 2, 1, 8, 0, CVideoScopeGraph::ARGB);
  EXPECT_EQ(g.GetHistoPixelCount(), 4);
  EXPECT_EQ(g.GetHistoLPixelCount(), 2);
}

// A converted frame lives in the graph's own buffer, which the next converted frame overwrites
// and may move: a luma/chroma side that is not fed that frame must not keep pointing at it.
TEST(ScopeConversion, StaleConvertedFrameIsDroppedWhenTheBufferIsReused) {
  CVideoScopeGraph g;
  std::vector<uint8_t> small(4 * 2 * 2, 0x80), large(64 * 8 * 16, 0x80);
  g.UpdateGraph(small.data(), 4, 2, 8, 0, CVideoScopeGraph::YVYU);
  ASSERT_NE(g.GetYUVGraph().GetFrame(), nullptr);
  g.EnableVector(0), g.EnableYParade(0), g.EnableYHisto(0);  // the lightning alone is left
  g.UpdateGraph(large.data(), 128, 16, 512, 0, CVideoScopeGraph::TVYU);  // no EndUpdateGraph between
  EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr);
  std::vector<DWORD> buf(32 * 32, 0);
  g.DrawLightning(buf.data(), 32, 32, CRect(0, 0, 32, 32), 0);
  for (DWORD px : buf) ASSERT_EQ(px, 0u);
}

// Converted rows of an odd-width frame hold width / 2 whole pairs and are read with that length:
// every row keeps its own values.
TEST(ScopeConversion, OddWidthRowsAreReadAtTheirRealLength) {
  const int w = 5, h = 3;
  std::vector<uint8_t> yvyu(12 * h, 0);  // the host's rows: 3 units each
  for (int r = 0; r < h; ++r)
    for (int i = 0; i < 3; ++i) {
      uint8_t* u = &yvyu[r * 12 + 4 * i];
      u[0] = 128, u[1] = uint8_t(40 + 50 * r), u[2] = 128, u[3] = uint8_t(40 + 50 * r);
    }
  for (int fmt : {CVideoScopeGraph::YVYU, CVideoScopeGraph::ARGB}) {
    CVideoScopeGraph g;
    if (fmt == CVideoScopeGraph::ARGB) {
      std::vector<SARGB> argb(w * h);
      for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) argb[r * w + x] = SARGB{BYTE(60 * r), BYTE(60 * r), BYTE(60 * r), 0};
      g.UpdateGraph(argb.data(), w, h, w * 4, 0, CVideoScopeGraph::ARGB);
      EXPECT_EQ(g.GetHistoPixelCount(), 15);
    } else {
      g.UpdateGraph(yvyu.data(), w, h, 12, 0, CVideoScopeGraph::YVYU);
    }
    EXPECT_EQ(g.GetYUVGraph().GetPitch(), 8);
    EXPECT_EQ(g.GetHistoLPixelCount(), 12);
    // Every row's pixels count at their own level: three levels, four pixels each.
    int levels = 0;
    for (int L = 0; L < 256; ++L)
      if (g.GetHistoValueL(L)) {
        EXPECT_EQ(g.GetHistoValueL(L), 4) << "fmt " << fmt << " level " << L;
        ++levels;
      }
    EXPECT_EQ(levels, 3) << "fmt " << fmt;
  }
}

class TraceLines {
 public:
  TraceLines() {
    prev_ = winport::SetDebugOutputHook([this](std::wstring_view s) { lines.emplace_back(s); });
  }
  ~TraceLines() { winport::SetDebugOutputHook(prev_); }
  std::vector<std::wstring> lines;

 private:
  winport::DebugOutputHook prev_;
};

TEST(ScopeConversion, EverySeventyFifthCallTracesTheFirstUnit) {
  TraceLines trace;
  CVideoScopeGraph g;
  g.EnableRGBAnalyse(0);
  uint8_t unit[8] = {10, 20, 30, 40, 50, 60, 70, 80};
  // Find where the process-wide count stands: after a trace it is a multiple of 75.
  for (int i = 0; i < 75 && trace.lines.empty(); ++i) g.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::VYUY);
  ASSERT_EQ(trace.lines.size(), 1u);
  EXPECT_EQ(trace.lines[0], L"CVideoScopeGraph::UpdateGraph VYUY Y1=10 Y2=30 U=20 V=40");
  auto skip = [&](int n) {  // calls that count and do nothing else
    for (int i = 0; i < n; ++i) g.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::ColFmt(42));
  };
  skip(74);
  EXPECT_EQ(trace.lines.size(), 1u);
  g.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::YVYU);  // the 75th; its inner call is the 76th
  ASSERT_EQ(trace.lines.size(), 2u);
  EXPECT_EQ(trace.lines[1], L"CVideoScopeGraph::UpdateGraph YVYU Y1=20 Y2=40 U=10 V=30");
  skip(73);
  g.UpdateGraph(unit, 2, 1, 8, 0, CVideoScopeGraph::TVYU);
  ASSERT_EQ(trace.lines.size(), 3u);
  EXPECT_EQ(trace.lines[2], L"CVideoScopeGraph::UpdateGraph TVYU T=40 Y=20 U=10 V=30");
  skip(73);
  g.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::M101_10BIT);
  ASSERT_EQ(trace.lines.size(), 4u);
  EXPECT_EQ(trace.lines[3], L"CVideoScopeGraph::UpdateGraph M101_10BIT Y1=10 Y2=30 U=20 V=40");
  // A converted frame's inner call traces the converted unit under the VYUY name.
  skip(72);
  g.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::YVYU);
  ASSERT_EQ(trace.lines.size(), 5u);
  EXPECT_EQ(trace.lines[4], L"CVideoScopeGraph::UpdateGraph VYUY Y1=20 Y2=40 U=10 V=30");
  skip(74);
  SARGB argb[2] = {{0, 0, 255, 0}, {0, 0, 255, 0}};
  g.UpdateGraph(argb, 2, 1, 8, 0, CVideoScopeGraph::ARGB);
  ASSERT_EQ(trace.lines.size(), 6u);
  uint8_t v[4];
  ARGB2VYUY(argb, 2, 1, 8, 0, v);
  wchar_t want[128];
  swprintf(want, 128, L"CVideoScopeGraph::UpdateGraph ARGB Y1=%d Y2=%d U=%d V=%d", v[0], v[2], v[1], v[3]);
  EXPECT_EQ(trace.lines[5], want);
}

}  // namespace
