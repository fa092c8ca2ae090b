// Internal: what the two waveform displays share: records sized per frame column, bands of
// rows written with the mark or the greater-value rule, and the last pass into colours.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/TArray.h"
#include "scopes/ScopePalette.h"
#include "scopes/displays/DrawTarget.h"

namespace scopes_detail {

// One record per frame column. Records that cannot be had leave the waveform empty, since the
// counting passes write a whole row of them.
template <class T>
bool SizeRecords(CTArray<T>& arr, long nWidth) {
  if (arr.GetSize() != nWidth) arr.SetSize(static_cast<int>(nWidth), -1);
  if (arr.GetSize() == nWidth) return true;
  arr.SetSize(0, -1);
  return false;
}

// The row offset of each counter of a waveform in a target, kept while the target's bottom,
// height, row length and row count and the range stay.
class WaveformRows {
 public:
  // rowOf(k): the row of counter k before it is clamped to the target, as a whole number.
  template <class RowOf>
  const int* For(const DrawTarget& t, bool bFullRange, int nCounters, RowOf rowOf) {
    const Key key{t.rc.bottom, t.rc.bottom - t.rc.top, t.step, bFullRange, t.rows};
    return m_cache.For(key, nCounters, [&](int* row) {
      for (int k = 0; k < nCounters; ++k) row[k] = static_cast<int>(std::clamp<double>(rowOf(k), 0, t.rows - 1)) * t.step;
    });
  }
  void Reset() { m_cache.Reset(); }

 private:
  struct Key {
    int bottom, height, step;
    bool full;
    int rows;
    bool operator==(const Key&) const = default;
  };
  TableCache<Key, int> m_cache;
};

// What both waveforms keep: a record of counters per frame column, the count-to-intensity map of
// the sampled rows, and the row table of the last target.
template <class Record>
class WaveformRecords {
 public:
  // Records past the frame's pairs (an odd last column) hold nothing.
  void End(int nPairs) {
    for (int c = 2 * nPairs; c < m_levels.GetSize(); ++c) std::memset(&m_levels[c], 0, sizeof(Record));
  }
  // No records, and the row table is made again for the next drawing.
  void Reset() {
    m_levels.SetSize(0, -1);
    m_rows.Reset();
  }
  const CTArray<Record>& Levels() const { return m_levels; }
  const CTArray<SHORT>& Map() const { return m_map; }

 protected:
  CTArray<Record> m_levels;
  CTArray<SHORT> m_map;
  WaveformRows m_rows;
};

// Band of rows [top, bottom) (as buffer offsets) in columns [c0, c1). Inline: drawing calls
// them once per level and column.
inline void MarkBand(DWORD* pBuf, int nStep, int top, int bottom, int c0, int c1) {
  for (int off = top; off < bottom; off += nStep)
    for (int c = c0; c < c1; ++c) pBuf[off + c] = SCOPE_MARK_VALUE;
}
inline void MaxBand(DWORD* pBuf, int nStep, int top, int bottom, int c0, int c1, LONG v) {
  for (int off = top; off < bottom; off += nStep)
    for (int c = c0; c < c1; ++c)
      if (v > static_cast<LONG>(pBuf[off + c])) pBuf[off + c] = static_cast<DWORD>(v);
}

// Columns xi + k for the integers 0 <= k < cw, clipped to the buffer.
inline void ColumnSpan(int xi, float cw, int nStep, int& c0, int& c1) {
  const int n = static_cast<int>(std::ceil(cw));
  c0 = std::max(xi, 0);
  c1 = static_cast<int>(std::min<long long>(static_cast<long long>(xi) + n, nStep));
}

// Counts and intensities to palette colours, marks to the mark colour; 0 stays 0.
void ColourIntensities(const DrawTarget& t);

}  // namespace scopes_detail
