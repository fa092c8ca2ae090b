// Lines, shapes, fills and blits of a DC: state from the DC, pixels from the Painter.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "winport/base/geometry.h"
#include "winport/gdi/detail/DcAccess.h"
#include "winport/gdi/Gdi32.h"

using namespace winport;
using winport::gdi::DcPainter;
using winport::gdi::FindDC;

namespace {

// The pen as a line style; false for a null pen.
bool PenStyle(const DcState& s, LineStyle& out) {
  const PenData* p = s.penData.get();
  if (!p || p->style == PS_NULL) return false;
  out.color = ToPixel(p->color);
  out.width = p->width;
  // Styled lines are a property of thin pens only, as on the desktop.
  out.dash = p->width <= 1 ? p->style : PS_SOLID;
  out.opaqueGaps = s.bkMode == OPAQUE;
  out.gapColor = ToPixel(s.bkColor);
  return true;
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  LineStyle style;
  if (PenStyle(dc->state, style)) DcPainter(*dc)->Line(dc->state.position, POINT{x, y}, style);
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  auto dc = FindDC(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  LineStyle style;
  if (!PenStyle(dc->state, style)) return TRUE;
  DcPainter painter(*dc);
  for (int i = 1; i < count; ++i) painter->Line(pts[i - 1], pts[i], style);
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
  auto dc = FindDC(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  DcPainter painter(*dc);
  Paint fill;
  if (gdi::BrushPaint(dc->state, dc->state.brushData.get(), fill)) {
    painter->FillPolygon(std::span<const POINT>(pts, static_cast<std::size_t>(count)), fill);
  }
  LineStyle style;
  if (PenStyle(dc->state, style)) {
    for (int i = 0; i < count; ++i) painter->Line(pts[i], pts[(i + 1) % count], style);
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  // Corners saturate at the coordinate limit, so the edges' +-1 below fit int.
  const RECT r = SatRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
  DcPainter painter(*dc);
  LineStyle pen;
  const bool hasPen = PenStyle(dc->state, pen);
  Paint fill;
  if (gdi::BrushPaint(dc->state, dc->state.brushData.get(), fill)) {
    // Without a pen the filled area is one pixel smaller each way, as on the desktop.
    const RECT inner = hasPen ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                              : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
    painter->FillRect(inner, fill);
  }
  if (hasPen && r.right > r.left && r.bottom > r.top) {
    const POINT tl{r.left, r.top}, tr{r.right - 1, r.top}, br{r.right - 1, r.bottom - 1}, bl{r.left, r.bottom - 1};
    painter->Line(tl, tr, pen);
    painter->Line(tr, br, pen);
    painter->Line(br, bl, pen);
    painter->Line(bl, tl, pen);
    if (r.right - r.left == 1 || r.bottom - r.top == 1) painter->Line(tl, POINT{br.x + 1, br.y + 1}, pen);
  }
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  LineStyle pen;
  const bool hasPen = PenStyle(dc->state, pen);
  Paint fill;
  const bool hasFill = gdi::BrushPaint(dc->state, dc->state.brushData.get(), fill);
  DcPainter(*dc)->Ellipse(RECT{left, top, right, bottom}, hasPen ? &pen : nullptr, hasFill ? &fill : nullptr);
  return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  LineStyle pen;
  if (!PenStyle(dc->state, pen)) return TRUE;
  const double cx = (static_cast<double>(left) + right - 1) / 2.0, cy = (static_cast<double>(top) + bottom - 1) / 2.0;
  // Angles counter-clockwise on screen (y grows downwards).
  auto angle = [&](double x, double y) {
    const double a = std::atan2(-(y - cy), x - cx);
    return a < 0 ? a + 2 * std::numbers::pi : a;
  };
  std::function<bool(int, int)> keep;
  if (xStart != xEnd || yStart != yEnd) {
    const double a0 = angle(xStart, yStart), a1 = angle(xEnd, yEnd);
    const double sweep = a1 > a0 ? a1 - a0 : a1 - a0 + 2 * std::numbers::pi;
    keep = [=](int x, int y) {
      double d = angle(x, y) - a0;
      if (d < 0) d += 2 * std::numbers::pi;
      return d <= sweep;
    };
  }
  DcPainter(*dc)->Ellipse(RECT{left, top, right, bottom}, &pen, nullptr, keep);
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = FindDC(hdc);
  auto b = gdi::Lookup<BrushData>(brush);
  if (!dc || !rect || !b) return 0;
  Paint fill;
  if (gdi::BrushPaint(dc->state, b.get(), fill)) DcPainter(*dc)->FillRect(*rect, fill);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = FindDC(hdc);
  auto b = gdi::Lookup<BrushData>(brush);
  if (!dc || !rect || !b) return 0;
  const RECT r = SatRect(rect->left, rect->top, rect->right, rect->bottom);
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  Paint fill;
  if (!gdi::BrushPaint(dc->state, b.get(), fill)) return 1;
  DcPainter painter(*dc);
  painter->FillRect(RECT{r.left, r.top, r.right, r.top + 1}, fill);
  painter->FillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom}, fill);
  painter->FillRect(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, fill);
  painter->FillRect(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, fill);
  return 1;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  auto dc = FindDC(hdc);
  auto r = gdi::Lookup<RegionData>(rgn);
  auto b = gdi::Lookup<BrushData>(brush);
  if (!dc || !r || !b) return FALSE;
  Paint fill;
  if (!gdi::BrushPaint(dc->state, b.get(), fill)) return TRUE;
  DcPainter painter(*dc);
  for (const RECT& piece : r->region.Rects()) painter->FillRect(piece, fill);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
  auto dc = FindDC(hdc);
  return dc ? FillRgn(hdc, rgn, dc->state.brush) : FALSE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  auto dc = FindDC(hdc);
  if (!dc || !rect) return FALSE;
  DcPainter(*dc)->Transform(*rect, [](int, int, Pixel p) { return (~p & 0x00FFFFFFu) | (p & 0xFF000000u); });
  return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  auto dc = FindDC(hdc);
  if (!dc || !rect) return FALSE;
  // Outer ring then inner ring; raised = light top-left, dark bottom-right.
  const COLORREF light = RGB(255, 255, 255), face = RGB(227, 227, 227), shadow = RGB(160, 160, 160),
                 dark = RGB(105, 105, 105);
  RECT r = SatRect(rect->left, rect->top, rect->right, rect->bottom);
  DcPainter painter(*dc);
  auto ring = [&](COLORREF tl, COLORREF brc) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (flags & BF_TOP) painter->FillRect(RECT{r.left, r.top, r.right, r.top + 1}, ToPixel(tl));
    if (flags & BF_LEFT) painter->FillRect(RECT{r.left, r.top, r.left + 1, r.bottom}, ToPixel(tl));
    if (flags & BF_BOTTOM) painter->FillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom}, ToPixel(brc));
    if (flags & BF_RIGHT) painter->FillRect(RECT{r.right - 1, r.top, r.right, r.bottom}, ToPixel(brc));
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_BOTTOM) --r.bottom;
    if (flags & BF_RIGHT) --r.right;
  };
  if (edge & BDR_RAISEDOUTER) ring(face, dark);
  else if (edge & BDR_SUNKENOUTER) ring(shadow, light);
  if (edge & BDR_RAISEDINNER) ring(light, shadow);
  else if (edge & BDR_SUNKENINNER) ring(dark, face);
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  DcPainter painter(*dc);
  const POINT o = gdi::Origin(dc->state);
  if (!painter->Visible(SatCoord(std::int64_t{x} + o.x), SatCoord(std::int64_t{y} + o.y))) return CLR_INVALID;
  painter->SetPixel(x, y, ToPixel(color));
  return color & 0x00FFFFFFu;
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  Pixel p = 0;
  if (!DcPainter(*dc)->GetPixel(x, y, p)) return CLR_INVALID;
  return ToColorref(p & 0x00FFFFFFu);
}

