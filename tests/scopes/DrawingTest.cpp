// Drawing: each display's geometry and colours, the caches, and the optimised drawings against
// the straightforward versions of ScopeReference.h, pixel for pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "ScopeReference.h"
#include "companion/Buf32Draw.h"
#include "companion/FastLog.h"
#include "scopes/ScopePalette.h"
#include "scopes/VideoScopeGraph.h"

namespace {

struct Buffer {
  Buffer(int w, int h) : step(w), rows(h), px(size_t(w) * h, 0) {}
  int step, rows;
  std::vector<DWORD> px;
  DWORD* data() { return px.data(); }
  DWORD At(int x, int y) const { return px[size_t(y) * step + x]; }
  int Count(DWORD v) const { return int(std::count(px.begin(), px.end(), v)); }
  int NonZero() const { return int(px.size()) - Count(0); }
};

// A VYUY frame of `pairs` units per row, every unit the same.
std::vector<uint8_t> Flat(int pairs, int rows, VYUY u) {
  std::vector<uint8_t> f(size_t(pairs) * rows * 4);
  for (size_t i = 0; i < f.size(); i += 4) std::memcpy(&f[i], &u, 4);
  return f;
}

TEST(ScopeDrawing, PaletteAndMarkColour) {
  EXPECT_EQ(ScopePalette[0], 0x004600u);
  EXPECT_EQ(ScopePalette[159], 0x01C801u);
  EXPECT_EQ(ScopePalette[200], 0x59DB59u);
  EXPECT_EQ(ScopePalette[255], 0xEAFAEAu);
  for (int i = 1; i < 160; ++i) EXPECT_GE(ScopePalette[i] & 0xFF00, ScopePalette[i - 1] & 0xFF00) << i;
  EXPECT_EQ(SCOPE_MARK_COLOR, 0xFF5050u);
}

TEST(ScopeDrawing, LumaWaveformGeometryAndMarks) {
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  auto f = Flat(128, 4, VYUY{128, 128, 128, 128});
  g.UpdateGraph(f.data(), 256, 4, 512, 0);
  const CRect rc(0, 0, 256, 256);
  // Limited range: v(128) = 32768 / 220 - 16 = 132, row = 256 - 132 = 124; one pixel a column.
  Buffer b(256, 300);
  g.DrawYParade(b.data(), b.step, b.rows, rc, FALSE, FALSE);
  EXPECT_EQ(b.NonZero(), 256);
  for (int x = 0; x < 256; ++x) ASSERT_EQ(b.At(x, 124), ScopePalette[255]) << x;
  // Full range: row = 256 - 128.
  Buffer fb(256, 300);
  g.DrawYParade(fb.data(), fb.step, fb.rows, rc, TRUE, FALSE);
  EXPECT_EQ(fb.Count(ScopePalette[255]), 256);
  EXPECT_EQ(fb.At(7, 128), ScopePalette[255]);
  // With marks a level draws the band from row(L + 1) to row(L): row(129) = 256 - 134 = 122.
  Buffer mb(256, 300);
  g.DrawYParade(mb.data(), mb.step, mb.rows, rc, FALSE, TRUE);
  EXPECT_EQ(mb.Count(ScopePalette[255]), 2 * 256);
  EXPECT_EQ(mb.At(3, 122), ScopePalette[255]);
  EXPECT_EQ(mb.At(3, 123), ScopePalette[255]);
  EXPECT_EQ(mb.At(3, 124), 0u);
  // Level 10 lies below the legal range: a light-red band, rows row(11) = 260 .. row(10) = 261.
  auto low = Flat(128, 4, VYUY{10, 128, 255, 128});
  g.UpdateGraph(low.data(), 256, 4, 512, 0);
  Buffer lb(256, 300);
  g.DrawYParade(lb.data(), lb.step, lb.rows, rc, FALSE, TRUE);
  EXPECT_EQ(lb.At(0, 260), SCOPE_MARK_COLOR);
  EXPECT_EQ(lb.At(254, 260), SCOPE_MARK_COLOR);
  EXPECT_EQ(lb.At(1, 260), 0u);     // odd columns hold level 255: never shown with marks
  EXPECT_EQ(lb.NonZero(), 128);
  // A target narrower than the frame puts several columns on one; wider ones widen the bands.
  Buffer wide(600, 300);
  g.DrawYParade(wide.data(), wide.step, wide.rows, CRect(50, 0, 562, 256), FALSE, TRUE);
  EXPECT_EQ(wide.At(50, 260), SCOPE_MARK_COLOR);
  EXPECT_EQ(wide.At(51, 260), SCOPE_MARK_COLOR);
  EXPECT_EQ(wide.At(52, 260), 0u);
  EXPECT_EQ(wide.At(49, 260), 0u);
}

TEST(ScopeDrawing, LumaRowCacheFollowsRangeAndTargetRows) {
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  std::mt19937 rng(3);
  auto f = Flat(64, 8, VYUY{0, 0, 0, 0});
  for (auto& x : f) x = uint8_t(rng());
  g.UpdateGraph(f.data(), 128, 8, 256, 0);
  const CRect rc(0, 10, 128, 200);
  for (int full : {0, 1, 0}) {
    for (int rows : {220, 150, 220}) {
      Buffer b(128, rows), want(128, rows);
      g.DrawYParade(b.data(), b.step, b.rows, rc, full, TRUE);
      ref::DrawYParade(g.GetYLevels().GetData(), 128, want.data(), want.step, want.rows, rc, full, true);
      ASSERT_EQ(b.px, want.px) << "full " << full << " rows " << rows;
    }
  }
}

// Frames wider than the drawing put several records on one buffer column, narrower ones spread
// a record over several; a smooth ramp with noise gives neighbours both shared and own levels.
TEST(ScopeDrawing, LumaWaveformMatchesReferenceAtAnyDrawingWidth) {
  CYVYUGraph g;
  g.SetYorYCFlag(0);
  std::mt19937 rng(11);
  auto f = Flat(150, 12, VYUY{0, 128, 0, 128});
  for (size_t i = 0; i < f.size(); i += 2) f[i] = uint8_t((i / 2 % 300) * 255 / 300 + rng() % 24);
  g.UpdateGraph(f.data(), 300, 12, 600, 0);
  for (int width : {37, 100, 300, 700}) {
    for (int mark : {0, 1}) {
      const CRect rc(3, 4, 3 + width, 180);
      Buffer b(width + 10, 190), want(width + 10, 190);
      g.DrawYParade(b.data(), b.step, b.rows, rc, FALSE, mark);
      ref::DrawYParade(g.GetYLevels().GetData(), 300, want.data(), want.step, want.rows, rc, false, mark != 0);
      ASSERT_EQ(b.px, want.px) << "width " << width << " mark " << mark;
    }
  }
}

TEST(ScopeDrawing, YCWaveformGeometryAndReference) {
  CYVYUGraph g;
  g.SetYorYCFlag(1);
  auto f = Flat(2, 2, VYUY{16, 128, 236, 128});
  g.UpdateGraph(f.data(), 4, 2, 8, 0);
  // Counter 141 (level 16) sits on rc.bottom: its band is the row just above it.
  Buffer b(4, 240);
  g.DrawYParade2(b.data(), 4, 240, CRect(0, 0, 4, 220), FALSE, FALSE);
  const DWORD lit = ScopePalette[g.GetYCMap()[2]];
  EXPECT_EQ(b.At(0, 219), lit);
  EXPECT_EQ(b.At(0, 218), 0u);
  // Level 236 (counter 361) lies exactly h above: on the top row its band is empty.
  EXPECT_EQ(b.Count(lit), 2);
  Buffer m(4, 240);
  g.DrawYParade2(m.data(), 4, 240, CRect(0, 10, 4, 230), FALSE, TRUE);
  EXPECT_EQ(m.At(1, 9), lit);
  EXPECT_EQ(m.At(0, 229), lit);
  // Strong chroma spreads Y = 255 over levels 144 .. 366 (m = 111); with marks the counters from
  // 393 up (levels 268 and above) are red, the rest green.
  auto sat = Flat(2, 2, VYUY{255, 0, 255, 128});
  g.UpdateGraph(sat.data(), 4, 2, 8, 0);
  Buffer s(4, 600);
  // row(k) = 661 - k, so counter k's band is the single row 660 - k.
  g.DrawYParade2(s.data(), 4, 600, CRect(0, 300, 4, 520), FALSE, TRUE);
  EXPECT_EQ(s.At(0, 260), SCOPE_MARK_COLOR);  // k = 400
  EXPECT_EQ(s.At(0, 267), SCOPE_MARK_COLOR);  // k = 393
  EXPECT_EQ(s.At(0, 268), ScopePalette[g.GetYCMap()[2]]);
  EXPECT_EQ(s.At(0, 169), SCOPE_MARK_COLOR);  // k = 491, the span's top
  EXPECT_EQ(s.At(0, 168), 0u);

  // Random frames, both ranges and mark modes, against ref::DrawYParade2; the cache is switched
  // between ranges on the same target.
  std::mt19937 rng(11);
  auto r = Flat(40, 30, VYUY{0, 0, 0, 0});
  for (auto& x : r) x = uint8_t(rng());
  g.UpdateGraph(r.data(), 80, 30, 160, 0);
  for (int full : {0, 1, 0})
    for (int mark : {0, 1}) {
      Buffer got(200, 180), want(200, 180);
      const CRect rc(-5, 20, 190, 170);
      g.DrawYParade2(got.data(), 200, 180, rc, full, mark);
      ref::DrawYParade2(g.GetYCLevels().GetData(), 80, want.data(), 200, 180, rc, full, mark);
      ASSERT_EQ(got.px, want.px) << full << mark;
    }
  // Disabled, or without records of its mode: nothing drawn.
  Buffer none(80, 100);
  g.DrawYParade(none.data(), 80, 100, CRect(0, 0, 80, 100), 0, 0);
  g.EnableYParade(0);
  g.DrawYParade2(none.data(), 80, 100, CRect(0, 0, 80, 100), 0, 0);
  EXPECT_EQ(none.NonZero(), 0);
}

TEST(ScopeDrawing, VectorCentreGlowAndGainCache) {
  CYVYUGraph g;
  auto f = Flat(8, 8, VYUY{100, 128, 150, 128});
  g.UpdateGraph(f.data(), 16, 8, 32, 0);
  Buffer b(64, 64);
  g.DrawVector(b.data(), 64, 64, 1.0f);
  // All counts at the centre: full intensity; the four neighbours glow at 255 / 2 + 1.
  EXPECT_EQ(b.At(32, 32), ScopePalette[255]);
  EXPECT_EQ(b.At(31, 32), ScopePalette[128]);
  EXPECT_EQ(b.At(33, 32), ScopePalette[128]);
  EXPECT_EQ(b.At(32, 31), ScopePalette[128]);
  EXPECT_EQ(b.At(32, 33), ScopePalette[128]);
  EXPECT_EQ(b.NonZero(), 5);
  // Two lit neighbours: the glow goes around the lit one instead of onto it.
  uint8_t two[8] = {0, 128, 0, 128, 0, 129, 0, 128};
  g.UpdateGraph(two, 4, 1, 8, 0);
  Buffer t(512, 512);
  g.DrawVector(t.data(), 512, 512, 1.0f);  // s = 2: U 129 lands at x = 258
  CFastLog log;
  const int v = std::min(255, 1 + int(400 * log.Calc(1) * (1 / log.Calc(2))));
  EXPECT_EQ(t.At(256, 256), ScopePalette[v]);
  EXPECT_EQ(t.At(258, 256), ScopePalette[v]);
  EXPECT_EQ(t.At(257, 256), ScopePalette[v / 2 + 1]);
  // The second point finds its left neighbour already glowing and lights that one's sides.
  EXPECT_EQ(t.At(257, 255), ScopePalette[v / 2 + 1]);
  EXPECT_EQ(t.At(257, 257), ScopePalette[v / 2 + 1]);
  EXPECT_EQ(t.At(259, 256), ScopePalette[v / 2 + 1]);
  EXPECT_EQ(t.At(255, 255), 0u);
  EXPECT_EQ(t.NonZero(), 2 + 9);
  // The gain's tables are reused within 0.001 and rebuilt beyond it: U = 255 at s = 10 * gain.
  uint8_t edge[4] = {0, 255, 0, 128};
  g.UpdateGraph(edge, 2, 1, 4, 0);
  std::vector<DWORD> big(size_t(2560) * 2560);
  auto centreX = [&](float gain) {
    std::fill(big.begin(), big.end(), 0);
    g.DrawVector(big.data(), 2560, 2560, gain);
    for (int x = 0; x < 2560; ++x)
      if (big[size_t(1280) * 2560 + x] == ScopePalette[255]) return x;
    return -1;
  };
  EXPECT_EQ(centreX(1.0f), 1280 + 1270);
  EXPECT_EQ(centreX(1.0009f), 1280 + 1270);  // fresh tables would put it at 1271
  EXPECT_EQ(centreX(1.002f), 1280 + 1272);
  // No frame after EndUpdateGraph; disabled; a non-finite gain: nothing drawn.
  g.EndUpdateGraph();
  Buffer e(64, 64);
  g.DrawVector(e.data(), 64, 64, 1.0f);
  g.UpdateGraph(f.data(), 16, 8, 32, 0);
  g.DrawVector(e.data(), 64, 64, NAN);
  g.EnableVector(0);
  g.DrawVector(e.data(), 64, 64, 1.0f);
  EXPECT_EQ(e.NonZero(), 0);
}

TEST(ScopeDrawing, LightningPointsMarksAndClipping) {
  CYVYUGraph g;
  auto f = Flat(1, 1, VYUY{128, 128, 128, 128});
  g.UpdateGraph(f.data(), 2, 1, 4, 0);
  Buffer b(256, 200);
  g.DrawLightning(b.data(), 256, 200, CRect(0, 0, 256, 200), FALSE);
  // Neutral chroma: both points at the centre row, four counts of two samples each.
  EXPECT_EQ(b.At(128, 100), ScopePalette[255]);
  EXPECT_EQ(b.NonZero(), 1);
  // Marks: Y out of range marks both points; U out of range marks the upper one only.
  uint8_t units[8] = {10, 128, 128, 128, 128, 250, 128, 128};
  g.UpdateGraph(units, 4, 1, 8, 0);
  Buffer m(256, 200);
  g.DrawLightning(m.data(), 256, 200, CRect(0, 0, 256, 200), TRUE);
  EXPECT_EQ(m.At(10, 100), SCOPE_MARK_COLOR);                       // Y = 10
  EXPECT_EQ(m.At(128, 100 - (122 * 200) / 256), SCOPE_MARK_COLOR);  // U = 250 above
  EXPECT_NE(m.At(128, 100), 0u);
  EXPECT_NE(m.At(128, 100), SCOPE_MARK_COLOR);
  // A target reaching past the buffer only draws what lies inside it.
  std::vector<DWORD> guarded(256 * 60 + 64, 0xABCDEF);
  std::fill(guarded.begin() + 32, guarded.begin() + 32 + 256 * 60, 0);
  g.DrawLightning(guarded.data() + 32, 256, 60, CRect(-100, -300, 400, 100), TRUE);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(guarded[i], 0xABCDEFu);
    EXPECT_EQ(guarded[guarded.size() - 1 - i], 0xABCDEFu);
  }
  // Its tables follow the target: another rectangle or row length draws as a fresh graph does.
  for (const CRect& r : {CRect(20, 10, 120, 90), CRect(0, 0, 256, 200), CRect(20, 0, 120, 150)}) {
    for (int step : {256, 300}) {
      Buffer got(step, 200), want(step, 200);
      g.DrawLightning(got.data(), step, 200, r, TRUE);
      CYVYUGraph fresh;
      fresh.UpdateGraph(units, 4, 1, 8, 0);
      fresh.DrawLightning(want.data(), step, 200, r, TRUE);
      ASSERT_EQ(got.px, want.px);
    }
  }
  g.EndUpdateGraph();
  Buffer e(256, 200);
  g.DrawLightning(e.data(), 256, 200, CRect(0, 0, 256, 200), FALSE);
  EXPECT_EQ(e.NonZero(), 0);
}

