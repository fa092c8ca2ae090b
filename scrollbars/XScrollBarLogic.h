// The skinned scroll bar's rules without a window: part geometry, the thumb, hit testing, the
// position model, the hover/capture decisions and the push auto-repeat schedule.
#pragma once
#include <vector>

#include "foundation/Export.h"
#include "scrollbars/XScrollBarTypes.h"

namespace xsb {

// Position model: extent, page and line in units, position clamped to 0 ... size - page.
struct SModel {
  int nScrollSize = 0;
  int nPos = 0;
  int nPageSize = 10;
  int nLineSize = 5;
};

// Upper bound first (size - page), then 0 if negative.
PARVANEU_API int ClampPos(const SModel& m, long long nPos);
// A negative size counts as 0; the position is bounded by the size only (not size - page); a page
// of 0 or less takes nBarLength; the page never exceeds the size.
PARVANEU_API void SetScrollSize(SModel& m, int nScrollSize, int nPageSize, int nBarLength);
// Moves by nDelta with the clamping rule; returns the change actually made.
PARVANEU_API int ScrollPos(SModel& m, int nDelta);

struct SParts {
  int nWidth = 0, nHeight = 0;
  RECT rcPrevBtn{}, rcNextBtn{}, rcMove{};
};
// Both buttons take both button dimensions; the track lies between them along the bar. Corners
// saturate at the drawing coordinate limit, so any button size gives parts whose sides and
// lengths the skins can add to and subtract from.
PARVANEU_API SParts ComputeParts(int nWidth, int nHeight, SIZE sizeBtn, Directions2 dir);

// Thumb length (0 when the track is under 4 pixels or the size is 0) and units per pixel. The
// length is formed in 64 bits: a large page times the track length does not wrap.
PARVANEU_API void ThumbInfo(const SModel& m, const RECT& rcMove, Directions2 dir, int& nThumbLen,
                            float& fUnitsPerPixel);
// The thumb: one pixel longer than its length; the whole track when the length is 0.
PARVANEU_API RECT ThumbRect(const SModel& m, const RECT& rcMove, Directions2 dir);
// Column 0 and row 0 count as outside. The page areas report the whole track.
PARVANEU_API XSBHitResult HitTest(const SParts& parts, const SModel& m, Directions2 dir, POINT pt,
                                  XSBHitTest* pHit);
// Position for a drag of nDelta pixels from the press, measured from the press-time position.
PARVANEU_API int DragPos(const SModel& m, const RECT& rcMove, Directions2 dir, int nDownPos, int nDelta);

// What a change of the hovered part does to the mouse capture.
enum CaptureOp { captureKeep, captureSet, captureRelease };
PARVANEU_API CaptureOp HoverCapture(XSBHitResult oldHit, XSBHitResult newHit, bool bPressed);
// The push step of a press on a part (0 for the thumb and for no part).
PARVANEU_API int PushDelta(XSBHitResult hit, const SModel& m);
// How a part is drawn.
PARVANEU_API BtnStates PartState(XSBHitResult part, XSBHitResult hover, bool bPressed);

// The skins' arrow mark in button rc: n = a quarter of the button's width (left/right marks) or
// height (up/down) one-pixel lines, 1, 3, 5 ... pixels long, from the tip outwards. Only the
// lines that cross clip are given, each cut to it: a huge button costs what it shows.
struct SMarkLine {
  POINT from, to;  // `to` is left out, as LineTo leaves it
};
PARVANEU_API std::vector<SMarkLine> ArrowMarkLines(const RECT& rc, Directions4 dir, const RECT& clip);

// Auto-repeat of a held arrow or track: one step at once, the next after 500 ms, then every
// 50 ms; a step is skipped while the pointer is off the part that was pushed.
constexpr UINT_PTR TIMER_FIRST = 10119;
constexpr UINT_PTR TIMER_REPEAT = 10120;
constexpr UINT FIRST_DELAY_MS = 500;
constexpr UINT REPEAT_MS = 50;
enum RepeatOp { repeatDrop, repeatSwitchAndStep, repeatStep };
PARVANEU_API RepeatOp RepeatTimer(UINT_PTR nIDEvent);
inline bool RepeatSteps(XSBHitResult hoverNow, XSBHitResult startPart) { return hoverNow == startPart; }

// The scroll windows' rules.
// Page per axis: the given value, else total / 10; line: the given value, else page / 10.
PARVANEU_API void DefaultSteps(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine, SIZE& outPage,
                               SIZE& outLine);
// Which bars a content of sizeTotal needs in sizeClient, the range and the position clamped to
// it. bInsideClient counts each needed bar's thickness (sizeSb) against the other axis.
struct SBarNeed {
  bool bNeedH = false, bNeedV = false;
  SIZE sizeRange{};
  POINT ptMove{};
};
PARVANEU_API SBarNeed BarNeed(SIZE sizeTotal, SIZE sizeClient, SIZE sizeSb, POINT ptPos, bool bInsideClient);
// Lines scrolled by a wheel turn: 3 lines per notch of 120 (rounded as MulDiv does); a result
// of -1 line means a page against the turn; downward scrolling is capped at one page.
PARVANEU_API int WheelDelta(int zDelta, int nLine, int nPage);
// a - b saturated to int: a scroll target far below the position still means "towards 0",
// never a wrap round to the far end.
PARVANEU_API int SatDiff(long long a, long long b);
// Moves a point or rectangle by (dx, dy), saturating.
PARVANEU_API void Shift(POINT* pPt, int dx, int dy);
PARVANEU_API void Shift(RECT* pRect, int dx, int dy);

}  // namespace xsb
