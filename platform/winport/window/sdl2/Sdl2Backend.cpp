// The SDL2 back end: a native SDL window per top-level window, software presentation of the
// composed window, the real clock, and SDL input fed into the window system's routing.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

#include "winport/base/CString.h"

#include "winport/window/Backend.h"
#include "winport/window/detail/Core.h"
#include "winport/window/Sdl2.h"

namespace winport {

namespace {

class Sdl2Backend;
Sdl2Backend* g_sdl = nullptr;

UINT VirtualKeyOf(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return static_cast<UINT>('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return static_cast<UINT>('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<UINT>(VK_F1 + (k - SDLK_F1));
  switch (k) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
  }
}

class Sdl2Backend final : public Backend {
 public:
  Sdl2Backend() { wakeEvent_ = SDL_RegisterEvents(1); }
  ~Sdl2Backend() override {
    for (auto& [h, w] : windows_) SDL_DestroyWindow(w);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    g_sdl = nullptr;
  }

  const char* Name() const override { return "sdl2"; }
  bool VirtualClock() const override { return false; }
  std::uint64_t Now() override { return SDL_GetTicks64(); }
  SIZE ScreenSize() override {
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return SIZE{1920, 1080};
    return SIZE{mode.w, mode.h};
  }

  void CreateNative(HWND hwnd, const RECT& r, DWORD style) override {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!(style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
    if (!(style & WS_CAPTION) && (style & WS_POPUP)) flags |= SDL_WINDOW_SKIP_TASKBAR;
    SDL_Window* w = SDL_CreateWindow("", r.left, r.top, std::max<int>(r.right - r.left, 1),
                                     std::max<int>(r.bottom - r.top, 1), flags);
    if (!w) return;
    std::lock_guard<std::mutex> lock(mu_);
    windows_[hwnd] = w;
    byId_[SDL_GetWindowID(w)] = hwnd;
  }

  void DestroyNative(HWND hwnd) override {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    byId_.erase(SDL_GetWindowID(it->second));
    presented_.erase(hwnd);
    SDL_DestroyWindow(it->second);
    windows_.erase(it);
  }

  void MoveNative(HWND hwnd, const RECT& r) override {
    if (SDL_Window* w = Get(hwnd)) {
      SDL_SetWindowPosition(w, r.left, r.top);
      SDL_SetWindowSize(w, std::max<int>(r.right - r.left, 1), std::max<int>(r.bottom - r.top, 1));
    }
  }

  void ShowNative(HWND hwnd, bool show) override {
    if (SDL_Window* w = Get(hwnd)) {
      if (show)
        SDL_ShowWindow(w);
      else
        SDL_HideWindow(w);
    }
  }

  void TitleNative(HWND hwnd, const wchar_t* title) override {
    if (SDL_Window* w = Get(hwnd)) SDL_SetWindowTitle(w, CString(title ? title : L"").ToUtf8().c_str());
  }

  void Present(HWND hwnd, const Surface& image, std::span<const RECT> dirty) override {
    SDL_Window* w = Get(hwnd);
    if (!w || image.Empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) return;
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(image.Data()), image.Width(),
                                                          image.Height(), 32, image.Width() * 4,
                                                          SDL_PIXELFORMAT_RGB888);
    if (!src) return;
    std::vector<SDL_Rect> rects;
    rects.reserve(dirty.size());
    for (const RECT& r : dirty) {
      SDL_Rect sr{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_Rect dr = sr;  // SDL_BlitSurface clips dr in place
      SDL_BlitSurface(src, &sr, target, &dr);
      if (dr.w > 0 && dr.h > 0) rects.push_back(dr);
    }
    SDL_FreeSurface(src);
    if (!rects.empty()) SDL_UpdateWindowSurfaceRects(w, rects.data(), static_cast<int>(rects.size()));
    RememberPresented(hwnd, rects);
  }

  void WaitEvents(std::uint64_t until) override {
    std::uint64_t now = Now();
    SDL_Event e;
    int timeout = until > now ? static_cast<int>(std::min<std::uint64_t>(until - now, 1000)) : 0;
    if (!SDL_WaitEventTimeout(&e, timeout)) return;
    Handle(e);
    while (SDL_PollEvent(&e)) Handle(e);
  }

  void Wake() override {
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
  }

  RECT LastPresented(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = presented_.find(hwnd);
    return it == presented_.end() ? RECT{} : it->second;
  }

  SDL_Window* Get(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second;
  }

 private:
  void RememberPresented(HWND hwnd, const std::vector<SDL_Rect>& rects) {
    RECT bounds{};
    for (const SDL_Rect& r : rects) {
      const RECT one{r.x, r.y, r.x + r.w, r.y + r.h};
      UnionRect(&bounds, &bounds, &one);
    }
    std::lock_guard<std::mutex> lock(mu_);
    presented_[hwnd] = bounds;
  }

  HWND FromId(Uint32 id) {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
  }

  POINT ToScreen(Uint32 windowId, int x, int y) {
    RECT r{};
    GetWindowRect(FromId(windowId), &r);
    return POINT{r.left + x, r.top + y};
  }

  // The session asks the program to end (the window manager, or SIGINT / SIGTERM, which SDL turns
  // into this event): every native window is asked to close and the message loop ends.
  void Quit() {
    std::vector<HWND> open;
    {
      std::lock_guard<std::mutex> lock(mu_);
      for (auto& [h, w] : windows_) open.push_back(h);
    }
    for (HWND h : open) PostMessageW(h, WM_CLOSE, 0, 0);
    PostQuitMessage(0);
  }

  void Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        Quit();
        break;
      case SDL_MOUSEMOTION:
        InjectMouseMove(ToScreen(e.motion.windowID, e.motion.x, e.motion.y));
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        int b = e.button.button == SDL_BUTTON_LEFT ? 0 : e.button.button == SDL_BUTTON_RIGHT ? 1 : e.button.button == SDL_BUTTON_MIDDLE ? 2 : -1;
        if (b >= 0) InjectMouseButton(ToScreen(e.button.windowID, e.button.x, e.button.y), b, e.type == SDL_MOUSEBUTTONDOWN);
        break;
      }
      case SDL_MOUSEWHEEL: {
        POINT p;
        GetCursorPos(&p);
        InjectWheel(p, e.wheel.y * WHEEL_DELTA);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (UINT vk = VirtualKeyOf(e.key.keysym.sym)) InjectKey(vk, e.type == SDL_KEYDOWN);
        break;
      case SDL_WINDOWEVENT: {
        HWND h = FromId(e.window.windowID);
        if (!h) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) PostMessageW(h, WM_CLOSE, 0, 0);
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) detail::MarkPresent(h);
        if (e.window.event == SDL_WINDOWEVENT_MOVED)
          SetWindowPos(h, nullptr, e.window.data1, e.window.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // As on the desktop, a window learns that it was minimised or restored through WM_SIZE,
        // so a host can stop animating what nobody sees.
        if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) PostMessageW(h, WM_SIZE, SIZE_MINIMIZED, 0);
        if (e.window.event == SDL_WINDOWEVENT_RESTORED) {
          RECT rc{};
          GetClientRect(h, &rc);
          PostMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
        }
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          SetWindowPos(h, nullptr, 0, 0, e.window.data1, e.window.data2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      default:
        break;
    }
  }

