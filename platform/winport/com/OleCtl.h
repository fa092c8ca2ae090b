// Property pages and their site: the interfaces a page object and the window hosting it speak.
#pragma once
#include "winport/com/Com.h"
#include "winport/window/WinDefs.h"

struct PROPPAGEINFO {
  ULONG cb;
  LPOLESTR pszTitle;     // allocated by the page with CoTaskMemAlloc, freed by the host
  SIZE size;
  LPOLESTR pszDocString;
  LPOLESTR pszHelpFile;
  DWORD dwHelpContext;
};
using LPPROPPAGEINFO = PROPPAGEINFO*;

#define PROPPAGESTATUS_DIRTY 0x1
#define PROPPAGESTATUS_VALIDATE 0x2
#define PROPPAGESTATUS_CLEAN 0x4

struct IPropertyPageSite : IUnknown {
  virtual HRESULT OnStatusChange(DWORD dwFlags) = 0;
  virtual HRESULT GetLocaleID(LCID* pLocaleID) = 0;
  virtual HRESULT GetPageContainer(IUnknown** ppUnk) = 0;
  virtual HRESULT TranslateAccelerator(MSG* pMsg) = 0;

 protected:
  ~IPropertyPageSite() = default;
};
using LPPROPERTYPAGESITE = IPropertyPageSite*;

struct IPropertyPage : IUnknown {
  virtual HRESULT SetPageSite(IPropertyPageSite* pPageSite) = 0;
  virtual HRESULT Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
  virtual HRESULT Deactivate() = 0;
  virtual HRESULT GetPageInfo(PROPPAGEINFO* pPageInfo) = 0;
  virtual HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) = 0;
  virtual HRESULT Show(UINT nCmdShow) = 0;
  virtual HRESULT Move(LPCRECT pRect) = 0;
  virtual HRESULT IsPageDirty() = 0;
  virtual HRESULT Apply() = 0;
  virtual HRESULT Help(LPCOLESTR pszHelpDir) = 0;
  virtual HRESULT TranslateAccelerator(MSG* pMsg) = 0;

 protected:
  ~IPropertyPage() = default;
};
using LPPROPERTYPAGE = IPropertyPage*;

inline constexpr IID IID_IPropertyPage = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyPageSite = {0xB196B28C, 0xBAB4, 0x101A,
                                              {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
