#pragma once
#include "winport/gdi/CGdiObject.h"

class WINPORT_API CRgn : public CGdiObject {
 public:
  static CRgn* FromHandle(HRGN h) { return winport::detail::WrapperAs<CRgn>(h, OBJ_REGION); }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT(google-explicit-constructor)

  BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
  BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
  void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(*this, l, t, r, b); }
  void SetRectRgn(LPCRECT rect) {
    if (rect) ::SetRectRgn(*this, rect->left, rect->top, rect->right, rect->bottom);
  }
  int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return ::CombineRgn(*this, a ? static_cast<HRGN>(a->m_hObject) : nullptr,
                        b ? static_cast<HRGN>(b->m_hObject) : nullptr, mode);
  }
  int CopyRgn(const CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
  BOOL EqualRgn(const CRgn* o) const { return o ? ::EqualRgn(*this, *o) : FALSE; }
  int OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
  int OffsetRgn(POINT p) { return OffsetRgn(p.x, p.y); }
  int GetRgnBox(LPRECT box) const { return ::GetRgnBox(*this, box); }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
  BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
  BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion(*this, rect); }
};