// Blits.
namespace {

bool NeedsSource(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFFu;
  return ((t >> 2) & 0x33u) != (t & 0x33u);
}

bool NeedsPattern(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFFu;
  return ((t >> 4) & 0x0Fu) != (t & 0x0Fu);
}

// Source rectangle in the source surface's device coordinates.
RECT SourceRect(const DcState& s, int x, int y, int w, int h) {
  const POINT o = gdi::Origin(s);
  const std::int64_t l = std::int64_t{x} + o.x, t = std::int64_t{y} + o.y;
  return SatRect(l, t, l + w, t + h);
}

BOOL RasterBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
  auto dc = FindDC(hdc);
  if (!dc) return FALSE;
  const bool usesSource = NeedsSource(rop);
  std::shared_ptr<DcData> sdc;
  if (usesSource) {
    sdc = FindDC(src);
    if (!sdc || !sdc->state.target) return FALSE;
  }
  Paint pattern;
  if (NeedsPattern(rop) && !gdi::BrushPaint(dc->state, dc->state.brushData.get(), pattern)) pattern.color = 0;
  DcPainter painter(*dc);
  const RECT dst = SatRect(x, y, std::int64_t{x} + w, std::int64_t{y} + h);
  if (!usesSource) {
    RECT r = dst;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    if (rop == PATCOPY) painter->FillRect(r, pattern);
    else painter->Transform(r, [&](int xd, int yd, Pixel d) { return Rop3(rop, pattern.At(xd, yd), 0, d); });
    return TRUE;
  }
  // Keep the source surface alive while drawing, even if it is the destination.
  const std::shared_ptr<Surface> from = sdc->state.target;
  const RECT s = SourceRect(sdc->state, xSrc, ySrc, wSrc, hSrc);
  if (rop == SRCCOPY) {
    painter->Blit(*from, dst, s, nullptr);
  } else {
    painter->Blit(*from, dst, s, [&](Pixel& d, Pixel sp, int xd, int yd) {
      d = Rop3(rop, pattern.At(xd, yd), sp, d);
    });
  }
  return TRUE;
}

}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  if (NeedsSource(rop)) return FALSE;
  return RasterBlt(hdc, x, y, w, h, nullptr, 0, 0, 0, 0, rop);
}

