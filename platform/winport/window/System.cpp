// System metrics and colours, and the scroll-bar state of WS_HSCROLL / WS_VSCROLL windows.
#include <algorithm>

#include "winport/window/ScrollBarParts.h"
#include "winport/window/detail/Core.h"

using namespace winport::detail;

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN: return winport::CurrentBackend().ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN: return winport::CurrentBackend().ScreenSize().cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CYCAPTION: return 23;
    case SM_CYMENU: return 20;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR: return RGB(200, 200, 200);
    case COLOR_BACKGROUND: return RGB(0, 0, 0);
    case COLOR_ACTIVECAPTION: return RGB(153, 180, 209);
    case COLOR_INACTIVECAPTION: return RGB(191, 205, 219);
    case COLOR_MENU: return RGB(240, 240, 240);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(100, 100, 100);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(0, 0, 0);
    case COLOR_ACTIVEBORDER: return RGB(180, 180, 180);
    case COLOR_INACTIVEBORDER: return RGB(244, 247, 252);
    case COLOR_APPWORKSPACE: return RGB(171, 171, 171);
    case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_GRAYTEXT: return RGB(109, 109, 109);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
    case COLOR_3DLIGHT: return RGB(227, 227, 227);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    case COLOR_HOTLIGHT: return RGB(0, 102, 204);
    default: return 0;
  }
}

BOOL MessageBeep(UINT) { return TRUE; }

namespace {

ScrollState* StateOf(Window& w, int bar) {
  if (bar == SB_HORZ) return &w.scroll[0];
  if (bar == SB_VERT) return &w.scroll[1];
  return nullptr;
}

int ClampPos(const ScrollState& s, int pos) {
  return winport::ClampBarPos(winport::BarRange{s.nMin, s.nMax, s.nPage, s.nPos}, pos);
}

// The page never exceeds the range, whichever of the two was set last.
UINT FitPage(const ScrollState& s, UINT page) {
  const long long span = static_cast<long long>(s.nMax) - s.nMin + 1;
  return static_cast<UINT>(std::min<long long>(page, span));
}

void RedrawBar(HWND hwnd, BOOL redraw) {
  if (redraw) winport::detail::MarkPresent(hwnd);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  auto w = Find(hwnd);
  if (!w || !info) return 0;
  int pos;
  {
    Lock lock(S().mu);
    ScrollState* s = StateOf(*w, bar);
    if (!s) return 0;
    if (info->fMask & SIF_RANGE) {
      s->nMin = info->nMin;
      s->nMax = std::max(info->nMax, info->nMin);
    }
    s->nPage = FitPage(*s, (info->fMask & SIF_PAGE) ? info->nPage : s->nPage);
    if (info->fMask & SIF_POS) s->nPos = info->nPos;
    s->nPos = ClampPos(*s, s->nPos);
    pos = s->nPos;
  }
  RedrawBar(hwnd, redraw);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  auto w = Find(hwnd);
  if (!w || !info) return FALSE;
  Lock lock(S().mu);
  ScrollState* s = StateOf(*w, bar);
  if (!s) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->nMin;
    info->nMax = s->nMax;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->nPage;
  if (info->fMask & SIF_POS) info->nPos = s->nPos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->tracking ? s->nTrackPos : s->nPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  auto w = Find(hwnd);
  if (!w) return 0;
  int old;
  {
    Lock lock(S().mu);
    ScrollState* s = StateOf(*w, bar);
    if (!s) return 0;
    old = s->nPos;
    s->nPos = ClampPos(*s, pos);
  }
  RedrawBar(hwnd, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  auto w = Find(hwnd);
  if (!w) return 0;
  Lock lock(S().mu);
  ScrollState* s = StateOf(*w, bar);
  return s ? s->nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si{sizeof(si), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  if (!Find(hwnd)) return FALSE;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  SCROLLINFO si{sizeof(si), SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : 0;
  if (!bits) return FALSE;
  DWORD style = w->style;
  DWORD next = show ? (style | bits) : (style & ~bits);
  if (next == style) return TRUE;
  {
    Lock lock(S().mu);
    w->style = next;
  }
  RECT r = w->rect;
  // The client area changes: resize the surface and tell the window.
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
  RECT c;
  GetClientRect(hwnd, &c);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom)));
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  Lock lock(S().mu);
  for (int b = 0; b < 2; ++b)
    if (bar == SB_BOTH || static_cast<int>(bar) == b) w->scroll[b].enabled = arrows == ESB_ENABLE_BOTH;
  return TRUE;
}
