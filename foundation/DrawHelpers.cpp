#include "foundation/DrawHelpers.h"

#include <algorithm>
#include <climits>

namespace foundation {

void FillLine(CDC* pDC, int x, int y, int cx, int cy, COLORREF cr) {
  if (!pDC) return;
  pDC->SetBkColor(cr);
  // Extents near the int limits saturate instead of wrapping into an inverted rectangle.
  const auto end = [](int a, int n) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(a) + n, INT_MIN, INT_MAX));
  };
  const CRect rc(x, y, end(x, cx), end(y, cy));
  pDC->ExtTextOutW(0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

}  // namespace foundation
