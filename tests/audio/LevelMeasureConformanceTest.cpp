// The level measure against the loudness standards' own test cases (issue 21), with the signals
// made here: EBU Tech 3341 cases 9-14 (short-term and momentary at every offset, live maxima),
// readings independent of how the host cuts its blocks, and the channel weights of ITU-R
// BS.1770-4 for every channel of 1- to 8-channel programmes, with Tech 3341 case 6 as 5.0 and
// 5.1. The long cases are instantiated as EbuTech/... (run in the plain and ASan passes, left out
// of the ThreadSanitizer pass).
//
// The Tech 3341 signals are 1 kHz sines in both channels of a stereo programme; a stereo sine at
// X dBFS reads X LUFS (the K-weighting's +0.691 dB at 1 kHz is the -0.691 of the loudness
// formula). Offsets, levels and lengths as listed with each case.
#include <ebur128.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/LevelMeasure.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;
constexpr int kStep = kRate / 100;  // 10 ms
constexpr double kSilence = -1000;   // a segment level meaning silence

double Amp(double dBFS) { return std::pow(10.0, dBFS / 20.0); }

struct Segment {
  double dBFS;  // kSilence for silence
  double seconds;
};

// A programme of 1 kHz sine segments, the same in every listed channel (others silent),
// interleaved; the phase runs on across segments.
std::vector<float> Programme(const std::vector<Segment>& segments, int channels = 2, std::vector<int> toneIn = {0, 1},
                             double freq = 1000.0) {
  long long total = 0;
  for (const Segment& s : segments) total += std::llround(s.seconds * kRate);
  std::vector<float> out(static_cast<size_t>(total) * channels, 0.0f);
  long long at = 0;
  for (const Segment& s : segments) {
    const long long n = std::llround(s.seconds * kRate);
    const double a = s.dBFS <= kSilence ? 0.0 : Amp(s.dBFS);
    for (long long i = 0; i < n; ++i, ++at) {
      const float v = static_cast<float>(a * std::sin(2 * kPi * freq * static_cast<double>(at) / kRate));
      for (int ch : toneIn) out[static_cast<size_t>(at) * channels + ch] = v;
    }
  }
  return out;
}

int Frames(const std::vector<float>& x, int channels) { return static_cast<int>(x.size() / channels); }

// Feeds in 10 ms blocks and calls read(frame position after the block) after each.
template <class Read>
void FeedSteps(CLevelMeasure& m, const std::vector<float>& x, int channels, Read read) {
  const int frames = Frames(x, channels);
  for (int at = 0; at < frames; at += kStep) {
    const int n = std::min(kStep, frames - at);
    ASSERT_TRUE(m.Feed(&x[static_cast<size_t>(at) * channels], n));
    read(at + n);
  }
}

// ---- Tech 3341 case 9: 20 x [1.34 s at -20 dBFS, 1.66 s at -30 dBFS]. Short-term -23.0 +-0.1
// LUFS, constant after 3 s (every 10 ms reading checked).
// ---- Tech 3341 case 12: 20 x [0.18 s at -20 dBFS, 0.22 s at -30 dBFS]. Momentary -23.0 +-0.1
// LUFS, constant after 1 s.
struct ConstantCase {
  const char* name;
  double loud, quiet;  // seconds of each in one period
  double after;        // seconds from which the reading is checked
  bool shortTerm;
};

class Tech3341Constant : public ::testing::TestWithParam<ConstantCase> {};

TEST_P(Tech3341Constant, ReadsMinus23AtEveryStep) {
  const ConstantCase& c = GetParam();
  std::vector<Segment> seg;
  for (int k = 0; k < 20; ++k) {
    seg.push_back({-20, c.loud});
    seg.push_back({-30, c.quiet});
  }
  const std::vector<float> x = Programme(seg);
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  double lo = 1e9, hi = -1e9;
  int checked = 0;
  FeedSteps(m, x, 2, [&](int frame) {
    if (frame < std::llround(c.after * kRate)) return;
    const double v = c.shortTerm ? m.GetShortTerm() : m.GetMomentary();
    lo = std::min(lo, v), hi = std::max(hi, v);
    ++checked;
  });
  EXPECT_GE(lo, -23.1) << c.name;
  EXPECT_LE(hi, -22.9) << c.name;
  EXPECT_GT(checked, 300);
  std::printf("[ reading  ] %s: %s from %.3f to %.3f LUFS over %d readings\n", c.name, c.shortTerm ? "short-term" : "momentary", lo,
              hi, checked);
}

