// CControlClass: a control's window class, held by the control's source file as one static object.
// The class is registered on the first Create, from whichever thread gets there first, and its name
// stays valid until the library unloads. A lazily filled static string raced when two threads
// created their first control at once; a once-flag makes the first registration the only one.
#pragma once
#include <winport/afx.h>

#include <mutex>

#include "foundation/Export.h"

class PARVANEU_API CControlClass {
 public:
  // lpszCursor: a system cursor id (IDC_ARROW) or null for none. No background brush, no icon:
  // the controls paint their whole client area.
  explicit CControlClass(UINT nClassStyle, LPCWSTR lpszCursor = nullptr) noexcept
      : m_nClassStyle(nClassStyle), m_lpszCursor(lpszCursor) {}
  CControlClass(const CControlClass&) = delete;
  CControlClass& operator=(const CControlClass&) = delete;

  // Registers on the first call; any thread.
  LPCWSTR Name();

 private:
  const UINT m_nClassStyle;
  const LPCWSTR m_lpszCursor;
  std::once_flag m_once;
  CString m_strName;
};
