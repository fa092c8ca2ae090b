// The spectrum window fed with tones: a sine's peak in the column of its frequency on both
// axes, the grids and label, channel colours and visibility, FFT-size changes redrawing the
// last figure, the peak-of-span setting, and feeding from a worker while the window resizes,
// runs the inherited figure calls or is destroyed.
#include <gtest/gtest.h>

#include <winport/headless.h>

#include "support/FeedRace.h"
#include "support/HostWindow.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FreqMagnWnd.h"

namespace hl = winport::headless;

namespace {

uint32_t Px(COLORREF cr) { return winport::ToPixel(cr); }

// Records the level counts its curves are drawn with.
class CTestFreqMagnWnd : public CFreqMagnWnd {
 public:
  std::vector<int> counts;

 protected:
  void DrawData(CDC* pDC, float* const pValues, int nCount) override {
    counts.push_back(nCount);
    CFreqMagnWnd::DrawData(pDC, pValues, nCount);
  }
};

class SpectrumWindow : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
    HostWindowTest::TearDown();
  }
  void Make(int cx, int cy, unsigned rate, int channels, unsigned long fft, FFTWndType wnd = FFTWND_HANN) {
    ASSERT_TRUE(m_wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), &m_scale, &m_top, 5));
    m_fmt = AFmt{static_cast<WORD>(channels), 32, rate, AFMT_TAG_FLOAT, 0};
    ASSERT_EQ(m_wnd.Initial(&m_fmt, nullptr, wnd, fft, 0), 1);
    hl::Pump();
  }
  // frames of a tone per channel (frequency in Hz, amplitude), from stream position pos.
  void Feed(unsigned long pos, long frames, const std::vector<std::pair<double, double>>& tones) {
    const int n = static_cast<int>(tones.size());
    std::vector<std::vector<float>> data(n, std::vector<float>(frames));
    std::vector<float*> ptrs(n);
    for (int c = 0; c < n; ++c) {
      for (long i = 0; i < frames; ++i)
        data[c][i] = static_cast<float>(tones[c].second *
                                        std::sin(2 * std::numbers::pi * tones[c].first * double(pos + i) / m_fmt.nSampleRate));
      ptrs[c] = data[c].data();
    }
    m_wnd.FillData(ptrs.data(), frames, pos);
  }
  hl::Image Shot() { return HostWindowTest::Shot(m_wnd); }
  static int CountOf(const hl::Image& img, COLORREF cr) {
    return static_cast<int>(std::count(img.pixels.begin(), img.pixels.end(), Px(cr)));
  }
  // Topmost pixel of colour cr: (column, row), or (-1, -1).
  static std::pair<int, int> Top(const hl::Image& img, COLORREF cr) {
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        if (img.At(x, y) == Px(cr)) return {x, y};
    return {-1, -1};
  }
  static std::vector<int> GridColumns(const hl::Image& img, int y, COLORREF cr) {
    std::vector<int> cols;
    for (int x = 0; x < img.width; ++x)
      if (img.At(x, y) == Px(cr)) cols.push_back(x);
    return cols;
  }

  CAudioScale m_scale{1};
  AFmt m_fmt{};
  CTestFreqMagnWnd m_wnd;
};

TEST_F(SpectrumWindow, SinePeakLandsInTheColumnOfItsFrequency) {
  Make(600, 200, 48000, 1, 4096);
  const COLORREF cr = m_wnd.GetChannelColor(0);
  // A tone on bin 512 (6 kHz) at half scale: -6 dB, scale value 72, row 200 - 144 = 56.
  Feed(0, 4096, {{6000.0, 0.5}});
  m_wnd.SetLinear(1);
  m_wnd.RefreshFig(4096, -1);
  hl::Image img = Shot();
  EXPECT_EQ(Top(img, cr), std::make_pair(150, 56));  // 6 kHz of 24 kHz over 600 columns

  // Warped axis: a tone on the first bin of the column for 6 kHz peaks in that column.
  m_wnd.SetLinear(0);
  const int col = CFreqMagnWnd::GetX(24000, 600, 6000);
  const int bin = spectrum::WarpedBin(24000, 600, col, 2048, 48000);
  m_wnd.Reset();
  Feed(0, 4096, {{bin * 48000.0 / 4096, 0.5}});
  m_wnd.RefreshFig(4096, -1);
  img = Shot();
  const auto top = Top(img, cr);
  EXPECT_NEAR(top.first, col, 1);
  EXPECT_EQ(top.second, 56);
  EXPECT_EQ(m_wnd.GetLastUpdateFigPos(), 4096u);
}

