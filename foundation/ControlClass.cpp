#include "foundation/ControlClass.h"

LPCWSTR CControlClass::Name() {
  std::call_once(m_once, [this] {
    const HCURSOR hCursor = m_lpszCursor ? ::LoadCursorW(nullptr, m_lpszCursor) : nullptr;
    m_strName = AfxRegisterWndClass(m_nClassStyle, hCursor, nullptr, nullptr);
  });
  return m_strName;
}