INSTANTIATE_TEST_SUITE_P(EbuTech, Tech3341Constant,
                         ::testing::Values(ConstantCase{"case9", 1.34, 1.66, 3.0, true}, ConstantCase{"case12", 0.18, 0.22, 1.0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Tech 3341 case 10: 20 files, i = 0..19: i x 20 ms of silence, 3 s at -23 dBFS, 1 s of
// silence. Highest short-term reading -23.0 +-0.1 LUFS in each.
// ---- Tech 3341 case 13: 20 files, i = 0..19: i x 20 ms of silence, 0.4 s at -23 dBFS, 1 s of
// silence. Highest momentary reading -23.0 +-0.1 LUFS in each.
// Also at offsets off the 10 ms grid (i x 7 ms): the step makes any offset read within 0.055 dB.
struct BurstCase {
  int tech3341Case;
  double burst;      // seconds
  double offsetMs;   // silence before the burst
};

class Tech3341Burst : public ::testing::TestWithParam<BurstCase> {};

TEST_P(Tech3341Burst, HighestReadingIsTheBurstLevel) {
  const BurstCase& c = GetParam();
  const bool shortTerm = c.tech3341Case == 10;
  const std::vector<float> x = Programme({{kSilence, c.offsetMs / 1000.0}, {-23, c.burst}, {kSilence, 1.0}});
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  double live = -1e9;
  FeedSteps(m, x, 2, [&](int) { live = std::max(live, shortTerm ? m.GetShortTerm() : m.GetMomentary()); });
  const double held = shortTerm ? m.GetMaxShortTerm() : m.GetMaxMomentary();
  EXPECT_NEAR(held, -23.0, 0.1) << "case " << c.tech3341Case << " offset " << c.offsetMs << " ms";
  EXPECT_NEAR(live, held, 1e-9) << "the readings seen live reach the held maximum";
  std::printf("[ reading  ] case %d, offset %5.0f ms: max %s %.3f LUFS\n", c.tech3341Case, c.offsetMs,
              shortTerm ? "short-term" : "momentary", held);
}

std::vector<BurstCase> BurstCases() {
  std::vector<BurstCase> v;
  for (int tc : {10, 13})
    for (int i = 0; i < 20; ++i) v.push_back({tc, tc == 10 ? 3.0 : 0.4, 20.0 * i});
  for (int tc : {10, 13})
    for (int i = 1; i < 15; i += 2) v.push_back({tc, tc == 10 ? 3.0 : 0.4, 7.0 * i});  // off the grid
  return v;
}

INSTANTIATE_TEST_SUITE_P(EbuTech, Tech3341Burst, ::testing::ValuesIn(BurstCases()), [](const auto& info) {
  return "case" + std::to_string(info.param.tech3341Case) + "_offset" + std::to_string(static_cast<int>(info.param.offsetMs)) + "ms";
});

// ---- Tech 3341 case 11: one programme of 20 bursts, i = 0..19: (3 s + i x 20 ms) of silence,
// then 3 s at (-38 + i) dBFS. The highest short-term reading during each burst and the silence
// after it is the burst's level +-0.1 LUFS, read live.
// ---- Tech 3341 case 14: the same with 0.4 s bursts after (1 s + i x 20 ms) of silence, read
// as momentary loudness.
class Tech3341LiveMaxima : public ::testing::TestWithParam<int> {};

TEST_P(Tech3341LiveMaxima, EachBurstReadsItsLevel) {
  const int tc = GetParam();
  const bool shortTerm = tc == 11;
  const double burst = shortTerm ? 3.0 : 0.4, gap = shortTerm ? 3.0 : 1.0;
  std::vector<Segment> seg;
  std::vector<long long> starts;
  long long at = 0;
  for (int i = 0; i < 20; ++i) {
    seg.push_back({kSilence, gap + 0.020 * i});
    at += std::llround((gap + 0.020 * i) * kRate);
    starts.push_back(at);
    seg.push_back({-38.0 + i, burst});
    at += std::llround(burst * kRate);
  }
  seg.push_back({kSilence, gap});
  const std::vector<float> x = Programme(seg);
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(2, kRate, LMM_DIGITAL_PEAK));
  std::vector<double> maxima(20, -1e9);
  FeedSteps(m, x, 2, [&](int frame) {
    const int i = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), static_cast<long long>(frame) - 1) - starts.begin()) - 1;
    if (i >= 0) maxima[static_cast<size_t>(i)] = std::max(maxima[static_cast<size_t>(i)], shortTerm ? m.GetShortTerm() : m.GetMomentary());
  });
  std::string line;
  for (int i = 0; i < 20; ++i) {
    EXPECT_NEAR(maxima[static_cast<size_t>(i)], -38.0 + i, 0.1) << "case " << tc << " burst " << i;
    char buf[48];
    std::snprintf(buf, sizeof buf, " %d:%.3f", i, maxima[static_cast<size_t>(i)] - (-38.0 + i));
    line += buf;
  }
  EXPECT_NEAR(shortTerm ? m.GetMaxShortTerm() : m.GetMaxMomentary(), -19.0, 0.1);
  std::printf("[ reading  ] case %d, burst:max-minus-level (dB)%s\n", tc, line.c_str());
}

