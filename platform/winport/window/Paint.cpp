// The paint cycle (update region, BeginPaint/EndPaint, erase), window DCs, scrolling of window
// contents, and the default window procedure.
#include <algorithm>
#include <cstring>
#include <utility>

#include "winport/window/detail/Core.h"

using namespace winport::detail;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) return FALSE;
  auto w = Find(hwnd);
  if (!w) return FALSE;
  Lock lock(S().mu);
  InvalidateLocked(*w, rect, erase != FALSE, true);
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN, BOOL erase) { return InvalidateRect(hwnd, nullptr, erase); }

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  Lock lock(S().mu);
  if (rect)
    w->update.Subtract(winport::Region(*rect));
  else
    w->update.Clear();
  if (w->update.Empty()) w->erase = false;
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  RECT u;
  {
    Lock lock(S().mu);
    u = w->update.Bounds();
  }
  if (rect) *rect = u;
  if (erase && !IsRectEmpty(&u)) RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW);
  return IsRectEmpty(&u) ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  bool paint;
  std::vector<HWND> kids;
  {
    Lock lock(S().mu);
    paint = NeedsPaint(*w);
    w->internalPaint = false;
    kids = w->children;
  }
  if (paint) SendMessageW(hwnd, WM_PAINT, 0, 0);
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) UpdateWindow(*it);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  {
    Lock lock(S().mu);
    bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE) InvalidateLocked(*w, rect, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (flags & RDW_NOERASE) w->erase = false;
  }
  if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
  if (flags & RDW_UPDATENOW) {
    UpdateWindow(hwnd);
  } else if (flags & RDW_ERASENOW) {
    bool erase;
    {
      Lock lock(S().mu);
      erase = w->erase && !w->update.Empty();
    }
    if (erase) {
      HDC dc = GetDC(hwnd);
      if (SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) {
        Lock lock(S().mu);
        w->erase = false;
      }
      ReleaseDC(hwnd, dc);
    }
  }
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  auto w = Find(hwnd);
  if (!w || !ps) return nullptr;
  std::memset(ps, 0, sizeof(*ps));
  winport::Region update;
  bool erase;
  std::shared_ptr<winport::Surface> surface;
  {
    Lock lock(S().mu);
    update = std::move(w->update);
    w->update.Clear();
    erase = w->erase;
    w->erase = false;
    w->internalPaint = false;
    surface = w->surface;
  }
  // The DC draws only where the window was invalid; rcPaint is the region's bounding box.
  ps->rcPaint = update.Bounds();
  HDC dc = CreateWindowDC(surface, &update);
  ps->hdc = dc;
  ps->fErase = FALSE;
  if (erase) ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) DeleteWindowDC(ps->hdc);
  // The DC drew only within the update region, whose bounds rcPaint holds.
  if (IsWindow(hwnd)) MarkPresent(hwnd, ps ? &ps->rcPaint : nullptr);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w) return nullptr;
  std::shared_ptr<winport::Surface> surface;
  {
    Lock lock(S().mu);
    surface = w->surface;
  }
  return CreateWindowDC(surface, nullptr);
}

HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int ReleaseDC(HWND hwnd, HDC hdc) {
  if (!hdc) return 0;
  DeleteWindowDC(hdc);
  if (IsWindow(hwnd)) MarkPresent(hwnd);
  return 1;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN, LPRECT updateRect,
                   UINT flags) {
  auto w = Find(hwnd);
  if (!w) return 0;
  // Offsets saturate; with client rectangles within +-2^29 every sum below then fits int.
  dx = winport::SatCoord(dx);
  dy = winport::SatCoord(dy);
  std::vector<HWND> moveKids;
  RECT uncoveredAll{0, 0, 0, 0};
  {
    Lock lock(S().mu);
    RECT client = ClientRectOf(*w);
    RECT area = client;
    if (scroll && !IntersectRect(&area, scroll, &client)) return 1;
    RECT bound = area;
    if (clip && !IntersectRect(&bound, clip, &area)) return 1;
    winport::Surface& sf = *w->surface;
    winport::Surface copy = sf;
    // Every destination pixel inside the bound takes the source pixel from within the area
    // (only the pixels the surface holds: a client may be larger than its surface).
    const int yEnd = std::min<int>(bound.bottom, sf.Height()), xEnd = std::min<int>(bound.right, sf.Width());
    for (int y = std::max<int>(bound.top, 0); y < yEnd; ++y) {
      int sy = y - dy;
      for (int x = std::max<int>(bound.left, 0); x < xEnd; ++x) {
        int sx = x - dx;
        if (sx >= area.left && sx < area.right && sy >= area.top && sy < area.bottom) sf.Set(x, y, copy.At(sx, sy));
      }
    }
    // Uncovered strips of the bound.
    RECT strips[2] = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    if (dx > 0) strips[0] = RECT{bound.left, bound.top, std::min(bound.right, area.left + dx), bound.bottom};
    if (dx < 0) strips[0] = RECT{std::max(bound.left, area.right + dx), bound.top, bound.right, bound.bottom};
    if (dy > 0) strips[1] = RECT{bound.left, bound.top, bound.right, std::min(bound.bottom, area.top + dy)};
    if (dy < 0) strips[1] = RECT{bound.left, std::max(bound.top, area.bottom + dy), bound.right, bound.bottom};
    // An invalid part that moved moves with the pixels (and stays invalid where it was).
    if (!w->update.Empty()) {
      winport::Region moved = w->update;
      moved.Offset(dx, dy);
      moved.Intersect(bound);
      w->update.Union(moved);
    }
    bool erase = (flags & SW_ERASE) != 0;
    for (RECT& r : strips) {
      if (IsRectEmpty(&r)) continue;
      UnionRect(&uncoveredAll, &uncoveredAll, &r);
      if (flags & SW_INVALIDATE) InvalidateLocked(*w, &r, erase, false);
    }
    if (flags & SW_SCROLLCHILDREN) moveKids = w->children;
  }
  for (HWND k : moveKids) {
    auto c = Find(k);
    if (!c) continue;
    RECT r = c->rect;
    SetWindowPos(k, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (updateRect) *updateRect = uncoveredAll;
  MarkPresent(hwnd);
  return IsRectEmpty(&uncoveredAll) ? 1 : 2;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clipRect) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (rect ? 0u : static_cast<UINT>(SW_SCROLLCHILDREN));
  return ScrollWindowEx(hwnd, dx, dy, rect, clipRect, nullptr, nullptr, flags) ? TRUE : FALSE;
}

namespace {

HBRUSH BrushOf(HBRUSH b) {
  // A system colour index + 1 stands for that colour's brush, as in class registration.
  auto v = reinterpret_cast<std::uintptr_t>(b);
  if (v > 0 && v <= 31) return GetSysColorBrush(static_cast<int>(v - 1));
  return b;
}

LRESULT NcHitTest(HWND hwnd, LPARAM lp) {
  auto w = Find(hwnd);
  if (!w) return HTNOWHERE;
  Lock lock(S().mu);
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  RECT wr = WindowRectOnScreen(*w);
  if (!PtInRect(&wr, p)) return HTNOWHERE;
  POINT o = ClientOriginOnScreen(*w);
  RECT c = ClientRectOf(*w);
  OffsetRect(&c, o.x, o.y);
  if (PtInRect(&c, p)) return HTCLIENT;
  if ((w->style & WS_VSCROLL) && p.x >= c.right && p.y < c.bottom) return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && p.y >= c.bottom && p.x < c.right) return HTHSCROLL;
  return HTBORDER;
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH b = w->cls ? BrushOf(w->cls->background) : nullptr;
      if (!b || !wp) return 0;
      RECT c;
      GetClientRect(hwnd, &c);
      FillWithBrush(reinterpret_cast<HDC>(wp), c, b);
      return 1;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!pos) return 0;
      RECT c;
      GetClientRect(hwnd, &c);
      RECT nc;
      {
        Lock lock(S().mu);
        nc = NonClientInsets(*w);
      }
      if (!(pos->flags & SWP_NOCLIENTMOVE))
        SendMessageW(hwnd, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(pos->x + nc.left), static_cast<WORD>(pos->y + nc.top)));
      if (!(pos->flags & SWP_NOCLIENTSIZE))
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom)));
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETTEXT: {
      Lock lock(S().mu);
      w->text = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
      const bool native = w->native;
      const std::wstring title = w->text;
      lock.unlock();
      if (native) winport::CurrentBackend().TitleNative(hwnd, title.c_str());
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<wchar_t*>(lp);
      if (!buf || wp == 0) return 0;
      Lock lock(S().mu);
      std::size_t n = std::min<std::size_t>(w->text.size(), wp - 1);
      std::copy_n(w->text.c_str(), n, buf);
      buf[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      Lock lock(S().mu);
      return static_cast<LRESULT>(w->text.size());
    }
    case WM_SETFONT: {
      {
        Lock lock(S().mu);
        w->font = reinterpret_cast<HFONT>(wp);
      }
      if (LOWORD(static_cast<std::uintptr_t>(lp))) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_GETFONT: {
      Lock lock(S().mu);
      return reinterpret_cast<LRESULT>(w->font);
    }
    case WM_NCHITTEST:
      return NcHitTest(hwnd, lp);
    case WM_NCLBUTTONDOWN:
      TrackWindowScrollBar(hwnd, wp, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_SETCURSOR: {
      // The parent may choose the cursor first.
      if ((w->style & WS_CHILD) && w->parent &&
          SendMessageW(w->parent, WM_SETCURSOR, wp, lp))
        return TRUE;
      if (LOWORD(static_cast<std::uintptr_t>(lp)) == HTCLIENT && w->cls && w->cls->cursor) SetCursor(w->cls->cursor);
      return FALSE;
    }
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &p);
      SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                   MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      if ((w->style & WS_CHILD) && w->parent) return SendMessageW(w->parent, msg, wp, lp);
      return 0;
    case WM_GETMINMAXINFO:
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    default:
      return 0;
  }
}
