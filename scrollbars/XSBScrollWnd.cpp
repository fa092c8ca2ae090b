#include "scrollbars/XSBScrollWnd.h"

#include <new>

BEGIN_MESSAGE_MAP(CXSBScrollWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CXSBScrollWnd::CXSBScrollWnd() = default;

CXSBScrollWnd::~CXSBScrollWnd() {
  m_wndHBar.DestroyWindow();
  m_wndVBar.DestroyWindow();
  if (m_hWnd) DestroyWindow();
}

CXSBScrollWnd* CXSBScrollWnd::CreateObject() { return new (std::nothrow) CXSBScrollWnd; }

BOOL CXSBScrollWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style &= ~static_cast<LONG>(WS_HSCROLL | WS_VSCROLL);
  return CWnd::PreCreateWindow(cs);
}

void CXSBScrollWnd::SetScrollSizes(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  m_sizeTotal = sizeTotal;
  xsb::DefaultSteps(sizeTotal, sizePage, sizeLine, m_sizePage, m_sizeLine);
  UpdateBars();
}

void CXSBScrollWnd::GetDeviceScrollPosition(CPoint* pPt) const { GetDeviceScrollPosition(static_cast<POINT*>(pPt)); }

void CXSBScrollWnd::GetDeviceScrollPosition(POINT* pPt) const {
  if (pPt) *pPt = POINT{GetHScrollPos(), GetVScrollPos()};
}

void CXSBScrollWnd::DPtoLP(POINT* pPt) const { xsb::Shift(pPt, GetHScrollPos(), GetVScrollPos()); }
void CXSBScrollWnd::DPtoLP(RECT* pRect) const { xsb::Shift(pRect, GetHScrollPos(), GetVScrollPos()); }
void CXSBScrollWnd::LPtoDP(POINT* pPt) const { xsb::Shift(pPt, -GetHScrollPos(), -GetVScrollPos()); }
void CXSBScrollWnd::LPtoDP(RECT* pRect) const { xsb::Shift(pRect, -GetHScrollPos(), -GetVScrollPos()); }

void CXSBScrollWnd::SetScrollBarSkin(CXScrollBarSkin* pSkin) {
  m_wndVBar.SetBarSkin(pSkin);
  m_wndHBar.SetBarSkin(pSkin);
}

void CXSBScrollWnd::SetScrollBtnSize(const SIZE& size) {
  m_wndVBar.SetScrollBtnSize(size, IsVBarEnabled());
  m_wndHBar.SetScrollBtnSize(size, IsHBarEnabled());
}

void CXSBScrollWnd::SetWindowSize(int cx, int cy) {
  const bool bHasH = cx < m_sizeTotal.cx, bHasV = cy < m_sizeTotal.cy;
  const int nWidth = xsb::SatDiff(cx, bHasV ? m_wndVBar.GetScrollBtnSize().cx : 0);
  const int nHeight = xsb::SatDiff(cy, bHasH ? m_wndHBar.GetScrollBtnSize().cy : 0);
  SetWindowPos(nullptr, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXSBScrollWnd::GetScrollBarSizes(CSize& sizeSb) const {
  sizeSb.cx = IsVBarEnabled() ? m_wndVBar.GetScrollBtnSize().cx : 0;
  sizeSb.cy = IsHBarEnabled() ? m_wndHBar.GetScrollBtnSize().cy : 0;
  if (GetStyle() & WS_BORDER) {
    if (sizeSb.cx) sizeSb.cx -= ::GetSystemMetrics(SM_CXBORDER);
    if (sizeSb.cy) sizeSb.cy -= ::GetSystemMetrics(SM_CYBORDER);
  }
}

BOOL CXSBScrollWnd::GetTrueClientSize(CSize& size, CSize& sizeSb) const {
  CRect rc;
  GetClientRect(&rc);
  size = CSize(rc.Width(), rc.Height());
  GetScrollBarSizes(sizeSb);
  return size.cx > 0 && size.cy > 0;
}

void CXSBScrollWnd::GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove,
                                      BOOL bInsideClient) const {
  CSize sizeSb;
  GetScrollBarSizes(sizeSb);
  const xsb::SBarNeed n = xsb::BarNeed(m_sizeTotal, sizeClient, sizeSb, POINT{GetHScrollPos(), GetVScrollPos()},
                                       bInsideClient != FALSE);
  needSb = CSize(n.bNeedH ? 1 : 0, n.bNeedV ? 1 : 0);
  sizeRange = n.sizeRange;
  ptMove = CPoint(n.ptMove.x, n.ptMove.y);
}

// Need and pages come from the client area alone: the bars sit outside the window, so counting
// them against the content would flip them on and off around sizes within a bar of the client.
void CXSBScrollWnd::UpdateBars() {
  m_bInsideUpdate = true;
  CSize sizeClient, sizeSb;
  if (GetTrueClientSize(sizeClient, sizeSb)) {
    CSize needSb, sizeRange;
    CPoint ptMove;
    GetScrollBarState(sizeClient, needSb, sizeRange, ptMove, FALSE);
    ScrollTo(ptMove.x, ptMove.y, TRUE);
    EnableScrollBarCtrl(SB_HORZ, needSb.cx != 0);
    if (needSb.cx) m_wndHBar.SetScrollSize(m_sizeTotal.cx, sizeClient.cx);
    EnableScrollBarCtrl(SB_VERT, needSb.cy != 0);
    if (needSb.cy) m_wndVBar.SetScrollSize(m_sizeTotal.cy, sizeClient.cy);
  }
  m_bInsideUpdate = false;
}

void CXSBScrollWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
  CWnd* pParent = GetParent();
  if (!pParent) return;
  bool bWantH = IsHBarEnabled() != FALSE, bWantV = IsVBarEnabled() != FALSE;
  if (nBar == SB_HORZ || nBar == SB_BOTH) bWantH = bEnable != FALSE;
  if (nBar == SB_VERT || nBar == SB_BOTH) bWantV = bEnable != FALSE;
  CRect rcClient;
  GetClientRect(&rcClient);
  if (bWantH != (IsHBarEnabled() != FALSE)) {
    if (!bWantH) {
      m_wndHBar.DestroyWindow();
    } else {
      CRect rc = rcClient;
      rc.top = rc.bottom - m_wndHBar.GetScrollBtnSize().cy;
      if (m_wndHBar.Create(TRUE, dirHorz, rc, pParent, IDC_HBAR)) m_wndHBar.SetOwner(this);
    }
  }
  if (bWantV != (IsVBarEnabled() != FALSE)) {
    if (!bWantV) {
      m_wndVBar.DestroyWindow();
    } else {
      CRect rc = rcClient;
      rc.left = rc.right - m_wndVBar.GetScrollBtnSize().cx;
      if (m_wndVBar.Create(TRUE, dirVert, rc, pParent, IDC_VBAR)) m_wndVBar.SetOwner(this);
    }
  }
  CRect w;
  GetWindowRect(&w);
  pParent->ScreenToClient(&w);
  if (bWantH && IsHBarEnabled())
    m_wndHBar.SetWindowPos(&wndTop, w.left, w.bottom, w.Width(), m_wndHBar.GetScrollBtnSize().cy, 0);
  if (bWantV && IsVBarEnabled())
    m_wndVBar.SetWindowPos(&wndTop, w.right, w.top, m_wndVBar.GetScrollBtnSize().cx, w.Height(), 0);
}

