// The hourglass for the lifetime of the object, as the framework shows it around slow work.
#pragma once
#include "winport/window/User32.h"

class CWaitCursor {
 public:
  CWaitCursor() : m_hOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~CWaitCursor() { ::SetCursor(m_hOld); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

 private:
  HCURSOR m_hOld;
};
