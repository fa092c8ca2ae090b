// Window classes, creation and destruction, the tree, positions, visibility and window data.
#include <algorithm>
#include <cstdint>
#include <cwctype>

#include "winport/window/detail/Core.h"

using namespace winport::detail;

namespace {

std::wstring ClassKey(LPCWSTR name) {
  std::wstring k;
  if (IS_INTRESOURCE(name)) return L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
  for (const wchar_t* p = name; *p; ++p) k.push_back(static_cast<wchar_t>(std::towlower(*p)));
  return k;
}

std::shared_ptr<const WndClass> FindClass(LPCWSTR name) {
  if (!name) return nullptr;
  auto& s = S();
  Lock lock(s.mu);
  auto it = s.classes.find(ClassKey(name));
  return it == s.classes.end() ? nullptr : it->second;
}

void RemoveFromSiblings(Window& w) {
  auto& s = S();
  std::vector<HWND>* list = &s.topLevels;
  if (auto p = Find(w.parent); p && (w.style & WS_CHILD)) list = &p->children;
  list->erase(std::remove(list->begin(), list->end(), w.hwnd), list->end());
}

std::vector<HWND>& SiblingList(Window& w) {
  auto& s = S();
  if (auto p = Find(w.parent); p && (w.style & WS_CHILD)) return p->children;
  return s.topLevels;
}

// Where "the top" is for w: topmost windows stay above all others among the top-level ones.
std::vector<HWND>::iterator TopSlot(std::vector<HWND>& list, const Window& w) {
  if (w.exStyle & WS_EX_TOPMOST) return list.begin();
  auto it = list.begin();
  while (it != list.end()) {
    auto o = Find(*it);
    if (!o || !(o->exStyle & WS_EX_TOPMOST) || (o->style & WS_CHILD)) break;
    ++it;
  }
  return it;
}

void PlaceInZOrder(Window& w, HWND after) {
  auto& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w.hwnd), list.end());
  if (after == HWND_TOPMOST && !(w.style & WS_CHILD)) w.exStyle |= WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  if (after == HWND_BOTTOM) {
    list.push_back(w.hwnd);
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list.insert((w.style & WS_CHILD) ? list.begin() : TopSlot(list, w), w.hwnd);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.begin() : it + 1, w.hwnd);
  }
}

// Window rectangles keep their corners and extents within +-2^29, so that sums of a rectangle's
// parts and client offsets stay inside int.
RECT WindowRect(int x, int y, int cx, int cy) {
  constexpr int kLimit = 1 << 29;
  x = std::clamp(x, -kLimit, kLimit);
  y = std::clamp(y, -kLimit, kLimit);
  return RECT{x, y, x + std::clamp(cx, 0, kLimit), y + std::clamp(cy, 0, kLimit)};
}

// The surface covers the client up to the surface cap; false when its memory is refused.
bool ResizeSurface(Window& w) {
  RECT c = ClientRectOf(w);
  const SIZE size = winport::Surface::Capped(c.right, c.bottom);
  try {
    if (!w.surface) w.surface = std::make_shared<winport::Surface>();
  } catch (const std::bad_alloc&) {
    return false;
  }
  return w.surface->Resize(size.cx, size.cy, 0x00FFFFFF);
}

