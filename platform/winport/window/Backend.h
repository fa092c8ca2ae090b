// The seam between the window system and what shows windows: the headless back end (virtual
// clock, no screen) and the SDL2 one (real windows, real clock, real input).
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "winport/gdi/Surface.h"
#include "winport/window/WinDefs.h"

namespace winport {

class PromptProvider;  // winport/shell/PromptProvider.h

class WINPORT_API Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;
  // A virtual clock only moves when the harness or a wait moves it.
  virtual bool VirtualClock() const = 0;
  virtual std::uint64_t Now() = 0;
  virtual SIZE ScreenSize() = 0;
  // Native windows exist for top-level windows only; rectangles are in screen coordinates.
  virtual void CreateNative(HWND, const RECT&, DWORD /*style*/) {}
  virtual void DestroyNative(HWND) {}
  virtual void MoveNative(HWND, const RECT&) {}
  virtual void ShowNative(HWND, bool /*show*/) {}
  // The title bar text of a native window: its window text.
  virtual void TitleNative(HWND, const wchar_t* /*title*/) {}
  // The composed window (client area with its children) as it should appear; only the dirty
  // rectangles (window coordinates) changed since the last present.
  virtual void Present(HWND, const Surface&, std::span<const RECT> /*dirty*/) {}
  // Feeds native input into winport::Inject* until `until` (clock ms) passes, an event arrives
  // or Wake is called. Only called on the thread that selected the back end.
  virtual void WaitEvents(std::uint64_t until) = 0;
  virtual void Wake() {}
  // Who answers file and folder prompts when the host chose no provider; null leaves them to the
  // desktop's helper. The headless back end answers from its harness script.
  virtual std::shared_ptr<PromptProvider> Prompts() { return nullptr; }
};

// "headless" or "sdl2"; false when that back end is not built or cannot start (for sdl2: no
// display, with a message on stderr). Existing windows stay with the back end they were created
// on, so choose before creating any. Without a choice, WINPORT_BACKEND=sdl2 asks for real windows.
WINPORT_API bool SelectBackend(const char* name);
WINPORT_API const char* BackendName();
WINPORT_API Backend& CurrentBackend();

// Input as a back end (or the harness) delivers it, in screen coordinates. It goes through
// capture, hit testing and double-click timing, and is posted to the target window's queue.
WINPORT_API void InjectMouseMove(POINT screen);
WINPORT_API void InjectMouseButton(POINT screen, int button, bool down);
WINPORT_API void InjectWheel(POINT screen, int delta);
WINPORT_API void InjectKey(UINT vk, bool down);

}  // namespace winport
