// The property page host with a test page served through a registered class factory.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "ParvaneU.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;

namespace {

constexpr CLSID kTestPageClsid = {0x4a1c9e01, 0x1234, 0x4cde, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
constexpr CLSID kUnknownClsid = {0x4a1c9e02, 0x1234, 0x4cde, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

LPOLESTR TaskString(const wchar_t* s) {
  const std::size_t bytes = (std::wcslen(s) + 1) * sizeof(wchar_t);
  auto* p = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
  std::memcpy(p, s, bytes);
  return p;
}

// What the page was asked, and where it should fail.
struct PageScript {
  std::vector<std::string> calls;
  std::string failAt;
  IPropertyPageSite* site = nullptr;
  HWND parent = nullptr;
  RECT activateRect{}, lastMove{};
  BOOL modal = TRUE;
  int applies = 0;
  int live = 0;  // pages alive
};

class CTestPage final : public IPropertyPage {
 public:
  explicit CTestPage(PageScript& s) : m_s(s) { ++m_s.live; }
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPage)) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++m_ref; }
  ULONG Release() override {
    const ULONG n = --m_ref;
    if (n == 0) {
      m_s.calls.push_back("Destroyed");
      --m_s.live;
      delete this;
    }
    return n;
  }
  HRESULT SetPageSite(IPropertyPageSite* site) override {
    Log("SetPageSite");
    if (m_s.failAt == "SetPageSite") return E_FAIL;
    m_s.site = site;
    return S_OK;
  }
  HRESULT Activate(HWND parent, LPCRECT rect, BOOL modal) override {
    Log("Activate");
    m_s.parent = parent;
    m_s.activateRect = *rect;
    m_s.modal = modal;
    return m_s.failAt == "Activate" ? E_FAIL : S_OK;
  }
  HRESULT Deactivate() override {
    Log("Deactivate");
    return S_OK;
  }
  HRESULT GetPageInfo(PROPPAGEINFO* info) override {
    Log("GetPageInfo");
    if (m_s.failAt == "GetPageInfo") return E_FAIL;
    info->pszTitle = TaskString(L"Meter colours");
    info->pszDocString = TaskString(L"Zone colours of a meter");
    info->pszHelpFile = TaskString(L"meter.hlp");
    info->size = SIZE{220, 140};
    return S_OK;
  }
  HRESULT SetObjects(ULONG count, IUnknown** objects) override {
    Log("SetObjects" + std::to_string(count) + (objects && objects[0] ? "+" : "-"));
    return m_s.failAt == "SetObjects" ? E_FAIL : S_OK;
  }
  HRESULT Show(UINT cmd) override {
    Log("Show" + std::to_string(cmd));
    return S_OK;
  }
  HRESULT Move(LPCRECT rect) override {
    m_s.lastMove = *rect;
    return S_OK;
  }
  HRESULT IsPageDirty() override { return S_FALSE; }
  HRESULT Apply() override {
    ++m_s.applies;
    return S_OK;
  }
  HRESULT Help(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

 private:
  void Log(const std::string& s) { m_s.calls.push_back(s); }
  PageScript& m_s;
  ULONG m_ref = 1;
};

class CTestFactory : public IClassFactory {
 public:
  explicit CTestFactory(PageScript& s) : m_s(s) {}
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++m_ref; }
  ULONG Release() override { return --m_ref; }
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    m_s.calls.push_back("CreateInstance");
    auto* page = new CTestPage(m_s);
    const HRESULT hr = page->QueryInterface(riid, ppv);
    page->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
  ULONG m_ref = 0;

 private:
  PageScript& m_s;
};

// The object the page edits.
class CEdited : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
};

}  // namespace

class OlePropPageWndTest : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_EQ(::CoRegisterClassObject(kTestPageClsid, &m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie),
              S_OK);
  }
  void TearDown() override {
    if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
    EXPECT_EQ(::CoRevokeClassObject(m_cookie), S_OK);
    EXPECT_EQ(m_factory.m_ref, 0u);
    EXPECT_EQ(m_s.live, 0);
    HostWindowTest::TearDown();
  }
  BOOL Create(const wchar_t* cls = nullptr) {
    if (!cls) cls = AfxRegisterWndClass(0);
    return m_wnd.Create(kTestPageClsid, &m_edited, cls, WS_CHILD | WS_VISIBLE, &m_top, 42);
  }

  PageScript m_s;
  CTestFactory m_factory{m_s};
  CEdited m_edited;
  DWORD m_cookie = 0;
  COlePropPageWnd m_wnd;
};

TEST_F(OlePropPageWndTest, CreatesThePageBindsItAndShowsItInAWindowOfItsSize) {
  ASSERT_TRUE(Create());
  const std::vector<std::string> order = {"CreateInstance", "GetPageInfo", "SetPageSite", "SetObjects1+",
                                          "Activate",       "Show5"};
  EXPECT_EQ(m_s.calls, order);
  CRect rc;
  m_wnd.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 220);
  EXPECT_EQ(rc.Height(), 140);
  EXPECT_EQ(m_wnd.GetDlgCtrlID(), 42);
  CString text;
  m_wnd.GetWindowText(text);
  EXPECT_EQ(text, L"Meter colours");
  EXPECT_EQ(m_s.parent, m_wnd.GetSafeHwnd());
  EXPECT_EQ(CRect(m_s.activateRect), CRect(0, 0, 220, 140));
  EXPECT_FALSE(m_s.modal);
  EXPECT_NE(m_wnd.GetPropertyPage(), nullptr);
  EXPECT_STREQ(m_wnd.GetPageInfo()->pszDocString, L"Zone colours of a meter");
}

