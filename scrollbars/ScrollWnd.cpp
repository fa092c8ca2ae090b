#include "scrollbars/ScrollWnd.h"

#include <algorithm>
#include <climits>
#include <new>

#include "scrollbars/XScrollBarLogic.h"

int CScrollWnd::CX_BORDER = ::GetSystemMetrics(SM_CXBORDER);
int CScrollWnd::CY_BORDER = ::GetSystemMetrics(SM_CYBORDER);
int CScrollWnd::CX_VSCROLL = ::GetSystemMetrics(SM_CXVSCROLL);
int CScrollWnd::CY_HSCROLL = ::GetSystemMetrics(SM_CYHSCROLL);

BEGIN_MESSAGE_MAP(CScrollWnd, CWnd)
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CScrollWnd::CScrollWnd() = default;
CScrollWnd::~CScrollWnd() = default;

CScrollWnd* CScrollWnd::CreateObject() { return new (std::nothrow) CScrollWnd; }

void CScrollWnd::SetScrollSizes(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  m_sizeTotal = sizeTotal;
  xsb::DefaultSteps(sizeTotal, sizePage, sizeLine, m_sizePage, m_sizeLine);
  UpdateBars();
}

void CScrollWnd::GetDeviceScrollPosition(CPoint* pPt) const { GetDeviceScrollPosition(static_cast<POINT*>(pPt)); }
void CScrollWnd::GetDeviceScrollPosition(POINT* pPt) const {
  if (pPt) *pPt = POINT{GetHScrollPos(), GetVScrollPos()};
}
void CScrollWnd::DPtoLP(POINT* pPt) const { xsb::Shift(pPt, GetHScrollPos(), GetVScrollPos()); }
void CScrollWnd::DPtoLP(RECT* pRect) const { xsb::Shift(pRect, GetHScrollPos(), GetVScrollPos()); }
void CScrollWnd::LPtoDP(POINT* pPt) const { xsb::Shift(pPt, -GetHScrollPos(), -GetVScrollPos()); }
void CScrollWnd::LPtoDP(RECT* pRect) const { xsb::Shift(pRect, -GetHScrollPos(), -GetVScrollPos()); }

// No printing DC exists here, so the origin always follows the scroll position.
void CScrollWnd::PrepareDC(CDC* pDC, CPrintInfo*) {
  if (pDC) pDC->SetViewportOrg(-GetHScrollPos(), -GetVScrollPos());
}

void CScrollWnd::OnDraw(CDC*) {}

void CScrollWnd::GetScrollBarSizes(CSize& sizeSb) const {
  sizeSb = CSize(GetScrollBarCtrl(SB_VERT) ? 0 : CX_VSCROLL, GetScrollBarCtrl(SB_HORZ) ? 0 : CY_HSCROLL);
  if (GetStyle() & WS_BORDER) {
    if (sizeSb.cx) sizeSb.cx -= CX_BORDER;
    if (sizeSb.cy) sizeSb.cy -= CY_BORDER;
  }
}

BOOL CScrollWnd::GetTrueClientSize(CSize& size, CSize& sizeSb) const {
  CRect rc;
  GetClientRect(&rc);
  size = CSize(rc.Width(), rc.Height());
  GetScrollBarSizes(sizeSb);
  const DWORD dwStyle = GetStyle();
  if (sizeSb.cx && (dwStyle & WS_VSCROLL)) size.cx += sizeSb.cx;
  if (sizeSb.cy && (dwStyle & WS_HSCROLL)) size.cy += sizeSb.cy;
  return size.cx > sizeSb.cx && size.cy > sizeSb.cy;
}

void CScrollWnd::GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove,
                                   BOOL bInsideClient) const {
  CSize sizeSb;
  GetScrollBarSizes(sizeSb);
  const xsb::SBarNeed n = xsb::BarNeed(m_sizeTotal, sizeClient, sizeSb, POINT{GetHScrollPos(), GetVScrollPos()},
                                       bInsideClient != FALSE);
  needSb = CSize(n.bNeedH ? 1 : 0, n.bNeedV ? 1 : 0);
  sizeRange = n.sizeRange;
  ptMove = CPoint(n.ptMove.x, n.ptMove.y);
}

