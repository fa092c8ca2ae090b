#include "winport/frame/CControlBar.h"

#include "winport/frame/CDockBar.h"
#include "winport/frame/CDockContext.h"
#include "winport/frame/CFrameWnd.h"

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (GetSafeHwnd()) DestroyWindow();
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
  if (!m_pDockContext) m_pDockContext = std::make_unique<CDockContext>(this);
}

BOOL CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode) {
  return CalcFixedLayout((dwMode & LM_STRETCH) ? TRUE : FALSE, (dwMode & LM_HORZ) ? TRUE : FALSE);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  // A bar created in a frame belongs to that frame's docking.
  if (auto* pFrame = dynamic_cast<CFrameWnd*>(GetParent())) {
    m_pDockSite = pFrame;
    pFrame->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy() {
  if (m_pDockContext) m_pDockContext->Cancel();
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  m_pDockSite = nullptr;
  CWnd::OnDestroy();
}

BOOL CControlBar::TrackMessage(UINT message, CPoint point) {
  if (!m_pDockContext || !m_pDockContext->IsTracking()) return FALSE;
  ClientToScreen(&point);
  const MSG* pMsg = GetCurrentMessage();
  return m_pDockContext->Track(message, point, pMsg ? pMsg->wParam : 0);
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pDockContext && m_pDockSite && m_pDockBar) {
    CPoint pt = point;
    ClientToScreen(&pt);
    m_pDockContext->StartDrag(this, pt);
    return;
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (!TrackMessage(WM_MOUSEMOVE, point)) CWnd::OnMouseMove(nFlags, point);
}

void CControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!TrackMessage(WM_LBUTTONUP, point)) CWnd::OnLButtonUp(nFlags, point);
}

void CControlBar::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!TrackMessage(WM_KEYDOWN, CPoint(0, 0))) CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CControlBar::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this && m_pDockContext) m_pDockContext->Cancel();
  CWnd::OnCaptureChanged(pWnd);
}
