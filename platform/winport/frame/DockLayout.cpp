#include "winport/frame/DockLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace winport::dock {

int SideOfId(UINT nDockBarId) {
  for (int s = 0; s < kSideCount; ++s)
    if (kDockBarId[s] == nDockBarId) return s;
  return kNoSide;
}

int SideOfAlign(DWORD dwStyle) {
  for (int s = 0; s < kSideCount; ++s)
    if (dwStyle & kAlign[s]) return s;
  return kNoSide;
}

int DropSide(POINT pt, const RECT& rc, std::span<const int, kSideCount> thickness, DWORD dwAllowed, int nZone) {
  if (!::PtInRect(&rc, pt)) return kNoSide;
  // Distances in 64 bits: caller coordinates may lie anywhere.
  const std::int64_t dist[kSideCount] = {static_cast<std::int64_t>(pt.y) - rc.top,
                                         static_cast<std::int64_t>(rc.bottom) - 1 - pt.y,
                                         static_cast<std::int64_t>(pt.x) - rc.left,
                                         static_cast<std::int64_t>(rc.right) - 1 - pt.x};
  int best = kNoSide;
  for (int s = 0; s < kSideCount; ++s) {
    if (!(dwAllowed & kAlign[s])) continue;
    const std::int64_t band = static_cast<std::int64_t>(std::max(thickness[static_cast<std::size_t>(s)], 0)) +
                              std::max(nZone, 0);
    if (dist[s] >= band) continue;
    if (best == kNoSide || dist[s] < dist[best]) best = s;
  }
  return best;
}

std::vector<RECT> StackBars(std::span<const SIZE> sizes, bool bHorz) {
  std::vector<RECT> out;
  out.reserve(sizes.size());
  std::int64_t at = 0;
  for (const SIZE& s : sizes) {
    const LONG cx = std::max<LONG>(s.cx, 0), cy = std::max<LONG>(s.cy, 0);
    // Sides saturate: a row of any height after others still ends below where it starts.
    if (bHorz) {
      out.push_back(SatRect(0, at, cx, at + cy));
      at = std::min<std::int64_t>(at + cy, INT_MAX / 2);
    } else {
      out.push_back(SatRect(at, 0, at + cx, cy));
      at = std::min<std::int64_t>(at + cx, INT_MAX / 2);
    }
  }
  return out;
}

int StackThickness(std::span<const SIZE> sizes, bool bHorz) {
  std::int64_t sum = 0;
  for (const SIZE& s : sizes) sum += std::max<LONG>(bHorz ? s.cy : s.cx, 0);
  return static_cast<int>(std::min<std::int64_t>(sum, INT_MAX / 2));
}

int InsertIndex(std::span<const RECT> existing, const RECT& rcDrop, bool bHorz) {
  auto centre = [bHorz](const RECT& r) {
    return bHorz ? (static_cast<std::int64_t>(r.top) + r.bottom) : (static_cast<std::int64_t>(r.left) + r.right);
  };
  int i = 0;
  for (const RECT& r : existing) {
    if (centre(r) > centre(rcDrop)) break;
    ++i;
  }
  return i;
}

}  // namespace winport::dock
