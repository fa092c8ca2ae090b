#include "winport/gdi/detail/GdiObjects.h"

#include <array>
#include <cstring>
#include <unordered_map>

#include "winport/gdi/DeviceContext.h"
#include "winport/gdi/Gdi32.h"
#include "winport/text/Font.h"

namespace winport {

std::shared_ptr<const Font> FontData::Resolve() const {
  std::call_once(once_, [this] { font_ = useDefault ? Font::Default() : Font::Create(lf); });
  return font_;
}

namespace gdi {
namespace {

class HandleTable {
 public:
  HGDIOBJ Insert(std::shared_ptr<GdiEntry> e) {
    std::lock_guard lock(mutex_);
    // Spaced and never reused: a stale handle can only miss.
    next_ += 0x10;
    map_.emplace(next_, std::move(e));
    return reinterpret_cast<HGDIOBJ>(next_);
  }
  std::shared_ptr<GdiEntry> Find(HGDIOBJ h) {
    std::lock_guard lock(mutex_);
    auto it = map_.find(reinterpret_cast<std::uintptr_t>(h));
    return it == map_.end() ? nullptr : it->second;
  }
  bool Remove(HGDIOBJ h) {
    std::shared_ptr<GdiEntry> dead;  // released outside the lock
    std::lock_guard lock(mutex_);
    auto it = map_.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == map_.end() || it->second->stock) return false;
    dead = std::move(it->second);
    map_.erase(it);
    return true;
  }

 private:
  std::mutex mutex_;
  std::uintptr_t next_ = 0x10000;
  std::unordered_map<std::uintptr_t, std::shared_ptr<GdiEntry>> map_;
};

HandleTable& Table() {
  static auto* table = new HandleTable;  // outlives every static that may still delete objects
  return *table;
}

template <class T, class Init>
HGDIOBJ MakeStock(Init&& init) {
  auto e = std::make_shared<GdiEntry>(std::in_place_type<T>, true);
  init(std::get<T>(e->object));
  return Table().Insert(std::move(e));
}

LOGFONTW StockLogFont(LONG height, LONG weight, BYTE pitch, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfPitchAndFamily = pitch;
  std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct Stock {
  std::array<HGDIOBJ, 20> objects{};
  HBITMAP bitmap = nullptr;

  Stock() {
    auto brush = [](COLORREF c, UINT style = BS_SOLID) {
      return MakeStock<BrushData>([&](BrushData& b) { b.color = c; b.style = style; });
    };
    auto pen = [](COLORREF c, int style = PS_SOLID) {
      return MakeStock<PenData>([&](PenData& p) { p.color = c; p.style = style; });
    };
    auto font = [](const LOGFONTW& lf, bool useDefault) {
      return MakeStock<FontData>([&](FontData& f) { f.lf = lf; f.useDefault = useDefault; });
    };
    objects[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
    objects[GRAY_BRUSH] = brush(RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
    objects[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    objects[NULL_BRUSH] = brush(0, BS_NULL);
    objects[WHITE_PEN] = pen(RGB(255, 255, 255));
    objects[BLACK_PEN] = pen(RGB(0, 0, 0));
    objects[NULL_PEN] = pen(0, PS_NULL);
    const HGDIOBJ system = font(StockLogFont(16, FW_BOLD, VARIABLE_PITCH, L"System"), true);
    const HGDIOBJ fixed = font(StockLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, L"Courier"), false);
    objects[SYSTEM_FONT] = system;
    objects[DEVICE_DEFAULT_FONT] = system;
    objects[OEM_FIXED_FONT] = fixed;
    objects[ANSI_FIXED_FONT] = fixed;
    objects[SYSTEM_FIXED_FONT] = fixed;
    objects[ANSI_VAR_FONT] = font(StockLogFont(12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif"), false);
    objects[DEFAULT_GUI_FONT] = font(StockLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, L"MS Shell Dlg"), false);
    bitmap = static_cast<HBITMAP>(MakeStock<BitmapData>([](BitmapData& b) {
      b.surface = std::make_shared<Surface>(1, 1, 0);
    }));
  }
};

Stock& Stocks() {
  static auto* stock = new Stock;
  return *stock;
}

}  // namespace

HGDIOBJ Insert(std::shared_ptr<GdiEntry> entry) { return Table().Insert(std::move(entry)); }
std::shared_ptr<GdiEntry> Find(HGDIOBJ h) { return h ? Table().Find(h) : nullptr; }
bool Remove(HGDIOBJ h) { return h && Table().Remove(h); }
HBITMAP DefaultBitmap() { return Stocks().bitmap; }

}  // namespace gdi

HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface) {
  if (!surface) return nullptr;
  return static_cast<HBITMAP>(gdi::Create<BitmapData>([&](BitmapData& b) { b.surface = std::move(surface); }));
}

std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap) {
  auto b = gdi::Lookup<BitmapData>(bitmap);
  return b ? b->surface : nullptr;
}

}  // namespace winport

using namespace winport;

HGDIOBJ GetStockObject(int id) {
  if (id < 0 || id >= static_cast<int>(gdi::Stocks().objects.size())) return nullptr;
  return gdi::Stocks().objects[static_cast<std::size_t>(id)];
}

BOOL DeleteObject(HGDIOBJ h) {
  auto e = gdi::Find(h);
  if (!e) return FALSE;
  if (std::holds_alternative<DcData>(e->object)) return FALSE;
  if (e->stock) return TRUE;  // stock objects stay; deleting one is harmless
  if (!gdi::Remove(h)) return FALSE;
  gdi::ForgetWrappers(h);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ h) {
  auto e = gdi::Find(h);
  if (!e) return 0;
  switch (e->object.index()) {
    case 0: return OBJ_PEN;
    case 1: return OBJ_BRUSH;
    case 2: return OBJ_FONT;
    case 3: return OBJ_BITMAP;
    case 4: return OBJ_REGION;
    default: return std::get<DcData>(e->object).memory ? OBJ_MEMDC : OBJ_DC;
  }
}

namespace {

template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
  if (!out) return static_cast<int>(sizeof(T));
  if (size <= 0) return 0;
  const int n = std::min(size, static_cast<int>(sizeof(T)));
  std::memcpy(out, &value, static_cast<std::size_t>(n));
  return n;
}

}  // namespace

