// Gallery page of the shell and dialog services: a component's property page (the zone colours
// of a meter, with the meter beside it as a live preview) hosted in a COlePropPageWnd, the four
// message-box symbols on a light and a dark background, and the files of resources/ with their
// types, icons, sizes and dates.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/VUMeter.h"
#include "shell/OlePropPageWnd.h"
#include "shell/SHFileInfo.h"
#include "shell/SysMbIcons.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/MeterScale.h"

namespace {

// The edited object's interface: a meter's three zone colours.
struct IMeterColours : IUnknown {
  virtual HRESULT GetColours(COLORREF* pColours) = 0;        // three
  virtual HRESULT SetColours(const COLORREF* pColours) = 0;  // three

 protected:
  ~IMeterColours() = default;
};
constexpr IID IID_IMeterColours = {0x6d1f8a40, 0x52c3, 0x4b7e, {0x9a, 0x10, 0x3e, 0x71, 0x0c, 0x55, 0x21, 0x8f}};
constexpr CLSID CLSID_MeterColourPage = {0x6d1f8a41, 0x52c3, 0x4b7e, {0x9a, 0x10, 0x3e, 0x71, 0x0c, 0x55, 0x21, 0x8f}};

constexpr std::array<COLORREF, 6> kPalette = {RGB(176, 225, 176), RGB(250, 210, 146), RGB(251, 96, 44),
                                              RGB(90, 160, 250),  RGB(220, 120, 220), RGB(240, 240, 90)};
const wchar_t* const kZoneNames[3] = {L"Low", L"Mid", L"High"};

// The meter whose zone colours the page edits; the colours take effect at once.
class CPreviewMeter : public CVUMeter {
 public:
  void SetZones(const COLORREF* c) {
    m_InitParam.crLow = c[0];
    m_InitParam.crMid = c[1];
    m_InitParam.crHigh = c[2];
    ReInitial();
    Invalidate(FALSE);
  }
};

// The object the page edits: it lives as long as the gallery page and counts no references.
class CMeterColours final : public IMeterColours {
 public:
  explicit CMeterColours(CPreviewMeter& meter) : m_meter(meter) {}
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMeterColours)) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetColours(COLORREF* p) override {
    const SVUMeterInitParam& ip = m_meter.GetInitParam();
    p[0] = ip.crLow;
    p[1] = ip.crMid;
    p[2] = ip.crHigh;
    return S_OK;
  }
  HRESULT SetColours(const COLORREF* p) override {
    if (m_meter.GetSafeHwnd()) m_meter.SetZones(p);
    return S_OK;
  }

 private:
  CPreviewMeter& m_meter;
};

class CMeterColourPage;

// The page's own window: a row per zone with its swatch; a click takes the next colour.
class CColourPageWnd : public CWnd {
 public:
  explicit CColourPageWnd(CMeterColourPage& page) : m_page(page) { m_font.CreatePointFont(80, L"Tahoma"); }
  static CRect SwatchRect(int zone) { return CRect(70, 34 + zone * 30, 170, 56 + zone * 30); }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CMeterColourPage& m_page;
  CFont m_font;
};