TEST_F(OlePropPageWndTest, EveryFailureLeavesNoPageAndNoWindow) {
  COlePropPageWnd other;
  EXPECT_FALSE(other.Create(kUnknownClsid, &m_edited, AfxRegisterWndClass(0), WS_CHILD, &m_top, 1));
  EXPECT_EQ(other.GetSafeHwnd(), nullptr);
  EXPECT_TRUE(m_s.calls.empty());
  for (const char* step : {"GetPageInfo", "SetPageSite", "SetObjects", "Activate"}) {
    m_s = PageScript{};
    m_s.failAt = step;
    EXPECT_FALSE(Create()) << step;
    EXPECT_EQ(m_wnd.GetSafeHwnd(), nullptr) << step;
    EXPECT_EQ(m_wnd.GetPropertyPage(), nullptr) << step;
    EXPECT_EQ(m_s.live, 0) << step;
    EXPECT_EQ(m_s.calls.back(), "Destroyed") << step;
  }
  // A failed window (unknown class) deactivates the page before releasing it.
  m_s = PageScript{};
  EXPECT_FALSE(Create(L"NoSuchWindowClass"));
  ASSERT_GE(m_s.calls.size(), 2u);
  EXPECT_EQ(m_s.calls[m_s.calls.size() - 2], "Deactivate");
  EXPECT_EQ(m_s.live, 0);
}

TEST_F(OlePropPageWndTest, DirtyPagesApplyAtOnceAndTheSiteAnswers) {
  ASSERT_TRUE(Create());
  IPropertyPageSite* site = m_s.site;
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->OnStatusChange(PROPPAGESTATUS_DIRTY), S_OK);
  EXPECT_EQ(m_s.applies, 1);
  EXPECT_EQ(site->OnStatusChange(PROPPAGESTATUS_VALIDATE), S_OK);
  EXPECT_EQ(m_s.applies, 1);
  EXPECT_EQ(site->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE), S_OK);
  EXPECT_EQ(m_s.applies, 2);

  LCID lcid = 0;
  EXPECT_EQ(site->GetLocaleID(&lcid), S_OK);
  EXPECT_EQ(lcid, ::GetThreadLocale());
  IUnknown* container = nullptr;
  EXPECT_EQ(site->GetPageContainer(&container), E_NOTIMPL);
  EXPECT_EQ(site->TranslateAccelerator(nullptr), E_NOTIMPL);

  // Reference counting and interfaces are the window's.
  const DWORD before = m_wnd.m_dwRef;
  void* pv = nullptr;
  EXPECT_EQ(site->QueryInterface(IID_IPropertyPageSite, &pv), S_OK);
  EXPECT_EQ(pv, site);
  EXPECT_EQ(m_wnd.m_dwRef, before + 1);
  EXPECT_EQ(site->QueryInterface(IID_IUnknown, &pv), S_OK);
  EXPECT_EQ(site->QueryInterface(IID_IPropertyPage, &pv), E_NOINTERFACE);
  EXPECT_EQ(pv, nullptr);
  EXPECT_EQ(site->AddRef(), before + 3);
  site->Release();
  site->Release();
  site->Release();
  EXPECT_EQ(m_wnd.m_dwRef, before);
}

TEST_F(OlePropPageWndTest, ResizeMovesThePageOverTheWholeClient) {
  ASSERT_TRUE(Create());
  m_wnd.MoveWindow(10, 20, 300, 180);
  EXPECT_EQ(CRect(m_s.lastMove), CRect(0, 0, 300, 180));
}

TEST_F(OlePropPageWndTest, DestroyReleasesThePageAndItsStringsAndCanCreateAgain) {
  ASSERT_TRUE(Create());
  m_wnd.DestroyWindow();
  EXPECT_EQ(m_s.calls[m_s.calls.size() - 2], "Deactivate");
  EXPECT_EQ(m_s.calls.back(), "Destroyed");
  EXPECT_EQ(m_wnd.GetPropertyPage(), nullptr);
  EXPECT_EQ(m_wnd.GetPageInfo()->pszTitle, nullptr);
  EXPECT_EQ(m_wnd.GetPageInfo()->pszHelpFile, nullptr);
  EXPECT_EQ(m_s.live, 0);
  m_s.calls.clear();
  ASSERT_TRUE(Create());
  EXPECT_EQ(m_s.calls.front(), "CreateInstance");
  EXPECT_EQ(m_s.live, 1);
}

TEST_F(OlePropPageWndTest, IsDynamicallyCreatable) {
  EXPECT_STREQ(RUNTIME_CLASS(COlePropPageWnd)->m_lpszClassName, "COlePropPageWnd");
  CCmdTarget* made = COlePropPageWnd::classCOlePropPageWnd.CreateObject();
  EXPECT_NE(dynamic_cast<COlePropPageWnd*>(made), nullptr);
  delete made;
}
