// The scope windows on the headless harness: the blend on screen, the base window's pipeline and
// hover state, each scope's graticule, traces and readouts, and the mended faults.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "scopes/HistogramWnd.h"
#include "scopes/RGBParadeWnd.h"
#include "scopes/ScopePalette.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/WaveformWnd.h"
#include "support/HostWindow.h"
#include "tests/scopes/ScopeWndFrames.h"

namespace hl = winport::headless;
using namespace scopetest;

namespace {

// Screen pixel of a COLORREF line colour.
constexpr uint32_t Px(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr uint32_t kMinorPx = Px(0x004A6D), kMajorPx = Px(0x0097DB), kLabelledPx = Px(0x006FA4);
constexpr uint32_t kLegalPx = Px(0x1D0FDC), kYellow = 0xFFFF00, kGraticulePx = Px(0x0090D1);
constexpr uint32_t kTargetPx = Px(0x0DAC58);

class ScopeWndTest : public testsupport::HostWindowTest {
 protected:
  template <class W>
  void Make(W& wnd, int w, int h, int x = 0) {
    ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, CRect(x, 0, x + w, h), &m_top, 1));
    hl::Pump();
  }
  // Feeds one VYUY frame through the graph into the windows, then ends the frame.
  void FeedVyuy(std::initializer_list<CScopeBaseWnd*> wnds, std::vector<uint8_t>& f, int w, int h) {
    m_graph.UpdateGraph(f.data(), w, h, w * 2, 0, CVideoScopeGraph::VYUY);
    for (CScopeBaseWnd* p : wnds) p->UpdateGraph();
    m_graph.EndUpdateGraph();
  }
  void FeedArgb(std::initializer_list<CScopeBaseWnd*> wnds, std::vector<DWORD>& f, int w, int h) {
    m_graph.UpdateGraph(f.data(), w, h, w * 4, 0, CVideoScopeGraph::ARGB);
    for (CScopeBaseWnd* p : wnds) p->UpdateGraph();
    m_graph.EndUpdateGraph();
  }
  // The screen as 0x00RRGGBB: bars drawn as 0xFFFFFFFF keep their top byte on the surface.
  static hl::Image Screen(CWnd& wnd) {
    hl::Image img = Shot(wnd);
    for (uint32_t& p : img.pixels) p &= 0xFFFFFF;
    return img;
  }
  // Yellow text, anti-aliased onto black.
  static int CountYellowish(const hl::Image& img, CRect rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x) {
        const uint32_t p = img.At(x, y);
        n += ((p >> 16) & 0xFF) > 100 && ((p >> 8) & 0xFF) > 100 && (p & 0xFF) < 40;
      }
    return n;
  }
  static int CountColour(const hl::Image& img, CRect rc, uint32_t c) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x) n += img.At(x, y) == c;
    return n;
  }
  static int CountNonBlack(const hl::Image& img, CRect rc) { return rc.Width() * rc.Height() - CountColour(img, rc, 0); }

  CVideoScopeGraph m_graph;
};

// ---- base window

TEST_F(ScopeWndTest, TraceShowsFullOnBlackAndBlendedOverTheGraticule) {
  Probe<CWaveformWnd> wf;
  Make(wf, 400, 170);
  wf.SetScaleType(1);
  wf.SetMarkOutRange(0);
  wf.AttachVideoScopeGraph(&m_graph);
  // Trace rectangle 25..399 x 36..135, one frame column per pixel: level 128 on row 86 (black
  // ground), level 130 on row 85 (a minor percent line).
  auto f = VyuyColumns(374, 16, [](int x) { return x < 187 ? 128 : 130; });
  FeedVyuy({&wf}, f, 374, 16);
  const hl::Image img = Screen(wf);
  const uint32_t top = ScopePalette[255];
  EXPECT_EQ(img.At(25 + 10, 86), top);
  EXPECT_EQ(img.At(25 + 300, 85), 0xABA275u);  // mean of 0xEAFAEA and 0x6D4A00
  EXPECT_EQ(img.At(25 + 10, 85), kMinorPx);    // graticule where there is no trace
  EXPECT_EQ(img.At(25 + 300, 86), 0u);
  if (HasFailure()) testsupport::SaveShot(img, "blend");
  wf.DestroyWindow();
}