class CMeterColourPage final : public IPropertyPage {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPage)) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++m_nRef; }
  ULONG Release() override {
    const ULONG n = --m_nRef;
    if (n == 0) delete this;
    return n;
  }
  HRESULT SetPageSite(IPropertyPageSite* pSite) override {
    if (m_pSite) m_pSite->Release();
    m_pSite = pSite;
    if (m_pSite) m_pSite->AddRef();
    return S_OK;
  }
  HRESULT Activate(HWND hWndParent, LPCRECT pRect, BOOL) override {
    if (!pRect || !m_wnd.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"", WS_CHILD,
                                  *pRect, CWnd::FromHandle(hWndParent), 1))
      return E_FAIL;
    return S_OK;
  }
  HRESULT Deactivate() override {
    if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
    if (m_pSite) m_pSite->Release();
    m_pSite = nullptr;
    return S_OK;
  }
  HRESULT GetPageInfo(PROPPAGEINFO* pInfo) override {
    if (!pInfo) return E_POINTER;
    pInfo->pszTitle = TaskString(L"Meter colours");
    pInfo->pszDocString = TaskString(L"The three zone colours of a level meter");
    pInfo->pszHelpFile = nullptr;
    pInfo->size = SIZE{240, 130};
    pInfo->dwHelpContext = 0;
    return pInfo->pszTitle ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) override {
    if (m_pObject) m_pObject->Release();
    m_pObject = nullptr;
    if (cObjects == 0) return S_OK;
    void* pv = nullptr;
    if (!ppUnk || !ppUnk[0] || FAILED(ppUnk[0]->QueryInterface(IID_IMeterColours, &pv))) return E_NOINTERFACE;
    m_pObject = static_cast<IMeterColours*>(pv);
    m_pObject->GetColours(m_colours.data());
    return S_OK;
  }
  HRESULT Show(UINT nCmdShow) override {
    if (m_wnd.GetSafeHwnd()) m_wnd.ShowWindow(static_cast<int>(nCmdShow));
    return S_OK;
  }
  HRESULT Move(LPCRECT pRect) override {
    if (pRect && m_wnd.GetSafeHwnd()) m_wnd.MoveWindow(pRect);
    return S_OK;
  }
  HRESULT IsPageDirty() override { return m_bDirty ? S_OK : S_FALSE; }
  HRESULT Apply() override {
    if (m_pObject) m_pObject->SetColours(m_colours.data());
    m_bDirty = FALSE;
    return S_OK;
  }
  HRESULT Help(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT TranslateAccelerator(MSG*) override { return S_FALSE; }

  COLORREF Colour(int zone) const { return m_colours[static_cast<std::size_t>(zone)]; }
  // An edit: the next colour of the palette for the zone, reported to the site as dirty.
  void NextColour(int zone) {
    COLORREF& c = m_colours[static_cast<std::size_t>(zone)];
    std::size_t i = 0;
    while (i < kPalette.size() && kPalette[i] != c) ++i;
    c = kPalette[(i + 1) % kPalette.size()];
    m_bDirty = TRUE;
    m_wnd.Invalidate(FALSE);
    if (m_pSite) m_pSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
  }

 private:
  ~CMeterColourPage() {
    if (m_pObject) m_pObject->Release();
    if (m_pSite) m_pSite->Release();
  }
  static LPOLESTR TaskString(const wchar_t* s) {
    const std::size_t bytes = (std::wcslen(s) + 1) * sizeof(wchar_t);
    auto* p = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
    if (p) std::memcpy(p, s, bytes);
    return p;
  }

  ULONG m_nRef = 1;
  IPropertyPageSite* m_pSite = nullptr;
  IMeterColours* m_pObject = nullptr;
  std::array<COLORREF, 3> m_colours{};
  BOOL m_bDirty = FALSE;
  CColourPageWnd m_wnd{*this};
};

