// Extension-module support: a loadable module of controls shares the host's framework state and
// puts its resources into the host's resource chain for as long as it is loaded.
#pragma once
#include "winport/base/types.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HINSTANCE hModule = nullptr;
  HINSTANCE hResource = nullptr;
};

// Records the module; FALSE for a null instance (the load then fails).
WINPORT_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE hInstance);
// Takes the module's resource chain entries out and forgets the module.
WINPORT_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// The resource chain entry of a module. Created on the heap at load and owned by the framework:
// AfxTermExtensionModule deletes the entries of its module.
class WINPORT_API CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  virtual ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HINSTANCE m_hModule;
  HINSTANCE m_hResource;
  BOOL m_bSystem;
};