TEST_F(ScopeWndTest, UpdateGraphNeedsASizeAndAGraph) {
  Probe<CWaveformWnd> unsized, unattached;
  Make(unsized, 0, 0);
  Make(unattached, 200, 100);
  unsized.AttachVideoScopeGraph(&m_graph);
  auto f = VyuyColumns(64, 8, [](int) { return 100; });
  const int before = unsized.nPaints + unattached.nPaints;
  FeedVyuy({&unsized, &unattached}, f, 64, 8);
  CRect upd;
  EXPECT_FALSE(unsized.GetUpdateRect(&upd));
  EXPECT_FALSE(unattached.GetUpdateRect(&upd));
  hl::Pump();
  EXPECT_EQ(unsized.nPaints + unattached.nPaints, before);
  EXPECT_FALSE(unsized.HasBuffers());
}

TEST_F(ScopeWndTest, ResizeShowsTheGraticuleAtOnceAndSameSizeKeepsIt) {
  Probe<CWaveformWnd> wf;
  Make(wf, 400, 170);
  wf.SetScaleType(1);
  wf.Invalidate();
  hl::Pump();
  const int drawn = wf.nBkGnd;
  wf.MoveWindow(0, 0, 400, 170);
  hl::Pump();
  EXPECT_EQ(wf.nBkGnd, drawn);  // same size: nothing rebuilt
  wf.MoveWindow(0, 0, 300, 340);
  // No UpdateGraph since the resize: the screen shows the new graticule, not unset pixels.
  const hl::Image img = Screen(wf);
  EXPECT_EQ(wf.nBkGnd, drawn + 1);
  EXPECT_EQ(img.At(299, scopewnd::WaveformRow(340, 145)), kMinorPx);
  EXPECT_EQ(img.At(299, scopewnd::WaveformRow(340, 35)), kMajorPx);
  EXPECT_EQ(img.At(299, scopewnd::WaveformRow(340, 100)), 0u);
  if (HasFailure()) testsupport::SaveShot(img, "resize");
  wf.MoveWindow(0, 0, 0, 340);
  hl::Pump();
  EXPECT_FALSE(wf.HasBuffers());
}

TEST_F(ScopeWndTest, HoverEntersLeavesAndInvalidatesOnce) {
  Probe<CWaveformWnd> a, b;
  Make(a, 200, 170);
  Make(b, 200, 170, 220);
  hl::MouseMove(a, 50, 60);
  EXPECT_EQ(a.MouseIn(), 1);
  EXPECT_EQ(CWnd::GetCapture(), &a);
  const int paints = a.nPaints, active = a.nActive;
  EXPECT_GE(active, 1);
  hl::MouseMove(a, 50, 60);  // the same point again: no repaint
  EXPECT_EQ(a.nPaints, paints);
  hl::MouseMove(a, 51, 60);
  EXPECT_EQ(a.nPaints, paints + 1);
  EXPECT_EQ(Screen(a).At(150, 60), kYellow);  // the cursor line
  hl::MouseMove(a, -5, 60);                 // captured, so the move outside still arrives
  EXPECT_EQ(a.MouseIn(), 0);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_NE(Screen(a).At(150, 60), kYellow);
  EXPECT_EQ(a.nActive, active + 1);
  // Entering the other scope at the point last seen in the first one still shows its readout.
  hl::MouseMove(b, 51, 60);
  EXPECT_EQ(b.MouseIn(), 1);
  EXPECT_GE(b.nActive, 1);
  EXPECT_EQ(Screen(b).At(150, 60), kYellow);
  hl::MouseMove(b, 250, 60);
}

