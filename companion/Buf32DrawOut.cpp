// The buffer's one use of the drawing layer, kept apart so the rest stays free of it.
#include <algorithm>
#include <cstdint>

#include <winport/afx.h>

#include "companion/Buf32Draw.h"

void CBuf32Draw::DrawOut(CDC* pDC, int x, int y, int w, int h, int sx, int sy) {
  if (!pDC || !pDC->m_hDC || !m_pBuf) return;
  // A source corner left of or above the buffer moves the destination along; in 64 bits, as
  // the caller's numbers may sit at the int limits.
  std::int64_t dx = x, dy = y, dw = w, dh = h, fx = sx, fy = sy;
  if (fx < 0) dx -= fx, dw += fx, fx = 0;
  if (fy < 0) dy -= fy, dh += fy, fy = 0;
  dw = std::min<std::int64_t>(dw, m_nWidth - fx);
  dh = std::min<std::int64_t>(dh, m_nHeight - fy);
  if (dw <= 0 || dh <= 0) return;
  x = winport::SatCoord(dx), y = winport::SatCoord(dy);
  w = static_cast<int>(dw), h = static_cast<int>(dh), sx = static_cast<int>(fx), sy = static_cast<int>(fy);
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
