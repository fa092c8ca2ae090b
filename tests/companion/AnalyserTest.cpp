#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <numbers>
#include <random>
#include <vector>

#include "companion/AudioFormat.h"
#include "companion/WaveDataFreqMagn.h"

// Counts the program's allocations, to show that queries allocate nothing once warmed up.
// (GCC 12 takes the malloc/free pairing below for a mismatch once it inlines them.)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
static std::atomic<long> g_allocations{0};
void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

double Db(float m) { return 20.0 * std::log10(double(m)); }

// Feeds `frames` frames starting at stream position `pos`; channel c gets gen(c, position).
template <class Gen>
void Feed(CWaveDataFreqMagn& a, int channels, unsigned long pos, long frames, Gen gen) {
  std::vector<std::vector<float>> data(channels, std::vector<float>(frames));
  std::vector<float*> ptrs(channels);
  for (int c = 0; c < channels; ++c) {
    for (long i = 0; i < frames; ++i) data[c][i] = float(gen(c, pos + i));
    ptrs[c] = data[c].data();
  }
  a.FillData(ptrs.data(), frames, pos);
}

auto Sine(double amplitude, double cyclesPerFrame, double phase = 0.3) {
  return [=](int, unsigned long p) { return amplitude * std::sin(2 * std::numbers::pi * cyclesPerFrame * double(p) + phase); };
}

const FFTWndType kWindows[] = {FFTWND_RECTANGLE, FFTWND_HANN, FFTWND_HAMMING, FFTWND_BLACKMAN,
                               FFTWND_BLACKMAN_HARRIS};

}  // namespace

TEST(Analyser, FullScaleSineAtBinCentreReadsZeroDbWithEveryWindow) {
  CFFT_RC_Calc calc;
  for (unsigned long n : {64ul, 1024ul, 32768ul}) {
    for (FFTWndType w : kWindows) {
      CWaveDataFreqMagn a;
      ASSERT_EQ(a.Initial(2, &calc, n, w, 0, 1), 1);
      const unsigned long bin = n / 8 + 3;
      Feed(a, 2, 1000, long(n), Sine(1.0, double(bin) / double(n)));
      SMagnFreq smf{nullptr, 0};
      ASSERT_EQ(a.GetMagnFreqData(1000 + n, smf), 1);
      ASSERT_EQ(smf.nChannels, 2u);
      for (int c = 0; c < 2; ++c) {
        EXPECT_NEAR(Db(smf.ppMagn[c][bin]), 0.0, 0.05) << "size " << n << " window " << w;
        // The peak is the bin itself; with a window the far bins are quiet.
        EXPECT_LT(smf.ppMagn[c][bin + 1], smf.ppMagn[c][bin]);
        EXPECT_LT(smf.ppMagn[c][bin - 1], smf.ppMagn[c][bin]);
        if (w != FFTWND_RECTANGLE) {
          EXPECT_LT(Db(smf.ppMagn[c][bin + 8]), -40.0);
        }
      }
    }
  }
  // A DC level reads as itself in bin 0.
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(1, nullptr, 256, FFTWND_HANN, 256, 1), 1);
  Feed(a, 1, 0, 256, [](int, unsigned long) { return 0.25; });
  SMagnFreq smf{nullptr, 0};
  ASSERT_EQ(a.GetMagnFreqData(256, smf), 1);
  EXPECT_NEAR(smf.ppMagn[0][0], 0.25f, 1e-4f);
  EXPECT_NEAR(smf.ppMagn[0][5], 0.0f, 1e-4f);
}

TEST(Analyser, TwoTonesSeparate) {
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(1, nullptr, 4096, FFTWND_BLACKMAN_HARRIS, 0, 1), 1);
  const auto two = [](int, unsigned long p) {
    return 0.5 * std::sin(2 * std::numbers::pi * 400.0 / 4096 * double(p)) +
           0.05 * std::sin(2 * std::numbers::pi * 430.5 / 4096 * double(p) + 1.0);
  };
  Feed(a, 1, 0, 4096, two);
  SMagnFreq smf{nullptr, 0};
  ASSERT_EQ(a.GetMagnFreqData(4096, smf), 1);
  const float* m = smf.ppMagn[0];
  EXPECT_NEAR(Db(m[400]), Db(0.5f), 0.05);
  // The second tone sits between two bins: the scalloping loss of the window is under 1 dB.
  EXPECT_NEAR(Db(std::max(m[430], m[431])), Db(0.05f), 1.0);
  EXPECT_GT(m[430], m[428]);
  EXPECT_GT(m[431], m[433]);
  for (int k = 406; k <= 424; ++k) EXPECT_LT(Db(m[k]), Db(0.05f) - 40.0) << k;
}

