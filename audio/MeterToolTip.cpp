#include "audio/MeterToolTip.h"

BOOL CMeterToolTip::Create(CWnd* pParentWnd, DWORD dwStyle) {
  static CString s_strClass;
  if (s_strClass.IsEmpty()) s_strClass = AfxRegisterWndClass(0);
  // Hidden until shown; owned by the tool window so it goes when that goes.
  return CreateEx(0, s_strClass, L"", WS_POPUP | (dwStyle & ~WS_VISIBLE), 0, 0, 1, 1, AfxHwndOf(pParentWnd),
                  nullptr);
}

void CMeterToolTip::SetDelayTime(DWORD dwDuration, int iTime) {
  if (dwDuration == TTDT_INITIAL_DELAY) m_nInitial = iTime;
  else if (dwDuration == TTDT_AUTOPOP_DELAY) m_nAutoPop = iTime;
}

int CMeterToolTip::GetDelayTime(DWORD dwDuration) const {
  return dwDuration == TTDT_INITIAL_DELAY ? m_nInitial : (dwDuration == TTDT_AUTOPOP_DELAY ? m_nAutoPop : 0);
}

BOOL CMeterToolTip::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  std::lock_guard lock(m_mutex);
  m_hTool = pWnd->GetSafeHwnd();
  m_nIDTool = nIDTool;
  m_strText = lpszText ? lpszText : L"";
  m_rcTool = lpRectTool ? CRect(*lpRectTool) : CRect();
  return TRUE;
}

void CMeterToolTip::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  if (!pWnd || !lpRect || pWnd->GetSafeHwnd() != m_hTool || nIDTool != m_nIDTool) return;
  m_rcTool = *lpRect;
}

void CMeterToolTip::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  std::lock_guard lock(m_mutex);
  if (!pWnd || pWnd->GetSafeHwnd() != m_hTool || nIDTool != m_nIDTool) return;
  m_strText = lpszText ? lpszText : L"";
}

void CMeterToolTip::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  std::lock_guard lock(m_mutex);
  str = (pWnd && pWnd->GetSafeHwnd() == m_hTool && nIDTool == m_nIDTool) ? m_strText : CString();
}

void CMeterToolTip::RelayEvent(const MSG* pMsg) {
  if (pMsg && pMsg->message == WM_MOUSEMOVE && pMsg->hwnd == m_hTool)
    m_ptLast = {static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam))};
}
