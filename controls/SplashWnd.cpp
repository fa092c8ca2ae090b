#include "controls/SplashWnd.h"

#include <new>

#include "controls/SplashLogic.h"
#include "foundation/ControlClass.h"

namespace {
CControlClass s_class{0, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CSplashWnd* CSplashWnd::c_pSplashWnd = nullptr;
BOOL CSplashWnd::c_bShowSplashWnd = FALSE;
CFont CSplashWnd::m_fntShowText;
CRect CSplashWnd::m_rect;

CSplashWnd::CSplashWnd() = default;

CSplashWnd::~CSplashWnd() {
  if (c_pSplashWnd == this) c_pSplashWnd = nullptr;
}

void CSplashWnd::EnableSplashScreen(BOOL bEnable) { c_bShowSplashWnd = bEnable; }

void CSplashWnd::ShowSplashScreen(const wchar_t* lpszName, CWnd* pParentWnd, BOOL bFromFile) {
  ShowWith(lpszName, pParentWnd, bFromFile);
}

void CSplashWnd::ShowSplashScreen(UINT nID, CWnd* pParentWnd) {
  ShowWith(MAKEINTRESOURCEW(static_cast<WORD>(nID)), pParentWnd, FALSE);
}

void CSplashWnd::ShowWith(const wchar_t* lpszName, CWnd* pParentWnd, BOOL bFromFile) {
  if (!c_bShowSplashWnd || c_pSplashWnd) return;
  c_pSplashWnd = new (std::nothrow) CSplashWnd;
  if (!c_pSplashWnd) return;
  if (lpszName) {
    if (bFromFile) {
      if (!IS_INTRESOURCE(lpszName)) {
        HANDLE h = ::LoadImageW(nullptr, lpszName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
        if (h) c_pSplashWnd->m_bitmap.Attach(h);
      }
    } else {
      c_pSplashWnd->m_bitmap.LoadBitmap(lpszName);
    }
  }
  if (c_pSplashWnd->Create(pParentWnd)) {
    c_pSplashWnd->UpdateWindow();
  } else {
    // A window that was made and then failed has already deleted its object (PostNcDestroy),
    // which cleared the pointer; only an object that never got a window is left to delete.
    delete c_pSplashWnd;
  }
}

BOOL CSplashWnd::Create(CWnd* pParentWnd) {
  BITMAP bm{};
  SIZE size = splash::kDefaultSize;
  if (m_bitmap.GetSafeHandle() && m_bitmap.GetBitmap(&bm)) size = SIZE{bm.bmWidth, bm.bmHeight};
  m_rect.SetRect(0, 0, size.cx, size.cy);
  return CreateEx(WS_EX_TOPMOST, s_class.Name(), nullptr, WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, AfxHwndOf(pParentWnd),
                  nullptr);
}

int CSplashWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_fntShowText.DeleteObject();
  m_fntShowText.CreatePointFont(90, L"宋体");
  CenterWindow();
  CRect rc;
  GetWindowRect(&rc);
  const POINT pt = splash::Placement(rc, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(&wndTopMost, pt.x, pt.y, 0, 0, SWP_NOSIZE);
  SetTimer(LIFE_TIMER, LIFE_MS, nullptr);
  return 0;
}

void CSplashWnd::OnPaint() {
  CPaintDC dc(this);
  BITMAP bm{};
  if (m_bitmap.GetSafeHandle() && m_bitmap.GetBitmap(&bm)) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* pOld = mem.SelectObject(&m_bitmap);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&m_rect, 0xFF0000);
  }
}

void CSplashWnd::OnTimer(UINT_PTR) { HideSplashScreen(); }

void CSplashWnd::HideSplashScreen() {
  if (!GetSafeHwnd()) return;
  KillTimer(LIFE_TIMER);
  DestroyWindow();  // deletes this object
  if (CWnd* pMain = AfxGetMainWnd(); pMain && pMain->GetSafeHwnd()) pMain->UpdateWindow();
}

void CSplashWnd::OnDestroy() {
  KillTimer(LIFE_TIMER);
  CWnd::OnDestroy();
  m_fntShowText.DeleteObject();
  m_bitmap.DeleteObject();
}

void CSplashWnd::OnNcDestroy() { CWnd::OnNcDestroy(); }

void CSplashWnd::PostNcDestroy() { delete this; }

BOOL CSplashWnd::Show(int nCmdShow) { return c_pSplashWnd ? c_pSplashWnd->ShowWindow(nCmdShow) : FALSE; }

void CSplashWnd::DestroySplashScreen() {
  if (c_pSplashWnd) c_pSplashWnd->HideSplashScreen();
}

void CSplashWnd::ShowTitleMessage(CString strMessage, COLORREF crText) {
  CRect rcStrip = splash::MessageStrip(m_rect);
  CSplashWnd* pSplash = c_pSplashWnd;
  if (!pSplash || !pSplash->GetSafeHwnd()) return;
  pSplash->InvalidateRect(&rcStrip, TRUE);
  pSplash->UpdateWindow();
  CDC* pDC = pSplash->GetDC();
  if (!pDC) return;
  CFont* pOld = pDC->SelectObject(&m_fntShowText);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(crText);
  pDC->DrawText(strMessage, &rcStrip, DT_SINGLELINE);
  pDC->SelectObject(pOld);
  pSplash->ReleaseDC(pDC);
}

bool CSplashWnd::IsDismissing(UINT message) {
  switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return true;
    default: return false;
  }
}

BOOL CSplashWnd::PreTranslateAppMessage(MSG* pMsg) {
  if (!c_pSplashWnd || !pMsg || !IsDismissing(pMsg->message)) return FALSE;
  c_pSplashWnd->HideSplashScreen();
  return TRUE;
}

BOOL CSplashWnd::PreTranslateMessage(MSG* pMsg) { return PreTranslateAppMessage(pMsg); }
