#include "winport/window/CWnd.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "winport/gdi/CDC.h"
#include "winport/gdi/CFont.h"
#include "winport/gdi/CRgn.h"
#include "winport/window/ScrollBarParts.h"
#include "winport/window/detail/Core.h"

namespace {

struct HandleMaps {
  std::recursive_mutex mu;
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

HandleMaps& Maps() {
  static HandleMaps* maps = new HandleMaps();
  return *maps;
}

// A wrapper for a window no CWnd owns; it never destroys the window.
struct TemporaryWnd : CWnd {
  ~TemporaryWnd() override { m_hWnd = nullptr; }
};

thread_local CWnd* t_pWndInit = nullptr;
thread_local MSG t_currentMsg{};

void AttachPermanent(CWnd* wnd, HWND hwnd) {
  auto& m = Maps();
  std::lock_guard<std::recursive_mutex> lock(m.mu);
  m.permanent[hwnd] = wnd;
  m.temporary.erase(hwnd);
  wnd->m_hWnd = hwnd;
}

void DetachPermanent(HWND hwnd) {
  auto& m = Maps();
  std::lock_guard<std::recursive_mutex> lock(m.mu);
  m.permanent.erase(hwnd);
}

void TakeOverProc(CWnd* wnd, HWND hwnd) {
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWL_WNDPROC));
  if (proc != &AfxWndProc) {
    wnd->m_pfnSuper = proc;
    SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
  }
}

void OnCoreCreate(HWND hwnd) {
  CWnd* wnd = t_pWndInit;
  if (!wnd) return;
  t_pWndInit = nullptr;
  AttachPermanent(wnd, hwnd);
  TakeOverProc(wnd, hwnd);
  wnd->PreSubclassWindow();
}

void OnCoreDestroyed(HWND hwnd) {
  auto& m = Maps();
  std::unique_ptr<CWnd> temp;
  std::lock_guard<std::recursive_mutex> lock(m.mu);
  if (auto it = m.temporary.find(hwnd); it != m.temporary.end()) {
    temp = std::move(it->second);
    m.temporary.erase(it);
  }
  // A window whose object no longer routed its messages: forget the handle all the same.
  if (auto it = m.permanent.find(hwnd); it != m.permanent.end()) {
    it->second->m_hWnd = nullptr;
    m.permanent.erase(it);
  }
}

struct HookInstaller {
  HookInstaller() { winport::detail::SetFrameworkHooks(&OnCoreCreate, &OnCoreDestroyed); }
};
const HookInstaller g_hooks;

}  // namespace

LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
  if (!wnd) return DefWindowProcW(hWnd, message, wParam, lParam);
  MSG saved = t_currentMsg;
  t_currentMsg = MSG{hWnd, message, wParam, lParam, GetTickCount(), {}};
  LRESULT r = wnd->WindowProc(message, wParam, lParam);
  t_currentMsg = saved;
  if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd) {
    DetachPermanent(hWnd);
    wnd->m_hWnd = nullptr;
    wnd->PostNcDestroy();  // may delete the object
  }
  return r;
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
  if (!pMsg) return FALSE;
  for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
    if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return FALSE;
}

BOOL AfxPumpMessage() {
  MSG msg;
  if (!::GetMessageW(&msg, nullptr, 0, 0)) return FALSE;
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}

CWnd* AfxWndFromHandle(HWND hwnd) { return CWnd::FromHandle(hwnd); }
CDC* AfxDCFromHandle(HDC hdc) { return hdc ? CDC::FromHandle(hdc) : nullptr; }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
  return &map;
}
const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::CWnd() { (void)g_hooks; }

const CWnd CWnd::wndTop(SpecialHandle{}, HWND_TOP);
const CWnd CWnd::wndBottom(SpecialHandle{}, HWND_BOTTOM);
const CWnd CWnd::wndTopMost(SpecialHandle{}, HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(SpecialHandle{}, HWND_NOTOPMOST);

CWnd::~CWnd() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    ::DestroyWindow(m_hWnd);
    if (m_hWnd) DetachPermanent(m_hWnd);
  }
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  auto& m = Maps();
  std::lock_guard<std::recursive_mutex> lock(m.mu);
  auto it = m.permanent.find(hWnd);
  return it == m.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (CWnd* p = FromHandlePermanent(hWnd)) return p;
  if (!::IsWindow(hWnd)) return nullptr;
  auto& m = Maps();
  std::lock_guard<std::recursive_mutex> lock(m.mu);
  auto& slot = m.temporary[hWnd];
  if (!slot) {
    slot = std::make_unique<TemporaryWnd>();
    slot->m_hWnd = hWnd;
  }
  return slot.get();
}

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
  AttachPermanent(this, hWnd);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) DetachPermanent(h);
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  TakeOverProc(this, hWnd);
  return TRUE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) SetWindowLongPtrW(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

const MSG* CWnd::GetCurrentMessage() { return &t_currentMsg; }

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  return TRUE;
}