INSTANTIATE_TEST_SUITE_P(EbuTech, Tech3341LiveMaxima, ::testing::Values(11, 14),
                         [](const auto& info) { return "case" + std::to_string(info.param); });

// The readings depend on the samples fed, never on how the host cut them into blocks: fed in 10 ms
// blocks, one frame at a time, and in odd and random sizes, every reading at every frame count
// that two feeds share is the same.
TEST(LevelMeasureSteps, ReadingsAreIndependentOfBlockCuts) {
  constexpr int C = 3;
  std::vector<float> x(static_cast<size_t>(kRate) * 2 * C);  // 2 s of a tone that changes level, and noise
  unsigned seed = 11;
  for (size_t i = 0; i < x.size() / C; ++i) {
    const double env = (i / 9000) % 3 == 0 ? 0.5 : 0.05;
    for (int ch = 0; ch < C; ++ch) {
      seed = seed * 1664525u + 1013904223u;
      x[i * C + ch] = static_cast<float>(env * std::sin(0.13 * static_cast<double>(i) + ch) + 0.02 * ((seed >> 8) / 16777216.0 - 0.5));
    }
  }
  struct Seen {
    double momentary, shortTerm, maxMomentary, maxShortTerm, integrated, range, truePeak, rms;
    bool operator==(const Seen&) const = default;
  };
  auto run = [&](auto nextSize) {
    CLevelMeasure m;
    EXPECT_TRUE(m.Initial(C, kRate, LMM_PPM_TYPE_II));
    std::vector<std::pair<int, Seen>> seen;
    const int frames = Frames(x, C);
    for (int at = 0; at < frames;) {
      const int n = std::min(nextSize(), frames - at);
      EXPECT_TRUE(m.Feed(&x[static_cast<size_t>(at) * C], n));
      at += n;
      seen.push_back({at, Seen{m.GetMomentary(), m.GetShortTerm(), m.GetMaxMomentary(), m.GetMaxShortTerm(), m.GetIntegrated(),
                               m.GetLoudnessRange(), m.GetTruePeak(1), m.GetRMS(2)}});
    }
    return seen;
  };
  const auto one = run([] { return 1; });
  unsigned r = 5;
  for (auto sizes : std::vector<std::vector<int>>{{kStep}, {733}, {4096}, {37, 1, 1000, 7}, {}}) {
    size_t k = 0;
    const auto other = run([&] {
      if (sizes.empty()) {
        r = r * 1103515245u + 12345u;
        return 1 + static_cast<int>((r >> 8) % 2000);
      }
      return sizes[k++ % sizes.size()];
    });
    int compared = 0;
    for (const auto& [frame, s] : other) {
      ASSERT_EQ(one[static_cast<size_t>(frame - 1)].first, frame);
      EXPECT_EQ(one[static_cast<size_t>(frame - 1)].second, s) << "at frame " << frame;
      ++compared;
    }
    EXPECT_GT(compared, 0);
  }
  // And the momentary reading moved at every 10 ms step, not every 100 ms.
  int moves = 0;
  for (size_t i = 2 * kStep; i <= one.size(); i += kStep)
    if (one[i - 1].second.momentary != one[i - 1 - kStep].second.momentary) ++moves;
  EXPECT_GE(moves, 195);
}

