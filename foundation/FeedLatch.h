// CFeedLatch: what a control fed from a worker thread shares with its window thread, held by
// composition. The worker never reads the window object, whose handle the window thread clears
// while it destroys the window: it sees the window through an atomic copy of the handle, null
// before creation and from WM_DESTROY on. Work that only the window thread may do (tooltip text)
// is marked by the feed and done by the next paint. The state both sides touch (levels, figure
// bitmaps, pixel buffers, the settings the feed reads) is kept under one recursive lock.
//
// The rule for every control that embeds one: a call its header allows from another thread is
// safe against every other public call, DestroyWindow included. The object itself must outlive
// the feed: stop feeding before destroying it.
#pragma once
#include <winport/afx.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "foundation/Export.h"

class PARVANEU_API CFeedLatch {
 public:
  CFeedLatch() = default;
  CFeedLatch(const CFeedLatch&) = delete;
  CFeedLatch& operator=(const CFeedLatch&) = delete;

  // Window thread: OnCreate opens with the new handle, OnDestroy closes.
  void Open(HWND hWnd);
  void Close();

  // Any thread. Null before Open and after Close.
  HWND Handle() const { return m_hWnd.load(); }
  // True on the thread that opened the latch, while the window lives: there the window cannot
  // go away in the middle of a call.
  bool OnWindowThread() const;
  // Invalidates the whole client area while the window lives; nothing after Close. Handles are
  // never reused, so a destroy between the load and the call only makes the call a no-op.
  void Invalidate(BOOL bErase) const;

  // The lock over the shared state; recursive, so a locked call may make another.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> Hold() const { return std::unique_lock(m_mutex); }

  // Paint-time apply: the feed marks work for the window thread, the next paint takes the mark.
  void Defer() { m_bDeferred.store(true); }
  bool TakeDeferred() { return m_bDeferred.exchange(false); }

 private:
  mutable std::recursive_mutex m_mutex;
  std::atomic<HWND> m_hWnd{nullptr};
  std::atomic<std::thread::id> m_idWndThread{};
  std::atomic<bool> m_bDeferred{false};
};
