#include "winport/window/CToolTipCtrl.h"

#include <algorithm>

#include "winport/gdi/Gdi32.h"
#include "winport/window/PaintDC.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kTrackTimer = 3;  // watches whether the pointer is still on the tool
constexpr UINT kTrackPeriod = 100;
constexpr UINT kTextChanged = WM_USER + 0x700;
constexpr int kPadX = 4, kPadY = 2;
constexpr COLORREF kBorder = RGB(118, 118, 118);

LPCWSTR TipClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = TOOLTIPS_CLASSW;
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
  return TOOLTIPS_CLASSW;
}

bool IsButtonDown(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}

}  // namespace

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl() {
  DestroyWindow();
  if (m_hFont) DeleteObject(m_hFont);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  if (!m_hFont)
    m_hFont = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  // Transparent to the hit test so the pointer keeps reaching the tool beneath the tip.
  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, TipClass(), L"",
                  WS_POPUP | (dwStyle & ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD)), 0, 0, 0, 0, AfxHwndOf(pParentWnd),
                  nullptr);
}

int CToolTipCtrl::FindTool(HWND hwnd, UINT_PTR id) const {
  for (std::size_t i = 0; i < m_tools.size(); ++i)
    if (m_tools[i].hwnd == hwnd && m_tools[i].id == id) return static_cast<int>(i);
  return -1;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  HWND h = AfxHwndOf(pWnd);
  if (!h) return FALSE;
  TOOLINFOW ti{sizeof(TOOLINFOW), 0, h, nIDTool, {0, 0, 0, 0}, nullptr, const_cast<LPWSTR>(lpszText), 0, nullptr};
  if (lpRectTool) ti.rect = *lpRectTool;
  if (nIDTool == 0) {
    ti.uFlags |= TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(h);
  }
  return static_cast<BOOL>(::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  HWND h = AfxHwndOf(pWnd);
  TOOLINFOW ti{sizeof(TOOLINFOW), 0, h, nIDTool ? nIDTool : reinterpret_cast<UINT_PTR>(h), {}, nullptr, nullptr, 0, nullptr};
  ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  if (!lpRect) return;
  TOOLINFOW ti{sizeof(TOOLINFOW), 0, AfxHwndOf(pWnd), nIDTool, *lpRect, nullptr, nullptr, 0, nullptr};
  ::SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  HWND h = AfxHwndOf(pWnd);
  bool changed = false;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    int i = FindTool(h, nIDTool ? nIDTool : reinterpret_cast<UINT_PTR>(h));
    if (i < 0) return;
    std::wstring text = lpszText && lpszText != LPSTR_TEXTCALLBACKW ? lpszText : L"";
    changed = m_tools[static_cast<std::size_t>(i)].text != text;
    m_tools[static_cast<std::size_t>(i)].text = std::move(text);
  }
  // Only thread-safe calls from here: the owner thread resizes / shows when it gets the post.
  if (changed && m_hWnd) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::PostMessageW(m_hWnd, kTextChanged, 0, 0);
  }
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  HWND h = AfxHwndOf(pWnd);
  std::lock_guard<std::mutex> lock(m_mutex);
  int i = FindTool(h, nIDTool ? nIDTool : reinterpret_cast<UINT_PTR>(h));
  str = i >= 0 ? m_tools[static_cast<std::size_t>(i)].text.c_str() : L"";
}

int CToolTipCtrl::GetToolCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return static_cast<int>(m_tools.size());
}

void CToolTipCtrl::Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
void CToolTipCtrl::SetDelayTime(UINT nDelay) { ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
  ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(static_cast<WORD>(iTime), 0));
}
int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const {
  return static_cast<int>(::SendMessageW(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0));
}
void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
  if (lpMsg) ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}
void CToolTipCtrl::Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }

std::wstring CToolTipCtrl::TextOf(int index) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (index < 0 || index >= static_cast<int>(m_tools.size())) return {};
  return m_tools[static_cast<std::size_t>(index)].text;
}

int CToolTipCtrl::ToolAt(HWND hwnd, POINT client) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (std::size_t i = 0; i < m_tools.size(); ++i) {
    const Tool& t = m_tools[i];
    if (t.hwnd != hwnd) continue;
    RECT r = t.rect;
    if (t.flags & TTF_IDISHWND) ::GetClientRect(hwnd, &r);
    if (PtInRect(&r, client)) return static_cast<int>(i);
  }
  return -1;
}

