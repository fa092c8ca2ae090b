// Internal: the RGB parade display: per frame column, the raw count of every red, green and
// blue level, drawn as three waveforms side by side. Its column pass also yields the colour
// histograms' counts.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/TArray.h"
#include "scopes/ScopeFrame.h"
#include "scopes/ScopePixels.h"
#include "scopes/displays/DrawTarget.h"

namespace scopes_detail {

class RGBParade {
 public:
  using SliceCounts = DWORD[3][256];  // blue, green, red

  // Columns per accumulation tile: each sampled row contributes whole 64-byte lines of a pair
  // frame (half lines cost a second trip to memory per line), while three channels of 16-bit
  // counters (54 KiB) stay close to the first-level cache.
  static constexpr int kTileColumns = 32;

  // Records for a frame nWidth pixels wide; false when they cannot be had.
  bool Begin(long nWidth);
  // Columns [x0, x1) (whole tiles) of every sampled row of frame, SARGB pixels or, with
  // bPairs, VYUY pairs counted as VYUY2ARGB converts them; the columns' counts are added into
  // the slice's histogram counts.
  void Accumulate(const FrameView& frame, bool bPairs, int x0, int x1, SliceCounts& histo);
  // The levels of one channel (0 red, 1 green, 2 blue) over columns of rc; dTop and dBottom the
  // levels at rc.top and rc.bottom. pNonZero, when given: four words per record whose bits
  // mark its non-zero levels.
  static void Draw(const DrawTarget& t, const GrayLevel* pLevels, long nCount, double dTop, double dBottom,
                   int nChannel, const uint64_t* pNonZero);
  void Reset();

  // Channel 0 red, 1 green, 2 blue.
  const CTArray<GrayLevel>& Levels(int nChannel) const { return m_levels[2 - nChannel]; }
  // The non-zero level bits of a channel's records when they match them, null otherwise.
  const uint64_t* Bits(int nChannel) const;

 private:
  template <class CountRow>
  void Walk(int x0, int x1, int rows, SliceCounts& histo, CountRow count);
  void CountPixels(const FrameView& frame, int x0, int x1, SliceCounts& histo);
  void CountPairs(const FrameView& frame, int x0, int x1, SliceCounts& histo);

  // Columns are padded to 576 bytes so that the same level in different columns never lies a
  // multiple of 4 KiB apart, where a load would wait for an unrelated store.
  static constexpr int kLevelStride = 288;

  CTArray<GrayLevel> m_levels[3];      // blue, green, red
  std::vector<uint64_t> m_bits[3];     // blue, green, red: kept beside the records
};

}  // namespace scopes_detail
