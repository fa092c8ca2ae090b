// Without SDL2 the real-window back end is simply unavailable.
#include "winport/window/Backend.h"

#ifndef WINPORT_HAVE_SDL2
namespace winport {
std::unique_ptr<Backend> MakeSdl2Backend() { return nullptr; }
}  // namespace winport
#endif
