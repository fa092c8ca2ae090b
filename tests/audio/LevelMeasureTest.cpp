// The level measure against signals made here, with the figures the broadcast standards give:
// loudness cases of EBU Tech 3341/3342, true peak between samples, each ballistic's integration
// and return, the meter feed, bad input, allocation on the feeding path and a feeding thread.
#include <ebur128.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "audio/ExVUMeter.h"
#include "audio/LevelMeasure.h"
#include "audio/MeterFeed.h"
#include "support/HostWindow.h"
#include "support/CountingNew.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;

double Amp(double dBFS) { return std::pow(10.0, dBFS / 20.0); }

// Feeds a stereo (or nChannels) sine of the given peak level for the given time, interleaved,
// in blocks of 480 frames as an audio callback would. Phase continues across calls.
struct Generator {
  CLevelMeasure& m;
  double phase = 0;
  void Sine(double dBFS, double seconds, double freq = 1000.0, int block = 480) {
    const int C = m.GetChannels();
    const long long total = std::llround(seconds * kRate);
    std::vector<float> buf(static_cast<size_t>(block) * C);
    const double a = dBFS <= -300 ? 0.0 : Amp(dBFS), step = 2 * kPi * freq / kRate;
    for (long long done = 0; done < total;) {
      const int n = static_cast<int>(std::min<long long>(block, total - done));
      for (int i = 0; i < n; ++i) {
        const float v = static_cast<float>(a * std::sin(phase));
        phase += step;
        for (int ch = 0; ch < C; ++ch) buf[static_cast<size_t>(i) * C + ch] = v;
      }
      ASSERT_TRUE(m.Feed(buf.data(), n));
      done += n;
    }
    phase = std::fmod(phase, 2 * kPi);
  }
  void Silence(double seconds) { Sine(-400, seconds); }
};

struct LoudnessCase {
  const char* name;
  std::vector<std::pair<double, double>> segments;  // (dBFS, seconds)
  double expectI;                                   // integrated, LUFS (NAN: not checked)
  double expectLRA;                                 // LU (NAN: not checked)
  double tolLRA;
};

class LoudnessCases : public ::testing::TestWithParam<LoudnessCase> {};

// EBU Tech 3341 cases 1-4 (integrated within +-0.1 LU) and Tech 3342 cases 1-3 (range within
// +-1 LU), stereo 1 kHz sines at the stated levels.
TEST_P(LoudnessCases, MeetTheMinimumRequirements) {
  const LoudnessCase& c = GetParam();
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  Generator g{m};
  for (auto [dB, s] : c.segments) g.Sine(dB, s);
  if (!std::isnan(c.expectI)) {
    EXPECT_NEAR(m.GetIntegrated(), c.expectI, 0.1) << c.name;
  }
  if (!std::isnan(c.expectLRA)) {
    EXPECT_NEAR(m.GetLoudnessRange(), c.expectLRA, c.tolLRA) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EbuTech, LoudnessCases,
    ::testing::Values(LoudnessCase{"3341-1", {{-23, 20}}, -23.0, NAN, 0},
                      LoudnessCase{"3341-2", {{-33, 20}}, -33.0, NAN, 0},
                      // Relative gate: the quiet parts lie more than 10 LU below and drop out.
                      LoudnessCase{"3341-3", {{-36, 10}, {-23, 60}, {-36, 10}}, -23.0, NAN, 0},
                      // Absolute gate: -72 dBFS lies below -70 LUFS.
                      LoudnessCase{"3341-4", {{-72, 10}, {-36, 10}, {-23, 60}, {-36, 10}, {-72, 10}}, -23.0, NAN, 0},
                      LoudnessCase{"3342-1", {{-20, 20}, {-30, 20}}, NAN, 10.0, 1.0},
                      LoudnessCase{"3342-2", {{-20, 20}, {-15, 20}}, NAN, 5.0, 1.0},
                      LoudnessCase{"3342-3", {{-40, 20}, {-20, 20}}, NAN, 20.0, 1.0}),
    [](const auto& info) {
      std::string s = info.param.name;
      for (char& ch : s)
        if (ch == '-') ch = '_';
      return "Tech" + s;
    });

// A stereo 997 Hz sine at -20 dBFS: the sample peak is the amplitude (997 Hz walks through every
// phase, so some sample lies within 0.01 dB of the crest); the RMS is 3.01 dB lower; and since a
// full-scale 997 Hz sine in one channel reads -3.01 LKFS, two channels at -20 dBFS read -20 LUFS
// momentary and short-term.
TEST(LevelMeasure, SineReadsItsPeakRmsAndLoudness) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  Generator g{m};
  g.Sine(-20, 4, 997);
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_NEAR(m.GetSamplePeak(ch), -20.0, 0.01);
    EXPECT_NEAR(m.GetRMS(ch), -20.0 - 3.0103, 0.02);
    EXPECT_NEAR(m.GetLevel(ch), -20.0, 0.05);
  }
  EXPECT_NEAR(m.GetMomentary(), -20.0, 0.1);
  EXPECT_NEAR(m.GetShortTerm(), -20.0, 0.1);
  EXPECT_EQ(m.GetChannels(), 2);
  EXPECT_EQ(m.GetFramesFed(), 4ull * kRate);
}

