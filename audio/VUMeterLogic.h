// Pure logic of the segmented level meter: layout from the client size, level to cell mapping,
// the packed peak word with its hold and fall-back, and the marker flash countdown. No window,
// no drawing, so every rule here is tested without pixels.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

namespace vumeter {

// Bar geometry of one layout pass.
struct SLayout {
  int nOriginX = 0;
  int nOriginY = 4;
  int nBarWidth = 12;   // width of the cells of one bar
  int nCellHeight = 2;  // one cell without its separator
  int nGridCount = 0;   // cells per bar
};

// Cell height for the usable height (client height - 4): 1 below 80, 2 below 300, then one more
// per further full 100.
PARVANEU_API int CellHeightFor(int nHeight);

// Lays out nCount bars in a cx by cy client. Returns false (out untouched) when there is nothing
// to lay out. Widths and counts never go negative: a client too small for one cell gives bars
// with no cells rather than frames drawn backwards.
PARVANEU_API bool ComputeLayout(int cx, int cy, int nCount, SLayout& out);

// Index of the bar under client x, clamped to the bars that exist (0 when there are none).
PARVANEU_API int BarFromX(int x, const SLayout& layout, int nCount);

// Level to cell index. With a scale the caller hands in the scale's value for the level;
// without one the level in dB maps linearly, -100 dB to cell 0 and 0 dB to nGridCount.
struct SCellMap {
  int nGridCount = 0;
  int nValueRange = 0;
  float fValueScale = 1.0f;  // cells per value unit
  int nMinValue = 0;

  // bScaled: a scale with this value range and bottom value; otherwise the linear mapping.
  static SCellMap Make(int nGridCount, bool bScaled, int nValueRange, int nMinValue);
  PARVANEU_API int FromScaleValue(double value) const;
  PARVANEU_API int FromLinearDB(double dB) const;
  // Cell index to the highest lit cell: -1 for none (a level at cell 0 lights nothing), at most
  // the top cell.
  int LevelFromIndex(int nIndex) const {
    if (nIndex >= nGridCount) return nGridCount - 1 < 0 ? -1 : nGridCount - 1;
    return nIndex <= 0 ? -1 : nIndex;
  }
};

inline SCellMap SCellMap::Make(int nGridCount, bool bScaled, int nValueRange, int nMinValue) {
  SCellMap m;
  m.nGridCount = nGridCount;
  m.nValueRange = bScaled ? nValueRange : nGridCount;
  m.fValueScale = m.nValueRange > 0 ? static_cast<float>(nGridCount) / static_cast<float>(m.nValueRange) : 1.0f;
  m.nMinValue = bScaled ? nMinValue : 0;
  return m;
}

// Packed peak word: bits 0-15 the peak cell, bits 16-23 the hold count; -1 is "no peak".
constexpr int kNoPeak = -1;
constexpr int kMaxHold = 4;
constexpr int PeakIndex(int nWord) { return static_cast<int>(static_cast<unsigned>(nWord) & 0x8000FFFFu); }
constexpr int PeakHold(int nWord) { return nWord < 0 ? 0 : (nWord >> 16) & 0xFF; }
constexpr int MakePeak(int nIndex, int nHold) { return nIndex < 0 ? kNoPeak : (nHold << 16) | (nIndex & 0xFFFF); }

// A new level for a channel: a level at or above the peak becomes the peak, holding for the
// size of the rise (at most kMaxHold).
PARVANEU_API void FeedPeak(int& nWord, int nLevel);

// One tick of the 100 ms peak timer (nTick counts from 1 since the timer started). The hold
// count drops on every third tick; a peak without hold falls by a fifth of the cells above it,
// at least one. Returns true when the word changed.
PARVANEU_API bool FallPeak(int& nWord, int nTick, int nGridCount);

// One tick of the marker countdown. Returns true when the flash ended on this tick, so the
// marker's own colour must be painted again.
PARVANEU_API bool CountDownFlash(int& nRemaining, int nPeriod);

}  // namespace vumeter

namespace vumeter {
// The unlit form of a zone colour: same hue, two thirds of the saturation, value 0.4.
PARVANEU_API COLORREF DimColor(COLORREF cr);
}  // namespace vumeter
