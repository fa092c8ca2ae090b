#include "winport/frame/CDockContext.h"

#include <array>
#include <cstdlib>

#include "winport/frame/CFrameWnd.h"
#include "winport/frame/CMiniDockFrameWnd.h"
#include "winport/frame/DockLayout.h"

void CDockContext::StartDrag(CWnd* pTracker, CPoint ptScreen) {
  if (!pTracker || !pTracker->GetSafeHwnd() || !m_pBar->m_pDockSite) return;
  CRect rc;
  pTracker->GetWindowRect(&rc);
  m_pTracker = pTracker;
  m_nMode = kDrag;
  m_bMoved = FALSE;
  m_ptStart = ptScreen;
  m_ptGrab = CPoint(ptScreen.x - rc.left, ptScreen.y - rc.top);
  pTracker->SetCapture();
}

void CDockContext::StartResize(CWnd* pTracker, int nHitTest, CPoint ptScreen) {
  if (!pTracker || !pTracker->GetSafeHwnd() || (nHitTest != HTRIGHT && nHitTest != HTBOTTOM)) return;
  m_pTracker = pTracker;
  m_nMode = kResize;
  m_nHitTest = nHitTest;
  m_ptStart = ptScreen;
  m_nLength = 0;
  pTracker->SetCapture();
}

void CDockContext::Stop() {
  m_nMode = kIdle;
  CWnd* pTracker = m_pTracker;
  m_pTracker = nullptr;
  if (pTracker && CWnd::GetCapture() == pTracker) ::ReleaseCapture();
}

void CDockContext::Cancel() {
  if (m_nMode == kIdle) return;
  m_nMode = kIdle;  // before releasing: the capture change comes back here
  Stop();
}

BOOL CDockContext::Track(UINT message, CPoint ptScreen, WPARAM wParam) {
  if (m_nMode == kIdle) return FALSE;
  switch (message) {
    case WM_MOUSEMOVE:
      if (m_nMode == kDrag) {
        if (std::abs(ptScreen.x - m_ptStart.x) >= ::GetSystemMetrics(SM_CXDRAG) ||
            std::abs(ptScreen.y - m_ptStart.y) >= ::GetSystemMetrics(SM_CYDRAG))
          m_bMoved = TRUE;
      } else {
        Stretch(ptScreen, 0);
      }
      return TRUE;
    case WM_LBUTTONUP:
      if (m_nMode == kDrag) {
        const BOOL bMoved = m_bMoved || std::abs(ptScreen.x - m_ptStart.x) >= ::GetSystemMetrics(SM_CXDRAG) ||
                            std::abs(ptScreen.y - m_ptStart.y) >= ::GetSystemMetrics(SM_CYDRAG);
        Stop();
        // Ctrl held keeps the bar from docking.
        if (bMoved) EndDrag(ptScreen, (::GetKeyState(VK_CONTROL) & 0x8000) != 0);
      } else {
        Stretch(ptScreen, LM_COMMIT);
        Stop();
      }
      return TRUE;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) Cancel();
      return TRUE;
    default:
      return FALSE;
  }
}

void CDockContext::Stretch(CPoint ptScreen, DWORD dwExtra) {
  auto* pMini = dynamic_cast<CMiniDockFrameWnd*>(m_pTracker);
  if (!pMini) return;
  CRect rc;
  pMini->GetWindowRect(&rc);
  const int frame = 2 * CMiniDockFrameWnd::kBorder;
  DWORD dwMode = LM_HORZ;
  if (m_nHitTest == HTRIGHT) {
    m_nLength = ptScreen.x - rc.left - frame;
  } else {
    m_nLength = ptScreen.y - rc.top - frame - CMiniDockFrameWnd::kCaption;
    dwMode |= LM_LENGTHY;
  }
  if (m_nLength <= 0) m_nLength = 1;
  m_pBar->CalcDynamicLayout(m_nLength, dwMode | dwExtra);
  pMini->RecalcLayout();
}

void CDockContext::EndDrag(CPoint ptScreen, BOOL bForceFloat) {
  CFrameWnd* pFrame = m_pBar->m_pDockSite;
  if (!pFrame || !pFrame->GetSafeHwnd()) return;
  CPoint pt = ptScreen;
  pFrame->ScreenToClient(&pt);
  CRect rcClient;
  pFrame->GetClientRect(&rcClient);
  std::array<int, winport::dock::kSideCount> thickness{};
  for (int s = 0; s < winport::dock::kSideCount; ++s) {
    CDockBar* pDock = pFrame->GetDockBar(winport::dock::kDockBarId[s]);
    if (!pDock || !pDock->GetSafeHwnd()) continue;
    CRect rc;
    pDock->GetWindowRect(&rc);
    thickness[static_cast<std::size_t>(s)] = winport::dock::IsHorz(s) ? rc.Height() : rc.Width();
  }
  DWORD dwAllowed = m_pBar->m_dwDockStyle & pFrame->m_dwDockStyle;
  if (bForceFloat) dwAllowed = 0;
  const int side = winport::dock::DropSide(pt, rcClient, thickness, dwAllowed, kDockZone);
  const CPoint topLeft(ptScreen.x - m_ptGrab.x, ptScreen.y - m_ptGrab.y);
  if (side == winport::dock::kNoSide) {
    pFrame->FloatControlBar(m_pBar, topLeft, m_pBar->GetBarStyle() & CBRS_ALIGN_ANY);
    return;
  }
  // The drop point decides the place among the bars already on that side.
  const CRect rcDrop(ptScreen.x, ptScreen.y, ptScreen.x, ptScreen.y);
  pFrame->DockControlBar(m_pBar, winport::dock::kDockBarId[side], &rcDrop);
}