namespace {
// A side of a caller's rectangle, saturated: corners at the int limits must not wrap the size.
int Extent(LONG from, LONG to) {
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(to) - from, INT_MIN, INT_MAX));
}
}  // namespace

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  Extent(rect.left, rect.right), Extent(rect.top, rect.bottom), AfxHwndOf(pParentWnd),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  Extent(rect.left, rect.right), Extent(rect.top, rect.bottom), AfxHwndOf(pParentWnd),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd) return FALSE;  // one window per object
  CREATESTRUCT cs{lpParam,     AfxGetInstanceHandle(), nIDorHMenu,    hWndParent,    nHeight, nWidth, y, x,
                  static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  CWnd* previous = t_pWndInit;
  t_pWndInit = this;
  HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                             cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (t_pWndInit == this) {
    // The class was unknown or the parent invalid: no window, no messages.
    t_pWndInit = previous;
    return FALSE;
  }
  t_pWndInit = previous;
  return h ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd) return 0;
  if (m_pfnSuper && m_pfnSuper != &AfxWndProc) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    if (!lParam) return FALSE;
    if (!OnNotify(wParam, lParam, &r)) return FALSE;
    if (pResult) *pResult = r;
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), message, 0, 0);
  if (!e) return FALSE;
  e->pfn(this, wParam, lParam, &r);
  if (pResult) *pResult = r;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  int nCode = HIWORD(wParam);
  // A control's command may be handled by the control itself first.
  if (lParam) {
    CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    LRESULT r = 0;
    if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &r)) return TRUE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (!hdr) return FALSE;
  if (CWnd* child = FromHandlePermanent(hdr->hwndFrom)) {
    if (child != this && child->OnChildNotify(WM_NOTIFY, 0, lParam, pResult)) return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e =
      FindMessageEntry(GetMessageMap(), WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom));
  if (!e) return FALSE;
  LRESULT r = 0;
  e->pfn(this, 0, lParam, &r);
  if (pResult) *pResult = r;
  return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_NOTIFY || !lParam) return FALSE;
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0);
  if (!e) return FALSE;
  LRESULT r = 0;
  e->pfn(this, 0, lParam, &r);
  if (pResult) *pResult = r;
  return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::Default() {
  const MSG& m = t_currentMsg;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return m_hWnd ? ::PostMessageW(m_hWnd, message, wParam, lParam) : FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    ::SendMessageW(h, message, wParam, lParam);
    if (bDeep)
      if (CWnd* c = FromHandle(h)) c->SendMessageToDescendants(message, wParam, lParam, TRUE);
  }
}

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (lpRect && !::GetClientRect(m_hWnd, lpRect)) *lpRect = RECT{0, 0, 0, 0};
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
  if (lpRect && !::GetWindowRect(m_hWnd, lpRect)) *lpRect = RECT{0, 0, 0, 0};
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const {
  if (!lpRect) return;
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const {
  if (!lpRect) return;
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, AfxHwndOf(pwndTo), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, AfxHwndOf(pwndTo), reinterpret_cast<LPPOINT>(lpRect), lpRect ? 2 : 0);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, AfxHwndOf(pWndInsertAfter), x, y, cx, cy, nFlags);
}
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
  if (lpRect)
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, Extent(lpRect->left, lpRect->right),
                 Extent(lpRect->top, lpRect->bottom), bRepaint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  if (!m_hWnd) return;
  RECT me;
  ::GetWindowRect(m_hWnd, &me);
  HWND around = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetParent(m_hWnd);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  bool child = (GetStyle() & WS_CHILD) != 0;
  if (child) {
    ::GetClientRect(::GetParent(m_hWnd), &area);
  } else if (around && ::IsWindowVisible(around)) {
    ::GetWindowRect(around, &area);
  }
  int w = me.right - me.left, h = me.bottom - me.top;
  int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop() { ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, AfxHwndOf(pWndNewParent))); }

CWnd* CWnd::GetOwner() const {
  auto w = winport::detail::Find(m_hWnd);
  if (!w) return nullptr;
  HWND owner = w->owner;
  if (!owner && (w->style & WS_CHILD)) owner = w->parent;  // a child's owner is its parent by default
  return FromHandle(owner);
}

void CWnd::SetOwner(CWnd* pOwnerWnd) {
  if (auto w = winport::detail::Find(m_hWnd)) {
    std::lock_guard<std::recursive_mutex> lock(winport::detail::S().mu);
    w->owner = AfxHwndOf(pOwnerWnd);
  }
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND top = winport::detail::TopLevelOf(m_hWnd);
  return FromHandle(top);
}

CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, AfxHwndOf(pWnd)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWL_ID, nID)); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }

static BOOL ModifyStyleImpl(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
  if (!hwnd) return FALSE;
  DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
  DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLongPtrW(hwnd, index, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleImpl(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleImpl(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
  return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthW(m_hWnd);
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  ::GetWindowTextW(m_hWnd, buf.data(), n + 1);
  rString = buf.c_str();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}
CFont* CWnd::GetFont() const {
  auto h = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  return h ? CFont::FromHandle(h) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void (*lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
  return m_hWnd ? ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer) : 0;
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return m_hWnd ? ::KillTimer(m_hWnd, nIDEvent) : FALSE; }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
  return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? static_cast<HRGN>(prgnUpdate->m_hObject) : nullptr, flags);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
CDC* CWnd::GetDC() {
  HDC dc = ::GetDC(m_hWnd);
  return dc ? CDC::FromHandle(dc) : nullptr;
}
CDC* CWnd::GetWindowDC() {
  HDC dc = ::GetWindowDC(m_hWnd);
  return dc ? CDC::FromHandle(dc) : nullptr;
}
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }
void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
  ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
void CWnd::SetRedraw(BOOL bRedraw) { ::SendMessageW(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
BOOL CWnd::EnableToolTips(BOOL bEnable) {
  m_bToolTipsEnabled = bEnable;
  return TRUE;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  if (!m_hWnd || !lpScrollInfo) return FALSE;
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  if (!lpScrollInfo) return FALSE;
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}
int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  if (!::GetScrollInfo(m_hWnd, nBar, &info)) return 0;
  return winport::BarLimit(winport::BarRange{info.nMin, info.nMax, info.nPage, 0});
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
  ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
