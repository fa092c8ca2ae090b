#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

#include "winport/base/debug.h"
#include "winport/base/geometry.h"
#include "winport/gdi/detail/DcAccess.h"
#include "winport/gdi/DeviceContext.h"
#include "winport/gdi/Gdi32.h"

namespace winport {
namespace gdi {

std::shared_ptr<DcData> FindDC(HDC hdc) { return Lookup<DcData>(hdc); }

POINT Origin(const DcState& s) {
  return POINT{SatCoord(std::int64_t{s.viewportOrg.x} - s.windowOrg.x),
               SatCoord(std::int64_t{s.viewportOrg.y} - s.windowOrg.y)};
}

DcPainter::DcPainter(DcData& dc) : target_(dc.state.target ? dc.state.target : std::make_shared<Surface>()) {
  const Region* clip = nullptr;
  if (dc.state.clip && dc.visible) {
    clip_ = *dc.state.clip;
    clip_->Intersect(*dc.visible);
    clip = &*clip_;
  } else if (dc.state.clip) {
    clip = &*dc.state.clip;
  } else if (dc.visible) {
    clip = &*dc.visible;
  }
  painter_.emplace(*target_, clip, Origin(dc.state));
}

Pixel BrushPixelColor(const BrushData& b) { return ToPixel(b.color); }

bool BrushPaint(const DcState& s, const BrushData* b, Paint& out) {
  if (!b || b->style == BS_NULL) return false;
  out.color = ToPixel(b->color);
  out.pattern = b->pattern;
  // The brush origin is in device coordinates already.
  out.origin = s.brushOrg;
  return true;
}

void FillOpaque(DcData& dc, RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  DcPainter(dc)->FillRect(r, ToPixel(dc.state.bkColor));
}

}  // namespace gdi

namespace {

void SelectDefaults(DcState& s) {
  s.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  s.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  s.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  s.penData = gdi::Lookup<PenData>(s.pen);
  s.brushData = gdi::Lookup<BrushData>(s.brush);
  s.fontData = gdi::Lookup<FontData>(s.font);
}

}  // namespace

namespace {
std::atomic<int> g_displayWidth{1920};
std::atomic<int> g_displayHeight{1080};
}  // namespace

void SetDisplaySize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  g_displayWidth = width;
  g_displayHeight = height;
}

HDC CreateDCForSurface(std::shared_ptr<Surface> target) {
  if (!target) return nullptr;
  return static_cast<HDC>(gdi::Create<DcData>([&](DcData& dc) {
    dc.state.target = std::move(target);
    SelectDefaults(dc.state);
  }));
}

BOOL SetDCVisibleRegion(HDC hdc, const Region* region) {
  auto dc = gdi::FindDC(hdc);
  if (!dc) return FALSE;
  if (region) dc->visible = *region;
  else dc->visible.reset();
  return TRUE;
}

std::shared_ptr<Surface> GetDCSurface(HDC hdc) {
  auto dc = gdi::FindDC(hdc);
  return dc ? dc->state.target : nullptr;
}

}  // namespace winport

using namespace winport;
using winport::gdi::FindDC;

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindDC(hdc)) return nullptr;
  return static_cast<HDC>(gdi::Create<DcData>([&](DcData& dc) {
    dc.memory = true;
    SelectDefaults(dc.state);
    dc.state.bitmap = gdi::DefaultBitmap();
    dc.state.target = GetBitmapSurface(dc.state.bitmap);
  }));
}

BOOL DeleteDC(HDC hdc) {
  if (!FindDC(hdc) || !gdi::Remove(hdc)) return FALSE;
  gdi::ForgetDcWrappers(hdc);
  return TRUE;
}

