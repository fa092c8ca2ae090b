// The buffer's one use of the drawing layer, kept apart so the rest stays free of it.
#include <algorithm>

#include <winport/afx.h>

#include "companion/Buf32Draw.h"

void CBuf32Draw::DrawOut(CDC* pDC, int x, int y, int w, int h, int sx, int sy) {
  if (!pDC || !pDC->m_hDC || !m_pBuf) return;
  if (sx < 0) x -= sx, w += sx, sx = 0;
  if (sy < 0) y -= sy, h += sy, sy = 0;
  w = std::min(w, m_nWidth - sx);
  h = std::min(h, m_nHeight - sy);
  if (w <= 0 || h <= 0) return;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = m_nWidth;
  bmi.bmiHeader.biHeight = -m_nHeight;  // rows top-down, as the buffer holds them
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  pDC->SetDIBitsToDevice(x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), sx, sy, 0,
                         static_cast<UINT>(m_nHeight), m_pBuf.get(), &bmi, DIB_RGB_COLORS);
}

void CBuf32Draw::DrawOut(HDC hdc, int x, int y, int w, int h, int sx, int sy) {
  if (hdc) DrawOut(CDC::FromHandle(hdc), x, y, w, h, sx, sy);
}
