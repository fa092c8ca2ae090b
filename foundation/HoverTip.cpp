#include "foundation/HoverTip.h"

BOOL CHoverTip::Open(CWnd* pOwner, UINT_PTR nToolID, UINT nInitialMs, UINT nAutoPopMs) {
  if (!pOwner || !pOwner->GetSafeHwnd()) return FALSE;
  m_pOwner = pOwner;
  m_nToolID = nToolID;
  m_strLast.Empty();
  pOwner->EnableToolTips(TRUE);
  if (!Create(pOwner, 0)) return FALSE;
  SendMessage(TTM_ACTIVATE, TRUE, 0);
  const CRect rcNone(0, 0, 0, 0);
  AddTool(pOwner, L"", &rcNone, nToolID);
  SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, nInitialMs);
  SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, nAutoPopMs);
  return TRUE;
}

void CHoverTip::FitClient(int cx, int cy) {
  if (!GetSafeHwnd()) return;
  const CRect rc(0, 0, cx, cy);
  SetToolRect(m_pOwner, m_nToolID, &rc);
}

void CHoverTip::Relay(const MSG* pMsg) {
  if (pMsg && GetSafeHwnd()) SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

void CHoverTip::Relay() {
  if (m_pOwner) Relay(m_pOwner->GetCurrentMessage());
}

void CHoverTip::SetHoverText(const CString& text) {
  if (!GetSafeHwnd() || text == m_strLast) return;
  m_strLast = text;
  UpdateTipText(text, m_pOwner, m_nToolID);
}
