#include "scrollbars/XScrollBarLogic.h"

#include <algorithm>
#include <climits>

namespace xsb {

namespace {

int Saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
// Parts lie within the coordinate limit, so their lengths fit.
int TrackLength(const RECT& rc, Directions2 dir) {
  return winport::SatCoord(dir == dirHorz ? static_cast<long long>(rc.right) - rc.left
                                          : static_cast<long long>(rc.bottom) - rc.top);
}

}  // namespace

int ClampPos(const SModel& m, long long nPos) {
  long long p = std::min<long long>(nPos, static_cast<long long>(m.nScrollSize) - m.nPageSize);
  return Saturate(std::max<long long>(p, 0));
}

void SetScrollSize(SModel& m, int nScrollSize, int nPageSize, int nBarLength) {
  int size = std::max(nScrollSize, 0);
  m.nScrollSize = size;
  m.nPos = std::min(m.nPos, size);
  int page = nPageSize > 0 ? nPageSize : nBarLength;
  m.nPageSize = std::min(page, size);
}

int ScrollPos(SModel& m, int nDelta) {
  int old = m.nPos;
  m.nPos = ClampPos(m, static_cast<long long>(m.nPos) + nDelta);
  return m.nPos - old;
}

SParts ComputeParts(int nWidth, int nHeight, SIZE sizeBtn, Directions2 dir) {
  SParts p;
  p.nWidth = nWidth;
  p.nHeight = nHeight;
  const long long W = nWidth, H = nHeight, cx = sizeBtn.cx, cy = sizeBtn.cy;
  p.rcPrevBtn = winport::SatRect(0, 0, cx, cy);
  p.rcNextBtn = winport::SatRect(W - cx, H - cy, W, H);
  p.rcMove = dir == dirHorz ? winport::SatRect(cx, 0, W - cx, H) : winport::SatRect(0, cy, W, H - cy);
  return p;
}

void ThumbInfo(const SModel& m, const RECT& rcMove, Directions2 dir, int& nThumbLen, float& fUnitsPerPixel) {
  nThumbLen = 0;
  fUnitsPerPixel = 0.0f;
  if (m.nScrollSize == 0) return;
  const int L = TrackLength(rcMove, dir);
  if (L < 4) return;
  long long len = m.nScrollSize <= m.nPageSize ? L : static_cast<long long>(m.nPageSize) * L / m.nScrollSize;
  nThumbLen = static_cast<int>(std::max<long long>(len, 4));
  fUnitsPerPixel = static_cast<float>(m.nScrollSize) / static_cast<float>(L);
}

RECT ThumbRect(const SModel& m, const RECT& rcMove, Directions2 dir) {
  RECT rc = rcMove;
  int len;
  float upp;
  ThumbInfo(m, rcMove, dir, len, upp);
  if (len == 0) return rc;
  int offset = Saturate(static_cast<long long>(static_cast<double>(m.nPos) / static_cast<double>(upp)));
  if (dir == dirHorz) {
    rc.left = winport::SatCoord(static_cast<long long>(rcMove.left) + offset);
    rc.right = winport::SatCoord(static_cast<long long>(rc.left) + len + 1);
  } else {
    rc.top = winport::SatCoord(static_cast<long long>(rcMove.top) + offset);
    rc.bottom = winport::SatCoord(static_cast<long long>(rc.top) + len + 1);
  }
  return rc;
}

XSBHitResult HitTest(const SParts& parts, const SModel& m, Directions2 dir, POINT pt, XSBHitTest* pHit) {
  if (pt.x <= 0 || pt.y <= 0 || pt.x >= parts.nWidth || pt.y >= parts.nHeight) {
    if (pHit) pHit->result = hitNone;
    return hitNone;
  }
  const RECT rcThumb = ThumbRect(m, parts.rcMove, dir);
  XSBHitResult r;
  RECT rc;
  if (PtInRect(&parts.rcPrevBtn, pt)) {
    r = hitPrevBtn;
    rc = parts.rcPrevBtn;
  } else if (PtInRect(&parts.rcNextBtn, pt)) {
    r = hitNextBtn;
    rc = parts.rcNextBtn;
  } else if (PtInRect(&rcThumb, pt)) {
    r = hitMoveBtn;
    rc = rcThumb;
  } else {
    const bool after = dir == dirHorz ? pt.x >= rcThumb.left : pt.y >= rcThumb.top;
    r = after ? hitMoveNext : hitMovePrev;
    rc = parts.rcMove;
  }
  if (pHit) {
    pHit->result = r;
    pHit->rect = rc;
  }
  return r;
}

int DragPos(const SModel& m, const RECT& rcMove, Directions2 dir, int nDownPos, int nDelta) {
  int len;
  float upp;
  ThumbInfo(m, rcMove, dir, len, upp);
  const double moved = static_cast<double>(nDelta) * static_cast<double>(upp);
  return ClampPos(m, static_cast<long long>(nDownPos) + static_cast<long long>(moved));
}

CaptureOp HoverCapture(XSBHitResult oldHit, XSBHitResult newHit, bool bPressed) {
  if (oldHit == newHit) return captureKeep;
  if (newHit != hitNone) return captureSet;
  return bPressed ? captureKeep : captureRelease;
}

int PushDelta(XSBHitResult hit, const SModel& m) {
  switch (hit) {
    case hitPrevBtn: return Saturate(-static_cast<long long>(m.nLineSize));
    case hitNextBtn: return m.nLineSize;
    case hitMovePrev: return Saturate(-static_cast<long long>(m.nPageSize));
    case hitMoveNext: return m.nPageSize;
    default: return 0;
  }
}

BtnStates PartState(XSBHitResult part, XSBHitResult hover, bool bPressed) {
  if (part != hover) return btnNormal;
  return bPressed ? btnPressed : btnHot;
}

std::vector<SMarkLine> ArrowMarkLines(const RECT& rc, Directions4 dir, const RECT& clip) {
  std::vector<SMarkLine> lines;
  const bool across = dir == dirLeft || dir == dirRight;  // vertical lines stacked along x
  // "Along" is the axis the lines are stacked on, "span" the axis each line runs on.
  const long long lo = across ? rc.left : rc.top, hi = across ? rc.right : rc.bottom;
  const long long mid = across ? (static_cast<long long>(rc.top) + rc.bottom) / 2
                               : (static_cast<long long>(rc.left) + rc.right) / 2;
  const long long clipLo = across ? clip.left : clip.top, clipHi = across ? clip.right : clip.bottom;
  const long long spanLo = across ? clip.top : clip.left, spanHi = across ? clip.bottom : clip.right;
  const long long n = (hi - lo) / 4;
  if (n <= 0 || clipLo >= clipHi || spanLo >= spanHi) return lines;
  // Line i sits at tip + i * step; keep the i whose position lies in [clipLo, clipHi).
  const bool fromLow = dir == dirLeft || dir == dirUp;
  const long long tip = fromLow ? lo + n + 1 : hi - n - 2;
  long long first = fromLow ? clipLo - tip : tip - (clipHi - 1);
  long long last = fromLow ? clipHi - 1 - tip : tip - clipLo;
  first = std::max<long long>(first, 0);
  last = std::min(last, n - 1);
  for (long long i = first; i <= last; ++i) {
    const long long at = fromLow ? tip + i : tip - i;
    const long long a = std::max(mid - 1 - i, spanLo), b = std::min(mid + i, spanHi);
    if (a >= b) continue;
    const int p = static_cast<int>(at), ia = static_cast<int>(a), ib = static_cast<int>(b);
    lines.push_back(across ? SMarkLine{POINT{p, ia}, POINT{p, ib}} : SMarkLine{POINT{ia, p}, POINT{ib, p}});
  }
  return lines;
}

RepeatOp RepeatTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TIMER_FIRST) return repeatSwitchAndStep;
  if (nIDEvent == TIMER_REPEAT) return repeatStep;
  return repeatDrop;
}