TEST_F(ScopeWndTest, ScopesShareOneFontUntilTheLastGoes) {
  ASSERT_EQ(Probe<CWaveformWnd>::Refs(), 0);
  auto first = std::make_unique<Probe<CWaveformWnd>>();
  auto second = std::make_unique<Probe<CVectorScopeWnd>>();
  const HGDIOBJ font = Probe<CWaveformWnd>::Font();
  EXPECT_NE(font, nullptr);
  EXPECT_EQ(Probe<CVectorScopeWnd>::Font(), font);
  EXPECT_EQ(Probe<CWaveformWnd>::Refs(), 2);
  first.reset();
  EXPECT_EQ(Probe<CVectorScopeWnd>::Font(), font);
  second.reset();
  EXPECT_EQ(Probe<CWaveformWnd>::Font(), nullptr);
  EXPECT_EQ(Probe<CWaveformWnd>::Refs(), 0);
}

// ---- waveform

TEST_F(ScopeWndTest, WaveformGraticuleForEveryScaleAtTwoHeights) {
  for (int H : {170, 340}) {
    for (int type : {0, 1, 2, 3}) {
      Probe<CWaveformWnd> wf;
      Make(wf, 300, H);
      wf.SetScaleType(type);
      wf.Invalidate();  // a new graticule shows with the next paint
      EXPECT_EQ(wf.GetScaleType(), type);
      const hl::Image img = Screen(wf);
      const scopewnd::LegalLines legal = scopewnd::WaveformLegalLines(H, true);
      auto isLegal = [&](int y) { return y == legal.rows[0] || y == legal.rows[0] + 1 || y == legal.rows[1] || y == legal.rows[1] + 1; };
      int checked = 0;
      for (const scopewnd::ScaleLine& l : scopewnd::WaveformScale(type)) {
        const int y = scopewnd::WaveformRow(H, l.k);
        if (y < 0 || y >= H || isLegal(y)) continue;
        ++checked;
        const uint32_t want = l.kind == scopewnd::LineKind::Minor ? kMinorPx
                              : l.kind == scopewnd::LineKind::Major ? kMajorPx
                                                                    : kLabelledPx;
        EXPECT_EQ(img.At(299, y), want) << "H " << H << " type " << type << " row " << y;
        if (l.kind == scopewnd::LineKind::Minor) {
          EXPECT_EQ(img.At(3, y), kMinorPx);
        } else {  // NOLINT
          EXPECT_EQ(img.At(23, y), 0u);                                  // labelled lines start at 25
          EXPECT_GT(CountNonBlack(img, CRect(0, y - 6, 21, y + 6)), 0);  // with their label
        }
      }
      EXPECT_EQ(checked > 0, type != 3);
      for (int y : {legal.rows[0], legal.rows[0] + 1, legal.rows[1], legal.rows[1] + 1}) {
        EXPECT_EQ(img.At(299, y), kLegalPx);
        EXPECT_EQ(img.At(24, y), 0u);
      }
      if (type == 3) {
        EXPECT_EQ(CountColour(img, CRect(299, 0, 300, H), 0), H - 4);
      }
      if (HasFailure()) {
        testsupport::SaveShot(img, "waveform");
        return;
      }
    }
  }
}

TEST_F(ScopeWndTest, WaveformYCModeMovesTheLegalLinesTo800mV) {
  Probe<CWaveformWnd> wf;
  Make(wf, 300, 170);
  wf.SetShowAsY(0);
  wf.Invalidate();
  const hl::Image img = Screen(wf);
  const int y800 = scopewnd::WaveformLegalLines(170, false).rows[0];
  EXPECT_EQ(img.At(200, y800), kLegalPx);
  EXPECT_EQ(img.At(200, y800 - 1), kLegalPx);
  EXPECT_NE(img.At(200, scopewnd::WaveformLegalLines(170, true).rows[0]), kLegalPx);
}

TEST_F(ScopeWndTest, WaveformScaleTypeIsStoredAsReported) {
  Probe<CWaveformWnd> wf;
  Make(wf, 300, 170);
  wf.SetScaleType(258);
  wf.Invalidate();
  EXPECT_EQ(wf.GetScaleType(), 2);
  // 258 draws what the getter says: the millivolt scale, whose 100 mV line sits at k = 120.7.
  EXPECT_EQ(Screen(wf).At(299, scopewnd::WaveformRow(170, 135 - 100 / 7.0)), kMajorPx);
}