BOOL BitBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop) {
  return RasterBlt(hdc, x, y, w, h, src, xSrc, ySrc, w, h, rop);
}

BOOL StretchBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
  return RasterBlt(hdc, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL TransparentBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent) {
  auto dc = FindDC(hdc);
  auto sdc = FindDC(src);
  if (!dc || !sdc || !sdc->state.target || w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  const Pixel key = ToPixel(transparent);
  const std::shared_ptr<Surface> from = sdc->state.target;
  DcPainter(*dc)->Blit(*from, SatRect(x, y, std::int64_t{x} + w, std::int64_t{y} + h), SourceRect(sdc->state, xSrc, ySrc, wSrc, hSrc),
                       [key](Pixel& d, Pixel s, int, int) {
                         if ((s & 0x00FFFFFFu) != key) d = s;
                       });
  return TRUE;
}

BOOL AlphaBlend(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend) {
  auto dc = FindDC(hdc);
  auto sdc = FindDC(src);
  if (!dc || !sdc || !sdc->state.target || blend.BlendOp != AC_SRC_OVER) return FALSE;
  if (w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  const std::shared_ptr<Surface> from = sdc->state.target;
  const RECT s = SourceRect(sdc->state, xSrc, ySrc, wSrc, hSrc);
  // The source must lie inside its bitmap.
  if (s.left < 0 || s.top < 0 || s.right > from->Width() || s.bottom > from->Height()) return FALSE;
  const unsigned sca = blend.SourceConstantAlpha;
  DcPainter painter(*dc);
  if (blend.AlphaFormat & AC_SRC_ALPHA) {
    painter->Blit(*from, SatRect(x, y, std::int64_t{x} + w, std::int64_t{y} + h), s,
                  [sca](Pixel& d, Pixel sp, int, int) { d = BlendPremultiplied(sp, d, sca); });
  } else {
    painter->Blit(*from, SatRect(x, y, std::int64_t{x} + w, std::int64_t{y} + h), s,
                  [sca](Pixel& d, Pixel sp, int, int) { d = BlendConstant(sp, d, sca); });
  }
  return TRUE;
}

BOOL GradientFill(HDC hdc, TRIVERTEX* vertices, ULONG nVertices, PVOID mesh, ULONG nMesh, ULONG mode) {
  auto dc = FindDC(hdc);
  if (!dc || !vertices || !mesh || nVertices == 0) return FALSE;
  if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return FALSE;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  DcPainter painter(*dc);
  const bool vertical = mode == GRADIENT_FILL_RECT_V;
  for (ULONG i = 0; i < nMesh; ++i) {
    if (rects[i].UpperLeft >= nVertices || rects[i].LowerRight >= nVertices) return FALSE;
    const TRIVERTEX* a = &vertices[rects[i].UpperLeft];
    const TRIVERTEX* b = &vertices[rects[i].LowerRight];
    // The colour belongs to its corner: order so that a is at the gradient's start.
    if (vertical ? a->y > b->y : a->x > b->x) std::swap(a, b);
    const RECT r{std::min(a->x, b->x), std::min(a->y, b->y), std::max(a->x, b->x), std::max(a->y, b->y)};
    painter->GradientRect(r, Color16{a->Red, a->Green, a->Blue, a->Alpha}, Color16{b->Red, b->Green, b->Blue, b->Alpha},
                          vertical);
  }
  return TRUE;
}

// DIBs: 32- and 24-bit BI_RGB. A positive height stores rows bottom-up.
namespace {

struct DibView {
  const BYTE* bits = nullptr;
  int width = 0, height = 0, bpp = 0;
  bool bottomUp = false;
  std::size_t stride = 0;
  int firstRow = 0, rows = 0;  // stored rows present in bits (SetDIBitsToDevice bands)

  // Pixel of image row y (0 = top) and column x, or false when absent.
  bool At(int x, int y, Pixel& out) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const int stored = bottomUp ? height - 1 - y : y;
    if (stored < firstRow || stored >= firstRow + rows) return false;
    const BYTE* p = bits + static_cast<std::size_t>(stored - firstRow) * stride + static_cast<std::size_t>(x) * (bpp / 8);
    out = (static_cast<Pixel>(p[2]) << 16) | (static_cast<Pixel>(p[1]) << 8) | p[0];
    if (bpp == 32) out |= static_cast<Pixel>(p[3]) << 24;
    return true;
  }
};

bool MakeDib(const void* bits, const BITMAPINFO* bmi, DibView& v) {
  if (!bits || !bmi) return false;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  if ((h.biBitCount != 32 && h.biBitCount != 24) || (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) {
    return false;
  }
  // Sides past 2^24 are refused: no real image has them, and offsets into smaller ones fit int.
  constexpr LONG kMaxDibSide = 1 << 24;
  if (h.biWidth <= 0 || h.biWidth > kMaxDibSide || h.biHeight == 0 || h.biHeight < -kMaxDibSide ||
      h.biHeight > kMaxDibSide)
    return false;
  v.bits = static_cast<const BYTE*>(bits);
  v.width = h.biWidth;
  v.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  v.bottomUp = h.biHeight > 0;
  v.bpp = h.biBitCount;
  v.stride = ((static_cast<std::size_t>(v.width) * v.bpp + 31) / 32) * 4;
  v.rows = v.height;
  return true;
}

// Draws a DIB through a temporary surface so the blit rules stay the Painter's. Empty when the
// image is past the surface cap.
Surface DibToSurface(const DibView& v) {
  Surface s(v.width, v.height);
  if (s.Width() != v.width || s.Height() != v.height) return Surface();
  for (int y = 0; y < v.height; ++y) {
    for (int x = 0; x < v.width; ++x) {
      Pixel p = 0;
      if (v.At(x, y, p)) s.Row(y)[x] = p;
    }
  }
  return s;
}

}  // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
  auto dc = FindDC(hdc);
  DibView v;
  if (!dc || usage != DIB_RGB_COLORS || !MakeDib(bits, bmi, v) || w == 0 || h == 0) return 0;
  if (w > 1u << 16 || h > 1u << 16) return 0;
  v.firstRow = static_cast<int>(std::min<UINT>(startScan, static_cast<UINT>(v.height)));
  v.rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(v.height - v.firstRow)));
  const int wi = static_cast<int>(w), hi = static_cast<int>(h);
  // For bottom-up images ySrc counts from the bottom edge.
  const std::int64_t top = v.bottomUp ? std::int64_t{v.height} - ySrc - hi : ySrc;
  DcPainter painter(*dc);
  const POINT o = painter->Origin();
  const RECT area = SatRect(xDest, yDest, std::int64_t{xDest} + wi, std::int64_t{yDest} + hi);
  // Rows and columns outside the image read nothing, so saturated ones are as good as exact.
  const int shift = SatCoord(std::int64_t{xSrc} - (std::int64_t{xDest} + o.x));  // source column = device column + shift
  painter->ForEachSpan(area, [&](int y, int x0, int x1, Pixel* row) {
    const int sy = SatCoord(top + (std::int64_t{y} - o.y - yDest));
    if (v.bpp == 32) {
      // Whole runs of a 32-bit row copy at once; columns outside the image are left alone.
      Pixel probe = 0;
      const int a = std::max(x0, -shift), b = std::min(x1, v.width - shift);
      if (a >= b || !v.At(a + shift, sy, probe)) return;
      const int stored = v.bottomUp ? v.height - 1 - sy : sy;
      const BYTE* src = v.bits + static_cast<std::size_t>(stored - v.firstRow) * v.stride;
      std::memcpy(row + a, src + static_cast<std::size_t>(a + shift) * 4, static_cast<std::size_t>(b - a) * 4);
      return;
    }
    for (int x = x0; x < x1; ++x) {
      Pixel p = 0;
      if (v.At(x + shift, sy, p)) row[x] = p;
    }
  });
  return v.rows;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
  auto dc = FindDC(hdc);
  DibView v;
  if (!dc || usage != DIB_RGB_COLORS || !MakeDib(bits, bmi, v)) return 0;
  if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return 0;
  const Surface image = DibToSurface(v);
  if (image.Empty()) return 0;
  // For bottom-up images ySrc counts from the bottom edge.
  const std::int64_t top = v.bottomUp ? std::int64_t{v.height} - ySrc - hSrc : ySrc;
  DcPainter painter(*dc);
  const RECT dst = SatRect(xDest, yDest, std::int64_t{xDest} + wDest, std::int64_t{yDest} + hDest);
  const RECT src = SatRect(xSrc, top, std::int64_t{xSrc} + wSrc, top + hSrc);
  if (rop == SRCCOPY) {
    painter->Blit(image, dst, src, nullptr);
  } else {
    Paint pattern;
    gdi::BrushPaint(dc->state, dc->state.brushData.get(), pattern);
    painter->Blit(image, dst, src, [&](Pixel& d, Pixel s, int xd, int yd) { d = Rop3(rop, pattern.At(xd, yd), s, d); });
  }
  return hSrc == INT_MIN ? INT_MAX : std::abs(hSrc);
}