// Momentary and short-term are regrouped from 100 ms pieces; at every 10 Hz refresh they must be
// the library's own readings of the same samples, while the level steps, from the first piece
// (history of silence) through a full 3 s, fed in callbacks that do not fit the pieces.
TEST(LevelMeasure, MomentaryAndShortTermMatchTheLibraryAtEveryRefresh) {
  constexpr int C = 3, kPiece = kRate / 10;
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(C, kRate, LMM_VU));
  ebur128_state* ref = ebur128_init(C, kRate, EBUR128_MODE_S);
  ASSERT_NE(ref, nullptr);
  std::vector<float> buf(static_cast<size_t>(kPiece) * C);
  unsigned seed = 7;
  int checked = 0;
  for (int piece = 0; piece < 45; ++piece) {
    const double a = Amp(piece < 12 ? -30.0 : piece < 30 ? -14.0 : -40.0);
    for (int i = 0; i < kPiece; ++i)
      for (int ch = 0; ch < C; ++ch) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (seed >> 8) / 16777216.0 - 0.5;
        buf[static_cast<size_t>(i) * C + ch] = static_cast<float>(a * (std::sin(0.07 * (piece * kPiece + i) + ch) + noise));
      }
    for (int at = 0; at < kPiece;) {
      const int n = std::min(733, kPiece - at);
      ASSERT_TRUE(m.Feed(&buf[static_cast<size_t>(at) * C], n));
      at += n;
    }
    ASSERT_EQ(ebur128_add_frames_float(ref, buf.data(), kPiece), EBUR128_SUCCESS);
    double mom = 0, st = 0;
    ASSERT_EQ(ebur128_loudness_momentary(ref, &mom), EBUR128_SUCCESS);
    ASSERT_EQ(ebur128_loudness_shortterm(ref, &st), EBUR128_SUCCESS);
    EXPECT_NEAR(m.GetMomentary(), mom, 1e-6) << "piece " << piece;
    EXPECT_NEAR(m.GetShortTerm(), st, 1e-6) << "piece " << piece;
    ++checked;
  }
  ebur128_destroy(&ref);
  EXPECT_EQ(checked, 45);
}

// A sine at a quarter of the rate, 45 degrees off the sample grid: every sample sits at 0.707 of
// the crest (-3.01 dB), while the true peak is the crest. EBU Tech 3341 allows +0.2/-0.4 dB.
TEST(LevelMeasure, TruePeakFindsTheCrestBetweenSamples) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(1, kRate, LMM_DIGITAL_PEAK));
  std::vector<float> x(kRate / 2);
  for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(Amp(-6) * std::sin(kPi / 2 * i + kPi / 4));
  const float* planar[1] = {x.data()};
  ASSERT_TRUE(m.Feed(planar, static_cast<int>(x.size())));
  EXPECT_NEAR(m.GetSamplePeak(0), -6.0 - 3.0103, 0.01);
  EXPECT_GE(m.GetTruePeak(0), -6.0 - 0.4);
  EXPECT_LE(m.GetTruePeak(0), -6.0 + 0.2);
  EXPECT_DOUBLE_EQ(m.GetMaxTruePeak(), m.GetTruePeak(0));

  // An isolated spike read through every block split: eight outputs at a time, the odd tail one
  // by one, and the history across calls must all find the same crest.
  std::vector<float> spike(64, 0.0f);
  spike[29] = 0.5f;
  spike[30] = -0.5f;
  float expect = -1;
  for (int block : {64, 1, 3, 7, 9, 13}) {
    CLevelMeasure s;
    ASSERT_TRUE(s.Initial(1, kRate, LMM_DIGITAL_PEAK));
    for (int at = 0; at < 64; at += block) {
      const float* p[1] = {spike.data() + at};
      ASSERT_TRUE(s.Feed(p, std::min(block, 64 - at)));
    }
    if (expect < 0) expect = static_cast<float>(s.GetTruePeak(0));
    EXPECT_EQ(static_cast<float>(s.GetTruePeak(0)), expect) << "blocks of " << block;
  }
  EXPECT_GT(expect, -6.0206 + 0.5);  // the crest between two opposite samples lies above them
}