TEST(Analyser, WhiteNoiseIsFlatWhenAveraged) {
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(1, nullptr, 256, FFTWND_HANN, 1024, 1), 1);
  a.SetAgility(0.998f);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  SMagnFreq smf{nullptr, 0};
  for (unsigned long pos = 0; pos < 256ul * 6000; pos += 256) {
    Feed(a, 1, pos, 256, [&](int, unsigned long) { return noise(rng); });
    if (pos >= 256) {
      ASSERT_EQ(a.GetMagnFreqData(pos + 256, smf), 1);
    }
  }
  double mean = 0;
  for (int k = 1; k < 128; ++k) mean += smf.ppMagn[0][k];
  mean /= 127;
  for (int k = 1; k < 128; ++k) EXPECT_NEAR(Db(smf.ppMagn[0][k]) - Db(float(mean)), 0.0, 1.0) << k;
}

TEST(Analyser, PositionsOutsideTheBufferGiveNothing) {
  CWaveDataFreqMagn a;
  SMagnFreq smf{nullptr, 0};
  EXPECT_EQ(a.GetMagnFreqData(1024, smf), 0);  // not initialised
  Feed(a, 1, 0, 100, Sine(1, 0.1));              // ignored before Initial
  ASSERT_EQ(a.Initial(1, nullptr, 1024, FFTWND_HANN, 4096, 1), 1);
  EXPECT_EQ(a.GetMagnFreqData(1024, smf), 0);  // nothing filled yet
  Feed(a, 1, 10000, 3000, Sine(1, 0.1));       // holds 10000 .. 12999
  EXPECT_EQ(a.GetMagnFreqData(11023, smf), 0);  // would start before the data
  EXPECT_EQ(a.GetMagnFreqData(13001, smf), 0);  // would end after it
  EXPECT_EQ(a.GetMagnFreqData(500, smf), 0);
  EXPECT_EQ(smf.ppMagn, nullptr);
  EXPECT_EQ(a.GetMagnFreqData(11024, smf), 1);
  EXPECT_EQ(a.GetMagnFreqData(13000, smf), 1);
  Feed(a, 1, 13000, 3000, Sine(1, 0.1));  // the ring keeps the latest 4096: 11904 .. 15999
  EXPECT_EQ(a.GetMagnFreqData(12927, smf), 0);
  EXPECT_EQ(a.GetMagnFreqData(12928, smf), 1);
  Feed(a, 1, 50, 2000, Sine(1, 0.1));  // a jump restarts the buffer
  EXPECT_EQ(a.GetMagnFreqData(16000, smf), 0);
  EXPECT_EQ(a.GetMagnFreqData(2050, smf), 1);
  a.Reset();
  EXPECT_EQ(a.GetMagnFreqData(2050, smf), 0);
  // Bad blocks are ignored.
  float* none[1] = {nullptr};
  a.FillData(none, 2000, 0);
  a.FillData(nullptr, 2000, 0);
  std::vector<float> data(2000, 1.0f);
  float* one[1] = {data.data()};
  a.FillData(one, 0, 0);
  a.FillData(one, -5, 0);
  EXPECT_EQ(a.GetMagnFreqData(1024, smf), 0);
  // A block longer than the ring keeps its tail.
  std::vector<float> big(10000, 0.5f);
  float* bigp[1] = {big.data()};
  a.FillData(bigp, 10000, 0);
  EXPECT_EQ(a.GetMagnFreqData(5904, smf), 0);
  ASSERT_EQ(a.GetMagnFreqData(10000, smf), 1);
  EXPECT_NEAR(smf.ppMagn[0][0], 0.5f, 1e-4f);
}

