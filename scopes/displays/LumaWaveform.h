// Internal: the luma waveform display: per frame column, the intensity of every luma level on a
// logarithmic scale of the sampled rows, drawn level by level up the target.
#pragma once
#include <cstdint>
#include <vector>

#include "companion/FastLog.h"
#include "foundation/TArray.h"
#include "scopes/ScopePixels.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"
#include "scopes/displays/WaveformBands.h"

namespace scopes_detail {

class LumaWaveform {
 public:
  // Records for a frame nWidth pixels wide and the count-to-intensity map for nRows sampled
  // rows; false when the records cannot be had.
  bool Begin(long nWidth, int nRows, const CFastLog& log);
  // Pair columns [p0, p1) of src into their records; raw counts are added into histo when it is
  // not null, and a YVYU source is written into the sink on the way.
  void Accumulate(const RowSource& src, int p0, int p1, DWORD* histo, const RowSink& sink);
  // Records past the frame's pairs (an odd last column) hold nothing.
  void End(int nPairs);
  void Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut);
  // No records, and the row table is made again for the next drawing.
  void Reset();

  const CTArray<GrayLevel>& Levels() const { return m_levels; }
  const CTArray<SHORT>& Map() const { return m_map; }

 private:
  // Row offset of each level in the target.
  const int* RowTable(const DrawTarget& t, bool bFullRange);
  // The non-zero level bits of the records when they match them, null otherwise.
  const uint64_t* LevelBits() const;

  CTArray<GrayLevel> m_levels;
  std::vector<uint64_t> m_bits;  // non-zero levels of each record, four words a column
  CTArray<SHORT> m_map;
  WaveformRows m_rows;
};

}  // namespace scopes_detail