// Reading of a 5 kHz burst of the given length, relative to the same tone held steady.
double BurstReading(LevelMeterMode mode, double seconds) {
  CLevelMeasure steady, burst;
  EXPECT_TRUE(steady.Initial(1, kRate, mode));
  EXPECT_TRUE(burst.Initial(1, kRate, mode));
  Generator{steady}.Sine(0, 1.0, 5000);
  Generator{burst}.Sine(0, seconds, 5000, 1);  // sample by sample: the reading right at the end
  return burst.GetLevel(0) - steady.GetLevel(0);
}

// dB fallen after `seconds` of silence following a steady 1 kHz tone.
double Fall(LevelMeterMode mode, double seconds) {
  CLevelMeasure m;
  EXPECT_TRUE(m.Initial(1, kRate, mode));
  Generator g{m};
  g.Sine(0, 1.0);
  const double top = m.GetLevel(0);
  g.Silence(seconds);
  return top - m.GetLevel(0);
}

TEST(LevelMeasure, PeakProgrammeMetersIntegrateAndReturnAsTheirTypes) {
  // Integration time: a burst that long reads 2 dB low (IEC 60268-10: 5 ms type I, 10 ms type II).
  EXPECT_NEAR(BurstReading(LMM_PPM_TYPE_I, 0.005), -2.0, 0.5);
  EXPECT_NEAR(BurstReading(LMM_PPM_TYPE_II, 0.010), -2.0, 0.5);
  // Longer bursts read closer to the steady value, shorter ones lower.
  EXPECT_GT(BurstReading(LMM_PPM_TYPE_I, 0.010), -2.0);
  EXPECT_LT(BurstReading(LMM_PPM_TYPE_II, 0.005), -2.0);
  // Return: 20 dB in 1.7 s (type I), 24 dB in 2.8 s (type II).
  EXPECT_NEAR(Fall(LMM_PPM_TYPE_I, 1.7), 20.0, 0.5);
  EXPECT_NEAR(Fall(LMM_PPM_TYPE_II, 2.8), 24.0, 0.5);
}

TEST(LevelMeasure, DigitalPeakTakesEverySampleAndReturnsTwentyDbIn1p7s) {
  EXPECT_NEAR(BurstReading(LMM_DIGITAL_PEAK, 0.0005), 0.0, 0.01);  // 2.5 cycles reach the crest
  EXPECT_NEAR(Fall(LMM_DIGITAL_PEAK, 1.7), 20.0, 0.2);
}

// IEC 60268-17: a sine step reaches 99 % of the steady reading in 300 ms and overshoots by 1 to
// 1.5 % (read each millisecond); the steady reading of a sine is its amplitude.
TEST(LevelMeasure, VUMeterRisesIn300msWithItsOvershoot) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(1, kRate, LMM_VU));
  Generator g{m};
  double t = 0, reached = -1, top = 0;
  while (t < 1.5) {
    g.Sine(-10, 0.001);
    t += 0.001;
    const double lin = Amp(m.GetLevel(0)) / Amp(-10);
    if (reached < 0 && lin >= 0.99) reached = t;
    top = std::max(top, lin);
  }
  EXPECT_NEAR(reached, 0.300, 0.015);
  EXPECT_GE(top, 1.010);
  EXPECT_LE(top, 1.015);
  g.Sine(-10, 2.0);
  EXPECT_NEAR(m.GetLevel(0), -10.0, 0.1);
}

TEST(LevelMeasure, PeakHoldKeepsTheHighestReadingForItsTime) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(1, kRate, LMM_PPM_TYPE_I));
  m.SetPeakHold(1000);
  Generator g{m};
  g.Sine(-6, 0.5);
  const double top = m.GetHoldLevel(0);
  g.Silence(0.9);
  EXPECT_NEAR(m.GetHoldLevel(0), top, 1e-6);
  EXPECT_LT(m.GetLevel(0), top - 5);
  g.Silence(0.2);
  EXPECT_NEAR(m.GetHoldLevel(0), m.GetLevel(0), 1e-6);
  m.SetPeakHold(0);
  g.Sine(-6, 0.5);
  g.Silence(0.5);
  EXPECT_NEAR(m.GetHoldLevel(0), m.GetLevel(0), 1e-6);
}

