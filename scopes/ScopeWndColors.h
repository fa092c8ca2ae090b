// Graticule and readout colours the scope windows share (COLORREF, 0x00BBGGRR).
#pragma once
#include "winport/base/types.h"

namespace scopewnd {

constexpr COLORREF kScaleText = 0x0098DC;   // scale labels
constexpr COLORREF kMajorLine = 0x0097DB;   // the lines of the range ends
constexpr COLORREF kMinorLine = 0x004A6D;   // lines between labels, the lightning grid
constexpr COLORREF kLegalLine = 0x1D0FDC;   // legal-range limits
constexpr COLORREF kReadoutColor = 0x00FFFF;  // cursor lines and readouts

}  // namespace scopewnd