int SaveDC(HDC hdc) {
  auto dc = FindDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  const int depth = static_cast<int>(dc->saved.size());
  const int level = saved < 0 ? depth + 1 + saved : saved;
  if (level < 1 || level > depth) return FALSE;
  dc->state = dc->saved[static_cast<std::size_t>(level - 1)];
  dc->saved.resize(static_cast<std::size_t>(level - 1));
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  auto dc = FindDC(hdc);
  auto e = gdi::Find(h);
  if (!dc || !e) return nullptr;
  DcState& s = dc->state;
  HGDIOBJ old = nullptr;
  if (auto* pen = std::get_if<PenData>(&e->object)) {
    old = s.pen;
    s.pen = static_cast<HPEN>(h);
    s.penData = std::shared_ptr<const PenData>(e, pen);
  } else if (auto* brush = std::get_if<BrushData>(&e->object)) {
    old = s.brush;
    s.brush = static_cast<HBRUSH>(h);
    s.brushData = std::shared_ptr<const BrushData>(e, brush);
  } else if (auto* font = std::get_if<FontData>(&e->object)) {
    old = s.font;
    s.font = static_cast<HFONT>(h);
    s.fontData = std::shared_ptr<const FontData>(e, font);
  } else if (auto* bitmap = std::get_if<BitmapData>(&e->object)) {
    if (!dc->memory) return nullptr;  // only memory DCs take bitmaps
    old = s.bitmap;
    s.bitmap = static_cast<HBITMAP>(h);
    s.target = bitmap->surface;
  } else if (std::holds_alternative<RegionData>(e->object)) {
    return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(h))));
  }
  return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = FindDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
  }
}

#define WINPORT_DC_SETTER(Name, Getter, Field, Type, Bad)  \
  Type Name(HDC hdc, Type value) {                         \
    auto dc = FindDC(hdc);                                 \
    if (!dc) return Bad;                                   \
    const Type old = dc->state.Field;                      \
    dc->state.Field = value;                               \
    return old;                                            \
  }                                                        \
  Type Getter(HDC hdc) {                                   \
    auto dc = FindDC(hdc);                                 \
    return dc ? dc->state.Field : Bad;                     \
  }

WINPORT_DC_SETTER(SetBkColor, GetBkColor, bkColor, COLORREF, CLR_INVALID)
WINPORT_DC_SETTER(SetTextColor, GetTextColor, textColor, COLORREF, CLR_INVALID)
WINPORT_DC_SETTER(SetTextAlign, GetTextAlign, textAlign, UINT, GDI_ERROR)
#undef WINPORT_DC_SETTER

int SetBkMode(HDC hdc, int mode) {
  auto dc = FindDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int old = dc->state.bkMode;
  dc->state.bkMode = mode;
  return old;
}

int GetBkMode(HDC hdc) {
  auto dc = FindDC(hdc);
  return dc ? dc->state.bkMode : 0;
}

namespace {

BOOL SetPoint(HDC hdc, POINT DcState::*field, int x, int y, LPPOINT old, bool relative) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->state.*field;
  if (old) *old = p;
  p = relative ? POINT{SatCoord(std::int64_t{p.x} + x), SatCoord(std::int64_t{p.y} + y)} : POINT{x, y};
  return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DcState::*field, LPPOINT out) {
  auto dc = FindDC(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->state.*field;
  return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::viewportOrg, x, y, old, false); }
BOOL GetViewportOrgEx(HDC hdc, LPPOINT org) { return GetPoint(hdc, &DcState::viewportOrg, org); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return SetPoint(hdc, &DcState::viewportOrg, dx, dy, old, true);
}
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::windowOrg, x, y, old, false); }
BOOL GetWindowOrgEx(HDC hdc, LPPOINT org) { return GetPoint(hdc, &DcState::windowOrg, org); }
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::brushOrg, x, y, old, false); }
BOOL GetBrushOrgEx(HDC hdc, LPPOINT org) { return GetPoint(hdc, &DcState::brushOrg, org); }
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pos) { return GetPoint(hdc, &DcState::position, pos); }

int SetStretchBltMode(HDC hdc, int mode) {
  // Stretching is always nearest-pixel; the mode is accepted and reported back.
  return FindDC(hdc) && mode > 0 ? 1 : 0;
}

int GetDeviceCaps(HDC hdc, int index) {
  auto dc = FindDC(hdc);
  if (!dc) return 0;
  const int w = winport::g_displayWidth, h = winport::g_displayHeight;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return w;
    case VERTRES: return h;
    case HORZSIZE: return MulDiv(w, 254, 960);  // millimetres at 96 DPI
    case VERTSIZE: return MulDiv(h, 254, 960);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    default: return 0;
  }
}

