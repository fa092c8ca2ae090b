#include "winport/gdi/Painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "winport/base/geometry.h"
#include "winport/text/Font.h"

namespace winport {
namespace {

RECT Intersection(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

int PositiveMod(int v, int m) {
  const int r = v % m;
  return r < 0 ? r + m : r;
}

// Maps destination index i of n onto a source extent of m (nearest, mirrored when flip).
struct AxisMap {
  int dstStart = 0, dstLen = 0, srcStart = 0, srcLen = 0;
  bool flip = false;
  int operator()(int i) const {
    int j = dstLen == srcLen
                ? i
                : static_cast<int>(((2 * static_cast<std::int64_t>(i) + 1) * srcLen) / (2LL * dstLen));
    if (flip) j = srcLen - 1 - j;
    return SatCoord(std::int64_t{srcStart} + j);
  }
};

AxisMap MakeAxis(int dst, int dstLen, int src, int srcLen) {
  AxisMap m;
  bool flip = false;
  if (dstLen < 0) { dst += dstLen; dstLen = -dstLen; flip = !flip; }
  if (srcLen < 0) { src += srcLen; srcLen = -srcLen; flip = !flip; }
  m.dstStart = dst; m.dstLen = dstLen; m.srcStart = src; m.srcLen = srcLen; m.flip = flip;
  return m;
}

// Dash patterns of cosmetic pens, in pixels: on, off, on, off...
std::span<const int> DashPattern(int dash) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (dash) {
    case 1: return kDash;
    case 2: return kDot;
    case 3: return kDashDot;
    case 4: return kDashDotDot;
    default: return {};
  }
}

// Coordinates far outside any surface saturate instead of overflowing.
int Sat(std::int64_t v) { return SatCoord(v); }

unsigned Channel(Pixel p, int shift) { return (p >> shift) & 0xFFu; }
unsigned Div255(unsigned v) { return (v + 1 + (v >> 8)) >> 8; }  // exact rounding of v / 255 for v <= 65535

}  // namespace

Pixel Paint::At(int xDev, int yDev) const {
  if (!pattern || pattern->Empty()) return color;
  return pattern->At(PositiveMod(xDev - origin.x, pattern->Width()), PositiveMod(yDev - origin.y, pattern->Height()));
}

Painter::Painter(Surface& target, const Region* clip, POINT origin) : target_(target), origin_(origin) {
  const RECT bounds{0, 0, target.Width(), target.Height()};
  if (target.Empty()) return;
  if (!clip) {
    clip_.push_back(bounds);
    return;
  }
  for (const RECT& r : clip->Rects()) {
    const RECT i = Intersection(r, bounds);
    if (!Region::IsEmptyRect(i)) clip_.push_back(i);
  }
}

RECT Painter::ToDevice(const RECT& r) const {
  return RECT{Sat(std::int64_t{r.left} + origin_.x), Sat(std::int64_t{r.top} + origin_.y),
              Sat(std::int64_t{r.right} + origin_.x), Sat(std::int64_t{r.bottom} + origin_.y)};
}

bool Painter::Visible(int x, int y) const {
  return std::any_of(clip_.begin(), clip_.end(), [&](const RECT& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

void Painter::ForEachSpan(const RECT& logical, const std::function<void(int, int, int, Pixel*)>& f) {
  const RECT dev = ToDevice(logical);
  if (Region::IsEmptyRect(dev)) return;
  for (const RECT& c : clip_) {
    const RECT i = Intersection(dev, c);
    if (Region::IsEmptyRect(i)) continue;
    for (int y = i.top; y < i.bottom; ++y) f(y, i.left, i.right, target_.Row(y));
  }
}

void Painter::FillRect(const RECT& logical, Pixel p) {
  ForEachSpan(logical, [p](int, int x0, int x1, Pixel* row) { std::fill(row + x0, row + x1, p); });
}

void Painter::FillRect(const RECT& logical, const Paint& paint) {
  if (!paint.pattern || paint.pattern->Empty()) {
    FillRect(logical, paint.color);
    return;
  }
  ForEachSpan(logical, [&](int y, int x0, int x1, Pixel* row) {
    for (int x = x0; x < x1; ++x) row[x] = paint.At(x, y);
  });
}

void Painter::Transform(const RECT& logical, const std::function<Pixel(int, int, Pixel)>& f) {
  ForEachSpan(logical, [&](int y, int x0, int x1, Pixel* row) {
    for (int x = x0; x < x1; ++x) row[x] = f(x, y, row[x]);
  });
}

void Painter::SetPixel(int x, int y, Pixel p) {
  x = Sat(std::int64_t{x} + origin_.x);
  y = Sat(std::int64_t{y} + origin_.y);
  if (Visible(x, y)) target_.Row(y)[x] = p;
}

bool Painter::GetPixel(int x, int y, Pixel& out) const {
  x = Sat(std::int64_t{x} + origin_.x);
  y = Sat(std::int64_t{y} + origin_.y);
  if (!target_.Contains(x, y)) return false;
  out = target_.At(x, y);
  return true;
}

void Painter::Stamp(int x, int y, int width, Pixel p) {
  if (width <= 1) {
    if (Visible(x, y)) target_.Row(y)[x] = p;
    return;
  }
  // Wide pens are round: a disc of the pen's diameter around the pixel (even widths lean to
  // the top-left, as their centre falls between pixels).
  const int half = width / 2;
  const double c = width % 2 == 0 ? 0.5 : 0.0;
  const double r2 = width * width / 4.0;
  for (int dy = -half; dy < width - half; ++dy) {
    const double k = r2 - (dy + c) * (dy + c);
    if (k < 0) continue;
    const double s = std::sqrt(k);
    const int x0 = std::max(-half, static_cast<int>(std::ceil(-s - c - 1e-9)));
    const int x1 = std::min(width - half - 1, static_cast<int>(std::floor(s - c + 1e-9)));
    if (x1 < x0) continue;
    const std::int64_t px = x, py = y;
    FillRect(RECT{Sat(px + x0 - origin_.x), Sat(py + dy - origin_.y), Sat(px + x1 + 1 - origin_.x),
                  Sat(py + dy + 1 - origin_.y)},
             p);
  }
}

void Painter::Line(POINT from, POINT to, const LineStyle& style) {
  std::int64_t x = std::int64_t{from.x} + origin_.x, y = std::int64_t{from.y} + origin_.y;
  std::int64_t x1 = std::int64_t{to.x} + origin_.x, y1 = std::int64_t{to.y} + origin_.y;
  const int margin = style.width + 1;
  const std::int64_t w = target_.Width(), h = target_.Height();
  if (w == 0 || h == 0) return;
  if (std::max(x, x1) < -margin || std::min(x, x1) >= w + margin || std::max(y, y1) < -margin ||
      std::min(y, y1) >= h + margin) {
    return;
  }
  // Very long lines are first cut to the surface (plus the pen) so the walk stays short; the
  // pixels kept are those of the exact walk within a pixel of rounding.
  constexpr std::int64_t kLong = 1 << 15;
  if (std::max(std::abs(x1 - x), std::abs(y1 - y)) > kLong) {
    double t0 = 0, t1 = 1;
    const double dx = static_cast<double>(x1 - x), dy = static_cast<double>(y1 - y);
    auto clipEdge = [&](double p, double q) {
      if (p == 0) return q >= 0;
      const double r = q / p;
      if (p < 0) { if (r > t1) return false; t0 = std::max(t0, r); }
      else { if (r < t0) return false; t1 = std::min(t1, r); }
      return true;
    };
    if (!clipEdge(-dx, static_cast<double>(x + margin)) || !clipEdge(dx, static_cast<double>(w + margin - x)) ||
        !clipEdge(-dy, static_cast<double>(y + margin)) || !clipEdge(dy, static_cast<double>(h + margin - y))) {
      return;
    }
    const std::int64_t nx = x + std::llround(t0 * dx), ny = y + std::llround(t0 * dy);
    x1 = x + std::llround(t1 * dx);
    y1 = y + std::llround(t1 * dy);
    x = nx;
    y = ny;
  }
  const std::int64_t dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
  const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
  const std::span<const int> dashes = DashPattern(style.dash);
  std::size_t dashIndex = 0;
  int dashLeft = dashes.empty() ? 0 : dashes[0];
  std::int64_t err = dx + dy;
  // The end point is left out, so a polyline does not draw its joints twice.
  while (x != x1 || y != y1) {
    const bool on = dashes.empty() || dashIndex % 2 == 0;
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    if (on) Stamp(px, py, style.width, style.color);
    else if (style.opaqueGaps) Stamp(px, py, style.width, style.gapColor);
    if (!dashes.empty() && --dashLeft == 0) {
      dashIndex = (dashIndex + 1) % dashes.size();
      dashLeft = dashes[dashIndex];
    }
    const std::int64_t e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
}

void Painter::Ellipse(RECT box, const LineStyle* outline, const Paint* fill, const std::function<bool(int, int)>& keep) {
  if (box.left > box.right) std::swap(box.left, box.right);
  if (box.top > box.bottom) std::swap(box.top, box.bottom);
  const std::int64_t w64 = std::int64_t{box.right} - box.left, h64 = std::int64_t{box.bottom} - box.top;
  constexpr std::int64_t kMaxSide = 1 << 16;
  if (w64 <= 0 || h64 <= 0 || w64 > kMaxSide || h64 > kMaxSide) return;
  const std::int64_t reach = (outline ? outline->width : 1) + 1;
  const std::int64_t devLeft = std::int64_t{box.left} + origin_.x, devTop = std::int64_t{box.top} + origin_.y;
  if (devLeft + w64 < -reach || devLeft > target_.Width() + reach || devTop + h64 < -reach ||
      devTop > target_.Height() + reach)
    return;  // nowhere near the surface; what is left is near it, where the walk below fits int
  const int w = static_cast<int>(w64), h = static_cast<int>(h64);
  // Span of each row: pixel centres inside the ellipse that touches the box's outer pixels.
  const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
  const double rx = w / 2.0, ry = h / 2.0;
  std::vector<int> lo(static_cast<std::size_t>(h)), hi(static_cast<std::size_t>(h));  // inclusive, from box.left
  for (int j = 0; j < h; ++j) {
    const double t = (j - cy) / ry;
    const double half = t * t >= 1.0 ? 0.0 : rx * std::sqrt(1.0 - t * t);
    const int a = static_cast<int>(std::ceil(cx - half - 1e-9));
    const int b = static_cast<int>(std::floor(cx + half + 1e-9));
    if (a > b) {
      lo[j] = hi[j] = std::clamp(static_cast<int>(std::lround(cx)), 0, w - 1);
    } else {
      lo[j] = std::clamp(a, 0, w - 1);
      hi[j] = std::clamp(b, 0, w - 1);
    }
  }
  const int penWidth = outline ? outline->width : 1;
  // Only rows and columns that can reach the surface are walked.
  const int xMin = -origin_.x - penWidth, xMax = target_.Width() - origin_.x + penWidth;
  const int yMin = -origin_.y - penWidth, yMax = target_.Height() - origin_.y + penWidth;
  for (int j = std::max(0, yMin - box.top); j < h && box.top + j < yMax; ++j) {
    // Pixels of this row with all four neighbours inside are interior; the rest are the ring.
    int innerL = lo[j] + 1, innerR = hi[j] - 1;
    if (j == 0 || j == h - 1) {
      innerL = 1;
      innerR = 0;
    } else {
      innerL = std::max({innerL, lo[j - 1], lo[j + 1]});
      innerR = std::min({innerR, hi[j - 1], hi[j + 1]});
    }
    const int y = box.top + j;
    if (fill && innerL <= innerR) FillRect(RECT{box.left + innerL, y, box.left + innerR + 1, y + 1}, *fill);
    auto ring = [&](int from, int to) {  // inclusive, from box.left
      from = std::max(from, xMin - box.left);
      to = std::min(to, xMax - box.left);
      for (int i = from; i <= to; ++i) {
        const int x = box.left + i;
        if (outline) {
          if (!keep || keep(x, y)) Stamp(x + origin_.x, y + origin_.y, outline->width, outline->color);
        } else if (fill) {
          const int xd = x + origin_.x, yd = y + origin_.y;
          if (Visible(xd, yd)) target_.Row(yd)[xd] = fill->At(xd, yd);
        }
      }
    };
    if (innerL > innerR) {
      ring(lo[j], hi[j]);
    } else {
      ring(lo[j], innerL - 1);
      ring(innerR + 1, hi[j]);
    }
  }
}

void Painter::FillPolygon(std::span<const POINT> pts, const Paint& paint) {
  if (pts.size() < 3) return;
  int top = pts[0].y, bottom = pts[0].y;
  for (const POINT& p : pts) { top = std::min(top, static_cast<int>(p.y)); bottom = std::max(bottom, static_cast<int>(p.y)); }
  std::vector<double> xs;
  top = std::max(top, -origin_.y);
  bottom = std::min(bottom, target_.Height() - origin_.y);  // origins saturate, so these fit
  for (int y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const POINT& a = pts[i];
      const POINT& b = pts[(i + 1) % pts.size()];
      if ((a.y <= yc) == (b.y <= yc)) continue;
      xs.push_back(a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      const auto toInt = [](double v) { return static_cast<int>(std::clamp<double>(v, -kCoordLimit, kCoordLimit)); };
      const int x0 = toInt(std::ceil(xs[i] - 0.5));
      const int x1 = toInt(std::ceil(xs[i + 1] - 0.5));
      FillRect(RECT{x0, y, x1, y + 1}, paint);
    }
  }
}

void Painter::Blit(const Surface& src, RECT dst, RECT s, const BlendFn& f) {
  const AxisMap mx = MakeAxis(dst.left, dst.right - dst.left, s.left, s.right - s.left);
  const AxisMap my = MakeAxis(dst.top, dst.bottom - dst.top, s.top, s.bottom - s.top);
  if (mx.dstLen == 0 || my.dstLen == 0 || mx.srcLen == 0 || my.srcLen == 0) return;
  // A blit within one surface reads a snapshot, so overlapping moves copy what was there.
  Surface snapshot;
  const Surface* from = &src;
  if (&src == &target_) {
    snapshot = src;
    from = &snapshot;
  }
  const bool plain = !f && !mx.flip && mx.dstLen == mx.srcLen;
  const RECT logical{mx.dstStart, my.dstStart, mx.dstStart + mx.dstLen, my.dstStart + my.dstLen};
  ForEachSpan(logical, [&](int y, int x0, int x1, Pixel* row) {
    const int sy = my(y - origin_.y - my.dstStart);
    if (sy < 0 || sy >= from->Height()) return;
    const Pixel* srow = from->Row(sy);
    if (plain) {
      // Clamp the span to the source's columns and copy in one go.
      int a = x0, b = x1;
      const int shift = mx.srcStart - (mx.dstStart + origin_.x);
      a = std::max(a, -shift);
      b = std::min(b, from->Width() - shift);
      if (a < b) std::memmove(row + a, srow + a + shift, static_cast<std::size_t>(b - a) * sizeof(Pixel));
      return;
    }
    for (int x = x0; x < x1; ++x) {
      const int sx = mx(x - origin_.x - mx.dstStart);
      if (sx < 0 || sx >= from->Width()) continue;
      if (f) f(row[x], srow[sx], x, y);
      else row[x] = srow[sx];
    }
  });
}

void Painter::GradientRect(RECT r, Color16 first, Color16 last, bool vertical) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const std::int64_t len = vertical ? std::int64_t{r.bottom} - r.top : std::int64_t{r.right} - r.left;
  const std::int64_t start = vertical ? std::int64_t{r.top} + origin_.y : std::int64_t{r.left} + origin_.x;
  auto at = [&](int pos) {
    const std::int64_t i = pos - start;
    auto mix = [&](int a, int b) { return static_cast<unsigned>((a + (b - a) * i / len) >> 8); };
    return static_cast<Pixel>((mix(first.r, last.r) << 16) | (mix(first.g, last.g) << 8) | mix(first.b, last.b));
  };
  ForEachSpan(r, [&](int y, int x0, int x1, Pixel* row) {
    if (vertical) {
      std::fill(row + x0, row + x1, at(y));
    } else {
      for (int x = x0; x < x1; ++x) row[x] = at(x);
    }
  });
}

void Painter::BlendMask(int x, int y, const GlyphMask& mask, Pixel color, const RECT* clip) {
  if (mask.width <= 0 || mask.height <= 0 ||
      mask.coverage.size() < static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) {
    return;
  }
  const std::int64_t left = std::int64_t{x} + mask.left, top = std::int64_t{y} + mask.top;
  RECT area{Sat(left), Sat(top), Sat(left + mask.width), Sat(top + mask.height)};
  if (clip) area = Intersection(area, *clip);
  const std::int64_t mx0 = left + origin_.x, my0 = top + origin_.y;
  ForEachSpan(area, [&](int yd, int x0, int x1, Pixel* row) {
    const std::uint8_t* cov = mask.coverage.data() + static_cast<std::size_t>(yd - my0) * mask.width;
    for (int xd = x0; xd < x1; ++xd) {
      const unsigned a = cov[xd - mx0];
      if (a == 0) continue;
      row[xd] = a == 255 ? color : BlendConstant(color, row[xd], a);
    }
  });
}

Pixel Rop3(DWORD rop, Pixel pat, Pixel src, Pixel dst) {
  const unsigned table = (rop >> 16) & 0xFFu;
  Pixel out = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!((table >> i) & 1u)) continue;
    out |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
  }
  return out & 0x00FFFFFFu;
}

Pixel BlendConstant(Pixel src, Pixel dst, unsigned alpha) {
  alpha = std::min(alpha, 255u);
  Pixel out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned c = Div255(Channel(src, shift) * alpha + Channel(dst, shift) * (255 - alpha));
    out |= c << shift;
  }
  return out | (dst & 0xFF000000u);
}

Pixel BlendPremultiplied(Pixel src, Pixel dst, unsigned constantAlpha) {
  constantAlpha = std::min(constantAlpha, 255u);
  const unsigned sa = Div255(Channel(src, 24) * constantAlpha);
  Pixel out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const unsigned s = Div255(Channel(src, shift) * constantAlpha);
    const unsigned c = std::min(255u, s + Div255(Channel(dst, shift) * (255 - sa)));
    out |= c << shift;
  }
  return out;
}

}  // namespace winport
