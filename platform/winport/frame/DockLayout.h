// Pure rules of the docking framework: the four sides, their dock-bar ids and alignment bits,
// where a dragged bar lands, and how bars stack inside a dock bar.
#pragma once
#include <span>
#include <vector>

#include "winport/base/geometry.h"
#include "winport/frame/ControlBarDefs.h"

namespace winport::dock {

// In layout order: top and bottom span the frame's width, left and right fill between them.
enum Side { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3, kSideCount = 4, kNoSide = -1 };

constexpr DWORD kAlign[kSideCount] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
constexpr UINT kDockBarId[kSideCount] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                         AFX_IDW_DOCKBAR_RIGHT};
constexpr bool IsHorz(int side) { return side == kTop || side == kBottom; }

// kNoSide for an id that is not a side's dock bar.
int SideOfId(UINT nDockBarId);
// The side whose alignment bit is set in dwStyle, in layout order; kNoSide for none.
int SideOfAlign(DWORD dwStyle);

// A pointer at pt (frame client coordinates) drops a bar on the side whose band it is in: the
// band reaches from the client edge past the side's current thickness by nZone pixels. Of several
// bands the one whose edge is nearest wins. Only sides allowed by dwAllowed (CBRS_ALIGN_*) count;
// kNoSide when none does (the bar floats).
int DropSide(POINT pt, const RECT& rcClient, std::span<const int, kSideCount> thickness, DWORD dwAllowed, int nZone);

// Bars stacked across a dock bar, one per row (horizontal sides) or column (vertical sides),
// each at its own size from the dock bar's start.
std::vector<RECT> StackBars(std::span<const SIZE> sizes, bool bHorz);
// The dock bar's extent across its side: the sum of the rows (or columns).
int StackThickness(std::span<const SIZE> sizes, bool bHorz);

// Where a bar dropped at rcDrop goes among existing bars (their rectangles, same coordinates):
// before the first whose centre lies beyond the drop's centre across the side.
int InsertIndex(std::span<const RECT> existing, const RECT& rcDrop, bool bHorz);

}  // namespace winport::dock