TEST(Analyser, ResultsDoNotDependOnWhereTheRingWraps) {
  CWaveDataFreqMagn a, b;
  ASSERT_EQ(a.Initial(1, nullptr, 512, FFTWND_HAMMING, 1000, 1), 1);
  ASSERT_EQ(b.Initial(1, nullptr, 512, FFTWND_HAMMING, 8192, 1), 1);
  const auto sig = [](int, unsigned long p) { return std::sin(0.37 * double(p)) * std::cos(0.011 * double(p)); };
  for (unsigned long pos = 0; pos < 3000; pos += 300) {
    Feed(a, 1, pos, 300, sig);
    Feed(b, 1, pos, 300, sig);
  }
  SMagnFreq sa{nullptr, 0}, sb{nullptr, 0};
  ASSERT_EQ(a.GetMagnFreqData(2800, sa), 1);  // frames 2288 .. 2799 cross the ring's end at 2000
  ASSERT_EQ(b.GetMagnFreqData(2800, sb), 1);
  for (int k = 0; k <= 256; ++k) EXPECT_NEAR(sa.ppMagn[0][k], sb.ppMagn[0][k], 1e-5f) << k;
}

TEST(Analyser, AgilityIsAnExponentialAverage) {
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(1, nullptr, 1024, FFTWND_HANN, 8192, 1), 1);
  a.SetAgility(0.75f);
  EXPECT_FLOAT_EQ(a.GetAgility(), 0.75f);
  const double f = 64.0 / 1024;
  Feed(a, 1, 0, 1024, Sine(1.0, f));
  SMagnFreq smf{nullptr, 0};
  ASSERT_EQ(a.GetMagnFreqData(1024, smf), 1);
  EXPECT_NEAR(smf.ppMagn[0][64], 1.0f, 1e-4f);  // the first query starts from the spectrum itself
  Feed(a, 1, 1024, 8192 - 1024, Sine(0.5, f));
  double expect = 1.0;
  for (int q = 1; q <= 6; ++q) {
    ASSERT_EQ(a.GetMagnFreqData(8192, smf), 1);
    expect = 0.75 * expect + 0.25 * 0.5;
    EXPECT_NEAR(smf.ppMagn[0][64], expect, 1e-4) << q;
  }
  a.SetAgility(1.0f);  // frozen
  Feed(a, 1, 8192, 1024, Sine(0.1, f));
  ASSERT_EQ(a.GetMagnFreqData(9216, smf), 1);
  EXPECT_NEAR(smf.ppMagn[0][64], expect, 1e-4);
  a.SetAgility(0.0f);  // immediate
  ASSERT_EQ(a.GetMagnFreqData(9216, smf), 1);
  EXPECT_NEAR(smf.ppMagn[0][64], 0.1f, 1e-4f);
  a.SetAgility(NAN);
  EXPECT_EQ(a.GetAgility(), 0.0f);
  a.SetAgility(7.0f);
  EXPECT_EQ(a.GetAgility(), 1.0f);
  a.SetAgility(-1.0f);
  EXPECT_EQ(a.GetAgility(), 0.0f);
  // Non-finite samples count as silence rather than poisoning later figures.
  Feed(a, 1, 9216, 1024, [](int, unsigned long) { return NAN; });
  ASSERT_EQ(a.GetMagnFreqData(10240, smf), 1);
  EXPECT_EQ(smf.ppMagn[0][64], 0.0f);
}