// Clipping. Regions are device coordinates; rectangles given to the clip functions are logical.
namespace {

int ClipType(const DcData& dc) {
  if (!dc.state.clip) return SIMPLEREGION;
  if (dc.state.clip->Empty()) return NULLREGION;
  return dc.state.clip->IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

Region SurfaceRegion(const DcData& dc) {
  const Surface* s = dc.state.target.get();
  return Region(RECT{0, 0, s ? s->Width() : 0, s ? s->Height() : 0});
}

}  // namespace

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  auto dc = FindDC(hdc);
  if (!dc) return ERROR;
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!r) {
    if (mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();  // a null region lifts the clip
    return SIMPLEREGION;
  }
  if (mode == RGN_COPY || !dc->state.clip) {
    // No clip yet means everything: AND gives the region, OR everything, DIFF the surface less it.
    Region base = dc->state.clip ? *dc->state.clip : SurfaceRegion(*dc);
    switch (mode) {
      case RGN_COPY:
      case RGN_AND: base = r->region; break;
      case RGN_OR: base.Union(r->region); break;
      case RGN_XOR: base.Xor(r->region); break;
      case RGN_DIFF: base.Subtract(r->region); break;
      default: return ERROR;
    }
    dc->state.clip = std::move(base);
    return ClipType(*dc);
  }
  Region& c = *dc->state.clip;
  switch (mode) {
    case RGN_AND: c.Intersect(r->region); break;
    case RGN_OR: c.Union(r->region); break;
    case RGN_XOR: c.Xor(r->region); break;
    case RGN_DIFF: c.Subtract(r->region); break;
    default: return ERROR;
  }
  return ClipType(*dc);
}

namespace {

RECT LogicalToDevice(const DcState& s, int l, int t, int r, int b) {
  const POINT o = gdi::Origin(s);
  return SatRect(std::int64_t{std::min(l, r)} + o.x, std::int64_t{std::min(t, b)} + o.y,
                 std::int64_t{std::max(l, r)} + o.x, std::int64_t{std::max(t, b)} + o.y);
}

}  // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = FindDC(hdc);
  if (!dc) return ERROR;
  const Region r(LogicalToDevice(dc->state, left, top, right, bottom));
  if (!dc->state.clip) dc->state.clip = r;
  else dc->state.clip->Intersect(r);
  return ClipType(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = FindDC(hdc);
  if (!dc) return ERROR;
  if (!dc->state.clip) dc->state.clip = SurfaceRegion(*dc);
  dc->state.clip->Subtract(Region(LogicalToDevice(dc->state, left, top, right, bottom)));
  return ClipType(*dc);
}

namespace {

// What the DC can draw on now, device coordinates.
Region EffectiveClip(const DcData& dc) {
  Region r = SurfaceRegion(dc);
  if (dc.state.clip) r.Intersect(*dc.state.clip);
  if (dc.visible) r.Intersect(*dc.visible);
  return r;
}

}  // namespace

int GetClipBox(HDC hdc, LPRECT rect) {
  auto dc = FindDC(hdc);
  if (!dc || !rect) return ERROR;
  const Region r = EffectiveClip(*dc);
  RECT b = r.Bounds();
  const POINT o = gdi::Origin(dc->state);
  if (!r.Empty()) OffsetRect(&b, -o.x, -o.y);
  *rect = b;
  if (r.Empty()) return NULLREGION;
  return r.IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  auto dc = FindDC(hdc);
  auto r = gdi::Lookup<RegionData>(rgn);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  const POINT o = gdi::Origin(dc->state);
  return EffectiveClip(*dc).Contains(SatCoord(std::int64_t{x} + o.x), SatCoord(std::int64_t{y} + o.y)) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  auto dc = FindDC(hdc);
  if (!dc || !rect) return FALSE;
  Region r(LogicalToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom));
  r.Intersect(EffectiveClip(*dc));
  return r.Empty() ? FALSE : TRUE;
}
