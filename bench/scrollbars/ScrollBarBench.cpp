// A full repaint of a 400 x 16 skinned bar, and one drag step (mouse move -> position ->
// notification -> repaint), for each stock skin (0 normal, 1 flat, 2 blue glass).
// Reported: the time per repaint or step, and the pixels one repaint writes (the skin's calls
// on the back bitmap, later ones covering earlier ones, plus the copy to the window).
#include <benchmark/benchmark.h>

#include <winport/headless.h>

#include "scrollbars/XSBSkinBlueGlass.h"
#include "scrollbars/XSBSkinFlat.h"
#include "scrollbars/XSBSkinNormal.h"
#include "scrollbars/XScrollBar.h"

namespace {

namespace hl = winport::headless;

constexpr int kLength = 400, kThick = 16;

CXScrollBarSkin* Skin(int64_t i) {
  if (i == 1) return CXSBSkinFlat::GetTheSkin();
  if (i == 2) return CXSBSkinBlueGlass::GetTheSkin();
  return CXSBSkinNormal::GetTheSkin();
}

class CCountingBar : public CXScrollBar {
 public:
  long long PixelsPerRepaint() {
    RECT thumb;
    GetMoveBtnRect(&thumb);
    auto area = [](const RECT& r) { return static_cast<long long>(r.right - r.left) * (r.bottom - r.top); };
    return area(m_rcMove) + area(thumb) + area(m_rcPrevBtn) + area(m_rcNextBtn) + 1LL * m_nWidth * m_nHeight;
  }
};

struct Bench {
  CWnd top;
  CCountingBar bar;
  explicit Bench(int64_t skin) {
    hl::Reset();
    top.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 100), nullptr, 0);
    bar.Create(TRUE, dirHorz, CRect(0, 0, kLength, kThick), &top, Skin(skin), 1);
    bar.SetScrollBtnSize(SIZE{kThick, kThick}, TRUE);
    bar.SetScrollSize(10000, 1000);
    bar.SetScrollPos(4000);
    hl::Pump();
  }
  ~Bench() {
    bar.DestroyWindow();
    top.DestroyWindow();
  }
};

void BM_BarRepaint(benchmark::State& state) {
  Bench b(state.range(0));
  for (auto _ : state) {
    b.bar.Invalidate(TRUE);
    b.bar.UpdateWindow();
  }
  state.counters["pixels_per_repaint"] = static_cast<double>(b.bar.PixelsPerRepaint());
}
BENCHMARK(BM_BarRepaint)->DenseRange(0, 2)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DragStep(benchmark::State& state) {
  Bench b(state.range(0));
  const HWND h = b.bar.m_hWnd;
  // Grab the thumb, then move back and forth by 3 pixels: each move changes the position.
  XSBHitTest hit{};
  int x = 17;
  while (x < kLength && b.bar.HitTest(CPoint(x, 8), &hit) != hitMoveBtn) ++x;
  const int grab = (hit.rect.left + hit.rect.right) / 2;
  hl::MouseMove(h, grab, 8);
  hl::MouseDown(h, grab, 8);
  long long k = 0;
  for (auto _ : state) hl::MouseMove(h, grab + ((++k & 1) ? 3 : 0), 8);
  hl::MouseUp(h, grab, 8);
  state.counters["pixels_per_repaint"] = static_cast<double>(b.bar.PixelsPerRepaint());
}
BENCHMARK(BM_DragStep)->DenseRange(0, 2)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
