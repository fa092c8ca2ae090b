// Where the gallery's windows go on the screen: side by side in rows when they fit, cascaded
// when they do not, and never past its edges.
#pragma once
#include <vector>

#include <winport/base/types.h>

namespace gallery {

// Top-left corners for windows of the given sizes. Left to right from `origin` with `gap`
// between them, a new row below the tallest of the last one when a window would pass the
// right edge. When the rows would pass the bottom, all windows are cascaded from `origin`
// instead, each `cascade` pixels right and down from the one before, so every title band stays
// in sight. Every window lies within the screen (one larger than it at its top-left corner).
std::vector<POINT> TilePositions(const std::vector<SIZE>& sizes, SIZE screen, POINT origin = {24, 24}, int gap = 12,
                                 int cascade = 30);

}  // namespace gallery
