#include "tools/gallery/Tiling.h"

#include <algorithm>

namespace gallery {

namespace {

// The corner moved back onto the screen as far as the window's size lets it.
POINT Inside(POINT p, SIZE s, SIZE screen) {
  return POINT{std::max<LONG>(0, std::min<LONG>(p.x, screen.cx - s.cx)),
               std::max<LONG>(0, std::min<LONG>(p.y, screen.cy - s.cy))};
}

// Rows left to right; empty when the rows would pass the bottom of the screen.
std::vector<POINT> Rows(const std::vector<SIZE>& sizes, SIZE screen, POINT origin, int gap) {
  std::vector<POINT> at;
  POINT next = origin;
  LONG rowHeight = 0;
  for (const SIZE& s : sizes) {
    if (next.x != origin.x && next.x + s.cx > screen.cx) {
      next = POINT{origin.x, next.y + rowHeight + gap};
      rowHeight = 0;
    }
    if (next.y != origin.y && next.y + s.cy > screen.cy) return {};
    at.push_back(Inside(next, s, screen));
    next.x += s.cx + gap;
    rowHeight = std::max(rowHeight, s.cy);
  }
  return at;
}

}  // namespace

std::vector<POINT> TilePositions(const std::vector<SIZE>& sizes, SIZE screen, POINT origin, int gap, int cascade) {
  std::vector<POINT> at = Rows(sizes, screen, origin, gap);
  if (at.size() == sizes.size()) return at;
  at.clear();
  for (size_t i = 0; i < sizes.size(); ++i) {
    const LONG step = static_cast<LONG>(i) * cascade;
    at.push_back(Inside(POINT{origin.x + step, origin.y + step}, sizes[i], screen));
  }
  return at;
}

}  // namespace gallery
