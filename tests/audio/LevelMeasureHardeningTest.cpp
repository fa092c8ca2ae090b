// The level measure and the meter feed at the edges (issue 20): Initial and Reset against the
// other threads, a meter re-counted while the audio thread feeds it, samples at the top of the
// float range, denormal samples, and modes outside the enum. The thread cases run under
// ThreadSanitizer (scripts/test.sh) as well as AddressSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <type_traits>
#include <vector>

#include "audio/ExVUMeter.h"
#include "audio/LevelMeasure.h"
#include "audio/MeterFeed.h"
#include "support/CountingNew.h"
#include "support/HostWindow.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;
// The thread cases run at the lowest rate: each Initial and Reset makes a loudness state with 3 s
// of history per channel, and the sanitizers make every such allocation slow.
constexpr int kLowRate = 8000;

// An interleaved block of a sine in every channel, sized for the most channels a measure takes.
std::vector<float> SineBlock(int frames, float amplitude, int channels = CLevelMeasure::MAX_CHANNELS) {
  std::vector<float> buf(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i)
    for (int ch = 0; ch < channels; ++ch)
      buf[static_cast<size_t>(i) * channels + ch] = amplitude * static_cast<float>(std::sin(2 * kPi * 1000.0 * i / kRate));
  return buf;
}

// Fault 1: readers on another thread while Initial changes the layout again and again. Readers
// must never see freed memory, and whatever they read is a reading (finite, within the floor).
TEST(LevelMeasureThreads, InitialWhileAnotherThreadReads) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kLowRate, LMM_VU));
  std::atomic<bool> stop{false};
  std::atomic<long long> reads{0};
  std::thread reader([&] {
    std::vector<float> levels(CLevelMeasure::MAX_CHANNELS);
    while (!stop.load()) {
      const int n = m.GetChannels();
      EXPECT_GE(n, 0);
      EXPECT_LE(n, CLevelMeasure::MAX_CHANNELS);
      m.GetLevels(levels.data(), CLevelMeasure::MAX_CHANNELS);
      for (int ch = 0; ch < CLevelMeasure::MAX_CHANNELS; ++ch) {
        const double v = m.GetSamplePeak(ch) + m.GetTruePeak(ch) + m.GetRMS(ch) + m.GetHoldLevel(ch);
        EXPECT_TRUE(std::isfinite(v));
      }
      EXPECT_TRUE(std::isfinite(m.GetMomentary() + m.GetShortTerm() + m.GetIntegrated() + m.GetMaxTruePeak()));
      reads.fetch_add(1);
    }
  });
  const std::vector<float> block = SineBlock(480, 0.5f);
  for (int k = 0; k < 40; ++k) {
    const int channels = 1 + (k * 7) % CLevelMeasure::MAX_CHANNELS;
    ASSERT_TRUE(m.Initial(channels, k % 2 ? 11025 : kLowRate, static_cast<LevelMeterMode>(k % 4)));
    ASSERT_TRUE(m.Feed(block.data(), 480));  // something to read
  }
  while (reads.load() < 10) std::this_thread::yield();
  stop = true;
  reader.join();
}

// Fault 2: the user presses "reset" while audio plays. Every Reset is carried out, none breaks
// the feed, and after the last one the readings start again from silence.
TEST(LevelMeasureThreads, ResetWhileTheAudioThreadFeeds) {
  constexpr int C = 6;
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(C, kLowRate, LMM_PPM_TYPE_I));
  std::atomic<bool> stop{false};
  std::atomic<long long> blocks{0};
  std::thread audio([&] {
    const std::vector<float> loud = SineBlock(480, 0.5f, C);
    std::vector<const float*> planar(C);
    std::vector<float> plane(480, 0.25f);
    for (int ch = 0; ch < C; ++ch) planar[ch] = plane.data();
    while (!stop.load()) {
      EXPECT_TRUE(m.Feed(loud.data(), 480));
      EXPECT_TRUE(m.Feed(planar.data(), 480));
      blocks.fetch_add(1);
    }
  });
  for (int k = 0; k < 60; ++k) {
    m.Reset();
    if (k % 4 == 0) std::this_thread::yield();
  }
  while (blocks.load() < 20) std::this_thread::yield();
  stop = true;
  audio.join();
  // The audio thread has stopped: a Reset now reads silence at once, and the next block fed is
  // all the measure knows.
  m.Reset();
  EXPECT_EQ(m.GetSamplePeak(0), CLevelMeasure::LEVEL_FLOOR_DB);
  EXPECT_EQ(m.GetFramesFed(), 0u);
  EXPECT_EQ(m.GetMomentary(), CLevelMeasure::LEVEL_FLOOR_DB);
  const std::vector<float> quiet = SineBlock(4800, 0.1f, C);  // 0.6 s at this rate
  ASSERT_TRUE(m.Feed(quiet.data(), 4800));
  EXPECT_EQ(m.GetFramesFed(), 4800u);
  EXPECT_NEAR(m.GetSamplePeak(0), -20.0, 0.01);  // not the -6 dB fed before the Reset
  EXPECT_GT(m.GetMomentary(), CLevelMeasure::LEVEL_FLOOR_DB);
}

