// Internal: the luma waveform display: per frame column, the intensity of every luma level on a
// logarithmic scale of the sampled rows, drawn level by level up the target.
#pragma once
#include <cstdint>
#include <vector>

#include "companion/FastLog.h"
#include "scopes/ScopePixels.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"
#include "scopes/displays/WaveformBands.h"

namespace scopes_detail {

class LumaWaveform : public WaveformRecords<GrayLevel> {
 public:
  // Records for a frame nWidth pixels wide and the count-to-intensity map for nRows sampled
  // rows; false when the records cannot be had.
  bool Begin(long nWidth, int nRows, const CFastLog& log);
  // Pair columns [p0, p1) of src into their records; raw counts are added into histo when it is
  // not null, and a YVYU source is written into the sink on the way.
  void Accumulate(const RowSource& src, int p0, int p1, DWORD* histo, const RowSink& sink);
  void End(int nPairs);
  void Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut);

 private:
  // Row offset of each level in the target.
  const int* RowTable(const DrawTarget& t, bool bFullRange);
  // The non-zero level bits of the records when they match them, null otherwise.
  const uint64_t* LevelBits() const;

  std::vector<uint64_t> m_bits;  // non-zero levels of each record, four words a column
};

}  // namespace scopes_detail
