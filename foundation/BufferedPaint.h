// Flicker-free painting as every control does it: a background image kept at client size, a
// composition buffer that receives a copy of it plus the live parts, and one block copy out.
// Controls hold a CBufferedPaint; the two free functions are its steps.
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

class PARVANEU_API CBufferedPaint {
 public:
  using DrawOver = std::function<void(CDC*)>;

  // The background image, drawn when layout, size or colours change.
  CMemBitDC& Back() { return m_dcBack; }
  // The composition buffer: what the window shows.
  CMemBitDC& Draw() { return m_dcDraw; }
  int GetWidth() const { return m_dcDraw.GetWidth(); }
  int GetHeight() const { return m_dcDraw.GetHeight(); }
  // Both buffers exist at one size.
  bool IsReady() const;

  BOOL Resize(int cx, int cy) { return foundation::SizeBuffers(m_dcBack, m_dcDraw, cx, cy); }
  // The background copied into the composition buffer, then the live parts over it.
  void Compose(const DrawOver& drawOver = {});
  // drawOver adds to the composition buffer as it stands, which is then copied to pDC at (0, 0);
  // nothing before the buffer exists.
  void Present(CDC* pDC, const DrawOver& drawOver = {});
  // WM_PAINT: Compose and Present, or crEmpty over rcClient until the buffers are ready.
  void Paint(CDC* pDC, const RECT& rcClient, COLORREF crEmpty, const DrawOver& drawOver) {
    foundation::PaintBuffered(pDC, rcClient, m_dcBack, m_dcDraw, crEmpty, drawOver);
  }

 private:
  CMemBitDC m_dcBack;
  CMemBitDC m_dcDraw;
};