bool CToolTipCtrl::PointerOnTool(int index) const {
  HWND hwnd;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_tools.size())) return false;
    hwnd = m_tools[static_cast<std::size_t>(index)].hwnd;
  }
  POINT p;
  ::GetCursorPos(&p);
  if (::WindowFromPoint(p) != hwnd) return false;
  ::ScreenToClient(hwnd, &p);
  return ToolAt(hwnd, p) == index;
}

void CToolTipCtrl::StartWaiting(UINT delay) {
  m_state = State::waiting;
  ::SetTimer(m_hWnd, kShowTimer, delay, nullptr);
  ::SetTimer(m_hWnd, kTrackTimer, kTrackPeriod, nullptr);
}

void CToolTipCtrl::OnRelay(const MSG& msg) {
  if (!m_bActive) return;
  if (IsButtonDown(msg.message)) {
    if (m_state != State::idle) Hide(State::popped);
    return;
  }
  if (msg.message != WM_MOUSEMOVE) return;
  POINT client{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  int tool = ToolAt(msg.hwnd, client);
  bool moved = client.x != m_lastPoint.x || client.y != m_lastPoint.y;
  m_lastPoint = client;
  if (tool == m_current && tool >= 0) {
    // The pointer has to rest: a move restarts the wait.
    if (m_state == State::waiting && moved) StartWaiting(m_initial);
    if (m_state == State::idle) StartWaiting(m_initial);
    return;
  }
  bool wasShown = m_state == State::shown;
  if (m_state != State::idle) Hide(State::idle);
  m_current = tool;
  if (tool >= 0) StartWaiting(wasShown ? m_reshow : m_initial);
}

void CToolTipCtrl::OnTimerTick(UINT_PTR id) {
  if (id == kShowTimer) {
    ::KillTimer(m_hWnd, kShowTimer);
    if (m_state != State::waiting) return;
    if (!PointerOnTool(m_current)) {
      Hide(State::idle);
      return;
    }
    if (TextOf(m_current).empty()) {
      m_state = State::ready;  // shows as soon as the tool gets a text
      return;
    }
    Show();
  } else if (id == kPopTimer) {
    ::KillTimer(m_hWnd, kPopTimer);
    if (m_state == State::shown) Hide(State::popped);
  } else if (id == kTrackTimer) {
    if (m_state == State::idle || !PointerOnTool(m_current)) {
      Hide(State::idle);
      m_current = -1;
    }
  }
}

void CToolTipCtrl::FitToText() {
  std::wstring text = TextOf(m_current);
  SIZE ext{0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, m_hFont);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ext);
  SelectObject(dc, old);
  DeleteDC(dc);
  int cx = ext.cx + 2 * kPadX + 2, cy = ext.cy + 2 * kPadY + 2;
  RECT r;
  ::GetWindowRect(m_hWnd, &r);
  ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void CToolTipCtrl::Show() {
  POINT p;
  ::GetCursorPos(&p);
  int x = p.x, y = p.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
  FitToText();
  RECT r;
  ::GetWindowRect(m_hWnd, &r);
  int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
  int w = r.right - r.left, h = r.bottom - r.top;
  x = std::max(0, std::min(x, sx - w));
  if (y + h > sy) y = p.y - h - 2;
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, std::max(0, y), 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  m_state = State::shown;
  ::SetTimer(m_hWnd, kPopTimer, m_autopop, nullptr);
  ::SetTimer(m_hWnd, kTrackTimer, kTrackPeriod, nullptr);
}

void CToolTipCtrl::Hide(State next) {
  ::KillTimer(m_hWnd, kShowTimer);
  ::KillTimer(m_hWnd, kPopTimer);
  if (next == State::idle) ::KillTimer(m_hWnd, kTrackTimer);
  if (::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_HIDE);
  m_state = next;
}

void CToolTipCtrl::Paint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, GetSysColor(COLOR_INFOBK));
  dc.Draw3dRect(&rc, kBorder, kBorder);
  std::wstring text = TextOf(m_current);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, m_hFont);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
  ::TextOutW(dc.m_hDC, 1 + kPadX, 1 + kPadY, text.c_str(), static_cast<int>(text.size()));
  ::SelectObject(dc.m_hDC, old);
}