BEGIN_MESSAGE_MAP(CColourPageWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CColourPageWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  CFont* old = dc.SelectObject(&m_font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CRect head(10, 8, rc.right - 10, 28);
  dc.DrawText(L"Zone colours (click a swatch)", -1, &head, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  for (int zone = 0; zone < 3; ++zone) {
    CRect sw = SwatchRect(zone);
    CRect label(10, sw.top, sw.left - 6, sw.bottom);
    dc.DrawText(kZoneNames[zone], -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    dc.Draw3dRect(&sw, RGB(90, 90, 90), RGB(255, 255, 255));
    sw.DeflateRect(1, 1);
    dc.FillSolidRect(&sw, m_page.Colour(zone));
  }
  dc.SelectObject(old);
}

void CColourPageWnd::OnLButtonDown(UINT, CPoint point) {
  for (int zone = 0; zone < 3; ++zone) {
    if (SwatchRect(zone).PtInRect(point)) m_page.NextColour(zone);
  }
}

class CMeterColourPageFactory final : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (pOuter) return CLASS_E_NOAGGREGATION;
    auto* page = new (std::nothrow) CMeterColourPage;
    if (!page) return E_OUTOFMEMORY;
    const HRESULT hr = page->QueryInterface(riid, ppv);
    page->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
};

// The four symbols on a light and on a dark background.
class CSymbolsWnd : public CWnd {
 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const COLORREF backs[2] = {RGB(255, 255, 255), RGB(40, 48, 60)};
    const int flags[4] = {MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION};
    for (int row = 0; row < 2; ++row) {
      dc.FillSolidRect(0, row * rc.Height() / 2, rc.Width(), rc.Height() / 2, backs[row]);
      for (int i = 0; i < 4; ++i) m_icons.Draw(&dc, CPoint(8 + i * 42, row * rc.Height() / 2 + 6), flags[i], backs[row]);
    }
  }
  DECLARE_MESSAGE_MAP()

 private:
  CSysMbIcons m_icons;
};

BEGIN_MESSAGE_MAP(CSymbolsWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// The files of a folder: icon, name, type, size and date, a row each.
class CFileListWnd : public CWnd {
 public:
  CFileListWnd() { m_font.CreatePointFont(80, L"Tahoma"); }
  void Fill(const wchar_t* folder) {
    m_rows.clear();
    CFileFind finder;
    CString pattern = CString(folder) + L"/*.*";
    BOOL more = finder.FindFile(pattern);
    while (more) {
      more = finder.FindNextFile();
      if (finder.IsDots()) continue;
      CSHFileInfo info(&finder);
      m_rows.push_back(Row{info.GetIconIndex(), info.GetFileName(), info.GetDescription(), info.GetFileSize(),
                           info.GetLastWriteTime()});
    }
    CImageList large;
    CSHFileInfo().GetSystemImageList(&m_small, &large);
    large.Detach();
  }
  ~CFileListWnd() override { m_small.Detach(); }  // the shell's list

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    CFont* old = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    const int cols[5] = {26, 200, 380, 470, rc.right - 6};
    const wchar_t* heads[4] = {L"Name", L"Type", L"Size", L"Modified"};
    dc.FillSolidRect(0, 0, rc.Width(), 20, ::GetSysColor(COLOR_BTNFACE));
    dc.SetTextColor(RGB(0, 0, 0));
    for (int c = 0; c < 4; ++c) {
      CRect cell(cols[c], 0, cols[c + 1] - 8, 20);
      dc.DrawText(heads[c], -1, &cell, (c == 2 ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE);
    }
    int y = 22;
    for (const Row& r : m_rows) {
      m_small.Draw(&dc, r.icon, CPoint(6, y + 1), ILD_TRANSPARENT);
      const CString* texts[4] = {&r.name, &r.type, &r.size, &r.time};
      for (int c = 0; c < 4; ++c) {
        CRect cell(cols[c], y, cols[c + 1] - 8, y + 18);
        dc.DrawText(*texts[c], -1, &cell, (c == 2 ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      }
      y += 20;
    }
    if (m_rows.empty()) {
      CRect cell(cols[0], y, rc.right, y + 18);
      dc.DrawText(L"(no files)", -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(old);
  }
  DECLARE_MESSAGE_MAP()

 private:
  struct Row {
    int icon;
    CString name, type, size, time;
  };
  std::vector<Row> m_rows;
  CImageList m_small;
  CFont m_font;
};

BEGIN_MESSAGE_MAP(CFileListWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class CDialogsPage : public gallery::Page {
 public:
  const char* Name() const override { return "dialogs"; }
  const char* Title() const override { return "Meter colour page, message symbols, file list with shell icons"; }
  SIZE ClientSize() const override { return {640, 400}; }

  void Create(CWnd* pParent) override {
    ::CoRegisterClassObject(CLSID_MeterColourPage, &m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_nCookie);
    SVUMeterInitParam param;
    param.nVUCount = 2;
    param.crBack = RGB(32, 32, 32);
    param.crFrame = RGB(10, 10, 10);
    m_meter.Create(WS_CHILD | WS_VISIBLE, CRect(262, 10, 298, 160), pParent, param);
    gallery::CMeterScale::Add(pParent, m_meter, ASDS_TEXTRIGHT, 28);
    const LPCWSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    m_pageWnd.Create(CLSID_MeterColourPage, &m_object, cls, WS_CHILD | WS_VISIBLE | WS_BORDER, pParent, 100);
    m_pageWnd.SetWindowPos(nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_symbols.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(330, 10, 630, 110), pParent, 101);
    const std::string folder = gallery::ResourceDir();
    if (!std::filesystem::is_directory(folder))
      std::fprintf(stderr, "parvane-gallery: dialogs page: no resource folder at %s\n", folder.c_str());
    m_files.Fill(CString::FromUtf8(folder.c_str()));
    m_files.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 180, 630, 390), pParent, 102);
  }

  void Tick(unsigned ms) override {
    const double t = ms / 1000.0;
    double dB[2] = {-30 + 28 * std::fabs(std::sin(t * 2.1)), -30 + 28 * std::fabs(std::sin(t * 2.1 - 0.5))};
    m_meter.SetDBValue(dB);
    // A hand edits the page early on: the preview follows each click at once.
    if (ms == 400 || ms == 900 || ms == 1400) ClickSwatch(ms == 900 ? 2 : 0);
  }

  std::vector<unsigned> SnapshotTimes() const override { return {200, 600, 1000, 1600}; }

  void Destroy() override {
    m_files.DestroyWindow();
    m_symbols.DestroyWindow();
    m_pageWnd.DestroyWindow();
    m_meter.DestroyWindow();
    ::CoRevokeClassObject(m_nCookie);
  }

 private:
  void ClickSwatch(int zone) {
    HWND page = m_pageWnd.GetSafeHwnd() ? ::GetWindow(m_pageWnd.GetSafeHwnd(), GW_CHILD) : nullptr;
    if (!page) return;
    const CPoint at = CColourPageWnd::SwatchRect(zone).CenterPoint();
    ::SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
    ::SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
  }

  CPreviewMeter m_meter;
  CMeterColours m_object{m_meter};
  CMeterColourPageFactory m_factory;
  DWORD m_nCookie = 0;
  COlePropPageWnd m_pageWnd;
  CSymbolsWnd m_symbols;
  CFileListWnd m_files;
};

}  // namespace

GALLERY_REGISTER_PAGE(CDialogsPage);
