// Run-time class records for dynamically creatable framework classes. Objects made this way are
// command targets (the framework's root here).
#pragma once
#include <new>

#include "winport/window/CCmdTarget.h"

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CCmdTarget* (*m_pfnCreateObject)();
  // A new object of the class (owned by the caller), or null when it cannot be made.
  CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define DECLARE_DYNCREATE(class_name)                  \
 public:                                               \
  static CRuntimeClass class##class_name;              \
  static CRuntimeClass* GetThisClass();                \
  static CCmdTarget* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                             \
  CCmdTarget* class_name::CreateObject() { return new (std::nothrow) class_name; }                  \
  CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                 0xFFFF, &class_name::CreateObject};                \
  CRuntimeClass* class_name::GetThisClass() { return &class_name::class##class_name; }

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())
