#include "winport/gdi/CDC.h"

#include <algorithm>
#include <cstdint>

#include "winport/base/geometry.h"
#include "winport/gdi/detail/GdiObjects.h"
#include "winport/gdi/Wrappers.h"

namespace {

struct TemporaryDC : CDC {
  ~TemporaryDC() override { m_hDC = m_hAttribDC = nullptr; }
};

winport::detail::WrapperMap<CDC>& DCs() {
  static auto* map = new winport::detail::WrapperMap<CDC>;
  return *map;
}

}  // namespace

namespace winport::gdi {
void ForgetDcWrappers(HDC h) { DCs().Forget(h); }
}  // namespace winport::gdi

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc) {
  return DCs().Find(hdc, 0, [hdc] {
    auto dc = std::make_unique<TemporaryDC>();
    dc->m_hDC = dc->m_hAttribDC = hdc;
    return std::unique_ptr<CDC>(std::move(dc));
  });
}

BOOL CDC::Attach(HDC hdc) {
  if (!hdc) return FALSE;
  if (m_hDC) Detach();  // the previous DC stays with whoever owns it
  m_hDC = m_hAttribDC = hdc;
  DCs().Attach(hdc, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  if (h) DCs().Detach(h, this);
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC) return FALSE;
  return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pen) {
  if (!pen) return nullptr;
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (!brush) return nullptr;
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* font) {
  if (!font) return nullptr;
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  if (!bitmap) return nullptr;
  return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)));
}

int CDC::SelectObject(CRgn* rgn) {
  if (!rgn) return ERROR;
  return ::SelectClipRgn(m_hDC, static_cast<HRGN>(rgn->m_hObject));
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (!object) return nullptr;
  if (::GetObjectType(object->m_hObject) == OBJ_REGION) {
    ::SelectClipRgn(m_hDC, static_cast<HRGN>(object->m_hObject));
    return nullptr;
  }
  return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int index) {
  HGDIOBJ stock = ::GetStockObject(index);
  return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  POINT old{0, 0};
  ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
  return old;
}

CPoint CDC::GetViewportOrg() const {
  POINT p{0, 0};
  ::GetViewportOrgEx(m_hDC, &p);
  return p;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetWindowOrg() const {
  POINT p{0, 0};
  ::GetWindowOrgEx(m_hDC, &p);
  return p;
}

CPoint CDC::SetBrushOrg(int x, int y) {
  POINT old{0, 0};
  ::SetBrushOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetBrushOrg() const {
  POINT p{0, 0};
  ::GetBrushOrgEx(m_hDC, &p);
  return p;
}

void CDC::LPtoDP(LPPOINT pts, int count) const {
  if (!pts) return;
  const CPoint o = GetViewportOrg() - GetWindowOrg();
  for (int i = 0; i < count; ++i) { pts[i].x += o.x; pts[i].y += o.y; }
}

void CDC::DPtoLP(LPPOINT pts, int count) const {
  if (!pts) return;
  const CPoint o = GetViewportOrg() - GetWindowOrg();
  for (int i = 0; i < count; ++i) { pts[i].x -= o.x; pts[i].y -= o.y; }
}

CPoint CDC::MoveTo(int x, int y) {
  POINT old{0, 0};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetCurrentPosition() const {
  POINT p{0, 0};
  ::GetCurrentPositionEx(m_hDC, &p);
  return p;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  if (!rect) return;
  ::SetBkColor(m_hDC, color);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  // Extents near the integer limits saturate rather than wrap.
  auto end = [](int a, int b) {
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(a) + b, INT32_MIN, INT32_MAX));
  };
  const RECT r{x, y, end(x, cx), end(y, cy)};
  FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (!rect) return;
  const auto extent = [](LONG a, LONG b) { return winport::SatCoord(std::int64_t{b} - a); };
  Draw3dRect(rect->left, rect->top, extent(rect->left, rect->right), extent(rect->top, rect->bottom), topLeft,
             bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  // The negative extents rely on FillSolidRect ordering its rectangle: they give the right
  // column and the bottom row.
  using winport::SatCoord;
  FillSolidRect(x, y, SatCoord(std::int64_t{cx} - 1), 1, topLeft);
  FillSolidRect(x, y, 1, SatCoord(std::int64_t{cy} - 1), topLeft);
  FillSolidRect(SatCoord(std::int64_t{x} + cx), y, -1, cy, bottomRight);
  FillSolidRect(x, SatCoord(std::int64_t{y} + cy), cx, -1, bottomRight);
}

CSize CDC::GetTextExtent(LPCWSTR text, int count) const {
  SIZE s{0, 0};
  ::GetTextExtentPoint32W(m_hDC, text, count, &s);
  return s;
}