TEST_F(SpectrumWindow, GridsOfBothAxesAndTheFormatLabel) {
  Make(450, 120, 44100, 2, 1024);
  m_wnd.SetLinear(1);
  EXPECT_EQ(m_wnd.GetXScaleFreqDist(), 2000u);
  EXPECT_EQ(m_wnd.GetXScaleCount(), 11);
  hl::Image img = Shot();
  EXPECT_EQ(GridColumns(img, 60, m_wnd.m_crGrid), (std::vector<int>{0, 40, 80, 120, 160, 200, 240, 280, 320, 360, 400, 440}));

  // Resizing recomputes the spacing: 48 kHz over 600 columns, 1000 Hz, 24 intervals of 25.
  m_wnd.SetWaveFormat(&(m_fmt = AFmt{2, 32, 48000, AFMT_TAG_FLOAT, 0}));
  m_wnd.MoveWindow(0, 0, 600, 120);
  EXPECT_EQ(m_wnd.GetXScaleFreqDist(), 1000u);
  EXPECT_EQ(m_wnd.GetXScaleCount(), 24);

  m_wnd.SetWaveFormat(&(m_fmt = AFmt{2, 32, 44100, AFMT_TAG_FLOAT, 0}));
  m_wnd.MoveWindow(0, 0, 500, 120);
  m_wnd.SetLinear(0);
  img = Shot();
  EXPECT_EQ(GridColumns(img, 60, m_wnd.m_crGrid),
            (std::vector<int>{84, 109, 130, 146, 161, 173, 184, 194, 266, 304, 332, 353, 371, 386, 399, 411, 490}));
  EXPECT_EQ(GridColumns(img, 60, m_wnd.m_crGridHi), (std::vector<int>{203, 421}));
  // The label "2 ch, 44100 Hz, 32-bit float" sits right-aligned near the top: light pixels
  // between row 3 and the font's height, ending at most 3 columns from the edge.
  int right = -1, left = 500;
  for (int y = 3; y < 18; ++y)
    for (int x = 0; x < 500; ++x) {
      const uint32_t p = img.At(x, y);
      if ((p & 0xFF) > 0xD0 && ((p >> 8) & 0xFF) > 0xD0 && (p >> 16) > 0xD0) {
        right = std::max(right, x);
        left = std::min(left, x);
      }
    }
  EXPECT_GE(right, 480);
  EXPECT_LE(right, 496);
  EXPECT_GT(left, 250);
}

// At a sample rate far beyond audio, thousands of 10 kHz lines share columns; the grid still
// has a line in every column that one of them reaches, and no other.
TEST_F(SpectrumWindow, WarpedGridAtAnAbsurdRateKeepsEveryColumn) {
  Make(300, 60, 44100, 1, 1024);
  m_wnd.SetWaveFormat(&(m_fmt = AFmt{1, 32, 0xFFFFFFFF, AFMT_TAG_FLOAT, 0}));
  m_wnd.SetLinear(0);
  const int nyq = 0x7FFFFFFF;
  std::vector<int> want;
  for (long long f = 200; f < nyq; f += f < 1000 ? 100 : f < 10000 ? 1000 : 10000) {
    const int x = CFreqMagnWnd::GetX(nyq, 300, static_cast<int>(f));
    if (x >= 300) break;
    if (f != 1000 && f != 10000 && (want.empty() || want.back() != x)) want.push_back(x);
  }
  const hl::Image img = Shot();
  std::vector<int> got = GridColumns(img, 45, m_wnd.m_crGrid);  // between the scale lines
  EXPECT_EQ(got, want);
}