TEST_F(ScopeWndTest, WaveformReadoutLineAvoidsTheText) {
  Probe<CWaveformWnd> wf;
  Make(wf, 400, 340);
  wf.SetScaleType(1);
  wf.Invalidate();
  hl::MouseMove(wf, 200, 70);
  hl::Image img = Screen(wf);
  EXPECT_EQ(img.At(0, 70), kYellow);
  EXPECT_EQ(img.At(399, 70), kYellow);
  EXPECT_GT(CountYellowish(img, CRect(0, 0, 60, 20)), 0);  // " 100%  " at the top left
  const int textRow = scopewnd::WaveformReadoutRow(340);
  hl::MouseMove(wf, 200, textRow);
  img = Screen(wf);
  EXPECT_NE(img.At(0, textRow), kYellow);
  EXPECT_EQ(img.At(399, textRow), kYellow);
  hl::MouseMove(wf, 500, 70);
}

// ---- histogram

TEST_F(ScopeWndTest, HistogramGraticuleAndStackedBands) {
  Probe<CHistogramWnd> hg;
  Make(hg, 288, 232);
  hg.AttachVideoScopeGraph(&m_graph);
  auto f = ArgbColumns(64, 8, [](int x) { return x < 32 ? 0xFF808080 : 0xFF4080C0; });
  FeedArgb({&hg}, f, 64, 8);
  const hl::Image img = Screen(hg);
  for (int L : {0, 64, 128, 192, 255}) EXPECT_EQ(img.At(L + 16, 220), 0u) << "lines stop 16 rows above the bottom";
  EXPECT_EQ(img.At(64 + 16, 200), kMajorPx);
  EXPECT_EQ(img.At(32 + 16, 200), kMinorPx);
  EXPECT_GT(CountNonBlack(img, CRect(64 + 16 - 8, 0, 64 + 16 + 8, 16)), 0);  // "64" above its line
  // Luma bars are white, the colour bars their own colours, each inside its band.
  EXPECT_GT(CountColour(img, CRect(16, 26, 271, 66), 0xFFFFFF), 0);
  EXPECT_GT(CountColour(img, CRect(16, 76, 271, 116), 0xF9826C), 0);
  EXPECT_GT(CountColour(img, CRect(16, 126, 271, 166), 0x8CF96C), 0);
  EXPECT_GT(CountColour(img, CRect(16, 176, 271, 216), 0x8C82D9), 0);
  for (uint32_t c : {0xFFFFFFu, 0xF9826Cu, 0x8CF96Cu, 0x8C82D9u}) {
    EXPECT_EQ(CountColour(img, CRect(0, 0, 288, 26), c), 0);
    EXPECT_EQ(CountColour(img, CRect(0, 67, 288, 76), c), 0);
    EXPECT_EQ(CountColour(img, CRect(0, 216, 288, 232), c), 0);
  }
  if (HasFailure()) testsupport::SaveShot(img, "histogram");
}

TEST_F(ScopeWndTest, HistogramReadoutShowsLevelAndShare) {
  Probe<CHistogramWnd> hg;
  Make(hg, 288, 232);
  hg.AttachVideoScopeGraph(&m_graph);
  hg.SetDrawCategory(CHistogramWnd::Red);
  EXPECT_EQ(hg.GetDrawCategory(), CHistogramWnd::Red);
  auto f = ArgbColumns(64, 8, [](int) { return 0xFF808080; });
  FeedArgb({&hg}, f, 64, 8);
  hl::MouseMove(hg, 128 + 16, 120);
  hl::Image img = Screen(hg);
  EXPECT_EQ(img.At(128 + 16, 120), kYellow);
  EXPECT_EQ(img.At(128 + 16, 2), kYellow);  // left of the label: the line runs the full height
  EXPECT_GT(CountYellowish(img, CRect(0, 220, 288, 232)), 0);    // "100.000%"
  EXPECT_GT(CountYellowish(img, CRect(240, 0, 288, 16)), 0);     // "  128  " above the plot end
  // Past the last level: no share line, the level label stays; inside the label the line starts
  // at row 16.
  hl::MouseMove(hg, 280, 120);
  img = Screen(hg);
  EXPECT_EQ(CountYellowish(img, CRect(0, 220, 250, 232)), 0);
  EXPECT_GT(CountYellowish(img, CRect(240, 0, 288, 16)), 0);
  EXPECT_NE(img.At(280, 2), kYellow);
  EXPECT_EQ(img.At(280, 16), kYellow);
  hl::MouseMove(hg, 400, 120);
}

