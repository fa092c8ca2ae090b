// Every pixel rule of the drawing API, once: a Painter draws on a surface through a clip region
// (device coordinates) with an origin that maps logical coordinates to device ones. The DC
// facade builds one per call from its state; nothing here knows handles or DCs.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "winport/base/types.h"
#include "winport/gdi/Region.h"
#include "winport/gdi/Surface.h"

namespace winport {

struct GlyphMask;

// What fills an area: a colour, or a pattern tiled from a device-space origin.
struct Paint {
  Pixel color = 0;
  std::shared_ptr<const Surface> pattern;
  POINT origin{0, 0};  // device position of pattern pixel (0, 0)

  Pixel At(int xDev, int yDev) const;
};

struct LineStyle {
  Pixel color = 0;
  int width = 1;
  int dash = 0;  // PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT
  bool opaqueGaps = false;
  Pixel gapColor = 0;
};

// 16-bit channels as gradients carry them.
struct Color16 {
  std::uint16_t r = 0, g = 0, b = 0, a = 0;
};

class WINPORT_API Painter {
 public:
  // clip: device coordinates, null for the whole surface.
  Painter(Surface& target, const Region* clip, POINT origin);

  Surface& Target() { return target_; }
  POINT Origin() const { return origin_; }
  RECT ToDevice(const RECT& logical) const;
  bool Visible(int xDev, int yDev) const;
  // Calls f(y, x0, x1, row) for every visible span of a logical rectangle, in device pixels
  // [x0, x1) of row y. Inverted rectangles are empty here: callers that order them do so first.
  void ForEachSpan(const RECT& logical, const std::function<void(int, int, int, Pixel*)>& f);

  void FillRect(const RECT& logical, Pixel p);
  void FillRect(const RECT& logical, const Paint& paint);
  // dst = f(dst) over a rectangle (inversion, raster operations without a source).
  void Transform(const RECT& logical, const std::function<Pixel(int, int, Pixel)>& f);
  void SetPixel(int x, int y, Pixel p);
  // The pixel or nullopt-like false when outside the surface.
  bool GetPixel(int x, int y, Pixel& out) const;

  // Width-1 lines by Bresenham without the end point; wider pens stamp squares along it.
  void Line(POINT from, POINT to, const LineStyle& style);
  // Ellipse inscribed in box (right/bottom exclusive). outline for the ring of pixels, fill for
  // the inside; keep(x, y) (logical, relative to nothing) filters outline pixels (arcs).
  void Ellipse(RECT box, const LineStyle* outline, const Paint* fill,
               const std::function<bool(int, int)>& keep = {});
  // Even-odd fill of a closed polygon by pixel centres.
  void FillPolygon(std::span<const POINT> pts, const Paint& paint);

  // Copies src pixels (source device coordinates) to the logical destination with nearest
  // scaling and mirroring for negative extents: f(dstPixel&, srcPixel). Source pixels outside
  // the source surface leave the destination unchanged.
  using BlendFn = std::function<void(Pixel&, Pixel, int xDev, int yDev)>;
  void Blit(const Surface& src, RECT dst, RECT srcRect, const BlendFn& f);
  void GradientRect(RECT logical, Color16 first, Color16 last, bool vertical);
  // Coverage blended in colour, mask origin (0, 0) at logical (x + mask.left, y + mask.top),
  // restricted to an extra logical clip rectangle when given.
  void BlendMask(int x, int y, const GlyphMask& mask, Pixel color, const RECT* clip);

 private:
  void Stamp(int xDev, int yDev, int width, Pixel p);
  Surface& target_;
  std::vector<RECT> clip_;  // device rectangles inside the surface
  POINT origin_;
};

// The channel rules blits share.
WINPORT_API Pixel Rop3(DWORD rop, Pixel pat, Pixel src, Pixel dst);
WINPORT_API Pixel BlendConstant(Pixel src, Pixel dst, unsigned alpha);
WINPORT_API Pixel BlendPremultiplied(Pixel src, Pixel dst, unsigned constantAlpha);

}  // namespace winport