// The feeding thread carries out Reset (and a new channel layout) without allocating or freeing:
// the fresh loudness state was made by the caller, the old one is freed by the next owner call.
TEST(LevelMeasureThreads, ResetCarriedOutByTheFeedAllocatesNothing) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(8, kRate, LMM_VU));
  const std::vector<float> block = SineBlock(480, 0.5f, 8);
  ASSERT_TRUE(m.Feed(block.data(), 480));
  for (int k = 0; k < 3; ++k) {
    m.Reset();
    const long long before = testsupport::AllocationCount();
    ASSERT_TRUE(m.Feed(block.data(), 480));  // takes the reset
    ASSERT_TRUE(m.Feed(block.data(), 480));
    EXPECT_EQ(testsupport::AllocationCount() - before, 0);
    EXPECT_EQ(m.GetFramesFed(), 960u);
  }
}

// Initial while another thread feeds (a host changing its format without stopping the stream):
// the feed is refused while Initial runs, and nothing is touched after it is freed.
TEST(LevelMeasureThreads, InitialWhileAnotherThreadFeeds) {
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kLowRate, LMM_DIGITAL_PEAK));
  std::atomic<bool> stop{false};
  std::atomic<long long> taken{0};
  std::thread audio([&] {
    const std::vector<float> block = SineBlock(256, 0.5f);
    std::vector<const float*> planar(CLevelMeasure::MAX_CHANNELS, block.data());
    while (!stop.load()) {
      if (m.Feed(block.data(), 256)) taken.fetch_add(1);
      if (m.Feed(planar.data(), 256)) taken.fetch_add(1);
    }
  });
  for (int k = 0; k < 40; ++k) ASSERT_TRUE(m.Initial(1 + (k * 13) % CLevelMeasure::MAX_CHANNELS, kLowRate, LMM_VU));
  while (taken.load() < 10) std::this_thread::yield();
  stop = true;
  audio.join();
}

class MeterFeedThreads : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    if (m_meter.GetSafeHwnd()) m_meter.DestroyWindow();
    HostWindowTest::TearDown();
  }
  CExVUMeter m_meter;
};

// Fault 3: the audio thread feeds the meter while the UI changes its bar count, up to more bars
// than a measure has channels. The meter never reads more levels than it was handed; bars the
// measure lacks show silence.
TEST_F(MeterFeedThreads, SetCountWhileTheAudioThreadFeeds) {
  ASSERT_TRUE(m_meter.Create(2, TRUE, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 60), &m_top));
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  const std::vector<float> block = SineBlock(480, 0.5f, 2);
  ASSERT_TRUE(m.Feed(block.data(), 480));
  std::atomic<bool> stop{false};
  std::atomic<long long> feeds{0};
  std::thread audio([&] {
    while (!stop.load()) {
      CMeterFeed::Feed(m, m_meter);
      feeds.fetch_add(1);
    }
  });
  for (int k = 0; k < 60; ++k) {
    m_meter.SetCount(k % 2 ? 200 : 2 + k % 5);
    std::this_thread::yield();
  }
  while (feeds.load() < 50) std::this_thread::yield();
  stop = true;
  audio.join();
  m_meter.SetCount(200);
  for (int k = 0; k < 50; ++k) ASSERT_TRUE(CMeterFeed::Feed(m, m_meter));
  EXPECT_NEAR(m_meter.GetShownValue(0), -6.0f, 0.5f);
  EXPECT_NEAR(m_meter.GetShownValue(1), -6.0f, 0.5f);
  for (int i = 2; i < 200; ++i) EXPECT_LE(m_meter.GetShownValue(i), m_meter.GetParam().fMinDB) << "bar " << i;
}

// The counted SetValue itself: never reads past the count it is given, whatever the bar count.
TEST_F(MeterFeedThreads, CountedSetValueReadsNoMoreThanItsCount) {
  ASSERT_TRUE(m_meter.Create(8, TRUE, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &m_top));
  std::vector<float> three(3, -3.0f);  // exactly three values: ASan sees any read past them
  for (int k = 0; k < 100; ++k) ASSERT_TRUE(m_meter.SetValue(three.data(), 3));
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(m_meter.GetShownValue(i), -3.0f, 0.5f);
  for (int i = 3; i < 8; ++i) EXPECT_LE(m_meter.GetShownValue(i), m_meter.GetParam().fMinDB);
  EXPECT_FALSE(m_meter.SetValue(nullptr, 3));
  EXPECT_FALSE(m_meter.SetValue(three.data(), -1));
}

