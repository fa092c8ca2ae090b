// Debug output, invariant checks and small arithmetic helpers of the window API.
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

// An invariant the code relies on without checking it at run time ("indexes are not checked",
// "checked once where it enters and trusted below"), with the sentence that says why it holds.
// A debug build (no NDEBUG) stops at a broken one and prints the sentence; a release build does
// not evaluate the condition, so it must have no side effects (unlike VERIFY).
#ifdef NDEBUG
#define WINPORT_CHECK(cond, why) ((void)sizeof((cond) ? 1 : 0))
#else
#define WINPORT_CHECK(cond, why) ((cond) ? (void)0 : ::winport::CheckFailed(#cond, why, __FILE__, __LINE__))
#endif

namespace winport {
// Prints "file:line: check failed: why (cond)" to stderr and aborts.
[[noreturn]] WINPORT_API void CheckFailed(const char* cond, const char* why, const char* file, int line);
}  // namespace winport
