// Bad input: thousands of random geometries, formats, flags, targets and bytes. Buffers are
// allocated to the exact extent a frame of that geometry occupies, so any read or write past
// them shows under AddressSanitizer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "companion/Buf32Draw.h"
#include "scopes/VideoScopeGraph.h"

namespace {

long MinRow(int fmt, long w) {
  const long pairs = w > 0 ? w / 2 : 0;
  switch (fmt) {
    case CVideoScopeGraph::ARGB: return std::max(0L, w) * 4;
    case CVideoScopeGraph::TVYU: return pairs * 8;
    case CVideoScopeGraph::M101_10BIT: {
      if (pairs == 0) return 0;
      const long last = (pairs * 4 - 1) / 128;
      return last * 160 + pairs * 4 - last * 128;
    }
    default: return pairs * 4;
  }
}

TEST(ScopeFuzz, RandomGeometriesFormatsAndTargetsNeverReachOutside) {
  std::mt19937 rng(20261207);
  auto pick = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
  const float gains[] = {1.0f, 0.5f, 3.0f, -1.0f, 0.0f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
  CVideoScopeGraph g;
  for (int iter = 0; iter < 3000; ++iter) {
    const int fmt = pick(-1, 6);
    const long w = pick(-3, 70), h = pick(-3, 40), skip = pick(-3, 12);
    const long minRow = MinRow(fmt, w);
    long pitch = pick(-8, int(minRow) + 24);
    if (iter % 7 == 0) pitch = 0;
    const long eff = std::max(pitch, minRow);
    const size_t bytes = h > 0 ? size_t(eff * (h - 1) + minRow) : 0;
    std::vector<uint8_t> frame(bytes);
    for (auto& b : frame) b = uint8_t(rng());
    g.EnableVector(pick(0, 1));
    g.EnableYParade(pick(0, 3) != 0);
    g.EnableYHisto(pick(0, 1));
    g.EnableLighting(pick(0, 1));
    g.EnableRGBAnalyse(pick(0, 3) != 0);
    g.SetYorYCFlag(static_cast<unsigned char>(pick(0, 2)));
    g.UpdateGraph(frame.empty() ? nullptr : frame.data(), w, h, pitch, skip, CVideoScopeGraph::ColFmt(fmt));

    const int bw = pick(-2, 90), bh = pick(-2, 90);
    std::vector<DWORD> buf(bw > 0 && bh > 0 ? size_t(bw) * bh : 0);
    DWORD* p = buf.empty() ? nullptr : buf.data();
    CRect rc(pick(-40, 100), pick(-40, 100), pick(-40, 130), pick(-40, 130));
    if (iter % 5 == 0) rc = CRect(0, 0, bw, bh);
    const int mark = pick(0, 1), full = pick(0, 1);
    g.DrawParadeL(p, bw, bh, rc, full, mark, pick(0, 1));
    g.DrawVector(p, bw, bh, gains[pick(0, 7)]);
    g.DrawLightning(p, bw, bh, rc, mark);
    const double levels[] = {255, 0, 16, 235, 100, 100, -1e300, std::nan("")};
    g.DrawParadeR(p, bw, bh, rc, levels[pick(0, 7)], levels[pick(0, 7)]);
    g.DrawParadeG(p, bw, bh, rc, 255, 0);
    g.DrawParadeB(p, bw, bh, rc, 0, 255);
    CBuf32Draw d;
    if (bw > 0 && bh > 0) d.Create(bw, bh);
    g.DrawHistoL(&d, rc);
    g.DrawHistoR(&d, rc);
    g.DrawHistoG(&d, rc);
    g.DrawHistoB(&d, rc);
    for (int L : {-1, 0, 128, 255, 256, 1 << 30}) {
      (void)g.GetHistoValueL(L);
      (void)g.GetHistoValueR(L);
      (void)g.GetHistoValueG(L);
      (void)g.GetHistoValueB(L);
    }
    // A graph drawn after its frame ended, and copies of it, must behave the same way.
    if (iter % 50 == 0) {
      CVideoScopeGraph copy(g);
      g.EndUpdateGraph();
      copy.DrawVector(p, bw, bh, 1.0f);
      g = copy;
    }
    g.EndUpdateGraph();  // the host's frame goes away with this iteration
  }
  // Null targets and draws before any frame.
  CVideoScopeGraph fresh;
  DWORD one = 0;
  fresh.DrawParadeL(&one, 1, 1, CRect(0, 0, 1, 1), 0, 1, 1);
  fresh.DrawParadeL(&one, 1, 1, CRect(0, 0, 1, 1), 0, 1, 0);
  fresh.DrawVector(&one, 1, 1, 1.0f);
  fresh.DrawLightning(&one, 1, 1, CRect(0, 0, 1, 1), 1);
  fresh.DrawParadeR(&one, 1, 1, CRect(0, 0, 1, 1), 255, 0);
  fresh.DrawHistoL(nullptr, CRect(0, 0, 1, 1));
  EXPECT_EQ(one, 0u);
  EXPECT_EQ(fresh.GetHistoValueL(3), 0);
  EXPECT_EQ(fresh.GetHistoPixelCount(), 0);
}

}  // namespace
