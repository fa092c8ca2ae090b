// Small drawing helpers shared by the controls.
#pragma once
#include <winport/afx.h>

namespace foundation {

// One-pixel lines and small solid boxes: an opaque text rectangle in colour cr, the cheapest
// solid fill a DC has. Leaves cr as pDC's background colour. Ignores a null DC.
void FillLine(CDC* pDC, int x, int y, int cx, int cy, COLORREF cr);

}  // namespace foundation
