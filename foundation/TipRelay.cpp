#include "foundation/TipRelay.h"

namespace foundation {

BOOL CreateTip(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, UINT nInitialMs, UINT nAutoPopMs) {
  if (!pOwner || !pOwner->GetSafeHwnd()) return FALSE;
  pOwner->EnableToolTips(TRUE);
  if (!tip.Create(pOwner, 0)) return FALSE;
  tip.SendMessage(TTM_ACTIVATE, TRUE, 0);
  const CRect rcNone(0, 0, 0, 0);
  tip.AddTool(pOwner, L"", &rcNone, nToolID);
  tip.SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, nInitialMs);
  tip.SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, nAutoPopMs);
  return TRUE;
}

void SetTipRect(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, int cx, int cy) {
  if (!tip.GetSafeHwnd()) return;
  const CRect rc(0, 0, cx, cy);
  tip.SetToolRect(pOwner, nToolID, &rc);
}

void RelayTipEvent(CToolTipCtrl& tip, const MSG* pMsg) {
  if (pMsg && tip.GetSafeHwnd()) tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

void RelayCurrentMessage(CToolTipCtrl& tip, CWnd* pOwner) {
  if (pOwner) RelayTipEvent(tip, pOwner->GetCurrentMessage());
}

void UpdateTip(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, const CString& text, CString& lastSent) {
  if (!tip.GetSafeHwnd() || text == lastSent) return;
  lastSent = text;
  tip.UpdateTipText(text, pOwner, nToolID);
}

}  // namespace foundation