TEST(ScopeDrawing, LumaHistogramBinsAndResampling) {
  CYVYUGraph g;
  g.EnableYParade(0);
  // Levels 20 and 21 (one count each) and 100 (many).
  std::vector<uint8_t> f = Flat(50, 1, VYUY{100, 128, 100, 128});
  f[0] = 20, f[2] = 21;
  g.UpdateGraph(f.data(), 100, 1, 200, 0);
  CFastLog log;
  const float fl = log.Calc(100);
  const CRect rc(0, 0, 256, 100);
  Buffer b(256, 120);
  g.DrawHistoL(b.data(), 256, 120, rc);
  // 256 wide: bin = level; a column runs from bottom - hh down to and including rc.bottom.
  const int hh100 = int((100 / fl) * log.Calc(98));
  EXPECT_EQ(b.At(100, 100), 0xFFFFFFFFu);
  EXPECT_EQ(b.At(100, 100 - hh100), 0xFFFFFFFFu);
  EXPECT_EQ(b.At(100, 99 - hh100), 0u);
  EXPECT_EQ(b.At(20, 100), 0xFFFFFFFFu);  // one count: log 1 = 0, the bottom row only
  EXPECT_EQ(b.At(20, 99), 0u);
  EXPECT_EQ(b.At(22, 100), 0u);
  // 128 wide: each pair of bins keeps the greater; bins 20 and 21 share column 10.
  Buffer h(200, 120);
  g.DrawHistoL(h.data(), 200, 120, CRect(10, 0, 138, 100));
  EXPECT_EQ(h.At(10 + 10, 100), 0xFFFFFFFFu);
  EXPECT_EQ(h.At(10 + 50, 100 - hh100), 0xFFFFFFFFu);
  EXPECT_EQ(h.NonZero(), 1 + (hh100 + 1));
  // 512 wide: interpolated bins reach between the source levels.
  Buffer w(512, 120);
  g.DrawHistoL(w.data(), 512, 120, CRect(0, 0, 512, 100));
  EXPECT_EQ(w.At(198, 100), 0u);           // between two empty levels
  EXPECT_EQ(w.At(199, 100), 0xFFFFFFFFu);  // a tenth of the way up to level 100
  EXPECT_EQ(w.At(201, 100), 0xFFFFFFFFu);
  EXPECT_EQ(w.At(201, 100 - hh100), 0u);   // below level 100's full height
  EXPECT_EQ(w.At(0, 100), 0u);
  // The histogram only paints down to the buffer's last row.
  Buffer s(256, 50);
  g.DrawHistoL(s.data(), 256, 50, rc);
  EXPECT_EQ(s.At(100, 49), 0xFFFFFFFFu);
}

