#include "winport/frame/CMiniDockFrameWnd.h"

#include "winport/frame/CDockContext.h"
#include "winport/gdi/CDC.h"
#include "winport/window/PaintDC.h"

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_CAPTURECHANGED()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pDockSite, DWORD dwBarStyle) {
  if (!pDockSite || !pDockSite->GetSafeHwnd()) return FALSE;
  LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
  // Owned by the frame's top-level window: it stays above it and goes with it.
  if (!CreateEx(WS_EX_TOOLWINDOW, cls, nullptr, WS_POPUP, 0, 0, 2 * kBorder, 2 * kBorder + kCaption,
                AfxHwndOf(pDockSite->GetTopLevelParent()), nullptr))
    return FALSE;
  return m_wndDockBar.Create(this, dwBarStyle & CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_FLOAT);
}

CControlBar* CMiniDockFrameWnd::GetBar() const {
  return m_wndDockBar.m_arrBars.empty() ? nullptr : m_wndDockBar.m_arrBars.front();
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || !GetSafeHwnd() || !m_wndDockBar.GetSafeHwnd()) return;
  m_bInRecalcLayout = TRUE;
  const CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
  m_wndDockBar.MoveWindow(kBorder, kBorder + kCaption, size.cx, size.cy);
  m_wndDockBar.LayoutBars();
  SetWindowPos(nullptr, 0, 0, size.cx + 2 * kBorder, size.cy + 2 * kBorder + kCaption,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
  m_bInRecalcLayout = FALSE;
}

int CMiniDockFrameWnd::HitTest(CPoint point) const {
  CRect rc;
  GetClientRect(&rc);
  if (!rc.PtInRect(point)) return HTNOWHERE;
  if (point.x >= rc.right - kBorder) return HTRIGHT;
  if (point.y >= rc.bottom - kBorder) return HTBOTTOM;
  if (point.y < kBorder + kCaption) return HTCAPTION;
  return HTCLIENT;
}

void CMiniDockFrameWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  dc.Draw3dRect(&rc, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
  CRect caption(kBorder, kBorder, rc.right - kBorder, kBorder + kCaption);
  dc.FillSolidRect(&caption, ::GetSysColor(COLOR_ACTIVECAPTION));
  CString title;
  GetWindowText(title);
  caption.left += 3;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_CAPTIONTEXT));
  CGdiObject* pOld = dc.SelectStockObject(DEFAULT_GUI_FONT);
  dc.DrawText(title, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (pOld) dc.SelectObject(pOld);
}

BOOL CMiniDockFrameWnd::Track(UINT message, CPoint point, WPARAM wParam) {
  CControlBar* pBar = GetBar();
  if (!pBar || !pBar->m_pDockContext || !pBar->m_pDockContext->IsTracking()) return FALSE;
  ClientToScreen(&point);
  return pBar->m_pDockContext->Track(message, point, wParam);
}

void CMiniDockFrameWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  CControlBar* pBar = GetBar();
  const int hit = HitTest(point);
  if (pBar && pBar->m_pDockContext && hit != HTCLIENT && hit != HTNOWHERE) {
    CPoint pt = point;
    ClientToScreen(&pt);
    if (hit == HTCAPTION)
      pBar->m_pDockContext->StartDrag(this, pt);
    else
      pBar->m_pDockContext->StartResize(this, hit, pt);
    return;
  }
  CFrameWnd::OnLButtonDown(nFlags, point);
}

void CMiniDockFrameWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (!Track(WM_MOUSEMOVE, point)) CFrameWnd::OnMouseMove(nFlags, point);
}

void CMiniDockFrameWnd::OnLButtonUp(UINT nFlags, CPoint point) {
  // Docking the bar may destroy this window: nothing of it is touched afterwards.
  if (!Track(WM_LBUTTONUP, point)) CFrameWnd::OnLButtonUp(nFlags, point);
}

void CMiniDockFrameWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!Track(WM_KEYDOWN, CPoint(0, 0), nChar)) CFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMiniDockFrameWnd::OnCaptureChanged(CWnd* pWnd) {
  CControlBar* pBar = GetBar();
  if (pWnd != this && pBar && pBar->m_pDockContext) pBar->m_pDockContext->Cancel();
  CFrameWnd::OnCaptureChanged(pWnd);
}

void CMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);  // not the docking frame's layout: this one is sized by its bar
}

void CMiniDockFrameWnd::PostNcDestroy() { delete this; }
