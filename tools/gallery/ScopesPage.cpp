// Gallery page of the scope windows: waveform, vector scope, histogram and RGB parade, live on a
// moving pattern (colour bars over a breathing ramp and a moving coloured zone plate), or on real
// footage with --video. A worker thread feeds the graph and updates the windows while the
// window thread paints, as a host's decoding thread would. Headless, a simulated mouse shows the
// readouts of the vector scope and then the waveform.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <winport/headless.h>
#include <winport/window/Backend.h>

#include "scopes/HistogramWnd.h"
#include "scopes/RGBParadeWnd.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/WaveformWnd.h"
#include "tools/gallery/Gallery.h"
#include "tools/scope/FrameSource.h"

namespace {

constexpr int kFrameW = 384, kFrameH = 216;
constexpr int kScopeW = 400, kScopeH = 240, kGap = 8, kTitle = gallery::kLabelHeight + 4;
constexpr double kPi = 3.14159265358979323846;

// 75 % bars (white, yellow, cyan, green, magenta, red, blue) as 0xAARRGGBB.
constexpr std::array<DWORD, 7> kBars = {0xFFBFBFBF, 0xFFBFBF00, 0xFF00BFBF, 0xFF00BF00,
                                        0xFFBF00BF, 0xFFBF0000, 0xFF0000BF};

DWORD Rgb(double r, double g, double b) {
  auto c = [](double v) { return static_cast<DWORD>(std::clamp(static_cast<int>(v), 0, 255)); };
  return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

// The built-in programme at time ms: bars over the top two thirds; below, on the left a grey
// ramp whose top end breathes past white, on the right a coloured zone plate drifting outwards.
void MakePattern(scopetool::Frame& f, unsigned ms) {
  f.width = kFrameW, f.height = kFrameH, f.pitch = kFrameW * 4;
  f.format = CVideoScopeGraph::ARGB;
  f.bytes.resize(static_cast<size_t>(kFrameW) * kFrameH * 4);
  auto* px = reinterpret_cast<DWORD*>(f.bytes.data());
  const double t = ms / 1000.0;
  const double swing = 0.95 + 0.15 * std::sin(2 * kPi * t / 3);
  for (int y = 0; y < kFrameH; ++y)
    for (int x = 0; x < kFrameW; ++x) {
      DWORD p;
      if (y < kFrameH * 2 / 3) {
        // Bars with a little grain, as a camera delivers them: levels spread over a few codes.
        const DWORD bar = kBars[static_cast<size_t>(x * 7 / kFrameW)];
        const double grain = static_cast<double>((static_cast<unsigned>(x * 7919 + y * 104729) + ms) % 9) - 4;
        p = Rgb(((bar >> 16) & 0xFF) + grain, ((bar >> 8) & 0xFF) + grain, (bar & 0xFF) + grain);
      } else if (x < kFrameW / 2) {
        const double v = 255.0 * swing * x / (kFrameW / 2);
        p = Rgb(v, v, v);
      } else {
        const double dx = x - kFrameW * 3 / 4.0, dy = y - kFrameH * 5 / 6.0;
        const double a = 0.02 * (dx * dx + dy * dy) - 6 * t;
        p = Rgb(128 + 40 * std::cos(a), 128 + 40 * std::cos(a + 2.1), 128 + 40 * std::cos(a + 4.2));
      }
      px[static_cast<size_t>(y) * kFrameW + x] = p;
    }
}

class CScopesPanel : public CWnd {
 public:
  std::function<void()> onDestroy;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(24, 26, 30));
  }
  afx_msg void OnDestroy() {
    // Children go after their parent's WM_DESTROY: the feeding thread stops while they exist.
    if (onDestroy) onDestroy();
    CWnd::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScopesPanel, CWnd)
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

class ScopesPage : public gallery::Page {
 public:
  ~ScopesPage() override { StopWorker(); }

  const char* Name() const override { return "scopes"; }
  const char* Title() const override { return "Video scopes (live, fed from a worker thread)"; }
  SIZE ClientSize() const override { return {2 * kScopeW + 3 * kGap, 2 * (kScopeH + kTitle + kGap)}; }
  std::vector<unsigned> SnapshotTimes() const override { return {0, 500, 1000, 2000}; }
  unsigned LivePeriodMs() const override { return 40; }

