// Each meter reads a steady sine as a calibrated meter does: its level, at every instant of the
// cycle. A PPM's rectifier falls back between crests and so settles below them; its calibration
// must not move the burst reading that defines its integration time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "audio/LevelMeasure.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;
constexpr double kLevelDB = -10.0;
constexpr double kTolDB = 0.05;

// kLevelDB sine, a little off the sample grid so the crest falls between samples.
std::vector<float> Tone(double freq, double seconds) {
  std::vector<float> x(static_cast<size_t>(std::lround(seconds * kRate)));
  const double a = std::pow(10.0, kLevelDB / 20.0);
  for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(a * std::sin(2 * kPi * freq * i / kRate + 0.3));
  return x;
}

struct SRange {
  double lo = 1e9, hi = -1e9;
};

// Readings after each sample of the tone's last millisecond (whole cycles of 1 and 5 kHz), once
// the meter has settled on the rest.
SRange SteadyReadings(LevelMeterMode mode, double freq) {
  CLevelMeasure m;
  EXPECT_TRUE(m.Initial(1, kRate, mode));
  const std::vector<float> x = Tone(freq, 3.0);
  const size_t tail = kRate / 1000;
  const float* p = x.data();
  EXPECT_TRUE(m.Feed(&p, static_cast<int>(x.size() - tail)));
  SRange r;
  for (size_t i = x.size() - tail; i < x.size(); ++i) {
    p = &x[i];
    EXPECT_TRUE(m.Feed(&p, 1));
    r.lo = std::min(r.lo, m.GetLevel(0));
    r.hi = std::max(r.hi, m.GetLevel(0));
  }
  return r;
}

class SteadySine : public ::testing::TestWithParam<LevelMeterMode> {};

TEST_P(SteadySine, ReadsItsLevelThroughoutTheCycleAt1And5kHz) {
  for (double freq : {1000.0, 5000.0}) {
    const SRange r = SteadyReadings(GetParam(), freq);
    EXPECT_NEAR(r.lo, kLevelDB, kTolDB) << freq << " Hz";
    EXPECT_NEAR(r.hi, kLevelDB, kTolDB) << freq << " Hz";
  }
}

std::string ModeName(const ::testing::TestParamInfo<LevelMeterMode>& info) {
  static const char* const kNames[] = {"DigitalPeak", "VU", "PPMTypeI", "PPMTypeII"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(EveryMeter, SteadySine,
                         ::testing::Values(LMM_DIGITAL_PEAK, LMM_VU, LMM_PPM_TYPE_I, LMM_PPM_TYPE_II), ModeName);

// A 5 kHz burst of the integration time reads 2 dB below the steady tone's level, which the
// calibrated meter reads exactly.
TEST(BallisticsCalibration, PPMBurstOfItsIntegrationTimeReadsTwoDbBelowTheLevel) {
  for (auto [mode, seconds] : {std::pair{LMM_PPM_TYPE_I, 0.005}, std::pair{LMM_PPM_TYPE_II, 0.010}}) {
    CLevelMeasure m;
    ASSERT_TRUE(m.Initial(1, kRate, mode));
    const std::vector<float> x = Tone(5000, seconds);
    const float* p = x.data();
    ASSERT_TRUE(m.Feed(&p, static_cast<int>(x.size())));
    EXPECT_NEAR(m.GetLevel(0), kLevelDB - 2.0, kTolDB) << "mode " << mode;
  }
}

}  // namespace