LRESULT CToolTipCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TTM_ACTIVATE:
      m_bActive = wParam ? TRUE : FALSE;
      if (!m_bActive && m_state != State::idle) Hide(State::idle);
      return 0;
    case TTM_SETDELAYTIME: {
      int t = static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam)));
      UINT v = t < 0 ? GetDoubleClickTime() : static_cast<UINT>(t);
      switch (wParam) {
        case TTDT_AUTOMATIC:
          m_initial = v;
          m_autopop = v * 10;
          m_reshow = v / 5;
          break;
        case TTDT_INITIAL: m_initial = t < 0 ? GetDoubleClickTime() : v; break;
        case TTDT_AUTOPOP: m_autopop = t < 0 ? GetDoubleClickTime() * 10 : v; break;
        case TTDT_RESHOW: m_reshow = t < 0 ? GetDoubleClickTime() / 5 : v; break;
        default: break;
      }
      return 0;
    }
    case TTM_GETDELAYTIME:
      return wParam == TTDT_AUTOPOP ? m_autopop : wParam == TTDT_RESHOW ? m_reshow : m_initial;
    case TTM_ADDTOOLW: {
      auto* ti = reinterpret_cast<const TOOLINFOW*>(lParam);
      if (!ti || !ti->hwnd) return FALSE;
      std::lock_guard<std::mutex> lock(m_mutex);
      std::wstring text = ti->lpszText && ti->lpszText != LPSTR_TEXTCALLBACKW ? ti->lpszText : L"";
      if (int i = FindTool(ti->hwnd, ti->uId); i >= 0) m_tools.erase(m_tools.begin() + i);
      m_tools.push_back(Tool{ti->hwnd, ti->uId, ti->uFlags, ti->rect, std::move(text)});
      return TRUE;
    }
    case TTM_DELTOOLW: {
      auto* ti = reinterpret_cast<const TOOLINFOW*>(lParam);
      if (!ti) return 0;
      int i;
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        i = FindTool(ti->hwnd, ti->uId);
        if (i >= 0) m_tools.erase(m_tools.begin() + i);
      }
      if (i >= 0 && i == m_current) {
        Hide(State::idle);
        m_current = -1;
      } else if (i >= 0 && i < m_current) {
        --m_current;
      }
      return 0;
    }
    case TTM_NEWTOOLRECTW: {
      auto* ti = reinterpret_cast<const TOOLINFOW*>(lParam);
      if (!ti) return 0;
      std::lock_guard<std::mutex> lock(m_mutex);
      if (int i = FindTool(ti->hwnd, ti->uId); i >= 0) m_tools[static_cast<std::size_t>(i)].rect = ti->rect;
      return 0;
    }
    case TTM_UPDATETIPTEXTW: {
      auto* ti = reinterpret_cast<const TOOLINFOW*>(lParam);
      if (ti) UpdateTipText(ti->lpszText, CWnd::FromHandle(ti->hwnd), ti->uId);
      return 0;
    }
    case TTM_GETTEXTW: {
      auto* ti = reinterpret_cast<TOOLINFOW*>(lParam);
      if (!ti || !ti->lpszText) return 0;
      std::lock_guard<std::mutex> lock(m_mutex);
      int i = FindTool(ti->hwnd, ti->uId);
      std::wstring t = i >= 0 ? m_tools[static_cast<std::size_t>(i)].text : L"";
      std::copy(t.begin(), t.end(), ti->lpszText);
      ti->lpszText[t.size()] = 0;
      return static_cast<LRESULT>(t.size());
    }
    case TTM_GETTOOLCOUNT:
      return GetToolCount();
    case TTM_RELAYEVENT:
      if (lParam) OnRelay(*reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_POP:
      if (m_state != State::idle) Hide(State::popped);
      return 0;
    case kTextChanged:
      if (m_state == State::shown) {
        if (TextOf(m_current).empty()) {
          Hide(State::ready);
        } else {
          FitToText();
          ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
      } else if (m_state == State::ready && !TextOf(m_current).empty() && PointerOnTool(m_current)) {
        Show();
      }
      return 0;
    case WM_TIMER:
      OnTimerTick(static_cast<UINT_PTR>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
