#include "winport/frame/CFrameWnd.h"

#include <algorithm>

#include "winport/frame/CMiniDockFrameWnd.h"
#include "winport/frame/DockLayout.h"

using namespace winport::dock;

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(0, 0, 640, 480);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, CCreateContext*) {
  if (!lpszClassName)
    lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxHwndOf(pParentWnd), nullptr);
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  if (!GetSafeHwnd()) return;
  m_dwDockStyle |= dwDockStyle & CBRS_ALIGN_ANY;
  for (int s = 0; s < kSideCount; ++s) {
    if (!(dwDockStyle & kAlign[s]) || m_dockBars[static_cast<std::size_t>(s)]) continue;
    auto bar = std::make_unique<CDockBar>(FALSE);
    if (bar->Create(this, kAlign[s], kDockBarId[s])) m_dockBars[static_cast<std::size_t>(s)] = std::move(bar);
  }
  RecalcLayout();
}

CDockBar* CFrameWnd::GetDockBar(UINT nDockBarID) {
  const int s = SideOfId(nDockBarID);
  return s == kNoSide ? nullptr : m_dockBars[static_cast<std::size_t>(s)].get();
}

CDockBar* CFrameWnd::DockBarFor(CControlBar* pBar, UINT nDockBarID) {
  if (nDockBarID) {
    CDockBar* p = GetDockBar(nDockBarID);
    return p && (pBar->m_dwDockStyle & p->GetBarStyle() & CBRS_ALIGN_ANY) ? p : nullptr;
  }
  for (int s = 0; s < kSideCount; ++s) {
    CDockBar* p = m_dockBars[static_cast<std::size_t>(s)].get();
    if (p && (pBar->m_dwDockStyle & kAlign[s])) return p;
  }
  return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  if (!pBar || !pBar->GetSafeHwnd() || !GetSafeHwnd()) return;
  CDockBar* pDock = DockBarFor(pBar, nDockBarID);
  if (!pDock) return;
  CDockBar* pOld = pBar->m_pDockBar;
  pBar->m_pDockSite = this;
  if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
    m_listControlBars.push_back(pBar);
  pDock->DockControlBar(pBar, lpRect);
  // A floating frame left empty goes away.
  if (pOld && pOld != pDock && pOld->m_bFloating && pOld->GetDockedCount() == 0) {
    if (CWnd* pMini = pOld->GetParent()) pMini->DestroyWindow();
  }
  RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar || !pBar->GetSafeHwnd() || !GetSafeHwnd()) return;
  pBar->m_pDockSite = this;
  if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
    m_listControlBars.push_back(pBar);
  CDockBar* pOld = pBar->m_pDockBar;
  if (pOld && pOld->m_bFloating) {
    // Already floating: the small frame only moves.
    if (CWnd* pMini = pOld->GetParent()) pMini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return;
  }
  auto* pMini = new CMiniDockFrameWnd;  // deletes itself with its window
  if (!pMini->Create(this, (dwStyle & CBRS_ALIGN_ANY) ? (dwStyle & CBRS_ALIGN_ANY) : CBRS_ALIGN_TOP)) return;
  pMini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pMini->m_wndDockBar.DockControlBar(pBar, nullptr);
  // The floating bar keeps its orientation bit, so it knows how it floats.
  pBar->SetBarStyle((pBar->GetBarStyle() & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_FLOATING |
                    (dwStyle & CBRS_ALIGN_ANY));
  pMini->SetWindowText([&] {
    CString s;
    pBar->GetWindowText(s);
    return s;
  }());
  pMini->RecalcLayout();
  pMini->ShowWindow(SW_SHOWNA);
  if (pOld) RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
  if (!pBar || !pBar->GetSafeHwnd()) return;
  pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
  if (pBar->IsFloating()) {
    if (CWnd* pMini = pBar->m_pDockBar->GetParent()) pMini->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
  } else {
    RecalcLayout();
  }
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || !GetSafeHwnd()) return;
  m_bInRecalcLayout = TRUE;
  CRect rc;
  GetClientRect(&rc);
  for (int s = 0; s < kSideCount; ++s) {
    CDockBar* pDock = m_dockBars[static_cast<std::size_t>(s)].get();
    if (!pDock || !pDock->GetSafeHwnd()) continue;
    const CSize size = pDock->CalcFixedLayout(FALSE, IsHorz(s));
    CRect place = rc;
    if (IsHorz(s)) {
      const int h = std::clamp<int>(size.cy, 0, std::max(rc.Height(), 0));
      if (s == kTop) {
        place.bottom = rc.top + h;
        rc.top += h;
      } else {
        place.top = rc.bottom - h;
        rc.bottom -= h;
      }
    } else {
      const int w = std::clamp<int>(size.cx, 0, std::max(rc.Width(), 0));
      if (s == kLeft) {
        place.right = rc.left + w;
        rc.left += w;
      } else {
        place.left = rc.right - w;
        rc.right -= w;
      }
    }
    pDock->MoveWindow(&place);
    pDock->LayoutBars();
  }
  if (CWnd* pView = GetDlgItem(AFX_IDW_PANE_FIRST)) pView->MoveWindow(&rc);
  m_bInRecalcLayout = FALSE;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  for (CControlBar* p : m_listControlBars)
    if (p->GetSafeHwnd() && static_cast<UINT>(p->GetDlgCtrlID()) == nID) return p;
  return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (pBar && std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                          m_listControlBars.end());
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  RecalcLayout();
}

void CFrameWnd::OnDestroy() {
  // Bars outlive nothing of the frame: they forget it before their own windows go.
  for (CControlBar* p : m_listControlBars)
    if (p->m_pDockSite == this) p->m_pDockSite = nullptr;
  m_listControlBars.clear();
  CWnd::OnDestroy();
}
