// The window's own scroll bars (WS_HSCROLL / WS_VSCROLL): where they sit in the non-client area,
// how they are drawn, and the loop that follows a press on one until the button is released.
#include <algorithm>

#include "winport/window/detail/Core.h"
#include "winport/window/ScrollBarParts.h"

namespace winport::detail {

namespace {

constexpr UINT_PTR kBarTimer = 0xFFF0;  // the tracking loop's own repeat timer

BarRange RangeOf(const ScrollState& s) { return BarRange{s.nMin, s.nMax, s.nPage, s.nPos}; }

bool Vertical(int bar) { return bar == SB_VERT; }

// The bar's rectangle relative to the window's top-left corner; empty when it has none.
RECT BarRectInWindow(const Window& w, int bar) {
  DWORD bit = Vertical(bar) ? WS_VSCROLL : WS_HSCROLL;
  if (!(w.style & bit)) return RECT{};
  RECT nc = NonClientInsets(w);
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT r = Vertical(bar) ? RECT{width - nc.right, nc.top, width - nc.left, height - nc.bottom}
                         : RECT{nc.left, height - nc.bottom, width - nc.right, height - nc.top};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

BarParts PartsOf(const Window& w, int bar, const RECT& barRect) {
  const ScrollState& s = w.scroll[Vertical(bar) ? 1 : 0];
  return LayoutBar(barRect, Vertical(bar), RangeOf(s), s.tracking ? s.nTrackPos : s.nPos);
}

bool BarEnabled(const Window& w, int bar) {
  return w.scroll[Vertical(bar) ? 1 : 0].enabled && !(w.style & WS_DISABLED);
}

// A raised box: face, light top-left, shadow bottom-right; flat in the shadow colour when pushed.
void DrawBox(Surface& dst, const RECT& r, bool pushed, const RECT& clip) {
  Pixel shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
  if (pushed) {
    FillRectClipped(dst, r, shadow, clip);
    return;
  }
  FillRectClipped(dst, r, ToPixel(GetSysColor(COLOR_BTNFACE)), clip);
  Pixel light = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRectClipped(dst, RECT{r.left, r.top, r.right, r.top + 1}, light, clip);
  FillRectClipped(dst, RECT{r.left, r.top, r.left + 1, r.bottom}, light, clip);
  FillRectClipped(dst, RECT{r.left, r.bottom - 1, r.right, r.bottom}, shadow, clip);
  FillRectClipped(dst, RECT{r.right - 1, r.top, r.right, r.bottom}, shadow, clip);
}

// A solid triangle pointing away from the bar's middle: up/left for the first arrow.
void DrawArrowMark(Surface& dst, const RECT& r, bool vertical, bool first, Pixel colour, const RECT& clip) {
  int n = std::min(r.right - r.left, r.bottom - r.top) / 4;
  int cx = r.left + (r.right - r.left) / 2, cy = r.top + (r.bottom - r.top) / 2;
  for (int i = 0; i < n; ++i) {
    int at = (first ? -n / 2 + i : n / 2 - i);
    if (vertical)
      FillRectClipped(dst, RECT{cx - i, cy + at, cx + i + 1, cy + at + 1}, colour, clip);
    else
      FillRectClipped(dst, RECT{cx + at, cy - i, cx + at + 1, cy + i + 1}, colour, clip);
  }
}

void DrawBar(Surface& dst, const BarParts& p, bool vertical, const ScrollState& s, bool enabled,
             const RECT& clip) {
  FillRectClipped(dst, p.track, ToPixel(GetSysColor(COLOR_SCROLLBAR)), clip);
  auto pressed = [&](BarPart part) { return enabled && s.pressed == static_cast<int>(part); };
  if (p.thumbLen && (pressed(BarPart::PageUp) || pressed(BarPart::PageDown))) {
    RECT half = p.track;
    bool up = pressed(BarPart::PageUp);
    if (vertical)
      (up ? half.bottom : half.top) = up ? p.thumb.top : p.thumb.bottom;
    else
      (up ? half.right : half.left) = up ? p.thumb.left : p.thumb.right;
    FillRectClipped(dst, half, ToPixel(GetSysColor(COLOR_3DDKSHADOW)), clip);
  }
  Pixel mark = ToPixel(enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNSHADOW));
  DrawBox(dst, p.up, pressed(BarPart::LineUp), clip);
  DrawArrowMark(dst, p.up, vertical, true, mark, clip);
  DrawBox(dst, p.down, pressed(BarPart::LineDown), clip);
  DrawArrowMark(dst, p.down, vertical, false, mark, clip);
  if (enabled && p.thumbLen) DrawBox(dst, p.thumb, false, clip);
}

POINT WindowPoint(HWND hwnd, POINT screen) {
  auto w = Find(hwnd);
  if (!w) return screen;
  Lock lock(S().mu);
  RECT wr = WindowRectOnScreen(*w);
  return POINT{screen.x - wr.left, screen.y - wr.top};
}

BarPart PartAt(HWND hwnd, int bar, POINT screen, BarParts* parts) {
  auto w = Find(hwnd);
  if (!w) return BarPart::None;
  POINT p = WindowPoint(hwnd, screen);
  Lock lock(S().mu);
  BarParts bp = PartsOf(*w, bar, BarRectInWindow(*w, bar));
  if (parts) *parts = bp;
  return HitBar(bp, Vertical(bar), p);
}

void SetBarLook(HWND hwnd, int bar, int pressed, bool tracking, int trackPos) {
  auto w = Find(hwnd);
  if (!w) return;
  {
    Lock lock(S().mu);
    ScrollState& s = w->scroll[Vertical(bar) ? 1 : 0];
    s.pressed = pressed;
    s.tracking = tracking;
    s.nTrackPos = tracking ? trackPos : s.nPos;
  }
  MarkPresent(hwnd);
}

int Along(POINT p, bool vertical) { return vertical ? p.y : p.x; }
int Along(const RECT& r, bool vertical) { return vertical ? r.top : r.left; }

}  // namespace

void DrawWindowScrollBars(Surface& dst, const Window& w, const RECT& wr, const RECT& clip) {
  for (int bar : {SB_VERT, SB_HORZ}) {
    RECT r = BarRectInWindow(w, bar);
    if (IsRectEmpty(&r)) continue;
    OffsetRect(&r, wr.left, wr.top);
    DrawBar(dst, PartsOf(w, bar, r), Vertical(bar), w.scroll[Vertical(bar) ? 1 : 0], BarEnabled(w, bar), clip);
  }
  if ((w.style & WS_VSCROLL) && (w.style & WS_HSCROLL)) {
    RECT v = BarRectInWindow(w, SB_VERT), h = BarRectInWindow(w, SB_HORZ);
    RECT corner{v.left, h.top, v.right, h.bottom};
    OffsetRect(&corner, wr.left, wr.top);
    FillRectClipped(dst, corner, ToPixel(GetSysColor(COLOR_BTNFACE)), clip);
  }
}

void TrackWindowScrollBar(HWND hwnd, WPARAM hit, POINT screen) {
  if (hit != HTVSCROLL && hit != HTHSCROLL) return;
  int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  bool vertical = Vertical(bar);
  auto w = Find(hwnd);
  if (!w) return;
  BarParts parts;
  BarPart part = PartAt(hwnd, bar, screen, &parts);
  {
    Lock lock(S().mu);
    if (part == BarPart::None || !BarEnabled(*w, bar)) return;
  }
  const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM code = BarPartCode(part);
  const bool thumb = part == BarPart::Thumb;
  const int grab = Along(WindowPoint(hwnd, screen), vertical) - Along(parts.thumb, vertical);
  int trackPos = GetScrollPos(hwnd, bar);
  SetCapture(hwnd);
  SetBarLook(hwnd, bar, static_cast<int>(part), thumb, trackPos);
  if (!thumb) {
    SendMessageW(hwnd, msg, code, 0);
    SetTimer(hwnd, kBarTimer, kBarFirstRepeatMs, nullptr);
  }
  bool firstDelay = true;
  POINT pointer = screen;
  MSG m{};
  // Waits for the bar's own window only; everything else stays queued for the application.
  while (IsWindow(hwnd) && GetCapture() == hwnd) {
    BOOL got = GetMessageW(&m, hwnd, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (got < 0 || m.message == WM_LBUTTONUP) break;  // < 0: the window went while we waited
    if (GetCapture() != hwnd) {  // the mouse went elsewhere: no release will come
      if (m.message != WM_TIMER || m.wParam != kBarTimer) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
      break;
    }
    if (m.message == WM_TIMER && m.wParam == kBarTimer) {
      if (firstDelay) {
        firstDelay = false;
        SetTimer(hwnd, kBarTimer, kBarRepeatMs, nullptr);
      }
      // Page areas stop once the thumb reaches the pointer; arrows pause while it is off them.
      if (PartAt(hwnd, bar, pointer, nullptr) == part) SendMessageW(hwnd, msg, code, 0);
      continue;
    }
    if (m.message == WM_MOUSEMOVE) {
      pointer = POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      ClientToScreen(hwnd, &pointer);
      if (thumb) {
        BarParts now;
        PartAt(hwnd, bar, pointer, &now);
        SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd, bar, &si);
        BarRange r{si.nMin, si.nMax, si.nPage, si.nPos};
        int pos = BarPosFromThumb(now, vertical, r, Along(WindowPoint(hwnd, pointer), vertical) - grab);
        if (pos != trackPos) {
          trackPos = pos;
          SetBarLook(hwnd, bar, static_cast<int>(part), true, trackPos);
          SendMessageW(hwnd, msg, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(trackPos)), 0);
        }
      } else {
        bool over = PartAt(hwnd, bar, pointer, nullptr) == part;
        SetBarLook(hwnd, bar, over ? static_cast<int>(part) : 0, false, 0);
      }
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (!IsWindow(hwnd)) return;
  KillTimer(hwnd, kBarTimer);
  SetBarLook(hwnd, bar, 0, false, 0);
  if (thumb) SendMessageW(hwnd, msg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(trackPos)), 0);
  SendMessageW(hwnd, msg, SB_ENDSCROLL, 0);
  if (GetCapture() == hwnd) ReleaseCapture();
}

}  // namespace winport::detail