TEST_F(SpectrumWindow, ChannelColoursAndVisibility) {
  EXPECT_EQ(m_wnd.GetChannelColor(0), 0xFFC030u);
  EXPECT_EQ(m_wnd.GetChannelColor(3), 0x1C30FFu);
  EXPECT_EQ(m_wnd.GetChannelColor(7), 0xA8949Bu);
  EXPECT_EQ(m_wnd.GetChannelColor(8), 0xFFFFFFu);
  EXPECT_EQ(m_wnd.GetChannelColor(-1), 0xFFFFFFu);

  Make(400, 150, 48000, 2, 2048);
  const COLORREF c0 = m_wnd.GetChannelColor(0), c1 = m_wnd.GetChannelColor(1);
  Feed(0, 2048, {{1000.0, 0.5}, {8000.0, 0.25}});
  m_wnd.RefreshFig(2048, -1);
  hl::Image img = Shot();
  EXPECT_GT(CountOf(img, c0), 50);
  EXPECT_GT(CountOf(img, c1), 50);

  m_wnd.RefreshFig(2048, 1);  // that channel only
  img = Shot();
  EXPECT_EQ(CountOf(img, c0), 0);
  EXPECT_GT(CountOf(img, c1), 50);

  m_wnd.SetChannelVisible(1, 0);
  EXPECT_EQ(m_wnd.IsChannelVisible(1), 0);
  m_wnd.RefreshFig(2048, 1);  // hidden: nothing drawn, the figure still refreshed
  img = Shot();
  EXPECT_EQ(CountOf(img, c0) + CountOf(img, c1), 0);

  // Hiding channel 0 leaves channel 1 in its own colour.
  m_wnd.SetChannelVisible(1, 1);
  m_wnd.SetChannelVisible(0, 0);
  m_wnd.RefreshFig(2048, -1);
  img = Shot();
  EXPECT_EQ(CountOf(img, c0), 0);
  EXPECT_GT(CountOf(img, c1), 50);
}

TEST_F(SpectrumWindow, ChannelsAddedByTheFormatAreVisible) {
  Make(400, 150, 48000, 2, 1024);
  m_wnd.SetWaveFormat(&(m_fmt = AFmt{3, 32, 48000, AFMT_TAG_FLOAT, 0}));
  ASSERT_EQ(m_wnd.GetChannels(), 3);
  EXPECT_EQ(m_wnd.IsChannelVisible(2), 1);
  EXPECT_EQ(m_wnd.IsChannelVisible(3), 0);
  EXPECT_EQ(m_wnd.IsChannelVisible(-1), 0);
  m_wnd.SetChannelVisible(5, 1);  // no such channel: ignored
  m_wnd.SetChannelVisible(-2, 1);
  EXPECT_EQ(m_wnd.IsChannelVisible(5), 0);

  Feed(0, 1024, {{500.0, 0.5}, {2000.0, 0.5}, {9000.0, 0.5}});
  m_wnd.RefreshFig(1024, -1);
  hl::Image img = Shot();
  for (int c = 0; c < 3; ++c) EXPECT_GT(CountOf(img, m_wnd.GetChannelColor(c)), 50) << c;

  m_wnd.SetChannelVisible(2, 0);
  EXPECT_EQ(m_wnd.IsChannelVisible(2), 0);
  m_wnd.RefreshFig(1024, -1);
  img = Shot();
  EXPECT_EQ(CountOf(img, m_wnd.GetChannelColor(2)), 0);
  EXPECT_GT(CountOf(img, m_wnd.GetChannelColor(1)), 50);
}

