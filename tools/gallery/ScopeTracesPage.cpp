// Gallery page of the scope views the live page does not show: the waveform in millivolts, the
// lightning plot, the luma histogram and the vector plot, each over its graticule, for a moving
// test pattern (colour bars sliding over a luma ramp whose top breathes past white) fed on the
// window thread.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "scopes/HistogramWnd.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/VideoScopeGraph.h"
#include "scopes/WaveformWnd.h"
#include "tools/gallery/Gallery.h"

namespace {

constexpr int kFrameW = 320, kFrameH = 180;
constexpr int kViewW = 360, kViewH = 196, kGap = 8, kCaption = gallery::kLabelHeight + 4;

// 75 % bars: white, yellow, cyan, green, magenta, red, blue, as 0xAARRGGBB pixels.
constexpr std::array<DWORD, 7> kBars = {0xFFBFBFBF, 0xFFBFBF00, 0xFF00BFBF, 0xFF00BF00,
                                        0xFFBF00BF, 0xFFBF0000, 0xFF0000BF};

void MakeFrame(std::vector<DWORD>& px, unsigned ms) {
  const int shift = static_cast<int>(ms / 20) % kFrameW;
  for (int y = 0; y < kFrameH; ++y) {
    for (int x = 0; x < kFrameW; ++x) {
      DWORD p;
      if (y < kFrameH * 2 / 3) {
        p = kBars[static_cast<size_t>(((x + shift) % kFrameW) * 7 / kFrameW)];
      } else {
        const double swing = 0.9 + 0.15 * std::sin(ms / 400.0);
        const int v = std::clamp(static_cast<int>(x * 255.0 * swing / kFrameW), 0, 255);
        p = 0xFF000000u | (static_cast<DWORD>(v) * 0x010101u);
      }
      px[static_cast<size_t>(y) * kFrameW + x] = p;
    }
  }
}

class ScopeTracesPage : public gallery::Page {
 public:
  const char* Name() const override { return "scope-traces"; }
  const char* Title() const override { return "More scope views: millivolts, lightning, luma histogram, vector"; }
  SIZE ClientSize() const override { return {2 * kViewW + 3 * kGap, 2 * (kViewH + kCaption + kGap)}; }
  std::vector<unsigned> SnapshotTimes() const override { return {0, 1000}; }
  unsigned LivePeriodMs() const override { return 40; }

  void Create(CWnd* pParent) override {
    m_frame.resize(static_cast<size_t>(kFrameW) * kFrameH);
    CScopeBaseWnd* views[4] = {&m_wave, &m_lightning, &m_histo, &m_vector};
    static const wchar_t* const kCaptions[] = {L"Luma waveform in millivolts", L"Lightning: luma against chroma",
                                               L"Luma histogram", L"Vector: the bars on their targets"};
    m_wave.SetScaleType(2);
    m_lightning.ShowAsVector(0);
    m_histo.SetDrawCategory(CHistogramWnd::Luminance);
    m_graph.SetYorYCFlag(0);
    for (int i = 0; i < 4; ++i) {
      const int x = kGap + (i % 2) * (kViewW + kGap), y = (i / 2) * (kViewH + kCaption + kGap) + kCaption;
      gallery::AddLabel(pParent, CRect(x, y - kCaption, x + kViewW, y - 2), kCaptions[i]);
      views[i]->Create(WS_CHILD | WS_VISIBLE, CRect(x, y, x + kViewW, y + kViewH), pParent, 10 + i);
      views[i]->AttachVideoScopeGraph(&m_graph);
    }
  }

  void Tick(unsigned ms) override {
    MakeFrame(m_frame, ms);
    m_graph.UpdateGraph(m_frame.data(), kFrameW, kFrameH, kFrameW * 4, 0, CVideoScopeGraph::ARGB);
    for (CScopeBaseWnd* v : {static_cast<CScopeBaseWnd*>(&m_wave), static_cast<CScopeBaseWnd*>(&m_lightning),
                             static_cast<CScopeBaseWnd*>(&m_histo), static_cast<CScopeBaseWnd*>(&m_vector)})
      v->UpdateGraph();
    m_graph.EndUpdateGraph();
  }

 private:
  std::vector<DWORD> m_frame;
  CVideoScopeGraph m_graph;
  CWaveformWnd m_wave;
  CVectorScopeWnd m_lightning;
  CHistogramWnd m_histo;
  CVectorScopeWnd m_vector;
};

}  // namespace

GALLERY_REGISTER_PAGE(ScopeTracesPage);
