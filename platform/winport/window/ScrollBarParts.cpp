// Geometry and position arithmetic of the window scroll bars.
#include "winport/window/ScrollBarParts.h"

#include <algorithm>

#include "winport/window/WinDefs.h"

namespace winport {

namespace {

long long Along(const RECT& r, bool vertical) { return vertical ? r.top : r.left; }
long long Length(const RECT& r, bool vertical) {
  return vertical ? static_cast<long long>(r.bottom) - r.top : static_cast<long long>(r.right) - r.left;
}
long long RangeSpan(const BarRange& r) { return static_cast<long long>(r.nMax) - r.nMin + 1; }
// a * b / c for non-negative a, b and positive c whose product may pass 2^63.
long long MulDiv64(long long a, long long b, long long c) {
  return static_cast<long long>(static_cast<unsigned __int128>(a) * static_cast<unsigned __int128>(b) /
                                static_cast<unsigned __int128>(c));
}

}  // namespace

int BarLimit(const BarRange& r) {
  long long limit = static_cast<long long>(r.nMax) - std::max<long long>(static_cast<long long>(r.nPage) - 1, 0);
  return static_cast<int>(std::max<long long>(limit, r.nMin));
}

int ClampBarPos(const BarRange& r, long long pos) {
  return static_cast<int>(std::clamp<long long>(pos, r.nMin, BarLimit(r)));
}

BarParts LayoutBar(const RECT& bar, bool vertical, const BarRange& r, int pos) {
  BarParts p;
  p.bar = bar;
  long long len = std::max<long long>(Length(bar, vertical), 0);
  int arrow = static_cast<int>(std::min<long long>(kBarArrowMax, len / 2));
  p.up = p.down = p.track = bar;
  if (vertical) {
    p.up.bottom = bar.top + arrow;
    p.down.top = bar.bottom - arrow;
    p.track.top = p.up.bottom;
    p.track.bottom = p.down.top;
  } else {
    p.up.right = bar.left + arrow;
    p.down.left = bar.right - arrow;
    p.track.left = p.up.right;
    p.track.right = p.down.left;
  }
  long long track = Length(p.track, vertical);
  long long range = RangeSpan(r);
  if (track <= 0 || range <= 0) return p;
  long long thumb = r.nPage ? std::max<long long>(kBarMinThumb, track * r.nPage / range) : kBarArrowMax;
  if (thumb > track) return p;  // no room: the track alone, as on the desktop
  long long span = static_cast<long long>(BarLimit(r)) - r.nMin;
  long long off = span > 0 ? MulDiv64(static_cast<long long>(ClampBarPos(r, pos)) - r.nMin, track - thumb, span) : 0;
  off = std::clamp<long long>(off, 0, track - thumb);
  p.thumb = p.track;
  p.thumbLen = static_cast<int>(thumb);
  if (vertical) {
    p.thumb.top = static_cast<int>(p.track.top + off);
    p.thumb.bottom = static_cast<int>(p.thumb.top + thumb);
  } else {
    p.thumb.left = static_cast<int>(p.track.left + off);
    p.thumb.right = static_cast<int>(p.thumb.left + thumb);
  }
  return p;
}

BarPart HitBar(const BarParts& parts, bool vertical, POINT p) {
  if (!PtInRect(&parts.bar, p)) return BarPart::None;
  if (PtInRect(&parts.up, p)) return BarPart::LineUp;
  if (PtInRect(&parts.down, p)) return BarPart::LineDown;
  if (parts.thumbLen == 0) return BarPart::None;  // a track without a thumb does nothing
  if (PtInRect(&parts.thumb, p)) return BarPart::Thumb;
  return (vertical ? p.y : p.x) < Along(parts.thumb, vertical) ? BarPart::PageUp : BarPart::PageDown;
}

int BarPosFromThumb(const BarParts& parts, bool vertical, const BarRange& r, long long thumbStart) {
  long long room = Length(parts.track, vertical) - parts.thumbLen;
  if (parts.thumbLen == 0 || room <= 0) return ClampBarPos(r, r.nPos);
  long long off = std::clamp<long long>(thumbStart - Along(parts.track, vertical), 0, room);
  long long span = static_cast<long long>(BarLimit(r)) - r.nMin;
  // Nearest position, so that a thumb put back where it was gives the same position.
  auto num = static_cast<__int128>(off) * span * 2 + room;
  return ClampBarPos(r, r.nMin + static_cast<long long>(num / (static_cast<__int128>(room) * 2)));
}

unsigned BarPartCode(BarPart part) {
  switch (part) {
    case BarPart::LineUp: return SB_LINEUP;
    case BarPart::LineDown: return SB_LINEDOWN;
    case BarPart::PageUp: return SB_PAGEUP;
    case BarPart::PageDown: return SB_PAGEDOWN;
    case BarPart::Thumb: return SB_THUMBTRACK;
    default: return SB_ENDSCROLL;
  }
}

}  // namespace winport
