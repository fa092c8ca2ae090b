#include "winport/window/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

DWORD CCmdTarget::ExternalRelease() {
  if (m_dwRef == 0) return 0;
  DWORD n = --m_dwRef;
  if (n == 0) OnFinalRelease();
  return n;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT nMsg, UINT nCode, UINT nID) {
  bool coded = nMsg == WM_COMMAND || nMsg == WM_NOTIFY || nMsg == WM_REFLECT_BASE + WM_NOTIFY;
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
      if (e->nMessage != nMsg) continue;
      if (!coded) return e;
      if (e->nCode != nCode) continue;
      if (nMsg == WM_REFLECT_BASE + WM_NOTIFY) return e;
      if (nID >= e->nID && nID <= e->nLastID) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
  const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
  if (!e) return FALSE;
  LRESULT r = 0;
  e->pfn(this, MAKEWPARAM(static_cast<WORD>(nID), static_cast<WORD>(nCode)), 0, &r);
  return TRUE;
}
