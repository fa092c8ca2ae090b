// Raw traces of the scope engine for a moving test pattern: colour bars sliding over a luma
// ramp, fed as ARGB frames. No graticules: those belong to the scope windows.
#include <array>
#include <cmath>
#include <vector>

#include "companion/Buf32Draw.h"
#include "scopes/VideoScopeGraph.h"
#include "tools/gallery/Gallery.h"

namespace {

constexpr int kFrameW = 320, kFrameH = 180;

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
        // A ramp from black to white whose top end breathes past the legal range.
        const double swing = 0.9 + 0.15 * std::sin(ms / 400.0);
        const int v = std::clamp(static_cast<int>(x * 255.0 * swing / kFrameW), 0, 255);
        p = 0xFF000000u | (static_cast<DWORD>(v) * 0x010101u);
      }
      px[static_cast<size_t>(y) * kFrameW + x] = p;
    }
  }
}

struct Trace {
  const wchar_t* title;
  CRect rc;  // where it goes in the page window
  CBuf32Draw buf;
};

class CScopeTraces : public CWnd {
 public:
  CScopeTraces() : m_frame(static_cast<size_t>(kFrameW) * kFrameH) {
    m_traces[0].title = L"Luma waveform";
    m_traces[0].rc = CRect(8, 24, 264, 224);
    m_traces[1].title = L"Vector";
    m_traces[1].rc = CRect(272, 24, 472, 224);
    m_traces[2].title = L"Lightning";
    m_traces[2].rc = CRect(480, 24, 736, 224);
    m_traces[3].title = L"RGB parade";
    m_traces[3].rc = CRect(8, 248, 392, 448);
    m_traces[4].title = L"Luma histogram";
    m_traces[4].rc = CRect(400, 248, 656, 448);
    for (Trace& t : m_traces) t.buf.Create(t.rc.Width(), t.rc.Height());
    m_graph.SetYorYCFlag(0);
    m_font.CreatePointFont(80, L"Tahoma");
  }

  void Feed(unsigned ms) {
    MakeFrame(m_frame, ms);
    m_graph.UpdateGraph(m_frame.data(), kFrameW, kFrameH, kFrameW * 4, 0, CVideoScopeGraph::ARGB);
    for (Trace& t : m_traces) _MMX_ZeroMem(t.buf.Buf(), static_cast<size_t>(t.buf.Width()) * t.buf.Height() * 4);
    auto whole = [](CBuf32Draw& b) { return CRect(0, 0, b.Width(), b.Height()); };
    CBuf32Draw& wf = m_traces[0].buf;
    m_graph.DrawParadeL(wf.Buf(), wf.Width(), wf.Height(), whole(wf), FALSE, TRUE, TRUE);
    CBuf32Draw& vs = m_traces[1].buf;
    m_graph.DrawVector(vs.Buf(), vs.Width(), vs.Height(), 1.0f);
    CBuf32Draw& lt = m_traces[2].buf;
    m_graph.DrawLightning(lt.Buf(), lt.Width(), lt.Height(), whole(lt), TRUE);
    CBuf32Draw& pa = m_traces[3].buf;
    const int third = pa.Width() / 3;
    m_graph.DrawParadeR(pa.Buf(), pa.Width(), pa.Height(), CRect(0, 0, third, pa.Height()), 255, 0);
    m_graph.DrawParadeG(pa.Buf(), pa.Width(), pa.Height(), CRect(third, 0, 2 * third, pa.Height()), 255, 0);
    m_graph.DrawParadeB(pa.Buf(), pa.Width(), pa.Height(), CRect(2 * third, 0, pa.Width(), pa.Height()), 255, 0);
    m_graph.DrawHistoL(&m_traces[4].buf, whole(m_traces[4].buf));
    m_graph.EndUpdateGraph();
    Invalidate(FALSE);
  }

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(24, 26, 30));
    CFont* old = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(220, 220, 220));
    for (Trace& t : m_traces) {
      CRect label(t.rc.left, t.rc.top - 18, t.rc.right, t.rc.top - 2);
      dc.DrawText(t.title, -1, &label, DT_SINGLELINE | DT_LEFT | DT_BOTTOM);
      t.buf.DrawOut(&dc, t.rc.left, t.rc.top, t.buf.Width(), t.buf.Height(), 0, 0);
    }
    dc.SelectObject(old);
  }
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<DWORD> m_frame;
  CVideoScopeGraph m_graph;
  std::array<Trace, 5> m_traces;
  CFont m_font;
};

BEGIN_MESSAGE_MAP(CScopeTraces, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class ScopeTracesPage : public gallery::Page {
 public:
  const char* Name() const override { return "scope-traces"; }
  const char* Title() const override { return "Scope traces (CYVYUGraph, CARGBGraph)"; }
  SIZE ClientSize() const override { return {744, 456}; }
  void Create(CWnd* pParent) override {
    static CString cls = AfxRegisterWndClass(0);
    m_traces.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 744, 456), pParent, 1);
  }
  void Tick(unsigned ms) override { m_traces.Feed(ms); }
  std::vector<unsigned> SnapshotTimes() const override { return {0, 1000}; }
  unsigned LivePeriodMs() const override { return 40; }

 private:
  CScopeTraces m_traces;
};

}  // namespace

GALLERY_REGISTER_PAGE(ScopeTracesPage);
