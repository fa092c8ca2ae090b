#include "support/CountingNew.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_nNews{0};
}  // namespace

namespace testsupport {
long long AllocationCount() { return g_nNews.load(std::memory_order_relaxed); }
}  // namespace testsupport

void* operator new(std::size_t n) {
  g_nNews.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
