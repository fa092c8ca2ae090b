// Debug output and small arithmetic helpers of the window API.
#pragma once
#include <functional>
#include <string_view>

#include "winport/base/types.h"

// Written to stderr when WINPORT_DEBUG_OUTPUT is set to a non-empty value other than "0";
// otherwise dropped. A hook (tests) sees every line whatever the switch says.
WINPORT_API void OutputDebugStringW(LPCWSTR text);

namespace winport {
using DebugOutputHook = std::function<void(std::wstring_view)>;
// Returns the previous hook; pass an empty function to remove it.
WINPORT_API DebugOutputHook SetDebugOutputHook(DebugOutputHook hook);
}  // namespace winport

// a * b / c rounded half away from zero in 64-bit; -1 when c is 0 or the result overflows.
WINPORT_API int MulDiv(int a, int b, int c);
