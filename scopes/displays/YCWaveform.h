// Internal: the Y/C waveform display: per frame column, the intensity of every code level that
// a sample's luma plus or minus its chroma length reaches (see YCLevel).
#pragma once
#include "companion/FastLog.h"
#include "scopes/ScopePixels.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"
#include "scopes/displays/WaveformBands.h"

namespace scopes_detail {

class YCWaveform : public WaveformRecords<YCLevel> {
 public:
  // Records for a frame nWidth pixels wide and the count-to-intensity map for nRows sampled
  // rows; false when the records cannot be had.
  bool Begin(long nWidth, int nRows, const CFastLog& log);
  // Pair columns [p0, p1) of src into their records; raw luma counts are added into histo when
  // it is not null.
  void Accumulate(const RowSource& src, int p0, int p1, DWORD* histo);
  void Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut);

 private:
  const int* RowTable(const DrawTarget& t, bool bFullRange);
};

}  // namespace scopes_detail