// Integrated loudness and range are computed here from the 10 ms steps (libebur128 gives only
// the K-weighted energies): on a programme whose level wanders over 40 dB, with gaps under both
// gates, they agree with the library's own exact (list-based) measures.
TEST(LevelMeasureSteps, IntegratedAndRangeAgreeWithTheLibrary) {
  constexpr int C = 2;
  std::vector<Segment> seg;
  unsigned r = 3;
  for (int k = 0; k < 40; ++k) {
    r = r * 1103515245u + 12345u;
    const double level = k % 9 == 8 ? -80.0 : -45.0 + static_cast<double>((r >> 8) % 40);
    seg.push_back({level, 0.37 + 0.01 * ((r >> 20) % 50)});
  }
  const std::vector<float> x = Programme(seg, C);
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(C, kRate, LMM_VU));
  ebur128_state* ref = ebur128_init(C, kRate, EBUR128_MODE_I | EBUR128_MODE_LRA);
  ASSERT_NE(ref, nullptr);
  for (int at = 0; at < Frames(x, C); at += 1000) {
    const int n = std::min(1000, Frames(x, C) - at);
    ASSERT_TRUE(m.Feed(&x[static_cast<size_t>(at) * C], n));
    ASSERT_EQ(ebur128_add_frames_float(ref, &x[static_cast<size_t>(at) * C], static_cast<size_t>(n)), EBUR128_SUCCESS);
  }
  double integrated = 0, range = 0;
  ASSERT_EQ(ebur128_loudness_global(ref, &integrated), EBUR128_SUCCESS);
  ASSERT_EQ(ebur128_loudness_range(ref, &range), EBUR128_SUCCESS);
  ebur128_destroy(&ref);
  // Gating blocks end every 100 ms of audio fed in both; the last block may not have ended yet
  // here, in the library it may have.
  EXPECT_NEAR(m.GetIntegrated(), integrated, 0.02);
  // The range's short-term values come ten times a second here (Tech 3342), once a second in the
  // library: the same distribution sampled more finely.
  EXPECT_NEAR(m.GetLoudnessRange(), range, 0.5);
  std::printf("[ reading  ] integrated %.3f (library %.3f) LUFS, range %.3f (library %.3f) LU\n", m.GetIntegrated(), integrated,
              m.GetLoudnessRange(), range);
}

// ---- Channel weights (ITU-R BS.1770-4): a 1 kHz tone at -20 dBFS alone in one channel reads
// the loudness of that tone in a weight-1 channel plus 10 log10(G) of the channel's role; the LFE
// reads silence.
double ToneAloneIn(int channels, int channel, const LevelChannelRole* roles = nullptr) {
  CLevelMeasure m;
  EXPECT_TRUE(m.Initial(channels, kRate, LMM_VU));
  if (roles) {
    EXPECT_TRUE(m.SetChannelLayout(roles, channels));
  }
  const std::vector<float> x = Programme({{-20, 1.0}}, channels, {channel});
  EXPECT_TRUE(m.Feed(x.data(), Frames(x, channels)));
  return m.GetMomentary();
}

