#include "tools/scope/ScopeRenderer.h"

#include <algorithm>

#include <winport/headless.h>

#include "scopes/HistogramWnd.h"
#include "scopes/RGBParadeWnd.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/WaveformWnd.h"

namespace scopetool {

namespace {
constexpr const char* kNames[] = {"waveform", "yc", "vector", "lightning", "histogram", "parade", "rgbhisto"};

// The scope windows draw one-pixel traces and fixed-size labels, made for about 640 x 360: a
// larger image is drawn at a whole fraction of its size and enlarged, so traces stay lines and
// labels grow with it.
constexpr int kDrawnW = 640, kDrawnH = 360;

winport::headless::Image Enlarged(const winport::headless::Image& img, int width, int height) {
  winport::headless::Image out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>(static_cast<long long>(y) * img.height / height);
    for (int x = 0; x < width; ++x)
      out.pixels[static_cast<size_t>(y) * width + x] = img.At(static_cast<int>(static_cast<long long>(x) * img.width / width), sy);
  }
  return out;
}
}  // namespace

bool ScopeByName(const std::string& name, ScopeKind& kind) {
  for (int i = 0; i < 7; ++i)
    if (name == kNames[i]) {
      kind = static_cast<ScopeKind>(i);
      return true;
    }
  return false;
}

const char* ScopeName(ScopeKind kind) { return kNames[static_cast<int>(kind)]; }

ScopeRenderer::ScopeRenderer() = default;

ScopeRenderer::~ScopeRenderer() {
  m_scopes.clear();
  if (m_host.GetSafeHwnd()) m_host.DestroyWindow();
}

bool ScopeRenderer::Create(const std::vector<ScopeKind>& kinds, const RenderOptions& o) {
  m_nWidth = o.width;
  m_nHeight = o.height;
  const int zoom = std::max(1, std::min(o.width / kDrawnW, o.height / kDrawnH));
  const CRect rc(0, 0, (o.width + zoom - 1) / zoom, (o.height + zoom - 1) / zoom);
  if (!m_host.CreateEx(0, AfxRegisterWndClass(0), L"parvane-scope", WS_POPUP | WS_VISIBLE, rc, nullptr, 0)) return false;
  auto has = [&](ScopeKind k) { return std::find(kinds.begin(), kinds.end(), k) != kinds.end(); };
  m_graph.SetYorYCFlag(0);
  m_graph.EnableYParade(has(ScopeKind::Waveform));
  m_graph.EnableVector(has(ScopeKind::Vector));
  m_graph.EnableLighting(has(ScopeKind::Lightning));
  // The lightning plot reads the frame kept by the luma/chroma side, which the graph only
  // updates for one of its accumulating displays: the histogram is the cheapest.
  m_graph.EnableYHisto(has(ScopeKind::Histogram) || has(ScopeKind::RGBHisto) || has(ScopeKind::Lightning));
  m_graph.EnableRGBAnalyse(has(ScopeKind::Parade) || has(ScopeKind::RGBHisto) || has(ScopeKind::Histogram));
  m_bYC = has(ScopeKind::YC);
  m_graphYC.SetYorYCFlag(1);
  m_graphYC.EnableVector(0);
  m_graphYC.EnableLighting(0);
  m_graphYC.EnableYHisto(0);
  m_graphYC.EnableRGBAnalyse(0);

  for (ScopeKind k : kinds) {
    Scope s{k, nullptr, &m_graph};
    switch (k) {
      case ScopeKind::Waveform:
      case ScopeKind::YC: {
        auto w = std::make_unique<CWaveformWnd>();
        w->SetMarkOutRange(o.markOut);
        s.wnd = std::move(w);
        break;
      }
      case ScopeKind::Vector:
      case ScopeKind::Lightning: s.wnd = std::make_unique<CVectorScopeWnd>(); break;
      case ScopeKind::Histogram:
      case ScopeKind::RGBHisto: {
        auto w = std::make_unique<CHistogramWnd>();
        w->SetDrawCategory(k == ScopeKind::Histogram ? CHistogramWnd::Luminance : CHistogramWnd::All);
        s.wnd = std::move(w);
        break;
      }
      case ScopeKind::Parade: s.wnd = std::make_unique<CRGBParadeWnd>(); break;
    }
    if (!s.wnd->Create(WS_CHILD | WS_VISIBLE, rc, &m_host, 1)) return false;
    if (k == ScopeKind::Waveform || k == ScopeKind::YC) {
      auto* w = static_cast<CWaveformWnd*>(s.wnd.get());
      w->SetScaleType(o.scale);
      w->SetShowAsY(k == ScopeKind::Waveform);
      if (k == ScopeKind::YC) s.graph = &m_graphYC;
    } else if (k == ScopeKind::Lightning) {
      static_cast<CVectorScopeWnd*>(s.wnd.get())->ShowAsVector(0);
      s.wnd->UpdateBkGnd();
    } else if (k == ScopeKind::Parade) {
      static_cast<CRGBParadeWnd*>(s.wnd.get())->SetScaleType(o.scale == 2 ? 2 : 0);
    }
    s.wnd->AttachVideoScopeGraph(s.graph);
    m_scopes.push_back(std::move(s));
  }
  winport::headless::Pump();
  return true;
}

void ScopeRenderer::Feed(Frame& f) {
  m_graph.UpdateGraph(f.bytes.data(), f.width, f.height, f.pitch, 0, f.format);
  if (m_bYC) m_graphYC.UpdateGraph(f.bytes.data(), f.width, f.height, f.pitch, 0, f.format);
  for (Scope& s : m_scopes) s.wnd->UpdateGraph();
  m_graph.EndUpdateGraph();
  m_graphYC.EndUpdateGraph();
  winport::headless::Pump();
}

bool ScopeRenderer::Save(const std::string& dir, long index, std::string& error) {
  char number[32];
  std::snprintf(number, sizeof number, "%06ld", index);
  for (Scope& s : m_scopes) {
    winport::headless::Image img = winport::headless::Capture(s.wnd->GetSafeHwnd());
    if (img.width != m_nWidth || img.height != m_nHeight) img = Enlarged(img, m_nWidth, m_nHeight);
    for (uint32_t& p : img.pixels) p &= 0xFFFFFF;
    const std::string path = dir + "/" + ScopeName(s.kind) + "_" + number + ".png";
    if (!winport::headless::SavePng(img, path.c_str())) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace scopetool
