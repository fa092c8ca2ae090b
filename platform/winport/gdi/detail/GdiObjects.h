// The objects behind GDI handles and the thread-safe table that maps handles to them. Handles
// are never reused, so a deleted or made-up handle simply finds nothing. Objects are shared:
// a DC keeps what it has selected alive even after DeleteObject.
#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

#include "winport/gdi/GdiTypes.h"
#include "winport/gdi/Region.h"
#include "winport/gdi/Surface.h"

namespace winport {

class Font;

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushData {
  UINT style = BS_SOLID;
  COLORREF color = 0;
  std::shared_ptr<const Surface> pattern;
};

struct FontData {
  LOGFONTW lf{};
  bool useDefault = false;  // the system font: Font::Default()
  // Resolved on first use (fontconfig lookups are not free).
  std::shared_ptr<const Font> Resolve() const;

 private:
  mutable std::once_flag once_;
  mutable std::shared_ptr<const Font> font_;
};

struct BitmapData {
  std::shared_ptr<Surface> surface;
};

struct RegionData {
  Region region;
};

// Everything a DC holds; SaveDC pushes a copy.
struct DcState {
  std::shared_ptr<Surface> target;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;
  std::shared_ptr<const PenData> penData;
  std::shared_ptr<const BrushData> brushData;
  std::shared_ptr<const FontData> fontData;
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{0, 0};
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  POINT brushOrg{0, 0};
  std::optional<Region> clip;  // device coordinates; none = the whole surface
};

struct DcData {
  bool memory = false;  // a memory DC draws into its selected bitmap
  DcState state;
  std::vector<DcState> saved;
  std::optional<Region> visible;  // the owner's restriction (paint update area), device coordinates
};

using GdiObject = std::variant<PenData, BrushData, FontData, BitmapData, RegionData, DcData>;

struct GdiEntry {
  template <class T>
  explicit GdiEntry(std::in_place_type_t<T> t, bool isStock = false) : stock(isStock), object(t) {}
  bool stock;
  GdiObject object;
};

namespace gdi {

HGDIOBJ Insert(std::shared_ptr<GdiEntry> entry);
std::shared_ptr<GdiEntry> Find(HGDIOBJ h);
// False for unknown and stock handles.
bool Remove(HGDIOBJ h);

template <class T>
std::shared_ptr<T> Lookup(HGDIOBJ h) {
  auto e = Find(h);
  if (!e) return nullptr;
  T* p = std::get_if<T>(&e->object);
  if (!p) return nullptr;
  return std::shared_ptr<T>(e, p);
}

template <class T, class Init>
HGDIOBJ Create(Init&& init) {
  auto e = std::make_shared<GdiEntry>(std::in_place_type<T>);
  init(std::get<T>(e->object));
  return Insert(std::move(e));
}

HBITMAP DefaultBitmap();
// The framework wrappers of a deleted handle retire (CGdiObject.cpp).
void ForgetWrappers(HGDIOBJ h);
void ForgetDcWrappers(HDC h);  // CDC.cpp

}  // namespace gdi
}  // namespace winport
