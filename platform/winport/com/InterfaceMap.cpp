// CCmdTarget's side of the interface maps.
#include "winport/com/InterfaceMap.h"

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap() {
  static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
  static const AFX_INTERFACEMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const { return GetThisInterfaceMap(); }

LPUNKNOWN CCmdTarget::GetInterface(const void* iid) {
  if (!iid) return nullptr;
  const IID& wanted = *static_cast<const IID*>(iid);
  const bool unknown = IsEqualIID(wanted, IID_IUnknown);
  for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_INTERFACEMAP_ENTRY* e = map->pEntry; e && e->piid; ++e) {
      // Every nested interface starts with IUnknown: the first one stands for the object.
      if (unknown || IsEqualIID(*e->piid, wanted)) return e->pfnGet(this);
    }
  }
  return nullptr;
}

DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj) {
  if (!ppvObj) return static_cast<DWORD>(E_POINTER);
  LPUNKNOWN p = GetInterface(iid);
  *ppvObj = p;
  if (!p) return static_cast<DWORD>(E_NOINTERFACE);
  ExternalAddRef();
  return static_cast<DWORD>(S_OK);
}