TEST_F(SpectrumWindow, FftSizeChangesRedrawTheLastFigure) {
  Make(400, 150, 44100, 1, 1024);
  const COLORREF cr = m_wnd.GetChannelColor(0);
  Feed(0, 8192, {{3000.0, 0.5}});
  m_wnd.RefreshFig(8192, -1);  // four FFT sizes are kept: the end of the block
  ASSERT_EQ(m_wnd.counts, std::vector<int>{512});  // 513 levels, the Nyquist bin left out
  m_wnd.SetFFTSize(2048);
  EXPECT_EQ(m_wnd.GetFFTSize(), 2048u);
  EXPECT_EQ(m_wnd.counts, (std::vector<int>{512, 1024}));
  EXPECT_EQ(m_wnd.GetLastUpdateFigPos(), 8192u);
  EXPECT_GT(CountOf(Shot(), cr), 100);

  // A position without data leaves the figure and the last position alone.
  const hl::Image before = Shot();
  m_wnd.RefreshFig(100000, -1);
  EXPECT_EQ(m_wnd.GetLastUpdateFigPos(), 8192u);
  EXPECT_EQ(Shot().pixels, before.pixels);

  // The linear switch erases the curves until the next figure.
  m_wnd.SetLinear(1);
  EXPECT_EQ(CountOf(Shot(), cr), 0);
  m_wnd.RestoreLastFig();
  EXPECT_GT(CountOf(Shot(), cr), 100);

  m_wnd.Reset();
  EXPECT_EQ(m_wnd.GetLastUpdateFigPos(), CFreqMagnWnd::NO_FIG_POS);
  const size_t calls = m_wnd.counts.size();
  m_wnd.RestoreLastFig();
  m_wnd.SetFFTSize(1024);
  EXPECT_EQ(m_wnd.counts.size(), calls);
}

TEST_F(SpectrumWindow, RefusedInitialDrawsNothing) {
  ASSERT_TRUE(m_wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100), &m_scale, &m_top, 5));
  const AFmt fmt{2, 16, 44100, AFMT_TAG_PCM, 0};
  EXPECT_EQ(m_wnd.Initial(&fmt, nullptr, FFTWND_HANN, 1000, 0), 0);  // not a power of two
  EXPECT_EQ(m_wnd.Initial(nullptr, nullptr, FFTWND_HANN, 1024, 0), 0);
  EXPECT_EQ(m_wnd.IsInitialed(), 0);
  std::vector<float> l(2048, 0.5f), r(2048, 0.5f);
  float* ch[2] = {l.data(), r.data()};
  m_wnd.FillData(ch, 2048, 0);
  m_wnd.RefreshFig(2048, -1);
  EXPECT_TRUE(m_wnd.counts.empty());
  EXPECT_EQ(m_wnd.GetLastUpdateFigPos(), CFreqMagnWnd::NO_FIG_POS);
}

// High up the warped axis a column spans several bins. A tone on a bin inside a span vanishes
// with the first-bin rule; with the peak-of-span setting it shows at its level.
TEST_F(SpectrumWindow, PeakOfSpannedBinsKeepsToneBetweenColumns) {
  Make(300, 200, 48000, 1, 8192);
  std::vector<spectrum::SKnot> knots(300);
  const int n = spectrum::SelectKnots(24000, 300, 4096, 48000, knots.data());
  const spectrum::SKnot* wide = nullptr;
  for (int j = n - 2; j > 0 && !wide; --j)
    if (knots[j].nBinLast - knots[j].nBin >= 6 && knots[j].nBin * 48000.0 / 8192 < 15000) wide = &knots[j];
  ASSERT_NE(wide, nullptr);
  const int bin = wide->nBin + 3;
  Feed(0, 8192, {{bin * 48000.0 / 8192, 0.5}});
  const COLORREF cr = m_wnd.GetChannelColor(0);
  EXPECT_FALSE(m_wnd.GetSpanMax());
  m_wnd.RefreshFig(8192, -1);
  const int below = Top(Shot(), cr).second;  // -1: the whole curve on the floor, just outside
  EXPECT_TRUE(below == -1 || below > 150) << below;
  m_wnd.SetSpanMax(TRUE);
  m_wnd.RefreshFig(8192, -1);
  const auto top = Top(Shot(), cr);
  EXPECT_EQ(top.second, 56);  // -6 dB
  EXPECT_NEAR(top.first, wide->nColumn, 1);
}

