// Pure logic of the rotary knob: the linear map between the indicator angle (0 .. three quarters
// of a turn) and an integer position range, the angle a horizontal drag reaches, and where the
// indicator's tip lies. Ranges are handled in double precision, so spans wider than INT_MAX
// neither overflow nor lose their ends.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

namespace knob {

// Three quarters of a turn, written with eight decimals.
constexpr double kFullAngle = 4.71238898;
// Angle 0 points down and to the left; the indicator is drawn at angle + this.
constexpr double kAngleOffset = 0.7853981634;
// Radians one pixel of horizontal drag turns the knob (2 degrees).
constexpr double kDragPerPixel = 3.1415926536 * 2 / 180;

// The angle that shows nPos (clamped to the range). A range with nMax <= nMin (empty or
// inverted) has only angle 0.
PARVANEU_API double AngleFromPos(int nPos, int nMin, int nMax);

// The position an angle stands for, to the nearest integer (ties to even), at most nMax; nMin
// for an empty or inverted range.
PARVANEU_API int PosFromAngle(double dAngle, int nMin, int nMax);

// An angle held to 0 .. kFullAngle.
PARVANEU_API double ClampAngle(double dAngle);

// The angle a drag reaches: started at dStartAngle with the pointer at xStart, now at x.
// Moving right turns clockwise. Not clamped.
PARVANEU_API double DragAngle(double dStartAngle, int xStart, int x);

// The indicator tip for centre (cx, cy), angle and length; coordinates saturate at +-2^30.
PARVANEU_API POINT TipPoint(int cx, int cy, double dAngle, int nRadius);

}  // namespace knob
