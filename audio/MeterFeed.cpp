#include "audio/MeterFeed.h"

#include <algorithm>
#include <array>

#include "audio/ExVUMeter.h"
#include "audio/LevelMeasure.h"
#include "audio/VUMeter.h"

namespace {
// A meter has at most as many bars as the measure has channels worth showing; more get silence.
constexpr int kMaxBars = CLevelMeasure::MAX_CHANNELS;
}  // namespace

BOOL CMeterFeed::Feed(const CLevelMeasure& measure, CVUMeter& meter, BOOL bHeld) {
  const int n = meter.GetInitParam().nVUCount;
  if (n <= 0 || n > kMaxBars) return FALSE;
  std::array<double, kMaxBars> levels;  // no allocation on the feeding path
  measure.GetLevels(levels.data(), n, bHeld);
  meter.SetDBValue(levels.data());
  return TRUE;
}

BOOL CMeterFeed::Feed(const CLevelMeasure& measure, CExVUMeter& meter, BOOL bHeld) {
  // The measure's channels (at most kMaxBars) and their count: the meter reads no more than that
  // whatever its bar count is by the time it takes them.
  const int n = std::clamp(measure.GetChannels(), 0, kMaxBars);
  std::array<float, kMaxBars> levels;
  measure.GetLevels(levels.data(), n, bHeld);
  return meter.SetValue(levels.data(), n);
}
