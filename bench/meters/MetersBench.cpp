// One level update plus one paint of an 8-channel meter 400 pixels long, for both meters.
// Reported: the median time per update and paint, and the pixels a paint writes.
#include <benchmark/benchmark.h>

#include <winport/headless.h>

#include <array>
#include <cmath>

#include "foundation/AudioScale.h"
#include "audio/ExVUMeter.h"
#include "audio/VUMeter.h"

namespace {

constexpr int kChannels = 8;

// Exposes what one paint writes beyond its two full-image copies: lit cells, peak lines and
// marker lines.
class CCountingVUMeter : public CVUMeter {
 public:
  long long LitPixels() const {
    long long n = 0;
    for (int i = 0; i < kChannels; ++i) {
      const int level = std::min(m_arrLevel[i], m_nGridCount - 1);
      if (level >= 0) n += static_cast<long long>(level + 1) * m_nBarWidth * m_nCellHeight;
      if (std::max(vumeter::PeakIndex(m_arrPeak[i]), level) >= 0) n += m_nBarWidth;
      n += m_nBarWidth * m_arrMarker.GetSize();
    }
    return n;
  }
};

class CCountingExVUMeter : public CExVUMeter {
 public:
  long long CoverAndMarks() {
    long long n = 0;
    const int S = m_cy - 2, bar = m_nBarSize - 2;
    for (int i = 0; i < GetCount(); ++i) {
      const int len = exvumeter::ClampLeng(ValueToLeng(m_arrValue[i]), S);
      n += static_cast<long long>(S - len) * bar + bar;
      if (m_arrPeakRec[i].nOver > 0) n += 2 * bar;
    }
    return n;
  }
};

struct Host {
  CWnd top;
  Host(int cx, int cy) {
    winport::headless::Reset();
    top.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, cx, cy), nullptr, 0);
  }
  ~Host() { top.DestroyWindow(); }
};

double LevelAt(long long k, int c) { return -40.0 + 38.0 * std::sin(0.05 * static_cast<double>(k) + c); }

void BM_VUMeterUpdateAndPaint(benchmark::State& state) {
  Host host(400, 400);
  CAudioScale scale(1);
  SVUMeterInitParam param;
  param.nVUCount = kChannels;
  param.pScale = &scale;
  CCountingVUMeter meter;
  meter.AddVUMarker(-6, RGB(255, 255, 0));
  meter.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 400), &host.top, param);
  long long k = 0, pixels = 0;
  std::array<double, kChannels> dB{};
  for (auto _ : state) {
    for (int c = 0; c < kChannels; ++c) dB[c] = LevelAt(k, c);
    meter.SetDBValue(dB.data());
    meter.UpdateWindow();
    pixels += 2LL * 400 * 400 + meter.LitPixels();
    ++k;
  }
  state.counters["pixels_per_paint"] = static_cast<double>(pixels) / static_cast<double>(k);
  meter.DestroyWindow();
}
BENCHMARK(BM_VUMeterUpdateAndPaint)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_ExVUMeterUpdateAndPaint(benchmark::State& state) {
  Host host(120, 400);
  CCountingExVUMeter meter;
  meter.Create(kChannels, TRUE, WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 400), &host.top);
  long long k = 0, pixels = 0;
  std::array<float, kChannels> dB{};
  for (auto _ : state) {
    for (int c = 0; c < kChannels; ++c) dB[c] = static_cast<float>(LevelAt(k, c));
    meter.SetValue(dB.data());
    meter.UpdateWindow();
    pixels += 2LL * 120 * 400 + meter.CoverAndMarks();
    ++k;
  }
  state.counters["pixels_per_paint"] = static_cast<double>(pixels) / static_cast<double>(k);
  meter.DestroyWindow();
}
BENCHMARK(BM_ExVUMeterUpdateAndPaint)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
