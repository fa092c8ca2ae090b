#include "winport/gdi/CGdiObject.h"

#include <cstdlib>
#include <cwchar>

#include "winport/base/debug.h"
#include "winport/gdi/CBitmap.h"
#include "winport/gdi/CBrush.h"
#include "winport/gdi/CDC.h"
#include "winport/gdi/CFont.h"
#include "winport/gdi/CPen.h"
#include "winport/gdi/CRgn.h"
#include "winport/gdi/detail/GdiObjects.h"
#include "winport/gdi/Wrappers.h"
#include "winport/res/Resources.h"

namespace winport::detail {
namespace {

// Temporaries never own their handle: they release it before they go.
template <class T>
struct Temporary : T {
  ~Temporary() override { this->m_hObject = nullptr; }
};

WrapperMap<CGdiObject>& Objects() {
  static auto* map = new WrapperMap<CGdiObject>;
  return *map;
}

std::unique_ptr<CGdiObject> MakeTemporary(HGDIOBJ h, DWORD type) {
  std::unique_ptr<CGdiObject> o;
  switch (type) {
    case OBJ_PEN: o = std::make_unique<Temporary<CPen>>(); break;
    case OBJ_BRUSH: o = std::make_unique<Temporary<CBrush>>(); break;
    case OBJ_FONT: o = std::make_unique<Temporary<CFont>>(); break;
    case OBJ_BITMAP: o = std::make_unique<Temporary<CBitmap>>(); break;
    case OBJ_REGION: o = std::make_unique<Temporary<CRgn>>(); break;
    default: o = std::make_unique<Temporary<CGdiObject>>(); break;
  }
  o->m_hObject = h;
  return o;
}

}  // namespace

CGdiObject* WrapperFor(HGDIOBJ h, DWORD type) {
  if (!h) return nullptr;
  const DWORD kind = type ? type : ::GetObjectType(h);
  return Objects().Find(h, kind, [h, kind] { return MakeTemporary(h, kind); });
}

CGdiObject* TemporaryFor(HGDIOBJ h, DWORD type) {
  if (!h) return nullptr;
  return Objects().Find(h, type, [h, type] { return MakeTemporary(h, type); }, false);
}

}  // namespace winport::detail

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return winport::detail::WrapperFor(h); }

BOOL CGdiObject::Attach(HGDIOBJ h) {
  if (!h) return FALSE;
  // Creating into an object that already holds one replaces (and frees) the old handle.
  if (m_hObject && m_hObject != h) DeleteObject();
  m_hObject = h;
  winport::detail::Objects().Attach(h, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  if (h) winport::detail::Objects().Detach(h, this);
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  HGDIOBJ h = Detach();
  const BOOL ok = ::DeleteObject(h);
  return ok;
}

BOOL CGdiObject::CreateStockObject(int index) {
  HGDIOBJ h = ::GetStockObject(index);
  if (!h) return FALSE;
  if (m_hObject) DeleteObject();
  m_hObject = h;
  return TRUE;
}

namespace winport::gdi {
void ForgetWrappers(HGDIOBJ h) { detail::Objects().Forget(h); }
}  // namespace winport::gdi

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR face, CDC* dc) {
  LOGFONTW lf{};
  lf.lfHeight = pointSize;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (face) std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lf, CDC*) {
  if (!lf) return FALSE;
  LOGFONTW copy = *lf;
  // lfHeight arrives in tenths of a point; the screen is 96 DPI.
  copy.lfHeight = -std::abs(MulDiv(copy.lfHeight, 96, 720));
  return CreateFontIndirect(&copy);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}

BOOL CBitmap::LoadBitmap(LPCWSTR name) {
  if (!name) return FALSE;
  return Attach(::LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name));
}
