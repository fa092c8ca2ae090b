// Geometry and readouts of the scope windows, without windows: graticule rows at several sizes
// and every scale type, trace rectangles, readout texts for chosen cursor positions, the vector
// targets and the parade columns, the blend rule and the out-of-range counters.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scopes/ScopeWndGeometry.h"
#include "scopes/VectorScopeWnd.h"

using namespace scopewnd;

namespace {

std::vector<int> Rows(int H, int type, LineKind* kinds = nullptr) {
  std::vector<int> rows;
  int i = 0;
  for (const ScaleLine& l : WaveformScale(type)) {
    rows.push_back(WaveformRow(H, l.k));
    if (kinds) kinds[i++] = l.kind;
  }
  return rows;
}

}  // namespace

TEST(ScopeBlend, TraceOverGraticuleIsTheChannelMean) {
  EXPECT_EQ(BlendScopePixel(0x6D4A00, 0x59DB59), 0x63922Cu);
  EXPECT_EQ(BlendScopePixel(0, 0x59DB59), 0x59DB59u);
  EXPECT_EQ(BlendScopePixel(0x6D4A00, 0), 0x6D4A00u);
  EXPECT_EQ(BlendScopePixel(0xFFFFFF, 0xFFFFFF), 0xFFFFFFu);  // no carry between channels
  DWORD bk[3] = {0, 0x6D4A00, 0x010101}, graph[3] = {0x123456, 0, 0x030303};
  ComposeScope(bk, graph, 3);
  EXPECT_EQ(graph[0], 0x123456u);
  EXPECT_EQ(graph[1], 0x6D4A00u);
  EXPECT_EQ(graph[2], 0x020202u);
}

TEST(WaveformGeometry, PercentScaleRowsAt170) {
  LineKind kinds[17];
  const std::vector<int> rows = Rows(170, 1, kinds);
  ASSERT_EQ(rows.size(), 17u);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(rows[i], 165 - 10 * i);
  EXPECT_EQ(kinds[3], LineKind::Major);   // "0" at 135
  EXPECT_EQ(kinds[13], LineKind::Major);  // "100" at 35
  EXPECT_EQ(kinds[0], LineKind::Minor);
  EXPECT_EQ(kinds[1], LineKind::Labelled);
  const CRect trace = WaveformTraceRect(400, 170);
  EXPECT_EQ(trace, CRect(25, 36, 399, 135));
}

TEST(WaveformGeometry, CodeAndMillivoltScalesAtOtherHeights) {
  // Code values: the 0 and 255 lines carry the video range; rows scale with the height.
  const std::vector<int> code = Rows(340, 0);
  ASSERT_EQ(code.size(), 15u);
  EXPECT_EQ(code[2], 270);  // "0"
  EXPECT_EQ(code[12], 70);  // "255"
  EXPECT_EQ(Rows(300, 0)[12], 62);  // 300 * 35 / 170 = 61.76
  // Millivolts: 0 mV on the 0 % row, 700 mV on the 100 % row, 1000 mV above the window.
  const std::vector<int> mv = Rows(170, 2);
  ASSERT_EQ(mv.size(), 13u);
  EXPECT_EQ(mv[2], 135);
  EXPECT_EQ(mv[9], 35);
  EXPECT_EQ(mv[0], 164);  // -200 mV: k = 163.57
  EXPECT_LT(mv[12], 0);
  EXPECT_TRUE(WaveformScale(3).empty());
  EXPECT_TRUE(WaveformScale(-1).empty());
}

TEST(WaveformGeometry, LegalLinesFollowTheMode) {
  const LegalLines y = WaveformLegalLines(170, true);
  ASSERT_EQ(y.nCount, 2);
  EXPECT_EQ(y.rows[0], 129);  // code 16
  EXPECT_EQ(y.rows[1], 43);   // code 235
  const LegalLines yc = WaveformLegalLines(170, false);
  ASSERT_EQ(yc.nCount, 1);
  EXPECT_EQ(yc.rows[0], 21);  // 800 mV
}