  void Create(CWnd* pParent) override {
    const SIZE size = ClientSize();
    static CString cls = AfxRegisterWndClass(0);
    m_panel.onDestroy = [this] { StopWorker(); };
    m_panel.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, size.cx, size.cy), pParent, 1);
    CScopeBaseWnd* wnds[4] = {&m_wave, &m_vector, &m_histo, &m_parade};
    static const wchar_t* const kCaptions[] = {L"Luma waveform, percent", L"Vector scope",
                                               L"Histogram: luma, red, green, blue", L"RGB parade"};
    for (int i = 0; i < 4; ++i) {
      const int x = kGap + (i % 2) * (kScopeW + kGap), y = (i / 2) * (kScopeH + kTitle + kGap) + kTitle;
      gallery::AddLabel(&m_panel, CRect(x, y - kTitle, x + kScopeW, y - 2), kCaptions[i]);
      wnds[i]->Create(WS_CHILD | WS_VISIBLE, CRect(x, y, x + kScopeW, y + kScopeH), &m_panel, 10 + i);
      wnds[i]->AttachVideoScopeGraph(&m_graph);
    }
    m_wave.SetScaleType(1);
    m_graph.SetYorYCFlag(0);
    m_bHeadless = winport::CurrentBackend().VirtualClock();
    m_video = gallery::OpenVideo();
    m_worker = std::thread([this] { Run(); });
  }

  void Tick(unsigned ms) override {
    {
      std::lock_guard<std::mutex> lock(m_mu);
      m_nTime = ms;
      ++m_nRequested;
    }
    m_cv.notify_all();
    if (!m_bHeadless) return;
    // Headless runs are deterministic: each tick's frame is on screen before time moves on.
    {
      std::unique_lock<std::mutex> lock(m_mu);
      m_cvDone.wait(lock, [this] { return m_nDone == m_nRequested || m_bStop; });
    }
    namespace hl = winport::headless;
    if (ms == 400) hl::MouseMove(m_vector, kScopeW / 2 + 60, kScopeH / 2 - 70);
    if (ms == 1500) {
      // The first move leaves the vector scope, which holds the capture; the second enters.
      hl::MouseMove(m_wave, kScopeW / 2, kScopeH / 3);
      hl::MouseMove(m_wave, kScopeW / 2, kScopeH / 3);
    }
  }

  void Destroy() override { StopWorker(); }

 private:

  void Run() {
    std::unique_lock<std::mutex> lock(m_mu);
    for (;;) {
      m_cv.wait(lock, [this] { return m_bStop || m_nRequested != m_nDone; });
      if (m_bStop) break;
      const unsigned ms = m_nTime;
      const unsigned long long seq = m_nRequested;
      lock.unlock();
      Produce(ms);
      lock.lock();
      m_nDone = seq;
      m_cvDone.notify_all();
    }
  }

  void Produce(unsigned ms) {
    if (!NextVideoFrame()) MakePattern(m_frame, ms);
    m_graph.UpdateGraph(m_frame.bytes.data(), m_frame.width, m_frame.height, m_frame.pitch, 0, m_frame.format);
    m_wave.UpdateGraph();
    m_vector.UpdateGraph();
    m_histo.UpdateGraph();
    m_parade.UpdateGraph();
    m_graph.EndUpdateGraph();
  }

  // The next frame of the footage, starting over at its end (standard input holds its last
  // frame); false without footage.
  bool NextVideoFrame() {
    for (int attempt = 0; m_video && attempt < 2; ++attempt) {
      if (m_video->Next(m_frame) == scopetool::ReadResult::Frame) return m_bHadFrame = true;
      m_video = gallery::OpenVideo();
    }
    if (!m_bHadFrame && !gallery::VideoFile().empty() && !m_bSaidNoFrames) {
      m_bSaidNoFrames = true;
      std::fprintf(stderr, "parvane-gallery: --video %s: no frames to show; the built-in pattern is shown\n",
                   gallery::VideoFile().c_str());
    }
    return m_bHadFrame;
  }

  void StopWorker() {
    {
      std::lock_guard<std::mutex> lock(m_mu);
      m_bStop = true;
    }
    m_cv.notify_all();
    m_cvDone.notify_all();
    if (m_worker.joinable()) m_worker.join();
  }

  CScopesPanel m_panel;
  CVideoScopeGraph m_graph;
  CWaveformWnd m_wave;
  CVectorScopeWnd m_vector;
  CHistogramWnd m_histo;
  CRGBParadeWnd m_parade;
  scopetool::Frame m_frame;
  std::unique_ptr<scopetool::FrameSource> m_video;
  bool m_bHadFrame = false, m_bSaidNoFrames = false;  // worker thread only
  bool m_bHeadless = true;

  std::thread m_worker;
  std::mutex m_mu;
  std::condition_variable m_cv, m_cvDone;
  unsigned m_nTime = 0;
  unsigned long long m_nRequested = 0, m_nDone = 0;
  bool m_bStop = false;
};

}  // namespace

GALLERY_REGISTER_PAGE(ScopesPage);
