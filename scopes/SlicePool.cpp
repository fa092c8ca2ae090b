#include "scopes/SlicePool.h"

#include <algorithm>

namespace scopes_detail {

SlicePool::SlicePool(int nThreads) : m_nCount(std::clamp(nThreads, 1, kMaxSliceThreads)) {}

SlicePool::~SlicePool() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop = true;
  }
  m_cvStart.notify_all();
  for (auto& t : m_threads) t.join();
}

void SlicePool::RunJob(Job job, void* ctx) {
  if (m_nCount == 1) {
    job(ctx, 0);
    return;
  }
  if (!m_bStarted) {
    m_bStarted = true;
    try {
      m_threads.reserve(static_cast<size_t>(m_nCount - 1));
      for (int s = 1; s < m_nCount; ++s) m_threads.emplace_back([this, s] { Work(s); });
    } catch (...) {
      m_bFailed = true;  // no threads to be had: every slice runs here, the results are the same
    }
  }
  if (m_bFailed) {
    for (int s = 0; s < m_nCount; ++s) job(ctx, s);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_job = job;
    m_ctx = ctx;
    m_nPending = m_nCount - 1;
    ++m_nGeneration;
  }
  m_cvStart.notify_all();
  job(ctx, 0);
  std::unique_lock<std::mutex> lock(m_mutex);
  m_cvDone.wait(lock, [this] { return m_nPending == 0; });
}

void SlicePool::Work(int slice) {
  unsigned seen = 0;
  for (;;) {
    Job job;
    void* ctx;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_cvStart.wait(lock, [&] { return m_bStop || m_nGeneration != seen; });
      if (m_bStop) return;
      seen = m_nGeneration;
      job = m_job;
      ctx = m_ctx;
    }
    job(ctx, slice);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (--m_nPending == 0) m_cvDone.notify_one();
  }
}

}  // namespace scopes_detail
