// Internal: the luma histogram display, 256 counters of the frame's luma drawn as white bars on
// a logarithmic height.
#pragma once
#include "companion/FastLog.h"
#include "foundation/TArray.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"

namespace scopes_detail {

class LumaHistogram {
 public:
  using SliceCounts = DWORD[256];

  // Rows [r0, r1) of src added into one slice's counts.
  static void Accumulate(const RowSource& src, int r0, int r1, SliceCounts& counts, const RowSink& sink) {
    CountLumaRows(src, r0, r1, counts, sink);
  }
  // The histogram becomes the sum of the slices' counts.
  void Collect(const SliceCounts* slices, int nSlices);
  // nPixels: luma samples of the frame (the bars' full height).
  void Draw(const DrawTarget& t, long long nPixels, const CFastLog& log);
  void Reset() { m_counts.SetSize(0, -1); }

  bool HasCounts() const { return m_counts.GetSize() == 256; }
  long Value(int nLevel) const;
  const CTArray<DWORD>& Counts() const { return m_counts; }

 private:
  // The bins of a rectangle n columns wide.
  const DWORD* Bins(int n);

  CTArray<DWORD> m_counts;
  CTArray<DWORD> m_scaled;
};

}  // namespace scopes_detail