void DefaultSteps(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine, SIZE& outPage, SIZE& outLine) {
  outPage.cx = sizePage.cx ? sizePage.cx : sizeTotal.cx / 10;
  outPage.cy = sizePage.cy ? sizePage.cy : sizeTotal.cy / 10;
  outLine.cx = sizeLine.cx ? sizeLine.cx : outPage.cx / 10;
  outLine.cy = sizeLine.cy ? sizeLine.cy : outPage.cy / 10;
}

SBarNeed BarNeed(SIZE sizeTotal, SIZE sizeClient, SIZE sizeSb, POINT ptPos, bool bInsideClient) {
  SBarNeed n;
  long long rx = static_cast<long long>(sizeTotal.cx) - sizeClient.cx;
  long long ry = static_cast<long long>(sizeTotal.cy) - sizeClient.cy;
  n.ptMove = ptPos;
  n.bNeedH = rx > 0;
  if (!n.bNeedH)
    n.ptMove.x = 0;
  else if (bInsideClient)
    ry += sizeSb.cy;
  n.bNeedV = ry > 0;
  if (!n.bNeedV)
    n.ptMove.y = 0;
  else if (bInsideClient)
    rx += sizeSb.cx;
  if (n.bNeedV && !n.bNeedH && rx > 0) {
    n.bNeedH = true;
    ry += sizeSb.cy;
  }
  if (rx > 0 && n.ptMove.x >= rx) n.ptMove.x = Saturate(rx);
  if (ry > 0 && n.ptMove.y >= ry) n.ptMove.y = Saturate(ry);
  n.sizeRange = SIZE{Saturate(rx), Saturate(ry)};
  return n;
}

int WheelDelta(int zDelta, int nLine, int nPage) {
  const int n = ::MulDiv(zDelta == INT_MIN ? INT_MAX : -zDelta, 3, 120);
  if (n == -1) return zDelta > 0 ? Saturate(-static_cast<long long>(nPage)) : nPage;
  return Saturate(std::min<long long>(static_cast<long long>(n) * nLine, nPage));
}

int SatDiff(long long a, long long b) { return Saturate(a - b); }

void Shift(POINT* pPt, int dx, int dy) {
  if (!pPt) return;
  pPt->x = Saturate(static_cast<long long>(pPt->x) + dx);
  pPt->y = Saturate(static_cast<long long>(pPt->y) + dy);
}

void Shift(RECT* pRect, int dx, int dy) {
  if (!pRect) return;
  pRect->left = Saturate(static_cast<long long>(pRect->left) + dx);
  pRect->right = Saturate(static_cast<long long>(pRect->right) + dx);
  pRect->top = Saturate(static_cast<long long>(pRect->top) + dy);
  pRect->bottom = Saturate(static_cast<long long>(pRect->bottom) + dy);
}

}  // namespace xsb
