// Input state (capture, focus, cursor, keys) and routing of back-end input to windows.
#include <algorithm>
#include <cstdlib>

#include "winport/window/detail/Core.h"

using namespace winport::detail;

namespace {

HCURSOR g_cursor = nullptr;
bool g_keys[256] = {};

// The deepest visible window under a screen point in a z-ordered list; disabled children pass
// the point on to their parent, transparent windows to what lies below them.
HWND HitTest(const std::vector<HWND>& list, POINT screen) {
  for (HWND h : list) {
    auto w = Find(h);
    if (!w || !(w->style & WS_VISIBLE) || (w->exStyle & WS_EX_TRANSPARENT)) continue;
    RECT r = WindowRectOnScreen(*w);
    if (!PtInRect(&r, screen)) continue;
    bool child = (w->style & WS_CHILD) != 0;
    if (child && (w->style & WS_DISABLED)) continue;
    POINT o = ClientOriginOnScreen(*w);
    RECT c = ClientRectOf(*w);
    OffsetRect(&c, o.x, o.y);
    if (PtInRect(&c, screen))
      if (HWND deeper = HitTest(w->children, screen)) return deeper;
    return h;
  }
  return nullptr;
}

UINT KeyFlags() {
  UINT f = S().buttons;
  if (g_keys[VK_SHIFT]) f |= MK_SHIFT;
  if (g_keys[VK_CONTROL]) f |= MK_CONTROL;
  return f;
}

void PostInput(HWND target, UINT msg, WPARAM wp, LPARAM lp) {
  auto w = Find(target);
  if (!w) return;
  auto q = QueueOf(w->thread);
  if (!q) return;
  auto& s = S();
  Lock lock(s.mu);
  q->posted.push_back(MSG{target, msg, wp, lp, static_cast<DWORD>(Now()), s.cursor});
  Wake(*q);
}

LPARAM ClientLParam(HWND target, POINT screen) {
  ScreenToClient(target, &screen);
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x)), static_cast<WORD>(static_cast<SHORT>(screen.y)));
}

// The window that receives mouse input at the point, and whether it is the client area.
HWND MouseTarget(POINT screen, bool& client) {
  auto& s = S();
  Lock lock(s.mu);
  client = true;
  if (s.capture && Find(s.capture)) return s.capture;
  HWND h = HitTest(s.topLevels, screen);
  if (!h) return nullptr;
  auto w = Find(h);
  if (!(w->style & WS_CHILD) && (w->style & WS_DISABLED)) return nullptr;
  POINT o = ClientOriginOnScreen(*w);
  RECT c = ClientRectOf(*w);
  OffsetRect(&c, o.x, o.y);
  client = PtInRect(&c, screen) != 0;
  return h;
}

void SendSetCursor(HWND target, UINT mouseMsg) {
  if (GetCapture()) return;
  SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, static_cast<WORD>(mouseMsg)));
}

// The platform's own scroll bars answer clicks on their non-client area.
void ScrollBarClick(HWND target, POINT screen) {
  auto w = Find(target);
  if (!w) return;
  int bar;
  RECT c;
  {
    Lock lock(S().mu);
    POINT o = ClientOriginOnScreen(*w);
    c = ClientRectOf(*w);
    OffsetRect(&c, o.x, o.y);
  }
  if ((w->style & WS_VSCROLL) && screen.x >= c.right && screen.y < c.bottom) bar = SB_VERT;
  else if ((w->style & WS_HSCROLL) && screen.y >= c.bottom && screen.x < c.right) bar = SB_HORZ;
  else return;
  int pos = bar == SB_VERT ? screen.y - c.top : screen.x - c.left;
  int len = bar == SB_VERT ? c.bottom - c.top : c.right - c.left;
  const int arrow = 17;
  WPARAM code;
  if (pos < arrow) code = SB_LINEUP;
  else if (pos >= len - arrow) code = SB_LINEDOWN;
  else {
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(target, bar, &si);
    int range = std::max(si.nMax - si.nMin + 1, 1);
    int track = len - 2 * arrow;
    int thumbPos = arrow + static_cast<int>(static_cast<long long>(si.nPos - si.nMin) * track / range);
    code = pos < thumbPos ? SB_PAGEUP : SB_PAGEDOWN;
  }
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  PostInput(target, msg, code, 0);
  PostInput(target, msg, SB_ENDSCROLL, 0);
}

}  // namespace