TEST(ScopeDrawing, RGBHistogramBarsAndSinglePixel) {
  CVideoScopeGraph g;
  std::vector<SARGB> px(64, SARGB{10, 20, 30, 0});
  px[0] = SARGB{11, 21, 31, 0};
  g.UpdateGraph(px.data(), 8, 8, 32, 0, CVideoScopeGraph::ARGB);
  CBuf32Draw d;
  ASSERT_TRUE(d.Create(600, 120));
  g.DrawHistoR(&d, CRect(0, 0, 512, 100));  // two pixels a level: bars 3 wide (trunc(2 + 1))
  CFastLog log;
  const int hh = int(log.Calc(63) * (100 / log.Calc(64)));
  auto at = [&](int x, int y) { return d.Buf()[y * 600 + x]; };
  EXPECT_EQ(at(60, 99), 0xF9826Cu);
  EXPECT_EQ(at(62, 100 - hh), 0xF9826Cu);
  EXPECT_EQ(at(60, 99 - hh), 0u);
  EXPECT_EQ(at(63, 99), 0u);
  EXPECT_EQ(at(62, 99), 0xF9826Cu);
  g.DrawHistoG(&d, CRect(0, 0, 256, 100));  // one pixel a level: one-pixel lines
  EXPECT_EQ(at(20, 99), 0x8CF96Cu);
  g.DrawHistoB(&d, CRect(0, 0, 128, 100));
  EXPECT_EQ(at(5, 99), 0x8C82D9u);
  // A single-pixel frame: its one count fills the height instead of dividing by log 1 = 0.
  g.UpdateGraph(px.data(), 1, 1, 4, 0, CVideoScopeGraph::ARGB);
  CBuf32Draw one;
  ASSERT_TRUE(one.Create(256, 50));
  g.DrawHistoR(&one, CRect(0, 10, 256, 50));
  EXPECT_EQ(one.Buf()[10 * 256 + 31], 0xF9826Cu);
  EXPECT_EQ(one.Buf()[49 * 256 + 31], 0xF9826Cu);
  EXPECT_EQ(one.Buf()[9 * 256 + 31], 0u);
  // Switched off: nothing.
  CBuf32Draw off;
  ASSERT_TRUE(off.Create(256, 50));
  g.EnableRGBAnalyse(0);
  g.DrawHistoR(&off, CRect(0, 0, 256, 50));
  g.DrawHistoR(nullptr, CRect(0, 0, 256, 50));
  for (int i = 0; i < 256 * 50; ++i) ASSERT_EQ(off.Buf()[i], 0u);
}