TEST(LevelMeasureLayout, EachChannelOf1To8ChannelProgrammesReadsItsRolesWeight) {
  const double ref = ToneAloneIn(2, 0);  // left, G = 1
  EXPECT_NEAR(ref, -20.0 - 3.0103, 0.02);
  static const char* const kNames[] = {"-",   "L",   "R",   "C",   "LFE", "Ls",  "Rs",  "Lrs", "Rrs", "Cs",  "Lss", "Rss",
                                       "Lw",  "Rw",  "Lsc", "Rsc", "Tfc", "Tfl", "Tfr", "Tfl45", "Tfr45", "Tsl", "Tsr",
                                       "Tls", "Trs", "Tbl", "Tbr", "Tbc", "Tc",  "Bfc", "Bfl", "Bfr", "2xMono", "other"};
  for (int n = 1; n <= 8; ++n) {
    std::string line;
    for (int ch = 0; ch < n; ++ch) {
      const LevelChannelRole role = CLevelMeasure::DefaultRole(n, ch);
      const double g = CLevelMeasure::GetRoleWeight(role);
      const double v = ToneAloneIn(n, ch);
      if (g == 0) {
        EXPECT_EQ(v, CLevelMeasure::LEVEL_FLOOR_DB) << n << " channels, channel " << ch;
      } else {
        EXPECT_NEAR(v - ref, 10 * std::log10(g), 0.005) << n << " channels, channel " << ch << " (" << kNames[role] << ")";
      }
      char buf[64];
      if (g == 0)
        std::snprintf(buf, sizeof buf, " %s:excluded", kNames[role]);
      else
        std::snprintf(buf, sizeof buf, " %s:%+.3f", kNames[role], v - ref);
      line += buf;
    }
    std::printf("[ weights  ] %d ch:%s dB\n", n, line.c_str());
  }
}

// Every role through SetChannelLayout, measured in an 8-channel programme (dual mono alone).
TEST(LevelMeasureLayout, EveryRoleReadsItsWeight) {
  const double ref = ToneAloneIn(2, 0);
  for (int r = LCR_UNUSED; r < LCR_COUNT; ++r) {
    const auto role = static_cast<LevelChannelRole>(r);
    const double g = CLevelMeasure::GetRoleWeight(role);
    double v;
    if (role == LCR_DUAL_MONO) {
      v = ToneAloneIn(1, 0, &role);
    } else {
      LevelChannelRole roles[8];
      for (int ch = 0; ch < 8; ++ch) roles[ch] = CLevelMeasure::DefaultRole(8, ch);
      roles[5] = role;
      v = ToneAloneIn(8, 5, roles);
    }
    if (g == 0) {
      EXPECT_EQ(v, CLevelMeasure::LEVEL_FLOOR_DB) << "role " << r;
    } else {
      EXPECT_NEAR(v - ref, 10 * std::log10(g), 0.005) << "role " << r;
    }
  }
}