namespace winport {

void InjectMouseMove(POINT screen) {
  auto& s = S();
  {
    Lock lock(s.mu);
    s.cursor = screen;
  }
  bool client;
  HWND target = MouseTarget(screen, client);
  if (!target || !client) return;
  SendSetCursor(target, WM_MOUSEMOVE);
  PostInput(target, WM_MOUSEMOVE, KeyFlags(), ClientLParam(target, screen));
}

void InjectMouseButton(POINT screen, int button, bool down) {
  if (button < 0 || button > 2) return;
  auto& s = S();
  static const UINT mk[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
  static const UINT downMsg[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static const UINT upMsg[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
  static const UINT dblMsg[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
  {
    Lock lock(s.mu);
    s.cursor = screen;
    if (down)
      s.buttons |= mk[button];
    else
      s.buttons &= ~mk[button];
  }
  bool client;
  HWND target = MouseTarget(screen, client);
  if (!target) return;
  if (!client) {
    if (down && button == 0) ScrollBarClick(target, screen);
    return;
  }
  UINT msg = down ? downMsg[button] : upMsg[button];
  if (down) {
    SendSetCursor(target, msg);
    Lock lock(s.mu);
    auto w = Find(target);
    std::uint64_t now = Now();
    bool dbl = w && w->cls && (w->cls->style & CS_DBLCLKS) && s.lastDownHwnd == target &&
               s.lastDownButton == button && now - s.lastDownTime < GetDoubleClickTime() &&
               std::abs(screen.x - s.lastDownPt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(screen.y - s.lastDownPt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (dbl) {
      msg = dblMsg[button];
      s.lastDownHwnd = nullptr;  // a third click starts over
    } else {
      s.lastDownHwnd = target;
      s.lastDownButton = button;
      s.lastDownTime = now;
      s.lastDownPt = screen;
    }
  }
  PostInput(target, msg, KeyFlags(), ClientLParam(target, screen));
}

void InjectWheel(POINT screen, int delta) {
  auto& s = S();
  {
    Lock lock(s.mu);
    s.cursor = screen;
  }
  // As with the other mouse input: the capture window, else the window under the pointer.
  bool client;
  HWND target = MouseTarget(screen, client);
  if (!target) return;
  PostInput(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(KeyFlags()), static_cast<WORD>(static_cast<SHORT>(delta))),
            MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

void InjectKey(UINT vk, bool down) {
  if (vk >= 256) return;
  g_keys[vk] = down;
  HWND target = GetFocus();
  if (!target) target = GetActiveWindow();
  if (!target) return;
  LPARAM lp = down ? 1 : static_cast<LPARAM>(0xC0000001u);
  PostInput(target, down ? WM_KEYDOWN : WM_KEYUP, vk, lp);
}

}  // namespace winport

HWND SetCapture(HWND hwnd) {
  auto& s = S();
  HWND old;
  {
    Lock lock(s.mu);
    old = s.capture;
    if (!Find(hwnd)) return old;
    s.capture = hwnd;
  }
  if (old && old != hwnd) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  auto& s = S();
  HWND old;
  {
    Lock lock(s.mu);
    old = s.capture;
    s.capture = nullptr;
  }
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  Lock lock(S().mu);
  return Find(S().capture) ? S().capture : nullptr;
}

HWND SetFocus(HWND hwnd) {
  auto& s = S();
  HWND old;
  {
    Lock lock(s.mu);
    old = Find(s.focus) ? s.focus : nullptr;
    if (hwnd && !Find(hwnd)) return nullptr;
    if (hwnd && !IsWindowEnabled(hwnd)) return nullptr;
    if (old == hwnd) return old;
    s.focus = hwnd;
    if (hwnd) s.active = TopLevelOf(hwnd);
  }
  if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && GetFocus() == hwnd) SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  Lock lock(S().mu);
  return Find(S().focus) ? S().focus : nullptr;
}

HWND GetActiveWindow() {
  Lock lock(S().mu);
  return Find(S().active) ? S().active : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  Lock lock(S().mu);
  HWND old = S().active;
  if (Find(hwnd)) S().active = TopLevelOf(hwnd);
  return old;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || IsWindow(hwnd) ? TRUE : FALSE; }

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  Lock lock(S().mu);
  *pt = S().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  {
    Lock lock(S().mu);
    S().cursor = POINT{x, y};
  }
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = g_cursor;
  g_cursor = cursor;
  return old;
}
HCURSOR GetCursor() { return g_cursor; }

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) {
  // Cursors are tokens: the back ends show their own arrow.
  return reinterpret_cast<HCURSOR>(const_cast<wchar_t*>(name));
}

short GetKeyState(int vk) {
  if (vk < 0 || vk >= 256) return 0;
  if (vk == VK_LBUTTON) return (S().buttons & MK_LBUTTON) ? static_cast<short>(0x8000) : 0;
  if (vk == VK_RBUTTON) return (S().buttons & MK_RBUTTON) ? static_cast<short>(0x8000) : 0;
  if (vk == VK_MBUTTON) return (S().buttons & MK_MBUTTON) ? static_cast<short>(0x8000) : 0;
  return g_keys[vk] ? static_cast<short>(0x8000) : 0;
}
short GetAsyncKeyState(int vk) { return GetKeyState(vk); }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) { return tme ? TRUE : FALSE; }

HWND WindowFromPoint(POINT screenPt) {
  Lock lock(S().mu);
  HWND h = HitTest(S().topLevels, screenPt);
  return h;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPt) {
  auto w = Find(parent);
  if (!w) return nullptr;
  Lock lock(S().mu);
  RECT c = ClientRectOf(*w);
  if (!PtInRect(&c, clientPt)) return nullptr;
  for (HWND h : w->children) {
    auto k = Find(h);
    if (k && PtInRect(&k->rect, clientPt)) return h;
  }
  return parent;
}
