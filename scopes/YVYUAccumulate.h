// Internal: the accumulation passes of the luma/chroma side, apart from drawing. Each pass reads
// an explicit row source, over a range of pair columns (the column-tile passes) or of sampled
// rows (the row passes), so that slices of one frame can run side by side into their own tables.
#pragma once
#include <cstddef>
#include <cstdint>

#include "scopes/ScopeFrame.h"
#include "scopes/ScopePixels.h"
#include "winport/base/types.h"

namespace scopes_detail {

// Y/C waveform counters (see YCLevel): a sample of luma Y lights the code levels Y - m .. Y + m,
// m its chroma vector length in luma units.
constexpr int kYCOffset = 125;         // counter of code level L: L + 125, so level -124 is counter 1
constexpr int kYCFirst = 1;            // counter 0 is never counted: spans reaching below clip here
constexpr int kYCLast = 536;           // code level 411, the highest kept: spans reaching above clip here
constexpr int kYCCounters = kYCLast + 1;    // 537 counters per column
constexpr int kYCDiffSize = kYCLast + 2;    // 538: a span ending at the last counter closes one past it
constexpr int kYCLastPlain = 392;      // code level 267: the last drawn as an intensity when marking
constexpr int kYCFirstMark = kYCLastPlain + 1;  // 393: from here on drawn as marks
constexpr int kYCLastDrawn = 529;      // code level 404: counters above it are never drawn
constexpr int kYCMapHeadroom = 800;    // the Y/C intensity scale reads as if 800 more rows had passed,
                                       // since one sample lights a whole span of counters

// Pair columns per tile of the column passes; slices of columns are cut at tile bounds.
constexpr int kLumaTilePairs = 32;
constexpr int kYCTilePairs = 16;

// Sampled rows of VYUY pairs, or of YVYU pairs read in place (same bytes, each half swapped).
struct RowSource {
  const BYTE* base = nullptr;
  std::ptrdiff_t step = 0;  // bytes between sampled rows
  int pairs = 0;
  int rows = 0;
  bool yvyu = false;
  const BYTE* Row(int r) const { return base + static_cast<std::ptrdiff_t>(r) * step; }
};

// A row pass over a YVYU source can write the frame's VYUY form on the way (rows packed at
// step bytes); null when there is nothing to write.
struct RowSink {
  BYTE* base = nullptr;
  std::ptrdiff_t step = 0;
};

// Per-column luma counts of pair columns [p0, p1) over all rows, mapped through map (indexed by
// count) into out[2 p0 .. 2 p1), with bit L of bits[4 c .. 4 c + 3] telling whether column c's
// level L is non-zero; raw counts are added into histo when it is not null. A YVYU source is
// written into the sink (when it has a buffer) in VYUY form on the way.
void CountLumaColumns(const RowSource& src, int p0, int p1, const SHORT* map, GrayLevel* out, uint64_t* bits,
                      DWORD* histo, const RowSink& sink);

// The same for the Y/C waveform.
void CountYCColumns(const RowSource& src, int p0, int p1, const SHORT* map, YCLevel* out, DWORD* histo);

// Luma histogram of rows [r0, r1) added into histo (256 entries).
void CountLumaRows(const RowSource& src, int r0, int r1, DWORD* histo, const RowSink& sink);

// Entries of a chroma count table: one per pair of 8-bit samples.
constexpr int kChromaTableEntries = 256 * 256;

// Chroma counts of rows [r0, r1) added into the tables that are not null: uv indexed U * 256 + V
// (the vector display), yu and yv indexed Y * 256 + U or V (the lightning display).
void CountChromaRows(const RowSource& src, int r0, int r1, DWORD* uv, DWORD* yu, DWORD* yv, const RowSink& sink);

// Rows [r0, r1) of a YVYU source into their VYUY form.
void ConvertRows(const RowSource& src, int r0, int r1, const RowSink& sink);

// Half-width of a sample's Y/C span for every (U, V), indexed U * 256 + V.
const unsigned char* ChromaSpanTable();

}  // namespace scopes_detail
