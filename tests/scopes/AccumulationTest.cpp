// Accumulation: hand-computed counters, the intensity tables, the flags, and the engine against
// the straightforward versions of ScopeReference.h on random frames of every format.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "ScopeReference.h"
#include "companion/ColorConvert.h"
#include "companion/FastLog.h"
#include "scopes/ChromaMagnitude.h"
#include "scopes/VideoScopeGraph.h"

namespace {

std::vector<uint8_t> Units(int pairs, int rows, VYUY u) {
  std::vector<uint8_t> f(pairs * rows * 4);
  for (size_t i = 0; i < f.size(); i += 4) std::memcpy(&f[i], &u, 4);
  return f;
}

TEST(ScopeAccumulation, LumaWaveformCountsAndMapsHandComputed) {
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  auto f = Units(2, 2, VYUY{16, 128, 235, 128});
  g.UpdateGraph(f.data(), 4, 2, 8, 0);
  ASSERT_EQ(g.GetYLevels().GetSize(), 4);
  ASSERT_EQ(g.GetRows(), 2);
  // A count equal to the number of sampled rows maps to full intensity; nothing else is lit.
  for (int c = 0; c < 4; ++c) {
    const int lit = c % 2 == 0 ? 16 : 235;
    for (int L = 0; L < 256; ++L) EXPECT_EQ(g.GetYLevels()[c].nLevel[L], L == lit ? 255 : 0) << c << " " << L;
  }
  EXPECT_EQ(g.GetHistoLValue(16), 4);
  EXPECT_EQ(g.GetHistoLValue(235), 4);
  EXPECT_EQ(g.GetHistoLPixelCount(), 8);
  // The map: entry 0 is 0, entry k is min(255, trunc(log k * 256 / log rows)).
  CYVYUGraph g2;
  g2.SetYorYCFlag(0);
  auto f2 = Units(1, 100, VYUY{50, 128, 60, 128});
  g2.UpdateGraph(f2.data(), 2, 100, 4, 0);
  CFastLog log;
  const float s = 256 / log.Calc(100);
  ASSERT_EQ(g2.GetYMap().GetSize(), 101);
  EXPECT_EQ(g2.GetYMap()[0], 0);
  EXPECT_EQ(g2.GetYMap()[1], 0);
  EXPECT_EQ(g2.GetYMap()[10], int(log.Calc(10) * s));
  EXPECT_EQ(g2.GetYMap()[100], 255);
}

TEST(ScopeAccumulation, SingleSampledRowMapsToFullIntensity) {
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  auto f = Units(3, 1, VYUY{100, 128, 200, 128});
  g.UpdateGraph(f.data(), 6, 1, 12, 0);
  ASSERT_EQ(g.GetYMap().GetSize(), 2);
  EXPECT_EQ(g.GetYMap()[1], 255);
  EXPECT_EQ(g.GetYLevels()[0].nLevel[100], 255);
  EXPECT_EQ(g.GetYLevels()[5].nLevel[200], 255);
  // Y/C table with one row: entry 1 is trunc(log 1 * s) + 1 = 1.
  g.SetYorYCFlag(1);
  g.UpdateGraph(f.data(), 6, 1, 12, 0);
  EXPECT_EQ(g.GetYCMap()[1], 1);
}

TEST(ScopeAccumulation, YCWaveformSpansAndClipping) {
  CYVYUGraph g;
  g.SetYorYCFlag(1);
  // No chroma: each pixel counts exactly one bin, k = Y + 125.
  auto f = Units(1, 3, VYUY{16, 128, 235, 128});
  g.UpdateGraph(f.data(), 2, 3, 4, 0);
  ASSERT_EQ(g.GetYCLevels().GetSize(), 2);
  EXPECT_EQ(g.GetYLevels().GetSize(), 0);  // the other mode keeps nothing
  const auto& map = g.GetYCMap();
  for (int k = 0; k < 537; ++k) {
    EXPECT_EQ(g.GetYCLevels()[0].nLevel[k], k == 141 ? map[3] : 0);
    EXPECT_EQ(g.GetYCLevels()[1].nLevel[k], k == 360 ? map[3] : 0);
  }
  // Y = 0 with the strongest chroma: m = |(0-128)/0.564*0.493| and |(255-128)/0.713*0.877| -> 111, 156.
  const int m = ChromaMagnitude[111][156];
  EXPECT_EQ(m, int(std::sqrt(111.0 * 111 + 156 * 156)));
  auto f2 = Units(1, 1, VYUY{0, 0, 255, 255});
  g.UpdateGraph(f2.data(), 2, 1, 4, 0);
  const LONG* c0 = g.GetYCLevels()[0].nLevel;
  const LONG* c1 = g.GetYCLevels()[1].nLevel;
  EXPECT_EQ(c0[0], 0);               // levels below -124 are not counted
  EXPECT_EQ(c0[1], map[1]);          // the span is clipped at the lowest counter
  EXPECT_EQ(c0[0 + m + 125], map[1]);
  EXPECT_EQ(c0[0 + m + 126], 0);
  EXPECT_EQ(c1[255 - m + 124], 0);
  EXPECT_EQ(c1[255 - m + 125], map[1]);
  EXPECT_EQ(c1[536], map[1]);        // and at the highest
  g.SetYorYCFlag(0);
  g.UpdateGraph(f2.data(), 2, 1, 4, 0);
  EXPECT_EQ(g.GetYCLevels().GetSize(), 0);
  EXPECT_EQ(g.GetYLevels().GetSize(), 2);
  // Any other mode value accumulates neither and leaves both as they were.
  g.SetYorYCFlag(7);
  g.UpdateGraph(f.data(), 2, 3, 4, 0);
  EXPECT_EQ(g.GetYLevels()[0].nLevel[0], 255);
  EXPECT_EQ(g.GetYCLevels().GetSize(), 0);
}

TEST(ScopeAccumulation, RowSkipPitchAndOddWidth) {
  // Height 10 with skip 2 samples rows 0, 3, 6; each row's luma is its row number.
  const int pitch = 12;  // one spare unit per row
  std::vector<uint8_t> f(pitch * 10, 0);
  for (int r = 0; r < 10; ++r)
    for (int i = 0; i < 2; ++i) f[r * pitch + 4 * i] = f[r * pitch + 4 * i + 2] = uint8_t(r);
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  g.EnableYParade(0);
  g.UpdateGraph(f.data(), 4, 10, pitch, 2);
  EXPECT_EQ(g.GetRows(), 3);
  EXPECT_EQ(g.GetRowStep(), 36);
  EXPECT_EQ(g.GetHistoLValue(0), 4);
  EXPECT_EQ(g.GetHistoLValue(3), 4);
  EXPECT_EQ(g.GetHistoLValue(6), 4);
  EXPECT_EQ(g.GetHistoLValue(1), 0);
  EXPECT_EQ(g.GetHistoLValue(9), 0);
  // Height 2 with skip 5 samples row 0 only; a negative skip reads every row.
  g.UpdateGraph(f.data(), 4, 2, pitch, 5);
  EXPECT_EQ(g.GetRows(), 1);
  EXPECT_EQ(g.GetHistoLValue(0), 4);
  g.UpdateGraph(f.data(), 4, 10, pitch, -3);
  EXPECT_EQ(g.GetRows(), 10);
  // A pitch below a row is raised to the row: rows are then read packed.
  g.UpdateGraph(f.data(), 4, 3, 0, 0);
  EXPECT_EQ(g.GetPitch(), 8);
  // Five pixels wide: two pairs per row, the odd last column is not read.
  g.UpdateGraph(f.data(), 5, 10, pitch, 0);
  EXPECT_EQ(g.GetHistoLPixelCount(), 40);
  // Zero width or rows, or no data: nothing changes.
  const VYUY* before = g.GetFrame();
  g.UpdateGraph(f.data(), 0, 10, pitch, 0);
  g.UpdateGraph(f.data(), 4, 0, pitch, 0);
  g.UpdateGraph(nullptr, 4, 10, pitch, 0);
  g.UpdateGraph(f.data(), -4, 10, pitch, 0);
  EXPECT_EQ(g.GetFrame(), before);
  EXPECT_EQ(g.GetRows(), 10);
  // Getters clamp their level.
  EXPECT_EQ(g.GetHistoLValue(-1), 0);
  EXPECT_EQ(g.GetHistoLValue(256), 0);
}

TEST(ScopeAccumulation, RGBCountsHandComputed) {
  CARGBGraph g;
  EXPECT_EQ(g.GetBrightness(0), 0);
  EXPECT_EQ(g.GetBrightness(1), 129);
  EXPECT_EQ(g.GetBrightness(127), 255);
  EXPECT_EQ(g.GetBrightness(5119), 255);
  EXPECT_EQ(g.GetHistoValueR(10), 0);  // no frame yet
  // 3 x 4 pixels, skip 1: rows 0 and 2.
  std::vector<SARGB> px(12);
  for (int r = 0; r < 4; ++r)
    for (int x = 0; x < 3; ++x) px[r * 3 + x] = SARGB{BYTE(x), BYTE(10 * r), BYTE(200 + x), 77};
  g.UpdateGraph(px.data(), 3, 4, 12, 1);
  EXPECT_EQ(g.GetPixelCount(), 6);
  EXPECT_EQ(g.GetParadeR()[1].nLevel[201], 2);
  EXPECT_EQ(g.GetParadeG()[2].nLevel[0], 1);
  EXPECT_EQ(g.GetParadeG()[2].nLevel[20], 1);
  EXPECT_EQ(g.GetParadeG()[2].nLevel[10], 0);
  EXPECT_EQ(g.GetParadeB()[0].nLevel[0], 2);
  EXPECT_EQ(g.GetHistoValueR(200), 2);
  EXPECT_EQ(g.GetHistoValueG(20), 3);
  EXPECT_EQ(g.GetHistoValueB(2), 2);
  EXPECT_EQ(g.GetHistoValueB(256), 0);
  EXPECT_EQ(g.GetHistoValueB(-5), 0);
}

TEST(ScopeAccumulation, FacadeFlagsCopyAndAssignment) {
  CVideoScopeGraph g;
  EXPECT_EQ(g.IsRGBAnalyseEnable(), 1);
  EXPECT_EQ(g.IsVectorEnable(), 1);
  EXPECT_EQ(g.IsLightingEnable(), 1);
  EXPECT_EQ(g.IsYParadeEnable(), 1);
  EXPECT_EQ(g.IsYHistoEnable(), 1);
  g.SetYorYCFlag(1);
  EXPECT_EQ(g.GetYUVGraph().GetYorYCFlag(), 1);
  g.EnableVector(0);
  EXPECT_EQ(g.GetYUVGraph().IsVectorEnable(), 0);
  g.EnableVector(1);

  std::vector<uint8_t> f(8 * 4 * 4);
  std::mt19937 rng(5);
  for (auto& b : f) b = uint8_t(rng());
  g.UpdateGraph(f.data(), 8, 4, 32, 0, CVideoScopeGraph::YVYU);
  CVideoScopeGraph copy(g);
  CVideoScopeGraph assigned;
  assigned = g;
  for (const CVideoScopeGraph* c : {&copy, &assigned}) {
    EXPECT_EQ(c->GetYorYCFlag(), 1);
    EXPECT_EQ(c->GetHistoValueL(100), g.GetHistoValueL(100));
    EXPECT_EQ(c->GetHistoValueR(7), g.GetHistoValueR(7));
    EXPECT_EQ(0, std::memcmp(c->GetYUVGraph().GetYCLevels().GetData(), g.GetYUVGraph().GetYCLevels().GetData(),
                             sizeof(YCLevel) * 8));
    // The converted frame is the copy's own; the original may go away.
    EXPECT_EQ(static_cast<const void*>(c->GetYUVGraph().GetFrame()), c->GetVYUYBuffer().GetData());
  }
  // A host frame is shared as it is.
  g.UpdateGraph(f.data(), 8, 4, 16, 0, CVideoScopeGraph::VYUY);
  CVideoScopeGraph copy2(g);
  EXPECT_EQ(static_cast<const void*>(copy2.GetYUVGraph().GetFrame()), f.data());
  g.EndUpdateGraph();
  EXPECT_EQ(g.GetYUVGraph().GetFrame(), nullptr);
  EXPECT_NE(copy2.GetYUVGraph().GetFrame(), nullptr);
}

// The engine (tiles, fused histograms, difference arrays, hand-written conversions) against the
// straightforward versions on random frames of every format and mode, odd widths and skips included.
// A host's graph lives from frame to frame: records and drawings after each frame equal a new
// graph's, whatever earlier frames left behind (other levels, another width, Y/C records).
TEST(ScopeAccumulation, LumaRecordsCarryNothingFromFrameToFrame) {
  std::mt19937 rng(77);
  CYVYUGraph carried;
  struct Step {
    int pairs, yc;
    bool flat;
  };
  for (const Step& st : {Step{35, 0, false}, Step{35, 0, true}, Step{35, 0, false}, Step{35, 1, false},
                         Step{35, 0, false}, Step{17, 0, false}, Step{35, 0, true}}) {
    auto f = Units(st.pairs, 6, VYUY{90, 128, 90, 128});
    if (!st.flat)
      for (size_t i = 0; i < f.size(); i += 2) f[i] = uint8_t(rng());
    CYVYUGraph fresh;
    for (CYVYUGraph* g : {&carried, &fresh}) {
      g->SetYorYCFlag(st.yc);
      g->UpdateGraph(f.data(), 2 * st.pairs, 6, 4 * st.pairs, 0);
    }
    if (st.yc) continue;
    SCOPED_TRACE(::testing::Message() << st.pairs << (st.flat ? " flat" : ""));
    ASSERT_EQ(carried.GetYLevels().GetSize(), 2 * st.pairs);
    ASSERT_EQ(0, std::memcmp(carried.GetYLevels().GetData(), fresh.GetYLevels().GetData(),
                             sizeof(GrayLevel) * 2 * st.pairs));
    std::vector<DWORD> a(200 * 260), b(200 * 260);
    carried.DrawYParade(a.data(), 200, 260, CRect(0, 0, 50, 256), TRUE, TRUE);
    fresh.DrawYParade(b.data(), 200, 260, CRect(0, 0, 50, 256), TRUE, TRUE);
    ASSERT_EQ(a, b);
  }
}

TEST(ScopeAccumulation, EngineEqualsReferenceOnRandomFrames) {
  std::mt19937 rng(1234);
  const int fmts[] = {CVideoScopeGraph::ARGB, CVideoScopeGraph::YVYU, CVideoScopeGraph::TVYU, CVideoScopeGraph::VYUY,
                      CVideoScopeGraph::M101_10BIT};
  for (int iter = 0; iter < 60; ++iter) {
    for (int fmt : fmts) {
      const long w = 1 + rng() % 90, h = 1 + rng() % 40, skip = rng() % 4;
      const long pairs = w / 2;
      long minRow = fmt == 0 || fmt == 2 ? w * 4 : pairs * 4;
      if (fmt == 4 && pairs > 0) {  // 160-byte blocks, each opening with 128 bytes of 8-bit samples
        const long last = (pairs * 4 - 1) / 128;
        minRow = last * 160 + pairs * 4 - last * 128;
      }
      ref::Frame f = ref::RandomFrame(rng, w, h, minRow + long(rng() % 3) * 4, skip, minRow);
      const long rows = f.Rows();
      // The frame as pairs and as pixels, converted independently of the engine.
      std::vector<uint8_t> vyuy, argb;
      if (fmt == 0) {
        vyuy.assign(pairs * rows * 4 + 4, 0);
        ARGB2VYUY(f.Data(), w, h, f.pitch, skip, vyuy.data());
        argb.resize(w * rows * 4);
        for (long r = 0; r < rows; ++r) std::memcpy(&argb[r * w * 4], &f.bytes[r * (skip + 1) * f.pitch], w * 4);
      } else {
        vyuy = ref::ToVYUY(fmt, f);
        argb.resize(w * rows * 4);
        VYUY2ARGB(vyuy.data(), w, rows, pairs * 4, 0, argb.data());
      }
      const auto lumaRaw = ref::LumaCounts(vyuy.data(), w, rows, pairs * 4);
      const auto yc = ref::YCCounts(vyuy.data(), w, rows, pairs * 4);
      const auto histo = ref::LumaHisto(vyuy.data(), w, rows, pairs * 4);
      const auto rgb = ref::RGBCounts(argb.data(), w, rows, w * 4);
      const auto lmap = ref::LumaMap(int(rows));
      const auto ycmap = ref::YCMap(int(rows));

      for (int mode = 0; mode < 5; ++mode) {
        CVideoScopeGraph g;
        g.SetYorYCFlag(mode == 1 ? 1 : mode == 4 ? 2 : 0);
        if (mode == 2) g.EnableYParade(0);  // histogram on its own pass
        if (mode == 3) g.EnableYParade(0), g.EnableYHisto(0);  // only the vector reads the frame
        g.UpdateGraph(f.Data(), w, h, f.pitch, skip, CVideoScopeGraph::ColFmt(fmt));
        const CYVYUGraph& y = g.GetYUVGraph();
        SCOPED_TRACE(::testing::Message() << "fmt " << fmt << " w " << w << " h " << h << " skip " << skip
                                          << " pitch " << f.pitch << " mode " << mode);
        ASSERT_EQ(y.GetRows(), rows);
        ASSERT_EQ(y.GetPairs(), pairs);
        if (mode != 3) {
          for (int L = 0; L < 256; ++L) ASSERT_EQ(uint32_t(g.GetHistoValueL(L)), histo[L]) << L;
        }
        // Converted frames, whichever pass writes them, hold the pairs the displays read later.
        if (fmt != CVideoScopeGraph::VYUY && pairs > 0) {
          ASSERT_EQ(0, std::memcmp(y.GetFrame(), vyuy.data(), size_t(pairs) * rows * 4));
        }
        if (mode == 0) {
          ASSERT_EQ(y.GetYLevels().GetSize(), w);
          for (long c = 0; c < w; ++c)
            for (int L = 0; L < 256; ++L) ASSERT_EQ(y.GetYLevels()[c].nLevel[L], lmap[lumaRaw[c][L]]) << c << " " << L;
        } else if (mode == 1) {
          ASSERT_EQ(y.GetYCLevels().GetSize(), w);
          for (long c = 0; c < w; ++c)
            for (int k = 0; k < 537; ++k) ASSERT_EQ(y.GetYCLevels()[c].nLevel[k], ycmap[yc[c][k]]) << c << " " << k;
        }
        const CARGBGraph& a = g.GetARGBGraph();
        ASSERT_EQ(a.GetPixelCount(), w * rows);
        for (long c = 0; c < w; ++c)
          for (int L = 0; L < 256; ++L) {
            ASSERT_EQ(a.GetParadeR()[c].nLevel[L], rgb.r[c][L]);
            ASSERT_EQ(a.GetParadeG()[c].nLevel[L], rgb.g[c][L]);
            ASSERT_EQ(a.GetParadeB()[c].nLevel[L], rgb.b[c][L]);
          }
        for (int L = 0; L < 256; ++L) {
          ASSERT_EQ(g.GetHistoValueR(L), rgb.hr[L]);
          ASSERT_EQ(g.GetHistoValueG(L), rgb.hg[L]);
          ASSERT_EQ(g.GetHistoValueB(L), rgb.hb[L]);
        }
      }
    }
  }
}

// Every chroma pair with many lumas, counted in whole vector blocks and in the scalar tail
// (width 522: 261 pairs per row), against the companion's conversion counted plainly.
TEST(ScopeAccumulation, PairsToRGBCountsEveryChromaPair) {
  const long w = 522, h = 256;
  for (int k = 0; k < 3; ++k) {
    std::vector<uint8_t> f(size_t(w / 2) * 4 * h);
    for (long r = 0; r < h; ++r)
      for (long i = 0; i < w / 2; ++i) {
        uint8_t* u = &f[(r * (w / 2) + i) * 4];
        u[0] = uint8_t(i * 7 + r * 13 + k * 85), u[1] = uint8_t(i), u[2] = uint8_t(255 - u[0] + k), u[3] = uint8_t(r);
      }
    std::vector<uint8_t> argb(size_t(w) * h * 4);
    VYUY2ARGB(f.data(), w, h, w / 2 * 4, 0, argb.data());
    const auto rgb = ref::RGBCounts(argb.data(), w, h, w * 4);
    CVideoScopeGraph g;
    g.UpdateGraph(f.data(), w, h, w / 2 * 4, 0, CVideoScopeGraph::VYUY);
    const CARGBGraph& a = g.GetARGBGraph();
    for (long c = 0; c < w; ++c)
      for (int L = 0; L < 256; ++L) {
        ASSERT_EQ(a.GetParadeR()[c].nLevel[L], rgb.r[c][L]) << k << " " << c << " " << L;
        ASSERT_EQ(a.GetParadeG()[c].nLevel[L], rgb.g[c][L]) << k << " " << c << " " << L;
        ASSERT_EQ(a.GetParadeB()[c].nLevel[L], rgb.b[c][L]) << k << " " << c << " " << L;
      }
  }
}

}  // namespace
