// A child window that embeds one component's property page (a codec's or filter's settings)
// in the host's own dialog, sized to the page, and is the page's site. The page reports every
// edit as dirty, and the edit is applied to the object at once.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API COlePropPageWnd : public CWnd {
  DECLARE_DYNCREATE(COlePropPageWnd)

 public:
  COlePropPageWnd();
  ~COlePropPageWnd() override;

  // Creates page clsid for pObject, then this window (the page's size, its title as text).
  // FALSE, with no page and no window, when any step fails.
  BOOL Create(GUID clsid, IUnknown* pObject, const wchar_t* lpszClassName, DWORD dwStyle, CWnd* pParentWnd,
              UINT nID);
  IPropertyPage* GetPropertyPage() const { return m_pPropPage; }  // no reference added
  const PROPPAGEINFO* GetPageInfo() const { return &m_PageInfo; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  BEGIN_INTERFACE_PART(PropertySite, IPropertyPageSite)
    HRESULT OnStatusChange(DWORD dwFlags) override;
    HRESULT GetLocaleID(LCID* pLocaleID) override;
    HRESULT GetPageContainer(IUnknown** ppUnk) override;
    HRESULT TranslateAccelerator(MSG* pMsg) override;
  END_INTERFACE_PART(PropertySite)
  DECLARE_INTERFACE_MAP()

 protected:
  void FreePageInfoStrings();
  void ReleasePage(BOOL bDeactivate);

  IPropertyPage* m_pPropPage;
  PROPPAGEINFO m_PageInfo;
};
