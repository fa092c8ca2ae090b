// Nested interface maps of CCmdTarget: a class exposes COM interfaces through nested objects
// whose reference counting is its own (ExternalAddRef / ExternalRelease / ExternalQueryInterface).
#pragma once
#include "winport/com/Com.h"
#include "winport/window/CCmdTarget.h"

struct AFX_INTERFACEMAP_ENTRY {
  const IID* piid;                     // null ends the table
  LPUNKNOWN (*pfnGet)(CCmdTarget*);   // the nested object of that interface
};

struct AFX_INTERFACEMAP {
  const AFX_INTERFACEMAP* (*pfnGetBaseMap)();
  const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                         \
 public:                                                \
  static const AFX_INTERFACEMAP* GetThisInterfaceMap(); \
  const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                                 \
  const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
  const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap() {                                   \
    typedef theBase TheBaseClass;                                                             \
    static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {
#define INTERFACE_PART(theClass, iid, localClass) \
  {&(iid), [](CCmdTarget* p) -> LPUNKNOWN { return &static_cast<theClass*>(p)->m_x##localClass; }},
#define END_INTERFACE_MAP()                                                                        \
  {nullptr, nullptr}};                                                                             \
  static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]}; \
  return &interfaceMap;                                                                            \
  }

// The nested object knows its owner from construction (m_x<Name>{this} in the owner).
#define BEGIN_INTERFACE_PART(localClass, baseClass)                             \
  class X##localClass : public baseClass {                                     \
   public:                                                                     \
    explicit X##localClass(CCmdTarget* pOwner) : m_pOwnerTarget_(pOwner) {}    \
    X##localClass(const X##localClass&) = delete;                              \
    X##localClass& operator=(const X##localClass&) = delete;                   \
    ULONG AddRef() override;                                                   \
    ULONG Release() override;                                                  \
    HRESULT QueryInterface(REFIID iid, void** ppvObj) override;                \
    CCmdTarget* m_pOwnerTarget_;
#define END_INTERFACE_PART(localClass) \
  }                                    \
  m_x##localClass{this};               \
  friend class X##localClass;

#define METHOD_PROLOGUE(theClass, localClass)                    \
  theClass* pThis = static_cast<theClass*>(m_pOwnerTarget_);    \
  (void)pThis;
#define METHOD_PROLOGUE_EX METHOD_PROLOGUE
