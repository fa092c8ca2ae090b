// Internal: the red, green and blue histograms, drawn as coloured bars on a logarithmic height.
// Their counts come from the RGB parade's column pass.
#pragma once
#include "companion/FastLog.h"
#include "foundation/TArray.h"
#include "scopes/displays/DrawTarget.h"
#include "scopes/displays/RGBParade.h"

namespace scopes_detail {

class RGBHistogram {
 public:
  using SliceCounts = RGBParade::SliceCounts;

  // The histograms become the sum of the slices' counts, over nPixels pixels.
  void Collect(const SliceCounts* slices, int nSlices, long nPixels);
  // Bars of nCount values (at most 256 are read) over rc, in colour; nPixels is the full height.
  static void Draw(const DrawTarget& t, const LONG* pValues, long nCount, DWORD colour, long nPixels,
                   const CFastLog& log);
  void Reset();

  // Channel 0 red, 1 green, 2 blue.
  const CTArray<LONG>& Counts(int nChannel) const { return m_counts[2 - nChannel]; }
  long Value(int nChannel, int nLevel) const;
  long PixelCount() const { return m_nPixels; }

 private:
  CTArray<LONG> m_counts[3];  // blue, green, red
  long m_nPixels = 0;
};

}  // namespace scopes_detail