void CScrollWnd::UpdateBars() {
  if (m_bInsideUpdate) return;
  m_bInsideUpdate = true;
  CSize sizeClient, sizeSb;
  if (!GetTrueClientSize(sizeClient, sizeSb)) {
    CRect rc;
    GetClientRect(&rc);
    if (rc.Width() > 0 && rc.Height() > 0) EnableScrollBarCtrl(SB_BOTH, FALSE);
    m_bInsideUpdate = false;
    return;
  }
  CSize needSb, sizeRange;
  CPoint ptMove;
  GetScrollBarState(sizeClient, needSb, sizeRange, ptMove, TRUE);
  if (needSb.cx) sizeClient.cy -= sizeSb.cy;
  if (needSb.cy) sizeClient.cx -= sizeSb.cx;
  ScrollTo(ptMove.x, ptMove.y);
  const int nBars[2] = {SB_HORZ, SB_VERT};
  for (int i = 0; i < 2; ++i) {
    const BOOL bNeed = i == 0 ? needSb.cx : needSb.cy;
    EnableScrollBarCtrl(nBars[i], bNeed);
    if (!bNeed) continue;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, (i == 0 ? m_sizeTotal.cx : m_sizeTotal.cy) - 1,
                  static_cast<UINT>(std::max(i == 0 ? sizeClient.cx : sizeClient.cy, 0)), 0, 0};
    if (!SetScrollInfo(nBars[i], &si, TRUE)) SetScrollRange(nBars[i], 0, i == 0 ? sizeRange.cx : sizeRange.cy, TRUE);
  }
  m_bInsideUpdate = false;
}

BOOL CScrollWnd::BarUsable(int nBar) const {
  if (CScrollBar* pBar = GetScrollBarCtrl(nBar)) return pBar->IsWindowEnabled();
  return (GetStyle() & (nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

BOOL CScrollWnd::ScrollBy(int dx, int dy) {
  if (!BarUsable(SB_VERT)) dy = 0;
  if (!BarUsable(SB_HORZ)) dx = 0;
  const int x0 = GetScrollPos(SB_HORZ), y0 = GetScrollPos(SB_VERT);
  const int x = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(x0) + dx, 0, std::max(GetScrollLimit(SB_HORZ), 0)));
  const int y = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(y0) + dy, 0, std::max(GetScrollLimit(SB_VERT), 0)));
  if (x == x0 && y == y0) return FALSE;
  if (m_nScrollMode == 1)
    ScrollWindow(x0 - x, y0 - y);
  else if (m_nScrollMode == 2)
    Invalidate(TRUE);
  if (x != x0) SetScrollPos(SB_HORZ, x, TRUE);
  if (y != y0) SetScrollPos(SB_VERT, y, TRUE);
  return TRUE;
}

BOOL CScrollWnd::ScrollTo(int x, int y) {
  return ScrollBy(xsb::SatDiff(x, GetScrollPos(SB_HORZ)), xsb::SatDiff(y, GetScrollPos(SB_VERT)));
}

void CScrollWnd::ScrollToClientCenter(int x, int y) {
  CRect rc;
  GetClientRect(&rc);
  const long long nx = static_cast<long long>(x) - rc.Width() / 2, ny = static_cast<long long>(y) - rc.Height() / 2;
  ScrollTo(static_cast<int>(std::clamp<long long>(nx, 0, INT_MAX)), static_cast<int>(std::clamp<long long>(ny, 0, INT_MAX)));
}

void CScrollWnd::CenterViewPort() { ScrollTo(GetScrollLimit(SB_HORZ) / 2, GetScrollLimit(SB_VERT) / 2); }

namespace {

// The step a bar message asks for.
int Negate(int n) { return n == INT_MIN ? INT_MAX : -n; }

int BarDelta(UINT nSBCode, UINT nPos, int nLine, int nPage, int nPosNow) {
  switch (nSBCode) {
    case SB_LINEUP: return Negate(nLine);
    case SB_LINEDOWN: return nLine;
    case SB_PAGEUP: return Negate(nPage);
    case SB_PAGEDOWN: return nPage;
    case SB_THUMBTRACK: return static_cast<int>(nPos) - nPosNow;
    default: return 0;
  }
}

}  // namespace

void CScrollWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (m_bVerifyScrollBar && pScrollBar != GetScrollBarCtrl(SB_VERT)) return;
  ScrollBy(0, BarDelta(nSBCode, nPos, m_sizeLine.cy, m_sizePage.cy, GetScrollPos(SB_VERT)));
  CWnd::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CScrollWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (m_bVerifyScrollBar && pScrollBar != GetScrollBarCtrl(SB_HORZ)) return;
  ScrollBy(BarDelta(nSBCode, nPos, m_sizeLine.cx, m_sizePage.cx, GetScrollPos(SB_HORZ)), 0);
  CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CScrollWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  UpdateBars();
  Invalidate(TRUE);
}

BOOL CScrollWnd::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  const BOOL bVert = BarUsable(SB_VERT), bHorz = BarUsable(SB_HORZ);
  if (!bVert && !bHorz) return FALSE;
  if (bVert)
    ScrollBy(0, xsb::WheelDelta(zDelta, m_sizeLine.cy, m_sizePage.cy));
  else
    ScrollBy(xsb::WheelDelta(zDelta, m_sizeLine.cx, m_sizePage.cx), 0);
  return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

void CScrollWnd::OnPaint() {
  CPaintDC dc(this);
  PrepareDC(&dc, nullptr);
  OnDraw(&dc);
}
