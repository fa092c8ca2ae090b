// What the SDL2 back end presented, for smoke tests and screenshots of real windows. Without
// SDL2 (or with another back end) the calls report failure.
#pragma once
#include "winport/gdi/Surface.h"
#include "winport/window/WinDefs.h"

namespace winport::sdl2 {

// The pixels of the native window's surface as last presented (0x00RRGGBB).
bool ReadBack(HWND hwnd, Surface& out);
// Whether SDL reports the native window shown.
bool IsShown(HWND hwnd);

}  // namespace winport::sdl2
