#include "companion/Buf32Draw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;
}

BOOL CBuf32Draw::Create(int w, int h) {
  Release();
  if (w <= 0 || h <= 0 || static_cast<std::int64_t>(w) * h > kMaxPixels) return FALSE;
  m_pBuf.reset(new (std::nothrow) DWORD[static_cast<std::size_t>(w) * h]());
  if (!m_pBuf) return FALSE;
  m_nWidth = w;
  m_nHeight = h;
  return TRUE;
}

void CBuf32Draw::Release() {
  m_pBuf.reset();
  m_nWidth = m_nHeight = 0;
}

void CBuf32Draw::FillSolidRect(int x, int y, int w, int h, DWORD px) {
  if (!m_pBuf || w <= 0 || h <= 0) return;
  const std::int64_t x0 = std::max<std::int64_t>(x, 0), y0 = std::max<std::int64_t>(y, 0);
  const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + w, m_nWidth);
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + h, m_nHeight);
  if (x0 >= x1 || y0 >= y1) return;
  for (std::int64_t row = y0; row < y1; ++row) {
    DWORD* p = m_pBuf.get() + row * m_nWidth;
    std::fill(p + x0, p + x1, px);
  }
}

void CBuf32Draw::_VLine(int x, int top, int len, DWORD px) {
  if (!m_pBuf || x < 0 || x >= m_nWidth || len <= 0) return;
  const std::int64_t y0 = std::max<std::int64_t>(top, 0);
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + len, m_nHeight);
  for (std::int64_t row = y0; row < y1; ++row) m_pBuf[row * m_nWidth + x] = px;
}

void _MMX_ZeroMem(void* p, std::size_t bytes) {
  if (p && bytes) std::memset(p, 0, bytes);
}