// Fault 11: one finite sample near the top of the float range, then a loud sine. The RMS is a
// finite number at every moment, the spike's while it is in the window and the sine's after.
TEST(LevelMeasureLimits, HugeFiniteSamplesNeverOverflowTheRms) {
  for (float spike : {1.9e19f, 3.0e30f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()}) {
    CLevelMeasure m;
    ASSERT_TRUE(m.Initial(1, kRate, LMM_VU));
    const std::vector<float> sine = SineBlock(480, 0.5f, 1);
    ASSERT_TRUE(m.Feed(sine.data(), 480));
    ASSERT_TRUE(m.Feed(&spike, 1));
    for (int k = 0; k < 60; ++k) {  // 600 ms in 10 ms blocks
      ASSERT_TRUE(m.Feed(sine.data(), 480));
      const double rms = m.GetRMS(0);
      ASSERT_TRUE(std::isfinite(rms)) << spike << " block " << k;
      if (k < 25) {
        EXPECT_GT(rms, 100.0) << spike << " block " << k;  // the spike dominates its window
      } else if (k > 32) {
        EXPECT_NEAR(rms, 20 * std::log10(0.5) - 3.0103, 0.05) << spike << " block " << k;
      }
    }
    for (double v : {m.GetSamplePeak(0), m.GetTruePeak(0), m.GetLevel(0), m.GetHoldLevel(0), m.GetMaxTruePeak(),
                     m.GetMomentary(), m.GetShortTerm(), m.GetIntegrated(), m.GetLoudnessRange()})
      EXPECT_TRUE(std::isfinite(v)) << spike;
    EXPECT_GT(m.GetSamplePeak(0), 380.0);
  }
}

// Fault 12: a reverb tail ringing out into denormals costs the audio thread no more than the
// same amount of ordinary audio (it cost 15 times as much). Best of several runs of each, so a
// busy machine does not decide it.
TEST(LevelMeasureLimits, DenormalSamplesCostNoMoreThanOrdinaryOnes) {
  constexpr int C = 8, kFrames = 4800;
  std::vector<float> normal(static_cast<size_t>(kFrames) * C), tail(normal.size());
  for (size_t i = 0; i < normal.size(); ++i) {
    normal[i] = 0.3f * static_cast<float>(std::sin(0.01 * static_cast<double>(i)));
    // Decaying through the denormal range, sign changing as a ringing tail does.
    tail[i] = std::numeric_limits<float>::denorm_min() * static_cast<float>(1 + (i * 7919) % 4000000) * (i % 3 ? 1.0f : -1.0f);
  }
  auto best = [&](const std::vector<float>& x) {
    double fastest = 1e30;
    for (int run = 0; run < 7; ++run) {
      CLevelMeasure m;
      EXPECT_TRUE(m.Initial(C, kRate, LMM_VU));
      const auto t0 = std::chrono::steady_clock::now();
      for (int k = 0; k < 4; ++k) m.Feed(x.data(), kFrames);
      fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return fastest;
  };
  best(normal);  // warm up
  const double tNormal = best(normal), tTail = best(tail);
  EXPECT_LT(tTail, 2.5 * tNormal) << "ordinary " << tNormal * 1e3 << " ms, denormal tail " << tTail * 1e3 << " ms";
}

// Fault 18: a mode read from a file or a host arrives as an integer. The enum has a fixed
// underlying type, so every integer is a value of it (no undefined behaviour on the way in), and
// Initial refuses those that name no mode.
TEST(LevelMeasureLimits, UnknownModesAreRefused) {
  EXPECT_TRUE((std::is_same_v<std::underlying_type_t<LevelMeterMode>, int>));
  CLevelMeasure m;
  for (int bad : {-1, 4, 7, 255, 256, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
    EXPECT_FALSE(CLevelMeasure::IsValidMode(bad)) << bad;
    EXPECT_FALSE(m.Initial(2, kRate, static_cast<LevelMeterMode>(bad))) << bad;
    EXPECT_EQ(m.GetChannels(), 0) << bad;
  }
  for (int good = LMM_DIGITAL_PEAK; good <= LMM_PPM_TYPE_II; ++good) {
    EXPECT_TRUE(CLevelMeasure::IsValidMode(good));
    EXPECT_TRUE(m.Initial(2, kRate, static_cast<LevelMeterMode>(good)));
    EXPECT_EQ(m.GetMode(), good);
  }
}

}  // namespace