  std::mutex mu_;
  std::unordered_map<HWND, SDL_Window*> windows_;
  std::unordered_map<Uint32, HWND> byId_;
  std::unordered_map<HWND, RECT> presented_;  // bounds of each window's last present
  Uint32 wakeEvent_ = 0;
};

bool NonEmptyEnv(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// SDL falls back to drivers that draw nowhere; a host asking for real windows is told instead.
// An explicit SDL_VIDEODRIVER is the user's choice and stands.
bool RefuseWithoutDisplay() {
  if (NonEmptyEnv("SDL_VIDEODRIVER")) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return false;
  std::fprintf(stderr,
               "winport: no display for real windows (DISPLAY and WAYLAND_DISPLAY are not set); run under a "
               "desktop session or xvfb-run, or use the headless back end\n");
  return true;
}

}  // namespace

std::unique_ptr<Backend> MakeSdl2Backend() {
  if (g_sdl) return nullptr;  // one SDL back end at a time
  if (!NonEmptyEnv("SDL_VIDEODRIVER") && !NonEmptyEnv("DISPLAY") && !NonEmptyEnv("WAYLAND_DISPLAY")) {
    RefuseWithoutDisplay();
    return nullptr;
  }
  // Window surfaces go straight to the display (X11 shared memory): through the default GL path
  // a software GL on a virtual display spends more on each present than the controls on drawing.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "winport: SDL2 back end unavailable: %s\n", SDL_GetError());
    return nullptr;
  }
  if (RefuseWithoutDisplay()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return nullptr;
  }
  auto b = std::make_unique<Sdl2Backend>();
  g_sdl = b.get();
  return b;
}

namespace sdl2 {

bool ReadBack(HWND hwnd, Surface& out) {
  if (!g_sdl) return false;
  SDL_Window* w = g_sdl->Get(hwnd);
  if (!w) return false;
  SDL_Surface* s = SDL_GetWindowSurface(w);
  if (!s) return false;
  SDL_Surface* conv = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0);
  if (!conv) return false;
  if (!out.Resize(conv->w, conv->h)) {
    SDL_FreeSurface(conv);
    return false;
  }
  SDL_LockSurface(conv);
  for (int y = 0; y < conv->h; ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(static_cast<const std::uint8_t*>(conv->pixels) + y * conv->pitch);
    std::transform(row, row + conv->w, out.Row(y), [](Pixel p) { return p & 0x00FFFFFFu; });
  }
  SDL_UnlockSurface(conv);
  SDL_FreeSurface(conv);
  return true;
}

bool IsShown(HWND hwnd) {
  if (!g_sdl) return false;
  SDL_Window* w = g_sdl->Get(hwnd);
  return w && (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN) != 0;
}

bool LastPresented(HWND hwnd, RECT& out) {
  if (!g_sdl || !g_sdl->Get(hwnd)) return false;
  out = g_sdl->LastPresented(hwnd);
  return true;
}

std::string Title(HWND hwnd) {
  SDL_Window* w = g_sdl ? g_sdl->Get(hwnd) : nullptr;
  return w ? SDL_GetWindowTitle(w) : std::string();
}

bool Position(HWND hwnd, POINT& out) {
  SDL_Window* w = g_sdl ? g_sdl->Get(hwnd) : nullptr;
  if (!w) return false;
  int x = 0, y = 0;
  SDL_GetWindowPosition(w, &x, &y);
  out = POINT{x, y};
  return true;
}

}  // namespace sdl2
}  // namespace winport
