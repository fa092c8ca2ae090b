// Bad input from hosts: thousands of random curves, counts, scales, formats, FFT settings,
// channel indexes and window sizes. Level arrays are allocated exactly as long as claimed, so a
// read past them shows under AddressSanitizer; undefined arithmetic shows under UBSan.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "support/HostWindow.h"

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FreqMagnWnd.h"

namespace hl = winport::headless;

namespace {

class SpectrumBadInput : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
    HostWindowTest::TearDown();
  }
  CFreqMagnWnd m_wnd;
};

TEST_F(SpectrumBadInput, RandomCallsKeepWithinTheirBuffers) {
  std::mt19937 rng(20261208);
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  const float odd[] = {0.0f, -3.0f, 12.0f, 1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), -110.0f};
  // Scales as hosts might make them: ordinary, single point, flat, rising, huge values.
  std::vector<std::vector<ScaleItem>> scales = {
      {}, {{0, 10}}, {{0, 5}, {-50, 5}}, {{-60, 0}, {0, 100}}, {{10, 2000000000}, {0, 0}, {-90, -2000000000}},
      {{12, 100}, {6, 88}, {0, 80}, {-6, 72}, {-110, 0}}};
  CAudioScale scale(1);
  ASSERT_TRUE(m_wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 120), &scale, &m_top, 9));
  const unsigned rates[] = {0, 1, 8000, 44100, 48000, 192000, 0x7FFFFFFF, 0xFFFFFFFF};
  AFmt fmt{2, 32, 48000, AFMT_TAG_FLOAT, 0};
  ASSERT_EQ(m_wnd.Initial(&fmt, nullptr, FFTWND_HANN, 256, 0), 1);
  unsigned long pos = 0;
  for (int iter = 0; iter < 1000; ++iter) {
    switch (pick(0, 9)) {
      case 0: {
        const std::vector<ScaleItem>& s = scales[rng() % scales.size()];
        scale.SetScale(const_cast<ScaleItem*>(s.data()), static_cast<int>(s.size()));
        m_wnd.MoveWindow(0, 0, pick(-5, 400), pick(-5, 200));
        break;
      }
      case 1:
        fmt = AFmt{static_cast<WORD>(pick(0, 10)), 32, rates[rng() % std::size(rates)], AFMT_TAG_FLOAT, 0};
        m_wnd.SetWaveFormat(&fmt);
        break;
      case 2:
        m_wnd.SetFFTSize(static_cast<unsigned long>(1) << pick(0, 13));  // larger sizes only cost time
        break;
      case 3:
        m_wnd.SetLinear(static_cast<unsigned char>(pick(0, 2)));
        m_wnd.SetSpanMax(pick(0, 1));
        m_wnd.SetChannelVisible(pick(-3, 80), pick(0, 1));
        break;
      case 4:
        m_wnd.SetXScaleCount(pick(-2, 2) * (pick(0, 1) ? 1 : 1 << 28));
        break;
      default: {
        // A curve drawn directly, and a block of samples with a figure.
        const int n = pick(-2, 700);
        std::unique_ptr<float[]> v(n > 0 ? new float[n] : nullptr);
        for (int i = 0; i < n; ++i) v[i] = pick(0, 3) ? static_cast<float>(pick(-130, 20)) : odd[rng() % std::size(odd)];
        m_wnd.DrawDBValue(v.get(), n, RGB(255, 0, 0));
        const int ch = m_wnd.GetChannels();
        const long frames = pick(0, 600);
        std::vector<std::vector<float>> data(static_cast<size_t>(ch), std::vector<float>(static_cast<size_t>(frames)));
        std::vector<float*> ptrs;
        for (auto& d : data) {
          for (float& x : d) x = pick(0, 20) ? static_cast<float>(pick(-1000, 1000)) / 1000.0f : odd[rng() % std::size(odd)];
          ptrs.push_back(frames > 0 ? d.data() : nullptr);
        }
        m_wnd.FillData(ptrs.empty() ? nullptr : ptrs.data(), frames, pos);
        pos += static_cast<unsigned long>(frames);
        m_wnd.RefreshFig(static_cast<DWORD>(pos - static_cast<unsigned long>(pick(0, 300))), pick(-2, 3));
        break;
      }
    }
    if (iter % 50 == 0) hl::Pump();
  }
  hl::Pump();
  // Still a working display afterwards.
  scale.FillDeftValue();
  fmt = AFmt{1, 32, 48000, AFMT_TAG_FLOAT, 0};
  ASSERT_EQ(m_wnd.Initial(&fmt, nullptr, FFTWND_HANN, 1024, 0), 1);
  m_wnd.MoveWindow(0, 0, 300, 120);
  m_wnd.SetLinear(1);
  std::vector<float> tone(1024);
  for (int i = 0; i < 1024; ++i) tone[i] = static_cast<float>(0.5 * std::sin(2 * 3.14159265358979 * 128 * i / 1024.0));
  float* ch[1] = {tone.data()};
  m_wnd.FillData(ch, 1024, 0);
  m_wnd.RefreshFig(1024, -1);
  const hl::Image img = Shot(m_wnd);
  int lit = 0;
  for (uint32_t p : img.pixels) lit += p == winport::ToPixel(m_wnd.GetChannelColor(0));
  EXPECT_GT(lit, 50);
}

}  // namespace