// ---- vector scope

TEST_F(ScopeWndTest, VectorGraticuleTargetsAndBarsOnTheirTargets) {
  Probe<CVectorScopeWnd> vs;
  Make(vs, 400, 300);
  vs.AttachVideoScopeGraph(&m_graph);
  const scopewnd::VectorGeometry g = scopewnd::VectorGeometryFor(400, 300);
  hl::Image img = Screen(vs);
  EXPECT_EQ(img.At(g.cx + 38, g.cy), kGraticulePx);
  EXPECT_EQ(img.At(g.cx + 37, g.cy), 0u);  // the axis gap
  EXPECT_EQ(img.At(399, g.cy), kGraticulePx);
  EXPECT_EQ(img.At(g.cx, 0), kGraticulePx);
  EXPECT_EQ(img.At(g.cx, 299), kGraticulePx);
  EXPECT_GT(CountColour(img, CRect(g.cx - g.r - 1, g.cy - 2, g.cx - g.r + 2, g.cy + 3), kGraticulePx), 0);
  EXPECT_GT(CountNonBlack(img, CRect(g.cx + 5, g.cy - g.r - 10, g.cx + 40, g.cy - g.r)), 0);  // "100"
  // 75 % bars: each colour lands inside its target's box.
  auto f = ArgbColumns(140, 8, [](int x) { return Bar75(x, 140); });
  FeedArgb({&vs}, f, 140, 8);
  img = Screen(vs);
  const struct {
    BYTE r, g, b;
  } colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
  for (const auto& c : colours) {
    int u = 0, v = 0;
    scopewnd::TargetChroma(c.r, c.g, c.b, u, v);
    const POINT t = scopewnd::VectorTarget(g, u, v);
    EXPECT_EQ(img.At(t.x - 2, t.y + 2), kTargetPx);
    EXPECT_GT(CountNonBlack(img, CRect(t.x - 1, t.y - 1, t.x + 2, t.y + 2)), 0) << int(c.r) << int(c.g) << int(c.b);
  }
  if (HasFailure()) testsupport::SaveShot(img, "vector");
}

TEST_F(ScopeWndTest, VectorReadoutAndLightningMode) {
  Probe<CVectorScopeWnd> vs;
  Make(vs, 400, 300);
  const scopewnd::VectorGeometry g = scopewnd::VectorGeometryFor(400, 300);
  hl::MouseMove(vs, g.cx, g.cy - 64);
  hl::Image img = Screen(vs);
  EXPECT_EQ(img.At(g.cx, g.cy - 32), kYellow);  // line from the centre
  EXPECT_EQ(img.At(g.cx, g.cy + 63), kYellow);  // circle through the cursor
  EXPECT_GT(CountYellowish(img, CRect(330, 5, 400, 20)), 0);  // "89°, 51%"
  vs.ShowAsVector(0);
  EXPECT_EQ(vs.IsShowAsVector(), 0);
  vs.UpdateBkGnd();
  vs.Invalidate();
  img = Screen(vs);
  EXPECT_EQ(CountColour(img, CRect(0, 0, 400, 300), kYellow), 0);  // no readout in lightning mode
  const scopewnd::LightningGeometry lg = scopewnd::LightningGeometryFor(400, 300);
  EXPECT_EQ(img.At(lg.mx + lg.pw * 16 / 256, g.cy - lg.ph * 112 / 256), kLegalPx);
  EXPECT_EQ(img.At(lg.mx + lg.xstep, g.cy + 50), Px(0x004A6D));
  EXPECT_EQ(img.At(lg.mx - lg.hx, g.cy), kGraticulePx);
  hl::MouseMove(vs, 500, 10);
}

