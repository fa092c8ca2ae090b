// Internal: the small pool of slice threads a scope graph owns. Run(f) calls f(slice) for every
// slice 0 .. Count() - 1 at once, slice 0 on the calling thread, and returns when all are done.
// Workers start with the first Run and are joined by the destructor; a run allocates nothing.
#pragma once
#include <condition_variable>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace scopes_detail {

constexpr int kMaxSliceThreads = 16;

class SlicePool {
 public:
  explicit SlicePool(int nThreads);
  ~SlicePool();
  SlicePool(const SlicePool&) = delete;
  SlicePool& operator=(const SlicePool&) = delete;

  int Count() const { return m_nCount; }

  template <class F>
  void Run(F&& f) {
    RunJob([](void* ctx, int slice) { (*static_cast<std::remove_reference_t<F>*>(ctx))(slice); }, &f);
  }

 private:
  using Job = void (*)(void*, int);
  void RunJob(Job job, void* ctx);
  void Work(int slice);

  int m_nCount;
  std::vector<std::thread> m_threads;
  std::mutex m_mutex;
  std::condition_variable m_cvStart, m_cvDone;
  unsigned m_nGeneration = 0;
  int m_nPending = 0;
  bool m_bStop = false;
  bool m_bStarted = false, m_bFailed = false;
  Job m_job = nullptr;
  void* m_ctx = nullptr;
};

// Splits [0, n) into count parts aligned to align: part k is [Begin(k), Begin(k + 1)).
struct Split {
  int n, count, align;
  int Begin(int k) const {
    const long long units = (static_cast<long long>(n) + align - 1) / align;
    const long long b = units * k / count * align;
    return static_cast<int>(b < n ? b : n);
  }
};

}  // namespace scopes_detail