// The audio thread feeds and refreshes while the window thread resizes and paints. Every frame
// painted after the first figure shows a whole curve: the tone's peak at its row.
TEST_F(SpectrumWindow, FeedAndRefreshOnAnotherThreadWhileResizing) {
  Make(400, 200, 48000, 2, 2048);
  m_wnd.SetBufLen(8 * 2048);
  const COLORREF c0 = m_wnd.GetChannelColor(0);
  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> l(1024), r(1024);
    float* ch[2] = {l.data(), r.data()};
    unsigned long pos = 0;
    for (int block = 0; block < 160; ++block) {
      for (int i = 0; i < 1024; ++i) {
        // 3 kHz sits on a bin centre (bin 128 of 2048 at 48 kHz): the same spectrum every time.
        l[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 3000.0 * double(pos + i) / 48000));
        r[i] = 0.25f * static_cast<float>(std::sin(2 * std::numbers::pi * 750.0 * double(pos + i) / 48000));
      }
      m_wnd.FillData(ch, 1024, pos);
      pos += 1024;
      m_wnd.RefreshFig(static_cast<DWORD>(pos), -1);
    }
    done = true;
  });
  int frames = 0, whole = 0;
  for (int k = 0; !done || frames < 3; ++k) {
    // Asked before the paint: a first figure arriving after it would leave this paint empty.
    const bool drawn = m_wnd.GetLastUpdateFigPos() != CFreqMagnWnd::NO_FIG_POS;
    m_wnd.MoveWindow(0, 0, k % 2 ? 400 : 360, 200);
    m_wnd.Invalidate(FALSE);
    m_wnd.UpdateWindow();
    if (!drawn) continue;
    const hl::Image img = hl::Capture(m_wnd.GetSafeHwnd());
    ++frames;
    whole += Top(img, c0).second == 56;
  }
  audio.join();
  hl::Pump();
  EXPECT_GT(frames, 0);
  EXPECT_EQ(whole, frames);
}

// The window thread uses the figure calls the spectrum inherits while the audio thread feeds
// and refreshes: each is serialised with RefreshFig (TSan checks this), and the figure after
// them shows the tone alone again.
TEST_F(SpectrumWindow, InheritedFigureCallsWhileRefreshingOnAnotherThread) {
  Make(400, 200, 48000, 1, 2048);
  const COLORREF c0 = m_wnd.GetChannelColor(0), other = RGB(0, 255, 0);
  std::atomic<bool> done{false};
  std::atomic<unsigned long> last{0};
  std::thread audio([&] {
    for (unsigned long pos = 0; pos < 60 * 1024; pos += 1024) {
      Feed(pos, 1024, {{3000.0, 0.5}});
      m_wnd.RefreshFig(static_cast<DWORD>(pos + 1024), -1);
      last = pos + 1024;
    }
    done = true;
  });
  std::vector<float> flat(64, -30.0f);
  for (int k = 0; !done; ++k) {
    m_wnd.SetXScaleCount(4 + k % 8);
    m_wnd.Clear();
    m_wnd.DrawDBValue(flat.data(), static_cast<int>(flat.size()), other);
    m_wnd.Show();
    hl::Pump();
  }
  audio.join();
  m_wnd.RefreshFig(static_cast<DWORD>(last.load()), -1);
  const hl::Image img = Shot();
  EXPECT_EQ(Top(img, c0).second, 56);
  EXPECT_EQ(CountOf(img, other), 0);
}

// The audio thread keeps refreshing while the window thread destroys the window: no refresh
// reaches the window being destroyed (TSan checks this), and figures still draw afterwards.
TEST_F(SpectrumWindow, RefreshFigOnAnotherThreadWhileDestroyed) {
  Make(300, 150, 48000, 1, 1024);
  unsigned long pos = 0;  // the audio thread's alone
  testsupport::FeedAcross(
      [&] {
        Feed(pos, 1024, {{3000.0, 0.5}});
        pos += 1024;
        m_wnd.RefreshFig(static_cast<DWORD>(pos), -1);
      },
      [&] { m_wnd.DestroyWindow(); });
  EXPECT_EQ(m_wnd.GetSafeHwnd(), nullptr);
  EXPECT_NE(m_wnd.GetLastUpdateFigPos(), CFreqMagnWnd::NO_FIG_POS);
}

}  // namespace
