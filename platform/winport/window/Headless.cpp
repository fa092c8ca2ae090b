// The headless harness over the window core.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "winport/headless.h"
#include "winport/gdi/ImageCodec.h"
#include "winport/window/CWnd.h"
#include "winport/window/detail/Core.h"

using namespace winport::detail;

namespace winport::detail {
Surface ComposeClient(HWND hwnd);
}

namespace winport::headless {

namespace {

bool IsHeadless() { return CurrentBackend().VirtualClock(); }

void RequireHeadless(const char* what) {
  if (IsHeadless()) return;
  std::fprintf(stderr, "winport headless: %s needs the headless back end\n", what);
  std::abort();
}

// A message loop turn as the application's would do it. A quit met on the way is noted for the
// caller to post again: Pump is a nested loop, and the application's own loop must still end.
bool PumpOne(std::optional<int>& quit) {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    quit = static_cast<int>(msg.wParam);
    return true;
  }
  if (AfxPreTranslateMessage(&msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

// Harness input from inside a waiting GetMessage (an At action) is only queued: the loop that
// waits takes it, as it would take real input.
void AfterInput() {
  if (g_waitDepth == 0) Pump();
}

// A press where the pointer is not yet first moves it there, as a hand would.
void MoveFirst(POINT p) {
  POINT now;
  GetCursorPos(&now);
  if (now.x != p.x || now.y != p.y) InjectMouseMove(p);
}

POINT ToScreen(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

}  // namespace

void Reset(const Options& options) {
  SelectBackend("headless");
  auto& s = S();
  // Destroy what earlier tests left, top-level windows first (children go with them).
  for (int guard = 0; guard < 10000; ++guard) {
    HWND h = nullptr;
    {
      Lock lock(s.mu);
      if (s.topLevels.empty()) break;
      h = s.topLevels.back();
    }
    auto w = Find(h);
    if (w && w->thread == std::this_thread::get_id() && !w->destroying) {
      DestroyWindow(h);
    } else {
      Lock lock(s.mu);
      s.topLevels.erase(std::remove(s.topLevels.begin(), s.topLevels.end(), h), s.topLevels.end());
      s.windows.erase(h);
    }
  }
  Lock lock(s.mu);
  s.windows.clear();
  s.topLevels.clear();
  for (auto& [id, q] : s.queues) {
    q->posted.clear();
    q->timers.clear();
    q->quit = false;
  }
  s.actions.clear();
  s.virtualNow = 0;
  s.capture = s.focus = s.active = nullptr;
  s.cursor = POINT{0, 0};
  s.buttons = 0;
  s.lastDownHwnd = nullptr;
  s.headlessScreen = SIZE{std::max(options.screenWidth, 1), std::max(options.screenHeight, 1)};
  lock.unlock();
  ResetPrompts();
}

unsigned Now() { return static_cast<unsigned>(detail::Now()); }

void Pump() {
  long guard = 0;
  std::optional<int> quit;
  while (PumpOne(quit)) {
    if (++guard > 1000000) {
      std::fprintf(stderr, "winport headless: Pump does not settle (a window keeps posting or invalidating itself)\n");
      std::abort();
    }
  }
  if (quit) PostQuitMessage(*quit);
}

void Advance(unsigned ms) {
  RequireHeadless("Advance");
  auto& s = S();
  std::uint64_t target = detail::Now() + ms;
  auto q = ThisQueue();
  Pump();
  for (;;) {
    bool any = false;
    std::uint64_t due = NextDueTime(*q, any);
    {
      Lock lock(s.mu);
      if (!any || due > target) {
        if (s.virtualNow < target) s.virtualNow = target;
        break;
      }
      if (due > s.virtualNow) s.virtualNow = due;
    }
    while (RunDueActions()) {
    }
    Pump();
  }
  while (RunDueActions()) {
  }
  Pump();
}

void At(unsigned ms, std::function<void()> action) {
  auto& s = S();
  Lock lock(s.mu);
  s.actions.push_back(Action{ms, ++s.actionSeq, std::move(action)});
}

void MouseMove(HWND hwnd, int x, int y) {
  if (!IsWindow(hwnd)) return;
  InjectMouseMove(ToScreen(hwnd, x, y));
  AfterInput();
}

void MouseDown(HWND hwnd, int x, int y, int button) {
  if (!IsWindow(hwnd)) return;
  POINT p = ToScreen(hwnd, x, y);
  MoveFirst(p);
  InjectMouseButton(p, button, true);
  AfterInput();
}

void MouseUp(HWND hwnd, int x, int y, int button) {
  if (!IsWindow(hwnd)) return;
  POINT p = ToScreen(hwnd, x, y);
  MoveFirst(p);
  InjectMouseButton(p, button, false);
  AfterInput();
}

void Wheel(HWND hwnd, int x, int y, int delta) {
  if (!IsWindow(hwnd)) return;
  POINT p = ToScreen(hwnd, x, y);
  MoveFirst(p);
  InjectWheel(p, delta);
  AfterInput();
}

void KeyDown(HWND hwnd, unsigned vk) {
  if (!IsWindow(hwnd)) return;
  if (GetFocus() != hwnd) SetFocus(hwnd);
  InjectKey(vk, true);
  AfterInput();
  InjectKey(vk, false);
  AfterInput();
}

Image Capture(HWND hwnd) {
  Image img;
  if (!IsWindow(hwnd)) return img;
  Surface s = ComposeClient(hwnd);
  img.width = s.Width();
  img.height = s.Height();
  img.pixels.assign(s.Pixels().begin(), s.Pixels().end());
  return img;
}

bool SavePng(const Image& image, const char* path) {
  if (!path || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return false;
  Surface s(image.width, image.height);
  if (s.Width() != image.width || s.Height() != image.height) return false;
  std::copy(image.pixels.begin(), image.pixels.end(), s.Data());
  return WritePng(s, path);
}

}  // namespace winport::headless
