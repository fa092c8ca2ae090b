#include "shell/OlePropPageWnd.h"

IMPLEMENT_DYNCREATE(COlePropPageWnd, CWnd)

BEGIN_MESSAGE_MAP(COlePropPageWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(COlePropPageWnd, CWnd)
  INTERFACE_PART(COlePropPageWnd, IID_IPropertyPageSite, PropertySite)
END_INTERFACE_MAP()

COlePropPageWnd::COlePropPageWnd() : m_pPropPage(nullptr), m_PageInfo{} {}

COlePropPageWnd::~COlePropPageWnd() {
  FreePageInfoStrings();
  if (m_pPropPage) ReleasePage(FALSE);
}

void COlePropPageWnd::FreePageInfoStrings() {
  for (LPOLESTR* p : {&m_PageInfo.pszTitle, &m_PageInfo.pszDocString, &m_PageInfo.pszHelpFile}) {
    if (*p) ::CoTaskMemFree(*p);
    *p = nullptr;
  }
}

void COlePropPageWnd::ReleasePage(BOOL bDeactivate) {
  if (bDeactivate) m_pPropPage->Deactivate();
  m_pPropPage->Release();
  m_pPropPage = nullptr;
}

BOOL COlePropPageWnd::Create(GUID clsid, IUnknown* pObject, const wchar_t* lpszClassName, DWORD dwStyle,
                             CWnd* pParentWnd, UINT nID) {
  void* pv = nullptr;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IPropertyPage, &pv)) || !pv) return FALSE;
  m_pPropPage = static_cast<IPropertyPage*>(pv);
  // Strings of an earlier page are freed before the new page fills the record.
  FreePageInfoStrings();
  m_PageInfo = PROPPAGEINFO{};
  m_PageInfo.cb = sizeof(PROPPAGEINFO);
  IUnknown* objects[1] = {pObject};
  if (FAILED(m_pPropPage->GetPageInfo(&m_PageInfo)) || FAILED(m_pPropPage->SetPageSite(&m_xPropertySite)) ||
      FAILED(m_pPropPage->SetObjects(1, objects))) {
    ReleasePage(FALSE);
    return FALSE;
  }
  const CRect rect(0, 0, m_PageInfo.size.cx, m_PageInfo.size.cy);
  if (CWnd::Create(lpszClassName, m_PageInfo.pszTitle, dwStyle, rect, pParentWnd, nID)) return TRUE;
  if (m_pPropPage) ReleasePage(TRUE);
  return FALSE;
}

int COlePropPageWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CRect rect;
  GetClientRect(&rect);
  if (!m_pPropPage || FAILED(m_pPropPage->Activate(m_hWnd, &rect, FALSE))) return -1;
  m_pPropPage->Show(SW_SHOW);
  return 0;
}

void COlePropPageWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (!m_pPropPage) return;
  const CRect rect(0, 0, cx, cy);
  m_pPropPage->Move(&rect);
}

void COlePropPageWnd::OnDestroy() {
  CWnd::OnDestroy();
  FreePageInfoStrings();
  if (m_pPropPage) ReleasePage(TRUE);
}

ULONG COlePropPageWnd::XPropertySite::AddRef() {
  METHOD_PROLOGUE(COlePropPageWnd, PropertySite)
  return pThis->ExternalAddRef();
}

ULONG COlePropPageWnd::XPropertySite::Release() {
  METHOD_PROLOGUE(COlePropPageWnd, PropertySite)
  return pThis->ExternalRelease();
}

HRESULT COlePropPageWnd::XPropertySite::QueryInterface(REFIID iid, void** ppvObj) {
  METHOD_PROLOGUE(COlePropPageWnd, PropertySite)
  return static_cast<HRESULT>(pThis->ExternalQueryInterface(&iid, ppvObj));
}

HRESULT COlePropPageWnd::XPropertySite::OnStatusChange(DWORD dwFlags) {
  METHOD_PROLOGUE(COlePropPageWnd, PropertySite)
  if ((dwFlags & PROPPAGESTATUS_DIRTY) && pThis->m_pPropPage) pThis->m_pPropPage->Apply();
  return S_OK;
}

HRESULT COlePropPageWnd::XPropertySite::GetLocaleID(LCID* pLocaleID) {
  if (!pLocaleID) return E_POINTER;
  *pLocaleID = ::GetThreadLocale();
  return S_OK;
}

HRESULT COlePropPageWnd::XPropertySite::GetPageContainer(IUnknown**) { return E_NOTIMPL; }

HRESULT COlePropPageWnd::XPropertySite::TranslateAccelerator(MSG*) { return E_NOTIMPL; }
