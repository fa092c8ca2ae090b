// The framework's window DCs: CPaintDC wraps BeginPaint/EndPaint, CClientDC GetDC/ReleaseDC,
// CWindowDC GetWindowDC/ReleaseDC. All draw into the window's retained surface.
#pragma once
#include "winport/gdi/CDC.h"
#include "winport/window/CWnd.h"

class WINPORT_API CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd = nullptr;
};

class WINPORT_API CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd = nullptr;
};

class WINPORT_API CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd = nullptr;
};