TEST_F(ScopeWndTest, LightningOnTinyWindowsStaysInside) {
  for (int H : {2, 4, 6, 7}) {
    Probe<CVectorScopeWnd> vs;
    Make(vs, 4, H);
    vs.ShowAsVector(0);
    vs.UpdateBkGnd();
    vs.AttachVideoScopeGraph(&m_graph);
    std::vector<uint8_t> f(16 * 2 * 4, 0);  // V = 0 everywhere: the lowest lower point
    FeedVyuy({&vs}, f, 16, 4);
    EXPECT_EQ(Screen(vs).width, 4);
  }
}

// ---- RGB parade

TEST_F(ScopeWndTest, ParadeColumnsCarryTheChannelLevels) {
  Probe<CRGBParadeWnd> pr;
  Make(pr, 321, 304);
  pr.AttachVideoScopeGraph(&m_graph);
  hl::Image img = Screen(pr);
  const int rows[] = {272, 208, 144, 80, 17};
  for (int y : rows) EXPECT_EQ(img.At(300, y), kMajorPx);
  EXPECT_EQ(img.At(300, 288), kMinorPx);
  EXPECT_EQ(img.At(20, 144), 0u);
  // Red 191, green 70, blue 20 in a 100-column frame: one level per column, count 16 -> 192.
  auto f = ArgbColumns(100, 16, [](int) { return 0xFFBF4614; });
  FeedArgb({&pr}, f, 100, 16);
  img = Screen(pr);
  EXPECT_EQ(img.At(50, scopewnd::ParadeCodeRow(CRect(0, 0, 321, 304), 191)), 0xC00000u);
  EXPECT_EQ(img.At(170, scopewnd::ParadeCodeRow(CRect(0, 0, 321, 304), 70)), 0x00C000u);
  EXPECT_EQ(img.At(270, scopewnd::ParadeCodeRow(CRect(0, 0, 321, 304), 20)), 0x0000C0u);
  EXPECT_EQ(CountNonBlack(img, CRect(0, 0, 21, 304)) - CountNonBlack(Screen(pr), CRect(0, 0, 21, 304)), 0);
  EXPECT_EQ(CountColour(img, CRect(21, 0, 121, 304), 0x00C000u), 0);  // no green in the red column
  if (HasFailure()) testsupport::SaveShot(img, "parade");
}

TEST_F(ScopeWndTest, ParadeBeforeAnyRgbFrameDrawsNothing) {
  Probe<CRGBParadeWnd> pr;
  Make(pr, 321, 304);
  CVideoScopeGraph fresh;
  pr.AttachVideoScopeGraph(&fresh);
  const hl::Image before = Screen(pr);
  pr.UpdateGraph();
  EXPECT_EQ(Screen(pr).pixels, before.pixels);
}

TEST_F(ScopeWndTest, ParadeMillivoltScaleAndReadout) {
  Probe<CRGBParadeWnd> pr;
  Make(pr, 321, 304);
  pr.SetScaleType(258);  // stored as reported: 2
  pr.Invalidate();
  EXPECT_EQ(pr.GetScaleType(), 2);
  hl::Image img = Screen(pr);
  EXPECT_EQ(img.At(300, 256), kMajorPx);  // 0 mV
  EXPECT_EQ(img.At(300, 37), kMajorPx);   // 700 mV
  EXPECT_EQ(img.At(300, 272), 0u);        // no code lines
  hl::MouseMove(pr, 100, 144);
  img = Screen(pr);
  EXPECT_EQ(img.At(0, 144), kYellow);
  EXPECT_GT(CountYellowish(img, CRect(0, 5, 80, 30)), 0);  // " 357mv  " at the 255 row
  pr.SetScaleType(1);
  pr.Invalidate();
  hl::MouseMove(pr, 100, 145);
  img = Screen(pr);
  EXPECT_EQ(CountYellowish(img, CRect(0, 5, 80, 30)), 0);  // no scale, empty readout
  EXPECT_EQ(img.At(300, 145), kYellow);
  EXPECT_EQ(img.At(300, 256), 0u);
  hl::MouseMove(pr, 400, 145);
}

}  // namespace
