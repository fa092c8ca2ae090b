// Without SDL2 the real-window back end is simply unavailable.
#include "winport/window/Backend.h"
#include "winport/window/Sdl2.h"

#ifndef WINPORT_HAVE_SDL2
namespace winport {
std::unique_ptr<Backend> MakeSdl2Backend() { return nullptr; }
namespace sdl2 {
bool ReadBack(HWND, Surface&) { return false; }
bool LastPresented(HWND, RECT&) { return false; }
bool IsShown(HWND) { return false; }
std::string Title(HWND) { return {}; }
bool Position(HWND, POINT&) { return false; }
}  // namespace sdl2
}  // namespace winport
#endif
