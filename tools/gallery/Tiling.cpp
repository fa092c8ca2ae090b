#include "tools/gallery/Tiling.h"

#include <algorithm>

namespace gallery {

std::vector<POINT> TilePositions(const std::vector<SIZE>& sizes, SIZE screen, POINT origin, int gap) {
  std::vector<POINT> at;
  at.reserve(sizes.size());
  POINT next = origin;
  LONG rowHeight = 0;
  for (const SIZE& s : sizes) {
    if (next.x != origin.x && next.x + s.cx > screen.cx) {
      next = POINT{origin.x, next.y + rowHeight + gap};
      rowHeight = 0;
    }
    at.push_back(next);
    next.x += s.cx + gap;
    rowHeight = std::max(rowHeight, s.cy);
  }
  return at;
}

}  // namespace gallery