// One block of finite samples at the float limit overflows the transform; the average must
// come back from it rather than stay infinite (or turn NaN when frozen).
TEST(Analyser, SamplesAtTheFloatLimitDoNotPinTheAverage) {
  for (float agility : {0.5f, 1.0f}) {
    CWaveDataFreqMagn a;
    ASSERT_EQ(a.Initial(1, nullptr, 64, FFTWND_HANN, 256, 1), 1);
    a.SetAgility(agility);
    Feed(a, 1, 0, 64, [](int, unsigned long p) { return p % 2 ? FLT_MAX : -FLT_MAX; });
    SMagnFreq smf{nullptr, 0};
    ASSERT_EQ(a.GetMagnFreqData(64, smf), 1);
    for (int k = 0; k <= 32; ++k) EXPECT_TRUE(std::isfinite(smf.ppMagn[0][k])) << agility << " bin " << k;
    for (unsigned long pos = 64; pos < 64 * 4; pos += 64) {
      Feed(a, 1, pos, 64, Sine(0.5, 8.0 / 64));
      ASSERT_EQ(a.GetMagnFreqData(pos + 64, smf), 1);
    }
    for (int k = 0; k <= 32; ++k) {
      EXPECT_TRUE(std::isfinite(smf.ppMagn[0][k])) << agility << " bin " << k;
      if (agility < 1.0f) {
        EXPECT_LT(smf.ppMagn[0][k], 1.0f) << "bin " << k;
      }
    }
    if (agility < 1.0f) {
      EXPECT_NEAR(smf.ppMagn[0][8], 0.5f, 1e-3f);
    }
  }
}

// A continuous stream whose positions pass the top of unsigned long keeps giving spectra.
TEST(Analyser, StreamPositionsWrapAround) {
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(1, nullptr, 256, FFTWND_HANN, 1024, 1), 1);
  const unsigned long start = ULONG_MAX - 700;
  const auto dc = [](int, unsigned long) { return 0.25; };
  SMagnFreq smf{nullptr, 0};
  unsigned long pos = start;
  for (int block = 0; block < 8; ++block, pos += 200) {
    Feed(a, 1, pos, 200, dc);
    const unsigned long end = pos + 200;  // wraps during the fourth block
    ASSERT_EQ(a.GetMagnFreqData(end, smf), block > 0 ? 1 : 0) << "block " << block;
    if (block == 0) continue;
    EXPECT_NEAR(smf.ppMagn[0][0], 0.25f, 1e-4f);
  }
  // A query across the wrap reads frames from both sides of it; one ahead of the data or
  // older than the buffer still gives nothing.
  EXPECT_EQ(a.GetMagnFreqData(pos - 600, smf), 1);
  EXPECT_EQ(a.GetMagnFreqData(pos + 1, smf), 0);
  EXPECT_EQ(a.GetMagnFreqData(pos - 1024 + 255, smf), 0);
  EXPECT_EQ(a.GetMagnFreqData(pos - 1024 + 256, smf), 1);
  a.SetBufLen(512);  // the latest frames survive a ring change across the wrap
  EXPECT_EQ(a.GetMagnFreqData(pos - 256, smf), 1);
  EXPECT_EQ(a.GetMagnFreqData(pos - 257, smf), 0);
}

TEST(Analyser, QueriesAllocateNothingAfterWarmUp) {
  CFFT_RC_Calc calc;
  CWaveDataFreqMagn a;
  ASSERT_EQ(a.Initial(2, &calc, 4096, FFTWND_HANN, 16384, 1), 1);
  a.SetAgility(0.5f);
  Feed(a, 2, 0, 16384, Sine(0.5, 0.01));
  std::vector<float> l(256, 0.1f), r(256, 0.2f);
  float* block[2] = {l.data(), r.data()};
  SMagnFreq smf{nullptr, 0};
  const long before = g_allocations.load();
  for (unsigned long pos = 4096; pos <= 16384; pos += 128) ASSERT_EQ(a.GetMagnFreqData(pos, smf), 1);
  a.FillData(block, 256, 16384);
  ASSERT_EQ(a.GetMagnFreqData(16640, smf), 1);
  EXPECT_EQ(g_allocations.load(), before);
}