TEST(ScopeDrawing, ParadeChannelsWhiteEndsAndClipping) {
  CARGBGraph g;
  // Column 0: level 100 forty times in red; column 1: level 100 ten times in green; column 2:
  // level 250 in blue.
  std::vector<SARGB> px(3 * 40, SARGB{0, 0, 0, 0});
  for (int r = 0; r < 40; ++r) {
    px[r * 3 + 0] = SARGB{0, 0, 100, 0};
    px[r * 3 + 1] = SARGB{0, BYTE(r < 10 ? 100 : 50), 0, 0};
    px[r * 3 + 2] = SARGB{250, 0, 0, 0};
  }
  g.UpdateGraph(px.data(), 3, 40, 12, 0);
  Buffer b(30, 256);
  const CRect rc(0, 0, 30, 256);
  g.DrawParadeR(b.data(), 30, 256, rc, 256, 0);
  g.DrawParadeG(b.data(), 30, 256, rc, 256, 0);
  g.DrawParadeB(b.data(), 30, 256, rc, 256, 0);
  // ys = 1, xs = 10: level i covers row 256 - i - 0 (hh = 1) in 10 columns.
  EXPECT_EQ(b.At(0, 156) & 0xFF0000, 0xFF0000u);
  EXPECT_EQ(b.At(15, 156) & 0x00FF00, 168u << 8);
  EXPECT_EQ(b.At(25, 6), 0xFFFFFFu);  // level 250: all three bytes white
  // Levels shown outside the target are clipped to the buffer, not written past it.
  std::vector<DWORD> guarded(30 * 40 + 64, 0x5A5A5A5A);
  std::fill(guarded.begin() + 32, guarded.begin() + 32 + 30 * 40, 0);
  g.DrawParadeR(guarded.data() + 32, 30, 40, CRect(-10, -50, 40, 80), 120, -30);
  g.DrawParadeB(guarded.data() + 32, 30, 40, CRect(0, 0, 30, 40), 300, 200);
  for (int i = 0; i < 32; ++i) {
    ASSERT_EQ(guarded[i], 0x5A5A5A5Au);
    ASSERT_EQ(guarded[guarded.size() - 1 - i], 0x5A5A5A5Au);
  }
  // Random data against ref::DrawParadeElement, with odd scales and a target larger than the buffer.
  std::mt19937 rng(9);
  std::vector<SARGB> rp(37 * 23);
  for (auto& p : rp) p = SARGB{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
  g.UpdateGraph(rp.data(), 37, 23, 37 * 4, 0);
  for (auto [top, bottom] : {std::pair{255.0, 0.0}, std::pair{235.0, 16.0}, std::pair{300.0, -40.0}}) {
    Buffer got(120, 90), want(120, 90);
    const CRect r2(-7, -3, 130, 95);
    g.DrawParadeR(got.data(), 120, 90, r2, top, bottom);
    g.DrawParadeG(got.data(), 120, 90, r2, top, bottom);
    g.DrawParadeB(got.data(), 120, 90, r2, top, bottom);
    ref::DrawParadeElement(g.GetParadeR().GetData(), 37, want.data(), 120, 90, r2, top, bottom, 0);
    ref::DrawParadeElement(g.GetParadeG().GetData(), 37, want.data(), 120, 90, r2, top, bottom, 1);
    ref::DrawParadeElement(g.GetParadeB().GetData(), 37, want.data(), 120, 90, r2, top, bottom, 2);
    ASSERT_EQ(got.px, want.px) << top << " " << bottom;
  }
}

}  // namespace