int GetObjectW(HGDIOBJ h, int size, LPVOID out) {
  auto e = gdi::Find(h);
  if (!e) return 0;
  if (auto* p = std::get_if<PenData>(&e->object)) {
    return CopyOut(LOGPEN{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color}, size, out);
  }
  if (auto* b = std::get_if<BrushData>(&e->object)) {
    return CopyOut(LOGBRUSH{b->style, b->color, 0}, size, out);
  }
  if (auto* f = std::get_if<FontData>(&e->object)) return CopyOut(f->lf, size, out);
  if (auto* bm = std::get_if<BitmapData>(&e->object)) {
    const Surface& s = *bm->surface;
    return CopyOut(BITMAP{0, s.Width(), s.Height(), s.Width() * 4, 1, 32, nullptr}, size, out);
  }
  return 0;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  style &= PS_STYLE_MASK;
  if (style > PS_INSIDEFRAME) style = PS_SOLID;
  if (style == PS_INSIDEFRAME) style = PS_SOLID;
  return static_cast<HPEN>(gdi::Create<PenData>([&](PenData& p) {
    p.style = style;
    p.width = std::clamp(width, 1, 1024);
    p.color = color & 0x00FFFFFFu;
  }));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  return lp ? CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(gdi::Create<BrushData>([&](BrushData& b) { b.color = color & 0x00FFFFFFu; }));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto surface = GetBitmapSurface(bitmap);
  if (!surface || surface->Empty()) return nullptr;
  // The brush keeps its own copy: later drawing into the bitmap does not change it.
  auto copy = std::make_shared<const Surface>(*surface);
  return static_cast<HBRUSH>(gdi::Create<BrushData>([&](BrushData& b) {
    b.style = BS_PATTERN;
    b.pattern = copy;
  }));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  if (lb->lbStyle == BS_NULL) {
    return static_cast<HBRUSH>(gdi::Create<BrushData>([](BrushData& b) { b.style = BS_NULL; }));
  }
  if (lb->lbStyle == BS_PATTERN) return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
  return CreateSolidBrush(lb->lbColor);
}

HFONT CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) return nullptr;
  return static_cast<HFONT>(gdi::Create<FontData>([&](FontData& f) {
    f.lf = *lf;
    f.lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  // The platform orders the corners of a region's rectangle.
  return static_cast<HRGN>(gdi::Create<RegionData>([&](RegionData& r) {
    r.region.SetRect(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
  }));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

namespace {
int RegionType(const Region& r) {
  if (r.Empty()) return NULLREGION;
  return r.IsRect() ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!r) return FALSE;
  r->region.SetRect(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  auto d = gdi::Lookup<RegionData>(dst);
  auto a = gdi::Lookup<RegionData>(src1);
  if (!d || !a) return ERROR;
  Region result = a->region;
  if (mode == RGN_COPY) {
    d->region = result;
    return RegionType(result);
  }
  auto b = gdi::Lookup<RegionData>(src2);
  if (!b) return ERROR;
  switch (mode) {
    case RGN_AND: result.Intersect(b->region); break;
    case RGN_OR: result.Union(b->region); break;
    case RGN_XOR: result.Xor(b->region); break;
    case RGN_DIFF: result.Subtract(b->region); break;
    default: return ERROR;
  }
  d->region = std::move(result);
  return RegionType(d->region);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return RegionType(r->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  auto r = gdi::Lookup<RegionData>(rgn);
  return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!r || !rect) return FALSE;
  Region probe(*rect);
  probe.Intersect(r->region);
  return probe.Empty() ? FALSE : TRUE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto ra = gdi::Lookup<RegionData>(a);
  auto rb = gdi::Lookup<RegionData>(b);
  return ra && rb && ra->region == rb->region ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, LPRECT box) {
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!r || !box) return ERROR;
  *box = r->region.Bounds();
  return RegionType(r->region);
}
