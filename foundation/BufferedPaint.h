// Flicker-free painting as every control does it: a background image kept at client size, a
// composition buffer that receives a copy of it plus the live parts, and one block copy out.
#pragma once
#include <functional>

#include <winport/afx.h>

#include "companion/MemBitDC.h"
#include "foundation/Export.h"

namespace foundation {

// Copies back into draw, lets drawOver add the live parts to draw, then copies draw to pDC at
// (0, 0). Before both buffers exist (no client area yet), or while they differ in size, it fills
// rcClient with crEmpty instead, so the window shows its background rather than whatever its
// surface held.
PARVANEU_API void PaintBuffered(CDC* pDC, const RECT& rcClient, CMemBitDC& back, CMemBitDC& draw, COLORREF crEmpty,
                   const std::function<void(CDC*)>& drawOver);

// Both buffers at cx x cy; FALSE when either cannot be made, the first possibly resized already
// (PaintBuffered then shows the empty colour until a later size succeeds).
PARVANEU_API BOOL SizeBuffers(CMemBitDC& back, CMemBitDC& draw, int cx, int cy);

}  // namespace foundation