BOOL CXSBScrollWnd::ScrollTo(int x, int y, BOOL bUpdate) {
  return ScrollBy(xsb::SatDiff(x, GetHScrollPos()), xsb::SatDiff(y, GetVScrollPos()), bUpdate);
}

BOOL CXSBScrollWnd::ScrollBy(int dx, int dy, BOOL bUpdate) {
  if (dx == 0 && dy == 0) return FALSE;
  CRect rcClient;
  GetClientRect(&rcClient);
  if (!bUpdate) {
    // A bar's notification: the bar has moved already.
    ScrollWindow(-dx, -dy, &rcClient, &rcClient);
    UpdateWindow();
    return TRUE;
  }
  // The picture follows the bars, so it moves only as far as they could.
  const int nMovedX = IsHBarEnabled() ? m_wndHBar.ScrollPos(dx) : 0;
  const int nMovedY = IsVBarEnabled() ? m_wndVBar.ScrollPos(dy) : 0;
  if (nMovedX == 0 && nMovedY == 0) return FALSE;
  ScrollWindow(-nMovedX, -nMovedY, &rcClient, &rcClient);
  if (IsHBarEnabled()) m_wndHBar.Invalidate(TRUE);
  if (IsVBarEnabled()) m_wndVBar.Invalidate(TRUE);
  return TRUE;
}

// Only the window's own bars are read as XSBNotify: any other WM_NOTIFY with the same id keeps
// its own record, which may be shorter.
BOOL CXSBScrollWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
  if (pHdr && pHdr->hwndFrom) {
    const auto* pNote = reinterpret_cast<const XSBNotify*>(lParam);
    if (wParam == IDC_VBAR && pHdr->hwndFrom == m_wndVBar.m_hWnd && pNote->nNewPos != pNote->nOldPos)
      ScrollBy(0, pNote->nNewPos - pNote->nOldPos, FALSE);
    else if (wParam == IDC_HBAR && pHdr->hwndFrom == m_wndHBar.m_hWnd)
      ScrollBy(pNote->nNewPos - pNote->nOldPos, 0, FALSE);
  }
  return CWnd::OnNotify(wParam, lParam, pResult);
}

void CXSBScrollWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  UpdateBars();
  Invalidate(TRUE);
}

void CXSBScrollWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CRgn rgn;
  rgn.CreateRectRgnIndirect(&rcClient);
  dc.SelectClipRgn(&rgn, RGN_AND);
  rgn.DeleteObject();
  PrepareDC(&dc, nullptr);
  OnDraw(&dc);
}

void CXSBScrollWnd::OnDestroy() {
  CWnd::OnDestroy();
  m_wndVBar.DestroyWindow();
  m_wndHBar.DestroyWindow();
}

void CXSBScrollWnd::OnDraw(CDC*) {}

// No printing DC exists here, so the origin always follows the scroll position.
void CXSBScrollWnd::PrepareDC(CDC* pDC, CPrintInfo*) {
  if (pDC) pDC->SetViewportOrg(-GetHScrollPos(), -GetVScrollPos());
}
