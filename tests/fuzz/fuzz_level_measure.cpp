// The level measure driven by arbitrary call sequences (Initial, SetChannelLayout, Feed planar
// and interleaved, Reset, SetPeakHold, every getter) with arbitrary samples, checked against a
// simple model of what it must report: the layout it was given, the frames and the non-finite
// samples it took, each channel's sample peak, silence after Reset, and readings that are always
// finite numbers at or above the floor.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FuzzValues.h"
#include "audio/LevelMeasure.h"

namespace {

struct Model {
  int channels = 0;
  unsigned long long frames = 0, nonFinite = 0;
  std::vector<double> peak;  // linear, per channel
  double maxPeak = 0;
  void Clear() {
    frames = nonFinite = 0;
    std::fill(peak.begin(), peak.end(), 0.0);
    maxPeak = 0;
  }
  void Take(float x, int ch) {
    const float a = std::fabs(x);
    if (!(a <= FLT_MAX)) {
      ++nonFinite;
      return;
    }
    if (a < 1e-20f) return;  // the measure's silence threshold
    peak[static_cast<size_t>(ch)] = std::max(peak[static_cast<size_t>(ch)], static_cast<double>(a));
    maxPeak = std::max(maxPeak, static_cast<double>(a));
  }
};

double DB(double linear) {
  return linear > 0 ? std::max(20 * std::log10(linear), CLevelMeasure::LEVEL_FLOOR_DB) : CLevelMeasure::LEVEL_FLOOR_DB;
}

[[noreturn]] void Fail(const char* what, double got, double want) {
  std::fprintf(stderr, "level measure model mismatch: %s: got %.17g, want %.17g\n", what, got, want);
  std::abort();
}

void Expect(bool ok, const char* what, double got = 0, double want = 0) {
  if (!ok) Fail(what, got, want);
}

// A reading: finite, never below the floor.
void Reading(double v, const char* what) {
  Expect(std::isfinite(v) && v >= CLevelMeasure::LEVEL_FLOOR_DB, what, v, CLevelMeasure::LEVEL_FLOOR_DB);
}

void CheckAll(const CLevelMeasure& m, const Model& model) {
  Expect(m.GetChannels() == model.channels, "channels", m.GetChannels(), model.channels);
  Expect(m.GetFramesFed() == model.frames, "frames fed", static_cast<double>(m.GetFramesFed()), static_cast<double>(model.frames));
  Expect(m.GetNonFiniteCount() == model.nonFinite, "non-finite count", static_cast<double>(m.GetNonFiniteCount()),
         static_cast<double>(model.nonFinite));
  for (int ch = -1; ch <= model.channels; ++ch) {
    const bool in = ch >= 0 && ch < model.channels;
    const double peak = m.GetSamplePeak(ch);
    Reading(peak, "sample peak");
    const double want = in ? DB(static_cast<double>(static_cast<float>(model.peak[static_cast<size_t>(ch)]))) : CLevelMeasure::LEVEL_FLOOR_DB;
    Expect(std::fabs(peak - want) <= 1e-9, "sample peak", peak, want);
    for (double v : {m.GetTruePeak(ch), m.GetRMS(ch), m.GetLevel(ch), m.GetHoldLevel(ch)}) Reading(v, "channel reading");
    if (!in) {
      Expect(m.GetTruePeak(ch) == CLevelMeasure::LEVEL_FLOOR_DB && m.GetRMS(ch) == CLevelMeasure::LEVEL_FLOOR_DB,
             "a channel the measure lacks reads the floor");
    }
    // RMS never above the peak (a window of samples none above it); a little slack for rounding.
    if (in) Expect(m.GetRMS(ch) <= peak + 1e-3, "rms above sample peak", m.GetRMS(ch), peak);
  }
  Reading(m.GetMaxTruePeak(), "max true peak");
  const double loudnessCap = DB(model.maxPeak) + 10 * std::log10(2.0 * std::max(model.channels, 1)) + 12;
  for (double v : {m.GetMomentary(), m.GetShortTerm(), m.GetIntegrated(), m.GetMaxMomentary(), m.GetMaxShortTerm()}) {
    Reading(v, "loudness");
    // Loudness comes from the samples fed since Initial/Reset: silence reads the floor, and no
    // reading lies far above what their peaks allow.
    if (model.maxPeak == 0) Expect(v == CLevelMeasure::LEVEL_FLOOR_DB, "loudness of silence", v, CLevelMeasure::LEVEL_FLOOR_DB);
    Expect(v <= std::max(loudnessCap, CLevelMeasure::LEVEL_FLOOR_DB), "loudness above the peaks allow", v, loudnessCap);
  }
  Expect(m.GetMaxMomentary() >= m.GetMomentary(), "max momentary below momentary", m.GetMaxMomentary(), m.GetMomentary());
  Expect(m.GetMaxShortTerm() >= m.GetShortTerm(), "max short-term below short-term", m.GetMaxShortTerm(), m.GetShortTerm());
  const double range = m.GetLoudnessRange();
  Expect(std::isfinite(range) && range >= 0, "loudness range", range, 0);
}

int Rate(FuzzedDataProvider& in) {
  static constexpr int kRates[] = {8000, 11025, 22050, 44100, 48000, 96000, 7999, 384001, 0, -48000};
  return in.ConsumeBool() ? in.PickValueInArray(kRates) : fuzzvalues::Int(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CLevelMeasure m;
  Model model;
  auto initial = [&] {
    int channels = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, CLevelMeasure::MAX_CHANNELS + 1) : fuzzvalues::Int(in);
    const int rate = Rate(in);
    const int mode = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 4) : fuzzvalues::Int(in);
    // The loudness history takes 3 s of doubles per channel, made anew by every Initial and
    // Reset: keep it to a few MB per run (channels x rate at most 256000) so runs stay fast.
    if (rate > 0 && static_cast<long long>(channels) * rate > 256000) channels = std::max(1, 256000 / rate);
    const BOOL ok = m.Initial(channels, rate, static_cast<LevelMeterMode>(mode));
    const bool valid = channels >= 1 && channels <= CLevelMeasure::MAX_CHANNELS && rate >= 8000 && rate <= 384000 &&
                       CLevelMeasure::IsValidMode(mode);
    Expect(!ok || valid, "Initial took an invalid layout");
    model.channels = ok ? channels : 0;
    model.peak.assign(static_cast<size_t>(model.channels), 0.0);
    model.Clear();
    if (ok) {
      Expect(m.GetSampleRate() == rate && m.GetMode() == mode, "rate or mode", m.GetSampleRate(), rate);
    }
  };
  initial();
  for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
      case 1:
      case 2:
      case 3: {  // a block, interleaved or planar
        const bool planar = in.ConsumeBool();
        const int frames = in.ConsumeIntegralInRange(-2, 2500);
        const int C = std::max(model.channels, 1);
        const float level = fuzzvalues::Float(in);
        std::vector<float> buf(static_cast<size_t>(std::max(frames, 0)) * C, level);
        for (size_t i = 0; i < buf.size() && in.remaining_bytes() > 0 && i < 96; ++i)
          buf[in.ConsumeIntegralInRange<size_t>(0, buf.size() - 1)] = fuzzvalues::Float(in);
        const int nullChannel = in.ConsumeIntegralInRange(-1, 3 * C);  // usually none
        std::vector<const float*> planes(static_cast<size_t>(C));
        for (int ch = 0; ch < C; ++ch)
          planes[static_cast<size_t>(ch)] = ch == nullChannel ? nullptr : buf.data() + static_cast<size_t>(ch) * std::max(frames, 0);
        const bool nullBlock = in.ConsumeIntegralInRange(0, 15) == 0;
        BOOL ok;
        if (planar)
          ok = m.Feed(nullBlock ? nullptr : planes.data(), frames);
        else
          ok = m.Feed(nullBlock ? nullptr : buf.data(), frames);
        const bool valid = model.channels > 0 && !nullBlock && frames >= 0 && (!planar || nullChannel < 0 || nullChannel >= C);
        Expect(!!ok == valid, "Feed's answer", ok, valid);
        if (ok) {
          for (int i = 0; i < frames; ++i)
            for (int ch = 0; ch < model.channels; ++ch)
              model.Take(planar ? planes[static_cast<size_t>(ch)][i] : buf[static_cast<size_t>(i) * model.channels + ch], ch);
          model.frames += static_cast<unsigned long long>(frames);
        }
        break;
      }
      case 4:
        m.Reset();
        model.Clear();
        break;
      case 5: initial(); break;
      case 6: m.SetPeakHold(fuzzvalues::Int(in)); break;
      case 7: {
        const int n = in.ConsumeIntegralInRange(-2, CLevelMeasure::MAX_CHANNELS + 2);
        std::vector<float> f(static_cast<size_t>(std::max(n, 0)));
        std::vector<double> d(f.size());
        const BOOL held = in.ConsumeBool();
        Expect(m.GetLevels(n > 0 ? f.data() : nullptr, n, held) == std::max(n, 0), "GetLevels count");
        Expect(m.GetLevels(n > 0 ? d.data() : nullptr, n, held) == std::max(n, 0), "GetLevels count");
        for (int i = 0; i < n; ++i) {
          Reading(f[static_cast<size_t>(i)], "GetLevels");
          Expect(static_cast<float>(d[static_cast<size_t>(i)]) == f[static_cast<size_t>(i)], "GetLevels float and double");
          if (i >= model.channels) Expect(d[static_cast<size_t>(i)] == CLevelMeasure::LEVEL_FLOOR_DB, "GetLevels beyond");
        }
        break;
      }
      default: CheckAll(m, model); break;
    }
  }
  CheckAll(m, model);
  return 0;
}
