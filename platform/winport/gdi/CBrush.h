#pragma once
#include "winport/gdi/CBitmap.h"
#include "winport/gdi/CGdiObject.h"

class WINPORT_API CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  explicit CBrush(CBitmap* bitmap) { CreatePatternBrush(bitmap); }
  static CBrush* FromHandle(HBRUSH h) { return winport::detail::WrapperAs<CBrush>(h, OBJ_BRUSH); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT(google-explicit-constructor)

  BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
  BOOL CreatePatternBrush(CBitmap* bitmap) {
    return bitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject))) : FALSE;
  }
  BOOL CreateBrushIndirect(const LOGBRUSH* lb) { return Attach(::CreateBrushIndirect(lb)); }
  int GetLogBrush(LOGBRUSH* lb) const { return ::GetObjectW(m_hObject, sizeof(LOGBRUSH), lb); }
};
