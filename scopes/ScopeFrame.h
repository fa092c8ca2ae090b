// Internal: the frame a scope graph was handed, checked once where it enters and trusted below.
#pragma once
#include <cstddef>

#include "winport/base/debug.h"
#include "winport/base/types.h"

namespace scopes_detail {

// Frames wider or taller than this are refused: far beyond any video size; it keeps every
// offset inside 32 bits and every per-column count inside 16 bits.
constexpr long kMaxFrameSide = 1 << 15;

// Every sampled row r (0 <= r < rows) holds rowBytes readable bytes at base + r * rowStep.
struct FrameView {
  const BYTE* base = nullptr;
  long width = 0;      // pixels
  long height = 0;     // rows of the frame before skipping
  long pitch = 0;      // bytes from one frame row to the next, at least rowBytes
  long skip = 0;       // rows left out after each sampled row, 0 .. height - 1
  long rows = 0;       // sampled rows, at least 1
  long rowStep = 0;    // (skip + 1) * pitch
  long rowBytes = 0;   // bytes read from each sampled row
  explicit operator bool() const { return base != nullptr; }
  const BYTE* Row(long r) const {
    WINPORT_CHECK(r >= 0 && r < rows, "only the sampled rows CheckFrame vouched for are read");
    return base + static_cast<std::ptrdiff_t>(r) * rowStep;
  }
};

// Bytes a row of the given format reads for a frame nWidth pixels wide (nWidth already checked).
using RowBytesFn = long (*)(long nWidth);
inline long PairRowBytes(long nWidth) { return (nWidth / 2) * 4; }
inline long PixelRowBytes(long nWidth) { return nWidth * 4; }

// The checked entry. Refused (an empty view): null data, sizes outside 1 .. kMaxFrameSide, a
// frame whose extent does not fit in 31 bits. A skip below 0 reads every row; a skip past the
// frame reads the first row only; a pitch below a row's bytes is raised to them. Nothing is
// multiplied before it is known to fit.
inline FrameView CheckFrame(const void* pData, long nWidth, long nHeight, long nPitch, long nSkip,
                            RowBytesFn rowBytes) {
  FrameView v;
  if (!pData || nWidth <= 0 || nHeight <= 0 || nWidth > kMaxFrameSide || nHeight > kMaxFrameSide) return v;
  const long need = rowBytes(nWidth);  // at most a few times kMaxFrameSide
  const long pitch = nPitch < need ? need : nPitch;
  constexpr long kMaxExtent = 0x7FFFFFFF;
  long extent = 0;
  if (pitch > kMaxExtent || __builtin_mul_overflow(pitch, nHeight, &extent) || extent > kMaxExtent) return v;
  const long skip = nSkip < 0 ? 0 : nSkip > nHeight - 1 ? nHeight - 1 : nSkip;
  v.base = static_cast<const BYTE*>(pData);
  v.width = nWidth;
  v.height = nHeight;
  v.pitch = pitch;
  v.skip = skip;
  v.rows = nHeight / (skip + 1) > 0 ? nHeight / (skip + 1) : 1;
  v.rowStep = (skip + 1) * pitch;
  v.rowBytes = need;
  return v;
}

}  // namespace scopes_detail
