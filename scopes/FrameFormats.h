// Internal: the frame formats the scope graph accepts, one row each. A frame's row is looked up
// once when it enters; the walk below reads the row's converter and layout and never asks the
// format again. A new format is one row here and one row converter in FrameFormats.cpp.
#pragma once
#include "scopes/ScopeFrame.h"
#include "winport/base/types.h"

namespace scopes_detail {

// The format values hosts pass (CVideoScopeGraph::ColFmt names them).
enum FrameFormatId : int { kFormatARGB = 0, kFormatYVYU = 1, kFormatTVYU = 2, kFormatVYUY = 3, kFormatM101 = 4 };

// The 10-bit format is read as blocks that open with 8-bit samples.
constexpr int kM101Block = 160;    // bytes per block
constexpr int kM101Samples = 128;  // bytes of 8-bit samples at the start of each

// Which side reads what of a frame.
enum class FrameLayout {
  Pairs,         // VYUY pairs: both sides read the frame where it lies
  SwappedPairs,  // YVYU pairs: the luma/chroma side reads them in place, each half swapped
  Pixels,        // SARGB pixels: the RGB side reads them; the luma/chroma side a converted copy
  Converted,     // both sides read the converted copy
};

// One sampled row of nWidth pixels into nWidth / 2 VYUY pairs at dst.
using RowConvertFn = void (*)(const BYTE* src, BYTE* dst, long nWidth);

struct FrameFormat {
  FrameFormatId id;
  RowBytesFn rowBytes;   // bytes one row of the format reads
  RowConvertFn toVYUY;   // null for VYUY itself
  FrameLayout layout;
  const wchar_t* trace;  // the diagnostic line, four %d
  int traceOrder[4];     // bytes of the first unit in the order the line names them
};

// The row of a format value; null for a value that names no format.
const FrameFormat* FindFrameFormat(int id);

// The VYUY row, for a converted frame that goes on as a VYUY frame.
const FrameFormat& VYUYFormat();

}  // namespace scopes_detail