void PurgeQueue(HWND hwnd) {
  auto& s = S();
  for (auto& [id, q] : s.queues) {
    std::erase_if(q->posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(q->timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
    for (auto& m : q->sent) {
      if (m->hwnd != hwnd) continue;
      m->done = true;
      if (m->sender) m->sender->cv.notify_all();
    }
    std::erase_if(q->sent, [hwnd](const std::shared_ptr<SentMessage>& m) { return m->hwnd == hwnd; });
  }
}

void SendWm(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { SendMessageW(h, msg, wp, lp); }

// Removes the handle for good after WM_NCDESTROY: the window children first.
void FinalRemove(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> kids;
  {
    Lock lock(S().mu);
    kids = w->children;
  }
  for (HWND k : kids) FinalRemove(k);
  SendWm(hwnd, WM_NCDESTROY);
  CallDestroyHook(hwnd);
  auto& s = S();
  Lock lock(s.mu);
  RemoveFromSiblings(*w);
  PurgeQueue(hwnd);
  if (s.capture == hwnd) s.capture = nullptr;
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.active == hwnd) s.active = nullptr;
  if (s.lastDownHwnd == hwnd) s.lastDownHwnd = nullptr;
  bool native = w->native;
  s.windows.erase(hwnd);
  lock.unlock();
  if (native) winport::CurrentBackend().DestroyNative(hwnd);
}

void SendDestroy(HWND hwnd) {
  SendWm(hwnd, WM_DESTROY);
  auto w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> kids;
  {
    Lock lock(S().mu);
    kids = w->children;
  }
  for (HWND k : kids) {
    if (auto c = Find(k)) {
      c->destroying = true;
      SendDestroy(k);
    }
  }
}

}  // namespace

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName) return 0;
  auto& s = S();
  Lock lock(s.mu);
  std::wstring key = ClassKey(wc->lpszClassName);
  if (s.classes.count(key)) return 0;
  auto c = std::make_shared<WndClass>();
  c->name = IS_INTRESOURCE(wc->lpszClassName) ? key : std::wstring(wc->lpszClassName);
  c->style = wc->style;
  c->proc = wc->lpfnWndProc ? wc->lpfnWndProc : &DefWindowProcW;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->icon = wc->hIcon;
  s.classes[key] = c;
  return static_cast<ATOM>(0xC000 + s.classes.size());
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  if (!className) return FALSE;
  auto& s = S();
  Lock lock(s.mu);
  return s.classes.erase(ClassKey(className)) ? TRUE : FALSE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wc) {
  auto c = FindClass(className);
  if (!c || !wc) return FALSE;
  *wc = WNDCLASSW{c->style, c->proc, 0, 0, nullptr, c->icon, c->cursor, c->background, nullptr, c->name.c_str()};
  return TRUE;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  wchar_t name[128];
  std::swprintf(name, 128, L"Afx:%x:%lx:%lx:%lx", classStyle, static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(cursor)),
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(background)),
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(icon)));
  if (auto c = FindClass(name)) return c->name.c_str();
  WNDCLASSW wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
  auto c = FindClass(name);
  return c ? c->name.c_str() : L"";
}

