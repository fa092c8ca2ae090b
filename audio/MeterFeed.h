// Feeds a meter straight from a level measure: each bar shows the measure's (held) ballistic
// level of its channel; bars beyond the measure's channels show silence.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class CLevelMeasure;
class CVUMeter;
class CExVUMeter;

class PARVANEU_API CMeterFeed {
 public:
  // UI thread (CVUMeter repaints and runs timers). FALSE when the meter has no bars.
  static BOOL Feed(const CLevelMeasure& measure, CVUMeter& meter, BOOL bHeld = TRUE);
  // Any thread, like CExVUMeter::SetValue itself, while the window's thread may change the bar
  // count: hands the meter the measure's channels with their count, never reads the meter's
  // count outside its lock. FALSE when the meter took nothing (no bars, or a paint under way).
  static BOOL Feed(const CLevelMeasure& measure, CExVUMeter& meter, BOOL bHeld = TRUE);
};
