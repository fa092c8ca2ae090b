// The whole path a host pays per frame: a 4:2:2 frame in (U Y V Y bytes, FFmpeg's uyvy422), the
// graph updated, the waveform, vector scope, histogram and RGB parade windows (640 x 360 each)
// drawn and composed over their graticules, and painted. Single-threaded, headless.
// Frames come from the files named by SCOPES_BENCH_FRAMES_1080 / _2160 when set (so a peer
// program sees the very same frames), otherwise from a built-in pattern.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <winport/afx.h>
#include <winport/headless.h>

#include "scopes/HistogramWnd.h"
#include "scopes/RGBParadeWnd.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/VideoScopeGraph.h"
#include "scopes/WaveformWnd.h"

namespace {

constexpr int kScopeW = 640, kScopeH = 360;

// A luma ramp across, chroma circling down the frame, a little grain: every display has work.
std::vector<uint8_t> GradientFrame(long w, long h, int seed) {
  std::vector<uint8_t> f(static_cast<size_t>(w) * h * 2);
  unsigned noise = 0x12345u + static_cast<unsigned>(seed);
  for (long y = 0; y < h; ++y)
    for (long i = 0; i < w / 2; ++i) {
      noise = noise * 1664525u + 1013904223u;
      uint8_t* p = &f[(static_cast<size_t>(y) * w + 2 * i) * 2];
      const int luma = 16 + static_cast<int>((2 * i * 219) / w) + static_cast<int>(noise >> 29);
      p[0] = static_cast<uint8_t>(16 + (y * 224 / h));
      p[1] = static_cast<uint8_t>(luma);
      p[2] = static_cast<uint8_t>(240 - (i * 224 / (w / 2)));
      p[3] = static_cast<uint8_t>(luma + 1);
    }
  return f;
}

std::vector<std::vector<uint8_t>> LoadFrames(long w, long h, const char* env) {
  std::vector<std::vector<uint8_t>> frames;
  const size_t bytes = static_cast<size_t>(w) * h * 2;
  if (const char* path = std::getenv(env)) {
    if (FILE* fp = std::fopen(path, "rb")) {
      std::vector<uint8_t> f(bytes);
      while (frames.size() < 8 && std::fread(f.data(), 1, bytes, fp) == bytes) frames.push_back(f);
      std::fclose(fp);
    }
  }
  for (int n = 0; frames.size() < 4; ++n) frames.push_back(GradientFrame(w, h, n));
  return frames;
}

class ScopeHost {
 public:
  ScopeHost() {
    winport::headless::Reset();
    m_top.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 2 * kScopeW, 2 * kScopeH),
                   nullptr, 0);
    CScopeBaseWnd* wnds[4] = {&m_wave, &m_vector, &m_histo, &m_parade};
    for (int i = 0; i < 4; ++i) {
      const int x = (i % 2) * kScopeW, y = (i / 2) * kScopeH;
      wnds[i]->Create(WS_CHILD | WS_VISIBLE, CRect(x, y, x + kScopeW, y + kScopeH), &m_top, 1 + i);
      wnds[i]->AttachVideoScopeGraph(&m_graph);
    }
    m_graph.SetYorYCFlag(0);
    winport::headless::Pump();
  }
  ~ScopeHost() {
    m_wave.DestroyWindow();
    m_vector.DestroyWindow();
    m_histo.DestroyWindow();
    m_parade.DestroyWindow();
    m_top.DestroyWindow();
  }
  void Frame(std::vector<uint8_t>& f, long w, long h) {
    m_graph.UpdateGraph(f.data(), w, h, w * 2, 0, CVideoScopeGraph::YVYU);
    m_wave.UpdateGraph();
    m_vector.UpdateGraph();
    m_histo.UpdateGraph();
    m_parade.UpdateGraph();
    m_graph.EndUpdateGraph();
    winport::headless::Pump();  // the four paints
  }

 private:
  CWnd m_top;
  CVideoScopeGraph m_graph;
  CWaveformWnd m_wave;
  CVectorScopeWnd m_vector;
  CHistogramWnd m_histo;
  CRGBParadeWnd m_parade;
};

void BM_WholePath(benchmark::State& state) {
  const long h = state.range(0), w = h * 16 / 9;
  auto frames = LoadFrames(w, h, h == 1080 ? "SCOPES_BENCH_FRAMES_1080" : "SCOPES_BENCH_FRAMES_2160");
  ScopeHost host;
  size_t n = 0;
  for (auto _ : state) {
    host.Frame(frames[n % frames.size()], w, h);
    ++n;
  }
  state.SetItemsProcessed(static_cast<int64_t>(n));
}

BENCHMARK(BM_WholePath)->ArgName("h")->Arg(1080)->Arg(2160)->Unit(benchmark::kMillisecond);

}  // namespace