TEST(WaveformGeometry, ReadoutTextsAtTheCursorRow) {
  EXPECT_EQ(WaveformReadout(1, 340, 70), CString(L" 100%  "));
  EXPECT_EQ(WaveformReadout(0, 340, 70), CString(L"  255   "));
  EXPECT_EQ(WaveformReadout(2, 340, 70), CString(L" 700mv  "));
  EXPECT_EQ(WaveformReadout(1, 340, 270), CString(L" 0%  "));
  EXPECT_EQ(WaveformReadout(1, 340, 340), CString(L" -35%  "));
  EXPECT_TRUE(WaveformReadout(3, 340, 70).IsEmpty());
  EXPECT_EQ(WaveformReadoutRow(170), 5);
  EXPECT_EQ(WaveformValue(0, 10), 0.0);  // no height, no division
}

TEST(HistogramGeometry, LevelAxisAndRectangles) {
  const CRect w288(0, 0, 288, 232), w576(0, 0, 576, 232);
  for (int L : {0, 64, 128, 255}) EXPECT_EQ(HistogramX(w288, L), L + 16);
  EXPECT_EQ(HistogramSingleRect(w288), CRect(16, 56, 271, 216));
  EXPECT_EQ(HistogramSingleRect(w576).Width(), 510);
  EXPECT_EQ(HistogramBandRect(w288, 0), CRect(16, 26, 271, 66));
  EXPECT_EQ(HistogramBandRect(w288, 1), CRect(16, 76, 271, 116));
  EXPECT_EQ(HistogramBandRect(w288, 2), CRect(16, 126, 271, 166));
  EXPECT_EQ(HistogramBandRect(w288, 3), CRect(16, 176, 271, 216));
  EXPECT_EQ(HistogramLevelAt(w288, 16 + 300), 300);
  EXPECT_EQ(HistogramLevelAt(w576, 32 + 2 * 100), 100);
  EXPECT_EQ(HistogramLevelAt(CRect(0, 0, 0, 10), 5), 0);
}

TEST(VectorGeometry, CentreRadiusCirclesAndAxisGap) {
  const VectorGeometry g = VectorGeometryFor(400, 300);
  EXPECT_EQ(g.cx, 200);
  EXPECT_EQ(g.cy, 150);
  EXPECT_EQ(g.r, 127);
  const int radii[5] = {25, 50, 76, 101, 127};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(VectorCircleRadius(g.r, i), radii[i]);
  EXPECT_EQ(VectorAxisGap(g.r), 38);
  EXPECT_EQ(VectorGeometryFor(401, 300).cx, 200);
  EXPECT_EQ(VectorGeometryFor(3, 3).r, 0);
}

TEST(VectorGeometry, ReadoutAnglesAndPercentages) {
  const VectorGeometry g = VectorGeometryFor(400, 300);
  struct Case {
    int dx, dy, angle, percent;
  } cases[] = {{0, -64, 89, 51}, {-64, 0, 179, 51}, {0, 64, 271, 51}, {64, 0, 0, 51}, {40, -40, 44, 45}, {1, 0, 0, 1}};
  for (const Case& c : cases) {
    const VectorReadout r = VectorReadoutAt(g, {g.cx + c.dx, g.cy + c.dy});
    EXPECT_EQ(r.nAngle, c.angle) << c.dx << "," << c.dy;
    EXPECT_EQ(r.nPercent, c.percent) << c.dx << "," << c.dy;
  }
  // A window too small for a circle reads 0 % instead of dividing by its zero radius.
  const VectorGeometry tiny = VectorGeometryFor(3, 3);
  EXPECT_EQ(VectorReadoutAt(tiny, {2, 0}).nPercent, 0);
}

