#include "companion/VDraw.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// c over the pixel at (x, y) with coverage a/255.
void Blend(HDC hdc, int x, int y, COLORREF c, int a) {
  if (a <= 0) return;
  if (a >= 255) {
    ::SetPixelV(hdc, x, y, c);
    return;
  }
  const COLORREF bg = ::GetPixel(hdc, x, y);
  if (bg == CLR_INVALID) return;
  const auto mix = [a](int f, int b) { return static_cast<BYTE>(b + ((f - b) * a + (f >= b ? 127 : -127)) / 255); };
  ::SetPixelV(hdc, x, y,
              RGB(mix(GetRValue(c), GetRValue(bg)), mix(GetGValue(c), GetGValue(bg)), mix(GetBValue(c), GetBValue(bg))));
}

}  // namespace

void CVDraw::AntiLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF cr) {
  if (pDC) AntiLine(pDC->m_hDC, x1, y1, x2, y2, cr);
}

void CVDraw::AntiLine(HDC hdc, int x1, int y1, int x2, int y2, COLORREF cr) {
  RECT box{};
  if (!hdc || ::GetClipBox(hdc, &box) == ERROR || box.right <= box.left || box.bottom <= box.top) return;
  const bool steep = std::abs(static_cast<std::int64_t>(y2) - y1) > std::abs(static_cast<std::int64_t>(x2) - x1);
  // Work in (major, minor) coordinates, walking the major axis upward so that both directions
  // of a line give the same pixels.
  std::int64_t a0 = steep ? y1 : x1, b0 = steep ? x1 : y1, a1 = steep ? y2 : x2, b1 = steep ? x2 : y2;
  if (a0 > a1) std::swap(a0, a1), std::swap(b0, b1);
  const std::int64_t da = a1 - a0, db = b1 - b0, adb = std::abs(db);
  const int sign = db < 0 ? -1 : 1;
  const auto plot = [&](std::int64_t a, std::int64_t b, int alpha) {
    if (steep)
      Blend(hdc, winport::SatCoord(b), winport::SatCoord(a), cr, alpha);
    else
      Blend(hdc, winport::SatCoord(a), winport::SatCoord(b), cr, alpha);
  };
  // Only the steps that can touch the clip box are walked.
  const std::int64_t lo = steep ? box.top : box.left, hi = steep ? box.bottom : box.right;
  const std::int64_t first = std::max<std::int64_t>(0, lo - 1 - a0), last = std::min<std::int64_t>(da, hi - a0);
  for (std::int64_t i = first; i <= last; ++i) {
    if (da == 0) {
      plot(a0, b0, 255);
      break;
    }
    // The exact minor offset i*db/da as a whole part and a remainder over da.
    // i and adb reach 2^32 each for end points at the int limits: their product needs 128 bits.
    const __int128 n = static_cast<__int128>(i) * adb;
    const std::int64_t whole = static_cast<std::int64_t>(n / da), rest = static_cast<std::int64_t>(n % da);
    const int alpha = static_cast<int>((rest * 255 + da / 2) / da);
    plot(a0 + i, b0 + sign * whole, 255 - alpha);
    plot(a0 + i, b0 + sign * (whole + 1), alpha);
  }
}

void DrawFrameRect(CDC* pDC, int x, int y, int w, int h, COLORREF cr) {
  if (pDC) DrawFrameRect(pDC->m_hDC, x, y, w, h, cr);
}

void DrawFrameRect(HDC hdc, int x, int y, int w, int h, COLORREF cr) {
  if (!hdc || w <= 0 || h <= 0) return;
  CDC* dc = CDC::FromHandle(hdc);
  const COLORREF oldBk = dc->GetBkColor();
  // The far edges of a frame near the int limits saturate far off the DC.
  dc->FillSolidRect(x, y, w, 1, cr);
  dc->FillSolidRect(x, winport::SatCoord(std::int64_t{y} + h - 1), w, 1, cr);
  dc->FillSolidRect(x, y, 1, h, cr);
  dc->FillSolidRect(winport::SatCoord(std::int64_t{x} + w - 1), y, 1, h, cr);
  dc->SetBkColor(oldBk);
}

LPCWSTR GetNullBackWndClass() {
  // Registered on first use and found again afterwards (the framework caches per argument set);
  // asked each time so that a platform reset between test cases cannot leave a stale name.
  return AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
}
