// The parts of a window's own scroll bar (arrows, track, thumb) and the position arithmetic
// behind them. Plain functions over rectangles and ranges, shared by drawing, hit testing and
// the tracking loop so that the three never disagree.
#pragma once
#include "winport/base/Export.h"
#include "winport/base/geometry.h"

namespace winport {

// What the bar shows: range nMin..nMax, page, position.
struct WINPORT_API BarRange {
  int nMin = 0;
  int nMax = 100;
  unsigned nPage = 0;
  int nPos = 0;
};

enum class BarPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct WINPORT_API BarParts {
  RECT bar{};       // the whole bar
  RECT up{};        // first arrow (left or top)
  RECT down{};      // second arrow (right or bottom)
  RECT track{};     // between the arrows
  RECT thumb{};     // empty when the track has no room for one
  int thumbLen = 0;  // along the bar; 0 without a thumb
};

constexpr int kBarArrowMax = 17;  // arrow length on a bar long enough for two
constexpr int kBarMinThumb = 8;
constexpr unsigned kBarFirstRepeatMs = 200;  // a held arrow or page area repeats after this...
constexpr unsigned kBarRepeatMs = 50;        // ...then at this period

// The highest position: nMax - page + 1 (nMax for a page of 0), never below nMin.
WINPORT_API int BarLimit(const BarRange& r);
WINPORT_API int ClampBarPos(const BarRange& r, long long pos);
// Parts for a bar rectangle; `pos` is where the thumb is drawn (the tracking position while it
// is dragged).
WINPORT_API BarParts LayoutBar(const RECT& bar, bool vertical, const BarRange& r, int pos);
WINPORT_API BarPart HitBar(const BarParts& parts, bool vertical, POINT p);
// The position whose thumb starts at `thumbStart` along the bar (a drag), clamped to the range.
WINPORT_API int BarPosFromThumb(const BarParts& parts, bool vertical, const BarRange& r, long long thumbStart);
// The WM_HSCROLL / WM_VSCROLL code a press on the part sends.
WINPORT_API unsigned BarPartCode(BarPart part);

}  // namespace winport