TEST(VectorGeometry, TargetsSitOppositeTheirComplements) {
  const VectorGeometry g = VectorGeometryFor(400, 300);
  auto target = [&](BYTE r, BYTE gr, BYTE b) {
    int u = 0, v = 0;
    TargetChroma(r, gr, b, u, v);
    return VectorTarget(g, u, v);
  };
  const POINT red = target(255, 0, 0), cyan = target(0, 255, 255);
  const POINT green = target(0, 255, 0), magenta = target(255, 0, 255);
  const POINT blue = target(0, 0, 255), yellow = target(255, 255, 0);
  EXPECT_LT(red.x, g.cx);  // red: up and to the left
  EXPECT_LT(red.y, g.cy);
  EXPECT_GT(blue.x, g.cx);  // blue: right, a little down
  EXPECT_LT(green.x, g.cx);
  EXPECT_GT(green.y, g.cy);
  for (auto [a, b] : {std::pair{red, cyan}, {green, magenta}, {blue, yellow}}) {
    EXPECT_NEAR(a.x - g.cx, g.cx - b.x, 1);
    EXPECT_NEAR(a.y - g.cy, g.cy - b.y, 1);
  }
  // Every target lies between the 60 % and the 100 % circle.
  for (POINT p : {red, cyan, green, magenta, blue, yellow}) {
    const double d = std::hypot(p.x - g.cx, p.y - g.cy);
    EXPECT_GT(d, 0.6 * g.r);
    EXPECT_LT(d, g.r);
  }
}

TEST(VectorGeometry, LightningPlotAreaKeepsInsideSmallBuffers) {
  const LightningGeometry g = LightningGeometryFor(400, 300);
  EXPECT_EQ(g.mx, 50);
  EXPECT_EQ(g.my, 37);
  EXPECT_EQ(g.pw, 300);
  EXPECT_EQ(g.ph, 226);
  EXPECT_EQ(g.xstep, 60);
  EXPECT_EQ(g.ystep, 22);
  EXPECT_EQ(LightningGeometryFor(4, 4).xstep, 0);
  EXPECT_EQ(LightningTraceRect(400, 300), CRect(50, 37, 350, 263));
  // Under 8 rows there is no margin: the lower half must still end on the last row.
  for (int H = 1; H < 8; ++H) {
    const CRect rc = LightningTraceRect(40, H);
    const int centre = (rc.top + rc.bottom) / 2;
    EXPECT_LE(centre + (128 * rc.Height()) / 256, H - 1) << H;
    EXPECT_GE(centre - (128 * rc.Height()) / 256, 0) << H;
  }
}

TEST(ParadeGeometry, ColumnsRowsAndReadout) {
  const CRect rc(0, 0, 321, 304);
  EXPECT_EQ(ParadeColumn(rc, 0), CRect(21, 0, 121, 304));
  EXPECT_EQ(ParadeColumn(rc, 1), CRect(121, 0, 221, 304));
  EXPECT_EQ(ParadeColumn(rc, 2), CRect(221, 0, 321, 304));
  const int codes[] = {0, 64, 128, 192, 255}, rows[] = {272, 208, 144, 80, 17};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ParadeCodeRow(rc, codes[i]), rows[i]);
  EXPECT_EQ(ParadeCodeRow(rc, -16), 288);
  EXPECT_EQ(ParadeMvRow(rc, 0), 256);
  EXPECT_EQ(ParadeMvRow(rc, 700), 37);
  EXPECT_EQ(ParadeMvRow(rc, -100), 287);
  EXPECT_EQ(ParadeMvRow(rc, -200), 319);
  EXPECT_EQ(ParadeMvRow(rc, 900), -26);
  EXPECT_EQ(ParadeReadout(0, rc, 144), CString(L" 128 "));
  EXPECT_EQ(ParadeReadout(2, rc, 144), CString(L" 357mv  "));
  EXPECT_TRUE(ParadeReadout(1, rc, 144).IsEmpty());
  for (int w = 21; w <= 23; ++w) EXPECT_EQ(ParadeColumn(CRect(0, 0, w, 50), 2).Width(), 0);
  EXPECT_EQ(ParadeColumn(CRect(0, 0, 10, 50), 0).Width(), 0);  // narrower than the margin
  EXPECT_EQ(ParadeValueAt(CRect(0, 0, 10, 0), 5), 0);
}

TEST(CheckRange, CountsPixelsOutsideTheRange) {
  YVYU rec[3] = {{10, 5, 128, 250}, {128, 100, 250, 100}, {128, 16, 128, 235}};
  long lo = -1, hi = -1;
  CheckY(rec, 3, 16, 235, lo, hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 1);
  CheckU(rec, 3, 16, 240, lo, hi);
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 0);
  CheckV(rec, 3, 16, 240, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 2);
  CheckY(nullptr, 5, 16, 235, lo, hi);
  EXPECT_EQ(lo + hi, 0);
}
