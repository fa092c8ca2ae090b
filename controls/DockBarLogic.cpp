#include "controls/DockBarLogic.h"

#include <algorithm>

#include "winport/frame/ControlBarDefs.h"

namespace dockbar {

SDockState StateOf(DWORD s) {
  const bool f = (s & CBRS_FLOATING) != 0;
  return SDockState{f, !f && (s & CBRS_ALIGN_LEFT), !f && (s & CBRS_ALIGN_TOP), !f && (s & CBRS_ALIGN_RIGHT),
                    !f && (s & CBRS_ALIGN_BOTTOM)};
}

SSizes InitialSizes(SIZE size, DWORD dwStyle) {
  SSizes out{size, size, size};
  const SIZE turned{size.cy, size.cx};
  if (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT))
    out.sizeHorz = turned;
  else
    out.sizeVert = turned;
  return out;
}

SIZE DynamicSize(SSizes& sizes, int nLength, DWORD dwMode, const SDockState& state) {
  if (nLength <= 0) {
    if (dwMode & LM_HORZDOCK) return sizes.sizeHorz;
    if (dwMode & LM_VERTDOCK) return sizes.sizeVert;
    return sizes.sizeFloat;
  }
  if (state.bFloating) {
    if (dwMode == LM_HORZ) sizes.sizeFloat.cx = std::max(nLength, 50);
    if (dwMode == (LM_HORZ | LM_LENGTHY)) sizes.sizeFloat.cy = std::max(nLength, 50);
  }
  // A docked bar asked with a length answers its floating size.
  return sizes.sizeFloat;
}

RECT ContentRect(const RECT& rc, const SDockState& state) {
  if (state.Horz()) return RECT{rc.left + 19, rc.top + 5, rc.right - 5, rc.bottom - 5};
  if (state.Vert()) return RECT{rc.left + 5, rc.top + 19, rc.right - 5, rc.bottom - 5};
  return RECT{rc.left + 5, rc.top + 5, rc.right - 5, rc.bottom - 5};
}

void GripperRidges(const RECT& rc, bool bHorz, RECT ridges[2]) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (bHorz) {
    ridges[0] = RECT{rc.left + 7, rc.top + 5, 3, h - 10};
    ridges[1] = RECT{rc.left + 11, rc.top + 5, 3, h - 10};
  } else {
    ridges[0] = RECT{rc.left + 5, rc.top + 7, w - 10, 3};
    ridges[1] = RECT{rc.left + 5, rc.top + 11, w - 10, 3};
  }
}

}  // namespace dockbar
