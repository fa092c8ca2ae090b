#pragma once
#include "winport/gdi/CGdiObject.h"

class WINPORT_API CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  static CPen* FromHandle(HPEN h) { return winport::detail::WrapperAs<CPen>(h, OBJ_PEN); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT(google-explicit-constructor)

  BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
  BOOL CreatePenIndirect(const LOGPEN* lp) { return Attach(::CreatePenIndirect(lp)); }
  int GetLogPen(LOGPEN* lp) const { return ::GetObjectW(m_hObject, sizeof(LOGPEN), lp); }
};
