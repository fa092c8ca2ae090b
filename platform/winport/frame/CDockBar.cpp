#include "winport/frame/CDockBar.h"

#include <algorithm>

#include "winport/frame/DockLayout.h"

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {}

CDockBar::~CDockBar() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  if (m_bFloating) m_dwStyle |= CBRS_FLOATING;
  const DWORD ws = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  return CWnd::Create(AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), nullptr, ws,
                      CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CDockBar::IsHorzDock() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

int CDockBar::GetDockedVisibleCount() const {
  return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                        [](CControlBar* p) { return p->GetSafeHwnd() && (p->GetStyle() & WS_VISIBLE); }));
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !GetSafeHwnd() || !pBar->GetSafeHwnd()) return;
  if (pBar->m_pDockBar && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveControlBar(pBar);
  m_arrBars.erase(std::remove(m_arrBars.begin(), m_arrBars.end(), pBar), m_arrBars.end());
  std::size_t at = m_arrBars.size();
  if (lpRect) {
    std::vector<RECT> rects;
    for (CControlBar* p : m_arrBars) {
      CRect rc;
      p->GetWindowRect(&rc);
      rects.push_back(rc);
    }
    at = static_cast<std::size_t>(winport::dock::InsertIndex(rects, *lpRect, IsHorzDock()));
  }
  m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(at), pBar);
  DWORD style = pBar->GetBarStyle() & ~static_cast<DWORD>(CBRS_ALIGN_ANY | CBRS_FLOATING);
  style |= m_dwStyle & (CBRS_ALIGN_ANY | CBRS_FLOATING);
  pBar->SetBarStyle(style);
  pBar->m_pDockBar = this;
  if (pBar->GetParent() != this) pBar->SetParent(this);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
  auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
  if (it == m_arrBars.end()) return FALSE;
  m_arrBars.erase(it);
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  return TRUE;
}

std::vector<SIZE> CDockBar::BarSizes(std::vector<CControlBar*>& visible) {
  std::vector<SIZE> sizes;
  for (CControlBar* p : m_arrBars) {
    if (!p->GetSafeHwnd() || !(p->GetStyle() & WS_VISIBLE)) continue;
    DWORD dwMode = 0;
    const DWORD style = p->GetBarStyle();
    if ((style & CBRS_SIZE_DYNAMIC) && (style & CBRS_FLOATING))
      dwMode = LM_HORZ | LM_MRUWIDTH;
    else if (style & CBRS_ORIENT_HORZ)
      dwMode = LM_HORZ | LM_HORZDOCK;
    else
      dwMode = LM_VERTDOCK;
    visible.push_back(p);
    sizes.push_back(p->CalcDynamicLayout(-1, dwMode));
  }
  return sizes;
}

CSize CDockBar::CalcFixedLayout(BOOL, BOOL) {
  std::vector<CControlBar*> visible;
  const std::vector<SIZE> sizes = BarSizes(visible);
  const bool horz = IsHorzDock();
  LONG along = 0;
  for (const SIZE& s : sizes) along = std::max<LONG>(along, horz ? s.cx : s.cy);
  const int across = winport::dock::StackThickness(sizes, horz);
  return horz ? CSize(along, across) : CSize(across, along);
}

void CDockBar::LayoutBars() {
  std::vector<CControlBar*> visible;
  const std::vector<SIZE> sizes = BarSizes(visible);
  const std::vector<RECT> rects = winport::dock::StackBars(sizes, IsHorzDock() || m_bFloating);
  for (std::size_t i = 0; i < visible.size(); ++i) {
    CRect now;
    visible[i]->GetWindowRect(&now);
    ScreenToClient(&now);
    if (!::EqualRect(&now, &rects[i])) visible[i]->MoveWindow(&rects[i]);
  }
}

void CDockBar::OnDestroy() {
  for (CControlBar* p : m_arrBars)
    if (p->m_pDockBar == this) p->m_pDockBar = nullptr;
  m_arrBars.clear();
  CControlBar::OnDestroy();
}
