#include "controls/ExTipWnd.h"

#include <algorithm>

#include "foundation/ControlClass.h"
#include "foundation/DrawHelpers.h"

namespace {
CControlClass s_class{CS_HREDRAW | CS_VREDRAW};
}  // namespace

BEGIN_MESSAGE_MAP(CExTipWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CExTipWnd CExTipWnd::ms_wndTip;

CExTipWnd::CExTipWnd() { m_font.CreatePointFont(90, L"Times New Roman"); }

CExTipWnd::~CExTipWnd() {
  m_font.DeleteObject();
  if (GetSafeHwnd()) DestroyWindow();
}

CExTipWnd* CExTipWnd::GetWnd() { return &ms_wndTip; }

void CExTipWnd::SetActID(const GUID& id) { ms_wndTip.m_idAct = id; }
const GUID& CExTipWnd::GetActID() { return ms_wndTip.m_idAct; }

void CExTipWnd::Invalidated() {
  if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
}

void CExTipWnd::SetBackColor(COLORREF cr) {
  ms_wndTip.m_crBack = cr;
  ms_wndTip.Invalidated();
}

void CExTipWnd::SetTextColor(COLORREF cr) {
  ms_wndTip.m_crText = cr;
  ms_wndTip.Invalidated();
}

void CExTipWnd::SetText(const wchar_t* pszText) {
  ms_wndTip.m_arrText.RemoveAll();
  if (pszText) ms_wndTip.m_arrText.Add(pszText);
  ms_wndTip.m_bSizeDirty = TRUE;
  ms_wndTip.Invalidated();
}

void CExTipWnd::SetText(const CStringArray& arrText) {
  ms_wndTip.m_arrText.Copy(arrText);
  ms_wndTip.m_bSizeDirty = TRUE;
  ms_wndTip.Invalidated();
}

void CExTipWnd::Show(const RECT* pHoverRect, POINT* pPos) { ms_wndTip.ShowAt(pHoverRect, pPos); }

void CExTipWnd::Show2(const SIZE& size, POINT* pPos) {
  POINT pt;
  ::GetCursorPos(&pt);
  // Wide sizes saturate instead of wrapping the rectangle around.
  auto sat = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, -(1LL << 30), 1LL << 30)); };
  const RECT rc{sat(static_cast<long long>(pt.x) - size.cx), sat(static_cast<long long>(pt.y) - size.cy),
                sat(static_cast<long long>(pt.x) + size.cx), sat(static_cast<long long>(pt.y) + size.cy)};
  Show(&rc, pPos);
}

void CExTipWnd::ShowAt(const RECT* pHoverRect, POINT* pPos) {
  if (!GetSafeHwnd()) {
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE, s_class.Name(), nullptr, WS_POPUP, 0, 0, 1, 1,
                  AfxHwndOf(AfxGetMainWnd()), nullptr))
      return;
  }
  if (pHoverRect) {
    m_rcHover = *pHoverRect;
    if (!m_bHoverTimer) {
      SetTimer(HOVER_TIMER, HOVER_PERIOD, nullptr);
      m_bHoverTimer = TRUE;
    }
  } else if (m_bHoverTimer) {
    KillTimer(HOVER_TIMER);
    m_bHoverTimer = FALSE;
  }
  if (m_bSizeDirty) {
    UpdateWindowSize();
    m_bSizeDirty = FALSE;
  }
  POINT pt;
  if (pPos) {
    pt = *pPos;
  } else {
    ::GetCursorPos(&pt);
    pt.x += 16;
    pt.y += 16;
    CRect rc;
    GetWindowRect(&rc);
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    if (pt.x + rc.Width() > cxScreen) pt.x = cxScreen - rc.Width();
    if (pt.y + rc.Height() > cyScreen) pt.y = cyScreen - rc.Height();
  }
  SetWindowPos(&wndTop, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsWindowVisible()) ShowWindow(SW_SHOWNA);
}

void CExTipWnd::Hide() {
  CExTipWnd& tip = ms_wndTip;
  if (!tip.GetSafeHwnd()) return;
  if (tip.m_bHoverTimer) {
    tip.KillTimer(HOVER_TIMER);
    tip.m_bHoverTimer = FALSE;
  }
  if (tip.IsWindowVisible()) {
    tip.ShowWindow(SW_HIDE);
    tip.m_idAct = GUID{};
  }
}

void CExTipWnd::UpdateWindowSize() {
  CDC* pDC = GetDC();
  if (!pDC) return;
  CFont* pOld = pDC->SelectObject(&m_font);
  int cx = 0, cy = 0;
  for (INT_PTR i = 0; i < m_arrText.GetSize(); ++i) {
    CRect rc(0, 0, 0, 0);
    pDC->DrawText(m_arrText[i], &rc, DT_CALCRECT);
    cx = std::max<int>(cx, rc.right);
    cy += rc.bottom;
  }
  pDC->SelectObject(pOld);
  ReleaseDC(pDC);
  SetWindowPos(&wndTop, 0, 0, cx + 8, cy + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CExTipWnd::OnDraw(CDC* pDC) {
  CRect r;
  GetClientRect(&r);
  const int cx = r.Width(), cy = r.Height();
  foundation::FillLine(pDC, 0, 0, cx, 1, 0);
  foundation::FillLine(pDC, 0, r.bottom - 1, cx, 1, 0);
  foundation::FillLine(pDC, 0, 0, 1, cy, 0);
  foundation::FillLine(pDC, r.right - 1, 0, 1, cy, 0);
  r.DeflateRect(1, 1);
  pDC->FillSolidRect(&r, m_crBack);
  const int nLines = static_cast<int>(m_arrText.GetSize());
  if (nLines == 0) return;
  const int nLineHeight = (r.bottom - r.top) / nLines;
  CFont* pOld = pDC->SelectObject(&m_font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(m_crText);
  for (int i = 0; i < nLines; ++i) {
    CRect rcLine(4, 2 + i * nLineHeight, r.right, r.bottom);
    pDC->DrawText(m_arrText[i], &rcLine, 0);
  }
  pDC->SelectObject(pOld);
}

void CExTipWnd::OnPaint() {
  CPaintDC dc(this);
  if (m_bSizeDirty) {
    UpdateWindowSize();
    m_bSizeDirty = FALSE;
    InvalidateRect(nullptr, TRUE);
    return;
  }
  OnDraw(&dc);
}

void CExTipWnd::OnTimer(UINT_PTR nIDEvent) {
  POINT pt;
  ::GetCursorPos(&pt);
  if (!::PtInRect(&m_rcHover, pt)) Hide();
  CWnd::OnTimer(nIDEvent);
}

void CExTipWnd::OnDestroy() {
  // Destroyed from outside (the host tearing windows down): the timer died with the window, so
  // the next Show must start it again.
  m_bHoverTimer = FALSE;
  CWnd::OnDestroy();
}