TEST(Analyser, SettingsAreCheckedAndReadBack) {
  CWaveDataFreqMagn a;
  EXPECT_EQ(a.IsInitialed(), 0);
  EXPECT_EQ(a.Initial(0, nullptr, 1024, FFTWND_HANN, 0, 1), 0);
  EXPECT_EQ(a.Initial(65, nullptr, 1024, FFTWND_HANN, 0, 1), 0);
  EXPECT_EQ(a.Initial(2, nullptr, 1000, FFTWND_HANN, 0, 1), 0);
  EXPECT_EQ(a.Initial(2, nullptr, 32, FFTWND_HANN, 0, 1), 0);
  EXPECT_EQ(a.Initial(2, nullptr, 65536, FFTWND_HANN, 0, 1), 0);
  EXPECT_EQ(a.Initial(2, nullptr, 1024, FFTWndType(9), 0, 1), 0);
  EXPECT_EQ(a.Initial(2, nullptr, 1024, FFTWND_HANN, 0, 2), 0);
  EXPECT_EQ(a.IsInitialed(), 0);
  ASSERT_EQ(a.Initial(2, nullptr, 1024, FFTWND_BLACKMAN, 100, 1), 1);
  EXPECT_EQ(a.IsInitialed(), 1);
  EXPECT_EQ(a.GetChannels(), 2);
  EXPECT_EQ(a.GetFFTSize(), 1024ul);
  EXPECT_EQ(a.GetWndType(), FFTWND_BLACKMAN);
  EXPECT_EQ(a.GetBufLen(), 1024ul);  // raised to the FFT size

  for (unsigned long bad : {0ul, 63ul, 100ul, 65536ul, 3000ul}) EXPECT_FALSE(a.SetFFTSize(bad));
  EXPECT_EQ(a.GetFFTSize(), 1024ul);
  EXPECT_FALSE(a.SetFFTWindow(FFTWndType(-1)));
  EXPECT_FALSE(a.SetFFTWindow(FFTWndType(5)));
  EXPECT_EQ(a.GetWndType(), FFTWND_BLACKMAN);
  EXPECT_TRUE(a.SetFFTWindow(FFTWND_HAMMING));
  EXPECT_EQ(a.GetWndType(), FFTWND_HAMMING);

  // Growing the FFT keeps the buffered samples (the ring grows with it).
  a.SetBufLen(1024);
  Feed(a, 2, 0, 1024, Sine(1, 0.25));
  EXPECT_TRUE(a.SetFFTSize(2048));
  EXPECT_EQ(a.GetBufLen(), 2048ul);
  SMagnFreq smf{nullptr, 0};
  EXPECT_EQ(a.GetMagnFreqData(1024, smf), 0);
  Feed(a, 2, 1024, 1024, Sine(1, 0.25));
  ASSERT_EQ(a.GetMagnFreqData(2048, smf), 1);
  EXPECT_NEAR(smf.ppMagn[1][512], 1.0f, 1e-3f);
  a.SetBufLen(1u << 30);
  EXPECT_EQ(a.GetBufLen(), CWaveDataFreqMagn::MAX_BUF_LEN);
  ASSERT_EQ(a.GetMagnFreqData(2048, smf), 1);  // still there after the ring grew
  a.SetBufLen(0);
  EXPECT_EQ(a.GetBufLen(), 2048ul);
  ASSERT_EQ(a.GetMagnFreqData(2048, smf), 1);

  a.SetChannels(0);
  a.SetChannels(100);
  EXPECT_EQ(a.GetChannels(), 2);
  a.SetChannels(3);
  EXPECT_EQ(a.GetChannels(), 3);
  EXPECT_EQ(a.GetMagnFreqData(2048, smf), 0);  // the buffer restarted
  Feed(a, 3, 0, 2048, Sine(0.5, 0.125));
  ASSERT_EQ(a.GetMagnFreqData(2048, smf), 1);
  EXPECT_EQ(smf.nChannels, 3u);
  EXPECT_NEAR(smf.ppMagn[2][256], 0.5f, 1e-3f);
}

TEST(AudioFormat, RecordLayoutAndDescription) {
  AFmt fmt{2, 32, 48000, AFMT_TAG_FLOAT, 0};
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&fmt);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[4] | (bytes[5] << 8) | (bytes[6] << 16), 48000);
  EXPECT_EQ(Make_AFmt_String(&fmt), L"2 ch, 48000 Hz, 32-bit float");
  fmt = {1, 16, 44100, AFMT_TAG_PCM, 0};
  EXPECT_EQ(Make_AFmt_String(&fmt), L"1 ch, 44100 Hz, 16-bit PCM");
  fmt = {6, 0, 96000, 0, 0};
  EXPECT_EQ(Make_AFmt_String(&fmt), L"6 ch, 96000 Hz");
  EXPECT_EQ(Make_AFmt_String(nullptr), L"");
}
