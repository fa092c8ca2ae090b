// Pure geometry of the splash: default size, placement on the primary screen and the strip the
// progress message is written in.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

namespace splash {

constexpr SIZE kDefaultSize{450, 310};  // without a picture

// From the centred window rectangle: 15 pixels higher, and on a screen at least twice as wide as
// high, centred in the left half.
PARVANEU_API POINT Placement(const RECT& rcCentred, int cxScreen, int cyScreen);

// Left + 5 .. right - 180, the bottom 16 pixels of the splash rectangle.
PARVANEU_API RECT MessageStrip(const RECT& rcSplash);

}  // namespace splash