TEST(LevelMeasure, BadInputIsRefusedOrCountedAsSilence) {
  CLevelMeasure m;
  const float one = 0.5f;
  EXPECT_FALSE(m.Feed(&one, 1));  // before Initial
  EXPECT_FALSE(m.Initial(0, kRate, LMM_VU));
  EXPECT_FALSE(m.Initial(2, 0, LMM_VU));
  EXPECT_FALSE(m.Initial(2, kRate, static_cast<LevelMeterMode>(7)));
  EXPECT_FALSE(m.Initial(CLevelMeasure::MAX_CHANNELS + 1, kRate, LMM_VU));
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  EXPECT_FALSE(m.Feed(static_cast<const float*>(nullptr), 10));
  EXPECT_FALSE(m.Feed(static_cast<const float* const*>(nullptr), 10));
  const float* halfPlanar[2] = {&one, nullptr};
  EXPECT_FALSE(m.Feed(halfPlanar, 1));
  EXPECT_FALSE(m.Feed(&one, -1));
  EXPECT_EQ(m.GetFramesFed(), 0u);

  const float bad[6] = {0.25f, NAN, INFINITY, 0.5f, -INFINITY, NAN};  // frames of (left, right)
  ASSERT_TRUE(m.Feed(bad, 3));
  EXPECT_EQ(m.GetNonFiniteCount(), 4u);
  EXPECT_NEAR(m.GetSamplePeak(0), 20 * std::log10(0.25), 1e-4);
  EXPECT_NEAR(m.GetSamplePeak(1), 20 * std::log10(0.5), 1e-4);
  EXPECT_TRUE(std::isfinite(m.GetMomentary()));
  EXPECT_EQ(m.GetSamplePeak(2), CLevelMeasure::LEVEL_FLOOR_DB);
  EXPECT_EQ(m.GetSamplePeak(-1), CLevelMeasure::LEVEL_FLOOR_DB);
  m.Reset();
  EXPECT_EQ(m.GetNonFiniteCount(), 0u);
  EXPECT_EQ(m.GetSamplePeak(0), CLevelMeasure::LEVEL_FLOOR_DB);
  EXPECT_EQ(m.GetIntegrated(), CLevelMeasure::LEVEL_FLOOR_DB);
}

TEST(LevelMeasure, FeedingAllocatesNothingAfterInitial) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(8, kRate, LMM_VU));
  m.SetPeakHold(500);
  std::vector<float> planarData(8 * 4800);
  for (size_t i = 0; i < planarData.size(); ++i) planarData[i] = static_cast<float>(std::sin(i * 0.01));
  std::vector<const float*> planar(8);
  for (int ch = 0; ch < 8; ++ch) planar[ch] = &planarData[static_cast<size_t>(ch) * 4800];
  const long long before = testsupport::AllocationCount();
  for (int k = 0; k < 50; ++k) {
    ASSERT_TRUE(m.Feed(planar.data(), 4800));
    ASSERT_TRUE(m.Feed(planarData.data(), 4800));
  }
  EXPECT_EQ(testsupport::AllocationCount() - before, 0);
}

TEST(LevelMeasure, ReadersOnAnotherThreadSeeWholeReadings) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_PPM_TYPE_II));
  std::atomic<bool> done{false};
  std::thread feeder([&] {
    Generator g{m};
    for (int k = 0; k < 40; ++k) g.Sine(-12, 0.05);
    done = true;
  });
  double worst = CLevelMeasure::LEVEL_FLOOR_DB;
  while (!done) {
    for (int ch = 0; ch < 2; ++ch) worst = std::max(worst, m.GetSamplePeak(ch));
    worst = std::max(worst, m.GetMomentary());
  }
  feeder.join();
  EXPECT_LE(worst, -12.0 + 0.01);
  EXPECT_NEAR(m.GetSamplePeak(0), -12.0, 0.01);
}

class MeterFeedTest : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_meter.GetSafeHwnd()) m_meter.DestroyWindow();
    HostWindowTest::TearDown();
  }
  CExVUMeter m_meter;
};

TEST_F(MeterFeedTest, BarsShowTheirChannelsAndSilenceBeyond) {
  ASSERT_TRUE(m_meter.Create(3, TRUE, WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 200), &m_top));
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  Generator{m}.Sine(-6, 0.2);
  for (int k = 0; k < 200; ++k) ASSERT_TRUE(CMeterFeed::Feed(m, m_meter));
  EXPECT_NEAR(m_meter.GetShownValue(0), -6.0f, 0.5f);
  EXPECT_NEAR(m_meter.GetShownValue(1), -6.0f, 0.5f);
  EXPECT_LE(m_meter.GetShownValue(2), m_meter.GetParam().fMinDB);
}

}  // namespace

