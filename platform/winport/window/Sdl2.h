// What the SDL2 back end presented, for smoke tests and screenshots of real windows. Without
// SDL2 (or with another back end) the calls report failure.
#pragma once
#include <string>

#include "winport/gdi/Surface.h"
#include "winport/window/WinDefs.h"

namespace winport::sdl2 {

// The pixels of the native window's surface as last presented (0x00RRGGBB).
WINPORT_API bool ReadBack(HWND hwnd, Surface& out);
// The bounds (window coordinates) of what the last present copied to the native window.
WINPORT_API bool LastPresented(HWND hwnd, RECT& out);
// Whether SDL reports the native window shown.
WINPORT_API bool IsShown(HWND hwnd);
// The native window's title (UTF-8); empty when there is no such window.
WINPORT_API std::string Title(HWND hwnd);
// Where the native window is on the screen, as SDL reports it.
WINPORT_API bool Position(HWND hwnd, POINT& out);

}  // namespace winport::sdl2
