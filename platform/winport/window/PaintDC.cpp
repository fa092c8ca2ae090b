#include "winport/window/PaintDC.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(AfxHwndOf(pWnd)) {
  if (HDC dc = ::BeginPaint(m_hWnd, &m_ps)) Attach(dc);
}
CPaintDC::~CPaintDC() {
  if (m_hDC) {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
  }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(AfxHwndOf(pWnd)) {
  if (HDC dc = ::GetDC(m_hWnd)) Attach(dc);
}
CClientDC::~CClientDC() {
  if (HDC dc = Detach()) ::ReleaseDC(m_hWnd, dc);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(AfxHwndOf(pWnd)) {
  if (HDC dc = ::GetWindowDC(m_hWnd)) Attach(dc);
}
CWindowDC::~CWindowDC() {
  if (HDC dc = Detach()) ::ReleaseDC(m_hWnd, dc);
}
