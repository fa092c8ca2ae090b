#include "foundation/BufferedPaint.h"

namespace foundation {

void PaintBuffered(CDC* pDC, const RECT& rcClient, CMemBitDC& back, CMemBitDC& draw, COLORREF crEmpty,
                   const std::function<void(CDC*)>& drawOver) {
  if (!pDC) return;
  // A resize that made only one buffer leaves the two at different sizes: composing them would
  // show the larger one's stale or blank part, so the empty colour shows until a size succeeds.
  if (!back.GetSafeHdc() || !draw.GetSafeHdc() || back.GetWidth() != draw.GetWidth() ||
      back.GetHeight() != draw.GetHeight()) {
    pDC->FillSolidRect(&rcClient, crEmpty);
    return;
  }
  draw.BitBlt(0, 0, back.GetWidth(), back.GetHeight(), &back, 0, 0, SRCCOPY);
  if (drawOver) drawOver(&draw);
  pDC->BitBlt(0, 0, draw.GetWidth(), draw.GetHeight(), &draw, 0, 0, SRCCOPY);
}

BOOL SizeBuffers(CMemBitDC& back, CMemBitDC& draw, int cx, int cy) {
  return back.SetSize(cx, cy, nullptr) && draw.SetSize(cx, cy, nullptr);
}

}  // namespace foundation

bool CBufferedPaint::IsReady() const {
  return m_dcBack.GetSafeHdc() && m_dcDraw.GetSafeHdc() && m_dcBack.GetWidth() == m_dcDraw.GetWidth() &&
         m_dcBack.GetHeight() == m_dcDraw.GetHeight();
}

void CBufferedPaint::Compose(const DrawOver& drawOver) {
  if (!IsReady()) return;
  m_dcDraw.BitBlt(0, 0, m_dcBack.GetWidth(), m_dcBack.GetHeight(), &m_dcBack, 0, 0, SRCCOPY);
  if (drawOver) drawOver(&m_dcDraw);
}

void CBufferedPaint::Present(CDC* pDC, const DrawOver& drawOver) {
  if (!pDC || !m_dcDraw.GetSafeHdc()) return;
  if (drawOver) drawOver(&m_dcDraw);
  pDC->BitBlt(0, 0, m_dcDraw.GetWidth(), m_dcDraw.GetHeight(), &m_dcDraw, 0, 0, SRCCOPY);
}
