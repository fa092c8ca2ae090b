// Where the gallery's windows go on the screen: side by side, wrapping into rows.
#pragma once
#include <vector>

#include <winport/base/types.h>

namespace gallery {

// Top-left corners for windows of the given sizes, left to right from `origin` with `gap`
// between them, starting a new row below the tallest of the last one when a window would pass
// the screen's right edge. A window wider than the screen gets a row of its own.
std::vector<POINT> TilePositions(const std::vector<SIZE>& sizes, SIZE screen, POINT origin, int gap);

}  // namespace gallery
