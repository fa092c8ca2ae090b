// Internal: the Y/C waveform display: per frame column, the intensity of every code level that
// a sample's luma plus or minus its chroma length reaches (see YCLevel).
#pragma once
#include "companion/FastLog.h"
#include "foundation/TArray.h"
#include "scopes/ScopePixels.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"
#include "scopes/displays/WaveformBands.h"

namespace scopes_detail {

class YCWaveform {
 public:
  // Records for a frame nWidth pixels wide and the count-to-intensity map for nRows sampled
  // rows; false when the records cannot be had.
  bool Begin(long nWidth, int nRows, const CFastLog& log);
  // Pair columns [p0, p1) of src into their records; raw luma counts are added into histo when
  // it is not null.
  void Accumulate(const RowSource& src, int p0, int p1, DWORD* histo);
  // Records past the frame's pairs (an odd last column) hold nothing.
  void End(int nPairs);
  void Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut);
  // No records, and the row table is made again for the next drawing.
  void Reset();

  const CTArray<YCLevel>& Levels() const { return m_levels; }
  const CTArray<SHORT>& Map() const { return m_map; }

 private:
  const int* RowTable(const DrawTarget& t, bool bFullRange);

  CTArray<YCLevel> m_levels;
  CTArray<SHORT> m_map;
  WaveformRows m_rows;
};

}  // namespace scopes_detail