HINSTANCE AfxGetInstanceHandle() {
  static int module;
  return reinterpret_cast<HINSTANCE>(&module);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  auto cls = FindClass(className);
  if (!cls) return nullptr;
  if ((style & WS_CHILD) && !Find(parent)) return nullptr;
  if (parent && !Find(parent)) return nullptr;
  auto& s = S();
  auto w = std::make_shared<Window>();
  HWND hwnd;
  {
    Lock lock(s.mu);
    hwnd = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;
    w->hwnd = hwnd;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->exStyle = exStyle;
    if (style & WS_CHILD) {
      w->parent = parent;
      w->id = reinterpret_cast<UINT_PTR>(menuOrId);
    } else {
      // A top-level window's "parent" is its owner (the top-level ancestor of what was given).
      w->owner = parent ? TopLevelOf(parent) : nullptr;
    }
    w->rect = WindowRect(x, y, width, height);
    width = w->rect.right - w->rect.left;
    height = w->rect.bottom - w->rect.top;
    w->text = windowName ? windowName : L"";
    w->thread = std::this_thread::get_id();
    if (!ResizeSurface(*w)) return nullptr;
    s.windows[hwnd] = w;
    if (style & WS_CHILD)
      Find(parent)->children.push_back(hwnd);
    else
      s.topLevels.insert(TopSlot(s.topLevels, *w), hwnd);
  }
  ThisQueue();
  CallCreateHook(hwnd);

  CREATESTRUCTW cs{param, instance, menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  if (!(style & WS_CHILD)) {
    MINMAXINFO mmi{};
    SIZE scr = winport::CurrentBackend().ScreenSize();
    mmi.ptMaxSize = POINT{scr.cx, scr.cy};
    mmi.ptMaxTrackSize = POINT{scr.cx, scr.cy};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  }
  bool ok = IsWindow(hwnd) && SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != 0;
  if (ok) {
    NCCALCSIZE_PARAMS ncp{};
    ncp.rgrc[0] = w->rect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&ncp.rgrc[0]));
    ok = IsWindow(hwnd) && SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) != -1;
  }
  if (!ok || !IsWindow(hwnd)) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!(style & WS_CHILD)) {
    Lock lock(s.mu);
    w->native = true;
    RECT r = w->rect;
    const std::wstring title = w->text;
    lock.unlock();
    winport::CurrentBackend().CreateNative(hwnd, r, style);
    winport::CurrentBackend().TitleNative(hwnd, title.c_str());
  }
  RECT c;
  GetClientRect(hwnd, &c);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom)));
  SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->rect.left + NonClientInsets(*w).left),
                                            static_cast<WORD>(w->rect.top + NonClientInsets(*w).top)));
  if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY) && IsWindow(hwnd))
    SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(w->id)),
                 reinterpret_cast<LPARAM>(hwnd));
  if ((style & WS_VISIBLE) && IsWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w || w->destroying) return FALSE;
  if (w->thread != std::this_thread::get_id()) return FALSE;
  auto& s = S();
  // Owned top-level windows go first, as on the desktop.
  std::vector<HWND> owned;
  {
    Lock lock(s.mu);
    w->destroying = true;
    for (auto& [h, o] : s.windows)
      if (o->owner == hwnd && !(o->style & WS_CHILD)) owned.push_back(h);
  }
  for (HWND o : owned) DestroyWindow(o);
  if (IsWindowVisible(hwnd))
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  {
    Lock lock(s.mu);
    bool hadCapture = s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture));
    lock.unlock();
    if (hadCapture) ReleaseCapture();
  }
  {
    Lock lock(s.mu);
    bool hadFocus = s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus));
    if (hadFocus) s.focus = nullptr;
    if (w->parent && (w->style & WS_CHILD)) {
      if (auto p = Find(w->parent)) {
        RECT r = w->rect;
        InvalidateLocked(*p, &r, true, false);
      }
    }
  }
  if ((w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessageW(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<WORD>(w->id)),
                 reinterpret_cast<LPARAM>(hwnd));
  SendDestroy(hwnd);
  FinalRemove(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  Lock lock(S().mu);
  return IsVisibleLocked(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  auto w = Find(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled;
  {
    Lock lock(S().mu);
    wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(enable) == !wasDisabled) return wasDisabled;
    if (enable)
      w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
      w->style |= WS_DISABLED;
  }
  if (!enable) {
    if (GetFocus() == hwnd) SetFocus(nullptr);
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = cmd != SW_HIDE;
  if (was == show) return was ? TRUE : FALSE;
  SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || (w->style & WS_CHILD)) flags |= SWP_NOACTIVATE;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
  return was ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  auto& s = S();
  WINDOWPOS wp{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  {
    Lock lock(s.mu);
    if (flags & SWP_NOMOVE) {
      wp.x = w->rect.left;
      wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
      wp.cx = w->rect.right - w->rect.left;
      wp.cy = w->rect.bottom - w->rect.top;
    }
  }
  if (!(flags & SWP_NOSENDCHANGING)) SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  w = Find(hwnd);
  if (!w) return FALSE;
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  bool moved, sized, showChange = false, visibleNow;
  RECT oldRect, newRect;
  {
    Lock lock(s.mu);
    oldRect = w->rect;
    RECT oldClient = ClientRectOf(*w);
    newRect = WindowRect(wp.x, wp.y, wp.cx, wp.cy);
    moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    sized = (newRect.right - newRect.left) != (oldRect.right - oldRect.left) ||
            (newRect.bottom - newRect.top) != (oldRect.bottom - oldRect.top);
    w->rect = newRect;
    if (sized || (flags & SWP_FRAMECHANGED)) ResizeSurface(*w);  // refused memory keeps the old surface
    if ((wp.flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
      w->style |= WS_VISIBLE;
      showChange = true;
    }
    if ((wp.flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE)) {
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
      showChange = true;
    }
    if (!(wp.flags & SWP_NOZORDER)) PlaceInZOrder(*w, wp.hwndInsertAfter);
    visibleNow = IsVisibleLocked(*w);
    RECT newClient = ClientRectOf(*w);
    if (!(flags & SWP_NOREDRAW)) {
      if (visibleNow && (showChange || (flags & SWP_FRAMECHANGED))) {
        InvalidateLocked(*w, nullptr, true, true);
      } else if (visibleNow && sized) {
        UINT cs = w->cls ? w->cls->style : 0;
        bool whole = ((cs & CS_HREDRAW) && newClient.right != oldClient.right) ||
                     ((cs & CS_VREDRAW) && newClient.bottom != oldClient.bottom);
        if (whole) {
          InvalidateLocked(*w, nullptr, true, true);
        } else {
          // Only what was uncovered needs painting.
          RECT right{oldClient.right, 0, newClient.right, newClient.bottom};
          RECT bottom{0, oldClient.bottom, newClient.right, newClient.bottom};
          InvalidateLocked(*w, &right, true, false);
          InvalidateLocked(*w, &bottom, true, false);
        }
      }
      // The parent shows what the window uncovered.
      if ((w->style & WS_CHILD) && (moved || sized || showChange)) {
        if (auto p = Find(w->parent); p && IsVisibleLocked(*p)) InvalidateLocked(*p, &oldRect, true, false);
      }
    }
  }
  if (w->native) {
    if (moved || sized) winport::CurrentBackend().MoveNative(hwnd, newRect);
    if (showChange) winport::CurrentBackend().ShowNative(hwnd, visibleNow);
    if (showChange || moved || sized) MarkPresent(hwnd);
  } else if (showChange || moved || sized) {
    MarkPresent(hwnd);
  }
  if (!moved) wp.flags |= SWP_NOMOVE | SWP_NOCLIENTMOVE;
  if (!sized) wp.flags |= SWP_NOSIZE | SWP_NOCLIENTSIZE;
  if (moved || sized || showChange || !(flags & SWP_NOZORDER) || (flags & SWP_FRAMECHANGED))
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  auto w = Find(hwnd);
  if (!w || !rect) return FALSE;
  Lock lock(S().mu);
  *rect = ClientRectOf(*w);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  auto w = Find(hwnd);
  if (!w || !rect) return FALSE;
  Lock lock(S().mu);
  *rect = WindowRectOnScreen(*w);
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  auto w = Find(hwnd);
  if (!w || !pt) return FALSE;
  Lock lock(S().mu);
  POINT o = ClientOriginOnScreen(*w);
  pt->x = winport::SatCoord(std::int64_t{pt->x} - o.x);
  pt->y = winport::SatCoord(std::int64_t{pt->y} - o.y);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  auto w = Find(hwnd);
  if (!w || !pt) return FALSE;
  Lock lock(S().mu);
  POINT o = ClientOriginOnScreen(*w);
  pt->x = winport::SatCoord(std::int64_t{pt->x} + o.x);
  pt->y = winport::SatCoord(std::int64_t{pt->y} + o.y);
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from) ClientToScreen(from, &a);
  if (to) ClientToScreen(to, &b);
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x = winport::SatCoord(std::int64_t{pts[i].x} + dx);
    pts[i].y = winport::SatCoord(std::int64_t{pts[i].y} + dy);
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND GetParent(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w) return nullptr;
  return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND SetParent(HWND child, HWND newParent) {
  auto w = Find(child);
  if (!w || (newParent && !Find(newParent)) || newParent == child) return nullptr;
  auto& s = S();
  Lock lock(s.mu);
  HWND old = w->parent;
  RemoveFromSiblings(*w);
  w->parent = newParent;
  if (newParent && (w->style & WS_CHILD))
    Find(newParent)->children.insert(Find(newParent)->children.begin(), child);
  else
    s.topLevels.insert(s.topLevels.begin(), child);
  InvalidateLocked(*w, nullptr, true, true);
  return old ? old : GetDesktopWindow();
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  auto w = Find(hwnd);
  if (!w) return nullptr;
  Lock lock(S().mu);
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  auto& list = SiblingList(*w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  if (it == list.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return it + 1 == list.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == list.begin() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetDlgItem(HWND parent, int id) {
  auto w = Find(parent);
  if (!w) return nullptr;
  Lock lock(S().mu);
  for (HWND h : w->children)
    if (auto c = Find(h); c && static_cast<int>(c->id) == id) return h;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  auto w = Find(hwnd);
  return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  auto w = Find(hwnd);
  while (w && (w->style & WS_CHILD)) {
    if (w->parent == parent) return parent ? TRUE : FALSE;
    w = Find(w->parent);
  }
  return FALSE;
}

HWND GetDesktopWindow() { return nullptr; }

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) {
    Lock lock(S().mu);
    return S().topLevels.empty() ? nullptr : S().topLevels.front();
  }
  return GetWindow(hwnd, GW_CHILD);
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  auto w = Find(hwnd);
  if (!w) return 0;
  Lock lock(S().mu);
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_ID: return static_cast<LONG_PTR>(w->id);
    case GWL_USERDATA: return w->userData;
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(AfxGetInstanceHandle());
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  auto w = Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hwnd, index);
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    struct { DWORD oldStyle, newStyle; } ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
    SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    {
      Lock lock(S().mu);
      if (index == GWL_STYLE) {
        // Visibility changes only through ShowWindow / SetWindowPos.
        w->style = (static_cast<DWORD>(ss.newStyle) & ~static_cast<DWORD>(WS_VISIBLE)) | (w->style & WS_VISIBLE);
      } else {
        w->exStyle = static_cast<DWORD>(ss.newStyle);
      }
    }
    SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return old;
  }
  Lock lock(S().mu);
  switch (index) {
    case GWL_ID: w->id = static_cast<UINT_PTR>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    case GWL_WNDPROC: w->proc = value ? reinterpret_cast<WNDPROC>(value) : &DefWindowProcW; break;
    case GWL_HWNDPARENT:
      if (!(w->style & WS_CHILD)) w->owner = reinterpret_cast<HWND>(value);
      break;
    default: return 0;
  }
  return old;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE : FALSE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
  auto w = Find(hwnd);
  if (!w || !buffer || maxCount <= 0 || !w->cls) return 0;
  int n = std::min(static_cast<int>(w->cls->name.size()), maxCount - 1);
  std::copy_n(w->cls->name.c_str(), n, buffer);
  buffer[n] = 0;
  return n;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  auto w = Find(hwnd);
  if (processId) *processId = w ? 1 : 0;
  if (!w) return 0;
  return static_cast<DWORD>(std::hash<std::thread::id>{}(w->thread) | 1u);
}
