// The framework's root of message-map owners, with the external reference count hosts of
// component objects use.
#pragma once
#include "winport/window/MessageMap.h"

struct AFX_INTERFACEMAP;
struct IUnknown;

class WINPORT_API CCmdTarget {
 public:
  CCmdTarget() = default;
  virtual ~CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // Routes a WM_COMMAND (nCode, nID) through this object's message map.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

  DWORD ExternalAddRef() { return ++m_dwRef; }
  DWORD ExternalRelease();
  // Through the interface map (winport/com/InterfaceMap.h): an HRESULT, the interface AddRef'd.
  DWORD ExternalQueryInterface(const void* iid, void** ppvObj);
  IUnknown* GetInterface(const void* iid);
  // Called when the external count drops to zero; heap objects delete themselves.
  virtual void OnFinalRelease() { delete this; }

  // Finds the entry for a message (and for WM_COMMAND / WM_NOTIFY, its code and id).
  static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT nMsg, UINT nCode, UINT nID);

  DWORD m_dwRef = 1;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

 public:
  static const AFX_INTERFACEMAP* GetThisInterfaceMap();
  virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
};
