// Pure rules of the dock control bar: its state from the bar style, the size it reports per
// layout mode, its content rectangle and where its frame and gripper go.
#pragma once
#include "foundation/Export.h"
#include "winport/base/geometry.h"

namespace dockbar {

// Docking state as the bar style says it now.
struct SDockState {
  bool bFloating, bLeft, bTop, bRight, bBottom;
  bool Vert() const { return bLeft || bRight; }
  bool Horz() const { return bTop || bBottom; }
};
PARVANEU_API SDockState StateOf(DWORD dwBarStyle);

// Sizes per orientation from the creation size: the orientation the style creates in keeps it,
// the other gets it transposed.
struct SSizes {
  SIZE sizeVert, sizeHorz, sizeFloat;
};
PARVANEU_API SSizes InitialSizes(SIZE size, DWORD dwStyle);

// The size for CalcDynamicLayout; a floating bar's floating size follows its frame's resizing
// (down to 50 pixels in the resized direction).
PARVANEU_API SIZE DynamicSize(SSizes& sizes, int nLength, DWORD dwMode, const SDockState& state);

// The content rectangle inside the decoration.
PARVANEU_API RECT ContentRect(const RECT& rcClient, const SDockState& state);

// The two gripper ridges (x, y, cx, cy each) for a docked bar of the given client rectangle.
PARVANEU_API void GripperRidges(const RECT& rcClient, bool bHorz, RECT ridges[2]);

}  // namespace dockbar