TEST(LevelMeasureLayout, DefaultsSetAndRefused) {
  CLevelMeasure m;
  LevelChannelRole roles[CLevelMeasure::MAX_CHANNELS];
  EXPECT_FALSE(m.SetChannelLayout(roles, 0));  // before Initial
  ASSERT_TRUE(m.Initial(10, kRate, LMM_VU));
  const LevelChannelRole expect[10] = {LCR_LEFT, LCR_RIGHT, LCR_CENTRE, LCR_LFE, LCR_LEFT_SURROUND, LCR_RIGHT_SURROUND,
                                       LCR_LEFT_REAR_SURROUND, LCR_RIGHT_REAR_SURROUND, LCR_OTHER, LCR_OTHER};
  for (int ch = 0; ch < 10; ++ch) EXPECT_EQ(m.GetChannelRole(ch), expect[ch]) << ch;
  EXPECT_EQ(m.GetChannelRole(10), LCR_UNUSED);
  EXPECT_EQ(m.GetChannelRole(-1), LCR_UNUSED);
  EXPECT_EQ(CLevelMeasure::DefaultRole(7, 6), LCR_BACK_CENTRE);
  EXPECT_EQ(CLevelMeasure::DefaultRole(1, 0), LCR_CENTRE);
  EXPECT_EQ(CLevelMeasure::DefaultRole(4, 2), LCR_LEFT_SURROUND);
  // Channels 9 and 10 of a 10-channel programme are measured at 1.0.
  EXPECT_NEAR(ToneAloneIn(10, 9) - ToneAloneIn(2, 0), 0.0, 0.005);

  for (int ch = 0; ch < 10; ++ch) roles[ch] = LCR_CENTRE;
  EXPECT_FALSE(m.SetChannelLayout(roles, 9));
  EXPECT_FALSE(m.SetChannelLayout(nullptr, 10));
  roles[3] = static_cast<LevelChannelRole>(LCR_COUNT);
  EXPECT_FALSE(m.SetChannelLayout(roles, 10));
  roles[3] = static_cast<LevelChannelRole>(-1);
  EXPECT_FALSE(m.SetChannelLayout(roles, 10));
  roles[3] = LCR_DUAL_MONO;  // only for one channel
  EXPECT_FALSE(m.SetChannelLayout(roles, 10));
  EXPECT_EQ(m.GetChannelRole(3), LCR_LFE);  // refused layouts leave the old one
  roles[3] = LCR_LFE;
  EXPECT_TRUE(m.SetChannelLayout(roles, 10));
  EXPECT_EQ(m.GetChannelRole(0), LCR_CENTRE);
  ASSERT_TRUE(m.Initial(2, kRate, LMM_VU));  // Initial goes back to the defaults
  EXPECT_EQ(m.GetChannelRole(0), LCR_LEFT);
}

// ---- Tech 3341 case 6: L, R at -28 dBFS, C at -24, Ls, Rs at -30, 20 s: integrated -23.0 +-0.1
// LUFS. As 5.0 (L R C Ls Rs) and as 5.1 (L R C LFE Ls Rs) with a loud tone in the LFE channel,
// which must not count.
class Tech3341Case6 : public ::testing::TestWithParam<int> {};

TEST_P(Tech3341Case6, FiveChannelProgrammeReadsMinus23) {
  const int C = GetParam();
  const bool lfe = C == 6;
  const int L = 0, R = 1, Cc = 2, Ls = lfe ? 4 : 3, Rs = lfe ? 5 : 4;
  std::vector<float> x(static_cast<size_t>(kRate) * 20 * C);
  for (size_t i = 0; i < x.size() / C; ++i) {
    const double s = std::sin(2 * kPi * 1000.0 * static_cast<double>(i) / kRate);
    x[i * C + L] = x[i * C + R] = static_cast<float>(Amp(-28) * s);
    x[i * C + Cc] = static_cast<float>(Amp(-24) * s);
    x[i * C + Ls] = x[i * C + Rs] = static_cast<float>(Amp(-30) * s);
    if (lfe) x[i * C + 3] = static_cast<float>(Amp(-6) * std::sin(2 * kPi * 60.0 * static_cast<double>(i) / kRate));
  }
  CLevelMeasure m;
  ASSERT_TRUE(m.Initial(C, kRate, LMM_DIGITAL_PEAK));
  for (int at = 0; at < Frames(x, C); at += 4800) ASSERT_TRUE(m.Feed(&x[static_cast<size_t>(at) * C], 4800));
  EXPECT_NEAR(m.GetIntegrated(), -23.0, 0.1);
  std::printf("[ reading  ] case 6 as %s: integrated %.3f LUFS\n", lfe ? "5.1" : "5.0", m.GetIntegrated());
}

INSTANTIATE_TEST_SUITE_P(EbuTech, Tech3341Case6, ::testing::Values(5, 6),
                         [](const auto& info) { return info.param == 5 ? std::string("as5_0") : std::string("as5_1"); });

}  // namespace
