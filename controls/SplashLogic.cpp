#include "controls/SplashLogic.h"

namespace splash {

POINT Placement(const RECT& rcCentred, int cxScreen, int cyScreen) {
  POINT pt{rcCentred.left, rcCentred.top - 15};
  // 64-bit: a caller's screen size cannot overflow the comparison or the sum.
  if (static_cast<long long>(cxScreen) >= 2LL * cyScreen)
    pt.x = static_cast<LONG>((static_cast<long long>(cxScreen) / 2 + rcCentred.left - rcCentred.right) / 2);
  return pt;
}

RECT MessageStrip(const RECT& rcSplash) {
  return RECT{rcSplash.left + 5, rcSplash.bottom - 16, rcSplash.right - 180, rcSplash.bottom};
}

}  // namespace splash
