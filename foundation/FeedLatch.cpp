#include "foundation/FeedLatch.h"

void CFeedLatch::Open(HWND hWnd) {
  // The thread first, so a feed that sees the handle also sees whose it is.
  m_idWndThread.store(std::this_thread::get_id());
  m_hWnd.store(hWnd);
}

void CFeedLatch::Close() { m_hWnd.store(nullptr); }

bool CFeedLatch::OnWindowThread() const {
  return m_hWnd.load() && std::this_thread::get_id() == m_idWndThread.load();
}

void CFeedLatch::Invalidate(BOOL bErase) const {
  if (const HWND hWnd = m_hWnd.load()) ::InvalidateRect(hWnd, nullptr, bErase);
}
