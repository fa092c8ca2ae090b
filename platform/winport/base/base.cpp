#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>

#include "winport/base/CException.h"
#include "winport/base/CString.h"
#include "winport/base/debug.h"

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
void AfxThrowMemoryException() { throw CMemoryException(); }

namespace {
std::mutex g_hookMutex;
winport::DebugOutputHook g_hook;

bool DebugSwitchOn() {
  const char* v = std::getenv("WINPORT_DEBUG_OUTPUT");
  return v && *v && std::strcmp(v, "0") != 0;
}
}  // namespace

namespace winport {
DebugOutputHook SetDebugOutputHook(DebugOutputHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  std::swap(g_hook, hook);
  return hook;
}
}  // namespace winport

namespace winport {
void CheckFailed(const char* cond, const char* why, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", file, line, why, cond);
  std::fflush(stderr);
  std::abort();
}
}  // namespace winport

void OutputDebugStringW(LPCWSTR text) {
  if (!text) return;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    if (g_hook) g_hook(text);
  }
  if (DebugSwitchOn()) {
    const std::string utf8 = CString(text).ToUtf8();
    std::fputs(utf8.c_str(), stderr);
    if (utf8.empty() || utf8.back() != '\n') std::fputc('\n', stderr);
  }
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long n = static_cast<long long>(a) * b;
  const bool neg = (n < 0) != (c < 0);
  unsigned long long un = static_cast<unsigned long long>(n < 0 ? -n : n);
  const unsigned long long uc = static_cast<unsigned long long>(c < 0 ? -static_cast<long long>(c) : c);
  const unsigned long long q = (un + uc / 2) / uc;
  if (q > static_cast<unsigned long long>(std::numeric_limits<int>::max())) return -1;
  return neg ? -static_cast<int>(q) : static_cast<int>(q);
}
